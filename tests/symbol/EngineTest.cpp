// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// Faults of the drawing outside the demo's ordinary sizes and settings:
// themes, huge sizes, files that cannot be written, bad parameters.
#include "ean/Core_p.h"
#include "control/WEQBarCode.h"
#include "ean/WEQEan.h"
#include "ean/WEQEanExport.h"
#include "ocrb/WEQOcrB_p.h"
#include "render/SymbolPaint_p.h"
#include "symbol/Decode.h"
#include "symbol/SvgRaster.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

using namespace WEQEan;

namespace {

// Decoders want a few pixels per module, not a hundred: a whole-factor
// reduction keeps every bar whole.
std::string DecodeReduced(const QImage& Image, int M)
{
    const int Factor = std::max(1, M / 3);
    return DecodeEan13(Image.scaled(Image.width() / Factor, Image.height() / Factor, Qt::IgnoreAspectRatio,
                                    Qt::FastTransformation));
}

struct TPaletteGuard {
    QPalette Saved = QApplication::palette();
    ~TPaletteGuard() { QApplication::setPalette(Saved); }
};

TEST(EngineTest, ADarkPaletteStillMeasuresInkAndDrawsTheWholeSymbol)
{
    const TPaletteGuard Guard;
    QPalette Dark;
    Dark.setColor(QPalette::WindowText, Qt::white);
    Dark.setColor(QPalette::Window, QColor(30, 30, 30));
    Dark.setColor(QPalette::Text, Qt::white);
    QApplication::setPalette(Dark);
    WEQOcrB::TFitCache::Shared().Clear();
    WEQOcrB::FitCacheFontName.clear();
    QImage Image(339, 237, QImage::Format_RGB32);
    {
        TCanvas Canvas(&Image);
        ASSERT_TRUE(DrawEan13("4006381333931", Canvas, 339, 237, clWhite, clBlack, clBlack, true, true));
    }
    EXPECT_EQ(DecodeEan13(Image), "4006381333931");
    QWidget Window;
    Window.resize(400, 300);
    auto* Control = new TWEQBarCode(&Window);
    Control->SetGTIN("400638133393");
    Control->SetTransparent(false);
    Control->SetFitHeightRatio(false);
    Control->resize(339, 237);
    Window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    EXPECT_EQ(DecodeEan13(Control->grab().toImage()), "4006381333931");
}

struct TLargeRow {
    const char* Name;
    std::int32_t M;
};

// Up to the font's largest fitted height the digits are the font's; beyond it
// the outlines', and either way the symbol is complete, a second time without
// any measuring.
TEST(EngineTest, EveryModuleWidthDrawsACompleteSymbol)
{
    const TLargeRow Rows[] = {{"the largest the font is fitted to", 96}, {"the outlines beyond it", 97}};
    for (const TLargeRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        const std::int32_t M = Row.M, W = 113 * M, H = 40 * M;
        QImage Image(W, H, QImage::Format_RGB32);
        Image.fill(Qt::gray);
        {
            TCanvas Canvas(&Image);
            ASSERT_TRUE(DrawEan13("9780201379624", Canvas, W, H, clWhite, clBlack, clBlue, true, true));
        }
        EXPECT_EQ(DecodeReduced(Image, M), "9780201379624");
        const TSymbol S = DescribeEan13("9780201379624", W, H, true);
        for (const TSymbolElement& E : S.Elements) {
            if (E.Kind != TSymbolElement::Text)
                continue;
            bool Ink = false;
            for (int Y = E.Top; Y < E.Top + E.Height && !Ink; Y += 2)
                for (int X = E.Left; X < E.Left + E.Width && !Ink; X += 2)
                    Ink = Image.pixel(X, Y) == qRgb(0, 0, 255);
            EXPECT_TRUE(Ink) << "no ink for '" << E.Ch << "' at " << E.Left;
        }
        const std::uint64_t Before = WEQOcrB::MeasurementCount;
        TCanvas Canvas(&Image);
        ASSERT_TRUE(DrawEan13("5901234123457", Canvas, W, H, clWhite, clBlack, clBlue, true, true));
        EXPECT_EQ(WEQOcrB::MeasurementCount, Before) << "the box was searched again";
    }
    QImage Small(200, 200, QImage::Format_RGB32);
    TCanvas Canvas(&Small);
    EXPECT_TRUE(DrawEan13("4006381333931", Canvas, INT32_MAX, INT32_MAX, clWhite, clBlack, clBlack, false, true))
        << "a symbol two billion pixels wide, drawn into 200 x 200";
}

TEST(EngineTest, ParametersOutsideTheirRangeAreRefusedWithAReason)
{
    QTemporaryDir Dir;
    const double Nan = std::numeric_limits<double>::quiet_NaN(), Inf = std::numeric_limits<double>::infinity();
    for (double X : {Nan, Inf, -Inf, 0.0, -0.33, 0.09, 10.01, 1e9}) {
        SCOPED_TRACE("X-dimension " + std::to_string(X));
        TExportOptions O;
        O.XDimensionMM = X;
        for (const char* Suffix : {"png", "svg", "pdf"}) {
            const QString Path = Dir.filePath(QString("x.") + Suffix);
            QString Error;
            const std::string Kind = Suffix;
            const bool Written = Kind == "png"   ? ExportPng("1", Path, 300, O, nullptr, &Error)
                                 : Kind == "svg" ? ExportSvg("1", Path, O, &Error)
                                                 : ExportPdf("1", Path, O, &Error);
            EXPECT_FALSE(Written) << Suffix;
            EXPECT_TRUE(Error.contains("X-dimension")) << Suffix << ": " << Error.toStdString();
            EXPECT_FALSE(QFile::exists(Path)) << Suffix;
        }
        EXPECT_TRUE(RenderRaster("1", 300, O).Image.isNull());
    }
    for (int Dpi : {INT32_MIN, -300, 0, MinDpi - 1, MaxDpi + 1}) {
        QString Error;
        EXPECT_FALSE(ExportPng("1", Dir.filePath("d.png"), Dpi, {}, nullptr, &Error)) << Dpi;
        EXPECT_TRUE(Error.contains("dpi")) << Error.toStdString();
    }
    EXPECT_FALSE(QFile::exists(Dir.filePath("d.png")));
    QString Error;
    EXPECT_FALSE(DrawOnDevice("1", nullptr, {}, &Error));
    EXPECT_FALSE(Error.isEmpty());
}

// A symbology cast from any number is refused with a reason by every
// export, before any table is read; sizes of it stay defined.
TEST(EngineTest, ASymbologyOutsideTheEnumerationIsRefused)
{
    QTemporaryDir Dir;
    for (const int Value : {4, 7, 255}) {
        SCOPED_TRACE("symbology " + std::to_string(Value));
        TExportOptions O;
        O.Symbology = TSymbology(Value);
        O.AddOn = "12";
        QString Error;
        QByteArray Bytes;
        const auto Refused = [&Error](bool Done) { return !Done && Error.contains("symbology"); };
        EXPECT_TRUE(Refused(EncodePng("400638133393", 300, O, Bytes, nullptr, &Error))) << Error.toStdString();
        EXPECT_TRUE(Refused(EncodeSvg("400638133393", O, Bytes, &Error))) << Error.toStdString();
        EXPECT_TRUE(Refused(EncodePdf("400638133393", O, Bytes, &Error))) << Error.toStdString();
        EXPECT_TRUE(Refused(ExportSvg("400638133393", Dir.filePath("s.svg"), O, &Error))) << Error.toStdString();
        QImage Page(200, 200, QImage::Format_RGB32);
        EXPECT_TRUE(Refused(DrawOnDevice("400638133393", &Page, O, &Error))) << Error.toStdString();
        EXPECT_TRUE(RenderRaster("400638133393", 300, O).Error.contains("symbology"));
        EXPECT_EQ(SymbolModules(TSymbology(Value), 5, INT32_MAX), 11 + 95 + 12 + 47 + 5) << "EAN-13's, the widest gap";
        TEanReading R;
        R.Symbology = TSymbology(Value);
        R.Data = "4006381333931";
        EXPECT_EQ(R.Title(), "unknown symbology 4006381333931");
        EXPECT_THROW(DescribeSymbol(R, 339, 237, true), Exception);
    }
    EXPECT_TRUE(QDir(Dir.path()).isEmpty());
}

// A disk that fills up under the write: the export says so and the file that
// was there is untouched. The limit is the child's own (RLIMIT_FSIZE).
TEST(EngineTest, AFailedWriteLeavesTheOldFileAsItWas)
{
    QTemporaryDir Dir;
    int Files = 0;
    for (const char* Format : {"png", "svg", "pdf"}) {
        SCOPED_TRACE(Format);
        ++Files;
        const QString Path = Dir.filePath(QString("old.") + Format);
        {
            QFile Old(Path);
            ASSERT_TRUE(Old.open(QIODevice::WriteOnly));
            Old.write("the old file");
        }
        QProcess Child;
        Child.setChildProcessModifier([] {
            const rlimit Limit{256, 256};
            setrlimit(RLIMIT_FSIZE, &Limit);
            signal(SIGXFSZ, SIG_IGN); // writes past the limit fail instead of killing
        });
        Child.start(QStringLiteral(WEQ_EXPORT_FILE), {Format, Path});
        ASSERT_TRUE(Child.waitForFinished(30000));
        EXPECT_EQ(Child.exitCode(), 1) << Child.readAllStandardError().toStdString();
        QFile Old(Path);
        ASSERT_TRUE(Old.open(QIODevice::ReadOnly));
        EXPECT_EQ(Old.readAll(), "the old file");
        EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden).size(), Files) << "a partial file was left behind";
    }
    const QString Path = Dir.filePath("new.svg");
    QProcess Child;
    Child.start(QStringLiteral(WEQ_EXPORT_FILE), {"svg", Path});
    ASSERT_TRUE(Child.waitForFinished(30000));
    EXPECT_EQ(Child.exitCode(), 0) << "without the limit the same export works";
    EXPECT_FALSE(ExportSvg("1", "/proc/version")) << "an unwritable target";
}

