// The command-line program: its options and items as plain values, and the
// program itself run on small batches whose files are read back by real
// readers.
#include "Batch.h"
#include "Items.h"
#include "Options.h"
#include "Progress.h"
#include "Sheet.h"
#include "symbol/Decode.h"
#include "symbol/SvgRaster.h"

#include <ean/WEQEan.h>

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
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
        {"unknown page", {"--sheet", "A5", "1"}, "A4 or Letter"},
        {"bad colour", {"--bar-color", "red", "1"}, "#rrggbb"},
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
        ParseOptions({"--bar-color", "#102030", "--text-color=#A0b0C0", "--no-marker", "-j", "3", "9"}, 2).Options;
    EXPECT_EQ(O.Export.BarColor, 0x302010u) << "red in the low byte";
    EXPECT_EQ(O.Export.FontColor, 0xC0B0A0u);
    EXPECT_FALSE(O.Export.DrawRightDelimiter);
    EXPECT_EQ(O.Jobs, 3);
    EXPECT_EQ(ParseOptions({"1"}, 7).Options.Jobs, 7) << "the default is the number of cores";
}

TEST(CliItemsTest, ChecksEachItem)
{
    const struct {
        const char* Text;
        bool Complete;
        const char* Gtin;   // empty: rejected
        const char* Reason; // a part of it
    } Rows[] = {
        {"400638133393", false, "4006381333931", ""},
        {"4006381333931", false, "4006381333931", ""},
        {"4006381333932", false, "", "wrong check digit 2 in 4006381333932: 400638133393 ends in 1"},
        {"40063813339", false, "", "has 11 digits"},
        {"40063813339312", false, "", "has 14 digits"},
        {"4006-38133393", false, "", "'-' is not a digit"},
        {"", false, "", "no GTIN"},
        {"abc", true, "0000000000000", ""},
        {"4006381333932", true, "4006381333931", ""},
        {"12345", true, "0000000123457", ""},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Text);
        std::string Gtin, Reason;
        EXPECT_EQ(CheckGtin(Row.Text, Row.Complete, Gtin, Reason), *Row.Gtin != 0);
        EXPECT_EQ(Gtin, Row.Gtin);
        EXPECT_NE(Reason.find(Row.Reason), std::string::npos) << Reason;
    }
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
        TReading{WEQEan::TSymbology::Ean13, AddOn});
    std::string Out;
    TItem I;
    for (std::size_t Number = 1; Reader.Next(I); ++Number)
        Out += std::to_string(Number) + "@" + std::to_string(I.Line) + ":" +
               (I.Rejected.empty() ? I.Gtin + (I.AddOn.empty() ? "" : "+" + I.AddOn) : "!" + I.Rejected) + "\n";
    return Out;
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
        {"a header line is rejected, the GTIN first", "gtin,name\n", "1@1:!'gtin' is not a GTIN: 'g' is not a digit\n"},
        {"an empty first field", ",12\n", "1@1:!no GTIN\n"},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        EXPECT_EQ(ReadText(Row.Input, Row.AddOn), Row.Items);
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
    const struct {
        const char* Name;
        std::vector<std::string> Args;
        int Columns, Rows; // 0, 0: refused
    } Rows[] = {
        {"A4 at 0.330 mm", {"--sheet", "A4"}, 5, 10},
        {"Letter at 0.330 mm", {"--sheet", "Letter"}, 5, 9},
        {"A4 at magnification 2", {"--sheet", "A4", "--magnification", "2"}, 2, 5},
        {"no margin", {"--sheet", "A4", "--margin", "0"}, 5, 11},
        {"fewer columns asked for", {"--sheet", "A4", "--columns", "3", "--rows", "4"}, 3, 4},
        {"more columns than fit", {"--sheet", "A4", "--columns", "6"}, 0, 0},
        {"margins that leave no room", {"--sheet", "A4", "--margin", "100"}, 0, 0},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        std::vector<std::string> Args = Row.Args;
        Args.push_back("1");
        const TParsed P = ParseOptions(Args, 1);
        ASSERT_EQ(P.Error, "");
        const TSheetLayout L = LayOutSheet(P.Options);
        if (Row.Columns == 0) {
            EXPECT_NE(L.Error, "");
            continue;
        }
        EXPECT_EQ(L.Error, "");
        EXPECT_EQ(L.Columns, Row.Columns);
        EXPECT_EQ(L.Rows, Row.Rows);
        EXPECT_GE(L.CellWidthMM, L.LabelWidthMM);
        EXPECT_GE(L.CellHeightMM, L.LabelHeightMM);
        EXPECT_LE(L.Columns * L.CellWidthMM, P.Options.Sheet->WidthMM - 2 * P.Options.MarginMM + 1e-9);
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

struct TRun {
    int Status = -1;
    std::string Out, Err;
};

enum class TAs { Self, BoundByPermissions };

// Runs weqbarcode in Dir. BoundByPermissions, when the tests run as root,
// takes away root's power to override file permissions (from the bounding
// set, so the program does not regain it), so that a folder's permissions
// bind; the user stays root, so a checkout in a private folder still runs.
// FileLimit caps the size of any file it writes.
TRun RunCli(const QString& Dir, const QStringList& Args, const QByteArray& Input = {}, TAs As = TAs::Self,
         rlim_t FileLimit = RLIM_INFINITY)
{
    QProcess P;
    P.setWorkingDirectory(Dir);
    P.setChildProcessModifier([As, FileLimit] {
        if (FileLimit != RLIM_INFINITY) {
            signal(SIGXFSZ, SIG_IGN); // a write past the limit then fails instead of killing
            const rlimit Limit{FileLimit, FileLimit};
            setrlimit(RLIMIT_FSIZE, &Limit);
        }
        if (As == TAs::BoundByPermissions && geteuid() == 0) {
            for (const int Capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
                if (prctl(PR_CAPBSET_DROP, Capability, 0, 0, 0) != 0)
                    _exit(99);
        }
    });
    P.start(QStringLiteral(WEQ_CLI), Args);
    P.write(Input);
    P.closeWriteChannel();
    TRun R;
    if (!P.waitForFinished(120000))
        return R;
    R.Status = P.exitStatus() == QProcess::NormalExit ? P.exitCode() : -1;
    R.Out = P.readAllStandardOutput().toStdString();
    R.Err = P.readAllStandardError().toStdString();
    return R;
}

QByteArray Read(const QString& Path)
{
    QFile F(Path);
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
}

// A PDF page as an image, by poppler's rasteriser.
QImage PdfPage(const QString& Pdf, int Page, int Dpi)
{
    QTemporaryDir Dir;
    QProcess P;
    P.setStandardErrorFile(QProcess::nullDevice());
    P.start("pdftoppm", {"-r", QString::number(Dpi), "-f", QString::number(Page), "-l", QString::number(Page), "-png",
                         "-singlefile", Pdf, Dir.filePath("p")});
    P.waitForFinished(60000);
    return QImage(Dir.filePath("p.png"));
}

std::string DecodeFile(const QString& Path)
{
    if (Path.endsWith(".png"))
        return DecodeEan13(QImage(Path));
    if (Path.endsWith(".svg"))
        return DecodeEan13(RenderSvg(Read(Path), 0.4 * TenPerModule, true));
    return DecodeEan13(PdfPage(Path, 1, 300));
}

const QStringList Gtins = {"400638133393", "590123412345", "978020137962", "000000123457", "871234567890"};

TEST(CliRunTest, EveryFormatDecodes)
{
    for (const char* Suffix : {"png", "svg", "pdf"}) {
        SCOPED_TRACE(Suffix);
        QTemporaryDir Dir;
        QFile List(Dir.filePath("list.txt"));
        ASSERT_TRUE(List.open(QIODevice::WriteOnly));
        List.write((Gtins.mid(2).join('\n') + '\n').toUtf8());
        List.close();
        const TRun R = RunCli(Dir.path(), {"-q", "-i", "list.txt", "-o", QString("out/{n}-{gtin}.") + Suffix,
                                        Gtins[0], Gtins[1]});
        EXPECT_EQ(R.Status, 0) << R.Err;
        EXPECT_EQ(R.Out + R.Err, "") << "a quiet success prints nothing";
        for (int I = 0; I < Gtins.size(); ++I) {
            std::string Gtin, Reason;
            CheckGtin(Gtins[I].toStdString(), false, Gtin, Reason);
            const QString Path = Dir.filePath(QString("out/%1-%2.%3").arg(I + 1, 5, 10, QChar('0')).arg(QString::fromStdString(Gtin)).arg(Suffix));
            EXPECT_EQ(DecodeFile(Path), Gtin) << Path.toStdString();
        }
    }
}

// Each symbology and add-on of the command line, in every format: the file
// name is the symbol's digits, and a reader reads what the item said.
TEST(CliRunTest, SymbologiesAndAddOnsDecodeInEveryFormat)
{
    struct TRow {
        const char* Name;
        QStringList Args;
        const char* File; // without its suffix
        const char* Read; // zxing-cpp's "FORMAT:digits addon"
    };
    const TRow Rows[] = {
        {"UPC-A as it stands", {"--symbology", "upca", "036000291452"}, "036000291452", "UPC-A:036000291452"},
        {"EAN-8", {"--symbology", "EAN8", "9638507"}, "96385074", "EAN-8:96385074"},
        {"UPC-E from its UPC-A", {"--symbology", "upce", "042100005264"}, "04252614", "UPC-E:04252614"},
        {"a book with its price", {"--add-on", "51995", "978020137962"}, "9780201379624",
         "EAN-13:9780201379624 51995"},
        {"the automatic choice of a GTIN-14", {"--symbology", "auto", "--add-on", "12", "00036000291452"},
         "036000291452", "UPC-A:036000291452 12"},
    };
    for (const TRow& Row : Rows) {
        for (const char* Suffix : {"png", "svg", "pdf"}) {
            SCOPED_TRACE(std::string(Row.Name) + ", " + Suffix);
            QTemporaryDir Dir;
            const TRun R = RunCli(Dir.path(), QStringList{"-q", "-o", QString("{gtin}.") + Suffix} + Row.Args);
            ASSERT_EQ(R.Status, 0) << R.Err;
            const QString Path = Dir.filePath(QString::fromLatin1(Row.File) + "." + Suffix);
            const QImage Image = Path.endsWith(".png")   ? QImage(Path)
                                 : Path.endsWith(".svg") ? RenderSvg(Read(Path), 0.4 * TenPerModule, true)
                                                         : PdfPage(Path, 1, 300);
            ASSERT_FALSE(Image.isNull()) << Path.toStdString() << " not written";
            QImage OnMargin(Image.size() + QSize(40, 40), QImage::Format_RGB32);
            OnMargin.fill(Qt::white);
            QPainter(&OnMargin).drawImage(20, 20, Image);
            EXPECT_EQ(DecodeFamily(OnMargin), Row.Read);
        }
    }
    QTemporaryDir Dir;
    const TRun Bad = RunCli(Dir.path(), {"--symbology", "upce", "036000291452", "0425261"});
    EXPECT_EQ(Bad.Status, 1);
    EXPECT_NE(Bad.Err.find("<arguments>:1: '036000291452': UPC-A 036000291452 cannot be zero-suppressed"),
              std::string::npos)
        << Bad.Err;
    for (const QStringList& Usage : {QStringList{"--symbology", "qr", "1"}, QStringList{"--add-on", "123", "1"}}) {
        const TRun R = RunCli(Dir.path(), Usage);
        EXPECT_EQ(R.Status, 2) << Usage.join(' ').toStdString();
    }
}

TEST(CliRunTest, ASheetHoldsEveryLabelAtItsPlace)
{
    QTemporaryDir Dir;
    QByteArray Input;
    std::vector<std::string> Expected;
    for (int I = 0; I < 60; ++I) { // 50 on the first A4 page, 10 on the second
        const std::string Body = std::to_string(100000000000LL + 7919LL * I);
        Input += QByteArray::fromStdString(Body) + '\n';
        Expected.push_back(WEQEan::CompleteGTIN(Body));
    }
    const TRun R = RunCli(Dir.path(), {"--sheet", "A4", "-i", "-", "-o", "s.pdf"}, Input);
    ASSERT_EQ(R.Status, 0) << R.Err;
    const TSheetLayout L = LayOutSheet(ParseOptions({"--sheet", "A4", "1"}, 1).Options);
    constexpr int Dpi = 300;
    const auto Px = [](double MM) { return int(MM / 25.4 * Dpi); };
    std::vector<std::string> Found;
    for (int Page = 1; Page <= 2; ++Page) {
        const QImage Image = PdfPage(Dir.filePath("s.pdf"), Page, Dpi);
        ASSERT_NEAR(Image.width(), Px(210.0), 1) << "the page is 210 mm exactly; the reader rounds up";
        for (int Cell = 0; Cell < L.Columns * L.Rows && Found.size() < Expected.size(); ++Cell)
            Found.push_back(DecodeEan13(Image.copy(Px(10 + Cell % L.Columns * L.CellWidthMM),
                                                   Px(10 + Cell / L.Columns * L.CellHeightMM), Px(L.CellWidthMM),
                                                   Px(L.CellHeightMM))));
    }
    EXPECT_EQ(Found, Expected) << "row by row, in the order of the input";
    EXPECT_TRUE(PdfPage(Dir.filePath("s.pdf"), 3, 50).isNull()) << "a third page";
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
         "shelf.txt:4: '12345' has 5 digits; a GTIN has 12, or 13 with its check digit\n"
         "shelf.txt:6: wrong check digit 2 in 4006381333932: 400638133393 ends in 1\n"
         "shelf.txt:8: 'x' is not a GTIN: 'x' is not a digit\n"
         "weqbarcode: 3 of 6 items rejected, 3 files written\n",
         3},
        {"two items for one file",
         {"-q", "-i", "shelf.txt", "-o", "b/{gtin}.svg"},
         "shelf.txt:4: '12345' has 5 digits; a GTIN has 12, or 13 with its check digit\n"
         "shelf.txt:6: wrong check digit 2 in 4006381333932: 400638133393 ends in 1\n"
         "shelf.txt:7: b/4006381333931.svg is also the file of shelf.txt:2\n"
         "shelf.txt:8: 'x' is not a GTIN: 'x' is not a digit\n"
         "weqbarcode: 4 of 6 items rejected, 2 files written\n",
         2},
        {"arguments and standard input",
         {"-q", "-o", "c/{n}.svg", "400638133393", "22", "-i", "-"},
         "<arguments>:2: '22' has 2 digits; a GTIN has 12, or 13 with its check digit\n"
         "<stdin>:4: '12345' has 5 digits; a GTIN has 12, or 13 with its check digit\n"
         "<stdin>:6: wrong check digit 2 in 4006381333932: 400638133393 ends in 1\n"
         "<stdin>:8: 'x' is not a GTIN: 'x' is not a digit\n"
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
        {"rejected", {"-q", "1234"}, 1, "<arguments>:1: '1234' has 4 digits"},
        {"usage error", {"--dpi", "x", "1"}, 2, "weqbarcode: --dpi: 'x' is not a resolution"},
        {"unreadable input", {"-i", "missing.txt"}, 2, "cannot read missing.txt: No such file or directory"},
        {"a grid that does not fit", {"--sheet", "A4", "--rows", "20", "1"}, 2, "fit 5 x 10 on A4"},
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
    EXPECT_EQ(RunCli(Dir.path(), {"--version"}).Out, "weqbarcode " WEQ_VERSION "\n");
}

// Nothing half-written: a folder that cannot be written to, and a write cut
// short by a file-size limit, leave no file and the old file as it was.
TEST(CliRunTest, AFailedWriteStopsAndLeavesNothingBehind)
{
    for (const char* Suffix : {"png", "svg", "pdf"}) {
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
    for (int I = 0; I < 40; ++I)
        Input += QByteArray::number(200000000000LL + 104729LL * I) + '\n';
    for (const char* Suffix : {"png", "svg", "pdf"}) {
        SCOPED_TRACE(Suffix);
        QTemporaryDir Dir;
        ASSERT_EQ(RunCli(Dir.path(), {"-q", "-j", "1", "-i", "-", "-o", QString("one/{n}.") + Suffix}, Input).Status, 0);
        ASSERT_EQ(RunCli(Dir.path(), {"-q", "-j", "8", "-i", "-", "-o", QString("eight/{n}.") + Suffix}, Input).Status, 0);
        const QStringList Files = QDir(Dir.filePath("one")).entryList(QDir::Files);
        ASSERT_EQ(Files.size(), 40);
        EXPECT_EQ(QDir(Dir.filePath("eight")).entryList(QDir::Files), Files);
        for (const QString& Name : Files)
            EXPECT_EQ(WithoutDate(Read(Dir.filePath("one/" + Name))), WithoutDate(Read(Dir.filePath("eight/" + Name))))
                << Name.toStdString();
    }
}

} // namespace
