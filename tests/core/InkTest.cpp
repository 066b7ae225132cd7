// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// Inks as text, as screen colours and as a scanner's red light sees them.

#include "ean/WEQEanInk.h"

#include <gtest/gtest.h>

#include <string>

using namespace WEQEan;

namespace {

TEST(InkTest, ReadsEveryFormAndRefusesTheRestWithItsReason)
{
    const struct {
        const char* Text;
        const char* Read;   // InkText of the ink read; empty: refused
        const char* Reason; // a part of the reason, where refused
    } Rows[] = {
        {"#1a2B3c", "#1a2b3c", ""},
        {"  #000000 ", "#000000", ""},
        {"cmyk(0,0,0,100)", "cmyk(0,0,0,100)", ""},
        {"CMYK( 12.5 , 0 ,0.25, 100 )", "cmyk(12.5,0,0.25,100)", ""},
        {"spot(Reflex Blue,100,72,0,6)", "spot(Reflex Blue,100,72,0,6)", ""},
        {"Spot( Gold ,0,20,60,20)", "spot(Gold,0,20,60,20)", ""},
        {"none", "none", ""},
        {"", "", "#rrggbb, cmyk(C,M,Y,K)"},
        {"red", "", "#rrggbb, cmyk(C,M,Y,K)"},
        {"#12345", "", "6 hexadecimal digits"},
        {"cmyk(0,0,0)", "", "four percentages"},
        {"cmyk(0,0,0,100.5)", "", "'100.5' is not a percentage"},
        {"cmyk(-1,0,0,0)", "", "'-1' is not a percentage"},
        {"cmyk(1e2,0,0,0)", "", "'1e2' is not a percentage"},
        {"cmyk(99999999999999999999,0,0,0)", "", "is not a percentage"},
        {"cmyk(,0,0,0)", "", "'' is not a percentage"},
        {"cmyk(0,0,0,100", "", "#rrggbb, cmyk(C,M,Y,K)"},
        {"spot(,0,0,0,100)", "", "1 to 63 characters"},
        {"spot(A,B,0,0,0,100)", "", "a name and four percentages"},
        {"spot(Black,0,0,0,100)", "", "names a plate already"},
        {"spot(all,0,0,0,100)", "", "names a plate already"},
        {"spot(Café,0,0,0,100)", "", "printable ASCII"},
        {"spot(1234567890123456789012345678901234567890123456789012345678901234,0,0,0,1)", "", "1 to 63"},
    };
    for (const auto& Row : Rows) {
        TInk Ink = TInk::FromColor(clRed);
        std::string Reason;
        const bool Read = ParseInk(Row.Text, Ink, &Reason);
        EXPECT_EQ(Read, *Row.Read != 0) << Row.Text << ": " << Reason;
        if (Read)
            EXPECT_EQ(InkText(Ink), Row.Read) << Row.Text;
        else {
            EXPECT_NE(Reason.find(Row.Reason), std::string::npos) << Row.Text << ": " << Reason;
            EXPECT_EQ(Ink, TInk::FromColor(clRed)) << Row.Text << " changed the ink it refused";
        }
    }
    // A NUL inside is a refusal, not the end of the text.
    TInk Ink;
    std::string Reason;
    EXPECT_FALSE(ParseInk(std::string("spot(A\0B,0,0,0,100)", 19), Ink, &Reason));
    EXPECT_NE(Reason.find("NUL"), std::string::npos) << Reason;
}

TEST(InkTest, ScreenColourIsTheSrgbEquivalent)
{
    // (1 - C)(1 - K) for red, as QColor::fromCmykF converts.
    const struct {
        TInk Ink;
        TColor Rgb; // red in the low byte
    } Rows[] = {
        {TInk::FromCmyk(0, 0, 0, 100), 0x000000},
        {TInk::FromCmyk(0, 0, 0, 0), 0xFFFFFF},
        {TInk::FromCmyk(100, 0, 0, 0), 0xFFFF00},
        {TInk::FromCmyk(0, 100, 100, 0), 0x0000FF},
        {TInk::FromCmyk(0, 0, 0, 50), 0x808080},
        {TInk::FromSpot("Reflex Blue", 100, 72, 0, 6), 0xF04300},
        {TInk::FromColor(0x123456), 0x123456},
        {TInk::NoInk(), clWhite},
    };
    for (const auto& Row : Rows)
        EXPECT_EQ(InkColor(Row.Ink), Row.Rgb) << InkText(Row.Ink);
}

TEST(InkTest, PressInkIsFullGreyComponentReplacement)
{
    const struct {
        std::uint32_t Rgb; // 0xRRGGBB
        double C, M, Y, K;
    } Rows[] = {
        {0x000000, 0, 0, 0, 100},  {0xFFFFFF, 0, 0, 0, 0},        {0xFF0000, 0, 100, 100, 0},
        {0x808080, 0, 0, 0, 49.8}, {0x8B0000, 0, 100, 100, 45.5}, {0x336699, 66.7, 33.3, 0, 40},
    };
    for (const auto& Row : Rows) {
        const TInk Ink = PressInkOf(Row.Rgb);
        EXPECT_EQ(Ink.Kind, TInk::Cmyk);
        EXPECT_NEAR(Ink.C, Row.C, 0.05) << std::hex << Row.Rgb;
        EXPECT_NEAR(Ink.M, Row.M, 0.05) << std::hex << Row.Rgb;
        EXPECT_NEAR(Ink.Y, Row.Y, 0.05) << std::hex << Row.Rgb;
        EXPECT_NEAR(Ink.K, Row.K, 0.05) << std::hex << Row.Rgb;
    }
}

// The model worked by hand: paper 88 %; solids relative to it C 0.04, M 0.89,
// Y 0.95, K 0.02; a tint a gives ((1 - a) + a s^(1/1.7))^1.7 of the paper,
// inks multiplying.
TEST(InkTest, ReflectanceAt660NmFollowsTheProcessInks)
{
    const struct {
        const char* Ink;
        double Reflectance;
    } Rows[] = {
        {"none", 88.0},
        {"cmyk(0,0,0,0)", 88.0},
        {"cmyk(0,0,0,100)", 1.76},
        {"cmyk(100,0,0,0)", 3.52},
        {"cmyk(0,100,0,0)", 78.32},
        {"cmyk(0,0,100,0)", 83.6},
        {"cmyk(0,100,100,0)", 74.40},
        {"cmyk(0,0,0,50)", 31.86},
        {"spot(Reflex Blue,100,72,0,6)", 2.95},
        {"#000000", 1.76},
        {"#ffffff", 88.0},
        {"#ff0000", 74.40},
        {"#8b0000", 30.40},
        {"#b22222", 44.85},
    };
    for (const auto& Row : Rows) {
        TInk Ink;
        ASSERT_TRUE(ParseInk(Row.Ink, Ink)) << Row.Ink;
        EXPECT_NEAR(InkReflectance660(Ink), Row.Reflectance, 0.01) << Row.Ink;
    }
}

} // namespace
