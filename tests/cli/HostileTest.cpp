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

struct TExit {
    int Status = -1; // the exit status; -1 when a signal ended it
    int Signal = 0;
    long PeakKB = 0; // its peak resident memory
    std::string Err;
};

// weqbarcode (or Program) in Dir, its standard input a pipe the test holds,
// standard error to a file (or nowhere), its peak memory from wait4.
class TChild {
public:
    TChild(const QString& Dir, const std::vector<std::string>& Args, const std::vector<std::string>& Env = {},
           bool KeepErr = true, bool BoundByPermissions = false, const char* Program = WEQ_CLI)
    {
        int Pipe[2];
        if (pipe2(Pipe, O_CLOEXEC) != 0)
            return;
        ErrPath = KeepErr ? ErrDir.filePath("err").toStdString() : "/dev/null";
        const std::string Where = Dir.toStdString();
        std::vector<std::string> Argv{Program};
        Argv.insert(Argv.end(), Args.begin(), Args.end());
        std::vector<char*> A, E;
        for (std::string& S : Argv)
            A.push_back(S.data());
        A.push_back(nullptr);
        std::vector<std::string> Environment = Env;
        for (char** P = environ; *P; ++P)
            Environment.emplace_back(*P);
        for (std::string& S : Environment)
            E.push_back(S.data());
        E.push_back(nullptr);
        Pid = fork();
        if (Pid == 0) {
            // Only calls that are safe between fork and exec.
            const int Err = open(ErrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int Null = open("/dev/null", O_WRONLY);
            if (Err < 0 || Null < 0 || dup2(Pipe[0], 0) < 0 || dup2(Null, 1) < 0 || dup2(Err, 2) < 0 ||
                chdir(Where.c_str()) != 0)
                _exit(98);
            // Root keeps its user but loses its power over permissions, so that
            // a file's mode binds (the capabilities leave the bounding set).
            if (BoundByPermissions && geteuid() == 0)
                for (const int Capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
                    if (prctl(PR_CAPBSET_DROP, Capability, 0, 0, 0) != 0)
                        _exit(99);
            execve(A[0], A.data(), E.data());
            _exit(97);
        }
        close(Pipe[0]);
        Input = Pipe[1];
    }
    ~TChild()
    {
        if (Input >= 0)
            close(Input);
        if (Pid > 0 && !Reaped) {
            kill(Pid, SIGKILL);
            waitpid(Pid, nullptr, 0);
        }
    }

    void Write(const std::string& Bytes)
    {
        for (std::size_t At = 0; At < Bytes.size();) {
            const ssize_t N = write(Input, Bytes.data() + At, Bytes.size() - At);
            if (N <= 0)
                return;
            At += std::size_t(N);
        }
    }
    void CloseInput()
    {
        if (Input >= 0)
            close(Input);
        Input = -1;
    }
    void Signal(int Sig) { kill(Pid, Sig); }
    // Closing its input first, unless it is to stay open until the child ends.
    TExit Wait(bool Close = true)
    {
        if (Close)
            CloseInput();
        TExit R;
        int Status = 0;
        rusage Usage{};
        if (Pid <= 0 || wait4(Pid, &Status, 0, &Usage) != Pid)
            return R;
        Reaped = true;
        R.Status = WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
        R.Signal = WIFSIGNALED(Status) ? WTERMSIG(Status) : 0;
        R.PeakKB = Usage.ru_maxrss;
        // The last megabyte: enough for the last lines of millions.
        std::ifstream Err(ErrPath, std::ios::binary | std::ios::ate);
        const std::streamoff Size = Err.tellg();
        Err.seekg(std::max<std::streamoff>(0, Size - (1 << 20)));
        R.Err.assign(std::istreambuf_iterator<char>(Err), {});
        return R;
    }

private:
    QTemporaryDir ErrDir;
    std::string ErrPath;
    pid_t Pid = -1;
    int Input = -1;
    bool Reaped = false;
};

TExit RunChild(const QString& Dir, const std::vector<std::string>& Args, const std::string& Input = {},
               const std::vector<std::string>& Env = {}, bool BoundByPermissions = false,
               const char* Program = WEQ_CLI)
{
    TChild C(Dir, Args, Env, true, BoundByPermissions, Program);
    C.Write(Input);
    return C.Wait();
}

void WriteFile(const QString& Path, const std::string& Bytes)
{
    std::ofstream(Path.toStdString(), std::ios::binary) << Bytes;
}

std::string ReadFile(const QString& Path)
{
    std::ifstream In(Path.toStdString(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(In), {});
}

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

// Lines of one character and every hundredth a GTIN of 500 (so that half of
// them are files taken already), as a file of Count lines.
std::string MixedLines(std::size_t Count)
{
    std::string Out;
    Out.reserve(Count * 3);
    for (std::size_t I = 0; I < Count; ++I)
        Out += I % 100 ? "1\n" : std::to_string(400000000000LL + 13 * (I / 100 % 500)) + "\n";
    return Out;
}

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer keeps freed memory in quarantine and runs several times slower.
constexpr bool Instrumented = true;
#else
constexpr bool Instrumented = false;
#endif

TEST(CliHostileTest, MemoryDoesNotGrowWithTheInput)
{
    if (Instrumented)
        GTEST_SKIP() << "the address sanitizer's memory is not the program's";
    QTemporaryDir Dir;
    const auto Peak = [&](const std::string& File, std::size_t Count) {
        WriteFile(Dir.filePath("in.txt"), MixedLines(Count));
        TChild C(Dir.path(), {"-i", "in.txt", "-o", File}, {}, false);
        const TExit R = C.Wait();
        EXPECT_EQ(R.Status, 1);
        return R.PeakKB;
    };
    const long Small = Peak("a/{gtin}.svg", 1000), Large = Peak("b/{gtin}.svg", 1000000);
    EXPECT_EQ(QDir(Dir.filePath("b")).entryList(QDir::Files).size(), 500);
    EXPECT_LT(Large, Small + 100 * 1024) << "a million lines: " << Large << " KB, a thousand: " << Small << " KB";

    // 100 MB of one-character lines (an item, a comment, fourteen blank lines
    // over and over), and one line of 100 MB.
    constexpr std::size_t Hundred = 100u << 20;
    const struct {
        const char* Name;
        std::function<std::string()> Input;
        std::string Last; // the last line of the messages
    } Rows[] = {
        {"one-character lines",
         [] {
             std::string Block = "1\n#\n\t\n", Lines;
             while (Block.size() < 32)
                 Block += " \n";
             while (Lines.size() < Hundred)
                 Lines += Block;
             return Lines;
         },
         "weqbarcode: 3276800 of 3276800 items rejected, 0 files written\n"},
        {"one line", [] { return std::string(Hundred, '1').append("\n400638133393\n"); },
         "weqbarcode: 1 of 2 items rejected, 1 files written\n"},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        WriteFile(Dir.filePath("big.txt"), Row.Input());
        const TExit R = RunChild(Dir.path(), {"-i", "big.txt", "-o", "c/{n}.svg"});
        QFile::remove(Dir.filePath("big.txt"));
        EXPECT_EQ(R.Status, 1);
        EXPECT_LT(R.PeakKB, 200 * 1024);
        EXPECT_TRUE(R.Err.ends_with(Row.Last)) << R.Err.substr(R.Err.size() - std::min<std::size_t>(R.Err.size(), 200));
    }
}

// A sheet at print-run scale: each character shape written once, each label
// a few operators, so that time and size grow with the labels and memory
// does not; its first and last pages still decode.
TEST(CliHostileTest, AHundredThousandLabelSheetIsQuickAndSmall)
{
    QTemporaryDir Dir;
    std::string Lines;
    for (int I = 0; I < 100000; ++I)
        Lines += std::to_string(400000000000LL + 7919LL * I) + "\n";
    WriteFile(Dir.filePath("in.txt"), Lines);
    const auto Start = std::chrono::steady_clock::now();
    const TExit R = RunChild(Dir.path(), {"-q", "--sheet", "A4", "-i", "in.txt", "-o", "run.pdf"});
    const double Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
    ASSERT_EQ(R.Status, 0) << R.Err;
    if (!Instrumented) {
        EXPECT_LT(Seconds, 15.0);
        EXPECT_LT(R.PeakKB, 100 * 1024);
    }
    const qint64 Size = QFileInfo(Dir.filePath("run.pdf")).size();
    EXPECT_LT(Size, 200 * 100000) << "bytes a label: " << Size / 100000;
    // The first cell of the first page and of the last.
    const TSheetLayout L = LayOutSheet(ParseOptions({"--sheet", "A4", "1"}, 1).Options);
    const int PerPage = L.Columns * L.Rows, Last = (100000 - 1) / PerPage;
    for (const auto& [Page, Label] : {std::pair{1, 0}, std::pair{Last + 1, Last * PerPage}}) {
        const QString Png = Dir.filePath(QString("p%1").arg(Page));
        QProcess::execute("pdftoppm", {"-r", "300", "-png", "-singlefile", "-f", QString::number(Page), "-l",
                                       QString::number(Page), "-x", "0", "-y", "0", "-W", "600", "-H", "500",
                                       Dir.filePath("run.pdf"), Png});
        EXPECT_EQ(DecodeEan13(QImage(Png + ".png")),
                  WEQEan::CompleteGTIN(std::to_string(400000000000LL + 7919LL * Label)))
            << "page " << Page;
    }
}

TEST(CliHostileTest, JobsStayWithinTheMemoryBudget)
{
    if (Instrumented)
        GTEST_SKIP() << "the address sanitizer's memory is not the program's";
    // Four frames of about 50 MB at 9600 dpi on four threads.
    QTemporaryDir Dir;
    const std::vector<std::string> Four{"-q", "-j", "4", "--dpi", "9600", "-o", "{n}.png", "400638133393",
                                        "590123412345", "978020137962", "000000123457"};
    const auto Peak = [&](std::vector<std::string> Args) {
        const TExit R = RunChild(Dir.path(), Args);
        EXPECT_EQ(R.Status, 0) << R.Err;
        return R.PeakKB;
    };
    const long One = Peak({"-q", "--dpi", "9600", "-o", "{n}.png", "400638133393"});
    std::vector<std::string> Alone = Four, Together = Four;
    Alone.insert(Alone.end(), {"--memory", "60"});
    Together.insert(Together.end(), {"--memory", "1000"});
    const long Serial = Peak(Alone), Parallel = Peak(Together);
    EXPECT_LT(Serial, One + 20 * 1024) << "one frame at a time: " << Serial << " KB, one item: " << One << " KB";
    EXPECT_GT(Parallel, One + 50 * 1024) << "four at a time: " << Parallel << " KB, so the measure sees them";
}

} // namespace
