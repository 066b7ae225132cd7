// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// The file writers behind the exports: PNGs as small as their colours allow
// and read back exactly, SVGs that stay small and draw what the painter draws.
#include "ean/WEQEan.h"
#include "ean/WEQEanExport.h"
#include "ean/Raster_p.h"
#include "ean/Vector_p.h"
#include "export/Writers_p.h"
#include "render/SymbolPaint_p.h"
#include "symbol/Decode.h"
#include "symbol/SvgRaster.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <array>
#include <thread>

using namespace WEQEan;

namespace {

struct TColors {
    TColor Background, Bars, Digits;
};

std::string Describe(const QImage& A, const QImage& B)
{
    for (int Y = 0; Y < A.height(); ++Y)
        for (int X = 0; X < A.width(); ++X)
            if (A.pixel(X, Y) != B.pixel(X, Y))
                return "first difference at " + std::to_string(X) + "," + std::to_string(Y);
    return "same";
}

// IHDR's bit depth and colour type, which follow the signature, the chunk's
// length and type, and the width and height.
int BitDepth(const QByteArray& Png) { return std::uint8_t(Png[24]); }
int ColorType(const QByteArray& Png) { return std::uint8_t(Png[25]); }

TEST(WriterTest, PngHoldsTheImageInTheFewestBits)
{
    const struct {
        const char* Name;
        TColors Colors;
        int ColorType, BitDepth;
        bool Scans = true; // the reader takes dark bars on light ground only
    } Rows[] = {
        {"black on white is 1-bit grey", {clWhite, clBlack, clBlack}, 0, 1},
        {"white on black too", {clBlack, clWhite, clWhite}, 0, 1, false},
        {"two colours a 1-bit palette", {0x00FFFF, 0x0000FF, 0x0000FF}, 3, 1},
        {"grey bars are a colour, not black", {clWhite, 0x333333, 0x333333}, 3, 1},
        {"three colours a 2-bit palette", {0x00FFFF, 0x0000FF, 0xFF0000}, 3, 2},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TExportOptions O;
        O.BackgroundColor = Row.Colors.Background;
        O.BarColor = Row.Colors.Bars;
        O.FontColor = Row.Colors.Digits;
        QByteArray Png;
        TRasterExport Report;
        ASSERT_TRUE(EncodePng("400638133393", 300, O, Png, &Report));
        EXPECT_EQ(ColorType(Png), Row.ColorType);
        EXPECT_EQ(BitDepth(Png), Row.BitDepth);
        const QImage Read = QImage::fromData(Png, "PNG").convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(Read.size(), Report.Image.size());
        EXPECT_EQ(Describe(Read, Report.Image), "same");
        EXPECT_NEAR(Read.dotsPerMeterX() * 0.0254, 300, 0.5) << "the dpi is lost";
        if (Row.Scans) {
            EXPECT_EQ(DecodeEan13(Read), "4006381333931");
        }
    }
}

TEST(WriterTest, PngOfAnyImageReadsBackExactly)
{
    const struct {
        const char* Name;
        int Colors; // distinct colours in the image
        int ColorType, BitDepth;
    } Rows[] = {
        {"one colour", 1, 3, 1},
        {"sixteen colours", 16, 3, 4},
        {"seventeen need a byte each", 17, 3, 8},
        {"beyond a palette is RGB", 100000, 2, 8},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        QImage Image(333, 77, QImage::Format_RGB32); // rows not a whole number of bytes
        QRandomGenerator Random(7);
        for (int Y = 0; Y < Image.height(); ++Y)
            for (int X = 0; X < Image.width(); ++X)
                Image.setPixel(X, Y, 0xFF000000u | (Random.bounded(Row.Colors) * 2654435761u & 0xFFFFFFu));
        const QByteArray Png = PngOfImage(Image, 600, 1);
        EXPECT_EQ(ColorType(Png), Row.ColorType);
        EXPECT_EQ(BitDepth(Png), Row.BitDepth);
        const QImage Read = QImage::fromData(Png, "PNG").convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(Describe(Read, Image), "same");
    }
}

// Long runs of rows like the row above are deflated once and spliced into
// the stream: every arrangement of them must read back as drawn.
TEST(WriterTest, PngOfPackedRowsReadsBackWhateverItsRepeatedRows)
{
    const struct {
        const char* Name;
        std::int32_t Width;
        std::vector<std::uint32_t> Palette;
        std::vector<std::int32_t> Runs; // rows of their own, then rows like the one above, by turns
        int Level = 2;
    } Rows[] = {
        {"no repeats", 45, {0xFFFFFF, 0}, {40}},
        {"a run too short to splice", 45, {0xFFFFFF, 0}, {1, 15, 5}},
        {"a run just long enough", 45, {0xFFFFFF, 0}, {1, 16, 3}},
        {"the same run again, as kept", 45, {0xFFFFFF, 0}, {1, 16, 3}},
        {"a run to the last row", 45, {0xFFFFFF, 0}, {2, 100}},
        {"two runs", 45, {0xFFFFFF, 0}, {1, 40, 2, 30, 1}},
        {"a wide palette image", 3001, {0x00FFFF, 0x0000FF, 0xFF0000}, {3, 200, 1}},
        {"stored, at level 0", 45, {0xFFFFFF, 0}, {1, 40, 2, 30, 1}, 0},
        {"at level 9", 45, {0xFFFFFF, 0}, {1, 40, 2, 30, 1}, 9},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        const int Depth = Row.Palette.size() > 2 ? 2 : 1;
        std::int32_t H = 0;
        for (const std::int32_t N : Row.Runs)
            H += N;
        TPackedRows P;
        P.Reset(Row.Width, H, Depth, 0);
        QRandomGenerator Random(11);
        std::int32_t Y = 0;
        for (std::size_t R = 0; R < Row.Runs.size(); Y += Row.Runs[R++]) {
            if (R % 2 == 1) {
                P.CopyRow(Y - 1, Y, Y + Row.Runs[R]);
                continue;
            }
            for (std::int32_t Own = Y; Own < Y + Row.Runs[R]; ++Own)
                for (std::int32_t X = 0; X < Row.Width; X += 3)
                    P.Span(Own, X, X + 3, std::uint8_t(Random.bounded(int(Row.Palette.size()))));
        }
        const QImage Read = QImage::fromData(PngOfPacked(P, Row.Palette, 300, Row.Level), "PNG");
        ASSERT_EQ(Read.size(), QSize(Row.Width, H));
        for (std::int32_t Down = 0; Down < H; ++Down)
            for (std::int32_t X = 0; X < Row.Width; ++X)
                ASSERT_EQ(Read.pixel(X, Down) & 0xFFFFFFu, Row.Palette[P.Pixel(X, Down)]) << X << "," << Down;
    }
}

QByteArray Svg(const std::string& Text, const TColors& C = {clWhite, clBlack, clBlack})
{
    TExportOptions O;
    O.BackgroundColor = C.Background;
    O.BarColor = C.Bars;
    O.FontColor = C.Digits;
    QByteArray Out;
    EXPECT_TRUE(EncodeSvg(Text, O, Out));
    return Out;
}

// The established command-line tool writes 2,740 bytes for an EAN-13 at
// this size with its digits as text in a font; ours hold them as outlines.
TEST(WriterTest, SvgStaysSmallerThanTheEstablishedTool)
{
    const struct {
        const char* Name;
        const char* Gtin;
        const char* Read;
    } Rows[] = {
        {"every digit once or more, none reused", "012345678901", "0123456789012"},
        {"few digits, much reuse", "111111111111", "1111111111116"},
        {"the usual", "400638133393", "4006381333931"},
        {"all ten digits", "987654321098", "9876543210982"},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        const QByteArray File = Svg(Row.Gtin);
        EXPECT_LE(File.size(), 2740);
        EXPECT_EQ(DecodeEan13(RenderSvg(File, 0.3 * TenPerModule, true)), Row.Read) << File.toStdString();
    }
}

// The SVG's digits, refitted curves of the font, against the outline
// painters' digits in the same boxes: every pixel more than three pixels from
// the painted digit's edge (ten pixels per module) has the same colour. Both
// are made from the font; this holds the two generated tables together.
TEST(WriterTest, SvgDigitsAreTheOutlineDigits)
{
    for (const std::string Gtin : {"4006381333931", "9780201379624", "5555555555550"}) {
        SCOPED_TRACE(Gtin);
        const QImage Drawn = RenderSvg(Svg(Gtin), TenPerModule);
        const TSymbol S = DescribeEan13(Gtin, 1130, Drawn.height(), true);
        QImage Painted(S.Width, S.Height, QImage::Format_RGB32);
        {
            TCanvas Canvas(&Painted);
            PaintSymbol(S, Canvas, TPaint{});
        }
        const auto Ink = [](const QImage& I, int X, int Y) { return I.valid(X, Y) && I.pixel(X, Y) == qRgb(0, 0, 0); };
        for (const TSymbolElement& E : S.Elements) {
            if (E.Kind != TSymbolElement::Text || E.Ch == '>')
                continue;
            const TSymbolElement& Box = E;
            int Inside = 0, Differ = 0;
            for (int Y = Box.Top - 4; Y < Box.Top + Box.Height + 4; ++Y)
                for (int X = Box.Left - 4; X < Box.Left + Box.Width + 4; ++X) {
                    bool Uniform = true;
                    for (int DY = -3; DY <= 3 && Uniform; ++DY)
                        for (int DX = -3; DX <= 3 && Uniform; ++DX)
                            Uniform = Ink(Painted, X + DX, Y + DY) == Ink(Painted, X, Y);
                    if (!Uniform)
                        continue;
                    Inside += Ink(Painted, X, Y);
                    Differ += Ink(Painted, X, Y) != Ink(Drawn, X, Y);
                }
            EXPECT_GT(Inside, 100) << E.Ch;
            EXPECT_EQ(Differ, 0) << "'" << E.Ch << "' at " << E.Left;
        }
    }
}

// A character's points land on the nearest tenth of a module, halves away
// from zero, on either side of the symbol's origin, relative to the point
// before.
TEST(WriterTest, SvgRoundsCharacterPointsToTenthsOfAModule)
{
    // 330 units a module, 33 a tenth; the box's origin two tenths across, one down.
    TVectorSymbol V;
    V.Symbol.Modules = 113;
    V.Symbol.Width = 113 * 330;
    V.Symbol.Height = 79 * 330;
    const struct {
        long double X, Y;
        const char* Path;
    } Rows[] = {
        {-82.5L, -49.5L, "M-1-1z"}, // -0.5 and -0.5 tenths
        {16.5L, 16.5L, "M3 2z"},    // 2.5 and 1.5
        {16.4L, -16.6L, "M2 0z"},   // 2.497 and 0.497
        {-66.1L, -33.0L, "M0 0z"},  // -0.003 and 0
        {-99.0L, -82.6L, "M-1-2z"}, // -1 and -1.503
    };
    for (const auto& Row : Rows) {
        V.Shapes = {{'>', 330, 330, false,
                     std::make_shared<std::vector<TVectorCommand>>(std::vector<TVectorCommand>{
                         {TVectorCommand::Move, Row.X, Row.Y}, {TVectorCommand::Close}})}};
        V.Glyphs = {{0, 66, 33}};
        std::string Out;
        AppendSvg(V, TSvgStyle{clWhite, clBlack, clBlack, 330, "", false}, Out);
        EXPECT_NE(Out.find(std::string("<path d=\"") + Row.Path + "\"/>"), std::string::npos)
            << double(Row.X) << ", " << double(Row.Y) << ": " << Out;
    }
}

// A shape's text kept from one symbol for the next reads as the shape written
// afresh, wherever its boxes stand: at whole tenths and between them, and
// left of or above the origin, where the rounding turns.
TEST(WriterTest, SvgShapeTextKeptIsTheShapeWrittenAgain)
{
    TVectorSymbol V;
    V.Symbol.Modules = 113;
    V.Symbol.Width = 113 * 330;
    V.Symbol.Height = 79 * 330;
    const std::vector<TVectorCommand> Commands = {
        {TVectorCommand::Move, -82.5L, -49.5L},       {TVectorCommand::Line, 16.5L, 16.5L},
        {TVectorCommand::Quad, 40.2L, -7.7L, 99.4L, 33.0L}, {TVectorCommand::Line, -66.1L, 40.0L},
        {TVectorCommand::Close},                      {TVectorCommand::Move, -99.0L, -82.6L},
        {TVectorCommand::Line, 5.0L, 0.0L},           {TVectorCommand::Close}};
    V.Shapes = {{'>', 330, 330, false, std::make_shared<std::vector<TVectorCommand>>(Commands)}};
    const struct {
        const char* Name;
        std::vector<TPlacedGlyph> Boxes;
    } Rows[] = {
        {"whole tenths", {{0, 330, 660}, {0, 3300, 660}, {0, 33, 33}}},
        {"every remainder", {{0, 331, 660}, {0, 345, 661}, {0, 362, 680}, {0, 1000, 1001}, {0, 17, 5}}},
        {"at the origin and beyond", {{0, 0, 0}, {0, 66, 33}, {0, -33, -66}, {0, -1, 2}, {0, 2, -1}, {0, 66, 33}}},
        {"above the origin alone", {{0, 330, 660}, {0, 330, 33}, {0, 660, 33}}},
        {"left of the origin alone", {{0, 330, 660}, {0, 33, 660}, {0, 33, 990}}},
    };
    TSvgShapeTexts Texts;
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        V.Glyphs = Row.Boxes;
        std::string Afresh, Made, Kept;
        AppendSvg(V, TSvgStyle{clWhite, clBlack, clBlack, 330, "", false}, Afresh);
        AppendSvg(V, TSvgStyle{clWhite, clBlack, clBlack, 330, "", false}, Made, &Texts);
        AppendSvg(V, TSvgStyle{clWhite, clBlack, clBlack, 330, "", false}, Kept, &Texts);
        EXPECT_EQ(Made, Afresh);
        EXPECT_EQ(Kept, Afresh);
    }
}

