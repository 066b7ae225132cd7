// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// Bounds of time and memory, measured in a build without sanitizers (whose
// bookkeeping would be measured instead): the drawing at its largest sizes,
// and the command line on inputs of millions of lines and print runs of a
// hundred thousand labels. All of them carry the label "slow".
#include "cli/Child.h"
#include "symbol/Decode.h"

#include <ean/WEQEan.h>
#include <ean/WEQEanExport.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

namespace {

long StatusMegabytes(const char* Field)
{
    std::ifstream Status("/proc/self/status");
    for (std::string Line; std::getline(Status, Line);)
        if (Line.rfind(Field, 0) == 0)
            return std::stol(Line.substr(6)) / 1024;
    return 0;
}
long ResidentMegabytes() { return StatusMegabytes("VmRSS:"); }
long PeakMegabytesSinceReset() { return StatusMegabytes("VmHWM:"); }

// Up to the font's largest fitted height and beyond it, the first drawing
// costs one search of the fitting, not one per character.
TEST(DrawingBoundsTest, TheLargestSymbolsDrawInSeconds)
{
    for (const std::int32_t M : {96, 97}) {
        QImage Image(113 * M, 40 * M, QImage::Format_RGB32);
        QElapsedTimer Timer;
        Timer.start();
        TCanvas Canvas(&Image);
        ASSERT_TRUE(WEQEan::DrawEan13("9780201379624", Canvas, 113 * M, 40 * M, clWhite, clBlack, clBlue, true, true));
        EXPECT_LT(Timer.elapsed(), 3000) << "first drawing at m = " << M;
    }
    QImage Small(200, 200, QImage::Format_RGB32);
    TCanvas Canvas(&Small);
    QElapsedTimer Timer;
    Timer.start();
    EXPECT_TRUE(WEQEan::DrawEan13("4006381333931", Canvas, INT32_MAX, INT32_MAX, clWhite, clBlack, clBlack, false, true));
    EXPECT_LT(Timer.elapsed(), 2000) << "a symbol two billion pixels wide, drawn into 200 x 200";
}

TEST(DrawingBoundsTest, NewBackgroundsAtLargeSizesCostNoMemoryBeyondTheImage)
{
    const std::int32_t M = 96;
    QImage Image(113 * M, 79 * M, QImage::Format_RGB32);
    Image.fill(Qt::white);
    TCanvas Canvas(&Image);
    ASSERT_TRUE(WEQEan::DrawEan13("4006381333931", Canvas, 113 * M, 79 * M, clWhite, clBlack, clBlack, true, true));
    const long Before = ResidentMegabytes();
    for (TColor C = 0; C < 40; ++C)
        ASSERT_TRUE(
            WEQEan::DrawEan13("4006381333931", Canvas, 113 * M, 79 * M, 0xF0F0F0 + C, clBlack, clBlack, true, true));
    EXPECT_LT(ResidentMegabytes() - Before, 100) << "MB added by 40 background colours";
}

// At the top of the dpi range the symbol is written from its packed rows:
// its own bits, not a frame of 32-bit pixels (that would be 540 MB here).
TEST(DrawingBoundsTest, ExportAtTheTopOfTheDpiRangeTakesLittleMemory)
{
    QTemporaryDir Dir;
    const long Before = ResidentMegabytes();
    std::ofstream("/proc/self/clear_refs") << "5"; // the peak starts again from here
    WEQEan::TRasterExport Report;
    QString Error;
    ASSERT_TRUE(WEQEan::ExportPng("400638133393", Dir.filePath("e.png"), WEQEan::MaxDpi, {}, &Report, &Error))
        << Error.toStdString();
    EXPECT_LT(PeakMegabytesSinceReset() - Before, 100) << "MB at the export's peak";
    EXPECT_LT(ResidentMegabytes() - Before, 100) << "MB left resident after the export";
    EXPECT_EQ(Report.DotsPerModule, 125);
    QImageReader Reader(Dir.filePath("e.png"));
    Reader.setAllocationLimit(0); // the file is larger than a reader takes by default
    const QImage Saved = Reader.read();
    ASSERT_EQ(Saved.width(), 113 * 125);
    // A decoder wants a few pixels a module, not 125: a whole-factor
    // reduction keeps every bar whole.
    EXPECT_EQ(DecodeEan13(Saved.scaled(Saved.width() / 41, Saved.height() / 41, Qt::IgnoreAspectRatio,
                                       Qt::FastTransformation)),
              "4006381333931");
}

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

TEST(CliBoundsTest, MemoryDoesNotGrowWithTheInput)
{
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

    // And one line of 100 MB.
    WriteFile(Dir.filePath("big.txt"), std::string(100u << 20, '1').append("\n400638133393\n"));
    const TExit R = RunChild(Dir.path(), {"-i", "big.txt", "-o", "c/{n}.svg"});
    EXPECT_EQ(R.Status, 1);
    EXPECT_LT(R.PeakKB, 200 * 1024);
    EXPECT_TRUE(R.Err.ends_with("weqbarcode: 1 of 2 items rejected, 1 files written\n"))
        << R.Err.substr(R.Err.size() - std::min<std::size_t>(R.Err.size(), 200));
}

// A sheet at print-run scale: each character shape written once, each label
// a few operators, so that time and size grow with the labels and memory
// does not; its first and last pages still decode.
TEST(CliBoundsTest, AHundredThousandLabelSheetIsQuickAndSmall)
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
    EXPECT_LT(Seconds, 15.0);
    EXPECT_LT(R.PeakKB, 100 * 1024);
    const qint64 Size = QFileInfo(Dir.filePath("run.pdf")).size();
    EXPECT_LT(Size, 200 * 100000) << "bytes a label: " << Size / 100000;
    // 36 labels a page of A4 (4 x 9): the first cell of the first page holds
    // label 0, that of the last page (2778) label 99972.
    for (const auto& [Page, Gtin] : {std::pair{1, "4000000000006"}, std::pair{2778, "4007916782682"}}) {
        const QString Png = Dir.filePath(QString("p%1").arg(Page));
        QProcess::execute("pdftoppm", {"-r", "300", "-png", "-singlefile", "-f", QString::number(Page), "-l",
                                       QString::number(Page), "-x", "0", "-y", "0", "-W", "600", "-H", "500",
                                       Dir.filePath("run.pdf"), Png});
        EXPECT_EQ(DecodeEan13(QImage(Png + ".png")), Gtin) << "page " << Page;
    }
}

TEST(CliBoundsTest, JobsStayWithinTheMemoryBudget)
{
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
