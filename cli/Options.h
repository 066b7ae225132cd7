// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// The command line of weqbarcode, read into plain values: nothing here
// touches a file or the library's drawing.

#include "Items.h"

#include <WEQBarCode/ean/WEQEanExport.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace WEQCli {

using TFormat = WEQEan::TFileFormat;

// A sheet's margins in mm.
struct TMargins {
    double Left = 10, Top = 10, Right = 10, Bottom = 10;
};

struct TPage {
    std::string Name; // as messages name it: "A4", "100 x 150 mm"
    double WidthMM, HeightMM;
};
inline const TPage A4{"A4", 210.0, 297.0};
inline const TPage Letter{"Letter", 215.9, 279.4};

struct TOptions {
    std::vector<std::string> Inputs;   // files of GTINs, "-" for standard input
    std::vector<std::string> Gtins;    // from the command line
    // The inputs as comma-separated values with a header: the columns of
    // the GTIN and the add-on, each a name or a number from 1; empty: lines.
    std::string GtinColumn, AddOnColumn;
    std::string Output = "{gtin}.png"; // pattern; with a sheet, the one PDF
    TFormat Format = TFormat::Png;
    int Dpi = 300;
    bool DpiGiven = false; // PDF output then lies on the printer's dots
    WEQEan::TExportOptions Export;
    // How every item is read: its kind (--symbology), completion, the add-on
    // of every item without its own, an ISSN's variant.
    TReading Reading;
    // Every warning of the print checks an error.
    bool Gs1Strict = false;
    // Each label graded after it is written; under MinGrade it fails.
    bool Verify = false;
    char MinGrade = 'C';
    // An SVG label template: each label drawn from it.
    std::string Template;
    // The template's size once read; 0 without one.
    double TemplateWidthMM = 0, TemplateHeightMM = 0;
    std::optional<TPage> Sheet;
    // One label a page, the page the label's size.
    bool Roll = false;
    int Columns = 0, Rows = 0; // 0: as many as fit
    TMargins Margins;
    // The cells of label stock; 0: the largest label the options give.
    double LabelWidthMM = 0, LabelHeightMM = 0;
    // The gutters between cells across and down; none: a quiet zone
    // without --label, nothing with it.
    std::optional<double> GapAcrossMM, GapDownMM;
    bool CropMarks = false;
    int Jobs = 1;
    // What the PNG jobs running at once may take for their frames together.
    std::uint64_t MemoryMB = 1024;
    bool Quiet = false;
    bool Help = false, Version = false;
};

// What parsing found: the options, or the reason they are unusable.
struct TParsed {
    TOptions Options;
    std::string Error; // empty when the options can be used
};

// Every label goes on the pages of one PDF: a sheet or a roll.
inline bool OnePdf(const TOptions& O) { return O.Sheet || O.Roll; }

// Reads argv[1..]; DefaultJobs is what --jobs means when not given.
TParsed ParseOptions(const std::vector<std::string>& Args, int DefaultJobs);

// The pattern with {gtin} (the symbol's digits) and {n} put in; {n} is
// zero-padded to 5 digits.
std::string ExpandPattern(const std::string& Pattern, const std::string& Gtin, std::size_t Number);

std::string UsageText();

} // namespace WEQCli
