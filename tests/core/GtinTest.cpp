// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "ean/WEQEan.h"

#include <gtest/gtest.h>

#include <random>

using namespace WEQEan;

namespace {

struct TGtinRow {
    const char* Name;
    std::string Text;
    const char* Body;
    const char* Complete;
};

void PrintTo(const TGtinRow& Row, std::ostream* Out) { *Out << Row.Name; }


const TGtinRow GtinRows[] = {
    {"Empty", "", "000000000000", "0000000000000"},
    {"InitialValue", "0000000000000", "000000000000", "0000000000000"},
    {"ShortIsPadded", "12345", "000000012345", "0000000123457"},
    {"BodyOnly", "400638133393", "400638133393", "4006381333931"},
    {"WrongCheckDigitCorrected", "4006381333930", "400638133393", "4006381333931"},
    {"RightCheckDigitKept", "4006381333931", "400638133393", "4006381333931"},
    {"LettersReplacedWhereTheyStand", "A1B2", "000000000102", "0000000001021"},
    {"SignReplaced", "12-34", "000000012034", "0000000120340"},
    {"OnlyFirstTwelveCount", "  5901234123457x", "005901234123", "0059012341236"},
    {"SumMultipleOfTen", "978020137962", "978020137962", "9780201379624"},
    {"HighBytes", "\xff\x80" "12", "000000000012", "0000000000123"},
    {"NulByte", std::string("1\0" "2", 3), "000000000102", "0000000001021"},
};

class GtinTest : public ::testing::TestWithParam<TGtinRow> {};

TEST_P(GtinTest, NormalizesAndCompletes)
{
    const TGtinRow& Row = GetParam();
    EXPECT_EQ(NormalizeGTIN(Row.Text), Row.Body);
    EXPECT_EQ(CompleteGTIN(Row.Text), Row.Complete);
}

INSTANTIATE_TEST_SUITE_P(Rows, GtinTest, ::testing::ValuesIn(GtinRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST(GtinCheckDigitTest, WorkedSums)
{
    EXPECT_EQ(GTINCheckDigit("400638133393"), "1"); // S = 89
    EXPECT_EQ(GTINCheckDigit("978020137962"), "4"); // S = 96
    EXPECT_EQ(GTINCheckDigit("000000000000"), "0");
}

// Verification the way a scanner does it: weights 1,3,... over all 13 digits
// must give a multiple of 10.
bool PassesScannerCheck(const std::string& Gtin)
{
    if (Gtin.size() != 13)
        return false;
    int Sum = 0;
    for (int I = 0; I < 13; ++I) {
        if (Gtin[I] < '0' || Gtin[I] > '9')
            return false;
        Sum += (Gtin[I] - '0') * (I % 2 == 0 ? 1 : 3);
    }
    return Sum % 10 == 0;
}

TEST(GtinPropertyTest, EveryTextCompletesToAVerifiableGtin)
{
    std::mt19937 Random(20261208);
    std::uniform_int_distribution<int> Length(0, 40), Byte(0, 255), Digit('0', '9');
    for (int Round = 0; Round < 20000; ++Round) {
        std::string Text(std::size_t(Length(Random)), '\0');
        // Half the texts are mostly digits, so that real bodies are exercised too.
        for (char& Ch : Text)
            Ch = char(Round % 2 ? Byte(Random) : Digit(Random));
        const std::string Gtin = CompleteGTIN(Text);
        ASSERT_TRUE(PassesScannerCheck(Gtin)) << "text #" << Round << " gave " << Gtin;
        // Digits among the first 12 characters survive in place, right-aligned.
        const std::string Head = Text.substr(0, 12);
        const std::size_t Pad = 12 - Head.size();
        for (std::size_t I = 0; I < Head.size(); ++I) {
            const char Expected = (Head[I] >= '0' && Head[I] <= '9') ? Head[I] : '0';
            ASSERT_EQ(Gtin[Pad + I], Expected) << "text #" << Round;
        }
        ASSERT_EQ(CompleteGTIN(Gtin), Gtin) << "completion is not idempotent";
    }
}

} // namespace
