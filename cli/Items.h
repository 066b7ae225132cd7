// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// The items of a batch: where each came from, and its GTIN or why it was
// rejected. Plain text work, no drawing.

#include "Lines.h"

#include <WEQBarCode/ean/WEQEanFamily.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace WEQCli {

struct TItem {
    std::uint32_t Input = 0; // 0: the arguments; 1 on: the inputs in order
    std::size_t Line = 0;    // 1-based line (argument position for arguments)
    std::size_t Number = 0;  // 1-based over all items, for {n}
    WEQEan::TEanReading Reading; // what is drawn, when accepted
    std::string Rejected;        // the reason, user text escaped; empty when accepted
    // A record of comma-separated values: its fields, and its input's
    // header naming them; none for a line or an argument.
    std::vector<std::string> Fields;
    std::shared_ptr<const std::vector<std::string>> Columns;
    const std::string& Gtin() const { return Reading.Data; } // the symbol's digits
};

// The kinds of item by symbology, add-on (none, 2 or 5 digits) and number
// line (none, or one: every line a reading gives is sized alike), for what
// follows from those alone: a label's size, its print findings.
inline constexpr std::size_t ItemKinds = 24;
inline std::size_t KindOf(WEQEan::TSymbology Symbology, std::size_t AddOnDigits, bool Line = false)
{
    return (Line ? 12 : 0) + std::size_t(Symbology) % 4 * 3 + (AddOnDigits == 0 ? 0 : AddOnDigits == 2 ? 1 : 2);
}
inline std::size_t KindOf(const TItem& Item)
{
    return KindOf(Item.Reading.Symbology, Item.Reading.AddOn.size(), !Item.Reading.Line.empty());
}
// A reading of the symbology with an add-on of AddOnDigits (0: none) and,
// with Line, a book's number line (EAN-13 alone has one): what every item of
// that kind measures, for a label's size and its print findings.
WEQEan::TEanReading SampleReading(WEQEan::TSymbology Symbology, std::size_t AddOnDigits, bool Line = false);

// How the items are read: the kind of every item and the reader's options
// (the add-on of every item without its own, completion, an ISSN's variant).
struct TReading {
    WEQEan::TKind Kind = WEQEan::TKind::Ean13;
    WEQEan::TReadOptions Options;
};

// An item's text as its GTIN and its add-on's field (empty: none):
// "GTIN,ADDON", "GTIN+ADDON", GTIN<tab>ADDON, each field may be quoted as in
// CSV and an empty add-on field is none; or parted by spaces, where a last
// field of 2 or 5 digits may be the add-on (Guessed then says so: the GTIN's
// own spaces may have split it, as in "9638 5081 12"). False, with the
// reason, for a third field, text after the add-on, '+' without one.
bool SplitItem(const std::string& Text, std::string& Gtin, std::string& AddOn, bool& Guessed, std::string& Reason);
// The item of a line or argument: split, then read with its own add-on
// (which holds, or the line is rejected) or else the reading's. The reason
// for a rejection names the whole item as it was given.
void ReadItem(const std::string& Text, const TReading& Reading, TItem& Item);

// One input's items in order, as they are needed.
class TInputItems {
public:
    virtual ~TInputItems() = default;
    // Why the input gives no items (UTF-16, UTF-32, no header); empty when it does.
    virtual std::string Refusal() = 0;
    // The next item, its Number left as it was; false at the end or when a
    // read failed (ReadError()).
    virtual bool Next(TItem& Item) = 0;
    // How many items are left, counted without checking them; they are read.
    virtual std::size_t CountRest() = 0;
    // The errno of a failed read; 0 when none failed.
    virtual int ReadError() const = 0;
    // The names of the columns, for records with a header; none for lines.
    virtual const std::vector<std::string>* Header() const { return nullptr; }
};

// The items of an input of lines. Blank lines and lines starting with '#'
// are no items; every other line is one (ReadItem), rejected with its reason
// where it holds a byte that begins no printable character (tabs aside:
// controls, broken UTF-8) or is too long.
class TItemReader final : public TInputItems {
public:
    TItemReader(TLineReader::TRead Read, const TReading& Reading, std::uint32_t Input = 1);
    std::string Refusal() override;
    bool Next(TItem& Item) override;
    std::size_t CountRest() override;
    int ReadError() const override { return Lines.Error(); }

private:
    TLineReader Lines;
    TReading Reading;
    std::uint32_t Input;
    TLine Line;

    // The next line that is an item: not blank, no comment.
    bool NextItemLine();
};

// The item of the argument at Position.
void ArgumentItem(const std::string& Text, std::size_t Position, const TReading& Reading, TItem& Item);

} // namespace WEQCli