// What a thread keeps from one file for the next (outlines, their SVG text,
// sampled characters) never changes a file: written after some eighty others
// of other sizes and kinds (more shapes than a thread keeps), each file is
// the one a fresh thread writes.
TEST(WriterTest, AWarmThreadWritesWhatAFreshOneWrites)
{
    struct TRow {
        std::string Text;
        TExportOptions O;
    };
    std::vector<TRow> Rows;
    for (double X = 0.10; X < 2.4; X += 0.03) {
        TExportOptions O;
        O.XDimensionMM = X;
        Rows.push_back({X < 1 ? "400638133393" : "978316148410", O});
    }
    TExportOptions UpcA, Ean8, Colours;
    UpcA.Symbology = TSymbology::UpcA, UpcA.AddOn = "12345", UpcA.XDimensionMM = 0.29;
    Ean8.Symbology = TSymbology::Ean8, Ean8.XDimensionMM = 0.37;
    Colours.FontColor = 0x0000FF, Colours.FillBackground = false;
    Rows.push_back({"03600029145", UpcA});
    Rows.push_back({"9638507", Ean8});
    Rows.push_back({"400638133393", Colours});
    // PNGs of the smaller sizes: their sampled characters are kept as the outlines are.
    const auto Files = [](const TRow& Row) {
        std::array<QByteArray, 2> Out;
        EXPECT_TRUE(EncodeSvg(Row.Text, Row.O, Out[0]));
        if (Row.O.XDimensionMM < 0.5)
            EXPECT_TRUE(EncodePng(Row.Text, 300, Row.O, Out[1]));
        return Out;
    };
    for (auto It = Rows.rbegin(); It != Rows.rend(); ++It)
        Files(*It);
    for (const TRow& Row : Rows) {
        std::array<QByteArray, 2> Fresh;
        std::thread([&] { Fresh = Files(Row); }).join();
        EXPECT_EQ(Files(Row), Fresh) << Row.Text << " at " << Row.O.XDimensionMM << " mm";
    }
}

TEST(WriterTest, SvgColorsAreTheOptions)
{
    const struct {
        const char* Name;
        TColors Colors;
    } Rows[] = {
        {"black on white", {clWhite, clBlack, clBlack}},
        {"digits of their own colour", {clWhite, clBlack, 0x0000FF}},
        {"everything coloured", {0xCCFFFF, 0x800000, 0x008000}},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        const QImage Image = RenderSvg(Svg("400638133393", Row.Colors), TenPerModule);
        const auto Rgb = [](TColor C) { return qRgb(int(C & 0xFF), int(C >> 8 & 0xFF), int(C >> 16 & 0xFF)); };
        EXPECT_EQ(Image.pixel(2, 2), Rgb(Row.Colors.Background));
        EXPECT_EQ(Image.pixel(115, 5), Rgb(Row.Colors.Bars)) << "the first guard bar";
        EXPECT_EQ(Image.pixel(1129, 732), Rgb(Row.Colors.Digits)) << "the tip of the '>'";
    }
}

} // namespace
