// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// The family proved by independent means: module patterns against another
// encoder's (zint --dump), and every symbol and add-on read back by two
// decoders (zbar's zbarimg and zxing-cpp) as drawn on screen and as exported
// to PNG, SVG and PDF. Then the pixels: the fast path against the painter,
// each character's ink inside its own box, and the '<' as the mirrored '>'.
#define ZX_USE_UTF8 1
#include "ean/Core_p.h"
#include "ean/WEQEan.h"
#include "ean/WEQEanBook.h"
#include "ean/WEQEanExport.h"
#include "ean/WEQEanFamily.h"
#include "ocrb/WEQOcrB_p.h"
#include "render/SymbolPaint_p.h"
#include "tests/core/FamilyShow.h"

#include <QPainter>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <ZXing/ReadBarcode.h>
#include "symbol/Decode.h"
#include "symbol/PdfPage.h"
#include "symbol/SymbolTestUtil.h"
#include <gtest/gtest.h>

#include <random>
#include <thread>

using namespace WEQEan;

namespace {

constexpr TSymbology All[] = {TSymbology::Ean13, TSymbology::Ean8, TSymbology::UpcA, TSymbology::UpcE};
const char* const Names[] = {"EAN-13", "EAN-8", "UPC-A", "UPC-E"};

// The symbols' widths in modules, quiet zones included, without an add-on
// and with one of 2 or 5 digits nine modules away: EAN-13 11 + 95 + 7, then
// 11 + 95 + 9 + 20 (or 47) + 5; EAN-8 7 + 67 + 7; UPC-A 9 + 95 + 9; UPC-E
// 9 + 51 + 7. Their heights: 79 modules, EAN-8's 65.
std::int32_t ModulesOf(TSymbology S, std::size_t AddOnDigits)
{
    static const std::int32_t Widths[4][3] = {{113, 140, 167}, {81, 108, 135}, {113, 138, 165}, {67, 94, 121}};
    return Widths[std::size_t(S)][AddOnDigits == 0 ? 0 : AddOnDigits == 2 ? 1 : 2];
}
std::int32_t HeightOf(TSymbology S) { return S == TSymbology::Ean8 ? 65 : 79; }

std::string RunProgram(const QString& Program, const QStringList& Arguments)
{
    QProcess P;
    P.start(Program, Arguments);
    if (!P.waitForFinished(30000))
        return "(" + Program.toStdString() + " did not finish)";
    return P.readAllStandardOutput().trimmed().toStdString();
}

// A random reading of the symbology: EAN-13 never starts with 0, which
// the readers report as UPC-A.
TEanReading RandomReading(TSymbology S, std::mt19937& Random, std::size_t AddOnDigits)
{
    std::uniform_int_distribution<int> Digit(0, 9);
    std::string Text, AddOn;
    for (int I = 0; I < 12; ++I)
        Text += char('0' + Digit(Random));
    if (S == TSymbology::Ean13)
        Text[0] = char('1' + Digit(Random) % 9);
    if (S == TSymbology::UpcE)
        Text = Text.substr(0, 7); // any six digits, in their suppressed form
    for (std::size_t I = 0; I < AddOnDigits; ++I)
        AddOn += char('0' + Digit(Random));
    return CompleteSymbol(S, Text, AddOn);
}

// zint's modules, from the first bar to the last, for the symbol and add-on.
std::string ZintBits(const TEanReading& R, std::int32_t Gap)
{
    static const char* const Types[] = {"14", "14", "35", "38"}; // the types that take the check digit
    QString Data = QString::fromStdString(R.Data);
    if (!R.AddOn.empty())
        Data += "+" + QString::fromStdString(R.AddOn);
    const std::string Hex = RunProgram("zint", {"--dump", "-b", Types[std::size_t(R.Symbology)], "--addongap=" + QString::number(Gap),
                                         "-d", Data});
    std::string Bits;
    for (char Ch : Hex) {
        if (Ch == ' ')
            continue;
        const int V = Ch <= '9' ? Ch - '0' : Ch - 'A' + 10;
        if (V < 0 || V > 15)
            return "(zint: " + Hex + ")";
        for (int B = 3; B >= 0; --B)
            Bits += (V >> B) & 1 ? '1' : '0';
    }
    return Bits.substr(0, Bits.find_last_of('1') + 1);
}

TEST(FamilyPatternTest, ModulesAreZintsForRandomSymbolsAddOnsAndGaps)
{
    ASSERT_FALSE(RunProgram("zint", {"--version"}).empty()) << "zint is not installed";
    std::mt19937 Random(8);
    int Compared = 0;
    for (TSymbology S : All)
        for (std::size_t AddOn : {0, 2, 5})
            for (int Round = 0; Round < 25; ++Round) {
                const TEanReading R = RandomReading(S, Random, AddOn);
                const std::int32_t G = std::uniform_int_distribution<int>(LeastAddOnGap(S), MaxAddOnGap)(Random);
                ASSERT_TRUE(R.Valid()) << R.Error;
                const TSymbol Symbol = DescribeSymbol(R, 0, 0, true, G);
                ASSERT_EQ(BarBits(Symbol), ZintBits(R, G)) << R.Title() << ", gap " << G;
                ++Compared;
            }
    EXPECT_EQ(Compared, 300);
}

// --- Decoding ---------------------------------------------------------------

// What zbarimg reads in the picture, one symbol per line, sorted: the main
// symbol and the add-on are separate symbols to it.
std::string Zbar(const QString& Path)
{
    return RunProgram("zbarimg", {"-q", "--nodbus", "-Sean2.enable", "-Sean5.enable", "-Supce.enable", "-Supca.enable",
                           "-Sean8.enable", Path});
}

// zbar reads no UPC-E of number system 1, not zint's either (checked below).
bool ZbarReadsMain(const TEanReading& R) { return R.Symbology != TSymbology::UpcE || R.Data[0] == '0'; }

std::string ZbarExpected(const TEanReading& R)
{
    std::string Main = std::string(Names[std::size_t(R.Symbology)]) + ":" + R.Data;
    const std::string AddOn = R.AddOn.empty() ? "" : (R.AddOn.size() == 2 ? "EAN-2:" : "EAN-5:") + R.AddOn;
    if (!ZbarReadsMain(R))
        return AddOn;
    if (R.AddOn.empty())
        return Main;
    // zbar reports the add-on first when it scans it first; order both.
    return std::min(Main, AddOn) + "\n" + std::max(Main, AddOn);
}

std::string Sorted(const std::string& Lines)
{
    const auto N = Lines.find('\n');
    if (N == std::string::npos)
        return Lines;
    const std::string A = Lines.substr(0, N), B = Lines.substr(N + 1);
    return std::min(A, B) + "\n" + std::max(A, B);
}

std::string Zxing(const QImage& Image) { return DecodeFamily(Image); }

std::string ZxingExpected(const TEanReading& R)
{
    return std::string(Names[std::size_t(R.Symbology)]) + ":" + R.Data + (R.AddOn.empty() ? "" : " " + R.AddOn);
}

struct TDecodeTally {
    int Zbar = 0, Zxing = 0, Images = 0, ZbarCannot = 0;
};

void Decode(const QImage& Image, const TEanReading& R, const QString& Dir, const std::string& What, TDecodeTally& T)
{
    const QString Path = QString("%1/%2.png").arg(Dir).arg(T.Images++);
    ASSERT_TRUE(Image.save(Path));
    const std::string ByZbar = Sorted(Zbar(Path)), ByZxing = Zxing(Image);
    EXPECT_EQ(ByZbar, ZbarExpected(R)) << What;
    EXPECT_EQ(ByZxing, ZxingExpected(R)) << What;
    T.Zbar += ByZbar == ZbarExpected(R) && ZbarReadsMain(R);
    T.ZbarCannot += !ZbarReadsMain(R);
    T.Zxing += ByZxing == ZxingExpected(R);
}

// Drawn as applications draw them: EAN-13 without an add-on by DrawEan13,
// the rest by DrawSymbol. The digits' source makes no bar (each character's
// ink stays in its box, below).
TEST(FamilyScanTest, EverySymbolAndAddOnDecodesAtModuleWidthsOneToFour)
{
    QTemporaryDir Dir;
    std::mt19937 Random(16);
    TDecodeTally T;
    for (TSymbology S : All)
        for (std::size_t AddOn : {0, 2, 5})
            for (std::int32_t M = 1; M <= 4; ++M) {
                const TEanReading R = RandomReading(S, Random, AddOn);
                const std::int32_t W = ModulesOf(S, AddOn) * M, H = HeightOf(S) * M;
                QImage Image(W, H, QImage::Format_RGB32);
                {
                    TCanvas Canvas(&Image);
                    ASSERT_TRUE(S == TSymbology::Ean13 && AddOn == 0
                                    ? DrawEan13(R.Data, Canvas, W, H, clWhite, clBlack, clBlack, true, true)
                                    : DrawSymbol(R, Canvas, W, H, clWhite, clBlack, clBlack, true, true));
                }
                // zbar wants a little more than one pixel per module.
                const QImage Seen = M == 1 ? Image.scaled(W * 2, H * 2) : Image;
                Decode(OnMargin(Seen, 8), R, Dir.path(), R.Title() + " at m = " + std::to_string(M), T);
            }
    EXPECT_EQ(T.Images, 48);
    std::printf("drawn: zbar read %d (and %d add-ons of number-system-1 UPC-Es) and zxing-cpp %d of %d\n", T.Zbar,
                T.ZbarCannot, T.Zxing, T.Images);
}

TEST(FamilyScanTest, ExportsDecodeAsPngSvgAndPdf)
{
    QTemporaryDir Dir;
    std::mt19937 Random(32);
    TDecodeTally T;
    for (TSymbology S : All)
        for (std::size_t AddOn : {0, 2, 5}) {
            const TEanReading R = RandomReading(S, Random, AddOn);
            TExportOptions O;
            O.Symbology = S;
            O.AddOn = R.AddOn;
            O.Strict = true;
            const std::string Name = R.Title();
            const QString Png = Dir.filePath("e.png"), Svg = Dir.filePath("e.svg"), Pdf = Dir.filePath("e.pdf");
            QString Error;
            TRasterExport Report;
            ASSERT_TRUE(ExportPng(R.Data, Png, 300, O, &Report, &Error)) << Error.toStdString();
            EXPECT_EQ(Report.Image.width(), ModulesOf(S, AddOn) * 4) << "4 dots per module at 300 dpi";
            // GS1's nominal bars, a module, the digits' 8.33 modules.
            EXPECT_EQ(Report.Image.height(), std::lround((S == TSymbology::Ean8 ? 55.24 : 69.24) * 4) + 4 + 33);
            Decode(OnMargin(QImage(Png), 16), R, Dir.path(), Name + " PNG", T);

            ASSERT_TRUE(ExportSvg(R.Data, Svg, O, &Error)) << Error.toStdString();
            QSvgRenderer Renderer(Svg);
            ASSERT_TRUE(Renderer.isValid());
            QImage Drawn(Report.Image.size(), QImage::Format_RGB32);
            Drawn.fill(Qt::white);
            {
                QPainter P(&Drawn);
                Renderer.render(&P, QRectF(0, 0, Drawn.width(), Drawn.height()));
            }
            Decode(OnMargin(Drawn, 16), R, Dir.path(), Name + " SVG", T);

            ASSERT_TRUE(ExportPdf(R.Data, Pdf, O, &Error)) << Error.toStdString();
            // 4 pixels per 0.330 mm module.
            const QImage Page = PdfPage(Pdf, 308);
            ASSERT_FALSE(Page.isNull()) << "pdftoppm (poppler-utils) made no page";
            Decode(OnMargin(Page, 16), R, Dir.path(), Name + " PDF", T);
        }
    EXPECT_EQ(T.Images, 36);
    std::printf("exported: zbar read %d (and %d add-ons of number-system-1 UPC-Es) and zxing-cpp %d of %d\n",
                T.Zbar, T.ZbarCannot, T.Zxing, T.Images);
}

// Books, printed music and serials, each with and without its add-on: the
// PNG at 600 dpi, the SVG drawn at its size and the PDF rasterised at 600 dpi
// decode with both readers to the GTIN and the add-on, and in each the number
// line's ink lies above the bars, clear of them by at least a module, over
// the main symbol (not the add-on) and across most of it.
TEST(FamilyScanTest, BookSymbolsDecodeAndTheirLineStaysClearOfTheBars)
{
    QTemporaryDir Dir;
    TDecodeTally T;
    const TEanReading Rows[] = {ReadIsbn("978-3-16-148410-0"), ReadIsbn("0-306-40615-2", "90000"),
                                ReadIsmn("979-0-2600-0043-8"), ReadIsmn("M-2306-7118-7", "51299"),
                                ReadIssn("0317-8471"),         ReadIssn("ISSN 2434-561X", "05", "07")};
    for (const TEanReading& R : Rows) {
        ASSERT_TRUE(R.Valid()) << R.Error;
        const TExportOptions O;
        const QString Png = Dir.filePath("b.png"), Svg = Dir.filePath("b.svg"), Pdf = Dir.filePath("b.pdf");
        QString Error;
        TRasterExport Report;
        ASSERT_TRUE(ExportPng(R, Png, 600, O, &Report, &Error)) << Error.toStdString();
        ASSERT_TRUE(ExportSvg(R, Svg, O, &Error)) << Error.toStdString();
        ASSERT_TRUE(ExportPdf(R, Pdf, O, &Error)) << Error.toStdString();
        QImage Drawn(Report.Image.size(), QImage::Format_RGB32);
        Drawn.fill(Qt::white);
        {
            QPainter P(&Drawn);
            QSvgRenderer(Svg).render(&P, QRectF(0, 0, Drawn.width(), Drawn.height()));
        }
        const QImage Page = PdfPage(Pdf, 600);
        ASSERT_FALSE(Page.isNull()) << "pdftoppm (poppler-utils) made no page";
        // The PNG snaps X to 8 dots; the vector files keep 0.330 mm, 7.8 dots.
        for (const auto& [Picture, What, M] : {std::tuple(QImage(Png), "PNG", 8.0), std::tuple(Drawn, "SVG", 8.0),
                                               std::tuple(Page, "PDF", 0.330 * 600 / 25.4)}) {
            const std::string Name = R.Line + (R.AddOn.empty() ? "" : " +" + R.AddOn) + " " + What;
            Decode(OnMargin(Picture, 16), R, Dir.path(), Name, T);
            const TLineInk L = LineInkOf(Picture);
            ASSERT_GT(L.BarTop, 0) << Name;
            ASSERT_GE(L.Bottom, L.Top) << Name << ": no ink above the bars";
            EXPECT_GE(L.BarTop - 1 - L.Bottom, int(M)) << Name << ": the line is less than a module above the bars";
            EXPECT_GE(L.Bottom - L.Top + 1, int(4 * M)) << Name << ": the line's ink is too low";
            // The main symbol: 11 modules before its first bar, 95 of bars, 7 after.
            const double MainLeft = L.FirstBar - 11 * M, MainRight = L.FirstBar + (95 + 7) * M;
            EXPECT_GE(L.Left, MainLeft) << Name;
            EXPECT_LT(L.Right, MainRight) << Name << ": the line reaches over the add-on";
            EXPECT_GT(L.Right - L.Left, (R.Line.size() > 14 ? 100 : 60) * M) << Name << ": the line is narrow";
            std::printf("%s: line ink rows %d to %d, columns %d to %d; bars from row %d, %d dots clear (%.2f modules)\n",
                        Name.c_str(), L.Top, L.Bottom, L.Left, L.Right, L.BarTop, L.BarTop - 1 - L.Bottom,
                        (L.BarTop - 1 - L.Bottom) / M);
        }
        QFile::remove(Dir.filePath("pdf.png"));
    }
    EXPECT_EQ(T.Images, 18);
    EXPECT_EQ(T.Zbar, 18);
    EXPECT_EQ(T.Zxing, 18);
}

TEST(FamilyScanTest, ZbarReadsNoUpcEOfNumberSystemOneFromZintEither)
{
    QTemporaryDir Dir;
    const QString Path = Dir.filePath("zint.png");
    RunProgram("zint", {"-b", "38", "--scale=3", "-d", "14252611", "-o", Path});
    ASSERT_FALSE(QImage(Path).isNull());
    EXPECT_EQ(Zbar(Path), "") << "zbar has learnt number system 1: drop ZbarReadsMain";
    EXPECT_EQ(Zxing(QImage(Path)), "UPC-E:14252611");
}

TEST(FamilyExportTest, StrictExportsRefuseWithTheReasonAndWriteNothing)
{
    QTemporaryDir Dir;
    TExportOptions O;
    O.Symbology = TSymbology::UpcE;
    O.Strict = true;
    QString Error;
    EXPECT_FALSE(ExportSvg("036000291452", Dir.filePath("e.svg"), O, &Error));
    EXPECT_TRUE(Error.contains("cannot be zero-suppressed")) << Error.toStdString();
    EXPECT_FALSE(QFile::exists(Dir.filePath("e.svg")));
    O.Symbology = TSymbology::Ean8;
    O.AddOn = "123";
    EXPECT_FALSE(ExportPdf("9638507", Dir.filePath("e.pdf"), O, &Error));
    EXPECT_TRUE(Error.contains("2 or 5 digits")) << Error.toStdString();
    O.AddOn = "12";
    O.AddOnGap = 13;
    const TRasterExport R = RenderRaster("9638507", 300, O);
    EXPECT_TRUE(R.Image.isNull());
    EXPECT_TRUE(R.Error.contains("outside 7 to 12")) << R.Error.toStdString();
    O.Strict = false;
    O.AddOnGap = DefaultAddOnGap;
    EXPECT_FALSE(RenderRaster("9638507x", 300, O).Image.isNull()) << "completed leniently";
}

// --- Pixels -----------------------------------------------------------------

// The raster painter's sources of digits: the font as DrawEan13 and
// DrawSymbol draw it, the font exactly (the exports), the outlines.
enum class TDigitSource { Painter, Fitted, Outlines };

QImage Paint(const TSymbol& S, TDigitSource Source, const std::vector<TSymbolElement>& Elements)
{
    TSymbol Only = S;
    Only.Elements = Elements;
    QImage Image(S.Width, S.Height, QImage::Format_RGB32);
    TPaint P{.Style = Source == TDigitSource::Painter ? WEQOcrB::TFontStyle::AsPainter : WEQOcrB::TFontStyle::Exact,
             .Fits = &WEQOcrB::TFitCache::Shared()};
    if (Source != TDigitSource::Outlines)
        FitAllDigits(S, P);
    TCanvas Canvas(&Image);
    PaintSymbol(Only, Canvas, P);
    return Image;
}


// Each character's ink lies inside its own box and fills most of its height,
// from every digit source, the number line's characters too: a box painted
// with another box's fitting would overflow or shrink.
TEST(FamilyPixelTest, EachCharactersInkFitsItsOwnBox)
{
    const TDigitSource Sources[] = {TDigitSource::Painter, TDigitSource::Fitted, TDigitSource::Outlines};
    const TEanReading Readings[] = {ReadSymbol(TSymbology::UpcA, "03600029145", "52495"),
                                    ReadSymbol(TSymbology::UpcE, "0425261", "12"),
                                    ReadSymbol(TSymbology::Ean8, "9638507", "12"),
                                    ReadIsbn("978-3-16-148410-0", "51299"), ReadIssn("2434-561X")};
    for (const TEanReading& R : Readings)
        for (std::int32_t M : {2, 5})
            for (TDigitSource Source : Sources) {
                const TSymbol S = DescribeSymbol(R, ModulesOf(R.Symbology, R.AddOn.size()) * M,
                                                 HeightOf(R.Symbology) * M, true);
                for (const TSymbolElement& E : S.Elements) {
                    if (E.Kind != TSymbolElement::Text)
                        continue;
                    // The painter places a character by the ink tables its fitting leaves,
                    // which may be a pass one pixel larger: a pixel of slack.
                    const int Slack = Source == TDigitSource::Painter ? 1 : 0;
                    const QRect Box = QRect(E.Left, E.Top, E.Width, E.Height).adjusted(-Slack, -Slack, Slack, Slack);
                    const QRect Ink = InkOf(Paint(S, Source, {E}));
                    const std::string What = R.Title() + " '" + E.Ch + "' at m = " + std::to_string(M) + ", source " +
                                             std::to_string(int(Source));
                    EXPECT_TRUE(Box.contains(Ink)) << What << ": ink " << Ink.x() << "," << Ink.y() << " "
                                                   << Ink.width() << "x" << Ink.height() << " outside the box";
                    if (E.Ch != '<' && E.Ch != '>' && E.Ch != '-') {
                        EXPECT_GE(Ink.height() * 4, E.Height * 3) << What << ": ink " << Ink.height() << " of " << E.Height;
                    }
                }
            }
}

int DifferentPixels(const QImage& A, const QImage& B)
{
    int N = 0;
    for (int Y = 0; Y < A.height(); ++Y)
        for (int X = 0; X < A.width(); ++X)
            N += A.pixel(X, Y) != B.pixel(X, Y);
    return N;
}

// The '<' is the '>' mirrored, pixel for pixel, whichever source draws it.
TEST(FamilyPixelTest, TheLeftMarkIsTheRightMarkMirrored)
{
    for (TDigitSource Source : {TDigitSource::Painter, TDigitSource::Fitted, TDigitSource::Outlines})
        for (std::int32_t M : {1, 3, 4, 9}) {
            const TSymbol S = DescribeSymbol(ReadSymbol(TSymbology::Ean8, "9638507"), 81 * M, 65 * M, true);
            const TSymbolElement Left = S.Elements.front(), Right = S.Elements.back();
            ASSERT_EQ(Left.Ch, '<');
            ASSERT_EQ(Right.Ch, '>');
            const QRect LeftBox(Left.Left, Left.Top, Left.Width, Left.Height);
            const QRect RightBox(Right.Left, Right.Top, Right.Width, Right.Height);
            const QImage Mirrored = Paint(S, Source, {Left}).copy(LeftBox).mirrored(true, false);
            const QImage Own = Paint(S, Source, {Right}).copy(RightBox);
            const QRect Ink = InkOf(Own);
            ASSERT_FALSE(Ink.isEmpty());
            const QRect MirroredInk = InkOf(Mirrored);
            const std::string What = "m = " + std::to_string(M) + ", source " + std::to_string(int(Source));
            EXPECT_LE(std::abs(MirroredInk.left() - Ink.left()) + std::abs(MirroredInk.right() - Ink.right()), 1) << What;
            EXPECT_LE(std::abs(MirroredInk.top() - Ink.top()) + std::abs(MirroredInk.bottom() - Ink.bottom()), 1) << What;
            EXPECT_EQ(DifferentPixels(Mirrored, Own), 0)
                << What << ": " << DifferentPixels(Mirrored, Own) << " pixels differ, ink " << Ink.width() << "x"
                << Ink.height();
        }
}

TEST(FamilyPixelTest, WhatCannotBeDrawnLeavesTheBackground)
{
    for (const TEanReading& R : {ReadSymbol(TSymbology::UpcE, "036000291452"), ReadSymbol(TSymbology::Ean8, "96x8507"),
                                 ReadSymbol(TSymbology::Ean13, "978020137962", "123")}) {
        QImage Image(300, 100, QImage::Format_RGB32);
        Image.fill(Qt::green);
        {
            TCanvas Canvas(&Image);
            EXPECT_FALSE(DrawSymbol(R, Canvas, 300, 100, clWhite, clBlack, clBlack, false, true)) << R.Error;
        }
        // A refused reading carries no add-on: the area is the symbol's alone.
        const std::int32_t W = ModulesOf(R.Symbology, 0) * std::max(1, 300 / ModulesOf(R.Symbology, 0));
        EXPECT_EQ(InkOf(Image.copy(0, 0, W, 100)), QRect()) << R.Error << ": the whole area is background";
        EXPECT_EQ(Image.pixel(W, 0), qRgb(0, 255, 0)) << "nothing right of the symbol";
    }
}

} // namespace
