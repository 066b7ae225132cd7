// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// The command-line program: its options and items as plain values, and the
// program itself run on small batches whose files are read back by real
// readers.
#include "Batch.h"
#include "Checks.h"
#include "Csv.h"
#include "CsvItems.h"
#include "Items.h"
#include "Options.h"
#include "Progress.h"
#include "Sheet.h"
#include "Source.h"
#include "Text.h"
#include "cli/RunCli.h"
#include "symbol/Decode.h"
#include "symbol/PdfPage.h"
#include "symbol/SvgRaster.h"

#include <ean/WEQEan.h>

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <map>
#include <linux/capability.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace WEQCli;

namespace {

// --- Options, items, names and layout as values ----------------------------

TEST(CliOptionsTest, ReadsOrRefusesTheCommandLine)
{
    const struct {
        const char* Name;
        std::vector<std::string> Args;
        std::string Error; // a part of the message; empty: accepted
        TFormat Format = TFormat::Png;
        double XDimension = 0.330;
    } Rows[] = {
        {"defaults", {"400638133393"}, ""},
        {"format from the suffix", {"-o", "a/{gtin}.SVG", "1"}, "", TFormat::Svg},
        {"pdf files", {"--output=x{n}.pdf", "1"}, "", TFormat::Pdf},
        {"eps files", {"-o", "{gtin}.eps", "1"}, "", TFormat::Eps},
        {"pdf/x of inks", {"--pdf-x", "--bar-color", "spot(Blue 072,100,80,0,0)", "-o", "a.pdf", "1"}, "",
         TFormat::Pdf},
        {"x-dimension", {"-x", "0.5", "1"}, "", TFormat::Png, 0.5},
        {"x-dimension glued", {"-x0.264", "1"}, "", TFormat::Png, 0.264},
        {"magnification", {"--magnification", "2", "1"}, "", TFormat::Png, 0.660},
        {"a sheet is a pdf", {"--sheet", "letter", "1"}, "", TFormat::Pdf},
        {"both sizes", {"-x", "0.3", "--magnification", "1", "1"}, "not both"},
        {"x-dimension out of range", {"-x", "0.05", "1"}, "outside 0.1 .. 10 mm"},
        {"not a number", {"-x", "0.3mm", "1"}, "is not a number"},
        {"dpi out of range", {"--dpi", "20", "1"}, "is not a resolution"},
        {"unknown format", {"-o", "{gtin}.jpg", "1"}, "cannot tell the format"},
        {"no suffix", {"-o", "out.d/{gtin}", "1"}, "cannot tell the format"},
        {"unknown placeholder", {"-o", "{ean}.png", "1"}, "unknown placeholder {ean}"},
        {"open brace", {"-o", "{gtin.png", "1"}, "'{' without '}'"},
        {"grid without a sheet", {"--columns", "3", "1"}, "needs --sheet"},
        {"sheet name with a placeholder", {"--sheet", "A4", "-o", "{n}.pdf", "1"}, "takes no {gtin}"},
        {"sheet not a pdf", {"--sheet", "A4", "-o", "s.png", "1"}, "must end in .pdf"},
        {"unknown page", {"--sheet", "A5", "1"}, "A4, Letter or WxH"},
        {"a page without its height", {"--sheet", "100x", "1"}, "A4, Letter or WxH"},
        {"a page of no width", {"--sheet", "0x150", "1"}, "A4, Letter or WxH"},
        {"a page with a unit", {"--sheet", "100x150mm", "1"}, "A4, Letter or WxH"},
        {"a huge page", {"--sheet", "1e9x10", "1"}, "A4, Letter or WxH"},
        {"bar height zero", {"--bar-height", "0", "1"}, "is not a bar height"},
        {"bar height negative", {"--bar-height=-5", "1"}, "is not a bar height"},
        {"bar height not a number", {"--bar-height", "nan", "1"}, "is not a bar height"},
        {"bar height huge", {"--bar-height", "1e300", "1"}, "is not a bar height"},
        {"bar height with junk", {"--bar-height", "20 mm", "1"}, "is not a bar height"},
        {"reduction negative", {"--bar-width-reduction", "-0.01", "1"}, "is not a reduction"},
        {"reduction as wide as a module", {"--bar-width-reduction", "0.33", "1"}, "below the X-dimension, 0.33 mm"},
        {"grade E", {"--min-grade", "E", "1"}, "A, B, C or D"},
        {"a least grade with nothing graded", {"--min-grade", "A", "1"}, "--min-grade needs --verify"},
        {"label of two sizes only", {"--sheet", "A4", "--label", "50x30x2", "1"}, "a label size WxH"},
        {"gap negative", {"--sheet", "A4", "--gap", "-1", "1"}, "gutters H[,V]"},
        {"gap with an empty second", {"--sheet", "A4", "--gap", "2,", "1"}, "gutters H[,V]"},
        {"gap of three", {"--sheet", "A4", "--gap", "1,2,3", "1"}, "gutters H[,V]"},
        {"margins of three", {"--sheet", "A4", "--margin", "1,2,3", "1"}, "margins MM, L,T or L,T,R,B"},
        {"an add-on column without the GTIN's", {"-i", "a.csv", "--add-on-column", "3"}, "needs --gtin-column"},
        {"a GTIN column with arguments", {"-i", "a.csv", "--gtin-column", "2", "1"}, "give no GTIN arguments beside"},
        {"a GTIN column without an input", {"--gtin-column", "2", "1"}, "the records of the --input files: give one"},
        {"an empty GTIN column", {"-i", "a.csv", "--gtin-column="}, "is not a column"},
        {"a template's labels as SVG", {"--template", "l.svg", "-o", "{n}.svg", "1"}, "a template's labels are PDF or PNG"},
        {"a template's labels on a roll", {"--template", "l.svg", "--roll", "1"}, "", TFormat::Pdf},
        {"margins of five", {"--sheet", "A4", "--margin", "1,2,3,4,5", "1"}, "margins MM, L,T or L,T,R,B"},
        {"a margin left empty", {"--sheet", "A4", "--margin", "7,", "1"}, "margins MM, L,T or L,T,R,B"},
        {"a margin beyond 100", {"--sheet", "A4", "--margin", "7,101", "1"}, "margins MM, L,T or L,T,R,B"},
        {"label without a sheet", {"--label", "50x30", "1"}, "--label sizes the labels of a sheet or a roll"},
        {"a roll is a pdf", {"--roll", "1"}, "", TFormat::Pdf},
        {"a roll and a sheet", {"--roll", "--sheet", "A4", "1"}, "give --sheet or --roll, not both"},
        {"a roll has no gutters", {"--roll", "--gap", "2", "1"}, "--gap lays out a sheet: it needs --sheet"},
        {"a roll not a pdf", {"--roll", "-o", "r.png", "1"}, "a roll is one PDF"},
        {"a roll of one name", {"--roll", "-o", "{n}.pdf", "1"}, "a roll is one file"},
        {"crop marks without a sheet", {"--crop-marks", "1"}, "--crop-marks lays out a sheet"},
        {"bad colour", {"--bar-color", "red", "1"}, "#rrggbb, cmyk(C,M,Y,K), spot(NAME,C,M,Y,K) or none"},
        {"no bars", {"--bar-color", "none", "1"}, "--bar-color: none is for the background only"},
        {"a percentage over 100", {"--text-color", "cmyk(0,0,0,101)", "1"}, "'101' is not a percentage"},
        {"pdf-x of an RGB colour", {"--pdf-x", "--bar-color", "#000000", "-o", "a.pdf", "1"},
         "--pdf-x takes CMYK and spot inks only: --bar-color #000000 is RGB"},
        {"pdf-x of an RGB background", {"--pdf-x", "--background-color", "#ffffff", "-o", "a.pdf", "1"},
         "--background-color #ffffff is RGB"},
        {"pdf-x not a pdf", {"--pdf-x", "-o", "a.eps", "1"}, "--pdf-x makes PDF files"},
        {"pdf-x of a template's labels", {"--pdf-x", "--template", "t.svg", "--roll", "-o", "a.pdf", "1"},
         "drawn through Qt's PDF engine, which writes every colour as RGB"},
        {"a template's labels as svg", {"--template", "t.svg", "-o", "a.svg", "1"}, "are PDF or PNG"},
        {"condition without pdf-x", {"--output-condition", "FOGRA51", "-o", "a.pdf", "1"}, "give --pdf-x too"},
        {"condition not a name", {"--pdf-x", "--output-condition", "FOGRA 39", "1"}, "a registered condition's name"},
        {"no jobs", {"-j", "0", "1"}, "thread count"},
        {"missing value", {"-o"}, "needs a value"},
        {"value on a flag", {"--quiet=yes", "1"}, "takes no value"},
        {"unknown option", {"--frobnicate", "1"}, "unknown option --frobnicate"},
        {"nothing to do", {"-q"}, "no GTINs"},
        {"a GTIN after --", {"--", "-5"}, ""},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        const TParsed P = ParseOptions(Row.Args, 2);
        if (Row.Error.empty()) {
            EXPECT_EQ(P.Error, "");
            EXPECT_EQ(P.Options.Format, Row.Format);
            EXPECT_NEAR(P.Options.Export.XDimensionMM, Row.XDimension, 1e-12);
        } else {
            EXPECT_NE(P.Error.find(Row.Error), std::string::npos) << P.Error;
        }
    }
    const TOptions O =
        ParseOptions({"--bar-color", "#102030", "--text-color=#A0b0C0", "--background-color", "spot(Gold, 0,20,60,20)",
                      "--no-marker", "-j", "3", "9"},
                     2)
            .Options;
    ASSERT_TRUE(O.Export.BarInk && O.Export.FontInk && O.Export.BackgroundInk);
    EXPECT_EQ(O.Export.BarInk->Color, 0x302010u) << "red in the low byte";
    EXPECT_EQ(O.Export.FontInk->Color, 0xC0B0A0u);
    EXPECT_EQ(WEQEan::InkText(*O.Export.BackgroundInk), "spot(Gold,0,20,60,20)");
    EXPECT_FALSE(O.Export.DrawRightDelimiter);
    EXPECT_EQ(O.Jobs, 3);
    EXPECT_EQ(ParseOptions({"1"}, 7).Options.Jobs, 7) << "the default is the number of cores";

    // The print options' values.
    const TParsed Print = ParseOptions({"--bar-height", "15.5", "--bar-width-reduction=0.02", "--gs1-strict",
                                        "--verify", "--min-grade", "b", "--sheet", "100x150", "--label", "50X30",
                                        "--gap", "2,3.5", "--crop-marks", "1"},
                                       1);
    ASSERT_EQ(Print.Error, "");
    const TOptions& P = Print.Options;
    EXPECT_EQ(P.Export.BarHeightMM, 15.5);
    EXPECT_EQ(P.Export.BarWidthReductionMM, 0.02);
    EXPECT_TRUE(P.Gs1Strict && P.Verify && P.CropMarks);
    EXPECT_EQ(P.MinGrade, 'B');
    EXPECT_EQ(P.Sheet->Name, "100 x 150 mm");
    EXPECT_EQ(std::make_pair(P.Sheet->WidthMM, P.Sheet->HeightMM), std::make_pair(100.0, 150.0));
    EXPECT_EQ(std::make_pair(P.LabelWidthMM, P.LabelHeightMM), std::make_pair(50.0, 30.0));
    EXPECT_EQ(std::make_pair(P.GapAcrossMM, P.GapDownMM), std::make_pair(std::optional(2.0), std::optional(3.5)));
    EXPECT_EQ(ParseOptions({"--sheet", "A4", "--gap", "4", "1"}, 1).Options.GapDownMM, 4.0) << "V defaults to H";
    const struct {
        const char* Value;
        TMargins Margins;
    } MarginRows[] = {
        {"7", {7, 7, 7, 7}},
        {"7.2,15.1", {7.2, 15.1, 7.2, 15.1}},
        {"1,2,3,4", {1, 2, 3, 4}},
        {"0,0.5", {0, 0.5, 0, 0.5}},
    };
    for (const auto& Row : MarginRows) {
        const TMargins M = ParseOptions({"--sheet", "A4", "--margin", Row.Value, "1"}, 1).Options.Margins;
        EXPECT_EQ(std::vector<double>({M.Left, M.Top, M.Right, M.Bottom}),
                  std::vector<double>({Row.Margins.Left, Row.Margins.Top, Row.Margins.Right, Row.Margins.Bottom}))
            << Row.Value;
    }
    // --dpi puts PDF output on the printer's dots, and the checks measure there.
    const struct {
        std::vector<std::string> Args;
        int PrinterDpi, MeasureDpi;
    } DpiRows[] = {
        {{"-o", "a.pdf", "1"}, 0, 0},
        {{"--dpi", "203", "-o", "a.pdf", "1"}, 203, 203},
        {{"--dpi", "203", "--sheet", "A4", "1"}, 203, 203},
        {{"--sheet", "A4", "1"}, 0, 0},
        {{"--dpi", "203", "1"}, 0, 203},
        {{"1"}, 0, 300},
        {{"--dpi", "600", "-o", "a.svg", "1"}, 0, 0},
    };
    for (const auto& Row : DpiRows) {
        const TOptions O = ParseOptions(Row.Args, 1).Options;
        EXPECT_EQ(O.Export.PrinterDpi, Row.PrinterDpi) << Row.Args[0] << " " << Row.Args[1];
        EXPECT_EQ(MeasureDpi(O), Row.MeasureDpi) << Row.Args[0] << " " << Row.Args[1];
    }
    const TOptions Defaults = ParseOptions({"1"}, 1).Options;
    EXPECT_EQ(Defaults.MinGrade, 'C');
    EXPECT_FALSE(Defaults.Verify || Defaults.Gs1Strict || Defaults.GapAcrossMM);
}

// --help is made from the option table: every line within 79 columns, and
// every option it names, in an entry or in prose, one the parser takes.
TEST(CliOptionsTest, HelpFitsAndNamesOnlyKnownOptions)
{
    const std::string Help = UsageText();
    for (std::size_t At = 0, End; At < Help.size(); At = End + 1) {
        End = Help.find('\n', At);
        EXPECT_LE(End - At, 79u) << Help.substr(At, End - At);
    }
    std::set<std::string> Names;
    for (std::size_t At = Help.find("--"); At != std::string::npos; At = Help.find("--", At + 2))
        Names.insert(Help.substr(At, Help.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789-", At) - At));
    for (const std::string& Name : Names)
        EXPECT_EQ(ParseOptions({Name}, 1).Error.find("unknown option"), std::string::npos) << Name;
    EXPECT_TRUE(Names.count("--input") && Names.count("--rows") && Names.count("--version")) << "every row listed";
}

// Each line's fate as "number@line:gtin", "number@line:gtin+addon" or
// "number@line:!reason", one a line.
std::string ReadText(const std::string& Text, const std::string& AddOn = {})
{
    std::size_t At = 0;
    TItemReader Reader(
        [&](char* Buffer, std::size_t Size) {
            const std::size_t N = std::min(Size, Text.size() - At);
            std::memcpy(Buffer, Text.data() + At, N);
            At += N;
            return long(N);
        },
        [&AddOn] {
            TReading R;
            R.Options.AddOn = AddOn;
            return R;
        }());
    std::string Out;
    TItem I;
    for (std::size_t Number = 1; Reader.Next(I); ++Number)
        Out += std::to_string(Number) + "@" + std::to_string(I.Line) + ":" +
               (I.Rejected.empty() ? I.Gtin() + (I.Reading.AddOn.empty() ? "" : "+" + I.Reading.AddOn) : "!" + I.Rejected) +
               "\n";
    return Out;
}

// An item's line or argument as the reader takes it, with the kind and
// options given: "gtin+addon|line", "!" and the start of the reason, or
// "~" and the start of a warning after the reading. The reasons are the
// library's own (the same words as WEQ::Barcode's), after the item quoted.
TEST(CliItemsTest, ReadsEachItemAsWritten)
{
    using WEQEan::TKind;
    const struct {
        const char* Text;
        TKind Kind;
        const char* Read;
        bool Complete = false;
        const char* Variant = "";
    } Rows[] = {
        {"400638133393", TKind::Ean13, "4006381333931|"},
        {"4006381333932", TKind::Ean13, "!'4006381333932': position 13: the check digit of 400638133393 is 1, not 2"},
        {"4006381333932", TKind::Auto, "!'4006381333932': position 13: the check digit of 400638133393 is 1, not 2"},
        {"4006381333932", TKind::Ean13, "4006381333931|~completed to EAN-13 4006381333931: position 13", true},
        {"4 006381 333931", TKind::Ean13, "4006381333931|"},
        {"4 006381 333931 12", TKind::Ean13, "4006381333931+12|"},
        {"400638133393 1234", TKind::Ean13, "!'400638133393 1234': '1234' is not an add-on of 2 or 5 digits"},
        {"9638 5081", TKind::Auto, "96385081|"},
        {"9638-5081", TKind::Auto, "9779638508004|ISSN 9638-5081~9638-5081 is read as ISSN 9638-5081; its digits are also the EAN-8 96385081"},
        {"4006-38133393", TKind::Ean13, "!'4006-38133393': position 5: '-' is not a digit"},
        {"978-3-16-148410-0", TKind::Ean13, "!'978-3-16-148410-0': position 4: '-' is not a digit; the text is written as an ISBN: read it with the isbn symbology"},
        {"978-3-16-148410-0", TKind::Ean13, "9780301601489|~completed to EAN-13 9780301601489: position 4: '-' is not "
         "a digit~978-3-16-148410-0 is written as an ISBN, which completion made 9780301601489, another number: read it "
         "with the isbn symbology", true},
        {"ISBN 978-3-16-148410-0 51299", TKind::Auto, "9783161484100+51299|ISBN 978-3-16-148410-0"},
        {"isbn-10:  0-306-40615-2", TKind::Auto, "9780306406157|ISBN 978-0-306-40615-7"},
        {"ISBN 0 306 40615 2", TKind::Auto, "9780306406157|ISBN 978-0-306-40615-7"},
        {"ISBN 0-306-4O615-2", TKind::Auto, "!'ISBN 0-306-4O615-2': position 13: 'O' is not a digit"},
        {"ISSN 0317 8471", TKind::Auto, "9770317847001|ISSN 0317-8471"},
        {"ISSN 0317-8471,07", TKind::Auto, "9770317847056+07|ISSN 0317-8471", false, "05"},
        {"9770317847001 07", TKind::Auto, "9770317847001+07|ISSN 0317-8471"},
        {"9770317847001", TKind::Issn, "9770317847001|ISSN 0317-8471~the variant 05 is not used", false, "05"},
        {"M-2306-7118-7", TKind::Auto, "9790230671187|ISMN 979-0-2306-7118-7"},
        {"3-16-148410-7", TKind::Isbn, "!'3-16-148410-7': position 13: the check character of 316148410 is X"},
        {"\xEF\xBC\x94" "006381333931", TKind::Ean13, "!'\xEF\xBC\x94" "006381333931': position 1: '\xEF\xBC\x94' is not a digit"},
    };
    for (const auto& Row : Rows) {
        TReading Reading;
        Reading.Kind = Row.Kind;
        Reading.Options.Complete = Row.Complete;
        Reading.Options.IssnVariant = Row.Variant;
        TItem Item;
        ReadItem(Row.Text, Reading, Item);
        const WEQEan::TEanReading& R = Item.Reading;
        std::string Read = Item.Rejected.empty() ? R.Data + (R.AddOn.empty() ? "" : "+" + R.AddOn) + "|" + R.Line
                                                 : "!" + Item.Rejected;
        for (const std::string& W : R.Warnings)
            Read += "~" + W;
        EXPECT_EQ(Read.substr(0, std::strlen(Row.Read)), Row.Read) << Row.Text;
        if (*Row.Read == '!') {
            EXPECT_FALSE(R.Valid()) << Row.Text;
        }
    }
}

TEST(CliItemsTest, ReadsLinesCsvAndComments)
{
    const std::string Long(MaxLineLength + 1, '1');
    const struct {
        const char* Name;
        std::string Input, Items;
        std::string AddOn = ""; // the --add-on
    } Rows[] = {
        {"plain lines", "400638133393\n590123412345\n", "1@1:4006381333931\n2@2:5901234123457\n"},
        {"blank lines and comments skipped, lines still counted", "\n# gtins\n  \n400638133393\n",
         "1@4:4006381333931\n"},
        {"CRLF and spaces", "  400638133393 \r\n", "1@1:4006381333931\n"},
        {"no newline at the end", "400638133393", "1@1:4006381333931\n"},
        {"a line too long, the next still read", Long + "\n400638133393\n",
         "1@1:!a line longer than 4096 characters\n2@2:4006381333931\n"},
        {"quotes, an empty add-on field, the --add-on for the rest",
         "\"400638133393\",\"12\"\n400638133393,\n\"400638133393\"12\n\"400638133393\n400638133393,12,\n",
         "1@1:4006381333931+12\n2@2:4006381333931+51995\n"
         "3@3:!'\"400638133393\"12': '12' right after the quoted GTIN\n"
         "4@4:!'\"400638133393': a quote without its end\n5@5:!'400638133393,12,': a third field\n",
         "51995"},
        {"a header line is rejected, the GTIN first", "gtin,name\n", "1@1:!'gtin,name': position 1: 'g' is not a digit\n"},
        {"an empty first field", ",12\n", "1@1:!',12': the text is empty\n"},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        EXPECT_EQ(ReadText(Row.Input, Row.AddOn), Row.Items);
    }
}

// The records of Input, each "LINE:[field|field]" or "LINE:!fault", read
// from blocks of Block bytes at most.
std::string CsvRecords(const std::string& Input, std::size_t Block)
{
    std::size_t At = 0;
    TCsvReader Reader([&](char* Buffer, std::size_t Size) {
        const std::size_t N = std::min({Size, Block, Input.size() - At});
        std::memcpy(Buffer, Input.data() + At, N);
        At += N;
        return long(N);
    });
    if (!Reader.Encoding().empty())
        return "refused: " + Reader.Encoding();
    std::string Out;
    TCsvRecord R;
    while (Reader.Next(R)) {
        Out += std::to_string(R.Line) + ":";
        if (!R.Fault.empty()) {
            Out += "!" + R.Fault + "\n";
            continue;
        }
        for (std::size_t I = 0; I < R.Fields.size(); ++I)
            Out += (I ? "|" : "[") + R.Fields[I];
        Out += "]\n";
    }
    return Out;
}

// RFC 4180's rules one by one, and what breaks them: a fault names the
// record by its first line, and the records after it are read as ever.
TEST(CliCsvTest, ReadsRecordsAsRfc4180WritesThem)
{
    const std::string Huge = "\"" + std::string(MaxRecordBytes + 1, 'x') + "\"";
    std::string Wide;
    for (std::size_t I = 0; I <= MaxRecordFields; ++I)
        Wide += ",";
    const struct {
        const char* Name;
        std::string Input, Records;
    } Rows[] = {
        {"records end in CR LF", "aaa,bbb,ccc\r\nzzz,yyy,xxx\r\n", "1:[aaa|bbb|ccc]\n2:[zzz|yyy|xxx]\n"},
        {"the last record without its line break", "aaa,bbb\r\nzzz,yyy", "1:[aaa|bbb]\n2:[zzz|yyy]\n"},
        {"LF alone ends a record too", "a,b\nc,d\n", "1:[a|b]\n2:[c|d]\n"},
        {"spaces belong to the field", " aaa , b b \n", "1:[ aaa | b b ]\n"},
        {"fields in quotes", "\"aaa\",\"bbb\",\"ccc\"\r\n", "1:[aaa|bbb|ccc]\n"},
        {"a comma inside quotes", "\"Milk, 1 l\",4006381333931\n", "1:[Milk, 1 l|4006381333931]\n"},
        {"line breaks inside quotes, the next record on its own line", "\"aaa\",\"b\r\nbb\",\"ccc\"\r\nzzz,yyy\r\n",
         "1:[aaa|b\r\nbb|ccc]\n3:[zzz|yyy]\n"},
        {"a doubled quote is one quote", "\"aaa\",\"b\"\"bb\",\"ccc\"\n", "1:[aaa|b\"bb|ccc]\n"},
        {"quotes doubled at a field's ends", "\"\"\"Bio\"\"\",\"\"\"\"\n", "1:[\"Bio\"|\"]\n"},
        {"empty fields, quoted or not", "a,,\"\"\n,\n\"\"\n", "1:[a||]\n2:[|]\n3:[]\n"},
        {"blank lines are no records but are counted", "\r\na\n\n\nb\n\n", "2:[a]\n5:[b]\n"},
        {"a UTF-8 byte order mark is skipped", "\xEF\xBB\xBFSKU,GTIN\n", "1:[SKU|GTIN]\n"},
        {"UTF-8 as it is", "Cr\xC3\xA8me fra\xC3\xAE" "che,\xE2\x82\xAC" "1\n", "1:[Cr\xC3\xA8me fra\xC3\xAE" "che|\xE2\x82\xAC" "1]\n"},
        {"a NUL is a byte like any other", std::string("a\0b,c\n", 6), std::string("1:[a\0b|c]\n", 10)},
        {"a lone CR stays in its field", "a\rb,c\n", "1:[a\rb|c]\n"},
        {"a quote without its end runs to the end of the input", "a,b\n\"open,c\nd,e\n",
         "1:[a|b]\n2:!a quote without its end\n"},
        {"text after the closing quote", "\"ab\"c,d\nx\n", "1:!field 1: 'c' after its closing quote\n2:[x]\n"},
        {"a quote inside a field not in quotes", "5\" pizza,1\nx\n",
         "1:!field 1: a quote inside a field that is not in quotes\n2:[x]\n"},
        {"a record too long, then the next", Huge + "\nx\n",
         "1:!a record longer than 65536 bytes\n2:[x]\n"},
        {"too many fields", Wide + "\nx\n", "1:!more than 1024 fields\n2:[x]\n"},
        {"UTF-16 refused", std::string("\xFF\xFEG\0T\0", 6), "refused: UTF-16"},
        {"nothing at all", "", ""},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        EXPECT_EQ(CsvRecords(Row.Input, SIZE_MAX), Row.Records) << "in one block";
        EXPECT_EQ(CsvRecords(Row.Input, 1), Row.Records) << "a byte at a time";
    }
}

// The items of comma-separated values with the columns given:
// "LINE:gtin+addon [field|field]", "LINE:!reason", or "refused: reason".
std::string ReadRecords(const std::string& Text, const std::string& Gtin, const std::string& AddOnColumn = {},
                        const std::string& AddOn = {})
{
    std::size_t At = 0;
    TReading Reading;
    Reading.Options.AddOn = AddOn;
    TCsvItemReader Reader(
        [&](char* Buffer, std::size_t Size) {
            const std::size_t N = std::min(Size, Text.size() - At);
            std::memcpy(Buffer, Text.data() + At, N);
            At += N;
            return long(N);
        },
        Reading, Gtin, AddOnColumn, 1);
    if (const std::string Refusal = Reader.Refusal(); !Refusal.empty())
        return "refused: " + Refusal;
    std::string Out;
    TItem I;
    while (Reader.Next(I)) {
        Out += std::to_string(I.Line) + ":";
        if (!I.Rejected.empty()) {
            Out += "!" + I.Rejected + "\n";
            continue;
        }
        Out += I.Gtin() + (I.Reading.AddOn.empty() ? "" : "+" + I.Reading.AddOn) + " [";
        for (std::size_t F = 0; F < I.Fields.size(); ++F)
            Out += (F ? "|" : "") + I.Fields[F];
        Out += "]\n";
        EXPECT_EQ(I.Columns ? I.Columns->size() : 0, I.Fields.size()) << "every field named by its column";
    }
    return Out;
}

// Records with a header: the columns found by name in any case or by
// number, each record's GTIN and add-on from its columns, every field kept
// as written, and a record that cannot be one rejected by its first line.
TEST(CliItemsTest, ReadsRecordsByTheirColumns)
{
    const std::string Shop = "SKU,GTIN,Name,Price,Add-on\r\n"
                             "A1,4006381333931,\"Cr\xC3\xA8me fra\xC3\xAE" "che, 200 g\",1.99,\r\n"
                             "A2,\"5901234123457\",\"Say \"\"cheese\"\"\",2.49,12\r\n";
    const struct {
        const char* Name;
        std::string Input, Gtin, AddOnColumn = "", AddOn = "";
        std::string Items;
    } Rows[] = {
        {"by name in any case", Shop, "gtin", "", "",
         "2:4006381333931 [A1|4006381333931|Cr\xC3\xA8me fra\xC3\xAE" "che, 200 g|1.99|]\n"
         "3:5901234123457 [A2|5901234123457|Say \"cheese\"|2.49|12]\n"},
        {"by number, the add-on's column beside, an empty one the --add-on", Shop, "2", "ADD-ON", "90000",
         "2:4006381333931+90000 [A1|4006381333931|Cr\xC3\xA8me fra\xC3\xAE" "che, 200 g|1.99|]\n"
         "3:5901234123457+12 [A2|5901234123457|Say \"cheese\"|2.49|12]\n"},
        {"a header name padded with spaces", "sku, GTIN \n1,4006381333931\n", "gtin", "", "",
         "2:4006381333931 [1|4006381333931]\n"},
        {"a record over three lines is named by its first", "GTIN,Name\n4006381333931,\"one\ntwo\nthree\"\nbad,x\n",
         "GTIN", "", "", "2:4006381333931 [4006381333931|one\ntwo\nthree]\n5:!'bad': position 1: 'b' is not a digit\n"},
        {"a bad check digit, the rest read", "GTIN\n4006381333932\n4006381333931\n", "1", "", "",
         "2:!'4006381333932': position 13: the check digit of 400638133393 is 1, not 2\n3:4006381333931 [4006381333931]\n"},
        {"fewer fields than the header", "GTIN,Name\n4006381333931\n", "1", "", "", "2:!1 field where the header has 2\n"},
        {"more fields than the header", "GTIN\n4006381333931,x\n", "1", "", "", "2:!2 fields where the header has 1\n"},
        {"a NUL in a field", std::string("GTIN,Name\n4006381333931,a\0b\n", 28), "1", "", "",
         "2:!field 2 ('Name'), byte 2 is \\x00, a control character: 'a\\x00b'\n"},
        {"broken UTF-8 in a field", "GTIN,Name\n4006381333931,Cr\xC3me\n", "1", "", "",
         "2:!field 2 ('Name'), byte 3 is \\xc3, not printable UTF-8: 'Cr\\xc3me'\n"},
        {"a bad add-on", "GTIN,A\n4006381333931,123\n", "1", "A", "",
         "2:!'4006381333931': '123' is not an add-on of 2 or 5 digits\n"},
        {"a quote without its end", "GTIN,Name\n4006381333931,\"open\n", "1", "", "", "2:!a quote without its end\n"},
        {"no column of the name", Shop, "EAN", "", "", "refused: --gtin-column 'EAN': no column of the header is "
         "named so ('SKU', 'GTIN', 'Name', 'Price', 'Add-on')"},
        {"a column beyond the header", Shop, "6", "", "", "refused: --gtin-column 6: the header has 5 columns "
         "('SKU', 'GTIN', 'Name', 'Price', 'Add-on')"},
        {"no add-on column of the name", Shop, "2", "Addon", "", "refused: --add-on-column 'Addon': no column of the "
         "header is named so ('SKU', 'GTIN', 'Name', 'Price', 'Add-on')"},
        {"column 0", Shop, "0", "", "", "refused: --gtin-column 0: the header has 5 columns ('SKU', 'GTIN', 'Name', "
         "'Price', 'Add-on')"},
        {"no header at all", "\r\n\n", "1", "", "", "refused: no header line naming the columns"},
        {"a header that breaks the rules", "\"GTIN\"x\n1\n", "1", "", "", "refused: line 1, the header: field 1: 'x' "
         "after its closing quote"},
        {"a header line alone gives no items", "GTIN\n", "1", "", "", ""},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        EXPECT_EQ(ReadRecords(Row.Input, Row.Gtin, Row.AddOnColumn, Row.AddOn), Row.Items);
    }
}

TEST(CliPatternTest, FillsInTheItem)
{
    const struct {
        const char* Pattern;
        std::size_t Number;
        const char* Path;
    } Rows[] = {
        {"{gtin}.png", 1, "4006381333931.png"},
        {"out/{n}.svg", 7, "out/00007.svg"},
        {"{n}-{gtin}-{n}.pdf", 123456, "123456-4006381333931-123456.pdf"},
        {"plain.png", 3, "plain.png"},
    };
    for (const auto& Row : Rows)
        EXPECT_EQ(ExpandPattern(Row.Pattern, "4006381333931", Row.Number), Row.Path);
}

TEST(CliSheetTest, LayoutFitsThePage)
{
    // At 0.330 mm a label is 37.29 mm wide (113 modules) and a quiet zone 3.63 mm.
    const struct {
        const char* Name;
        std::vector<std::string> Args;
        int Columns, Rows; // 0, 0: refused, saying Error
        const char* Error = "";
    } Rows[] = {
        {"A4 at 0.330 mm, a quiet zone apart", {"--sheet", "A4"}, 4, 9},
        {"Letter at 0.330 mm", {"--sheet", "Letter"}, 4, 8},
        {"A4 at magnification 2", {"--sheet", "A4", "--magnification", "2"}, 2, 4},
        {"no margin", {"--sheet", "A4", "--margin", "0"}, 5, 10},
        {"no gutters", {"--sheet", "A4", "--gap", "0"}, 5, 10},
        {"fewer columns asked for", {"--sheet", "A4", "--columns", "3", "--rows", "4"}, 3, 4},
        {"more columns than fit", {"--sheet", "A4", "--columns", "5"}, 0, 0, "fit 4 x 9 on A4 inside margins of 10 mm; --columns 5 asked for"},
        {"margins that leave no column", {"--sheet", "A4", "--margin", "100"}, 0, 0, "fit 0 x 3 on A4 inside margins of 100 mm"},
        {"margins that leave no room", {"--sheet", "100x150", "--margin", "60"}, 0, 0, "a page of 100 x 150 mm leaves no room inside margins of 60 mm"},
        {"a page too small for one label", {"--sheet", "30x30", "--margin", "1"}, 0, 0, "fit 0 x 1 on 30 x 30 mm inside margins of 1 mm"},
        {"label stock edge to edge", {"--sheet", "A4", "--label", "70x37", "--margin", "0"}, 3, 8},
        {"label stock with gutters", {"--sheet", "100x150", "--label", "45x30", "--gap", "2,3", "--margin", "4"}, 2, 4},
        {"cells narrower than the label", {"--sheet", "A4", "--label", "37x30"}, 0, 0},
        {"cells lower than the label", {"--sheet", "A4", "--label", "40x25"}, 0, 0},
        {"cells for the add-on", {"--sheet", "A4", "--label", "40x30", "--add-on", "12"}, 0, 0},
        {"21-up A4 stock by its left and top margins", {"--sheet", "A4", "--label", "63.5x38.1", "--margin", "7.2,15.1"},
         3, 7},
        {"a right margin that leaves two columns", {"--sheet", "A4", "--label", "63.5x38.1", "--margin",
         "7.2,15.1,80,0"}, 1, 7},
        {"a bottom margin that costs a row", {"--sheet", "A4", "--label", "63.5x38.1", "--margin", "7.2,15.1,7.2,16"},
         3, 6},
        {"margins of four values named in the refusal", {"--sheet", "A4", "--margin", "100,2,90,4"}, 0, 0,
         "on A4 inside margins of 100, 2, 90, 4 mm"},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        std::vector<std::string> Args = Row.Args;
        Args.push_back("1");
        const TParsed P = ParseOptions(Args, 1);
        ASSERT_EQ(P.Error, "");
        const TOptions& O = P.Options;
        const TSheetLayout L = LayOutSheet(O);
        if (Row.Columns == 0) {
            EXPECT_NE(L.Error, "");
            EXPECT_NE(L.Error.find(Row.Error), std::string::npos) << L.Error << " | " << Row.Error;
            EXPECT_EQ(L.Error.find("asked for") != std::string::npos, O.Columns || O.Rows) << L.Error;
            continue;
        }
        EXPECT_EQ(L.Error, "");
        EXPECT_EQ(L.Columns, Row.Columns);
        EXPECT_EQ(L.Rows, Row.Rows);
        EXPECT_GE(L.CellWidthMM, L.LabelWidthMM);
        EXPECT_GE(L.CellHeightMM, L.LabelHeightMM);
        // Inside the margins; label stock keeps its size; labels a quiet zone apart unless told otherwise.
        EXPECT_EQ(std::make_pair(L.CellLeft(0), L.CellTop(0)), std::make_pair(O.Margins.Left, O.Margins.Top));
        EXPECT_LE(L.CellLeft(L.Columns - 1) + L.CellWidthMM, O.Sheet->WidthMM - O.Margins.Right + 1e-9);
        EXPECT_LE(L.CellTop(L.Rows - 1) + L.CellHeightMM, O.Sheet->HeightMM - O.Margins.Bottom + 1e-9);
        if (O.LabelWidthMM > 0) {
            EXPECT_EQ(std::make_pair(L.CellWidthMM, L.CellHeightMM), std::make_pair(O.LabelWidthMM, O.LabelHeightMM));
        }
        const double Apart = O.GapAcrossMM ? *O.GapAcrossMM : O.LabelWidthMM > 0 ? 0 : 11 * O.Export.XDimensionMM;
        EXPECT_NEAR(L.CellLeft(1) - L.CellLeft(0) - L.CellWidthMM, Apart, 1e-9);
        EXPECT_GE(L.CellLeft(1) - L.CellLeft(0) - L.LabelWidthMM, Apart - 1e-9);
        EXPECT_GE(L.CellTop(1) - L.CellTop(0) - L.LabelHeightMM, (O.GapDownMM ? *O.GapDownMM : Apart) - 1e-9);
    }
}

TEST(CliProgressTest, BarShowsCountShareAndRate)
{
    EXPECT_EQ(TProgress::Line(1000, 2000, 0.5), "[###############...............] 1000/2000  50%  2000/s");
    EXPECT_EQ(TProgress::Line(2000, 2000, 1.0), "[##############################] 2000/2000 100%  2000/s");
    char* Text = nullptr;
    std::size_t Size = 0;
    std::FILE* Out = open_memstream(&Text, &Size);
    {
        TProgress Off(500, false, Out);
        Off.Update(10, true);
        Off.Finish(500);
        TProgress On(500, true, Out);
        On.Update(250, true);
        On.Finish(500);
    }
    std::fclose(Out);
    const std::string Written(Text, Size);
    std::free(Text);
    EXPECT_EQ(Written.rfind("\r[###############...............] 250/500  50%", 0), 0u) << "redrawn in place: " << Written;
    EXPECT_NE(Written.find("500/500 100%"), std::string::npos) << Written;
    EXPECT_EQ(Written.back(), '\n');
    EXPECT_EQ(Written.find("10/500"), std::string::npos) << "a bar that is off draws nothing";
}

// --- The program itself ------------------------------------------------------

std::string DecodeFile(const QString& Path)
{
    if (Path.endsWith(".png"))
        return DecodeEan13(QImage(Path));
    if (Path.endsWith(".svg"))
        return DecodeEan13(RenderSvg(Read(Path), 0.4 * TenPerModule, true));
    return DecodeEan13(PdfPage(Path, 300));
}

const QStringList Gtins = {"400638133393", "590123412345", "978020137962", "000000123457", "871234567890"};
const QStringList Written = {"4006381333931", "5901234123457", "9780201379624", "0000001234572", "8712345678906"};

// Inks on the command line: an RGB format says once what it draws for an
// ink; --pdf-x refuses an RGB colour before anything is written, and what
// it writes, single files and sheets, says what it is.
TEST(CliRunTest, InksAreSaidOnceAndPdfXRefusesRgbBeforeAnyWrite)
{
    const struct {
        const char* Name;
        QStringList Args;
        int Status, Files;
        const char* Err;  // a part of the messages, said once
        const char* File; // a part of the first file written
    } Rows[] = {
        {"png of an ink", {"--bar-color", "cmyk(0,0,0,100)", "-o", "{n}.png"}, 0, 3,
         "PNG holds RGB: the bars' cmyk(0,0,0,100) as #000000", "PNG"},
        {"pdf/x of an RGB colour", {"--pdf-x", "--text-color", "#333333", "-o", "{n}.pdf"}, 2, 0,
         "--text-color #333333 is RGB", ""},
        {"a pdf/x sheet of a spot", {"--sheet", "A4", "--crop-marks", "--pdf-x", "--output-condition", "FOGRA51",
                                     "--bar-color", "spot(Blue 072,100,80,0,0)", "-o", "s.pdf"},
         0, 1, "", "/OutputConditionIdentifier (FOGRA51)"},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        QTemporaryDir Dir;
        const TRun R = RunCli(Dir.path(), Row.Args + Gtins.mid(0, 3));
        EXPECT_EQ(R.Status, Row.Status) << R.Err;
        const QStringList Files = QDir(Dir.path()).entryList(QDir::Files, QDir::Name);
        EXPECT_EQ(Files.size(), Row.Files) << R.Err;
        const std::size_t At = R.Err.find(Row.Err);
        EXPECT_NE(At, std::string::npos) << R.Err;
        EXPECT_EQ(R.Err.find(Row.Err, At + 1), *Row.Err ? std::string::npos : At + 1) << R.Err;
        if (!Files.isEmpty()) {
            QFile File(Dir.filePath(Files.first()));
            ASSERT_TRUE(File.open(QIODevice::ReadOnly));
            EXPECT_TRUE(File.readAll().contains(Row.File)) << Files.first().toStdString();
        }
    }
}

// Each format once, each symbology's options once: the file named by the
// pattern holds what a reader reads as the item said. (The library's own
// tests decode every symbol in every format.)
TEST(CliRunTest, EveryFormatAndSymbologyReachesItsFile)
{
    const struct {
        const char* Name;
        QStringList Args;
        QByteArray List;        // the -i file, when there is one
        std::vector<std::string> Files, Read; // zxing-cpp's "FORMAT:digits addon" of each
    } Rows[] = {
        {"arguments before the list's lines, numbered and named", {"-o", "out/{n}-{gtin}.png", Gtins[0], Gtins[1]},
         "978020137962\n", {"out/00001-4006381333931.png", "out/00002-5901234123457.png", "out/00003-9780201379624.png"},
         {"EAN-13:4006381333931", "EAN-13:5901234123457", "EAN-13:9780201379624"}},
        {"UPC-E from its UPC-A, with an add-on", {"--symbology", "upce", "--add-on", "12", "-o", "{gtin}.svg",
         "042100005264"}, "", {"04252614.svg"}, {"UPC-E:04252614 12"}},
        {"an ISBN-10 labelled, with its price", {"--symbology", "isbn", "-o", "{gtin}.pdf", "ISBN 0-306-40615-2+51299"},
         "", {"9780306406157.pdf"}, {"EAN-13:9780306406157 51299"}},
        {"an ISSN with its variant and issue", {"--symbology", "issn", "--issn-variant", "05", "-o", "{gtin}.png",
         "0317-8471,07"}, "", {"9770317847056.png"}, {"EAN-13:9770317847056 07"}},
        {"EAN-8", {"--symbology", "EAN8", "-o", "{gtin}.svg", "9638507"}, "", {"96385074.svg"}, {"EAN-8:96385074"}},
        {"the automatic choice of a GTIN-14", {"--symbology", "auto", "--add-on", "12", "-o", "{gtin}.pdf",
         "00036000291452"}, "", {"036000291452.pdf"}, {"UPC-A:036000291452 12"}},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        QTemporaryDir Dir;
        WriteText(Dir.filePath("list.txt"), Row.List);
        const QStringList Args = QStringList{"-q"} + (Row.List.isEmpty() ? QStringList() : QStringList{"-i", "list.txt"}) +
                                 Row.Args;
        const TRun R = RunCli(Dir.path(), Args);
        EXPECT_EQ(R.Status, 0) << R.Err;
        EXPECT_EQ(R.Out + R.Err, "") << "a quiet success prints nothing";
        for (std::size_t I = 0; I < Row.Files.size(); ++I) {
            const QString Path = Dir.filePath(QString::fromStdString(Row.Files[I]));
            const QImage Image = Path.endsWith(".png")   ? QImage(Path)
                                 : Path.endsWith(".svg") ? RenderSvg(Read(Path), 0.4 * TenPerModule, true)
                                                         : PdfPage(Path, 300);
            ASSERT_FALSE(Image.isNull()) << Row.Files[I] << " not written";
            EXPECT_EQ(DecodeFamily(OnMargin(Image, 20)), Row.Read[I]) << Row.Files[I];
        }
    }
    QTemporaryDir Dir;
    const TRun Bad = RunCli(Dir.path(), {"--symbology", "upce", "036000291452", "0425261"});
    EXPECT_EQ(Bad.Status, 1);
    EXPECT_NE(Bad.Err.find("<arguments>:1: '036000291452': UPC-A 036000291452 cannot be zero-suppressed"),
              std::string::npos)
        << Bad.Err;
    for (const QStringList& Usage : {QStringList{"--symbology", "qr", "1"}, QStringList{"--add-on", "123", "1"},
                                     QStringList{"--issn-variant", "5", "1"}, QStringList{"--issn-variant", "0a", "1"}}) {
        const TRun R = RunCli(Dir.path(), Usage);
        EXPECT_EQ(R.Status, 2) << Usage.join(' ').toStdString();
    }
}

// The pages' sizes of a PDF of ours in millimetres, from their MediaBox.
std::vector<QSizeF> PageSizes(const QByteArray& Pdf)
{
    std::vector<QSizeF> Sizes;
    const QRegularExpression Box(R"(/MediaBox \[0 0 ([0-9.]+) ([0-9.]+)\])");
    for (auto It = Box.globalMatch(QString::fromLatin1(Pdf)); It.hasNext();) {
        const QRegularExpressionMatch M = It.next();
        Sizes.emplace_back(M.captured(1).toDouble() * 25.4 / 72, M.captured(2).toDouble() * 25.4 / 72);
    }
    return Sizes;
}

// A plain symbol is written by a program that loads Qt Core and nothing of
// Qt's GUI; a template's job runs in the program beside it that does, and
// without that program the job stops with the reason, writing nothing.
TEST(CliRunTest, PlainSymbolsNeedNoGuiAndTemplatesTheirOwnProgram)
{
    QProcess Elf;
    Elf.start("readelf", {"-d", QStringLiteral(WEQ_CLI)});
    ASSERT_TRUE(Elf.waitForFinished(30000));
    const QString Needed = QString::fromLatin1(Elf.readAllStandardOutput());
    EXPECT_TRUE(Needed.contains("[libQt6Core.so.6]")) << Needed.toStdString();
    for (const char* Library : {"libQt6Gui", "libQt6Widgets", "libQt6Svg", "libWEQBarCode"})
        EXPECT_FALSE(Needed.contains(Library)) << Library << " in\n" << Needed.toStdString();
    // Only the system's libraries: no search path, above all none with an
    // empty entry, which stands for the folder it is started in.
    EXPECT_FALSE(Needed.contains("RUNPATH") || Needed.contains("RPATH")) << Needed.toStdString();

    QTemporaryDir Dir;
    const QString Alone = Dir.filePath("weqbarcode");
    ASSERT_TRUE(QFile::copy(QStringLiteral(WEQ_CLI), Alone));
    WriteText(Dir.filePath("t.svg"), "<svg xmlns='http://www.w3.org/2000/svg' width='200' height='100' "
                                     "viewBox='0 0 200 100'><rect id='barcode' width='200' height='100'/></svg>");
    QProcess P;
    P.setWorkingDirectory(Dir.path());
    P.start(Alone, {"--template", "t.svg", "-o", "{n}.png", "400638133393"});
    ASSERT_TRUE(P.waitForFinished(30000));
    EXPECT_EQ(P.exitCode(), 2);
    EXPECT_TRUE(P.readAllStandardError().startsWith("weqbarcode: label templates need the program weqbarcode-labels"));
    EXPECT_FALSE(QFile::exists(Dir.filePath("00001.png")));
    const TRun Beside = RunCli(Dir.path(), {"-q", "--template", "t.svg", "-o", "{n}.png", "400638133393"});
    EXPECT_EQ(Beside.Status, 0) << Beside.Err;
    EXPECT_EQ(DecodeEan13(QImage(Dir.filePath("00001.png"))), "4006381333931");
}

// A roll: a label a page, each page its label's size (or --label's, the
// symbol centred), in the order of the items; a run that writes no label
// leaves the roll there as it was.
TEST(CliRunTest, ARollHasALabelAPage)
{
    double W = 0, H = 0, AddOnW = 0;
    WEQEan::TExportOptions WithAddOn;
    WithAddOn.AddOn = "12";
    ASSERT_TRUE(WEQEan::TPdfSheet::SizeOf("400638133393", {}, W, H));
    ASSERT_TRUE(WEQEan::TPdfSheet::SizeOf("400638133393", WithAddOn, AddOnW, H));
    const struct {
        const char* Name;
        QStringList Args;
        std::vector<QSizeF> Pages;
    } Rows[] = {
        {"each label its own size", {"400638133393", "590123412345+12"}, {{W, H}, {AddOnW, H}}},
        {"label stock", {"--label", "50x30", "400638133393", "590123412345"}, {{50, 30}, {50, 30}}},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        QTemporaryDir Dir;
        const TRun R = RunCli(Dir.path(), QStringList{"-q", "--roll", "-o", "roll.pdf"} + Row.Args);
        ASSERT_EQ(R.Status, 0) << R.Err;
        const QByteArray Pdf = Read(Dir.filePath("roll.pdf"));
        const std::vector<QSizeF> Sizes = PageSizes(Pdf);
        ASSERT_EQ(Sizes.size(), Row.Pages.size());
        for (std::size_t I = 0; I < Sizes.size(); ++I) {
            EXPECT_NEAR(Sizes[I].width(), Row.Pages[I].width(), 0.001) << "page " << I + 1;
            EXPECT_NEAR(Sizes[I].height(), Row.Pages[I].height(), 0.001) << "page " << I + 1;
        }
        EXPECT_EQ(DecodeEan13(PdfPage(Dir.filePath("roll.pdf"), 300, 2)), "5901234123457");
        // Every item rejected: the roll stays as it was.
        const TRun Rejected = RunCli(Dir.path(), QStringList{"-q", "--roll", "-o", "roll.pdf", "4006381333932"});
        EXPECT_EQ(Rejected.Status, 1);
        EXPECT_EQ(Read(Dir.filePath("roll.pdf")), Pdf);
        EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"roll.pdf"}) << "no temporary left";
    }
}

// 40 labels on A4: 36 (4 x 9) on the first page, 4 on the second, row by
// row in the order of the input, each in its cell of the default grid (10 mm
// margins, cells a quiet zone of 3.63 mm apart).
TEST(CliRunTest, ASheetHoldsEveryLabelAtItsPlace)
{
    QTemporaryDir Dir;
    QByteArray Input;
    for (int I = 0; I < 40; ++I)
        Input += QByteArray::number(100000000000LL + 7919LL * I) + '\n';
    const TRun R = RunCli(Dir.path(), {"-q", "--sheet", "A4", "-i", "-", "-o", "s.pdf"}, Input);
    ASSERT_EQ(R.Status, 0) << R.Err;
    constexpr int Dpi = 300;
    const auto Px = [](double MM) { return int(MM / 25.4 * Dpi); };
    const double CellW = (190 - 3 * 3.63) / 4, CellH = (277 - 8 * 3.63) / 9;
    const struct {
        int Page, Cell;
        const char* Gtin;
    } Labels[] = {{1, 0, "1000000000009"}, {1, 35, "1000002771655"}, {2, 0, "1000002850848"}, {2, 3, "1000003088417"}};
    for (const auto& L : Labels) {
        const QImage Image = PdfPage(Dir.filePath("s.pdf"), Dpi, L.Page);
        ASSERT_NEAR(Image.width(), Px(210.0), 1) << "the page is 210 mm exactly; the reader rounds up";
        const double Left = 10 + (L.Cell % 4) * (CellW + 3.63), Top = 10 + (L.Cell / 4) * (CellH + 3.63);
        EXPECT_EQ(DecodeEan13(Image.copy(Px(Left), Px(Top), Px(CellW), Px(CellH))), L.Gtin)
            << "page " << L.Page << ", cell " << L.Cell;
    }
    EXPECT_TRUE(PdfPage(Dir.filePath("s.pdf"), 50, 3).isNull()) << "a third page";
}

// Each item's own add-on reaches its file, the --add-on those without one,
// and a line of more than a GTIN and an add-on is rejected by its number.
// (Every form of an item is read in CliItemsTest.)
TEST(CliRunTest, EachItemCarriesItsOwnAddOn)
{
    QTemporaryDir Dir;
    WriteText(Dir.filePath("list.txt"), "590123412345 51995\n978020137962\n871234567890,Milk\n");
    const TRun R = RunCli(Dir.path(), {"-q", "--add-on", "90210", "-i", "list.txt", "-o", "out/{n}.png", "--",
                                       "400638133393+12"});
    EXPECT_EQ(R.Status, 1);
    EXPECT_EQ(R.Err, "list.txt:3: '871234567890,Milk': 'Milk' is not an add-on of 2 or 5 digits\n"
                     "weqbarcode: 1 of 4 items rejected, 3 files written\n");
    const char* const Read[] = {"EAN-13:4006381333931\nEAN-2:12", "EAN-13:5901234123457\nEAN-5:51995",
                                "EAN-13:9780201379624\nEAN-5:90210"};
    for (int I = 0; I < 3; ++I)
        EXPECT_EQ(ZbarOnMargin(QImage(Dir.filePath(QString("out/0000%1.png").arg(I + 1)))), Read[I]) << "item " << I + 1;
    EXPECT_FALSE(QFile::exists(Dir.filePath("out/00004.png")));
}

// A sheet's labels and lines as its content streams draw them, in mm from
// the page's top-left corner, page by page.
struct TDrawn {
    std::vector<QPointF> Labels;
    std::vector<QLineF> Lines;
    double LineWidth = 0;
};

std::vector<TDrawn> ReadSheet(const QByteArray& Pdf, double PageHeightMM)
{
    constexpr double Mm = 25.4 / 72;
    std::vector<TDrawn> Pages;
    for (qsizetype At = 0; (At = Pdf.indexOf(">>\nstream\n", At)) >= 0;) {
        const qsizetype Begin = At + 10;
        At = Pdf.indexOf("\nendstream", Begin);
        // qUncompress wants the size first; it grows what falls short.
        const quint32 Room = quint32(At - Begin) * 50 + 4096;
        const char Size[] = {char(Room >> 24), char(Room >> 16 & 0xFF), char(Room >> 8 & 0xFF), char(Room & 0xFF)};
        const QByteArray Content = qUncompress(QByteArray(Size, 4) + Pdf.mid(Begin, At - Begin));
        const QList<QByteArray> Tokens = Content.simplified().split(' ');
        if (!Tokens.contains("cm"))
            continue; // a character's shape
        TDrawn Page;
        std::vector<double> N;
        QPointF From;
        for (const QByteArray& T : Tokens) {
            bool Number = false;
            if (const double V = T.toDouble(&Number); Number) {
                N.push_back(V);
                continue;
            }
            const QPointF P = N.size() >= 2 ? QPointF(N.end()[-2] * Mm, PageHeightMM - N.back() * Mm) : QPointF();
            if (T == "cm" && N.size() == 6 && N[0] != 1) // a label's, not a character's
                Page.Labels.push_back(P);
            else if (T == "w" && N.size() == 1)
                Page.LineWidth = N[0] * Mm;
            else if (T == "l")
                Page.Lines.emplace_back(From, P);
            From = P;
            N.clear();
        }
        Pages.push_back(std::move(Page));
    }
    return Pages;
}

// Label stock and the default grid: each label centred in its cell to 0.01
// mm, crop marks outward from every cell's corners where there is room and
// never on a label's box, quiet zones included; a label larger than its cell
// rejected by its line, or the run refused before anything is written.
TEST(CliRunTest, SheetsPlaceEachLabelInItsCell)
{
    WEQEan::TExportOptions WithAddOn;
    WithAddOn.AddOn = "12";
    double AddOnW = 0, AddOnH = 0, W = 0, H = 0;
    ASSERT_TRUE(WEQEan::TPdfSheet::SizeOf("400638133393", WithAddOn, AddOnW, AddOnH));
    ASSERT_TRUE(WEQEan::TPdfSheet::SizeOf("400638133393", {}, W, H));
    ASSERT_GT(AddOnW, 45.0) << "wider than the label stock below";
    char Size[64];
    std::snprintf(Size, sizeof Size, "%.2f x %.2f mm", AddOnW, AddOnH);
    // Label stock as large as the label, to the micrometre.
    W = std::ceil(W * 1000) / 1000;
    H = std::ceil(H * 1000) / 1000;
    const QByteArray Seven = "400638133393\n590123412345\n978020137962\n000000123457\n871234567890\n501234567890\n"
                             "123456789012\n";
    // The labels' sizes, by the library's measure of a symbol of each kind.
    std::map<WEQEan::TSymbology, QSizeF> Sizes;
    for (const auto& [Symbology, Data] : {std::pair{WEQEan::TSymbology::Ean13, "4006381333931"},
                                          std::pair{WEQEan::TSymbology::Ean8, "96385074"},
                                          std::pair{WEQEan::TSymbology::UpcA, "036000291452"}}) {
        WEQEan::TExportOptions O;
        O.Symbology = Symbology;
        double LabelW = 0, LabelH = 0;
        ASSERT_TRUE(WEQEan::TPdfSheet::SizeOf(Data, O, LabelW, LabelH));
        Sizes[Symbology] = {LabelW, LabelH};
    }
    constexpr WEQEan::TSymbology Ean13 = WEQEan::TSymbology::Ean13;
    const struct {
        const char* Name;
        QStringList Args;
        QByteArray Lines;
        std::vector<WEQEan::TSymbology> Placed; // the labels on the page, in order
        double PageH, Margin, CellW, CellH, PitchW, PitchH; // the cells as the rule gives them
        int Columns;
        std::string Err;           // standard error after the X-dimension's line
        bool MarkedCorners = true; // room for a mark at every corner
    } Rows[] = {
        {"label stock with gutters",
         {"--sheet", "100x150", "--label", "45x30", "--gap", "2,3", "--margin", "4", "--crop-marks"},
         Seven + "400638133393+12\n400638133393\n", std::vector(8, Ean13), 150, 4, 45, 30, 47, 33, 2,
         "<stdin>:8: its label of " + std::string(Size) + " is larger than the cells of 45.00 x 30.00 mm\n"
         "weqbarcode: 1 of 9 items rejected, 8 labels written\n"},
        {"the default grid: EAN-8 and UPC-A in cells for EAN-13 and a book's number line, a quiet zone apart",
         {"--sheet", "A4", "--symbology", "auto", "--crop-marks"}, "96385074\n4006381333931\n036000291452\n",
         {WEQEan::TSymbology::Ean8, Ean13, WEQEan::TSymbology::UpcA}, 297, 10, (190 - 3 * 3.63) / 4,
         (277 - 7 * 3.63) / 8, (190 + 3.63) / 4, (277 + 3.63) / 8, 4, ""},
        {"the default grid of EAN-13s", {"--sheet", "A4", "--crop-marks"}, "4006381333931\n590123412345\n",
         std::vector(2, Ean13), 297, 10, (190 - 3 * 3.63) / 4, (277 - 8 * 3.63) / 9, (190 + 3.63) / 4,
         (277 + 3.63) / 9, 4, ""},
        {"label stock the label's size: marks only where they keep clear",
         {"--sheet", "A4", "--label", QString("%1x%2").arg(W).arg(H), "--margin", "2", "--crop-marks"}, Seven,
         std::vector(7, Ean13), 297, 2, W, H, W, H, int(206 / W), "", false},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        QTemporaryDir Dir;
        const TRun R = RunCli(Dir.path(), Row.Args + QStringList{"-i", "-", "-o", "s.pdf"}, Row.Lines);
        EXPECT_EQ(R.Status, Row.Err.empty() ? 0 : 1);
        EXPECT_EQ(R.Err.substr(R.Err.find('\n') + 1), Row.Err);
        const std::vector<TDrawn> Pages = ReadSheet(Read(Dir.filePath("s.pdf")), Row.PageH);
        ASSERT_EQ(Pages.size(), 1u);
        const TDrawn& Page = Pages[0];
        EXPECT_NEAR(Page.LineWidth, 0.1, 1e-3);
        EXPECT_FALSE(Page.Lines.empty());
        ASSERT_EQ(Page.Labels.size(), Row.Placed.size());
        std::size_t Cell = 0;
        for (const WEQEan::TSymbology Placed : Row.Placed) {
            const double LabelW = Sizes[Placed].width(), LabelH = Sizes[Placed].height();
            const double Left = Row.Margin + double(Cell % std::size_t(Row.Columns)) * Row.PitchW;
            const double Top = Row.Margin + double(Cell / std::size_t(Row.Columns)) * Row.PitchH;
            const QPointF At = Page.Labels[Cell++];
            EXPECT_NEAR(At.x(), Left + (Row.CellW - LabelW) / 2, 0.01) << "cell " << Cell;
            EXPECT_NEAR(At.y(), Top + (Row.CellH - LabelH) / 2, 0.01) << "cell " << Cell;
            const double Half = Page.LineWidth / 2;
            const QRectF Box = QRectF(At, QSizeF(LabelW, LabelH)).adjusted(-Half, -Half, Half, Half);
            for (const QLineF& M : Page.Lines)
                EXPECT_FALSE(Box.intersects(QRectF(M.p1(), M.p2()).normalized().adjusted(-1e-6, -1e-6, 1e-6, 1e-6)))
                    << "cell " << Cell << ", mark " << M.x1() << "," << M.y1() << " " << M.x2() << "," << M.y2();
            // A mark from 1 mm out on an edge of each corner, away from it.
            for (const QPointF C : {QPointF(Left, Top), QPointF(Left + Row.CellW, Top), QPointF(Left, Top + Row.CellH),
                                    QPointF(Left + Row.CellW, Top + Row.CellH)})
                EXPECT_TRUE(!Row.MarkedCorners ||
                            std::any_of(Page.Lines.begin(), Page.Lines.end(), [&](const QLineF& M) {
                                return std::abs(QLineF(C, M.p1()).length() - 1) < 0.01 &&
                                       QLineF(C, M.p2()).length() > 1.01 &&
                                       (std::abs(M.x1() - C.x()) < 0.01 || std::abs(M.y1() - C.y()) < 0.01);
                            }))
                    << "cell " << Cell << ", corner " << C.x() << "," << C.y();
        }
    }
    // Cells that hold no label the options give: nothing is written.
    QTemporaryDir Dir;
    const TRun R = RunCli(Dir.path(), {"--sheet", "A4", "--label", "40x30", "--add-on", "12", "-o", "s.pdf", "1"});
    EXPECT_EQ(R.Status, 2);
    EXPECT_EQ(R.Err,
              "weqbarcode: labels of " + std::string(Size) + " do not fit the --label cells of 40.00 x 30.00 mm\n");
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}

// The print checks: a file's findings by line, an argument's by itself, the
// job's once however many items, errors failing their item or the whole run.
TEST(CliRunTest, FindingsNameTheirItemAndTheJobOnce)
{
    QByteArray Hundred;
    for (int I = 0; I < 100; ++I)
        Hundred += QByteArray::number(100000000000LL + 7919LL * I) + '\n';
    const QByteArray Ean8 = "9638507,12\n96385074\n9638507+51995\n";
    const QStringList Ean8Svg = {"--symbology", "ean8", "-o", "{n}.svg"}, Small = {"-x", "0.2", "--dpi", "203"};
    const std::string X = "weqbarcode: X 0.330 mm (100.0 %)\n", Small203 = "weqbarcode: X 0.250 mm (2 dots at 203 dpi, 75.8 %)\n";
    const std::string OutsideGs1 = "X-dimension 0.250 mm (75.8 %) is outside GS1's 0.264 to 0.660 mm (80 to 200 %)\n",
                      Snapped = "X-dimension 0.200 mm is drawn as 0.250 mm (2 dots at 203 dpi, 75.8 %)\n",
                      AddOnEan8 = "an add-on on EAN-8 is not a GS1 combination\n";
    const struct {
        const char* Name;
        QStringList Args;
        QByteArray Input;
        int Status, Files;
        std::string Err;
    } Rows[] = {
        {"a job's size, once for 100 items", Small, Hundred, 0, 100,
         Small203 + "weqbarcode: warning: " + OutsideGs1 + "weqbarcode: warning: " + Snapped},
        {"quiet", QStringList{"-q"} + Small, Hundred, 0, 100, ""},
        {"strict: nothing written", QStringList{"--gs1-strict"} + Small, Hundred, 1, 0,
         Small203 + "weqbarcode: error: " + OutsideGs1 + "weqbarcode: error: " + Snapped +
             "weqbarcode: nothing written: the job fails the print checks (--gs1-strict)\n"},
        {"colours that no scanner sees", {"--bar-color", "#ff0000"}, Hundred, 0, 100,
         "weqbarcode: X 0.339 mm (4 dots at 300 dpi, 102.7 %)\n"
         "weqbarcode: warning: bars #ff0000 on #ffffff grade F under a scanner's 660 nm light, held down by symbol "
         "contrast: the bars reflect 74 %, the background 88 % (symbol contrast 14 %); scanners may not read them\n"
         "weqbarcode: warning: bars #ff0000 are red, orange or yellow, which GS1 advises against for bars whatever "
         "they grade: print them solid in a dark ink (black, dark blue, dark green, dark brown)\n"},
        {"an item's own, by line", Ean8Svg, Ean8, 0, 3,
         X + "in.txt:1: warning: " + AddOnEan8 + "in.txt:3: warning: " + AddOnEan8},
        {"an item's own, strict", QStringList{"-q", "--gs1-strict"} + Ean8Svg, Ean8, 1, 1,
         "in.txt:1: error: " + AddOnEan8 + "in.txt:3: error: " + AddOnEan8 +
             "weqbarcode: 2 of 3 items rejected, 1 files written\n"},
        {"the same for every item is the job's", QStringList{"--add-on", "12"} + Ean8Svg, "96385074\n96385074\n", 0, 2,
         X + "weqbarcode: warning: " + AddOnEan8},
        {"an argument's own", Ean8Svg + QStringList{"--", " 9638507 12"}, "", 0, 1,
         X + "9638507 12: warning: " + AddOnEan8},
        {"auto: an item's own where it holds", {"--gs1-strict", "--symbology", "auto", "--add-on", "12", "-o", "{n}.svg"},
         "4006381333931\n96385074\n", 1, 1,
         X + "in.txt:2: error: " + AddOnEan8 + "weqbarcode: 1 of 2 items rejected, 1 files written\n"},
        {"a sheet's", {"-q", "--gs1-strict", "--symbology", "ean8", "--sheet", "A4"}, Ean8, 1, 1,
         "in.txt:1: error: " + AddOnEan8 + "in.txt:3: error: " + AddOnEan8 +
             "weqbarcode: 2 of 3 items rejected, 1 labels written\n"},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        QTemporaryDir Dir;
        WriteText(Dir.filePath("in.txt"), Row.Input);
        const QStringList Args = (Row.Input.isEmpty() ? QStringList() : QStringList{"-i", "in.txt"}) + Row.Args;
        const TRun R = RunCli(Dir.path(), Args);
        EXPECT_EQ(R.Status, Row.Status);
        EXPECT_EQ(R.Err, Row.Err);
        EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files).size() - 1, Row.Files);
    }
}

