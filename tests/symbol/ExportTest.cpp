// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "ean/WEQEan.h"
#include "ean/WEQEanExport.h"
#include "symbol/Decode.h"
#include "symbol/SvgRaster.h"
#include "symbol/SymbolTestUtil.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace WEQEan;

namespace {

TEST(ExportTest, PngSnapsTheModuleToWholeDotsAndScans)
{
    QTemporaryDir Dir;
    const struct {
        int Dpi;
        double XDimension;
        int Dots;
        bool Gs1;
    } Rows[] = {// nearest whole dots; inside GS1's range where the range holds a neighbour
                {300, 0.330, 4, true}, {600, 0.330, 8, true}, {300, 0.264, 4, true}, {600, 0.660, 15, true},
                {72, 0.264, 1, true},  {300, 0.200, 2, false}, {50, 1.0, 2, false}};
    for (const auto& Row : Rows) {
        SCOPED_TRACE(std::to_string(Row.Dpi) + " dpi, X " + std::to_string(Row.XDimension));
        TRasterExport Report;
        const QString Path = Dir.filePath(QString("e%1.png").arg(Row.Dpi));
        ASSERT_TRUE(ExportPng("400638133393", Path, Row.Dpi, {Row.XDimension}, &Report));
        EXPECT_EQ(Report.DotsPerModule, Row.Dots);
        EXPECT_EQ(Report.WithinGs1Range, Row.Gs1);
        EXPECT_NEAR(Report.XDimensionMM, Row.Dots * 25.4 / Row.Dpi, 1e-12);
        const QImage Saved(Path);
        EXPECT_EQ(Saved.width(), 113 * Row.Dots);
        EXPECT_NEAR(Saved.dotsPerMeterX() * 0.0254, Row.Dpi, 0.5);
        if (Row.Dots >= 2) { // the reader wants more than one dot per module here
            EXPECT_EQ(DecodeEan13(Saved), "4006381333931");
        }
    }
}

// The SVG as Qt's SVG renderer draws it at ten pixels per module: the bars
// on whole modules, the size in millimetres, and a symbol that scans.
TEST(ExportTest, FileFormatIsTheNamesSuffix)
{
    const struct {
        const char* Path;
        std::optional<TFileFormat> Format;
    } Rows[] = {
        {"a.png", TFileFormat::Png},   {"out/{gtin}.SVG", TFileFormat::Svg}, {"x.tar.Pdf", TFileFormat::Pdf},
        {".pdf", TFileFormat::Pdf},    {"a.jpg", std::nullopt},              {"png", std::nullopt},
        {"a.png/b", std::nullopt},     {"a.png/", std::nullopt},             {"a.png.gz", std::nullopt},
    };
    for (const auto& Row : Rows)
        EXPECT_EQ(FileFormatOf(QString::fromLatin1(Row.Path)), Row.Format) << Row.Path;
}

TEST(ExportTest, SvgBarsAreTheModulePattern)
{
    QTemporaryDir Dir;
    const QString Path = Dir.filePath("e.svg");
    ASSERT_TRUE(ExportSvg("400638133393", Path, {MagnificationToXDimension(1.0)}));
    QFile File(Path);
    ASSERT_TRUE(File.open(QIODevice::ReadOnly));
    const QByteArray Svg = File.readAll();
    const QImage Image = RenderSvg(Svg, TenPerModule);
    // 113 modules; GS1's bars of 22.849 mm, a module and the digits' 8.33.
    ASSERT_EQ(Image.size(), QSize(1130, 786));
    EXPECT_EQ(ShowBars(BarsOnRow(Image, 5, 10, qRgb(0, 0, 0), 1130)), ShowBars(BarsOf4006381333931));
    EXPECT_EQ(ShowBars(BarsOnRow(Image, 700, 10, qRgb(0, 0, 0), 1130)).substr(0, 20), ShowBars(GuardBars).substr(0, 20))
        << "only the guard bars reach below the bars of the digits";
    EXPECT_EQ(Image.pixel(0, 785), qRgb(255, 255, 255)) << "no background";
    EXPECT_TRUE(Svg.contains("width=\"37.29mm\" height=\"25.927mm\""));
    EXPECT_EQ(DecodeEan13(RenderSvg(Svg, 0.3 * TenPerModule, true)), "4006381333931");
}

TEST(ExportTest, PdfIsWritten)
{
    QTemporaryDir Dir;
    const QString Path = Dir.filePath("e.pdf");
    ASSERT_TRUE(ExportPdf("5901234123457", Path));
    QFile File(Path);
    ASSERT_TRUE(File.open(QIODevice::ReadOnly));
    const QByteArray Data = File.readAll();
    EXPECT_TRUE(Data.startsWith("%PDF-"));
    EXPECT_TRUE(Data.contains("/MediaBox")) << "no page";
    EXPECT_FALSE(ExportPdf("5901234123457", "/nonexistent-dir/e.pdf"));
    EXPECT_FALSE(ExportPng("5901234123457", "/nonexistent-dir/e.png", 300));
}

} // namespace

namespace {

// A printer draws at its own resolution: the module is a whole number of its
// dots (an image with a resolution stands in for it here).
TEST(ExportTest, DevicesGetWholeDotsPerModule)
{
    const struct {
        int Dpi;
        int Dots;
    } Rows[] = {{300, 4}, {600, 8}, {1200, 16}, {96, 1}};
    for (const auto& Row : Rows) {
        SCOPED_TRACE(std::to_string(Row.Dpi) + " dpi");
        QImage Page(113 * Row.Dots + 10, 79 * Row.Dots + 10, QImage::Format_RGB32);
        Page.fill(Qt::white);
        Page.setDotsPerMeterX(int(std::lround(Row.Dpi / 0.0254)));
        Page.setDotsPerMeterY(int(std::lround(Row.Dpi / 0.0254)));
        ASSERT_TRUE(DrawOnDevice("400638133393", &Page));
        EXPECT_EQ(ShowBars(BarsOnRow(Page, 0, Row.Dots, qRgb(0, 0, 0), 113 * Row.Dots)), ShowBars(BarsOf4006381333931));
    }
}

} // namespace
