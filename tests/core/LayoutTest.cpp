// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// The EAN-13 symbol as numbers: the layout's pixel quantities from the width
// offered and the height asked for, and the description of a whole symbol,
// every element in drawing order, bars and character boxes alike.
#include "ean/WEQEan.h"
#include "ean/WEQEanSymbol.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace WEQEan;

namespace {

struct TModuleRow {
    std::int32_t Width;
    std::int32_t Module, DigitBoxHeight;
};

// The module width is the whole modules the width offers (113 a module, at
// least 1); the digits' box is 8.33 modules, truncated, never rounded.
TEST(LayoutTest, ModuleWidthAndDigitBoxFromTheWidthOffered)
{
    const TModuleRow Rows[] = {{INT32_MIN, 1, 8},   {-5, 1, 8},     {0, 1, 8},          {113, 1, 8},
                               {225, 1, 8},         {226, 2, 16},   {339, 3, 24},       {444, 3, 24},
                               {452, 4, 33},        {565, 5, 41},   {950, 8, 66},       {1356, 12, 99},
                               {11300, 100, 833},   {INT32_MAX, 19004280, 158305652}};
    for (const TModuleRow& Row : Rows) {
        const TEan13Layout L = Ean13Layout(Row.Width, 0);
        EXPECT_EQ(L.ModuleWidth, Row.Module) << "width " << Row.Width;
        EXPECT_EQ(L.SymbolWidth, 113 * Row.Module) << "width " << Row.Width;
        EXPECT_EQ(L.DigitBoxHeight, Row.DigitBoxHeight) << "width " << Row.Width;
    }
}

// The public bar list of a known GTIN (parity pattern ABAABB): start module /
// modules, guards marked.
TEST(LayoutTest, BarsOfAKnownGtin)
{
    const char* Expected = "12/1g 14/1g 18/2 21/1 23/1 26/3 30/1 32/4 37/4 42/1 46/1 49/1 51/2 55/2 58/1g 60/1g "
                           "62/1 67/1 69/1 74/1 76/1 81/1 83/3 87/1 90/1 95/1 97/2 101/2 104/1g 106/1g ";
    std::string Got;
    for (const TEan13Bar& B : Ean13Bars("4006381333931"))
        Got += std::to_string(B.StartModule) + "/" + std::to_string(B.Modules) + (B.Guard ? "g " : " ");
    EXPECT_EQ(Got, Expected);
    EXPECT_THROW(Ean13Bars("400638133393"), Exception);
    EXPECT_THROW(Ean13Bars("40063813339x1"), EConvertError);
}

// One line per element: "B start/modules [g] left,top widthxheight" for bars,
// "T 'c' left,top widthxheight L|C|R" for characters.
std::string ShowSymbol(const TSymbol& S)
{
    std::ostringstream Out;
    Out << S.Modules << " modules of " << S.ModuleWidth << ": " << S.Width << "x" << S.Height << ", short bars "
        << S.ShortBarHeight << ", guards " << S.GuardBarHeight << ", boxes " << S.DigitBoxWidth << "x"
        << S.DigitBoxHeight << " from " << S.DigitBoxTop << "\n";
    for (const TSymbolElement& E : S.Elements) {
        if (E.Kind == TSymbolElement::Bar)
            Out << "B " << E.StartModule << "/" << E.Modules << (E.Guard ? " g " : " ");
        else
            Out << "T '" << E.Ch << "' ";
        Out << E.Left << "," << E.Top << " " << E.Width << "x" << E.Height;
        if (E.Kind == TSymbolElement::Text)
            Out << " " << "LCR"[E.Alignment];
        Out << "\n";
    }
    return Out.str();
}

// 4006381333931 at module width 3, 339 x 237, with the '>': the leading digit
// right-aligned over modules 5-10, each digit's box before its two bars.
const char* const Golden339x237 = R"(113 modules of 3: 339x237, short bars 210, guards 225, boxes 18x24 from 213
T '4' 12,213 18x24 R
B 12/1 g 33,0 3x225
B 14/1 g 39,0 3x225
T '0' 45,213 18x24 C
B 18/2 51,0 6x210
B 21/1 60,0 3x210
T '0' 66,213 18x24 C
B 23/1 66,0 3x210
B 26/3 75,0 9x210
T '6' 87,213 18x24 C
B 30/1 87,0 3x210
B 32/4 93,0 12x210
T '3' 108,213 18x24 C
B 37/4 108,0 12x210
B 42/1 123,0 3x210
T '8' 129,213 18x24 C
B 46/1 135,0 3x210
B 49/1 144,0 3x210
T '1' 150,213 18x24 C
B 51/2 150,0 6x210
B 55/2 162,0 6x210
B 58/1 g 171,0 3x225
B 60/1 g 177,0 3x225
T '3' 183,213 18x24 C
B 62/1 183,0 3x210
B 67/1 198,0 3x210
T '3' 204,213 18x24 C
B 69/1 204,0 3x210
B 74/1 219,0 3x210
T '3' 225,213 18x24 C
B 76/1 225,0 3x210
B 81/1 240,0 3x210
T '9' 246,213 18x24 C
B 83/3 246,0 9x210
B 87/1 258,0 3x210
T '3' 267,213 18x24 C
B 90/1 267,0 3x210
B 95/1 282,0 3x210
T '1' 288,213 18x24 C
B 97/2 288,0 6x210
B 101/2 300,0 6x210
B 104/1 g 309,0 3x225
B 106/1 g 315,0 3x225
T '>' 321,213 18x24 R
)";

