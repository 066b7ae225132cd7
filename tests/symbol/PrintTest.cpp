// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// Print options measured in the files they give: the bars' height in PNG,
// SVG and PDF, bars narrowed by whole dots read back as run lengths, the
// grade of colours under a scanner's red light, and what the GS1 check says.

#include "ean/WEQEanExport.h"
#include "symbol/Decode.h"
#include "symbol/PdfPage.h"

#include <QImage>
#include <QTemporaryDir>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace WEQEan;

namespace {

// Runs of one colour along a row: (first dot, length, dark).
struct TRun {
    int Start, Length;
    bool Dark;
};
std::vector<TRun> RunsOf(const QImage& Image, int Y)
{
    std::vector<TRun> Runs;
    for (int X = 0; X < Image.width(); ++X) {
        const bool Dark = qGray(Image.pixel(X, Y)) < 128;
        if (Runs.empty() || Runs.back().Dark != Dark)
            Runs.push_back({X, 0, Dark});
        ++Runs.back().Length;
    }
    return Runs;
}

// The main bars' and the guard bars' heights in dots: of the columns dark in
// the top row, the shortest and the tallest dark run from the top.
std::pair<int, int> BarHeightsOfPng(const QImage& Image)
{
    int Low = Image.height(), High = 0;
    for (int X = 0; X < Image.width(); ++X) {
        int Y = 0;
        while (Y < Image.height() && qGray(Image.pixel(X, Y)) < 128)
            ++Y;
        if (Y > 0) {
            Low = std::min(Low, Y);
            High = std::max(High, Y);
        }
    }
    return {Low, High};
}

// The same from an SVG's bar path: subpaths from the top, each bar's
// bottom an absolute V; in millimetres by the document's width.
std::pair<double, double> BarHeightsOfSvg(const QByteArray& Svg)
{
    const QString S = QString::fromUtf8(Svg);
    const auto Match = QRegularExpression(R"re(width="([0-9.]+)mm".*viewBox="0 0 (\d+))re").match(S);
    const double MMPerUnit = Match.captured(1).toDouble() / Match.captured(2).toDouble();
    const auto Path = QRegularExpression(R"re(<path[^>]* d="([^"]*)")re").match(S).captured(1);
    double Low = 1e9, High = 0;
    for (const QString& Sub : Path.split('M', Qt::SkipEmptyParts)) {
        if (QRegularExpression(R"(^\d+ 0V)").match(Sub).hasMatch()) {
            auto It = QRegularExpression(R"(V(\d+))").globalMatch(Sub);
            while (It.hasNext()) {
                const double V = It.next().captured(1).toDouble();
                if (V > 0) {
                    Low = std::min(Low, V);
                    High = std::max(High, V);
                }
            }
        }
    }
    return {Low * MMPerUnit, High * MMPerUnit};
}

// The same from a PDF's page content: the bars' rectangles from the top
// edge, scaled by the symbol's matrix. The content stream is the last one.
std::pair<double, double> BarHeightsOfPdf(const QByteArray& Pdf)
{
    QByteArray Content;
    for (qsizetype At = Pdf.indexOf(">>\nstream\n"); At >= 0; At = Pdf.indexOf(">>\nstream\n", At + 1)) {
        At += 3;
        const qsizetype End = Pdf.indexOf("endstream", At);
        QByteArray Packed = Pdf.mid(At + 7, End - At - 7);
        Packed.prepend(QByteArray::fromHex("00100000")); // a size hint for qUncompress
        const QByteArray Text = qUncompress(Packed);
        if (Text.contains(" cm\n") && Text.contains(" re f\n"))
            Content = Text;
    }
    const QString S = QString::fromLatin1(Content);
    const double Scale = QRegularExpression(R"(^q\n([0-9.]+) )").match(S).captured(1).toDouble();
    double Low = 1e9, High = 0;
    // The bars, each a fill of its own, after the background's.
    auto It = QRegularExpression(R"(\n[0-9.]+ 0 [0-9.]+ ([0-9.]+) re f\n)").globalMatch(S, S.indexOf("0 0 0 rg\n"));
    while (It.hasNext()) {
        const double H = It.next().captured(1).toDouble();
        Low = std::min(Low, H);
        High = std::max(High, H);
    }
    constexpr double MMPerPoint = 25.4 / 72;
    return {Low * Scale * MMPerPoint, High * Scale * MMPerPoint};
}

struct THeightRow {
    TSymbology Symbology;
    const char* Text;
    double Magnification, BarHeightMM;
};
const THeightRow HeightRows[] = {
    {TSymbology::Ean13, "9783161484100", 0.8, 0},  {TSymbology::Ean13, "9783161484100", 1.0, 0},
    {TSymbology::Ean13, "9783161484100", 2.0, 0},  {TSymbology::Ean8, "96385074", 0.8, 0},
    {TSymbology::Ean8, "96385074", 1.0, 0},        {TSymbology::Ean8, "96385074", 2.0, 0},
    {TSymbology::UpcA, "036000291452", 1.0, 0},    {TSymbology::UpcE, "04252614", 1.0, 0},
    {TSymbology::Ean13, "9783161484100", 1.0, 15}, {TSymbology::Ean13, "9783161484100", 2.0, 40.5},
};

} // namespace

TEST(PrintTest, MainBarsAreAsTallAsAskedInEveryFile)
{
    for (const THeightRow& Row : HeightRows) {
        TExportOptions O;
        O.Symbology = Row.Symbology;
        O.XDimensionMM = MagnificationToXDimension(Row.Magnification);
        O.BarHeightMM = Row.BarHeightMM;
        const double X = std::round(O.XDimensionMM * 1000) / 1000;
        const double Nominal = (Row.Symbology == TSymbology::Ean8 ? 55.24 : 69.24) * X;
        const double Want = Row.BarHeightMM > 0 ? Row.BarHeightMM : Nominal;
        SCOPED_TRACE(std::string(Row.Text) + " at " + std::to_string(Row.Magnification) + ", bars " +
                     std::to_string(Want) + " mm");

        QByteArray Svg, Pdf, Png;
        ASSERT_TRUE(EncodeSvg(Row.Text, O, Svg));
        ASSERT_TRUE(EncodePdf(Row.Text, O, Pdf));
        for (const auto& [Main, Guard] : {BarHeightsOfSvg(Svg), BarHeightsOfPdf(Pdf)}) {
            EXPECT_NEAR(Main, Want, 0.0006);
            EXPECT_NEAR(Guard - Main, 5 * X, 0.0006);
        }
        for (const int Dpi : {203, 300, 600, 1200}) {
            TRasterExport Report;
            ASSERT_TRUE(EncodePng(Row.Text, Dpi, O, Png, &Report));
            const auto [Main, Guard] = BarHeightsOfPng(QImage::fromData(Png));
            const double Dot = 25.4 / Dpi;
            const double WantHere = Row.BarHeightMM > 0 ? Want : Nominal / X * Report.XDimensionMM;
            EXPECT_LE(std::abs(Main * Dot - WantHere), Dot) << Dpi << " dpi: " << Main << " dots";
            EXPECT_EQ(Guard - Main, 5 * Report.DotsPerModule) << Dpi << " dpi";
        }
    }
    // GS1's figure for the nominal symbol.
    QByteArray Svg;
    ASSERT_TRUE(EncodeSvg("9783161484100", {}, Svg));
    EXPECT_NEAR(BarHeightsOfSvg(Svg).first, 22.85, 0.005);
}

TEST(PrintTest, BarWidthReductionTakesWholeDotsFromTheBars)
{
    TExportOptions O;
    O.Symbology = TSymbology::Ean13;
    O.AddOn = "12";
    QByteArray Png;
    ASSERT_TRUE(EncodePng("9783161484100", 600, O, Png));
    const QImage Plain = QImage::fromData(Png);
    const std::vector<TRun> Before = RunsOf(Plain, Plain.height() / 2),
                            BeforeAddOn = RunsOf(Plain, Plain.height() * 3 / 4);
    for (const int Dots : {1, 2, 3}) {
        SCOPED_TRACE(std::to_string(Dots) + " dots");
        O.BarWidthReductionMM = Dots * 25.4 / 600 + 0.004; // the nearest whole number of dots is taken
        ASSERT_TRUE(EncodePng("9783161484100", 600, O, Png));
        const QImage Reduced = QImage::fromData(Png);
        ASSERT_EQ(Reduced.size(), Plain.size());
        for (const int Y : {Plain.height() / 2, Plain.height() * 3 / 4}) {
            const std::vector<TRun> After = RunsOf(Reduced, Y), &Was = Y == Plain.height() / 2 ? Before : BeforeAddOn;
            ASSERT_EQ(After.size(), Was.size());
            for (std::size_t I = 0; I < After.size(); ++I) {
                const bool Edge = I == 0 || I + 1 == After.size();
                if (After[I].Dark) {
                    EXPECT_EQ(After[I].Length, Was[I].Length - Dots) << "bar " << I;
                    const double Centre = After[I].Start + After[I].Length / 2.0,
                                 WasCentre = Was[I].Start + Was[I].Length / 2.0;
                    EXPECT_LE(std::abs(Centre - WasCentre), 0.5) << "bar " << I;
                    EXPECT_EQ(After[I].Start - Was[I].Start, Dots / 2) << "bar " << I;
                } else if (!Edge && (I == 0 || After[I - 1].Dark) && After[I + 1].Dark) {
                    EXPECT_EQ(After[I].Length, Was[I].Length + Dots) << "space " << I;
                }
            }
        }
        if (Dots < 3) { // of 8 dots a module
            EXPECT_EQ(DecodeFamily(Reduced), "EAN-13:9783161484100 12");
        }
    }

    // Vector files: exactly, half from each edge.
    O.AddOn.clear();
    O.BarWidthReductionMM = 0.02;
    QByteArray Svg;
    ASSERT_TRUE(EncodeSvg("9783161484100", O, Svg));
    EXPECT_TRUE(Svg.contains("M3640 0V24499h310V"));

    // Too much to leave half a module, or a dot.
    struct {
        double X, Reduction;
        int Dpi;
    } const Refused[] = {{0.33, 0.2, 0},    {0.33, 0.2, 600}, {0.33, 0.25, 203},
                         {0.127, 0.1, 203}, {0.33, -0.01, 0}, {0.33, std::nan(""), 0}};
    for (const auto& R : Refused) {
        O.XDimensionMM = R.X;
        O.BarWidthReductionMM = R.Reduction;
        QString Error;
        const bool Made = R.Dpi ? EncodePng("9783161484100", R.Dpi, O, Png, nullptr, &Error)
                                : EncodeSvg("9783161484100", O, Svg, &Error);
        EXPECT_FALSE(Made) << R.X << " " << R.Reduction << " at " << R.Dpi;
        EXPECT_TRUE(Error.contains("bar width reduction")) << Error.toStdString();
    }
}

// Grades by the ink model of docs/colour.md: white paper 88 % at 660 nm;
// solids relative to it cyan 0.04, magenta 0.89, yellow 0.95, black 0.02;
// Yule-Nielsen n 1.7; an RGB colour first as full grey-component CMYK. The
// reflectances in the comments are that model worked by hand.
TEST(PrintTest, ColoursAreGradedAsAScannerSeesThem)
{
    const struct {
        const char *Bars, *Background;
        char Grade, Contrast;
        std::vector<TScanParameter> HeldBy; // among what holds the grade down
    } Rows[] = {
        {"#000000", "#ffffff", 'A', 'A', {}},                                  // K 100: 1.8 % on 88 %
        {"cmyk(0,0,0,100)", "none", 'A', 'A', {}},                             // the paper itself behind
        {"cmyk(100,0,0,0)", "#ffffff", 'A', 'A', {}},                          // cyan absorbs red: 3.5 %
        {"spot(Reflex Blue,100,72,0,6)", "#ffffff", 'A', 'A', {}},             // 3.0 %
        {"#000080", "#ffffff", 'A', 'A', {}},                                  // dark blue: C 100 M 100 K 50
        {"#006400", "#ffffff", 'A', 'A', {}},                                  // dark green: C 100 Y 100 K 61
        {"cmyk(0,0,0,50)", "#ffffff", 'B', 'B', {TScanParameter::SymbolContrast}}, // 31.9 %: SC 56
        {"#8b0000", "#ffffff", 'B', 'B', {TScanParameter::SymbolContrast}},    // M 100 Y 100 K 45: 30.4 %
        // Magenta and yellow hardly absorb 660 nm light.
        {"cmyk(0,100,0,0)", "#ffffff", 'F', 'F', {TScanParameter::SymbolContrast}},   // 78.3 %
        {"cmyk(0,100,100,0)", "#ffffff", 'F', 'F', {TScanParameter::SymbolContrast}}, // 74.4 %
        {"#ff0000", "#ffffff", 'F', 'F', {TScanParameter::SymbolContrast}},
        {"#ffff00", "#ffffff", 'F', 'F', {TScanParameter::SymbolContrast}}, // 83.6 %
        // Firebrick: symbol contrast 43 % grades C, but bars reflecting more
        // than half of what the spaces do grade F for minimum reflectance.
        {"#b22222", "#ffffff", 'F', 'C', {TScanParameter::MinReflectance}}, // 44.9 % on 88 %
        {"#e0e0e0", "#ffffff", 'F', 'F', {TScanParameter::SymbolContrast, TScanParameter::MinReflectance}},
        {"#505050", "#aaaaaa", 'D', 'D', {TScanParameter::SymbolContrast}}, // 17.2 % on 48.0 %
    };
    for (const auto& Row : Rows) {
        TExportOptions O;
        TInk Bars, Background;
        ASSERT_TRUE(ParseInk(Row.Bars, Bars));
        ASSERT_TRUE(ParseInk(Row.Background, Background));
        O.BarInk = Bars;
        O.BackgroundInk = Background;
        for (const int Dpi : {0, 300}) {
            SCOPED_TRACE(std::string(Row.Bars) + " on " + Row.Background + " at " + std::to_string(Dpi));
            const TScanGrade G = GradeSymbol("9783161484100", O, Dpi);
            EXPECT_EQ(G.Grade, Row.Grade) << G.Reason << " " << G.DecodeError;
            EXPECT_EQ(G.SymbolContrast.Grade, Row.Contrast) << G.SymbolContrast.Value;
            for (const TScanParameter P : Row.HeldBy) {
                EXPECT_NE(std::find(G.GradedBy.begin(), G.GradedBy.end(), P), G.GradedBy.end()) << G.Reason;
            }
            EXPECT_EQ(G.GradedBy.empty(), Row.Grade == 'A') << G.Reason;
            EXPECT_TRUE(G.PrePressEstimate);
        }
    }
    // What is graded is the symbol drawn, its add-on too.
    TExportOptions O;
    O.AddOn = "51299";
    const TScanGrade G = GradeSymbol("9783161484100", O, 203);
    EXPECT_EQ(G.Digits, "9783161484100");
    EXPECT_EQ(G.AddOn, "51299");
}

TEST(PrintTest, TheGs1CheckSaysWhatIsOutsideTheRules)
{
    const auto Codes = [](const std::vector<TPrintFinding>& Found, TPrintFinding::TSeverity Severity) {
        std::string Out;
        for (const TPrintFinding& F : Found)
            if (F.Severity == Severity)
                Out += (Out.empty() ? "" : " ") + F.Code;
        return Out;
    };
    struct TRow {
        TSymbology Symbology;
        const char* Text;
        const char* AddOn;
        double X;
        int Dpi;
        double BarHeight;
        TColor Bars;
        bool Background, Strict;
        const char *Warnings, *Errors, *Sentence;
    } const Rows[] = {
        {TSymbology::Ean13, "9783161484100", "", 0.33, 0, 0, clBlack, true, false, "", "", ""},
        {TSymbology::Ean13, "9783161484100", "", 0.33, 600, 0, clBlack, true, false, "", "", ""},
        {TSymbology::Ean13, "9783161484100", "", 0.33, 203, 0, clBlack, true, false, "x-snapped", "",
         "drawn as 0.375 mm (3 dots at 203 dpi, 113.6 %)"},
        {TSymbology::Ean13, "9783161484100", "", 0.165, 0, 0, clBlack, true, false, "x-dimension", "",
         "0.165 mm (50.0 %) is outside"},
        {TSymbology::Ean13, "9783161484100", "", 0.825, 0, 0, clBlack, true, false, "x-dimension", "", "250.0 %"},
        {TSymbology::Ean13, "9783161484100", "", 0.33, 0, 15, clBlack, true, false, "bar-height", "",
         "Bars 15.00 mm tall are shorter than GS1's nominal 22.85 mm"},
        {TSymbology::Ean13, "9783161484100", "", 0.33, 0, 0, TColor(0x0000FF), true, false, "colours bar-colour", "",
         "Bars #ff0000 on #ffffff grade F"},
        // GS1's advice stands whatever the grade: dark red grades B.
        {TSymbology::Ean13, "9783161484100", "", 0.33, 0, 0, TColor(0x00008B), true, false, "bar-colour", "",
         "Bars #8b0000 are red, orange or yellow"},
        {TSymbology::Ean13, "9783161484100", "", 0.33, 0, 0, TColor(0xA0A0A0), true, false, "bar-colour", "",
         "Bars #a0a0a0 are a light tint"},
        {TSymbology::Ean13, "9783161484100", "", 0.33, 0, 0, TColor(0x213365), true, false, "", "", ""},
        {TSymbology::Ean13, "9783161484100", "", 0.33, 0, 0, clBlack, false, false, "quiet-zone", "", ""},
        {TSymbology::Ean8, "96385074", "12", 0.33, 0, 0, clBlack, true, false, "add-on-ean8", "", "not a GS1"},
        {TSymbology::Ean8, "96385074", "12", 0.33, 0, 0, clBlack, true, true, "", "add-on-ean8", ""},
        {TSymbology::Ean13, "9783161484100", "", 0.33, 203, 0, TColor(0x00FFFF), true, true, "",
         "x-snapped colours bar-colour", ""},
        {TSymbology::Ean13, "9783161484101", "", 0.33, 0, 0, clBlack, true, false, "", "symbol", ""},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(std::string(Row.Text) + " X " + std::to_string(Row.X) + " at " + std::to_string(Row.Dpi));
        TExportOptions O;
        O.Symbology = Row.Symbology;
        O.AddOn = Row.AddOn;
        O.XDimensionMM = Row.X;
        O.BarHeightMM = Row.BarHeight;
        O.BarColor = Row.Bars;
        O.FillBackground = Row.Background;
        O.Strict = true;
        const std::vector<TPrintFinding> Found = CheckGs1(Row.Text, O, Row.Dpi, Row.Strict);
        EXPECT_EQ(Codes(Found, TPrintFinding::Warning), Row.Warnings);
        EXPECT_EQ(Codes(Found, TPrintFinding::Error), Row.Errors);
        std::string All;
        for (const TPrintFinding& F : Found)
            All += F.Text + "\n";
        EXPECT_NE(All.find(Row.Sentence), std::string::npos) << All;
    }
    // A reduction the dots round away is said, not drawn as none in silence.
    TExportOptions Thin;
    Thin.BarWidthReductionMM = 0.02;
    EXPECT_EQ(Codes(CheckGs1("400638133393", Thin, 203), TPrintFinding::Warning), "x-snapped bar-width-reduction");
    EXPECT_NE(CheckGs1("400638133393", Thin, 203).back().Text.find("0.020 mm is less than half a dot at 203 dpi"),
              std::string::npos);
    EXPECT_EQ(Codes(CheckGs1("400638133393", Thin, 1200), TPrintFinding::Warning), "");
    EXPECT_EQ(Codes(CheckGs1("400638133393", Thin, 0), TPrintFinding::Warning), "");
    TExportOptions O;
    EXPECT_EQ(DescribeXDimension(O, 0), "X 0.330 mm (100.0 %)");
    EXPECT_EQ(DescribeXDimension(O, 203), "X 0.375 mm (3 dots at 203 dpi, 113.6 %)");
    O.BarWidthReductionMM = 0.05;
    EXPECT_EQ(DescribeXDimension(O, 600),
              "X 0.339 mm (8 dots at 600 dpi, 102.7 %), bar width reduction 1 dot (0.042 mm)");
}

namespace {

// A row as dark and light dots: "1110001...".
std::string Dots(const QImage& Image, int Y, int Left, int Width)
{
    std::string Out;
    for (int X = Left; X < Left + Width; ++X)
        Out += X >= 0 && X < Image.width() && Y >= 0 && Y < Image.height() && qGray(Image.pixel(X, Y)) < 128 ? '1'
                                                                                                              : '0';
    return Out;
}

} // namespace

// With a printer's dpi a PDF holds the raster of that dpi: rasterised at it,
// the bars of a symbol placed anywhere on the page are the dots of the PNG,
// from the dot nearest its place counted from the page's top-left corner.
TEST(PrintTest, PdfOnAPrintersDotsIsTheRasterOfItsDpi)
{
    const struct {
        int Dpi;
        double X, LeftMM, TopMM, ReductionMM;
    } Rows[] = {
        {203, 0.330, 7.2, 15.1, 0},    {203, 0.330, 10.06, 3.33, 0.125}, {300, 0.264, 1.234, 5.678, 0},
        {600, 0.500, 0.1, 0.1, 0.05},  {203, 0.250, 33.3, 2.2, 0},
    };
    QTemporaryDir Dir;
    for (const auto& Row : Rows) {
        SCOPED_TRACE(std::to_string(Row.Dpi) + " dpi, X " + std::to_string(Row.X) + " at " +
                     std::to_string(Row.LeftMM) + ", " + std::to_string(Row.TopMM));
        TExportOptions O;
        O.XDimensionMM = Row.X;
        O.BarWidthReductionMM = Row.ReductionMM;
        O.PrinterDpi = Row.Dpi;
        const QImage Raster = RenderRaster("400638133393", Row.Dpi, O).Image;
        ASSERT_FALSE(Raster.isNull());
        const QString Sheet = Dir.filePath("sheet.pdf"), Single = Dir.filePath("single.pdf");
        TPdfSheet Pdf;
        ASSERT_TRUE(Pdf.Open(Sheet));
        Pdf.NewPage(80, 50);
        ASSERT_TRUE(Pdf.Place("400638133393", Row.LeftMM, Row.TopMM, O));
        ASSERT_TRUE(Pdf.Finish("dots"));
        ASSERT_TRUE(ExportPdf("400638133393", Single, O));
        double W = 0, H = 0;
        ASSERT_TRUE(TPdfSheet::SizeOf("400638133393", O, W, H));
        EXPECT_EQ(QSize(int(std::lround(W * Row.Dpi / 25.4)), int(std::lround(H * Row.Dpi / 25.4))), Raster.size());
        const QImage Page = PdfPage(Sheet, Row.Dpi, 1, TPdfRaster::Printer), Alone = PdfPage(Single, Row.Dpi, 1, TPdfRaster::Printer);
        ASSERT_FALSE(Page.isNull() || Alone.isNull()) << "pdftoppm (poppler-utils) made no page";
        // Poppler rounds a page of a fraction of a dot more up.
        EXPECT_NEAR(Alone.width(), Raster.width(), 1);
        EXPECT_NEAR(Alone.height(), Raster.height(), 1);
        const int Left = int(std::lround(Row.LeftMM * Row.Dpi / 25.4)), Top = int(std::lround(Row.TopMM * Row.Dpi / 25.4));
        // Rows across the bars above the digits, and the guard bars' below them.
        for (const int Y : {Raster.height() / 4, Raster.height() / 2, Raster.height() * 17 / 20}) {
            const std::string Want = Dots(Raster, Y, 0, Raster.width());
            EXPECT_EQ(Dots(Page, Top + Y, Left, Raster.width()), Want) << "row " << Y;
            EXPECT_EQ(Dots(Alone, Y, 0, Raster.width()), Want) << "row " << Y;
        }
        EXPECT_EQ(Dots(Page, Top - 1, Left, Raster.width()), std::string(std::size_t(Raster.width()), '0'))
            << "nothing above the symbol's top";
    }
}
