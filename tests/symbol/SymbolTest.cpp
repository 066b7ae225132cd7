// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "ean/WEQEan.h"
#include "ocrb/WEQOcrB.h"
#include "symbol/SymbolTestUtil.h"

#include <gtest/gtest.h>

using namespace WEQEan;

namespace {

const QRgb Black = qRgb(0, 0, 0), White = qRgb(255, 255, 255), Red = qRgb(255, 0, 0), Green = qRgb(0, 255, 0);

struct TRender {
    QImage Image;
    bool Result;
};

// Draws on an image that starts green, so every pixel the drawing leaves alone shows.
TRender Render(const std::string& Gtin, int Width, int Height, bool Fill = true, bool Delimiter = false,
               int ImageW = 0, int ImageH = 0)
{
    const TEan13Layout L = Ean13Layout(Width, Height);
    TRender R{QImage(ImageW ? ImageW : L.SymbolWidth + 20, ImageH ? ImageH : L.DrawingHeight + 20,
                     QImage::Format_RGB32),
              false};
    R.Image.fill(Green);
    TCanvas Canvas(&R.Image);
    R.Result = DrawEan13(Gtin, Canvas, Width, Height, clWhite, clBlack, clRed, Fill, Delimiter);
    return R;
}

bool AnyPixel(const QImage& Image, QRect Area, QRgb Color)
{
    for (int Y = Area.top(); Y <= Area.bottom(); ++Y)
        for (int X = Area.left(); X <= Area.right(); ++X)
            if (Image.pixel(X, Y) == Color)
                return true;
    return false;
}

bool AllPixels(const QImage& Image, QRect Area, QRgb Color)
{
    for (int Y = Area.top(); Y <= Area.bottom(); ++Y)
        for (int X = Area.left(); X <= Area.right(); ++X)
            if (Image.pixel(X, Y) != Color)
                return false;
    return true;
}

class SymbolTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        Saved = WEQOcrB::OcrBFontLoaded;
        WEQOcrB::OcrBFontLoaded = GetParam();
    }
    void TearDown() override { WEQOcrB::OcrBFontLoaded = Saved; }
    bool Saved = false;
};

TEST_P(SymbolTest, BarsOfAKnownGtinAtSeveralModuleWidths)
{
    for (int M : {1, 2, 3, 5, 8}) {
        SCOPED_TRACE("module width " + std::to_string(M));
        const TRender R = Render("4006381333931", 113 * M, 79 * M);
        ASSERT_TRUE(R.Result);
        const TEan13Layout L = Ean13Layout(113 * M, 79 * M);
        const std::vector<TBar> Top = BarsOnRow(R.Image, 0, M, Black, L.SymbolWidth);
        EXPECT_EQ(ShowBars(Top), ShowBars(BarsOf4006381333931));
        // Short bars end at S; guards go on for five more modules.
        const std::vector<TBar> LastShort = BarsOnRow(R.Image, int(L.ShortBarHeight) - 1, M, Black, L.SymbolWidth);
        EXPECT_EQ(ShowBars(LastShort), ShowBars(BarsOf4006381333931));
        for (int Y : {int(L.ShortBarHeight), int(L.GuardBarHeight) - 1})
            EXPECT_EQ(ShowBars(BarsOnRow(R.Image, Y, M, Black, L.SymbolWidth)), ShowBars(GuardBars)) << "row " << Y;
        EXPECT_TRUE(BarsOnRow(R.Image, int(L.GuardBarHeight), M, Black, L.SymbolWidth).empty())
            << "guard bars too long";
    }
}

TEST_P(SymbolTest, ModuleWidthThreeGeometry)
{
    const TRender R = Render("4006381333931", 339, 237);
    ASSERT_TRUE(R.Result);
    EXPECT_EQ(DigitBoxWidth, 18);
    EXPECT_EQ(DigitBoxHeight, 24);
    EXPECT_EQ(BarTop, 0);
    EXPECT_TRUE(AllPixels(R.Image, QRect(51, 0, 6, 210), Black)) << "first short bar, module 18, 2 wide";
    EXPECT_FALSE(AnyPixel(R.Image, QRect(51, 210, 6, 1), Black));
    EXPECT_TRUE(AllPixels(R.Image, QRect(33, 0, 3, 225), Black)) << "left guard bar";
    EXPECT_FALSE(AnyPixel(R.Image, QRect(33, 225, 3, 1), Black));
    EXPECT_FALSE(AnyPixel(R.Image, QRect(0, 0, 339, 237), Green)) << "background covers 339 x 237";
    EXPECT_TRUE(AllPixels(R.Image, QRect(339, 0, 1, 237), Green));
    EXPECT_TRUE(AllPixels(R.Image, QRect(0, 237, 339, 1), Green));
    if (GetParam()) {
        // The font path puts the top of the ink on the digit box top.
        EXPECT_TRUE(AnyPixel(R.Image, QRect(0, 213, 339, 1), Red));
        EXPECT_FALSE(AnyPixel(R.Image, QRect(0, 0, 339, 213), Red)) << "digits above their boxes";
    }
    EXPECT_FALSE(AnyPixel(R.Image, QRect(0, 237, 360, 20), Red)) << "digits below the drawing";
}