// --verify: a grade line per label on standard output in the order of the
// items, whatever the threads; one under --min-grade fails with what held it
// down, quiet or not.
TEST(CliRunTest, VerifyGradesEachLabel)
{
    const struct {
        const char* Name;
        QStringList Args;
        char Grade;
        const char* Why; // in the failure's message; empty: none fails
    } Rows[] = {
        {"grey bars hold the contrast down to the least grade", {"--bar-color", "#909090", "-o", "{n}.svg"}, 'C', ""},
        {"grey bars under --min-grade B", {"--bar-color", "#909090", "--min-grade", "B", "-o", "{n}.png"}, 'C',
         "held down by symbol contrast"},
        {"a sheet's labels", {"--sheet", "A4", "-o", "s.pdf"}, 'A', ""},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        QTemporaryDir Dir;
        const bool Fails = *Row.Why != 0;
        const TRun R = RunCli(Dir.path(), QStringList{"--verify", "-j", "4"} + Row.Args + Gtins);
        EXPECT_EQ(R.Status, Fails ? 1 : 0) << R.Err;
        std::string Lines;
        for (int I = 1; I <= 5; ++I) {
            const QString File = QString(Row.Args.last()).replace("{n}", QString("0000%1").arg(I));
            const std::string Name = Row.Args.contains("--sheet") ? "s.pdf, page 1, label " + std::to_string(I)
                                                                   : File.toStdString();
            Lines += Name + ": grade " + Row.Grade + " (pre-press estimate)\n";
            EXPECT_EQ(R.Err.find(Name + ": error: grade " + Row.Grade + " is under --min-grade") != std::string::npos,
                      Fails) << R.Err;
        }
        EXPECT_EQ(R.Out, Lines);
        EXPECT_NE(R.Err.find(Row.Why), std::string::npos) << R.Err;
        EXPECT_EQ(R.Err.find("weqbarcode: 5 of 5 labels written graded under") != std::string::npos, Fails) << R.Err;
        const TRun Quiet = RunCli(Dir.path(), QStringList{"-q", "--verify"} + Row.Args + Gtins);
        EXPECT_EQ(Quiet.Out, "");
        EXPECT_EQ(Quiet.Status, R.Status);
        EXPECT_EQ(Quiet.Err.empty(), !Fails) << Quiet.Err;
    }
}

