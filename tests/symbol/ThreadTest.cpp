// Drawings and exports on many threads at once, each on its own image, must
// give exactly the pixels of the same drawing alone on the application's
// thread, and leave the application thread's view of the drawing alone.
#include "ean/WEQEan.h"
#include "ean/WEQEanExport.h"
#include "ocrb/WEQOcrB.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>
#include <vector>

namespace {

struct TCase {
    std::string Gtin;
    int M, Height;
    bool Fill, Delimiter;
    TColor Background, Bars, Digits;
};

QImage Draw(const TCase& C)
{
    QImage Image(113 * C.M + 3, std::max(C.Height, 18 * C.M) + 3, QImage::Format_RGB32);
    Image.fill(QColor(90, 160, 30));
    TCanvas Canvas(&Image);
    if (!WEQEan::DrawEan13(C.Gtin, Canvas, 113 * C.M, C.Height, C.Background, C.Bars, C.Digits, C.Fill, C.Delimiter))
        return QImage();
    return Image;
}

std::vector<TCase> RandomCases(int Count)
{
    std::mt19937 Random(2024);
    std::uniform_int_distribution<int> Digit(0, 9), Module(1, 16), Coin(0, 1);
    const TColor Colours[] = {clWhite, clBlack, clCream, clNavy, clInfoBk, clRed, clWindowText, 0x336699};
    std::uniform_int_distribution<std::size_t> Colour(0, std::size(Colours) - 1);
    std::vector<TCase> Cases;
    for (int I = 0; I < Count; ++I) {
        std::string Body;
        for (int D = 0; D < 12; ++D)
            Body += char('0' + Digit(Random));
        const int M = Module(Random);
        Cases.push_back({WEQEan::CompleteGTIN(Body), M, I % 3 ? 79 * M : 20 * M + I, Coin(Random) == 1,
                         Coin(Random) == 1, Colours[Colour(Random)], Colours[Colour(Random)], Colours[Colour(Random)]});
    }
    return Cases;
}

TEST(ThreadTest, EightThreadsDrawWhatOneThreadDraws)
{
    const std::vector<TCase> Cases = RandomCases(200);
    std::vector<QImage> Alone;
    for (const TCase& C : Cases)
        Alone.push_back(Draw(C));
    const std::int32_t BarTop = WEQEan::BarTop, BoxWidth = WEQEan::DigitBoxWidth, BoxHeight = WEQEan::DigitBoxHeight;
    const std::string FitName = WEQOcrB::FitCacheFontName;
    const std::int32_t FitWidth = WEQOcrB::FitCacheWidth, Fitted = WEQOcrB::FittedHeight;

    std::vector<QImage> Together(Cases.size());
    std::atomic<std::size_t> Next{0};
    std::vector<std::thread> Threads;
    for (int T = 0; T < 8; ++T)
        Threads.emplace_back([&] {
            // Every case twice, the threads taking them in turns, so that the
            // same sizes are drawn at the same time on several threads.
            for (std::size_t I; (I = Next++) < 2 * Cases.size();)
                Together[I % Cases.size()] = Draw(Cases[I % Cases.size()]);
        });
    for (std::thread& T : Threads)
        T.join();

    for (std::size_t I = 0; I < Cases.size(); ++I) {
        const TCase& C = Cases[I];
        ASSERT_FALSE(Alone[I].isNull()) << "case " << I << " was not drawn";
        ASSERT_EQ(Together[I], Alone[I]) << "case " << I << ": " << C.Gtin << " at m = " << C.M << ", fill " << C.Fill
                                         << ", delimiter " << C.Delimiter;
    }
    EXPECT_EQ(WEQEan::BarTop, BarTop);
    EXPECT_EQ(WEQEan::DigitBoxWidth, BoxWidth) << "another thread's drawing wrote the application thread's view";
    EXPECT_EQ(WEQEan::DigitBoxHeight, BoxHeight);
    EXPECT_EQ(WEQOcrB::FitCacheFontName, FitName);
    EXPECT_EQ(WEQOcrB::FitCacheWidth, FitWidth);
    EXPECT_EQ(WEQOcrB::FittedHeight, Fitted);
}

// Exports on other threads neither change the application thread's flag
// nor what its drawing shows while they run.
TEST(ThreadTest, ExportsBesideDrawingsChangeNothingOfTheirs)
{
    const TCase C{"4006381333931", 3, 237, true, true, clWhite, clBlack, clBlack};
    const QImage Reference = Draw(C);
    QTemporaryDir Dir;
    std::atomic<int> Written{0};
    std::atomic<bool> Done{false}, AllWritten{true};
    std::thread Exporter([&] {
        for (int I = 0; I < 30; ++I) {
            const QString Path = Dir.filePath(QString("e%1").arg(I % 3));
            const bool Ok = I % 3 == 0   ? WEQEan::ExportSvg("400638133393", Path + ".svg")
                            : I % 3 == 1 ? WEQEan::ExportPdf("400638133393", Path + ".pdf")
                                         : WEQEan::ExportPng("400638133393", Path + ".png", 300);
            AllWritten = AllWritten && Ok;
            ++Written;
        }
        Done = true;
    });
    int Drawings = 0;
    while (!Done || Drawings < 10) {
        EXPECT_TRUE(WEQOcrB::OcrBFontLoaded);
        ASSERT_EQ(Draw(C), Reference) << "drawing " << Drawings << " beside export " << Written;
        ++Drawings;
    }
    Exporter.join();
    EXPECT_TRUE(AllWritten);
}

} // namespace
