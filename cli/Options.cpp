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
#include <tuple>

namespace WEQCli {

namespace {

constexpr int MaxJobs = 256;
constexpr int MaxGrid = 1000;
// Larger pages, labels and bars than these are typing errors, not print jobs.
constexpr double MaxPageMM = 5000, MaxGapMM = 1000, MaxBarHeightMM = 1000;
constexpr std::uint64_t MaxMemoryMB = std::uint64_t(1) << 30; // a petabyte: no machine, but no overflow either

std::string Lower(std::string S)
{
    std::transform(S.begin(), S.end(), S.begin(), [](unsigned char C) { return char(std::tolower(C)); });
    return S;
}

// ".png" of "out/a.PNG"; empty without one.
std::string Suffix(const std::string& Path)
{
    const std::size_t Slash = Path.find_last_of('/');
    const std::size_t Dot = Path.find_last_of('.');
    if (Dot == std::string::npos || (Slash != std::string::npos && Dot < Slash))
        return {};
    return Lower(Path.substr(Dot));
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

// #rrggbb as a TColor (red in the low byte).
bool ParseColor(const std::string& Text, TColor& Out)
{
    if (Text.size() != 7 || Text[0] != '#')
        return false;
    TColor V = 0;
    for (std::size_t I = 1; I < 7; ++I) {
        const int D = std::isdigit(static_cast<unsigned char>(Text[I])) ? Text[I] - '0'
                      : std::isxdigit(static_cast<unsigned char>(Text[I]))
                          ? std::tolower(static_cast<unsigned char>(Text[I])) - 'a' + 10
                          : -1;
        if (D < 0)
            return false;
        V = V << 4 | TColor(D);
    }
    Out = (V >> 16 & 0xFF) | (V & 0xFF00) | (V & 0xFF) << 16;
    return true;
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
    bool OutputGiven = false, XGiven = false, MagnificationGiven = false, GridGiven = false, ReductionGiven = false,
         MinGradeGiven = false;
    std::string GridOption;
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
        static const struct {
            const char *Short, *Long;
            bool TakesValue;
        } Known[] = {{"-i", "--input", true},         {"-o", "--output", true},
                     {nullptr, "--dpi", true},        {"-x", "--x-dimension", true},
                     {nullptr, "--magnification", true}, {nullptr, "--no-marker", false},
                     {nullptr, "--bar-color", true},  {nullptr, "--background-color", true},
                     {nullptr, "--text-color", true}, {nullptr, "--complete", false},
                     {nullptr, "--sheet", true},      {nullptr, "--columns", true},
                     {nullptr, "--rows", true},       {nullptr, "--margin", true},
                     {"-j", "--jobs", true},          {nullptr, "--memory", true},
                     {"-q", "--quiet", false},
                     {"-h", "--help", false},         {nullptr, "--version", false},
                     {nullptr, "--symbology", true},  {nullptr, "--add-on", true},
                     {nullptr, "--bar-height", true}, {nullptr, "--bar-width-reduction", true},
                     {nullptr, "--gs1-strict", false}, {nullptr, "--verify", false},
                     {nullptr, "--min-grade", true},  {nullptr, "--label", true},
                     {nullptr, "--gap", true},        {nullptr, "--crop-marks", false},
                     {nullptr, "--issn-variant", true}};
        const auto* Found = std::find_if(std::begin(Known), std::end(Known), [&](const auto& K) {
            return (K.Short && Name == K.Short) || Name == K.Long;
        });
        if (Found == std::end(Known))
            return Fail("unknown option " + Name);
        const std::string Long = Found->Long;
        if (Found->TakesValue && !Inline) {
            if (I + 1 >= Args.size())
                return Fail(Long + " needs a value");
            Value = Args[++I];
        } else if (!Found->TakesValue && Inline) {
            return Fail(Long + " takes no value");
        }
        const auto Bad = [&](const std::string& What) { return Fail(Long + ": '" + Value + "' is not " + What); };

        if (Long == "--input") {
            O.Inputs.push_back(Value);
        } else if (Long == "--output") {
            O.Output = Value;
            OutputGiven = true;
        } else if (Long == "--dpi") {
            if (!ParseInt(Value, O.Dpi) || O.Dpi < WEQEan::MinDpi || O.Dpi > WEQEan::MaxDpi)
                return Bad("a resolution from " + std::to_string(WEQEan::MinDpi) + " to " +
                           std::to_string(WEQEan::MaxDpi) + " dpi");
        } else if (Long == "--x-dimension" || Long == "--magnification") {
            double V = 0;
            if (!ParseNumber(Value, V))
                return Bad("a number");
            (Long == "--x-dimension" ? XGiven : MagnificationGiven) = true;
            O.Export.XDimensionMM = Long == "--x-dimension" ? V : WEQEan::MagnificationToXDimension(V);
            if (!(O.Export.XDimensionMM >= WEQEan::MinXDimensionMM && O.Export.XDimensionMM <= WEQEan::MaxXDimensionMM))
                return Fail(Long + " " + Value + " makes an X-dimension outside 0.1 .. 10 mm");
        } else if (Long == "--no-marker") {
            O.Export.DrawRightDelimiter = false;
        } else if (Long == "--bar-color" || Long == "--background-color" || Long == "--text-color") {
            TColor& C = Long == "--bar-color" ? O.Export.BarColor
                        : Long == "--text-color" ? O.Export.FontColor
                                                 : O.Export.BackgroundColor;
            if (!ParseColor(Value, C))
                return Bad("a colour #rrggbb");
        } else if (Long == "--complete") {
            O.Reading.Options.Complete = true;
        } else if (Long == "--sheet") {
            const std::string L = Lower(Value);
            if (L == "a4")
                O.Sheet = A4;
            else if (L == "letter")
                O.Sheet = Letter;
            else if (double W = 0, H = 0; ParseSize(Value, MaxPageMM, W, H))
                O.Sheet = TPage{Number(W) + " x " + Number(H) + " mm", W, H};
            else
                return Bad("a page size: A4, Letter or WxH in mm up to " + Number(MaxPageMM));
        } else if (Long == "--label") {
            if (!ParseSize(Value, MaxPageMM, O.LabelWidthMM, O.LabelHeightMM))
                return Bad("a label size WxH in mm up to " + Number(MaxPageMM));
            GridGiven = true;
            GridOption = Long;
        } else if (Long == "--gap") {
            const std::size_t Comma = Value.find(',');
            double Across = 0, Down = 0;
            if (!ParseMM(Value.substr(0, Comma), 0, true, MaxGapMM, Across) ||
                (Comma != std::string::npos && !ParseMM(Value.substr(Comma + 1), 0, true, MaxGapMM, Down)))
                return Bad("gutters H[,V] from 0 to " + Number(MaxGapMM) + " mm");
            O.GapAcrossMM = Across;
            O.GapDownMM = Comma == std::string::npos ? Across : Down;
            GridGiven = true;
            GridOption = Long;
        } else if (Long == "--crop-marks") {
            O.CropMarks = true;
            GridGiven = true;
            GridOption = Long;
        } else if (Long == "--columns" || Long == "--rows") {
            int& N = Long == "--columns" ? O.Columns : O.Rows;
            if (!ParseInt(Value, N) || N < 1 || N > MaxGrid)
                return Bad("a count from 1 to " + std::to_string(MaxGrid));
            GridGiven = true;
            GridOption = Long;
        } else if (Long == "--margin") {
            if (!ParseNumber(Value, O.MarginMM) || O.MarginMM < 0 || O.MarginMM > 100)
                return Bad("a margin from 0 to 100 mm");
            GridGiven = true;
            GridOption = Long;
        } else if (Long == "--jobs") {
            if (!ParseInt(Value, O.Jobs) || O.Jobs < 1 || O.Jobs > MaxJobs)
                return Bad("a thread count from 1 to " + std::to_string(MaxJobs));
        } else if (Long == "--memory") {
            if (!ParseCount(Value, O.MemoryMB) || O.MemoryMB < 1 || O.MemoryMB > MaxMemoryMB)
                return Bad("a size in MB from 1 to " + std::to_string(MaxMemoryMB));
        } else if (Long == "--symbology") {
            // Named from the reader's table: the shell completion is checked against this list.
            if (!WEQEan::KindNamed(Value, O.Reading.Kind))
                return Bad("a symbology: " + KindList());
        } else if (Long == "--issn-variant") {
            if (!Digits(Value, 2))
                return Bad("an ISSN variant: 2 digits");
            O.Reading.Options.IssnVariant = Value;
        } else if (Long == "--add-on") {
            if (!Digits(Value, 2) && !Digits(Value, 5))
                return Bad("an add-on: 2 or 5 digits");
            O.Reading.Options.AddOn = Value;
        } else if (Long == "--bar-height") {
            if (!ParseMM(Value, 0, false, MaxBarHeightMM, O.Export.BarHeightMM))
                return Bad("a bar height above 0 and up to " + Number(MaxBarHeightMM) + " mm");
        } else if (Long == "--bar-width-reduction") {
            if (!ParseMM(Value, 0, true, WEQEan::MaxXDimensionMM, O.Export.BarWidthReductionMM))
                return Bad("a reduction from 0 to below the X-dimension in mm");
            ReductionGiven = true;
        } else if (Long == "--gs1-strict") {
            O.Gs1Strict = true;
        } else if (Long == "--verify") {
            O.Verify = true;
        } else if (Long == "--min-grade") {
            const std::string G = Lower(Value);
            if (G.size() != 1 || G[0] < 'a' || G[0] > 'd')
                return Bad("a grade: A, B, C or D");
            O.MinGrade = char(G[0] - 'a' + 'A');
            MinGradeGiven = true;
        } else if (Long == "--quiet") {
            O.Quiet = true;
        } else if (Long == "--help") {
            O.Help = true;
        } else if (Long == "--version") {
            O.Version = true;
        }
    }
    if (O.Help || O.Version)
        return P;
    if (XGiven && MagnificationGiven)
        return Fail("give --x-dimension or --magnification, not both");
    if (ReductionGiven && O.Export.BarWidthReductionMM >= O.Export.XDimensionMM)
        return Fail("--bar-width-reduction " + Number(O.Export.BarWidthReductionMM) +
                    " mm leaves no bar: it must be below the X-dimension, " + Number(O.Export.XDimensionMM) + " mm");
    if (MinGradeGiven && !O.Verify)
        return Fail("--min-grade needs --verify: only graded labels have a grade to hold to it");
    if (GridGiven && !O.Sheet)
        return Fail(GridOption + " lays out a sheet: it needs --sheet");
    if (O.Sheet && !OutputGiven)
        O.Output = "labels.pdf";
    if (const std::string E = CheckPattern(O.Output); !E.empty())
        return Fail(E);
    const std::string Kind = Suffix(O.Output);
    if (O.Sheet) {
        if (Kind != ".pdf")
            return Fail("a sheet is one PDF: the output must end in .pdf");
        if (O.Output.find('{') != std::string::npos)
            return Fail("a sheet is one file: its name takes no {gtin} or {n}");
        O.Format = TFormat::Pdf;
    } else if (Kind == ".png") {
        O.Format = TFormat::Png;
    } else if (Kind == ".svg") {
        O.Format = TFormat::Svg;
    } else if (Kind == ".pdf") {
        O.Format = TFormat::Pdf;
    } else {
        return Fail("cannot tell the format of '" + O.Output + "': end it in .png, .svg or .pdf");
    }
    if (O.Inputs.empty() && O.Gtins.empty())
        return Fail("no GTINs: give them as arguments or with --input FILE");
    return P;
}

std::string UsageText()
{
    return R"(Usage: weqbarcode [OPTIONS] [ITEM...]
Writes an EAN-13 symbol (or EAN-8, UPC-A, UPC-E) for each GTIN, one file
each, or all of them as labels on the pages of one PDF.

An item is a GTIN, or a GTIN and its own add-on of 2 or 5 digits as
GTIN,ADDON  GTIN+ADDON  GTIN ADDON  or GTIN<tab>ADDON (fields may be quoted as
in CSV; an empty add-on field is none). Any other field, a third one, or text
after the add-on rejects the item with its reason.

Options:
  -i, --input FILE        one item per line ('-' is standard input), ASCII or
                          UTF-8 (a BOM is skipped; UTF-16 and UTF-32 are
                          refused); blank lines and lines starting with '#' are
                          skipped; a line with a byte that is not printable
                          ASCII (a tab aside) is rejected, the byte named
  -o, --output PATTERN    the file to write, default {gtin}.png; {gtin} is the
                          symbol's digits, {n} the item's number (counted over
                          all items, rejected ones too), 5 digits at least;
                          .png, .svg or .pdf picks the format; missing folders
                          are made
      --symbology S       ean13 (default), ean8, upca, upce, or auto: each
                          GTIN of 8, 12, 13 or 14 digits as the symbol it holds
                          (EAN-8, UPC-A or EAN-13), and a book's, music's or
                          serial's number as below; isbn, ismn or issn: the
                          number as written (978-3-16-148410-0, an ISBN-10,
                          M-2306-7118-7, 0317-8471; a label ISBN, ISMN or ISSN
                          before it may stand apart), printed above the bars
                          ("ISBN 978-3-16-148410-0"); an ISBN's add-on is its
                          price code (90000: none), an ISSN's the issue
      --issn-variant NN   an ISSN's price or variant code, default 00
      --add-on DIGITS     a 2- or 5-digit add-on for every item without its own
      --dpi N             PNG resolution, default 300 (50 .. 9600)
  -x, --x-dimension MM    module width, default 0.330 (0.1 .. 10)
      --magnification F   module width as a magnification, 1.0 = 0.330 mm
      --bar-height MM     the main bars' height, above 0 and up to 1000;
                          default the nominal 69.24 modules (EAN-8 55.24)
      --bar-width-reduction MM  taken from every bar for the press's ink
                          spread, from 0 (default) to below the X-dimension
      --no-marker         no '>' in the right quiet zone
      --bar-color #rrggbb, --background-color #rrggbb, --text-color #rrggbb
      --complete          complete any text to a GTIN as the control does; without
                          it an item must be 12 digits, or 13 with the right check
                          digit (EAN-8: 7 or 8, UPC-A: 11 or 12, UPC-E: 6, 7 or
                          8, or a UPC-A that zero suppression can shorten), and
                          other items are rejected with the reason
      --gs1-strict        every warning of the print checks is an error
      --verify            grade each label once written, a pre-press estimate
                          under a scanner's 660 nm light: 'NAME: grade B
                          (pre-press estimate)' on standard output
      --min-grade A|B|C|D with --verify, a label graded under this fails,
                          default C
      --sheet A4|Letter|WxH  all labels at their physical size in a grid on the
                          pages of one PDF (output default labels.pdf); WxH is
                          a page in mm, e.g. 100x150
      --label WxH         the cells in mm (label stock), the first at the
                          margins' corner; default: as large as the largest
                          label the options give (with --symbology auto the
                          largest it may choose, a book's number line
                          included; with --add-on, its add-on),
                          stretched to fill the area inside the margins
      --gap H[,V]         gutters between the cells in mm, across and down (V
                          defaults to H); default one quiet zone (11 modules)
                          without --label, none with it
      --crop-marks        0.1 mm marks outward from each cell's corners, each
                          shortened or left out where it would come near a label
      --columns N, --rows N  the grid, default as many as fit
      --margin MM         page margin, default 10
                          Each label is centred in its cell. A label larger than
                          its cell is refused before anything is written; an
                          item whose own add-on makes its label larger is
                          rejected (give --label or a 5-digit --add-on for room)
  -j, --jobs N            worker threads, default the number of cores
      --memory MB         what the PNG images being drawn at once may take
                          together, default 1024; fewer threads draw at once
                          where they would take more (one image larger than
                          this is drawn alone)
  -q, --quiet             print nothing but errors
  -h, --help, --version

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