TEST(CliRunTest, RejectedLinesAreNamedAndTheRestWritten)
{
    QTemporaryDir Dir;
    const QByteArray Input = "# shelf labels\n400638133393\n\n12345\n590123412345\n4006381333932\n"
                             "400638133393\nx\n";
    QFile List(Dir.filePath("shelf.txt"));
    ASSERT_TRUE(List.open(QIODevice::WriteOnly));
    List.write(Input);
    List.close();
    const struct {
        const char* Name;
        QStringList Args;
        std::string Err;
        int Files;
    } Rows[] = {
        {"bad lines",
         {"-q", "-i", "shelf.txt", "-o", "a/{n}.svg"},
         "shelf.txt:4: '12345': EAN-13 takes 12 digits, or 13 with the check digit; the text has 5 digits\n"
         "shelf.txt:6: '4006381333932': position 13: the check digit of 400638133393 is 1, not 2\n"
         "shelf.txt:8: 'x': position 1: 'x' is not a digit\n"
         "weqbarcode: 3 of 6 items rejected, 3 files written\n",
         3},
        {"two items for one file",
         {"-q", "-i", "shelf.txt", "-o", "b/{gtin}.svg"},
         "shelf.txt:4: '12345': EAN-13 takes 12 digits, or 13 with the check digit; the text has 5 digits\n"
         "shelf.txt:6: '4006381333932': position 13: the check digit of 400638133393 is 1, not 2\n"
         "shelf.txt:7: b/4006381333931.svg is also the file of shelf.txt:2\n"
         "shelf.txt:8: 'x': position 1: 'x' is not a digit\n"
         "weqbarcode: 4 of 6 items rejected, 2 files written\n",
         2},
        {"arguments and standard input",
         {"-q", "-o", "c/{n}.svg", "400638133393", "22", "-i", "-"},
         "<arguments>:2: '22': EAN-13 takes 12 digits, or 13 with the check digit; the text has 2 digits\n"
         "<stdin>:4: '12345': EAN-13 takes 12 digits, or 13 with the check digit; the text has 5 digits\n"
         "<stdin>:6: '4006381333932': position 13: the check digit of 400638133393 is 1, not 2\n"
         "<stdin>:8: 'x': position 1: 'x' is not a digit\n"
         "weqbarcode: 4 of 8 items rejected, 4 files written\n",
         4},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        const TRun R = RunCli(Dir.path(), Row.Args, Input);
        EXPECT_EQ(R.Status, 1);
        EXPECT_EQ(R.Err, Row.Err);
        const QString Folder = Row.Args[Row.Args.indexOf("-o") + 1].section('/', 0, 0);
        EXPECT_EQ(QDir(Dir.filePath(Folder)).entryList(QDir::Files).size(), Row.Files);
    }
    EXPECT_TRUE(QFile::exists(Dir.filePath("c/00003.svg"))) << "numbers count rejected items too";
}

