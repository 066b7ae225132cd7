#pragma once

// Writing a batch: one file per item on worker threads, or every label on
// the pages of one PDF.

#include "Items.h"
#include "Options.h"
#include "Progress.h"

#include <string>
#include <vector>

namespace WEQCli {

struct TJob {
    const TItem* Item;
    std::string Path;
};

struct TBatchResult {
    std::size_t Written = 0;
    std::string Failure; // the first failed write (by item order), empty when none
};

// Writes each job's file on Options.Jobs threads. The first failed write stops
// the batch: no job starts after it; files already written stay.
TBatchResult WriteFiles(const std::vector<TJob>& Jobs, const TOptions& Options, TProgress& Progress);

// Where the labels go on a sheet: a grid of equal cells filling the page
// inside its margins, each label centred in its cell.
struct TSheetLayout {
    int Columns = 0, Rows = 0;
    double LabelWidthMM = 0, LabelHeightMM = 0;
    double CellWidthMM = 0, CellHeightMM = 0;
    std::string Error; // why the grid asked for does not fit
};
// Every cell is as large as the largest label among Labels (with none, the
// options' symbology and add-on tell, EAN-13 for the automatic choice).
TSheetLayout LayOutSheet(const TOptions& Options, const std::vector<const TItem*>& Labels = {});

// All labels on the pages of one PDF, written atomically.
TBatchResult WriteSheet(const std::vector<const TItem*>& Labels, const TOptions& Options, TProgress& Progress);

} // namespace WEQCli