TEST(SymbolDescriptionTest, GoldenTableAtModuleWidthThree)
{
    EXPECT_EQ(ShowSymbol(DescribeEan13("4006381333931", 339, 237, true)), Golden339x237);
}

struct TSizeRow {
    const char* Name;
    std::int32_t Width, Height;
    const char* Header;
};

TEST(SymbolDescriptionTest, SizesAndTheOptionalDelimiter)
{
    const TSizeRow Rows[] = {
        {"narrow: module width 1, raised to 18 modules", -5, 0,
         "113 modules of 1: 113x18, short bars 9, guards 14, boxes 6x8 from 10\n"},
        {"too low: raised to 18 modules", 565, 60,
         "113 modules of 5: 565x90, short bars 44, guards 69, boxes 30x41 from 49\n"},
        {"8.33 m truncated, not rounded", 113 * 12, 79 * 12,
         "113 modules of 12: 1356x948, short bars 837, guards 897, boxes 72x99 from 849\n"},
        {"the largest module width", INT32_MAX, INT32_MAX,
         "113 modules of 19004280: 2147483640x2147483647, short bars 1970173715, guards 2065195115, boxes "
         "114025680x158305652 from 1989177995\n"},
    };
    for (const TSizeRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        const TSymbol S = DescribeEan13("5901234123457", Row.Width, Row.Height, false);
        const std::string Shown = ShowSymbol(S);
        EXPECT_EQ(Shown.substr(0, Shown.find('\n') + 1), Row.Header);
        EXPECT_EQ(S.Delimiter(), nullptr);
        EXPECT_EQ(S.Elements.size(), 43u) << "13 characters and 30 bars";
        EXPECT_EQ(S.Elements.back().StartModule, 106) << "the right guard ends the symbol";
    }
    const TSymbol With = DescribeEan13("5901234123457", 339, 237, true);
    ASSERT_NE(With.Delimiter(), nullptr);
    EXPECT_EQ(With.Delimiter(), &With.Elements.back());
}

TEST(SymbolDescriptionTest, FileDelimiterSitsInTheQuietZoneWithItsTipOnTheEdge)
{
    for (std::int32_t M : {1, 3, 50}) {
        const TSymbol S = DescribeEan13("4006381333931", 113 * M, 79 * M, true);
        const TSymbolElement Box = FileDelimiterBox(S);
        EXPECT_EQ(Box.Left, 107 * M) << "after the quiet zone's first module, clear of the guard at 106";
        EXPECT_EQ(Box.Left + Box.Width, S.Width) << "the tip on the right edge";
        EXPECT_EQ(Box.Width, 6 * M);
        EXPECT_EQ(Box.Height, 6 * M) << "square, as the outline";
        EXPECT_EQ(Box.Top, S.DigitBoxTop);
        EXPECT_LE(Box.Top + Box.Height, S.Height);
    }
}

TEST(SymbolDescriptionTest, GtinsThatCannotBeDrawnRaise)
{
    EXPECT_THROW(DescribeEan13("400638133393", 339, 237, true), Exception) << "12 characters";
    EXPECT_THROW(DescribeEan13("", 339, 237, true), Exception);
    EXPECT_THROW(DescribeEan13("40063813339x1", 339, 237, true), EConvertError);
    EXPECT_EQ(ShowSymbol(DescribeEan13("4006381333931xyz", 339, 237, true)), Golden339x237) << "after the 13th";
}

} // namespace