TEST(CliRunTest, ExitStatusSaysWhatHappened)
{
    QTemporaryDir Dir;
    const struct {
        const char* Name;
        QStringList Args;
        int Status;
        std::string Err; // a part of standard error
    } Rows[] = {
        {"written", {"-q", "400638133393"}, 0, ""},
        {"help", {"--help"}, 0, ""},
        {"version", {"--version"}, 0, ""},
        {"rejected", {"-q", "1234"}, 1, "<arguments>:1: '1234': EAN-13 takes 12 digits"},
        {"usage error", {"--dpi", "x", "1"}, 2, "weqbarcode: --dpi: 'x' is not a resolution"},
        {"unreadable input", {"-i", "missing.txt"}, 2, "cannot read missing.txt: No such file or directory"},
        {"a grid that does not fit", {"--sheet", "A4", "--rows", "20", "1"}, 2, "fit 4 x 9 on A4"},
        {"a folder in the way", {"-o", "{gtin}.png/x.png", "400638133393"}, 2, "cannot make folder"},
        {"a folder where the file goes", {"-o", "d.svg", "400638133393"}, 2, "cannot write d.svg"},
    };
    QDir(Dir.path()).mkdir("d.svg");
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        const TRun R = RunCli(Dir.path(), Row.Args);
        EXPECT_EQ(R.Status, Row.Status) << R.Err;
        EXPECT_NE(R.Err.find(Row.Err), std::string::npos) << R.Err;
    }
    EXPECT_NE(RunCli(Dir.path(), {"--help"}).Out.find("--sheet A4|Letter"), std::string::npos);
}

