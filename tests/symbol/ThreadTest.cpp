// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// Drawings and exports on many threads at once, each on its own image, must
// give exactly the pixels of the same drawing alone on the application's
// thread, and leave the application thread's view of the drawing alone.
// DrawEan13 and DrawSymbol alike, the whole family.
#include "ean/Core_p.h"
#include "control/Barcode.h"
#include "ean/WEQEanExport.h"
#include "ocrb/WEQOcrB_p.h"
#include "symbol/SymbolCases.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>
#include <vector>

namespace {

TEST(ThreadTest, EightThreadsDrawWhatOneThreadDraws)
{
    const std::vector<TSymbolCase> Cases = RandomSymbolCases(96, 2024, 16);
    std::vector<QImage> Alone;
    for (const TSymbolCase& C : Cases)
        Alone.push_back(DrawCase(C));
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
                Together[I % Cases.size()] = DrawCase(Cases[I % Cases.size()]);
        });
    for (std::thread& T : Threads)
        T.join();

    for (std::size_t I = 0; I < Cases.size(); ++I) {
        ASSERT_FALSE(Alone[I].isNull()) << "case " << I << " was not drawn: " << Cases[I].Name();
        ASSERT_EQ(Together[I], Alone[I]) << "case " << I << ": " << Cases[I].Name();
    }
    EXPECT_EQ(WEQEan::BarTop, BarTop);
    EXPECT_EQ(WEQEan::DigitBoxWidth, BoxWidth) << "another thread's drawing wrote the application thread's view";
    EXPECT_EQ(WEQEan::DigitBoxHeight, BoxHeight);
    EXPECT_EQ(WEQOcrB::FitCacheFontName, FitName);
    EXPECT_EQ(WEQOcrB::FitCacheWidth, FitWidth);
    EXPECT_EQ(WEQOcrB::FittedHeight, Fitted);
}

// Empty caches, then the symbols on a worker thread first and on the
// application's second, and the other way round: a drawing depends neither on
// its thread nor on the drawings before it.
TEST(ThreadTest, NeitherTheThreadNorEarlierDrawingsChangeAPixel)
{
    const std::vector<TSymbolCase> Cases = RandomSymbolCases(48, 7, 6);
    const auto OnWorker = [&Cases] {
        std::vector<QImage> Images;
        std::thread([&] {
            for (const TSymbolCase& C : Cases)
                Images.push_back(DrawCase(C));
        }).join();
        return Images;
    };
    const auto Here = [&Cases] {
        std::vector<QImage> Images;
        for (const TSymbolCase& C : Cases)
            Images.push_back(DrawCase(C));
        return Images;
    };
    const auto Afresh = [] {
        WEQOcrB::TFitCache::Shared().Clear();
        WEQOcrB::FitCacheFontName.clear();
    };
    Afresh();
    const std::vector<QImage> WorkerFirst = OnWorker(), HereSecond = Here();
    Afresh();
    const std::vector<QImage> HereFirst = Here(), WorkerSecond = OnWorker();
    for (std::size_t I = 0; I < Cases.size(); ++I) {
        EXPECT_EQ(HereSecond[I], WorkerFirst[I]) << Cases[I].Name();
        EXPECT_EQ(HereFirst[I], WorkerFirst[I]) << Cases[I].Name();
        EXPECT_EQ(WorkerSecond[I], WorkerFirst[I]) << Cases[I].Name();
    }
}

// The interface's one-key fitting and ink tables are DrawEan13's and
// DrawOcrBChar's alone: with them made to claim nonsense for the very box a
// drawing needs, DrawSymbol and the exports draw what they drew before.
TEST(ThreadTest, TheInterfacesFittingNamesAreNoInputOfTheEngine)
{
    const WEQEan::TEanReading R = WEQEan::ReadSymbol(WEQEan::TSymbology::Ean8, "9638507", "12");
    const TSymbolCase C{R, "", 81 * 3 + 20 * 3 + 14 * 3, 65 * 3, 0, true, true, clWhite, clBlack, clBlack};
    const QImage Drawn = DrawCase(C);
    WEQEan::TExportOptions O;
    O.Symbology = R.Symbology;
    O.AddOn = R.AddOn;
    const QImage Exported = WEQEan::RenderRaster(R.Data, 300, O).Image;
    ASSERT_FALSE(Drawn.isNull());
    ASSERT_FALSE(Exported.isNull());
    const std::string SavedName = WEQOcrB::FitCacheFontName;
    WEQOcrB::FitCacheFontName = "OCRB";
    WEQOcrB::FitCacheWidth = 18;
    WEQOcrB::FitCacheHeight = 24;
    WEQOcrB::FittedHeight = 5;
    WEQOcrB::InkLeft.fill(-40);
    WEQOcrB::InkTop.fill(99);
    WEQOcrB::InkWidth.fill(1);
    WEQOcrB::InkHeight.fill(1);
    EXPECT_EQ(DrawCase(C), Drawn);
    EXPECT_EQ(WEQEan::RenderRaster(R.Data, 300, O).Image, Exported);
    WEQOcrB::FitCacheFontName.clear(); // the next DrawEan13 fits afresh
}

// Exports on other threads neither change the application thread's flag
// nor what its drawing shows while they run.
TEST(ThreadTest, ExportsBesideDrawingsChangeNothingOfTheirs)
{
    TSymbolCase C{};
    C.Text = "4006381333931";
    C.Reading = WEQEan::ReadSymbol(WEQEan::TSymbology::Ean13, C.Text);
    C = {C.Reading, C.Text, 339, 237, 0, true, true, clWhite, clBlack, clBlack};
    const QImage Reference = DrawCase(C);
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
        ASSERT_EQ(DrawCase(C), Reference) << "drawing " << Drawings << " beside export " << Written;
        ++Drawings;
    }
    Exporter.join();
    EXPECT_TRUE(AllWritten);
}

// Copies of one barcode on different threads: one detaches again and again
// (copying the shared rendering) while another renders two sizes in turn
// into that same shared data. Each copy must see only its own images.
TEST(ThreadTest, CopiesOnTwoThreadsAreIndependent)
{
    const WEQ::Barcode Original(QStringLiteral("4006381333931"));
    const QSizeF Small(113, 79), Large(226, 158);
    const QImage SmallImage = WEQ::Barcode(Original).screenImage({}, Small, 1, nullptr);
    const QImage LargeImage = WEQ::Barcode(Original).screenImage({}, Large, 1, nullptr);
    ASSERT_FALSE(SmallImage.isNull());
    ASSERT_NE(SmallImage.size(), LargeImage.size());
    for (int Round = 0; Round < 8; ++Round) {
        WEQ::Barcode Renderer = Original, Detacher = Original;
        std::atomic<bool> Done{false};
        std::thread Detaching([&] {
            while (!Done) {
                WEQ::Barcode Copy = Detacher;
                Copy.setXDimension(Copy.xDimension()); // non-const access: detaches
            }
        });
        int Wrong = 0;
        for (int I = 0; I < 200; ++I) {
            const bool Big = I % 2;
            if (Renderer.screenImage({}, Big ? Large : Small, 1, nullptr) != (Big ? LargeImage : SmallImage))
                ++Wrong;
        }
        Done = true;
        Detaching.join();
        ASSERT_EQ(Wrong, 0) << "round " << Round;
    }
}

} // namespace
