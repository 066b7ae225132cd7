// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// Where a batch's items come from: the arguments, then each input in turn,
// read as they are needed, so that memory does not grow with the input.

#include "Items.h"
#include "Options.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace WEQCli {

class TItemSource {
public:
    explicit TItemSource(const TOptions& Options);
    ~TItemSource();
    TItemSource(const TItemSource&) = delete;
    TItemSource& operator=(const TItemSource&) = delete;

    // Opens every input and reads its first bytes: false, with the reason,
    // where one cannot be read or is no text of lines (UTF-16, UTF-32).
    bool Open(std::string& Error);
    // How many items there are, counted by reading the inputs once ahead;
    // none where an input is standard input or no regular file.
    std::optional<std::size_t> CountAhead();
    // The next item, numbered over all of them; false at the end, or where
    // reading failed (Error()) or a signal came.
    bool Next(TItem& Item);
    // The header of each input of records, by the input's name, once Open
    // has read them.
    const std::vector<std::pair<std::string, std::vector<std::string>>>& Headers() const { return HeaderList; }
    // Why reading stopped before the end; empty when it did not.
    const std::string& Error() const { return Failure; }
    // "file:line" of an item, for messages.
    std::string Where(std::uint32_t Input, std::size_t Line) const;
    // Where an item came from as its findings name it: "file:line", or for
    // an argument the argument itself.
    std::string Origin(const TItem& Item) const;

private:
    struct TInput;
    bool Start(TInput& In, std::string& Error);
    // The reader of the input open at Fd: lines, or records with --gtin-column.
    std::unique_ptr<TInputItems> ReaderOf(int Fd, std::uint32_t Input) const;

    TReading Reading;
    std::string GtinColumn, AddOnColumn;
    std::vector<std::pair<std::string, std::vector<std::string>>> HeaderList;
    std::vector<std::string> Arguments;
    std::vector<TInput> Inputs;
    std::size_t NextArgument = 0, Current = 0, Numbered = 0;
    std::string Failure;
};

} // namespace WEQCli