// Packagers and users look for the licence where Debian's own tools print it;
// the version stays alone on the first line, where help2man reads it.
TEST(CliRunTest, VersionNamesTheLicence)
{
    QTemporaryDir Dir;
    const TRun R = RunCli(Dir.path(), {"--version"});
    EXPECT_EQ(R.Status, 0);
    EXPECT_EQ(R.Out.substr(0, R.Out.find('\n')), "weqbarcode " WEQ_VERSION);
    EXPECT_NE(R.Out.find("\nCopyright (C) 2026 The WEQBarCode authors\n"), std::string::npos) << R.Out;
    EXPECT_NE(R.Out.find("\nLicense MIT: <https://spdx.org/licenses/MIT.html>.\n"), std::string::npos) << R.Out;
}

// Nothing half-written: a folder that cannot be written to, and a write cut
// short by a file-size limit, leave no file and the old file as it was.
TEST(CliRunTest, AFailedWriteStopsAndLeavesNothingBehind)
{
    // Every format is written through the library's one atomic file, whose
    // own tests cut each format's write short.
    for (const char* Suffix : {"png"}) {
        SCOPED_TRACE(Suffix);
        QTemporaryDir Dir;
        QFile::setPermissions(Dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther |
                                              QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);
        ASSERT_TRUE(QDir(Dir.path()).mkdir("ro"));
        QFile::setPermissions(Dir.filePath("ro"), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                                      QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);
        const TRun R = RunCli(Dir.path(), Gtins + QStringList{"-o", QString("ro/{n}.") + Suffix}, {}, TAs::BoundByPermissions);
        EXPECT_EQ(R.Status, 2) << R.Err;
        EXPECT_NE(R.Err.find("cannot write ro/0000"), std::string::npos) << R.Err;
        EXPECT_NE(R.Err.find("Permission denied"), std::string::npos) << R.Err;
        EXPECT_EQ(QDir(Dir.filePath("ro")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 0);

        // Past the limit a write fails: the old file stays, no stray file.
        const QString Old = Dir.filePath(QString("old.") + Suffix);
        QFile F(Old);
        ASSERT_TRUE(F.open(QIODevice::WriteOnly));
        F.write("the old file");
        F.close();
        const TRun Cut = RunCli(Dir.path(), {"-o", QString("old.") + Suffix, "400638133393"}, {}, TAs::Self, 100);
        EXPECT_EQ(Cut.Status, 2) << Cut.Err;
        EXPECT_NE(Cut.Err.find(QString("cannot write old.%1").arg(Suffix).toStdString()), std::string::npos) << Cut.Err;
        EXPECT_EQ(Read(Old), "the old file");
        EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "a partial file was left";
        // Without the limit it is replaced whole.
        EXPECT_EQ(RunCli(Dir.path(), {"-q", "-o", QString("old.") + Suffix, "400638133393"}).Status, 0);
        EXPECT_EQ(DecodeFile(Old), "4006381333931");
    }
}

// A PDF holds the moment it was made; nothing else may differ.
QByteArray WithoutDate(QByteArray Pdf)
{
    const qsizetype At = Pdf.indexOf("/CreationDate (D:");
    if (At >= 0)
        Pdf.replace(At, Pdf.indexOf(')', At) - At, "/CreationDate (D:");
    return Pdf;
}

TEST(CliRunTest, ThreadsDoNotChangeAnyByte)
{
    QByteArray Input;
    for (int I = 0; I < 12; ++I)
        Input += QByteArray::number(200000000000LL + 104729LL * I) + '\n';
    for (const char* Suffix : {"png", "svg", "pdf"}) {
        SCOPED_TRACE(Suffix);
        QTemporaryDir Dir;
        ASSERT_EQ(RunCli(Dir.path(), {"-q", "-j", "1", "-i", "-", "-o", QString("one/{n}.") + Suffix}, Input).Status, 0);
        ASSERT_EQ(RunCli(Dir.path(), {"-q", "-j", "8", "-i", "-", "-o", QString("eight/{n}.") + Suffix}, Input).Status, 0);
        const QStringList Files = QDir(Dir.filePath("one")).entryList(QDir::Files);
        ASSERT_EQ(Files.size(), 12);
        EXPECT_EQ(QDir(Dir.filePath("eight")).entryList(QDir::Files), Files);
        for (const QString& Name : Files)
            EXPECT_EQ(WithoutDate(Read(Dir.filePath("one/" + Name))), WithoutDate(Read(Dir.filePath("eight/" + Name))))
                << Name.toStdString();
    }
}

} // namespace
