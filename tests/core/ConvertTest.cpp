// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "ean/Exceptions.h"

#include <gtest/gtest.h>

namespace {

struct TConvertRow {
    const char* Name;
    const char* Text;
    bool Valid;
    std::int32_t Value;
};

void PrintTo(const TConvertRow& Row, std::ostream* Out) { *Out << Row.Name; }


const TConvertRow ConvertRows[] = {
    {"SingleDigit", "7", true, 7},
    {"LeadingZeros", "0012", true, 12},
    {"PlusSign", "+5", true, 5},
    {"MinusSign", "-5", true, -5},
    {"Int32Max", "2147483647", true, 2147483647},
    {"Int32Min", "-2147483648", true, INT32_MIN},
    {"AboveInt32Max", "2147483648", false, 0},
    {"BelowInt32Min", "-2147483649", false, 0},
    {"ManyDigits", "99999999999999999999999", false, 0},
    {"Empty", "", false, 0},
    {"SignAlone", "-", false, 0},
    {"Letter", "x", false, 0},
    {"TrailingLetter", "1a", false, 0},
    {"Blank", " 1", false, 0},
    {"Hexadecimal", "$A", false, 0},
    {"Colon", ":", false, 0},
};

class ConvertTest : public ::testing::TestWithParam<TConvertRow> {};

TEST_P(ConvertTest, StrToIntAcceptsExactlyDecimalNumbers)
{
    const TConvertRow& Row = GetParam();
    if (Row.Valid) {
        EXPECT_EQ(StrToInt(Row.Text), Row.Value);
    } else {
        EXPECT_THROW(StrToInt(Row.Text), EConvertError);
        EXPECT_EQ(StrToIntDef(Row.Text, -77), -77);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ConvertTest, ::testing::ValuesIn(ConvertRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST(ConvertErrorTest, IsAnExceptionAndARuntimeError)
{
    try {
        StrToInt("x");
        FAIL() << "no error raised";
    } catch (const Exception& E) {
        EXPECT_NE(dynamic_cast<const std::runtime_error*>(&E), nullptr);
        EXPECT_NE(std::string(E.what()).find("'x'"), std::string::npos) << E.what();
    }
}

} // namespace
