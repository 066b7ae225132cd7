// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// Book, serial and printed-music numbers read into EAN-13: conversions, the
// line above the bars, the reasons for refusals, and the hyphenation by the
// ranges. Every expected hyphenation was looked up in the range list the
// table is generated from.
#include "ean/Core_p.h"
#include "ean/WEQEanBook.h"
#include "ean/WEQEanFamily.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <sstream>

using namespace WEQEan;

namespace {

constexpr TBookKind Isbn = TBookKind::Isbn, Ismn = TBookKind::Ismn, Issn = TBookKind::Issn, None = TBookKind::None;

struct TBookRow {
    const char* Name;
    TBookKind Reader;
    std::string Text, AddOn;
    const char* Data;       // with " +" and the add-on; empty when refused
    const char* Line;       // when read; words of the reason when refused
    std::int32_t Position;  // of the error
    std::string Variant = "00";
};

void PrintTo(const TBookRow& Row, std::ostream* Out) { *Out << Row.Name; }

TEanReading Read(const TBookRow& Row)
{
    if (Row.Reader == Isbn)
        return ReadIsbn(Row.Text, Row.AddOn);
    return Row.Reader == Ismn ? ReadIsmn(Row.Text, Row.AddOn) : ReadIssn(Row.Text, Row.Variant, Row.AddOn);
}

const TBookRow BookRows[] = {
    {"Isbn13", Isbn, "978-3-16-148410-0", "", "9783161484100", "ISBN 978-3-16-148410-0", 0},
    {"Isbn13English0", Isbn, "9780306406157", "", "9780306406157", "ISBN 978-0-306-40615-7", 0},
    {"Isbn10", Isbn, "0-306-40615-2", "", "9780306406157", "ISBN 978-0-306-40615-7", 0},
    {"Isbn10CheckX", Isbn, "3-16-148410-X", "", "9783161484100", "ISBN 978-3-16-148410-0", 0},
    {"Isbn10LowerX", Isbn, "080442957x", "", "9780804429573", "ISBN 978-0-8044-2957-3", 0},
    {"Isbn10Labelled", Isbn, "ISBN-10: 0-201-61622-X", "", "9780201616224", "ISBN 978-0-201-61622-4", 0},
    {"English1LowerLabel", Isbn, "isbn 9781402894626", "", "9781402894626", "ISBN 978-1-4028-9462-6", 0},
    {"FrenchRegrouped", Isbn, "ISBN-13: 978-2-1234-5680-3", "", "9782123456803", "ISBN 978-2-12-345680-3", 0},
    {"JapaneseSpaced", Isbn, "  978 4 87311 336 4 ", "", "9784873113364", "ISBN 978-4-87311-336-4", 0},
    {"Singapore", Isbn, "9971-5-0210-0", "", "9789971502102", "ISBN 978-9971-5-0210-2", 0},
    {"BhutanOneDigit", Isbn, "ISBN:9789993601234", "", "9789993601234", "ISBN 978-99936-0-123-4", 0},
    {"BhutanTwoDigits", Isbn, "9789993612346", "", "9789993612346", "ISBN 978-99936-12-34-6", 0},
    {"BhutanThreeDigits", Isbn, "9789993660125", "", "9789993660125", "ISBN 978-99936-601-2-5", 0},
    {"UnitedStates979", Isbn, "9798350012347", "", "9798350012347", "ISBN 979-8-3500-1234-7", 0},
    {"France979", Isbn, "9791090636071", "", "9791090636071", "ISBN 979-10-90636-07-1", 0},
    {"UnassignedKeepsHyphens", Isbn, "979-12-345-6789-6", "", "9791234567896", "ISBN 979-12-345-6789-6", 0},
    {"UnassignedPlain", Isbn, "9791234567896", "", "9791234567896", "ISBN 9791234567896", 0},
    {"UnassignedThreeGroups", Isbn, "979-1234-567896", "", "9791234567896", "ISBN 9791234567896", 0},
    {"UnassignedNoPrefixGroup", Isbn, "97-912-345-6789-6", "", "9791234567896", "ISBN 9791234567896", 0},
    {"NoGroupIsbn10Hyphens", Isbn, "99999-999-9-9", "", "9789999999991", "ISBN 978-99999-999-9-1", 0},
    {"PriceAddOn", Isbn, "9783161484100", "90000", "9783161484100 +90000", "ISBN 978-3-16-148410-0", 0},
    {"TwoDigitAddOn", Isbn, "9783161484100", "12", "9783161484100 +12", "ISBN 978-3-16-148410-0", 0},
    {"Isbn10WrongCheck", Isbn, "3-16-148410-7", "", "", "check character of 316148410 is X, not 7", 13},
    {"Isbn13WrongCheck", Isbn, "ISBN 978-3-16-148410-7", "", "", "check digit of 978316148410 is 0, not 7", 22},
    {"TwelveDigits", Isbn, "978316148410", "", "", "or 13 digits; the text has 12", 0},
    {"ElevenDigits", Isbn, "03064061521", "", "", "the text has 11", 0},
    {"LetterO", Isbn, "0-306-4O615-2", "", "", "position 8: 'O' is not a digit", 8},
    {"HighByte", Isbn, "978\xe9", "", "", "byte 0xE9 is not a digit", 4},
    {"XNotLast", Isbn, "03064X6152", "", "", "'X' stands only last", 6},
    {"XEndsIsbn13", Isbn, "978316148410X", "", "", "'X' is not a digit", 13},
    {"LeadingHyphen", Isbn, "-978-3-16-148410-0", "", "", "'-' stands before the first digit", 1},
    {"HyphenAfterLabel", Isbn, "ISBN -9783161484100", "", "", "'-' stands before the first digit", 6},
    {"TrailingHyphen", Isbn, "978-3-16-148410-0-", "", "", "'-' stands after the last digit", 18},
    {"DoubledHyphen", Isbn, "978--3-16-148410-0", "", "", "'-' follows another separator", 5},
    {"HyphenThenSpace", Isbn, "978- 3-16-148410-0", "", "", "' ' follows another separator", 5},
    {"Prefix977", Isbn, "9770317847001", "", "", "begins 978 or 979, not 977", 3},
    {"Prefix123", Isbn, "1234567890128", "", "", "begins 978 or 979, not 123", 1},
    {"IsmnGivenAsIsbn", Isbn, "979-0-2600-0043-8", "", "", "979-0 begins an ISMN, not an ISBN", 5},
    {"OldIsmnGivenAsIsbn", Isbn, "M-2306-7118-7", "", "", "'M' begins an ISMN", 1},
    {"IssnLabel", Isbn, "ISSN 0317-8471", "", "", "labelled ISSN, not ISBN", 1},
    {"Isbn13LabelOnTen", Isbn, "ISBN-13 0306406152", "", "", "labelled ISBN-13 but has 10 digits", 1},
    {"EmptyText", Isbn, "", "", "", "the text has 0", 0},
    {"HugeText", Isbn, std::string(100000, '9'), "", "", "the text has 100000 characters", 0},
    {"ThreeDigitAddOn", Isbn, "9783161484100", "123", "", "'123' is not an ISBN's add-on of 2 or 5 digits", 0},
    {"AddOnLetter", Isbn, "9783161484100", "9000O", "", "add-on position 5: 'O' is not a digit", 5},
    {"Ismn13", Ismn, "979-0-2600-0043-8", "", "9790260000438", "ISMN 979-0-2600-0043-8", 0},
    {"Ismn13Plain", Ismn, "ISMN 9790260000438", "", "9790260000438", "ISMN 979-0-2600-0043-8", 0},
    {"IsmnOld", Ismn, "M-2306-7118-7", "", "9790230671187", "ISMN 979-0-2306-7118-7", 0},
    {"IsmnOldLabelled", Ismn, "ismn: m230671187", "", "9790230671187", "ISMN 979-0-2306-7118-7", 0},
    {"IsmnThreeDigits", Ismn, "9790060115615", "", "9790060115615", "ISMN 979-0-060-11561-5", 0},
    {"IsmnFiveDigits", Ismn, "9790500001232", "54321", "9790500001232 +54321", "ISMN 979-0-50000-123-2", 0},
    {"IsmnSixDigits", Ismn, "9790700000127", "", "9790700000127", "ISMN 979-0-700000-12-7", 0},
    {"IsmnSevenDigits", Ismn, "9790900000019", "", "9790900000019", "ISMN 979-0-9000000-1-9", 0},
    {"IsmnOldWrongCheck", Ismn, "M-2306-7118-8", "", "", "check digit of M23067118 is 7, not 8", 13},
    {"Ismn13WrongCheck", Ismn, "979-0-2600-0043-9", "", "", "check digit of 979026000043 is 8, not 9", 17},
    {"IsbnGivenAsIsmn", Ismn, "978-3-16-148410-0", "", "", "an ISMN begins 9790, not 9783", 3},
    {"Isbn979GivenAsIsmn", Ismn, "9791090636071", "", "", "not 9791", 4},
    {"IsmnOldShort", Ismn, "M-2306-7118", "", "", "the text has M and 8 digits", 0},
    {"IsmnTenWithoutM", Ismn, "0230671187", "", "", "the text has 10 digits", 0},
    {"IsmnX", Ismn, "M-2306-7118-X", "", "", "position 13: 'X' is not a digit", 13},
    {"IsmnMInside", Ismn, "2306M71187", "", "", "position 5: 'M' is not a digit", 5},
    {"IsmnTwoDigitAddOn", Ismn, "9790260000438", "12", "", "'12' is not an ISMN's add-on of 5 digits", 0},
    {"Issn", Issn, "0317-8471", "", "9770317847001", "ISSN 0317-8471", 0},
    {"IssnWithoutHyphen", Issn, "ISSN 03785955", "", "9770378595002", "ISSN 0378-5955", 0},
    {"IssnXVariant", Issn, "issn: 2434-561x", "", "9772434561051", "ISSN 2434-561X", 0, "05"},
    {"IssnAddOn", Issn, "0317-8471", "07", "9770317847001 +07", "ISSN 0317-8471", 0},
    {"IssnFiveDigitAddOn", Issn, "0317-8471", "12345", "9770317847001 +12345", "ISSN 0317-8471", 0},
    {"IssnFromGtin", Issn, "9770317847001", "", "9770317847001", "ISSN 0317-8471", 0},
    {"IssnXFromGtinKeepsVariant", Issn, "9772434561051", "", "9772434561051", "ISSN 2434-561X", 0, "99"},
    {"IssnWrongCheck", Issn, "0317-8472", "", "", "check character of 0317847 is 1, not 2", 9},
    {"IssnHyphenEarly", Issn, "031-78471", "", "", "between an ISSN's fourth and fifth", 4},
    {"IssnSecondHyphen", Issn, "0317-84-71", "", "", "between an ISSN's fourth and fifth", 8},
    {"IssnXNotLast", Issn, "0317X471", "", "", "'X' stands only last", 5},
    {"IssnShort", Issn, "0317-847", "", "", "the text has 7", 0},
    {"IssnVariantOneDigit", Issn, "0317-8471", "", "", "a variant has 2 digits, not 1", 0, "1"},
    {"IssnVariantLetter", Issn, "0317-8471", "", "", "variant position 2: 'a' is not a digit", 0, "0a"},
    {"IssnGtinOfIsbn", Issn, "9780306406157", "", "", "an ISSN's GTIN begins 977, not 978", 3},
    {"IssnGtinWrongCheck", Issn, "9770317847002", "", "", "check digit of 977031784700 is 1, not 2", 13},
    {"IssnThreeDigitAddOn", Issn, "0317-8471", "123", "", "'123' is not an ISSN's add-on of 2 or 5 digits", 0},
};

class BookReadingTest : public ::testing::TestWithParam<TBookRow> {};

TEST_P(BookReadingTest, ReadsOrSaysWhy)
{
    const TBookRow& Row = GetParam();
    const TEanReading R = Read(Row);
    EXPECT_EQ(R.Symbology, TSymbology::Ean13);
    if (*Row.Data) {
        ASSERT_TRUE(R.Valid()) << R.Error;
        EXPECT_EQ(R.Data + (R.AddOn.empty() ? "" : " +" + R.AddOn), Row.Data);
        EXPECT_EQ(R.Line, Row.Line);
        EXPECT_TRUE(ReadSymbol(TSymbology::Ean13, R.Data).Valid()) << "a wrong EAN-13 check digit";
    } else {
        ASSERT_FALSE(R.Valid()) << R.Data;
        EXPECT_TRUE(R.Data.empty() && R.Line.empty());
        EXPECT_EQ(R.ErrorPosition, Row.Position) << R.Error;
        EXPECT_NE(R.Error.find(Row.Line), std::string::npos) << R.Error;
        EXPECT_EQ(R.ErrorInAddOn, std::string(Row.Line).find("add-on") != std::string::npos) << R.Error;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, BookReadingTest, ::testing::ValuesIn(BookRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST(BookHyphenationTest, ByTheRanges)
{
    const std::pair<const char*, const char*> IsbnRows[] = {
        {"9780306406157", "978-0-306-40615-7"}, {"9780639800004", "978-0-6398000-0-4"},
        {"9786000000004", "978-600-00-0000-4"}, {"9786500000009", "978-65-00-00000-9"},
        {"9789890000000", "978-989-0-00000-0"}, {"9791020012340", "979-10-200-1234-0"},
        {"9791220012348", "979-12-200-1234-8"}, {"9798200123452", "979-8-200-12345-2"},
        {"9791234567896", ""}, {"9789999999991", ""}, {"9798123456781", ""}, {"9780306406158", ""},
        {"9790260000438", ""}, {"978030640615", ""}, {"978-0306406157", ""}, {"", ""},
    };
    for (const auto& [Digits, Hyphenated] : IsbnRows)
        EXPECT_EQ(HyphenatedIsbn(Digits), Hyphenated) << Digits;
    const std::pair<const char*, const char*> IsmnRows[] = {
        {"9790099999996", "979-0-099-99999-6"}, {"9790100000000", "979-0-1000-0000-0"},
        {"9790399999993", "979-0-3999-9999-3"}, {"9790400000007", "979-0-40000-000-7"},
        {"9790699999990", "979-0-69999-999-0"}, {"9790700000004", "979-0-700000-00-4"},
        {"9790899999998", "979-0-899999-99-8"}, {"9790900000002", "979-0-9000000-0-2"},
        {"9790260000439", ""}, {"9780306406157", ""}, {"979026000043", ""},
    };
    for (const auto& [Digits, Hyphenated] : IsmnRows)
        EXPECT_EQ(HyphenatedIsmn(Digits), Hyphenated) << Digits;
}

TEST(BookHyphenationTest, AnyIsbnReadsBackFromItsLineAndItsIsbn10)
{
    std::mt19937 Random(13);
    std::uniform_int_distribution<int> Digit(0, 9);
    int Hyphenated = 0;
    for (int Round = 0; Round < 1000; ++Round) {
        std::string Nine;
        for (int I = 0; I < 9; ++I)
            Nine += char('0' + Digit(Random));
        const std::string Isbn13 = ReadSymbol(TSymbology::Ean13, (Round % 3 ? "978" : "979") + Nine).Data;
        if (Isbn13.compare(0, 4, "9790") == 0)
            continue;
        const TEanReading R = ReadIsbn(Isbn13);
        ASSERT_TRUE(R.Valid()) << Isbn13 << ": " << R.Error;
        const std::string Line = HyphenatedIsbn(R.Data);
        if (!Line.empty()) {
            ++Hyphenated;
            EXPECT_EQ(std::count(Line.begin(), Line.end(), '-'), 4) << Line;
            EXPECT_EQ(R.Line, "ISBN " + Line);
            EXPECT_EQ(ReadIsbn(Line).Data, R.Data) << Line;
        }
        if (Isbn13[2] == '8') {
            // Of the eleven check characters exactly one makes its ISBN-10,
            // the same book; the others are refused at the tenth.
            int Taken = 0;
            for (const char Check : std::string("0123456789X")) {
                const TEanReading Ten = ReadIsbn(Nine + Check);
                Taken += Ten.Valid();
                if (Ten.Valid())
                    EXPECT_EQ(Ten.Line, R.Line) << Nine << Check;
                else
                    EXPECT_EQ(Ten.ErrorPosition, 10) << Nine << Check << ": " << Ten.Error;
            }
            EXPECT_EQ(Taken, 1) << Nine;
        }
    }
    EXPECT_GT(Hyphenated, 500) << "the ranges hyphenate too few numbers";
}

TEST(BookKindTest, ByForm)
{
    const std::pair<const char*, TBookKind> Rows[] = {
        {"978-3-16-148410-0", Isbn}, {"0-306-40615-2", Isbn}, {"ISBN 0306406152", Isbn}, {"9783161484100", Isbn},
        {"9791090636071", Isbn}, {"316148410X", Isbn}, {"0306406152", Isbn}, {"M-2306-7118-7", Ismn},
        {"9790260000438", Ismn}, {"979-0-2600-0043-8", Ismn}, {"ISMN 979-0-2600-0043-8", Ismn},
        {"ISSN 0317-8471", Issn}, {"0317-847X", Issn}, {"2434561X", Issn}, {"9770317847001", Issn},
        {"4006381333931", None}, {"036000291452", None}, {"03178471", None}, {"96385074", None}, {"", None},
        {"hello", None}, {"978-3-16", None}, {"0317-84712", None}, {"031-78471", None}, {"031-7847X", Issn}, {"M-2306-7118", None},
        {"97831614841X0", None},
        // A fault in the form still says which number was meant: its reader names the fault.
        {"978--3-16-148410-0", Isbn}, {"ISBN 0-306-4O615-2", Isbn}, {"ISSN 0317--8471", Issn},
        // Eight digits parted as printed under an EAN-8 are no ISSN.
        {"9638 5081", None}, {"9638-5081", Issn},
    };
    for (const auto& [Text, Kind] : Rows) {
        EXPECT_EQ(BookKindOf(Text), Kind) << Text;
        // Read by its form: a text of none of the three is refused.
        if (Kind == None) {
            EXPECT_FALSE(ReadBook(None, Text).Valid()) << Text;
        }
    }
}

// The number line's characters as "Ch@Left" and their boxes, read from the
// description at module width 3. A line is sized for 22 characters across
// the 113 modules (339 pixels): a pitch of 15 pixels, boxes 12 wide (six
// sevenths) and 16 tall (8.33 / 6 of 12, truncated), the 22 pitches centred
// (4 pixels spare) and each box in its pitch (1 pixel), a module from the
// top; the band is the box and a module above and below it, 22 pixels, by
// which the symbol grows and every element moves down. The add-on changes
// nothing of it.
TEST(BookSymbolTest, TheLineAboveTheBarsAtModuleWidthThree)
{
    const struct {
        TEanReading Reading;
        const char* Line;
    } Rows[] = {
        {ReadIsbn("978-3-16-148410-0"), "I@5 S@20 B@35 N@50 9@80 7@95 8@110 -@125 3@140 -@155 1@170 6@185 -@200 "
                                        "1@215 4@230 8@245 4@260 1@275 0@290 -@305 0@320"},
        {ReadIsbn("3-16-148410-X", "51299"), "I@5 S@20 B@35 N@50 9@80 7@95 8@110 -@125 3@140 -@155 1@170 6@185 -@200 "
                                             "1@215 4@230 8@245 4@260 1@275 0@290 -@305 0@320"},
        {ReadIsmn("M-2600-0043-8"), "I@5 S@20 M@35 N@50 9@80 7@95 9@110 -@125 0@140 -@155 2@170 6@185 0@200 "
                                    "0@215 -@230 0@245 0@260 4@275 3@290 -@305 8@320"},
        {ReadIssn("0317-8471", "00", "07"), "I@65 S@80 S@95 N@110 0@140 3@155 1@170 7@185 -@200 8@215 4@230 7@245 1@260"},
    };
    for (const auto& Row : Rows) {
        ASSERT_TRUE(Row.Reading.Valid()) << Row.Reading.Error;
        // 113 modules, and 140 with a 2-digit add-on, 167 with a 5-digit one.
        const std::int32_t Width = (Row.Reading.AddOn.empty() ? 113 : Row.Reading.AddOn.size() == 2 ? 140 : 167) * 3,
                           Height = 79 * 3;
        const TSymbol S = DescribeSymbol(Row.Reading, Width, Height, true);
        TEanReading Plain = Row.Reading;
        Plain.Line.clear();
        const TSymbol Without = DescribeSymbol(Plain, Width, Height, true);
        std::ostringstream Line;
        std::size_t Others = 0;
        for (const TSymbolElement& E : S.Elements) {
            if (!S.InLine(E)) {
                // The rest is the symbol without the line, 22 pixels lower.
                ASSERT_LT(Others, Without.Elements.size());
                TSymbolElement Lower = Without.Elements[Others++];
                Lower.Top += 22;
                EXPECT_EQ(E, Lower) << Row.Line;
                continue;
            }
            Line << (Line.tellp() ? " " : "") << E.Ch << "@" << E.Left;
            EXPECT_EQ(E.Top, 3);
            EXPECT_EQ(E.Width, 12);
            EXPECT_EQ(E.Height, 16);
        }
        EXPECT_EQ(Line.str(), Row.Line);
        EXPECT_EQ(Others, Without.Elements.size());
        EXPECT_EQ(S.BarTop, 22);
        EXPECT_EQ(S.Height, Without.Height + 22);
        EXPECT_EQ(S.LineBoxWidth * 1000 + S.LineBoxHeight, 12016);
        EXPECT_EQ(LineBandHeight(Row.Reading, 3), 22);
    }
}

TEST(BookSymbolTest, ALineThatCannotBePrintedIsRefused)
{
    TEanReading R = ReadIsbn("9783161484100");
    for (const std::string& Line : {std::string("ISBN 978\n"), std::string("isbn"), std::string(65, '1')}) {
        R.Line = Line;
        EXPECT_THROW(DescribeSymbol(R, 339, 237, true), Exception) << Line;
    }
    R.Line = std::string(64, '1'); // the longest, in smaller boxes
    const TSymbol S = DescribeSymbol(R, 339, 237, true);
    EXPECT_EQ(S.LineBoxWidth, 339 / 64 * 6 / 7);
    // At a pixel a module a line of 57 has a pitch of 1 and no box: refused, not left out.
    R.Line = std::string(57, '1');
    EXPECT_THROW(DescribeSymbol(R, 113, 79, true), Exception);
    R.Line = std::string(56, '1');
    EXPECT_EQ(DescribeSymbol(R, 113, 79, true).LineBoxWidth, 1);
}

// However tall the symbol asked for, the line's band stays within a pixel
// coordinate: the bars give way, nothing wraps.
TEST(BookSymbolTest, TheTallestSymbolKeepsItsLineWithinRange)
{
    const TEanReading R = ReadIsbn("978-3-16-148410-0");
    for (const std::int32_t M : {1, 3, 1000})
        for (const std::int32_t Height : {std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::max() - 5}) {
            const TSymbol S = DescribeSymbol(R, 113 * M, Height, true);
            EXPECT_EQ(S.Height, std::numeric_limits<std::int32_t>::max()) << M;
            EXPECT_EQ(S.BarTop, LineBandHeight(R, M));
            for (const TSymbolElement& E : S.Elements)
                EXPECT_TRUE(E.Top >= 0 && E.Height >= 0 && std::int64_t(E.Top) + E.Height <= S.Height) << M;
        }
    EXPECT_GT(LineBandHeight(R, std::numeric_limits<std::int32_t>::max()), 0) << "an absurd module width, clamped";
}

} // namespace
