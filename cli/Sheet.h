// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// Every label of a batch on the pages of one PDF, drawn as the items are
// read: the pages stream to the file, no list of labels is kept.

#include "Batch.h"

#include <shared_mutex>
#include <vector>

namespace WEQCli {

// Where the labels go on a sheet: a grid of equal cells from the margins'
// corner, gutters between them, each label centred in its cell.
struct TSheetLayout {
    int Columns = 0, Rows = 0;
    double LabelWidthMM = 0, LabelHeightMM = 0; // the largest label the options give
    double CellWidthMM = 0, CellHeightMM = 0;
    double GapAcrossMM = 0, GapDownMM = 0;
    double MarginLeftMM = 0, MarginTopMM = 0; // the first cell's corner
    std::string Error; // why the grid asked for does not fit

    // The top-left corner of a cell on its page.
    double CellLeft(int Column) const { return MarginLeftMM + Column * (CellWidthMM + GapAcrossMM); }
    double CellTop(int Row) const { return MarginTopMM + Row * (CellHeightMM + GapDownMM); }
};
// The cells are the --label's, or as large as the largest label the options
// can give (that of the symbology, or with --symbology auto the largest of
// EAN-13, UPC-A and EAN-8, each with the --add-on's digits), since the labels
// are not known before the pages are drawn; those stretch to fill the area
// inside the margins. Gutters are the --gap's, or one quiet zone of 11
// modules without --label. A roll's layout is one cell, the page, at the
// page's corner.
TSheetLayout LayOutSheet(const TOptions& Options);

// The start of a job of one PDF (a sheet or a roll): its layout, its
// folders, and the lock on the files that keeps its temporary alive while
// Guard holds it. False, with R's failure or interruption, where it cannot
// start.
bool StartOnePdf(const TOptions& O, TSheetLayout& L, std::shared_lock<std::shared_timed_mutex>& Guard, TBatchResult& R);

// Millimetres as messages give them: two decimals.
std::string Mm(double V);

// A crop mark: a line from (X1, Y1) to (X2, Y2) on the page, in mm.
struct TCropMark {
    double X1, Y1, X2, Y2;
};
inline constexpr double CropMarkWidthMM = 0.1;
// The marks of the cell at Column and Row: from each corner outward along
// its two edges, each shortened to keep clear of every label's box (quiet
// zones included) of the cells around it and to stay on the page; one left
// too short is dropped.
std::vector<TCropMark> CropMarks(const TSheetLayout& Layout, const TPage& Page, int Column, int Row);

// All labels on the pages of one PDF, a sheet or a roll, written
// atomically; the rejected items' reasons and the items' findings printed
// as they come. A PDF without a label is not written: a file already there
// stays as it was.
TBatchResult WriteSheet(TItemSource& Source, const TOptions& Options, TProgress& Progress);

} // namespace WEQCli
