// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// DrawEan13's pixels where the description cannot see them: the background
// it fills or leaves, the '>' it adds or not, what a failure leaves, and the
// interface's variables after a drawing, with the font's digits and with the
// outlines'. Its geometry is the description's (tests/core/LayoutTest.cpp).
#include "ean/WEQEan.h"
#include "ocrb/WEQOcrB.h"
#include "symbol/SymbolTestUtil.h"

#include <gtest/gtest.h>

using namespace WEQEan;

namespace {

struct TRender {
    QImage Image;
    bool Result;
};

// Draws on an image 20 pixels larger that starts green, so every pixel the
// drawing leaves alone shows.
TRender Render(const std::string& Gtin, int Width, int Height, bool Fill = true, bool Delimiter = false)
{
    TRender R{QImage(std::max(113, Width / 113 * 113) + 20, Height + 20, QImage::Format_RGB32), false};
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

TEST_P(SymbolTest, TheDrawingCoversItsAreaAndSetsTheInterfacesVariables)
{
    const TRender R = Render("4006381333931", 339, 237);
    ASSERT_TRUE(R.Result);
    EXPECT_EQ(BarTop, 0);
    EXPECT_EQ(DigitBoxWidth, 18);
    EXPECT_EQ(DigitBoxHeight, 24);
    EXPECT_FALSE(AnyPixel(R.Image, QRect(0, 0, 339, 237), Green)) << "background covers 339 x 237";
    EXPECT_TRUE(AllPixels(R.Image, QRect(339, 0, 20, 257), Green)) << "nothing right of the symbol";
    EXPECT_TRUE(AllPixels(R.Image, QRect(0, 237, 339, 20), Green)) << "nothing below it";
    if (GetParam()) {
        // The font path puts the top of the ink on the digit box top.
        EXPECT_TRUE(AnyPixel(R.Image, QRect(0, 213, 339, 1), Red));
        EXPECT_FALSE(AnyPixel(R.Image, QRect(0, 0, 339, 213), Red)) << "digits above their boxes";
    }
    ASSERT_TRUE(Render("4006381333931", 0, 0).Result);
    EXPECT_EQ(DigitBoxHeight, 8) << "the variables follow the last drawing";
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
    if (GetParam()) { // the outlines' '>' keeps its cell offset, past the box
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
