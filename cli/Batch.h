// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// Writing a batch: one file per item on worker threads as the items are
// read, a bounded number of them in flight, so that memory does not grow
// with the input.

#include "Items.h"
#include "Options.h"
#include "Progress.h"
#include "Source.h"

#include <WEQBarCode/ean/WEQEanExport.h>

#include <QString>

#include <functional>
#include <string>

namespace WEQCli {

// A file's bytes made of an item other than its symbol (a template's label,
// which the command line's GUI part draws); false, with the reason, where it
// cannot be made.
using TLabelEncoder = std::function<bool(const TItem& Item, const TOptions& Job, QByteArray& Bytes, std::string& Error)>;

// Items read ahead of the workers at most.
inline constexpr std::size_t JobWindow = 2048;

struct TBatchResult {
    std::size_t Items = 0, Rejected = 0, Written = 0;
    std::size_t BelowGrade = 0; // labels written that --verify graded under --min-grade
    std::string Failure;      // the first failure (by item order), empty when none
    bool Interrupted = false; // a signal stopped the batch; nothing of it is left half-written
};

// Writes each accepted item's file on up to Options.Jobs threads, their
// raster frames together within Options.MemoryMB, and prints each rejected
// item's reason and each item's print findings as they come, in input
// order. A second item for a file that an earlier one takes is rejected, so
// is one with an error among its findings. With --verify each file is graded
// once written, the grades printed in the order of the items. The first
// failure stops the batch: no job starts after it; files already written
// stay.
// With Labels each file is what it makes of an item (a template's label)
// rather than the item's symbol.
TBatchResult WriteFiles(TItemSource& Source, const TOptions& Options, TProgress& Progress,
                        const TLabelEncoder* Labels = nullptr);

// A reason of the library's, which starts a sentence, to follow "weqbarcode: ".
std::string Clause(const QString& Reason);

} // namespace WEQCli
