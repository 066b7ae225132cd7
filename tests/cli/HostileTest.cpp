// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// The command line against what an adversary hands it: hostile bytes in its
// inputs, destinations that are links, read-only or in the way, signals in
// the middle of a batch, and inputs whose length would make memory grow.
// The program runs in a child whose exit, messages, files and peak memory
// are measured.
#include "Batch.h"
#include "Budget.h"
#include "Items.h"
#include "Options.h"
#include "Sheet.h"
#include "Text.h"
#include "cli/Child.h"

#include <ean/WEQEan.h>
#include <ean/WEQEanExport.h>
#include "symbol/Decode.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <linux/capability.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace WEQCli;

namespace {

// --- The reader, in process ---------------------------------------------------

// Each item as "line:gtin" or "line:!reason", one a line, or why the input
// was refused; the bytes handed over Chunk at a time.
std::string Items(const std::string& Bytes, std::size_t Chunk, const TReading& Reading = {})
{
    std::size_t At = 0;
    TItemReader Reader(
        [&](char* Buffer, std::size_t Size) {
            const std::size_t N = std::min({Size, Chunk, Bytes.size() - At});
            std::memcpy(Buffer, Bytes.data() + At, N);
            At += N;
            return long(N);
        },
        Reading);
    if (const std::string Refusal = Reader.Refusal(); !Refusal.empty())
        return "refused: " + Refusal;
    std::string Out;
    TItem I;
    while (Reader.Next(I))
        Out += std::to_string(I.Line) + ":" + (I.Rejected.empty() ? I.Gtin() : "!" + I.Rejected) + "\n";
    return Out;
}

// ASCII as UTF-16 (Width 2) or UTF-32 (4), with its byte order mark or without.
std::string Wide(const std::string& Ascii, std::size_t Width, bool BigEndian, bool Bom)
{
    std::string Out;
    for (const char32_t C : (Bom ? U"\uFEFF" : U"") + std::u32string(Ascii.begin(), Ascii.end()))
        for (std::size_t I = 0; I < Width; ++I)
            Out += char(C >> 8 * (BigEndian ? Width - 1 - I : I) & 0xFF);
    return Out;
}

const std::string TwoGtins = "400638133393\n590123412345\n";
const std::string Utf16Refused = "refused: the input is UTF-16; save it as UTF-8 or ASCII";
const std::string Utf32Refused = "refused: the input is UTF-32; save it as UTF-8 or ASCII";

TEST(CliHostileTest, LinesAreBytesAndBadBytesRejectTheirLineAlone)
{
    using namespace std::string_literals;
    const std::string Long(MaxLineLength, '1');
    const struct {
        const char* Name;
        std::string Input, Items;
    } Rows[] = {
        {"a NUL rejects its line, the next lines stay lines", "40063\0junk\n8133393\n5012345678900\n"s,
         "1:!byte 6 is \\x00, a control character: '40063\\x00junk'\n"
         "2:!'8133393': EAN-13 takes 12 digits, or 13 with the check digit; the text has 7 digits\n3:5012345678900\n"},
        {"UTF-16 LE with its BOM", Wide(TwoGtins, 2, false, true), Utf16Refused},
        {"UTF-16 BE with its BOM", Wide(TwoGtins, 2, true, true), Utf16Refused},
        {"UTF-16 LE without a BOM", Wide(TwoGtins, 2, false, false), Utf16Refused},
        {"UTF-16 BE without a BOM", Wide(TwoGtins, 2, true, false), Utf16Refused},
        {"UTF-32 LE with its BOM", Wide(TwoGtins, 4, false, true), Utf32Refused},
        {"UTF-32 BE without a BOM", Wide(TwoGtins, 4, true, false), Utf32Refused},
        {"a UTF-8 BOM is skipped", "\xEF\xBB\xBF" + TwoGtins, "1:4006381333931\n2:5901234123457\n"},
        {"a BOM past the start is a bad byte", "400638133393\n\xEF\xBB\xBF" "590123412345\n",
         "1:4006381333931\n2:!byte 1 is \\xef, not printable UTF-8: '\\xef\\xbb\\xbf590123412345'\n"},
        {"CR-only line ends make one line", "400638133393\r590123412345\r",
         "1:!byte 13 is \\x0d, a control character (lines end in LF or CR LF): '400638133393\\x0d590123412345'\n"},
        {"CRLF line ends", "400638133393\r\n590123412345\r\n", "1:4006381333931\n2:5901234123457\n"},
        {"a raw C1 byte", "\x9b" "31m\n", "1:!byte 1 is \\x9b, not printable UTF-8: '\\x9b31m'\n"},
        {"a C1 character in UTF-8", "12\xC2\x9b" "1m\n", "1:!byte 3 is \\xc2, not printable UTF-8: '12\\xc2\\x9b1m'\n"},
        {"ESC and DEL", "\x1b[2J\n1\x7f\n",
         "1:!byte 1 is \\x1b, a control character: '\\x1b[2J'\n2:!byte 2 is \\x7f, a control character: '1\\x7f'\n"},
        {"a tab around a field is space, inside one it parts the GTIN from its add-on",
         "\t400638133393\t,12\n4006\t38133393\n\"4006\t38133393\"\n",
         "1:4006381333931\n2:!'4006\\x0938133393': EAN-13 takes 12 digits, or 13 with the check digit; the text has 4 "
         "digits\n3:!'\"4006\\x0938133393\"': position 5: byte 0x09 is not a digit\n"},
        {"UTF-8 is text, named as it stands", "400638133393,Cr\xC3\xA8me\n",
         "1:!'400638133393,Cr\xC3\xA8me': add-on position 1: 'C' is not a digit\n"},
        {"comments and blank lines are no items whatever their bytes", "# Cr\xC3\xA8me \0\n \t\n400638133393\n"s,
         "3:4006381333931\n"},
        {"the last line without its newline", "400638133393\n1\0"s,
         "1:4006381333931\n2:!byte 2 is \\x00, a control character: '1\\x00'\n"},
        {"the longest line with CRLF is no longer", Long + "\r\n",
         "1:!'" + std::string(40, '1') + "...': the text has 4096 characters; no symbol takes more than 1024\n"},
        {"one byte more is too long", Long + "1\n400638133393\n",
         "1:!a line longer than 4096 characters\n2:4006381333931\n"},
        {"a bad byte far in is shown where it is", std::string(2000, '7') + '\0' + std::string(1000, '8') + "\n",
         "1:!byte 2001 is \\x00, a control character: '..." + std::string(30, '7') + "\\x00" + std::string(29, '8') +
             "...'\n"},
        {"an empty input", "", ""},
        {"two bytes are too few to tell UTF-16", "1\0"s, "1:!byte 2 is \\x00, a control character: '1\\x00'\n"},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        // However the bytes arrive, the lines are the same.
        for (const std::size_t Chunk : {std::size_t(1), std::size_t(3), std::size_t(4097), SIZE_MAX})
            EXPECT_EQ(Items(Row.Input, Chunk), Row.Items) << "read " << Chunk << " bytes at a time";
    }
}

TEST(CliHostileTest, MessagesShowPrintableTextAndEscapeEveryOtherByte)
{
    const struct {
        std::string Text, Shown;
    } Rows[] = {
        {"plain text, 'quoted' \\ as is", "plain text, 'quoted' \\ as is"},
        {std::string("\0\x1b[31m\t\r\n", 9), "\\x00\\x1b[31m\\x09\\x0d\\x0a"},
        {"\x7f\x80\x9b\xc2\x9b\xff", "\\x7f\\x80\\x9b\\xc2\\x9b\\xff"},
        {"K\xc3\xa4se/\xe2\x80\xae.png", "K\xc3\xa4se/\\xe2\\x80\\xae.png"}, // a direction override is escaped
        {"\xed\xa0\x80\xe0\x80\xaf", "\\xed\\xa0\\x80\\xe0\\x80\\xaf"},          // a surrogate, an overlong '/'
        {"\xef\xbc\x94\xc2\xa0", "\xef\xbc\x94\xc2\xa0"},                                  // full-width 4, no-break space
    };
    for (const auto& Row : Rows)
        EXPECT_EQ(Escape(Row.Text), Row.Shown);
    EXPECT_EQ(Quote(std::string(50, 'a') + "\x1b"), "'" + std::string(40, 'a') + "...'");
    EXPECT_EQ(Quote("\x1b", 40), "'\\x1b'");
}

// --- The program, in a child ------------------------------------------------------

// Every entry under Dir, hidden ones too, as "a/b", sorted.
QStringList Listing(const QString& Dir)
{
    QStringList Out;
    for (const QString& Name : QDir(Dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                                   QDir::NoDotAndDotDot, QDir::Name)) {
        Out << Name;
        const QFileInfo Info(Dir + "/" + Name);
        if (Info.isDir() && !Info.isSymLink())
            for (const QString& Inner : Listing(Dir + "/" + Name))
                Out << Name + "/" + Inner;
    }
    Out.sort();
    return Out;
}

// No byte of a message may act on the terminal.
bool OnlyPrintable(const std::string& Err)
{
    return std::all_of(Err.begin(), Err.end(),
                       [](char C) { return C == '\n' || Printable(static_cast<unsigned char>(C)); });
}

TEST(CliHostileTest, HostileInputFilesGiveDefinedOutcomes)
{
    using namespace std::string_literals;
    const struct {
        const char* Name;
        std::string File;
        std::vector<std::string> Args;
        int Status;
        std::string Err;
        QStringList Written;
    } Rows[] = {
        {"a NUL splits no item and joins none", "40063\0junk\n8133393\n5012345678900\n"s, {},
         1,
         "in.txt:1: byte 6 is \\x00, a control character: '40063\\x00junk'\n"
         "in.txt:2: '8133393': EAN-13 takes 12 digits, or 13 with the check digit; the text has 7 digits\n"
         "weqbarcode: 2 of 3 items rejected, 1 files written\n",
         {"out", "out/00003-5012345678900.svg"}},
        {"UTF-16 is refused whole", Wide(TwoGtins, 2, false, true), {}, 2,
         "weqbarcode: cannot read in.txt: the input is UTF-16; save it as UTF-8 or ASCII\n", {}},
        {"UTF-16 is refused whole, --complete too", Wide(TwoGtins, 2, true, false), {"--complete"}, 2,
         "weqbarcode: cannot read in.txt: the input is UTF-16; save it as UTF-8 or ASCII\n", {}},
        {"UTF-32 is refused whole", Wide(TwoGtins, 4, false, false), {}, 2,
         "weqbarcode: cannot read in.txt: the input is UTF-32; save it as UTF-8 or ASCII\n", {}},
        {"a UTF-8 BOM", "\xEF\xBB\xBF" "400638133393\n", {}, 0, "", {"out", "out/00001-4006381333931.svg"}},
        {"C1 and ESC never reach the terminal", "\xC2\x9b" "2J\n\x9b" "2J\n\x1b]0;x\x07\n", {"--complete"}, 1,
         "in.txt:1: byte 1 is \\xc2, not printable UTF-8: '\\xc2\\x9b2J'\n"
         "in.txt:2: byte 1 is \\x9b, not printable UTF-8: '\\x9b2J'\n"
         "in.txt:3: byte 1 is \\x1b, a control character: '\\x1b]0;x\\x07'\n"
         "weqbarcode: 3 of 3 items rejected, 0 files written\n",
         {}},
        {"CR-only line ends", "400638133393\r590123412345\r", {}, 1,
         "in.txt:1: byte 13 is \\x0d, a control character (lines end in LF or CR LF): "
         "'400638133393\\x0d590123412345'\n"
         "weqbarcode: 1 of 1 items rejected, 0 files written\n",
         {}},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        QTemporaryDir Dir;
        WriteFile(Dir.filePath("in.txt"), Row.File);
        std::vector<std::string> Args{"-q", "-i", "in.txt", "-o", "out/{n}-{gtin}.svg"};
        Args.insert(Args.end(), Row.Args.begin(), Row.Args.end());
        const TExit R = RunChild(Dir.path(), Args);
        EXPECT_EQ(R.Status, Row.Status);
        EXPECT_EQ(R.Err, Row.Err);
        QStringList Written = Listing(Dir.path());
        Written.removeAll("in.txt");
        EXPECT_EQ(Written, Row.Written);
    }
}

TEST(CliHostileTest, UserTextInEveryMessageIsEscaped)
{
    QTemporaryDir Dir;
    WriteFile(Dir.filePath("in\x1b[2J.txt"), "1\n");
    WriteFile(Dir.filePath("e\x1b]8.txt"), "9638507+12\n");
    const std::string Summary = "weqbarcode: X 0.330 mm (100.0 %)\n";
    WriteFile(Dir.filePath("file"), "");
    const struct {
        const char* Name;
        std::vector<std::string> Args;
        int Status;
        std::string Err;
    } Rows[] = {
        {"arguments", {"-o", "{gtin}.svg", "\x1b[2J", "12\xC2\x9b"}, 1,
         Summary + "<arguments>:1: byte 1 is \\x1b, a control character: '\\x1b[2J'\n"
         "<arguments>:2: byte 3 is \\xc2, not printable UTF-8: '12\\xc2\\x9b'\n"
         "weqbarcode: 2 of 2 items rejected, 0 files written\n"},
        {"an input's name", {"-i", "in\x1b[2J.txt", "-o", "{gtin}.svg"}, 1,
         Summary + "in\\x1b[2J.txt:1: '1': EAN-13 takes 12 digits, or 13 with the check digit; the text has 1 digit\n"
         "weqbarcode: 1 of 1 items rejected, 0 files written\n"},
        {"a missing input", {"-i", "no\x9b.txt"}, 2,
         "weqbarcode: cannot read no\\x9b.txt: No such file or directory\n"},
        {"a folder that cannot be made", {"-o", "file/\x1b[2J/{gtin}.svg", "400638133393"}, 2,
         Summary + "weqbarcode: cannot make folder file/\\x1b[2J: Not a directory\n"},
        {"an input's name in a finding", {"--symbology", "ean8", "-i", "e\x1b]8.txt", "-o", "{gtin}.svg"}, 0,
         Summary + "e\\x1b]8.txt:1: warning: an add-on on EAN-8 is not a GS1 combination\n"},
        {"an option's value", {"--dpi", "\x1b[2J"}, 2,
         "weqbarcode: --dpi: '\\x1b[2J' is not a resolution from 50 to 9600 dpi\nTry 'weqbarcode --help'.\n"},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        const TExit R = RunChild(Dir.path(), Row.Args);
        EXPECT_EQ(R.Status, Row.Status);
        EXPECT_EQ(R.Err, Row.Err);
        EXPECT_TRUE(OnlyPrintable(R.Err));
    }
    // Completed items are digits: no text of an item reaches a file name.
    EXPECT_EQ(RunChild(Dir.path(), {"--complete", "-o", "c/{gtin}.svg", "--", "a/../b", "-5"}).Status, 0);
    EXPECT_EQ(Listing(Dir.filePath("c")), (QStringList{"0000000000000.svg", "0000000000055.svg"}));
}

// --- Destinations -------------------------------------------------------------

TEST(CliHostileTest, DestinationsAreReplacedNeverFollowedOrRefused)
{
    struct TRow {
        const char* Name;
        std::function<void(const QString&)> Prepare;
        std::vector<std::string> Args;
        int Status;
        std::string Err;
        std::function<void(const QString&)> Check;
        bool BoundByPermissions = false;
        // The library's export of the same destination: FORMAT PATH, and its
        // reason for refusing (empty: it writes, and Check holds after it).
        std::vector<std::string> Export;
        std::string ExportRefusal;
    };
    const auto Regular = [](const QString& Path) {
        const QFileInfo I(Path);
        return I.exists() && I.isFile() && !I.isSymLink() && I.size() > 0;
    };
    const TRow Rows[] = {
        {"a link to a file is replaced, its target untouched",
         [](const QString& D) {
             WriteFile(D + "/precious", "precious");
             QFile::link(D + "/precious", D + "/a.svg");
         },
         {"-q", "-o", "a.svg", "400638133393"}, 0, "",
         [&](const QString& D) {
             EXPECT_EQ(ReadFile(D + "/precious"), "precious");
             EXPECT_TRUE(Regular(D + "/a.svg"));
         },
         false, {"svg", "a.svg"}, ""},
        {"a dangling link is replaced, nothing made where it points",
         [](const QString& D) { QFile::link(D + "/nowhere/x.pdf", D + "/s.pdf"); },
         {"-q", "--sheet", "A4", "-o", "s.pdf", "400638133393"}, 0, "",
         [&](const QString& D) {
             EXPECT_FALSE(QFileInfo::exists(D + "/nowhere"));
             EXPECT_TRUE(Regular(D + "/s.pdf"));
         },
         false, {"pdf", "s.pdf"}, ""},
        {"another user's read-only file in a shared folder is refused",
         [](const QString& D) {
             QDir(D).mkdir("shared");
             chmod((D + "/shared").toLocal8Bit().constData(), 0777);
             WriteFile(D + "/shared/ro.svg", "theirs");
             if (chown((D + "/shared/ro.svg").toLocal8Bit().constData(), 12345, 12345) != 0) {
                 // Not root: the file is the runner's own, and its mode binds all the same.
             }
             chmod((D + "/shared/ro.svg").toLocal8Bit().constData(), 0444);
         },
         {"-q", "-o", "shared/ro.svg", "400638133393"}, 2,
         "weqbarcode: cannot write shared/ro.svg: Permission denied\n",
         [](const QString& D) { EXPECT_EQ(ReadFile(D + "/shared/ro.svg"), "theirs"); }, true,
         {"svg", "shared/ro.svg"}, "Cannot write shared/ro.svg: Permission denied"},
        {"a file where a folder goes",
         [](const QString& D) { WriteFile(D + "/file", "x"); },
         {"-q", "-o", "file/{n}.png", "400638133393"}, 2, "weqbarcode: cannot make folder file: Not a directory\n",
         [](const QString& D) { EXPECT_EQ(ReadFile(D + "/file"), "x"); }, false,
         {"png", "file/x.png"}, "Cannot write file/x.png: Not a directory"},
        {"a folder where the file goes",
         [](const QString& D) { QDir(D).mkdir("d.pdf"); },
         {"-q", "--sheet", "Letter", "-o", "d.pdf", "400638133393"}, 2,
         "weqbarcode: cannot write d.pdf: Is a directory\n",
         [](const QString& D) { EXPECT_TRUE(QFileInfo(D + "/d.pdf").isDir()); }, false,
         {"pdf", "d.pdf"}, "Cannot write d.pdf: Is a directory"},
        {"a name of 245 bytes replaces its file, the temporary's name cut short",
         [](const QString& D) { WriteFile(D + "/" + QString(240, 'a') + "b.png", "old"); },
         {"-q", "-o", std::string(240, 'a') + "b.png", "4006381333931"}, 0, "",
         [&](const QString& D) {
             EXPECT_TRUE(Regular(D + "/" + QString(240, 'a') + "b.png"));
             EXPECT_NE(ReadFile(D + "/" + QString(240, 'a') + "b.png"), "old");
         },
         false, {"png", std::string(240, 'a') + "b.png"}, ""},
        {"a sheet of no label leaves the file there alone",
         [](const QString& D) { WriteFile(D + "/prev.pdf", "precious"); },
         {"-q", "--sheet", "A4", "-o", "prev.pdf", "4006381333932"}, 1,
         "<arguments>:1: '4006381333932': position 13: the check digit of 400638133393 is 1, not 2\n"
         "weqbarcode: 1 of 1 items rejected, 0 labels written\n",
         [](const QString& D) { EXPECT_EQ(ReadFile(D + "/prev.pdf"), "precious"); }, false, {}, ""},
        {"a sheet's missing folders are made",
         [](const QString&) {},
         {"-q", "--sheet", "A4", "-o", "new/deeper/s.pdf", "400638133393"}, 0, "",
         [&](const QString& D) { EXPECT_TRUE(Regular(D + "/new/deeper/s.pdf")); }, false, {}, ""},
    };
    // The library makes no folders: a missing one is its caller's to make.
    const TRow MissingFolder{"a missing folder", [](const QString&) {}, {}, 0, "", {}, false,
                             {"svg", "new/s.svg"}, "Cannot write new/s.svg: No such file or directory"};
    for (const TRow& Row : Rows) {
        // With and without a file system's unnamed files.
        for (const std::vector<std::string>& Env : {std::vector<std::string>{}, {"WEQBARCODE_NO_TMPFILE=1"}}) {
            SCOPED_TRACE(std::string(Row.Name) + (Env.empty() ? "" : ", named temporaries"));
            QTemporaryDir Dir;
            Row.Prepare(Dir.path());
            const TExit R = RunChild(Dir.path(), Row.Args, {}, Env, Row.BoundByPermissions);
            EXPECT_EQ(R.Status, Row.Status);
            EXPECT_EQ(R.Err, Row.Err);
            Row.Check(Dir.path());
            EXPECT_EQ(Listing(Dir.path()).filter("weqtmp"), QStringList()) << "a temporary was left";
        }
    }
    std::vector<const TRow*> Exports{&MissingFolder};
    for (const TRow& Row : Rows)
        if (!Row.Export.empty())
            Exports.push_back(&Row);
    for (const TRow* Row : Exports) {
        SCOPED_TRACE(std::string(Row->Name) + ", the library's export");
        QTemporaryDir Dir;
        Row->Prepare(Dir.path());
        const TExit R = RunChild(Dir.path(), Row->Export, {}, {"QT_QPA_PLATFORM=offscreen"}, Row->BoundByPermissions,
                                 WEQ_EXPORT_FILE);
        EXPECT_EQ(R.Status, Row->ExportRefusal.empty() ? 0 : 1);
        EXPECT_NE(R.Err.find(Row->ExportRefusal), std::string::npos) << R.Err;
        if (Row->ExportRefusal.empty() || Row->BoundByPermissions)
            Row->Check(Dir.path());
        EXPECT_EQ(Listing(Dir.path()).filter("weqtmp"), QStringList()) << "a temporary was left";
        if (Row == &MissingFolder) {
            EXPECT_FALSE(QFileInfo::exists(Dir.filePath("new")));
        }
    }
    // A name cut short at a NUL would write somewhere else.
    QTemporaryDir Dir;
    QString Error;
    EXPECT_FALSE(WEQEan::ExportSvg("400638133393", Dir.filePath(QString::fromUtf8("a\0b.svg", 7)), {}, &Error));
    EXPECT_TRUE(Error.endsWith(": the name holds a NUL character")) << Error.toStdString();
    EXPECT_EQ(Listing(Dir.path()), QStringList());
}

// Standard output or standard error on a full disk: whatever did not reach
// them is a failed write, status 2, said on standard error where it can be.
TEST(CliHostileTest, AFullStandardStreamIsAFailedWrite)
{
    const struct {
        const char* Name;
        const char* Redirect;
        std::vector<std::string> Args;
        std::string Err; // a part of standard error; empty: none expected
    } Rows[] = {
        {"grades", ">/dev/full", {"--verify", "-o", "o/{n}.png", "4006381333931"},
         "weqbarcode: cannot write standard output: No space left on device"},
        {"the help", ">/dev/full", {"--help"}, "cannot write standard output"},
        {"the version", ">/dev/full", {"--version"}, "cannot write standard output"},
        {"a rejection's reason", "2>/dev/full", {"-o", "o/{n}.svg", "4006381333932"}, ""},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        QTemporaryDir Dir;
        std::vector<std::string> Args{"-c", std::string("exec \"$0\" \"$@\" ") + Row.Redirect, WEQ_CLI};
        Args.insert(Args.end(), Row.Args.begin(), Row.Args.end());
        const TExit R = RunChild(Dir.path(), Args, {}, {}, false, "/bin/sh");
        EXPECT_EQ(R.Status, 2) << R.Err;
        EXPECT_NE(R.Err.find(Row.Err), std::string::npos) << R.Err;
    }
}

// --- Signals ---------------------------------------------------------------------

// Waits up to ten seconds for What to hold.
bool Within10s(const std::function<bool()>& What)
{
    const auto End = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!What()) {
        if (std::chrono::steady_clock::now() > End)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

std::string GtinLines(int Count)
{
    std::string Out;
    for (int I = 0; I < Count; ++I)
        Out += std::to_string(300000000000LL + 7919LL * I) + "\n";
    return Out;
}

TEST(CliHostileTest, ASignalLeavesNoTemporaryBehind)
{
    const std::vector<std::string> Named{"WEQBARCODE_NO_TMPFILE=1"};
    for (const int Sig : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(strsignal(Sig));
        {
            // Mid-sheet: its input still open, its temporary there.
            QTemporaryDir Dir;
            TChild C(Dir.path(), {"--sheet", "A4", "-i", "-", "-o", "labels.pdf"}, Named);
            C.Write(GtinLines(100));
            ASSERT_TRUE(Within10s([&] { return !Listing(Dir.path()).filter("weqtmp").empty(); }));
            C.Signal(Sig);
            const TExit R = C.Wait(false);
            EXPECT_EQ(R.Signal, Sig) << R.Err;
            EXPECT_EQ(Listing(Dir.path()), QStringList());
        }
        {
            // Mid-batch: files written, others being written.
            QTemporaryDir Dir;
            WriteFile(Dir.filePath("in.txt"), GtinLines(20000));
            TChild C(Dir.path(), {"-q", "-j", "2", "-i", "in.txt", "-o", "out/{n}.svg"}, Named);
            ASSERT_TRUE(Within10s([&] { return QDir(Dir.filePath("out")).count() > 200; }));
            C.Signal(Sig);
            const TExit R = C.Wait(false);
            EXPECT_EQ(R.Signal, Sig) << R.Err;
            const QStringList Files = Listing(Dir.filePath("out"));
            EXPECT_LT(Files.size(), 20000);
            EXPECT_EQ(Files.filter("weqtmp"), QStringList());
            for (const QString& Name : Files)
                ASSERT_TRUE(ReadFile(Dir.filePath("out/" + Name)).ends_with("</svg>\n")) << Name.toStdString();
        }
    }
}

TEST(CliHostileTest, ALaterRunRemovesWhatAKilledOneLeft)
{
    const std::vector<std::string> Named{"WEQBARCODE_NO_TMPFILE=1"};
    QTemporaryDir Dir;
    {
        TChild C(Dir.path(), {"--sheet", "A4", "-i", "-", "-o", "labels.pdf"}, Named);
        C.Write(GtinLines(100));
        ASSERT_TRUE(Within10s([&] { return !Listing(Dir.path()).filter("weqtmp").empty(); }));
        C.Signal(SIGKILL);
        EXPECT_EQ(C.Wait(false).Signal, SIGKILL);
    }
    const QStringList Left = Listing(Dir.path());
    ASSERT_EQ(Left.size(), 1);
    // Beside it: one of a process alive (this one), and one of a killed
    // process for another name. Neither is the next run's to remove.
    const QString Stale = Left[0];
    const qsizetype Tag = Stale.lastIndexOf(".weqtmp-") + 8;
    const QString Alive = Stale.left(Tag) + QString::number(getpid()) + Stale.mid(Stale.indexOf('-', Tag));
    const QString Other = ".other.pdf" + Stale.mid(Stale.lastIndexOf(".weqtmp-"));
    QFile::copy(Dir.filePath(Stale), Dir.filePath(Alive));
    QFile::copy(Dir.filePath(Stale), Dir.filePath(Other));
    EXPECT_EQ(RunChild(Dir.path(), {"--sheet", "A4", "-o", "labels.pdf", "400638133393"}, {}, Named).Status, 0);
    QStringList Expected{Alive, Other, "labels.pdf"};
    Expected.sort();
    EXPECT_EQ(Listing(Dir.path()), Expected);
}

// --- Memory ------------------------------------------------------------------------

} // namespace
