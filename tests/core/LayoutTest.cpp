// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "ean/WEQEan.h"

#include <gtest/gtest.h>

using namespace WEQEan;

namespace {

struct TModuleRow {
    std::int32_t Width;
    std::int32_t Module;
};

TEST(LayoutTest, ModuleWidthFromTheWidthOffered)
{
    const TModuleRow Rows[] = {{INT32_MIN, 1}, {-5, 1}, {0, 1}, {112, 1}, {113, 1}, {225, 1},
                               {226, 2}, {339, 3}, {444, 3}, {565, 5}, {950, 8}, {INT32_MAX, 19004280}};
    for (const TModuleRow& Row : Rows) {
        const TEan13Layout L = Ean13Layout(Row.Width, 0);
        EXPECT_EQ(L.ModuleWidth, Row.Module) << "width " << Row.Width;
        EXPECT_EQ(L.SymbolWidth, 113 * Row.Module) << "width " << Row.Width;
    }
}

TEST(LayoutTest, DigitBoxHeightTruncatesNeverRounds)
{
    // trunc(8.33 m) equals (833 m) div 100 for every module width.
    for (std::int32_t M = 1; M <= 20000; ++M)
        ASSERT_EQ(Ean13Layout(113 * M, 0).DigitBoxHeight, 833 * M / 100) << "m = " << M;
    EXPECT_EQ(Ean13Layout(113 * 3, 0).DigitBoxHeight, 24) << "3 x 8.33 = 24.99";
    EXPECT_EQ(Ean13Layout(113 * 4, 0).DigitBoxHeight, 33);
    EXPECT_EQ(Ean13Layout(113 * 12, 0).DigitBoxHeight, 99);
}

TEST(LayoutTest, ModuleWidthThreeGeometry)
{
    const TEan13Layout L = Ean13Layout(339, 237);
    EXPECT_EQ(L.ModuleWidth, 3);
    EXPECT_EQ(L.SymbolWidth, 339);
    EXPECT_EQ(L.DrawingHeight, 237);
    EXPECT_EQ(L.DigitBoxWidth, 18);
    EXPECT_EQ(L.DigitBoxHeight, 24);
    EXPECT_EQ(L.ShortBarHeight, 210);
    EXPECT_EQ(L.GuardBarHeight, 225);
    EXPECT_EQ(L.DigitBoxTop, 213);
    EXPECT_EQ(L.DigitBoxTop + L.DigitBoxHeight - 1, 236) << "last row of the digit boxes";
}

TEST(LayoutTest, HeightRaisedToEighteenModules)
{
    const TEan13Layout L = Ean13Layout(0, 0);
    EXPECT_EQ(L.DrawingHeight, 18);
    EXPECT_EQ(L.ShortBarHeight, 9);
    EXPECT_EQ(L.GuardBarHeight, 14);
    EXPECT_EQ(L.DigitBoxTop, 10);
    EXPECT_EQ(L.DigitBoxTop + L.DigitBoxHeight - 1, 17);
    EXPECT_EQ(Ean13Layout(565, 60).DrawingHeight, 90);
    EXPECT_EQ(Ean13Layout(565, 454).DrawingHeight, 454);
}

TEST(LayoutTest, ExtremeSizesStayInRange)
{
    const TEan13Layout L = Ean13Layout(INT32_MAX, INT32_MAX);
    EXPECT_EQ(L.DrawingHeight, INT32_MAX);
    EXPECT_GT(L.GuardBarHeight, L.ShortBarHeight) << "no 32-bit wrap-around";
    EXPECT_LE(std::int64_t(L.SymbolWidth), std::int64_t(INT32_MAX));
}

TEST(LayoutTest, BarsOfAKnownGtin)
{
    // 4006381333931, parity pattern ABAABB: start module / modules, guards marked.
    const char* Expected = "12/1g 14/1g 18/2 21/1 23/1 26/3 30/1 32/4 37/4 42/1 46/1 49/1 51/2 55/2 58/1g 60/1g "
                           "62/1 67/1 69/1 74/1 76/1 81/1 83/3 87/1 90/1 95/1 97/2 101/2 104/1g 106/1g ";
    std::string Got;
    for (const TEan13Bar& B : Ean13Bars("4006381333931"))
        Got += std::to_string(B.StartModule) + "/" + std::to_string(B.Modules) + (B.Guard ? "g " : " ");
    EXPECT_EQ(Got, Expected);
    EXPECT_THROW(Ean13Bars("400638133393"), Exception);
    EXPECT_THROW(Ean13Bars("40063813339x1"), EConvertError);
}

} // namespace
