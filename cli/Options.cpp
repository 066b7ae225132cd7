// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "Options.h"

#include "Text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

namespace WEQCli {

namespace {

constexpr int MaxJobs = 256;
constexpr int MaxGrid = 1000;
// Larger pages, labels and bars than these are typing errors, not print jobs.
constexpr double MaxPageMM = 5000, MaxGapMM = 1000, MaxBarHeightMM = 1000, MaxMarginMM = 100;
constexpr std::uint64_t MaxMemoryMB = std::uint64_t(1) << 30; // a petabyte: no machine, but no overflow either

std::string Lower(std::string S)
{
    std::transform(S.begin(), S.end(), S.begin(), [](unsigned char C) { return char(std::tolower(C)); });
    return S;
}

// A number as messages show it: 0.33, 1000.
std::string Number(double V)
{
    char Text[32];
    std::snprintf(Text, sizeof Text, "%g", V);
    return Text;
}

bool ParseInt(const std::string& Text, int& Out)
{
    const char* End = Text.data() + Text.size();
    const auto R = std::from_chars(Text.data(), End, Out);
    return !Text.empty() && R.ec == std::errc() && R.ptr == End;
}

bool ParseCount(const std::string& Text, std::uint64_t& Out)
{
    const char* End = Text.data() + Text.size();
    const auto R = std::from_chars(Text.data(), End, Out);
    return !Text.empty() && R.ec == std::errc() && R.ptr == End;
}

bool ParseNumber(const std::string& Text, double& Out)
{
    if (Text.empty() || std::isspace(static_cast<unsigned char>(Text[0])))
        return false;
    char* End = nullptr;
    Out = std::strtod(Text.c_str(), &End);
    return End == Text.c_str() + Text.size() && std::isfinite(Out);
}

// Millimetres from Min (above it unless MinAllowed) to Max.
bool ParseMM(const std::string& Text, double Min, bool MinAllowed, double Max, double& Out)
{
    return ParseNumber(Text, Out) && (Out > Min || (MinAllowed && Out == Min)) && Out <= Max;
}

// "WxH" in millimetres, each above 0 and at most Max.
bool ParseSize(const std::string& Text, double Max, double& Width, double& Height)
{
    const std::size_t X = Lower(Text).find('x');
    return X != std::string::npos && ParseMM(Text.substr(0, X), 0, false, Max, Width) &&
           ParseMM(Text.substr(X + 1), 0, false, Max, Height);
}

// "ean13, ean8, ..., or issn": the kinds' names, as the reader has them.
std::string KindList()
{
    std::string Out;
    for (std::size_t I = 0; I < WEQEan::KindCount; ++I)
        Out += (I == 0 ? "" : I + 1 == WEQEan::KindCount ? " or " : ", ") + std::string(WEQEan::KindNames()[I].Name);
    return Out;
}

// Checks that every {...} in the pattern is one we fill in.
std::string CheckPattern(const std::string& Pattern)
{
    for (std::size_t I = 0; I < Pattern.size(); ++I) {
        if (Pattern[I] == '}')
            return "'}' without '{' in the output pattern";
        if (Pattern[I] != '{')
            continue;
        const std::size_t Close = Pattern.find('}', I);
        if (Close == std::string::npos)
            return "'{' without '}' in the output pattern";
        const std::string Name = Pattern.substr(I + 1, Close - I - 1);
        if (Name != "gtin" && Name != "n")
            return "unknown placeholder {" + Name + "} in the output pattern: use {gtin} or {n}";
        I = Close;
    }
    return {};
}

// Whether the output is drawn through Qt's PDF engine, which in Qt 6.4 has no
// colour model and writes CMYK as RGB: a template's labels are, and --pdf-x
// is refused for them.
bool DrawsThroughQtPdf(const TOptions& O) { return !O.Template.empty(); }

// --- The options -------------------------------------------------------------

// An option's value as its handler reads it.
struct TArg {
    const std::string& Long;
    const std::string& Value;
    // The reason a value is refused: "--dpi: 'x' is not a resolution ...".
    std::string IsNot(const std::string& What) const { return Long + ": '" + Value + "' is not " + What; }
};

// What a handler returns for a value it took.
const std::string Ok;

// One option of the command line: how it is written, what --help says of
// it, and its handler, which reads the value into the options and returns
// the reason it cannot (Ok when it can). What one option asks of another is
// checked after them all, in ParseOptions.
struct TOptionRow {
    char Short = 0; // 0: none
    const char* Long;
    const char* Value = nullptr; // its name in --help; none: a flag
    const char* Help = "";       // wrapped by --help; '\n' starts a new line
    // --help lists the option on the line of the row before, under that row's help.
    bool SameLine = false;
    // The option lays out a sheet: without --sheet it is refused.
    bool NeedsSheet = false;
    std::string (*Handle)(TOptions& O, const TArg& A);
};

// The module width from an --x-dimension or a --magnification, ToMM making
// millimetres of the value.
std::string XDimension(TOptions& O, const TArg& A, double (*ToMM)(double))
{
    double V = 0;
    if (!ParseNumber(A.Value, V))
        return A.IsNot("a number");
    O.Export.XDimensionMM = ToMM(V);
    if (!(O.Export.XDimensionMM >= WEQEan::MinXDimensionMM && O.Export.XDimensionMM <= WEQEan::MaxXDimensionMM))
        return A.Long + " " + A.Value + " makes an X-dimension outside 0.1 .. 10 mm";
    return Ok;
}

// A colour as an ink; none only where no ink is a choice (the background).
std::string Colour(std::optional<WEQEan::TInk>& Ink, const TArg& A, bool NoneAllowed)
{
    WEQEan::TInk Read;
    std::string Why;
    if (!WEQEan::ParseInk(A.Value, Read, &Why))
        return A.IsNot("a colour: " + Why);
    if (Read.Kind == WEQEan::TInk::None && !NoneAllowed)
        return A.Long + ": none is for the background only";
    Ink = Read;
    return Ok;
}

// A whole number from Min to Max, or the reason it is not What.
std::string Whole(int& N, const TArg& A, int Min, int Max, const std::string& What)
{
    return ParseInt(A.Value, N) && N >= Min && N <= Max ? Ok : A.IsNot(What);
}

// In the order --help lists them.
constexpr TOptionRow Table[] = {
    {.Short = 'i', .Long = "--input", .Value = "FILE",
     .Help = "one item per line ('-' is standard input), ASCII or UTF-8 (a BOM is skipped; UTF-16 and UTF-32 are "
             "refused); blank lines and lines starting with '#' are skipped; a line with a byte that is not "
             "printable ASCII (a tab aside) is rejected, the byte named",
     .Handle = [](TOptions& O, const TArg& A) {
         O.Inputs.push_back(A.Value);
         return Ok;
     }},
    {.Long = "--gtin-column", .Value = "NAME|N",
     .Help = "read the inputs as comma-separated values (RFC 4180: quoted fields, \"\" for a quote, commas and line "
             "breaks in quotes; UTF-8, a BOM skipped) whose first line names the columns, each record's GTIN from "
             "this column: a name in any case, or a number from 1; a record is named by its first line",
     .Handle = [](TOptions& O, const TArg& A) {
         if (A.Value.empty())
             return A.IsNot("a column: a name or a number from 1");
         O.GtinColumn = A.Value;
         return Ok;
     }},
    {.Long = "--add-on-column", .Value = "NAME|N",
     .Help = "with --gtin-column, each record's add-on from this column (an empty field: none, or the --add-on)",
     .Handle = [](TOptions& O, const TArg& A) {
         if (A.Value.empty())
             return A.IsNot("a column: a name or a number from 1");
         O.AddOnColumn = A.Value;
         return Ok;
     }},
    {.Short = 'o', .Long = "--output", .Value = "PATTERN",
     .Help = "the file to write, default {gtin}.png; {gtin} is the symbol's digits, {n} the item's number (counted "
             "over all items, rejected ones too), 5 digits at least; .png, .svg, .pdf or .eps picks the format; "
             "missing folders are made",
     .Handle = [](TOptions& O, const TArg& A) {
         O.Output = A.Value;
         return Ok;
     }},
    {.Long = "--symbology", .Value = "S",
     .Help = "ean13 (default), ean8, upca, upce, or auto: each GTIN of 8, 12, 13 or 14 digits as the symbol it holds "
             "(EAN-8, UPC-A or EAN-13), and a book's, music's or serial's number as below; isbn, ismn or issn: the "
             "number as written (978-3-16-148410-0, an ISBN-10, M-2306-7118-7, 0317-8471; a label ISBN, ISMN or "
             "ISSN before it may stand apart), printed above the bars (\"ISBN 978-3-16-148410-0\"); an ISBN's add-on "
             "is its price code (90000: none), an ISSN's the issue",
     // Named from the reader's table: the shell completion is checked against this list.
     .Handle = [](TOptions& O, const TArg& A) {
         return WEQEan::KindNamed(A.Value, O.Reading.Kind) ? Ok : A.IsNot("a symbology: " + KindList());
     }},
    {.Long = "--issn-variant", .Value = "NN", .Help = "an ISSN's price or variant code, default 00",
     .Handle = [](TOptions& O, const TArg& A) {
         if (!Digits(A.Value, 2))
             return A.IsNot("an ISSN variant: 2 digits");
         O.Reading.Options.IssnVariant = A.Value;
         return Ok;
     }},
    {.Long = "--add-on", .Value = "DIGITS", .Help = "a 2- or 5-digit add-on for every item without its own",
     .Handle = [](TOptions& O, const TArg& A) {
         if (!Digits(A.Value, 2) && !Digits(A.Value, 5))
             return A.IsNot("an add-on: 2 or 5 digits");
         O.Reading.Options.AddOn = A.Value;
         return Ok;
     }},
    {.Long = "--dpi", .Value = "N",
     .Help = "the printer's resolution, 50 .. 9600: a PNG's dots (default 300); given with PDF output (files, "
             "sheets, rolls, templates), the dots the X-dimension snaps to and every label's place and symbol lie "
             "on, counted from the page's top-left corner, so that each module prints as the same whole dots",
     .Handle = [](TOptions& O, const TArg& A) {
         O.DpiGiven = true;
         return Whole(O.Dpi, A, WEQEan::MinDpi, WEQEan::MaxDpi,
                      "a resolution from " + std::to_string(WEQEan::MinDpi) + " to " + std::to_string(WEQEan::MaxDpi) +
                          " dpi");
     }},
    {.Short = 'x', .Long = "--x-dimension", .Value = "MM", .Help = "module width, default 0.330 (0.1 .. 10)",
     .Handle = [](TOptions& O, const TArg& A) { return XDimension(O, A, [](double MM) { return MM; }); }},
    {.Long = "--magnification", .Value = "F", .Help = "module width as a magnification, 1.0 = 0.330 mm",
     .Handle = [](TOptions& O, const TArg& A) { return XDimension(O, A, WEQEan::MagnificationToXDimension); }},
    {.Long = "--bar-height", .Value = "MM",
     .Help = "the main bars' height, above 0 and up to 1000; default the nominal 69.24 modules (EAN-8 55.24)",
     .Handle = [](TOptions& O, const TArg& A) {
         return ParseMM(A.Value, 0, false, MaxBarHeightMM, O.Export.BarHeightMM)
                    ? Ok
                    : A.IsNot("a bar height above 0 and up to " + Number(MaxBarHeightMM) + " mm");
     }},
    {.Long = "--bar-width-reduction", .Value = "MM",
     .Help = "taken from every bar for the press's ink spread, from 0 (default) to below the X-dimension",
     .Handle = [](TOptions& O, const TArg& A) {
         return ParseMM(A.Value, 0, true, WEQEan::MaxXDimensionMM, O.Export.BarWidthReductionMM)
                    ? Ok
                    : A.IsNot("a reduction from 0 to below the X-dimension in mm");
     }},
    {.Long = "--no-marker", .Help = "no '>' in the right quiet zone",
     .Handle = [](TOptions& O, const TArg&) {
         O.Export.DrawRightDelimiter = false;
         return Ok;
     }},
    {.Long = "--bar-color", .Value = "COLOR",
     .Help = "the bars' ink, default black; the digits take it unless --text-color gives theirs",
     .Handle = [](TOptions& O, const TArg& A) { return Colour(O.Export.BarInk, A, false); }},
    {.Long = "--background-color", .Value = "COLOR",
     .Help = "the background, default white; none draws no background (the quiet zones stay clear by its absence)",
     .Handle = [](TOptions& O, const TArg& A) { return Colour(O.Export.BackgroundInk, A, true); }},
    {.Long = "--text-color", .Value = "COLOR", .Help = "the digits' ink",
     .Handle = [](TOptions& O, const TArg& A) { return Colour(O.Export.FontInk, A, false); }},
    {.Long = "--pdf-x",
     .Help = "PDF/X-1a:2003 for press: CMYK and spot inks only (a colour not given is black ink, cmyk(0,0,0,100), "
             "on no background; an RGB colour given is refused), an output intent, trim and bleed boxes on every "
             "page",
     .Handle = [](TOptions& O, const TArg&) {
         O.Export.PdfX = true;
         return Ok;
     }},
    {.Long = "--output-condition", .Value = "NAME",
     .Help = "with --pdf-x, the printing condition's name in the ICC's registry, default FOGRA39 (offset on coated "
             "paper); FOGRA51, FOGRA52, GRACoL2006_Coated1v2 and SWOP2006_Coated3v2 are others",
     .Handle = [](TOptions& O, const TArg& A) {
         const bool Name = !A.Value.empty() && A.Value.size() <= 64 &&
                           std::all_of(A.Value.begin(), A.Value.end(), [](unsigned char C) {
                               return std::isalnum(C) || C == '_' || C == '-' || C == '.';
                           });
         if (!Name)
             return A.IsNot("a registered condition's name: up to 64 letters, digits, '_', '-' and '.'");
         O.Export.OutputCondition = A.Value;
         return Ok;
     }},
    {.Long = "--complete",
     .Help = "complete any text to a GTIN as the control does; without it an item must be 12 digits, or 13 with the "
             "right check digit (EAN-8: 7 or 8, UPC-A: 11 or 12, UPC-E: 6, 7 or 8, or a UPC-A that zero suppression "
             "can shorten), and other items are rejected with the reason",
     .Handle = [](TOptions& O, const TArg&) {
         O.Reading.Options.Complete = true;
         return Ok;
     }},
    {.Long = "--gs1-strict", .Help = "every warning of the print checks is an error",
     .Handle = [](TOptions& O, const TArg&) {
         O.Gs1Strict = true;
         return Ok;
     }},
    {.Long = "--verify",
     .Help = "grade each label once written, a pre-press estimate under a scanner's 660 nm light: 'NAME: grade B "
             "(pre-press estimate)' on standard output",
     .Handle = [](TOptions& O, const TArg&) {
         O.Verify = true;
         return Ok;
     }},
    {.Long = "--min-grade", .Value = "A|B|C|D", .Help = "with --verify, a label graded under this fails, default C",
     .Handle = [](TOptions& O, const TArg& A) {
         const std::string G = Lower(A.Value);
         if (G.size() != 1 || G[0] < 'a' || G[0] > 'd')
             return A.IsNot("a grade: A, B, C or D");
         O.MinGrade = char(G[0] - 'a' + 'A');
         return Ok;
     }},
    {.Long = "--template", .Value = "FILE.svg",
     .Help = "each label drawn from an SVG template, its width and height (mm, cm, in, pt, px) its size, its viewBox "
             "required; {Column} in the text of <text> and <tspan> or in an attribute's value is that column of the "
             "record (as the header writes it), {gtin} the symbol's digits, {n} the item's number; the <rect> with "
             "id=\"barcode\" is the symbol's box: the symbol centred in it, its bars shortened to a lower box, a "
             "narrower one refused; the text is real text in the PDF; a label a file (.pdf or .png at --dpi), or "
             "with --roll or --sheet one PDF; drawn through Qt's PDF engine, which writes every colour as RGB (an "
             "ink as its sRGB equivalent; no --pdf-x)",
     .Handle = [](TOptions& O, const TArg& A) {
         if (A.Value.empty())
             return A.IsNot("a template file");
         O.Template = A.Value;
         return Ok;
     }},
    {.Long = "--sheet", .Value = "A4|Letter|WxH",
     .Help = "all labels at their physical size in a grid on the pages of one PDF (output default labels.pdf); WxH "
             "is a page in mm, e.g. 100x150",
     .Handle = [](TOptions& O, const TArg& A) {
         const std::string L = Lower(A.Value);
         if (L == "a4")
             O.Sheet = A4;
         else if (L == "letter")
             O.Sheet = Letter;
         else if (double W = 0, H = 0; ParseSize(A.Value, MaxPageMM, W, H))
             O.Sheet = TPage{Number(W) + " x " + Number(H) + " mm", W, H};
         else
             return A.IsNot("a page size: A4, Letter or WxH in mm up to " + Number(MaxPageMM));
         return Ok;
     }},
    {.Long = "--roll",
     .Help = "one label a page of one PDF (output default labels.pdf), the page the label's size (with --label, "
             "that size, the symbol centred), for label printers and rolls",
     .Handle = [](TOptions& O, const TArg&) {
         O.Roll = true;
         return Ok;
     }},
    {.Long = "--label", .Value = "WxH",
     .Help = "the cells in mm (label stock), the first at the margins' corner, or a roll's labels; default: as large "
             "as the largest label the options give (with --symbology auto the largest it may choose, a book's "
             "number line included; with --add-on, its add-on), on a sheet stretched to fill the area inside the "
             "margins",
     .Handle = [](TOptions& O, const TArg& A) {
         return ParseSize(A.Value, MaxPageMM, O.LabelWidthMM, O.LabelHeightMM)
                    ? Ok
                    : A.IsNot("a label size WxH in mm up to " + Number(MaxPageMM));
     }},
    {.Long = "--gap", .Value = "H[,V]",
     .Help = "gutters between the cells in mm, across and down (V defaults to H); default one quiet zone (11 "
             "modules) without --label, none with it",
     .NeedsSheet = true,
     .Handle = [](TOptions& O, const TArg& A) {
         const std::size_t Comma = A.Value.find(',');
         double Across = 0, Down = 0;
         if (!ParseMM(A.Value.substr(0, Comma), 0, true, MaxGapMM, Across) ||
             (Comma != std::string::npos && !ParseMM(A.Value.substr(Comma + 1), 0, true, MaxGapMM, Down)))
             return A.IsNot("gutters H[,V] from 0 to " + Number(MaxGapMM) + " mm");
         O.GapAcrossMM = Across;
         O.GapDownMM = Comma == std::string::npos ? Across : Down;
         return Ok;
     }},
    {.Long = "--crop-marks",
     .Help = "0.1 mm marks outward from each cell's corners, each shortened or left out where it would come near a "
             "label",
     .NeedsSheet = true,
     .Handle = [](TOptions& O, const TArg&) {
         O.CropMarks = true;
         return Ok;
     }},
    {.Long = "--columns", .Value = "N", .Help = "the grid, default as many as fit", .NeedsSheet = true,
     .Handle = [](TOptions& O, const TArg& A) {
         return Whole(O.Columns, A, 1, MaxGrid, "a count from 1 to " + std::to_string(MaxGrid));
     }},
    {.Long = "--rows", .Value = "N", .SameLine = true, .NeedsSheet = true,
     .Handle = [](TOptions& O, const TArg& A) {
         return Whole(O.Rows, A, 1, MaxGrid, "a count from 1 to " + std::to_string(MaxGrid));
     }},
    {.Long = "--margin", .Value = "MM|L,T|L,T,R,B",
     .Help = "page margins in mm, default 10: one value for all four, left and top (right and bottom the same), "
             "or all four\nEach label is centred in its cell. A label larger than its cell is refused before "
             "anything is written; an item whose own add-on makes its label larger is rejected (give --label or a "
             "5-digit --add-on for room)",
     .NeedsSheet = true,
     .Handle = [](TOptions& O, const TArg& A) {
         std::vector<double> V;
         for (std::size_t From = 0;;) {
             const std::size_t Comma = A.Value.find(',', From);
             double MM = 0;
             if (!ParseMM(A.Value.substr(From, Comma - From), 0, true, MaxMarginMM, MM))
                 return A.IsNot("margins MM, L,T or L,T,R,B from 0 to " + Number(MaxMarginMM) + " mm");
             V.push_back(MM);
             if (Comma == std::string::npos)
                 break;
             From = Comma + 1;
         }
         if (V.size() == 3 || V.size() > 4)
             return A.IsNot("margins MM, L,T or L,T,R,B from 0 to " + Number(MaxMarginMM) + " mm");
         // Two values: the right as the left, the bottom as the top.
         const bool Four = V.size() == 4;
         O.Margins = {V[0], V.size() > 1 ? V[1] : V[0], Four ? V[2] : V[0], Four ? V[3] : V.back()};
         return Ok;
     }},
    {.Short = 'j', .Long = "--jobs", .Value = "N", .Help = "worker threads, default the number of cores",
     .Handle = [](TOptions& O, const TArg& A) {
         return Whole(O.Jobs, A, 1, MaxJobs, "a thread count from 1 to " + std::to_string(MaxJobs));
     }},
    {.Long = "--memory", .Value = "MB",
     .Help = "what the PNG images being drawn at once may take together, default 1024; fewer threads draw at once "
             "where they would take more (one image larger than this is drawn alone)",
     .Handle = [](TOptions& O, const TArg& A) {
         return ParseCount(A.Value, O.MemoryMB) && O.MemoryMB >= 1 && O.MemoryMB <= MaxMemoryMB
                    ? Ok
                    : A.IsNot("a size in MB from 1 to " + std::to_string(MaxMemoryMB));
     }},
    {.Short = 'q', .Long = "--quiet", .Help = "print nothing but errors",
     .Handle = [](TOptions& O, const TArg&) {
         O.Quiet = true;
         return Ok;
     }},
    {.Short = 'h', .Long = "--help",
     .Handle = [](TOptions& O, const TArg&) {
         O.Help = true;
         return Ok;
     }},
    {.Long = "--version", .SameLine = true,
     .Handle = [](TOptions& O, const TArg&) {
         O.Version = true;
         return Ok;
     }},
};

// A second row of one name would never be reached.
constexpr bool NamesUnique()
{
    for (std::size_t I = 0; I < std::size(Table); ++I)
        for (std::size_t J = I + 1; J < std::size(Table); ++J)
            if (std::string_view(Table[I].Long) == Table[J].Long || (Table[I].Short && Table[I].Short == Table[J].Short))
                return false;
    return true;
}
static_assert(NamesUnique());

// The row of "--name" or "-x"; null for none.
const TOptionRow* RowNamed(const std::string& Name)
{
    for (const TOptionRow& Row : Table)
        if (Name == Row.Long || (Row.Short && Name.size() == 2 && Name[1] == Row.Short))
            return &Row;
    return nullptr;
}

// Help from column 26, or two spaces after names that reach it (help2man
// reads two spaces as the end of the names), wrapped within 79 columns.
constexpr std::size_t HelpColumn = 26, LineWidth = 79;

void AppendEntry(std::string& Out, const std::string& Names, std::string_view Help)
{
    if (Help.empty()) {
        Out += Names + "\n";
        return;
    }
    std::string Line = Names + std::string(Names.size() + 2 <= HelpColumn ? HelpColumn - Names.size() : 2, ' ');
    bool Words = false; // on this line
    const auto Break = [&] {
        Out += Line + "\n";
        Line.assign(HelpColumn, ' ');
        Words = false;
    };
    for (std::size_t Start = 0; Start <= Help.size();) {
        const std::size_t End = std::min(Help.find_first_of(" \n", Start), Help.size());
        if (const std::string_view Word = Help.substr(Start, End - Start); !Word.empty()) {
            // Names too long for a word beside them: the help starts below.
            if (Words ? Line.size() + 1 + Word.size() > LineWidth : Line.size() + Word.size() > LineWidth) {
                if (!Words)
                    Line = Names;
                Break();
            }
            Line += (Words ? " " : "") + std::string(Word);
            Words = true;
        }
        if (End < Help.size() && Help[End] == '\n')
            Break();
        Start = End + 1;
    }
    if (Words)
        Out += Line + "\n";
}

// An option's names as --help shows them: "  -i, --input FILE", "      --dpi N".
std::string NamesOf(const TOptionRow& Row)
{
    return (Row.Short ? std::string("-") + Row.Short + ", " : std::string()) + Row.Long +
           (Row.Value ? std::string(" ") + Row.Value : std::string());
}

} // namespace

std::string ExpandPattern(const std::string& Pattern, const std::string& Gtin, std::size_t Number)
{
    std::string Out;
    Out.reserve(Pattern.size() + 16);
    for (std::size_t I = 0; I < Pattern.size(); ++I) {
        if (Pattern.compare(I, 6, "{gtin}") == 0) {
            Out += Gtin;
            I += 5;
        } else if (Pattern.compare(I, 3, "{n}") == 0) {
            std::string N = std::to_string(Number);
            if (N.size() < 5)
                N.insert(0, 5 - N.size(), '0');
            Out += N;
            I += 2;
        } else {
            Out += Pattern[I];
        }
    }
    return Out;
}

TParsed ParseOptions(const std::vector<std::string>& Args, int DefaultJobs)
{
    TParsed P;
    TOptions& O = P.Options;
    O.Jobs = std::clamp(DefaultJobs, 1, MaxJobs);
    // The options given, in their order, for the checks across them.
    std::vector<const TOptionRow*> Given;
    const auto Was = [&Given](std::string_view Long) {
        return std::any_of(Given.begin(), Given.end(), [Long](const TOptionRow* Row) { return Row->Long == Long; });
    };
    const auto Fail = [&P](std::string Reason) {
        P.Error = std::move(Reason);
        return P;
    };
    bool OptionsEnd = false;
    for (std::size_t I = 0; I < Args.size(); ++I) {
        std::string Arg = Args[I];
        if (OptionsEnd || Arg.empty() || Arg[0] != '-' || Arg == "-") {
            O.Gtins.push_back(Arg);
            continue;
        }
        if (Arg == "--") {
            OptionsEnd = true;
            continue;
        }
        // --name=value, --name value, -x value, -xvalue.
        std::string Name = Arg, Value;
        bool Inline = false;
        if (Arg.rfind("--", 0) == 0) {
            if (const std::size_t Eq = Arg.find('='); Eq != std::string::npos) {
                Name = Arg.substr(0, Eq);
                Value = Arg.substr(Eq + 1);
                Inline = true;
            }
        } else if (Arg.size() > 2) {
            Name = Arg.substr(0, 2);
            Value = Arg.substr(2);
            Inline = true;
        }
        const TOptionRow* Row = RowNamed(Name);
        if (!Row)
            return Fail("unknown option " + Name);
        const std::string Long = Row->Long;
        if (Row->Value && !Inline) {
            if (I + 1 >= Args.size())
                return Fail(Long + " needs a value");
            Value = Args[++I];
        } else if (!Row->Value && Inline) {
            return Fail(Long + " takes no value");
        }
        if (std::string Reason = Row->Handle(O, {Long, Value}); !Reason.empty())
            return Fail(std::move(Reason));
        Given.push_back(Row);
    }
    if (O.Help || O.Version)
        return P;
    if (Was("--x-dimension") && Was("--magnification"))
        return Fail("give --x-dimension or --magnification, not both");
    if (Was("--bar-width-reduction") && O.Export.BarWidthReductionMM >= O.Export.XDimensionMM)
        return Fail("--bar-width-reduction " + Number(O.Export.BarWidthReductionMM) +
                    " mm leaves no bar: it must be below the X-dimension, " + Number(O.Export.XDimensionMM) + " mm");
    if (Was("--add-on-column") && !Was("--gtin-column"))
        return Fail("--add-on-column needs --gtin-column: only records with a header have columns");
    if (Was("--gtin-column") && (O.Inputs.empty() || !O.Gtins.empty()))
        return Fail("--gtin-column reads the records of the --input files: give " +
                    std::string(O.Inputs.empty() ? "one" : "no GTIN arguments beside them"));
    if (Was("--min-grade") && !O.Verify)
        return Fail("--min-grade needs --verify: only graded labels have a grade to hold to it");
    if (O.Sheet && O.Roll)
        return Fail("give --sheet or --roll, not both: a roll has one label a page");
    const auto Grid = std::find_if(Given.rbegin(), Given.rend(), [](const TOptionRow* Row) { return Row->NeedsSheet; });
    if (Grid != Given.rend() && !O.Sheet)
        return Fail(std::string((*Grid)->Long) + " lays out a sheet: it needs --sheet");
    if (Was("--label") && !OnePdf(O))
        return Fail("--label sizes the labels of a sheet or a roll: it needs --sheet or --roll");
    if (OnePdf(O) && !Was("--output"))
        O.Output = "labels.pdf";
    if (const std::string E = CheckPattern(O.Output); !E.empty())
        return Fail(E);
    const std::optional<TFormat> Format = WEQEan::FileFormatOf(QString::fromStdString(O.Output));
    if (OnePdf(O)) {
        const std::string What = O.Sheet ? "a sheet" : "a roll";
        if (Format != TFormat::Pdf)
            return Fail(What + " is one PDF: the output must end in .pdf");
        if (O.Output.find('{') != std::string::npos)
            return Fail(What + " is one file: its name takes no {gtin} or {n}");
    } else if (!Format) {
        return Fail("cannot tell the format of '" + O.Output + "': end it in .png, .svg, .pdf or .eps");
    } else if (!O.Template.empty() && Format != TFormat::Pdf && Format != TFormat::Png) {
        return Fail("a template's labels are PDF or PNG: end the output in .pdf or .png");
    }
    O.Format = *Format;
    if (O.DpiGiven && O.Format == TFormat::Pdf)
        O.Export.PrinterDpi = O.Dpi;
    if (Was("--output-condition") && !O.Export.PdfX)
        return Fail("--output-condition names the printing condition of --pdf-x: give --pdf-x too");
    if (O.Export.PdfX) {
        if (O.Format != TFormat::Pdf)
            return Fail("--pdf-x makes PDF files: the output must end in .pdf");
        if (DrawsThroughQtPdf(O))
            return Fail("--pdf-x: this layout is drawn through Qt's PDF engine, which writes every colour as RGB; "
                        "PDF/X-1a takes CMYK and spot inks only");
        const std::pair<const std::optional<WEQEan::TInk>*, const char*> Given[] = {
            {&O.Export.BarInk, "--bar-color"}, {&O.Export.BackgroundInk, "--background-color"},
            {&O.Export.FontInk, "--text-color"}};
        for (const auto& [Ink, Option] : Given)
            if (*Ink && (*Ink)->Kind == WEQEan::TInk::Rgb)
                return Fail(std::string("--pdf-x takes CMYK and spot inks only: ") + Option + " " +
                            WEQEan::InkText(**Ink) + " is RGB; give cmyk(C,M,Y,K) or spot(NAME,C,M,Y,K)");
    }
    if (O.Inputs.empty() && O.Gtins.empty())
        return Fail("no GTINs: give them as arguments or with --input FILE");
    return P;
}

std::string UsageText()
{
    std::string Out = R"(Usage: weqbarcode [OPTIONS] [ITEM...]
Writes an EAN-13 symbol (or EAN-8, UPC-A, UPC-E) for each GTIN, one file
each, or all of them as labels on the pages of one PDF.

An item is a GTIN, or a GTIN and its own add-on of 2 or 5 digits as
GTIN,ADDON  GTIN+ADDON  GTIN ADDON  or GTIN<tab>ADDON (fields may be quoted as
in CSV; an empty add-on field is none). Any other field, a third one, or text
after the add-on rejects the item with its reason.

Options:
)";
    for (std::size_t I = 0; I < std::size(Table); ++I) {
        const TOptionRow& Row = Table[I];
        std::string Names = (Row.Short ? "  " : "      ") + NamesOf(Row);
        while (I + 1 < std::size(Table) && Table[I + 1].SameLine)
            Names += ", " + NamesOf(Table[++I]);
        AppendEntry(Out, Names, Row.Help);
    }
    return Out + R"(
A COLOR is #rrggbb (RGB), cmyk(C,M,Y,K) (process inks in percent, 0 to 100),
spot(NAME,C,M,Y,K) (a spot ink on a plate of its own, named, with its CMYK
look for proofs and the grade) or, for the background, none. PDF, EPS and
sheets print the inks as given; PNG and SVG hold RGB and draw a CMYK or spot
ink as its sRGB equivalent, which the run says once. A layout that goes
through Qt's PDF engine is RGB only and takes no --pdf-x. The grade reads an
ink's reflectance at 660 nm from its process inks (an RGB colour first as the
CMYK a press would print), on white paper.

Every item is checked against GS1's print rules. What holds for the whole job
(X-dimension, its snap to whole dots, bar height, colours, bar width
reduction) is printed once, after the X-dimension drawn, before anything is
written, and an error there fails the run; an item's own findings follow it as
FILE:LINE: warning: TEXT (for an argument, ITEM: warning: TEXT), and an error
rejects the item.

Exit status: 0 every item written; 1 some items rejected (the rest written),
labels graded under --min-grade (written), or the job failing the print checks
(nothing written); 2 a usage error, an input that cannot be read, a failed
write (the file is named; nothing half-written) or too little memory.
Interrupted (SIGINT, SIGTERM), the program ends as the signal would (status
130, 143 in a shell): the files written stay, no part of one and no temporary
file is left.
)";
}

} // namespace WEQCli
