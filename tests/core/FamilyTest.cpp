// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// The family beside EAN-13 read as numbers: the readings with their reasons,
// the completions, the choice from a GTIN, UPC-E zero suppression, and the
// symbols' modules and character boxes.
#include "ean/Core_p.h"
#include "ean/WEQEanFamily.h"
#include "tests/core/FamilyShow.h"

#include <gtest/gtest.h>

#include <random>

using namespace WEQEan;

namespace {

struct TReadRow {
    const char* Name;
    TSymbology Symbology;
    std::string Text, AddOn;
    const char* Data;       // empty when refused
    std::int32_t Position;  // of the error
    const char* Because;    // a part of the reason
};

void PrintTo(const TReadRow& Row, std::ostream* Out) { *Out << Row.Name; }

std::string Show(const TEanReading& R)
{
    return R.Valid() ? R.Title() : "refused at " + std::to_string(R.ErrorPosition) + ": " + R.Error;
}

const TReadRow StrictRows[] = {
    {"Ean13Body", Ean13, "400638133393", "", "4006381333931", 0, ""},
    {"Ean13WrongCheckDigit", Ean13, "4006381333930", "", "", 13, "check digit of 400638133393 is 1, not 0"},
    {"Ean8Body", Ean8, "9638507", "", "96385074", 0, ""},
    {"Ean8WithCheckDigit", Ean8, "96385074", "", "96385074", 0, ""},
    {"Ean8WrongCheckDigit", Ean8, "96385075", "", "", 8, "is 4, not 5"},
    {"Ean8TooLong", Ean8, "963850742", "", "", 0, "EAN-8 takes 7 digits, or 8"},
    {"Ean8Letter", Ean8, "96x8507", "", "", 3, "position 3: 'x' is not a digit"},
    {"Ean8HighByte", Ean8, "9638\xe9" "07", "", "", 5, "byte 0xE9 is not a digit"},
    {"EmptyText", Ean8, "", "", "", 0, "the text has 0 digits"},
    {"UpcABody", UpcA, "03600029145", "", "036000291452", 0, ""},
    {"UpcAWithCheckDigit", UpcA, "036000291452", "", "036000291452", 0, ""},
    {"UpcAWrongCheckDigit", UpcA, "036000291453", "", "", 12, "is 2, not 3"},
    {"UpcAIsNotEan13", UpcA, "0360002914522", "", "", 0, "UPC-A takes 11 digits, or 12"},
    {"UpcESixDigits", UpcE, "425261", "", "04252614", 0, ""},
    {"UpcEWithNumberSystem", UpcE, "0425261", "", "04252614", 0, ""},
    {"UpcEWithCheckDigit", UpcE, "04252614", "", "04252614", 0, ""},
    {"UpcEWrongCheckDigit", UpcE, "04252615", "", "", 8, "computed over UPC-A 04210000526, is 4, not 5"},
    {"UpcENumberSystemOne", UpcE, "1425261", "", "14252611", 0, ""},
    {"UpcENumberSystemTwo", UpcE, "2425261", "", "", 1, "number system 0 or 1, not 2"},
    {"UpcEFromUpcA", UpcE, "042100005264", "", "04252614", 0, ""},
    {"UpcEFromUpcABody", UpcE, "04210000526", "", "04252614", 0, ""},
    {"UpcEFromUpcAWrongCheckDigit", UpcE, "042100005265", "", "", 12, "is 4, not 5"},
    {"UpcEFromUpcANumberSystemThree", UpcE, "342100005265", "", "", 1, "not 3"},
    {"UpcEFromUpcANotSuppressible", UpcE, "036000291452", "", "", 0,
     "cannot be zero-suppressed: position 7 is 2, not 0"},
    {"UpcEFromUpcAItemBelowFive", UpcE, "012345000034", "", "", 0, "position 11 is 3, not 5 to 9"},
    {"UpcEEndingIn3NeedsThirdDigit3To9", UpcE, "0120453", "", "", 4,
     "ending in 3 needs 3 to 9 here, not 0; UPC-A 012000000454 is zero-suppressed as 01204504"},
    {"UpcEEndingIn4NeedsFourthDigit", UpcE, "123004", "", "", 4, "ending in 4 needs 1 to 9 here, not 0"},
    {"UpcEEndingIn7NeedsFifthDigit", UpcE, "0123407", "", "", 6, "ending in 7 needs 1 to 9 here, not 0"},
    {"UpcETooShort", UpcE, "42526", "", "", 0, "UPC-E takes 6 digits"},
    {"TwoDigitAddOn", Ean13, "978020137962", "12", "9780201379624 +12", 0, ""},
    {"FiveDigitAddOn", UpcA, "03600029145", "52495", "036000291452 +52495", 0, ""},
    {"ThreeDigitAddOn", Ean13, "978020137962", "123", "", 0, "'123' is not an add-on of 2 or 5 digits"},
    {"AddOnLetter", Ean8, "9638507", "5x495", "", 2, "add-on position 2: 'x' is not a digit"},
    {"AddOnAfterBadMainText", Ean8, "96385", "12", "", 0, "EAN-8 takes 7"},
};

class StrictReadingTest : public ::testing::TestWithParam<TReadRow> {};

TEST_P(StrictReadingTest, ReadsOrSaysWhy)
{
    const TReadRow& Row = GetParam();
    const TEanReading R = ReadSymbol(Row.Symbology, Row.Text, Row.AddOn);
    EXPECT_EQ(R.Symbology, Row.Symbology);
    if (*Row.Data) {
        EXPECT_TRUE(R.Valid()) << Show(R);
        EXPECT_EQ(R.Data + (R.AddOn.empty() ? "" : " +" + R.AddOn), Row.Data);
    } else {
        ASSERT_FALSE(R.Valid()) << Show(R);
        EXPECT_TRUE(R.Data.empty());
        EXPECT_EQ(R.ErrorPosition, Row.Position) << R.Error;
        EXPECT_NE(R.Error.find(Row.Because), std::string::npos) << R.Error;
        EXPECT_EQ(R.ErrorInAddOn, std::string(Row.Because).find("add-on") != std::string::npos) << R.Error;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, StrictReadingTest, ::testing::ValuesIn(StrictRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

const TReadRow LenientRows[] = {
    {"Ean13IsCompleteGtin", Ean13, "  5901234123457x", "", "0059012341236", 0, ""},
    {"Ean8Padded", Ean8, "12", "", "00000123", 0, ""},
    {"Ean8CheckDigitCorrected", Ean8, "96385070", "", "96385074", 0, ""},
    {"Ean8FirstSevenCount", Ean8, "9638507412345", "", "96385074", 0, ""},
    {"UpcALettersReplaced", UpcA, "0360002914x", "", "036000291407", 0, ""},
    {"UpcATypedAsEan13Body", UpcA, "036000291452", "", "036000291452", 0, ""},
    {"UpcESixDigits", UpcE, "425261", "", "04252614", 0, ""},
    {"UpcEWrongCheckDigitCorrected", UpcE, "04252619", "", "04252614", 0, ""},
    {"UpcEBadNumberSystemBecomesZero", UpcE, "7425261", "", "04252614", 0, ""},
    {"UpcEUnsuppressedFormSuppressed", UpcE, "0120453", "", "01204504", 0, ""},
    {"UpcEEmpty", UpcE, "", "", "00000000", 0, ""},
    {"UpcEFromUpcA", UpcE, "042100005260", "", "04252614", 0, ""},
    {"UpcEFromUpcAThatCannotBe", UpcE, "036000291452", "", "", 0, "cannot be zero-suppressed"},
    {"AddOnPaddedToTwo", Ean13, "978020137962", "7", "9780201379624 +07", 0, ""},
    {"AddOnPaddedToFive", Ean13, "978020137962", "495", "9780201379624 +00495", 0, ""},
    {"AddOnFirstFiveCount", Ean13, "978020137962", "5x4951", "9780201379624 +50495", 0, ""},
};

class LenientCompletionTest : public ::testing::TestWithParam<TReadRow> {};

TEST_P(LenientCompletionTest, CompletesAsTheControlDoes)
{
    const TReadRow& Row = GetParam();
    const TEanReading R = CompleteSymbol(Row.Symbology, Row.Text, Row.AddOn);
    if (*Row.Data) {
        ASSERT_TRUE(R.Valid()) << Show(R);
        EXPECT_EQ(R.Data + (R.AddOn.empty() ? "" : " +" + R.AddOn), Row.Data);
        EXPECT_TRUE(ReadSymbol(R.Symbology, R.Data, R.AddOn).Valid()) << "a completion the strict reading refuses";
    } else {
        ASSERT_FALSE(R.Valid()) << Show(R);
        EXPECT_NE(R.Error.find(Row.Because), std::string::npos) << R.Error;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, LenientCompletionTest, ::testing::ValuesIn(LenientRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST(LenientCompletionTest, AnyTextCompletesToWhatTheStrictReadingTakes)
{
    std::mt19937 Random(16);
    // ASCII: a byte a character (UTF-8 text is the reader's own test).
    std::uniform_int_distribution<int> Length(0, 10), Byte(0, 127), Coin(0, 3);
    for (int Round = 0; Round < 1000; ++Round) {
        std::string Text;
        for (int I = Length(Random); I > 0; --I)
            Text += Coin(Random) ? char('0' + Byte(Random) % 10) : char(Byte(Random));
        for (TSymbology S : {Ean13, Ean8, UpcA, UpcE}) {
            const TEanReading R = CompleteSymbol(S, Text, Text.substr(0, 3));
            // Only a UPC-A completed for UPC-E can fail: when it has no suppressed form.
            const bool Fails = S == UpcE && Text.size() > 8 && SuppressUpcA(CompleteSymbol(UpcA, Text).Data).empty();
            ASSERT_EQ(R.Valid(), !Fails) << Show(R);
            if (Fails)
                continue;
            const TEanReading Again = ReadSymbol(S, R.Data, R.AddOn);
            ASSERT_TRUE(Again.Valid()) << Show(Again);
            ASSERT_EQ(Again.Data, R.Data);
        }
    }
}

struct TGtinChoiceRow {
    const char* Name;
    std::string Gtin;
    TSymbology Symbology;
    const char* Data;
    std::int32_t Position;
    const char* Because;
};

void PrintTo(const TGtinChoiceRow& Row, std::ostream* Out) { *Out << Row.Name; }

const TGtinChoiceRow GtinChoiceRows[] = {
    {"Gtin8", "96385074", Ean8, "96385074", 0, ""},
    {"Gtin12", "036000291452", UpcA, "036000291452", 0, ""},
    {"Gtin13", "4006381333931", Ean13, "4006381333931", 0, ""},
    {"Gtin13HoldingAGtin12", "0036000291452", UpcA, "036000291452", 0, ""},
    {"Gtin14HoldingAGtin13", "04006381333931", Ean13, "4006381333931", 0, ""},
    {"Gtin14HoldingAGtin12", "00036000291452", UpcA, "036000291452", 0, ""},
    {"Gtin14HoldingAGtin8", "00000096385074", Ean8, "96385074", 0, ""},
    {"Gtin12HoldingAGtin8", "000096385074", Ean8, "96385074", 0, ""},
    {"Gtin14WithIndicator", "14006381333938", Ean13, "", 1, "indicator digit 1 is carried by no EAN/UPC symbol"},
    {"WrongCheckDigit", "036000291453", Ean13, "", 12, "is 2, not 3"},
    {"Gtin14WrongCheckDigit", "00000096385075", Ean13, "", 14, "is 4, not 5"},
    {"NineDigits", "963850741", Ean13, "", 0, "8, 12, 13 or 14 digits"},
    {"Letter", "9638507A", Ean13, "", 8, "'A' is not a digit"},
};

class GtinChoiceTest : public ::testing::TestWithParam<TGtinChoiceRow> {};

TEST_P(GtinChoiceTest, PicksTheSymbolThatCarriesTheGtin)
{
    const TGtinChoiceRow& Row = GetParam();
    const TEanReading R = ReadGtin(Row.Gtin, "12");
    if (*Row.Data) {
        ASSERT_TRUE(R.Valid()) << Show(R);
        EXPECT_EQ(R.Symbology, Row.Symbology);
        EXPECT_EQ(R.Data, Row.Data);
        EXPECT_EQ(R.AddOn, "12");
        EXPECT_EQ(std::string(14 - R.Gtin().size(), '0') + R.Gtin(), std::string(14 - Row.Gtin.size(), '0') + Row.Gtin)
            << "the same GTIN in its 14-digit form";
    } else {
        ASSERT_FALSE(R.Valid()) << Show(R);
        EXPECT_EQ(R.ErrorPosition, Row.Position) << R.Error;
        EXPECT_NE(R.Error.find(Row.Because), std::string::npos) << R.Error;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, GtinChoiceTest, ::testing::ValuesIn(GtinChoiceRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

// GS1's zero suppression, one row per rule by the last digit of the UPC-E
// body, each check digit worked by hand over the expanded UPC-A.
struct TUpcERow {
    const char* Name;
    const char* UpcE;
    const char* UpcA;
};

const TUpcERow UpcERows[] = {
    {"Last0ItemOfThreeDigits", "01234505", "012000003455"},
    {"Last1", "04252614", "042100005264"},
    {"Last2", "01234523", "012200003453"},
    {"Last3ItemOfTwoDigits", "01234531", "012300000451"},
    {"Last4ItemOfOneDigit", "01234543", "012340000053"},
    {"Last5ItemOf5", "01234558", "012345000058"},
    {"Last6", "01234565", "012345000065"},
    {"Last9", "01234596", "012345000096"},
    {"NumberSystem1", "14252611", "142100005261"},
    {"AllZeros", "00000000", "000000000000"},
};

TEST(UpcETest, ExpandsAndSuppressesByTheLastDigit)
{
    for (const TUpcERow& Row : UpcERows) {
        SCOPED_TRACE(Row.Name);
        EXPECT_EQ(ExpandUpcE(Row.UpcE), Row.UpcA);
        EXPECT_EQ(ExpandUpcE(std::string(Row.UpcE).substr(0, 7)), Row.UpcA) << "without the check digit";
        EXPECT_EQ(SuppressUpcA(Row.UpcA), Row.UpcE);
        EXPECT_EQ(SuppressUpcA(std::string(Row.UpcA).substr(0, 11)), Row.UpcE) << "without the check digit";
        EXPECT_EQ(ReadSymbol(UpcE, Row.UpcE).Gtin(), Row.UpcA);
    }
    for (const char* Bad : {"04252615", "2425261", "04252614x", "", "42526a", "12345"})
        EXPECT_EQ(ExpandUpcE(Bad), "") << Bad;
    EXPECT_EQ(ExpandUpcE("425261"), "042100005264") << "six digits, number system 0";
    EXPECT_EQ(SuppressUpcA("036000291452"), "");
    EXPECT_EQ(SuppressUpcA("042100005265"), "") << "wrong check digit";
    EXPECT_EQ(SuppressUpcA("242100005264"), "") << "number system 2";
}

TEST(UpcETest, EveryBodyExpandsAndOnlyItsOwnFormComesBack)
{
    int Canonical = 0, Bodies = 0;
    for (int Body = 0; Body < 1000000; Body += 37, ++Bodies) {
        std::string Six = std::to_string(Body);
        Six.insert(0, 6 - Six.size(), '0');
        const std::string UpcA = ExpandUpcE("0" + Six);
        ASSERT_EQ(UpcA.size(), 12u) << Six;
        const std::string Back = SuppressUpcA(UpcA);
        ASSERT_EQ(Back.size(), 8u) << Six;
        ASSERT_EQ(ExpandUpcE(Back), UpcA) << Six << " and " << Back << " stand for different UPC-As";
        EXPECT_EQ(Back.substr(1, 6) == Six, ReadSymbol(UpcE, "0" + Six).Valid()) << Six;
        Canonical += Back.substr(1, 6) == Six;
    }
    EXPECT_GT(Canonical * 10, Bodies * 7) << "most bodies are in their own form";
}

TEST(ParityTest, OutsideTheirDomainsTheParitiesAreEmpty)
{
    EXPECT_EQ(UpcEParity('2', '0'), "");
    EXPECT_EQ(UpcEParity('0', 'x'), "");
    EXPECT_EQ(UpcEParity('1', '0'), "AAABBB") << "number system 1 mirrors the sets";
    EXPECT_EQ(AddOnParity("123"), "");
    EXPECT_EQ(AddOnParity("1x"), "");
    EXPECT_EQ(AddOnParity(""), "");
}

struct TShapeRow {
    const char* Name;
    TSymbology Symbology;
    std::size_t AddOnDigits;
    std::int32_t Gap, Modules, RatioHeight;
};

TEST(FamilyLayoutTest, ModulesOfEachSymbolAndAddOn)
{
    const TShapeRow Rows[] = {
        {"Ean13: 11 + 95 + 7", Ean13, 0, 9, 113, 79},
        {"Ean8: 7 + 67 + 7", Ean8, 0, 9, 81, 65},
        {"UpcA: 9 + 95 + 9", UpcA, 0, 9, 113, 79},
        {"UpcE: 9 + 51 + 7", UpcE, 0, 9, 67, 79},
        {"Ean13+2: 11 + 95 + 9 + 20 + 5", Ean13, 2, 9, 140, 79},
        {"Ean13+5, least gap: 11 + 95 + 7 + 47 + 5", Ean13, 5, 7, 165, 79},
        {"UpcE+5, widest gap: 9 + 51 + 12 + 47 + 5", UpcE, 5, 12, 124, 79},
        {"Ean8+2: 7 + 67 + 9 + 20 + 5", Ean8, 2, 9, 108, 65},
    };
    for (const TShapeRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        EXPECT_EQ(SymbolModules(Row.Symbology, Row.AddOnDigits, Row.Gap), Row.Modules);
        EXPECT_EQ(RatioHeightModules(Row.Symbology), Row.RatioHeight);
        const TEanReading R = CompleteSymbol(Row.Symbology, "1", std::string(Row.AddOnDigits, '5'));
        for (const std::int32_t M : {1, 3, 7}) {
            const TSymbol S = DescribeSymbol(R, Row.Modules * M + M - 1, Row.RatioHeight * M, true, Row.Gap);
            EXPECT_EQ(S.ModuleWidth, M);
            EXPECT_EQ(S.Width, Row.Modules * M);
            EXPECT_EQ(S.Modules, Row.Modules);
            EXPECT_EQ(std::int32_t(ShowModules(S).size()), Row.Modules);
            EXPECT_EQ(S.LeftQuietZone + std::int32_t(BarBits(S).size()) + S.RightQuietZone, Row.Modules)
                << ShowModules(S);
            for (const TSymbolElement& E : S.Elements) {
                EXPECT_GE(E.Left, 0);
                EXPECT_LE(E.Left + E.Width, S.Width) << E.Ch;
                EXPECT_GE(E.Top, 0);
                EXPECT_LE(E.Top + E.Height, S.Height) << E.Ch;
            }
        }
    }
}

// EAN-8 at module width 1 with its marks: '<' over the left quiet zone's
// first six modules, '>' over the right one's last six, 4 + 4 digits.
const char* const Ean8Golden = R"(.......!.!...|.||.|.||||.||||.|.||.|||.!.!.|..|||.|||..|.|...|..|.|||..!.!.......
< 1/6 57+8 L
9 12/6 57+8 C
6 19/6 57+8 C
3 26/6 57+8 C
8 33/6 57+8 C
5 44/6 57+8 C
0 51/6 57+8 C
7 58/6 57+8 C
4 65/6 57+8 C
> 76/6 57+8 R
)";

// UPC-A at module width 2: the number system and check digit small, in the
// quiet zones, bottoms level with the other digits; their digits' bars long.
const char* const UpcAGolden = R"(.........!.!...!!.!.||||.|.|.||||...||.|...||.|...||.|.!.!.||.||..|||.|..||..||.|.|||..|..|||.!!.!!..!.!.........
0 5/4 147+11 R
3 21/6 142+16 C
6 28/6 142+16 C
0 35/6 142+16 C
0 42/6 142+16 C
0 49/6 142+16 C
2 60/6 142+16 C
9 67/6 142+16 C
1 74/6 142+16 C
4 81/6 142+16 C
5 88/6 142+16 C
2 106/4 147+11 L
)";

// UPC-E with a 2-digit add-on at the least gap, module width 1: the add-on's
// digits above its bars, whose tops are one module below them, the '>' in its
// quiet zone a module clear of its last digit and bar.
const char* const UpcEAddOnGolden = R"(.........!.!..|||.|..|..||.|||..|..||.||.|.||||..||..|.!.!.!.......:.::..::..:.:..:..::.....
0 5/4 74+5 R
4 14/6 71+8 C
2 21/6 71+8 C
5 28/6 71+8 C
2 35/6 71+8 C
6 42/6 71+8 C
1 49/6 71+8 C
4 62/4 74+5 L
1 73/6 0+8 C
2 82/6 0+8 C
> 89/4 0+8 R
)";

TEST(FamilyLayoutTest, GoldenTables)
{
    const TSymbol Ean8Symbol = DescribeSymbol(ReadSymbol(Ean8, "9638507"), 81, 65, true);
    EXPECT_EQ(ShowModules(Ean8Symbol) + "\n" + ShowText(Ean8Symbol), Ean8Golden);
    const TSymbol UpcASymbol = DescribeSymbol(ReadSymbol(UpcA, "03600029145"), 226, 158, true);
    EXPECT_EQ(ShowModules(UpcASymbol) + "\n" + ShowText(UpcASymbol), UpcAGolden);
    const TSymbol UpcEAddOn = DescribeSymbol(ReadSymbol(UpcE, "0425261", "12"), 92, 79, true, 7);
    EXPECT_EQ(ShowModules(UpcEAddOn) + "\n" + ShowText(UpcEAddOn), UpcEAddOnGolden);
    EXPECT_EQ(UpcEAddOn.AddOnStart, 68) << "the guard's last bar at 60, seven modules of gap";
    EXPECT_EQ(UpcEAddOn.AddOnDigits, 2);
    EXPECT_EQ(UpcEAddOn.RightQuietZone, 5);
    for (const TSymbolElement& E : UpcEAddOn.Elements)
        if (E.Kind == TSymbolElement::Bar && E.StartModule >= 68) {
            EXPECT_EQ(E.Top, 8 + 1) << "a module below the add-on's digits";
            EXPECT_EQ(E.Top + E.Height, UpcEAddOn.GuardBarHeight) << "down to the guards' end";
        }
}

TEST(FamilyLayoutTest, Ean13WithoutAddOnIsDescribeEan13sSymbol)
{
    std::mt19937 Random(13);
    std::uniform_int_distribution<int> Digit(0, 9), Size(0, 2000);
    for (int Round = 0; Round < 50; ++Round) {
        std::string Body;
        for (int I = 0; I < 12; ++I)
            Body += char('0' + Digit(Random));
        const TEanReading R = ReadSymbol(Ean13, Body);
        const std::int32_t W = Size(Random), H = Size(Random);
        const bool Marks = Round % 2;
        const TSymbol Family = DescribeSymbol(R, W, H, Marks), Own = DescribeEan13(R.Data, W, H, Marks);
        ASSERT_EQ(Family.Elements, Own.Elements) << R.Data << " " << W << "x" << H;
        ASSERT_EQ(Family.Width, Own.Width);
        ASSERT_EQ(Family.Height, Own.Height);
    }
}

TEST(FamilyLayoutTest, WhatCannotBeDrawnRaisesWithTheReason)
{
    TEanReading HandMade;
    HandMade.Symbology = UpcE;
    HandMade.Data = "04252615"; // the wrong check digit
    EXPECT_THROW(DescribeSymbol(HandMade, 67, 79, true), Exception);
    HandMade.Data = "0120453" "4"; // not the suppressed form
    EXPECT_THROW(DescribeSymbol(HandMade, 67, 79, true), Exception);
    HandMade.Data = "04252614";
    HandMade.AddOn = "123";
    EXPECT_THROW(DescribeSymbol(HandMade, 67, 79, true), Exception);
    try {
        DescribeSymbol(ReadSymbol(Ean8, "963850"), 81, 65, true);
        ADD_FAILURE() << "drew a refused reading";
    } catch (const Exception& E) {
        EXPECT_NE(std::string(E.what()).find("EAN-8 takes 7 digits"), std::string::npos) << E.what();
    }
    const TEanReading Good = ReadSymbol(Ean13, "978020137962", "12");
    EXPECT_THROW(DescribeSymbol(Good, 0, 0, true, MinAddOnGap - 1), Exception);
    EXPECT_THROW(DescribeSymbol(Good, 0, 0, true, MaxAddOnGap + 1), Exception);
    EXPECT_NO_THROW(DescribeSymbol(Good, INT32_MAX, INT32_MAX, true, MaxAddOnGap)) << "the largest module width";
    EXPECT_NO_THROW(DescribeSymbol(Good, 0, 0, true, MinAddOnGap));
    const TEanReading UpcAWithAddOn = ReadSymbol(UpcA, "03600029145", "12");
    EXPECT_EQ(LeastAddOnGap(UpcA), 9) << "UPC-A's right quiet zone";
    EXPECT_THROW(DescribeSymbol(UpcAWithAddOn, 0, 0, true, 8), Exception);
    EXPECT_NO_THROW(DescribeSymbol(UpcAWithAddOn, 0, 0, true, 9));
    EXPECT_NO_THROW(DescribeSymbol(ReadSymbol(UpcA, "03600029145"), 0, 0, true, 3)) << "no add-on, no gap";
}

} // namespace
