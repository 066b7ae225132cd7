#pragma once

// Every label of a batch on the pages of one PDF, drawn as the items are
// read: the pages stream to the file, no list of labels is kept.

#include "Batch.h"

namespace WEQCli {

// Where the labels go on a sheet: a grid of equal cells filling the page
// inside its margins, each label centred in its cell.
struct TSheetLayout {
    int Columns = 0, Rows = 0;
    double LabelWidthMM = 0, LabelHeightMM = 0;
    double CellWidthMM = 0, CellHeightMM = 0;
    std::string Error; // why the grid asked for does not fit
};
// Every cell is as large as the largest label the options can give: that of
// the symbology, or with --symbology auto the largest of EAN-13, UPC-A and
// EAN-8, since the labels are not known before the pages are drawn.
TSheetLayout LayOutSheet(const TOptions& Options);

// All labels on the pages of one PDF, written atomically; the rejected
// items' reasons printed as they come.
TBatchResult WriteSheet(TItemSource& Source, const TOptions& Options, TProgress& Progress);

} // namespace WEQCli
