// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "ean/WEQEan.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace WEQEan;

namespace {

TEST(ParityTableTest, FollowsTheSymbologyRules)
{
    for (int Digit = 0; Digit <= 9; ++Digit) {
        SCOPED_TRACE(Digit);
        const std::string Pattern = ParityPattern(std::to_string(Digit));
        ASSERT_EQ(Pattern.size(), 6u);
        EXPECT_EQ(Pattern.find_first_not_of("AB"), std::string::npos) << Pattern;
        EXPECT_EQ(Pattern[0], 'A') << Pattern;
        EXPECT_EQ(std::count(Pattern.begin(), Pattern.end(), 'B'), Digit == 0 ? 0 : 3) << Pattern;
    }
    // Distinct patterns, or the leading digit could not be read back.
    for (int A = 0; A <= 9; ++A)
        for (int B = A + 1; B <= 9; ++B)
            EXPECT_NE(std::string(ParityPatterns[A]), ParityPatterns[B]) << A << " and " << B;
}

TEST(WidthTableTest, FollowsTheSymbologyRules)
{
    for (int Digit = 0; Digit <= 9; ++Digit) {
        SCOPED_TRACE(Digit);
        const std::string D = std::to_string(Digit);
        const std::string A = ElementWidths(D, "A"), B = ElementWidths(D, "B"), C = ElementWidths(D, "C");
        for (const std::string& W : {A, B, C}) {
            ASSERT_EQ(W.size(), 4u);
            int Sum = 0;
            for (char Ch : W) {
                EXPECT_TRUE(Ch >= '1' && Ch <= '4') << W;
                Sum += Ch - '0';
            }
            EXPECT_EQ(Sum, 7) << W;
        }
        EXPECT_EQ(B, std::string(A.rbegin(), A.rend()));
        EXPECT_EQ(C, A);
        // Set A has an odd number of bar modules (elements 2 and 4), set B an even one.
        EXPECT_EQ((A[1] - '0' + A[3] - '0') % 2, 1) << A;
        EXPECT_EQ((B[1] - '0' + B[3] - '0') % 2, 0) << B;
    }
}

struct TLookupRow {
    const char* Name;
    const char* Digit;
    const char* Set;
    bool Raises;
    const char* Widths;
};

void PrintTo(const TLookupRow& Row, std::ostream* Out) { *Out << Row.Name; }


const TLookupRow LookupRows[] = {
    {"ZeroInA", "0", "A", false, "3211"},
    {"ZeroInB", "0", "B", false, "1123"},
    {"ZeroInC", "0", "C", false, "3211"},
    {"NineInB", "9", "B", false, "2113"},
    {"LowerCaseSet", "5", "a", false, ""},
    {"SetD", "5", "D", false, ""},
    {"TwoLetterSet", "5", "AB", false, ""},
    {"EmptySet", "5", "", false, ""},
    {"NumberAboveNine", "12", "A", false, ""},
    {"NegativeNumber", "-1", "C", false, ""},
    {"LetterDigitRaises", "x", "A", true, ""},
    {"EmptyDigitRaises", "", "B", true, ""},
    {"SignAloneRaises", "+", "C", true, ""},
    {"LetterDigitBadSetIsEmpty", "x", "D", false, ""},
};

class ElementWidthsTest : public ::testing::TestWithParam<TLookupRow> {};

TEST_P(ElementWidthsTest, Lookup)
{
    const TLookupRow& Row = GetParam();
    if (Row.Raises)
        EXPECT_THROW(ElementWidths(Row.Digit, Row.Set), EConvertError);
    else
        EXPECT_EQ(ElementWidths(Row.Digit, Row.Set), Row.Widths);
}

INSTANTIATE_TEST_SUITE_P(Rows, ElementWidthsTest, ::testing::ValuesIn(LookupRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST(ParityPatternTest, OnlyTheFirstCharacterCounts)
{
    EXPECT_EQ(ParityPattern("4006381333931"), "ABAABB");
    EXPECT_EQ(ParityPattern("4"), "ABAABB");
    EXPECT_EQ(ParityPattern("0123"), "AAAAAA");
}

TEST(ParityPatternTest, NonNumberRaises)
{
    EXPECT_THROW(ParityPattern(""), EConvertError);
    EXPECT_THROW(ParityPattern("A123"), EConvertError);
    EXPECT_THROW(ParityPattern(" 4"), EConvertError);
    EXPECT_THROW(ParityPattern("-4"), EConvertError) << "only the sign is looked at";
}

TEST(GroupKindIndexTest, PositionsAndMisses)
{
    EXPECT_EQ(GroupKindIndex(0), 1);
    EXPECT_EQ(GroupKindIndex(1), 2);
    EXPECT_EQ(GroupKindIndex(2), 3);
    EXPECT_EQ(GroupKindIndex(3), -1);
    EXPECT_EQ(GroupKindIndex(255), -1);
}

} // namespace