// In files the '>' lies in the right quiet zone, clear of the guard bars that
// end at module 106, with its tip on the symbol's right edge (module 113).
TEST(EngineTest, TheDelimiterInFilesStaysInsideTheSymbol)
{
    QTemporaryDir Dir;
    ASSERT_TRUE(ExportSvg("400638133393", Dir.filePath("e.svg")));
    QFile File(Dir.filePath("e.svg"));
    ASSERT_TRUE(File.open(QIODevice::ReadOnly));
    // Drawn by Qt's SVG renderer at ten pixels a module of 330 µm; the
    // digits' top a module below GS1's 22.849 mm bars, the guards' ends 5
    // modules below them.
    constexpr double Unit = 10.0 / 330;
    const QImage Svg = RenderSvg(File.readAll(), TenPerModule);
    ASSERT_EQ(Svg.width(), 1130);
    const int DigitTop = int(std::ceil((22849 + 330) * Unit)), GuardEnd = int(std::ceil((22849 + 1650) * Unit));
    // Right of the last guard bar from the digits' top down, and below the
    // guard bars right of the last digit's box: the '>' alone.
    int Left = Svg.width(), Right = -1;
    for (int Y = DigitTop; Y < Svg.height(); ++Y)
        for (int X = Y < GuardEnd ? 1061 : 1030; X < Svg.width(); ++X)
            if (Svg.pixel(X, Y) != qRgb(255, 255, 255)) {
                Left = std::min(Left, X);
                Right = std::max(Right, X);
            }
    EXPECT_EQ(Right, 1129) << "tip not on the right edge";
    EXPECT_GE(Left, 1060) << "reaches into the guard bars";

    for (int Dpi : {300, 4800}) {
        SCOPED_TRACE(std::to_string(Dpi) + " dpi");
        const TRasterExport R = RenderRaster("400638133393", Dpi);
        ASSERT_FALSE(R.Image.isNull());
        const int M = R.DotsPerModule;
        const TSymbol S = DescribeEan13("4006381333931", 113 * M, R.Image.height(), true);
        int InkLeft = R.Image.width(), InkRight = -1;
        for (int Y = S.DigitBoxTop; Y < S.Height; ++Y)
            for (int X = 106 * M; X < R.Image.width(); ++X)
                if (R.Image.pixel(X, Y) != qRgb(255, 255, 255)) {
                    InkLeft = std::min(InkLeft, X);
                    InkRight = std::max(InkRight, X);
                }
        EXPECT_EQ(InkRight, 113 * M - 1) << "the tip is not the symbol's last column";
        EXPECT_GE(InkLeft, 106 * M) << "the '>' reaches into the guard bars";
    }
}

} // namespace