TEST_P(SymbolTest, HeightRaisedToEighteenModules)
{
    const TRender R = Render("4006381333931", 0, 0);
    ASSERT_TRUE(R.Result);
    EXPECT_FALSE(AnyPixel(R.Image, QRect(0, 0, 113, 18), Green));
    EXPECT_TRUE(AllPixels(R.Image, QRect(0, 18, 113, 1), Green));
    EXPECT_TRUE(AllPixels(R.Image, QRect(17, 0, 2, 9), Black)) << "short bar 9 high";
    EXPECT_FALSE(AnyPixel(R.Image, QRect(17, 9, 2, 1), Black));
    EXPECT_TRUE(AllPixels(R.Image, QRect(11, 0, 1, 14), Black)) << "guard bar 14 high";
    EXPECT_FALSE(AnyPixel(R.Image, QRect(11, 14, 1, 1), Black));
    EXPECT_EQ(DigitBoxHeight, 8);
}

TEST_P(SymbolTest, ModuleWidthFromTheWidthOffered)
{
    const std::pair<int, int> Rows[] = {{-5, 1}, {0, 1}, {112, 1}, {225, 1}, {226, 2}, {339, 3}, {444, 3}, {950, 8}};
    for (auto [Width, M] : Rows) {
        SCOPED_TRACE("width " + std::to_string(Width));
        const TRender R = Render("4006381333931", Width, 0);
        ASSERT_TRUE(R.Result);
        EXPECT_FALSE(AnyPixel(R.Image, QRect(0, 0, 113 * M, 1), Green));
        EXPECT_TRUE(AllPixels(R.Image, QRect(113 * M, 0, 1, 18 * M), Green)) << "symbol wider than 113 m";
        EXPECT_EQ(DigitBoxWidth, 6 * M);
    }
}

TEST_P(SymbolTest, FillingTheBackgroundIsOptional)
{
    const TRender Filled = Render("4006381333931", 226, 160, true);
    const TRender Bare = Render("4006381333931", 226, 160, false);
    EXPECT_EQ(Filled.Image.pixel(2, 2), White);
    EXPECT_EQ(Bare.Image.pixel(2, 2), Green) << "the quiet zone keeps what the surface held";
    EXPECT_EQ(Bare.Image.pixel(2 * 15 + 1, 2), Green) << "a space between bars keeps it too";
    EXPECT_EQ(ShowBars(BarsOnRow(Bare.Image, 0, 2, Black, 226)), ShowBars(BarsOf4006381333931));
}

TEST_P(SymbolTest, DelimiterOnlyWhenAskedFor)
{
    const int M = 4;
    const QRect QuietZone(106 * M, 0, 7 * M, 79 * M);
    const TRender Off = Render("4006381333931", 113 * M, 79 * M, true, false);
    const TRender On = Render("4006381333931", 113 * M, 79 * M, true, true);
    EXPECT_FALSE(AnyPixel(Off.Image, QuietZone, Red));
    EXPECT_TRUE(AnyPixel(On.Image, QuietZone, Red));
    if (GetParam()) {
        EXPECT_FALSE(AnyPixel(On.Image, QRect(113 * M, 0, 20, 79 * M), Red)) << "'>' past the symbol";
    }
}

TEST_P(SymbolTest, FailurePathCoversTheWholeAreaInTheBackground)
{
    const char* Bad[] = {"40063813339A1", "", "400638", "A006381333931", "4006381333 31"};
    for (const char* Gtin : Bad) {
        SCOPED_TRACE(std::string("GTIN '") + Gtin + "'");
        for (bool Fill : {true, false}) {
            const TRender R = Render(Gtin, 339, 237, Fill);
            EXPECT_FALSE(R.Result);
            EXPECT_TRUE(AllPixels(R.Image, QRect(0, 0, 339, 237), White)) << "fill " << Fill;
            EXPECT_TRUE(AllPixels(R.Image, QRect(339, 0, 1, 238), Green));
        }
    }
}

TEST_P(SymbolTest, CharactersAfterTheThirteenthAreIgnored)
{
    const TRender Exact = Render("4006381333931", 339, 237, true, true);
    const TRender Longer = Render("4006381333931999x", 339, 237, true, true);
    EXPECT_TRUE(Longer.Result);
    EXPECT_EQ(Exact.Image, Longer.Image);
}

TEST_P(SymbolTest, RepeatedDrawingIsIdentical)
{
    const TRender First = Render("9780201379624", 565, 454, true, true);
    Render("0000000000000", 339, 237); // another size in between
    EXPECT_EQ(Render("9780201379624", 565, 454, true, true).Image, First.Image);
}

INSTANTIATE_TEST_SUITE_P(DigitsFrom, SymbolTest, ::testing::Values(true, false),
                         [](const auto& Info) { return Info.param ? "Font" : "Outlines"; });

TEST(SymbolSurfaceTest, AnUnusableSurfaceRaisesFromTheFailurePath)
{
    QImage Null;
    TCanvas Canvas(&Null);
    EXPECT_THROW(DrawEan13("4006381333931", Canvas, 339, 237, clWhite, clBlack, clBlack, true, true), Exception);
}

TEST(BarGroupTest, UnknownKindsDrawNothing)
{
    QImage Image(50, 10, QImage::Format_RGB32);
    Image.fill(Green);
    TCanvas Canvas(&Image);
    DrawBarGroup(Canvas, "5", "1231", 3, 1, 1, 5, clBlack, clBlack);
    DrawBarGroup(Canvas, "5", "1231", 255, 1, 1, 5, clBlack, clBlack);
    EXPECT_TRUE(AllPixels(Image, QRect(0, 0, 50, 10), Green));
    EXPECT_THROW(DrawBarGroup(Canvas, "5", "12", 1, 1, 1, 5, clBlack, clBlack), Exception) << "short widths";
}

} // namespace
