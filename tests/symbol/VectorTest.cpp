// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// One symbol, one geometry: the PDF and the SVG of an input are read back by
// independent renderers and hold the same bars and characters; the marks
// stand clear of everything else in the description and in the ink.
#include "ean/Core_p.h"
#include "ean/WEQEanExport.h"
#include "ean/WEQEanFamily.h"
#include "symbol/PdfPage.h"
#include "symbol/SvgRaster.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

using namespace WEQEan;

namespace {

struct TInput {
    TSymbology Symbology;
    const char* Text;
    const char* AddOn;
};

const TInput Inputs[] = {
    {TSymbology::Ean13, "400638133393", ""},  {TSymbology::Ean13, "978316148410", "51299"},
    {TSymbology::Ean8, "9638507", ""},        {TSymbology::Ean8, "5512345", "07"},
    {TSymbology::UpcA, "03600029145", "12"},  {TSymbology::UpcE, "0425261", ""},
    {TSymbology::UpcE, "1234565", "52495"},
};

std::string NameOf(const TInput& In) { return ReadSymbol(In.Symbology, In.Text, In.AddOn).Title(); }

QRect InkIn(const QImage& Image, QRect Area)
{
    QRect Ink;
    Area &= Image.rect();
    for (int Y = Area.top(); Y <= Area.bottom(); ++Y)
        for (int X = Area.left(); X <= Area.right(); ++X)
            if (qGray(Image.pixel(X, Y)) < 128)
                Ink |= QRect(X, Y, 1, 1);
    return Ink;
}

// 0.254 mm is 254 of the PDF's micrometre dots and, read back at 1000 dpi,
// ten pixels a module, as the SVG's ten units a module at one pixel a unit.
TEST(VectorTest, PdfAndSvgHoldTheSameGeometry)
{
    QTemporaryDir Dir;
    for (const TInput& In : Inputs) {
        SCOPED_TRACE(NameOf(In));
        TExportOptions O;
        O.Symbology = In.Symbology;
        O.AddOn = In.AddOn;
        O.XDimensionMM = 0.254;
        QByteArray Svg;
        ASSERT_TRUE(EncodeSvg(In.Text, O, Svg));
        const QString Pdf = Dir.filePath("v.pdf");
        ASSERT_TRUE(ExportPdf(In.Text, Pdf, O));
        const QImage FromPdf = PdfPage(Pdf, 1000);
        // Both smoothed, read as ink where darker than half: an edge lands
        // where the geometry puts it, whichever rule a renderer has for a
        // pixel it only touches.
        const QImage FromSvg = RenderSvg(Svg, 10 / O.XDimensionMM, true);
        ASSERT_FALSE(FromPdf.isNull()) << "pdftoppm (poppler-utils) made no page";
        // A page of 1670 pixels may come out as 1671: the reader rounds up.
        ASSERT_LE(std::abs(FromPdf.width() - FromSvg.width()), 1);
        ASSERT_LE(std::abs(FromPdf.height() - FromSvg.height()), 1);
        // Each character's ink, module column by module column: the same
        // within the SVG's rounding to a tenth of a module.
        const TEanReading R = ReadSymbol(In.Symbology, In.Text, In.AddOn);
        const TSymbol S = DescribeSymbol(R, FromSvg.width(), FromSvg.height(), true);
        int Characters = 0;
        for (const TSymbolElement& E : S.Elements) {
            const QRect Box = QRect(E.Left, E.Top, E.Width, E.Height).adjusted(-3, -3, 3, 3);
            const QRect A = InkIn(FromPdf, Box), B = InkIn(FromSvg, Box);
            ASSERT_FALSE(A.isEmpty()) << E.Ch << " at " << E.Left;
            // A bar's end lies where GS1's 69.24 modules put it, inside a
            // pixel, which the two readers may round either way.
            const int Across = std::max(std::abs(A.left() - B.left()), std::abs(A.right() - B.right())),
                      Along = std::max(std::abs(A.top() - B.top()), std::abs(A.bottom() - B.bottom()));
            const bool Bar = E.Kind == TSymbolElement::Bar;
            EXPECT_LE(std::max(Across, Bar ? 0 : Along), Bar ? 0 : 1)
                << (Bar ? "bar" : "character") << " '" << E.Ch << "' at " << E.Left << ": PDF ink " << A.x() << ","
                << A.y() << " " << A.width() << "x" << A.height() << ", SVG ink " << B.x() << "," << B.y() << " "
                << B.width() << "x" << B.height();
            EXPECT_LE(Along, 1) << E.Left;
            Characters += E.Kind == TSymbolElement::Text;
        }
        EXPECT_GE(Characters, 8);
    }
}

// The ink of the marks alone: what a raster with them has and the same
// raster without them lacks.
QImage MarksOnly(const QImage& With, const QImage& Without)
{
    QImage Marks(With.size(), QImage::Format_RGB32);
    for (int Y = 0; Y < With.height(); ++Y)
        for (int X = 0; X < With.width(); ++X)
            Marks.setPixel(X, Y, With.pixel(X, Y) != Without.pixel(X, Y) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    return Marks;
}

// Every mark's box, and at 600 dpi its ink, a module or more from every
// bar, every other character's box and all other ink.
TEST(VectorTest, MarksStandAModuleClearOfEverythingElse)
{
    const struct {
        TSymbology Symbology;
        const char* Text;
    } Symbols[] = {{TSymbology::Ean13, "978316148410"},
                   {TSymbology::Ean8, "9638507"},
                   {TSymbology::UpcA, "03600029145"},
                   {TSymbology::UpcE, "0425261"}};
    for (const auto& [Sy, Text] : Symbols)
        for (const char* AddOn : {"", "12", "52495"}) {
            const TEanReading R = ReadSymbol(Sy, Text, AddOn);
            ASSERT_TRUE(R.Valid()) << R.Error;
            SCOPED_TRACE(R.Title());
            for (std::int32_t M : {1, 3, 31}) {
                const TSymbol S = DescribeSymbol(R, SymbolModules(Sy, R.AddOn.size()) * M,
                                                 RatioHeightModules(Sy) * M, true);
                for (const TSymbolElement& Mark : S.Elements) {
                    if (Mark.Kind != TSymbolElement::Text || (Mark.Ch != '<' && Mark.Ch != '>'))
                        continue;
                    const QRect Clear = QRect(Mark.Left, Mark.Top, Mark.Width, Mark.Height).adjusted(-M, -M, M, M);
                    for (const TSymbolElement& E : S.Elements) {
                        if (&E == &Mark)
                            continue;
                        EXPECT_FALSE(Clear.intersects(QRect(E.Left, E.Top, E.Width, E.Height)))
                            << "'" << Mark.Ch << "' at m = " << M << " within a module of '" << E.Ch << "' at " << E.Left;
                    }
                }
            }
            TExportOptions O;
            O.Symbology = Sy;
            O.AddOn = AddOn;
            const TRasterExport With = RenderRaster(Text, 600, O);
            O.DrawRightDelimiter = false;
            const TRasterExport Without = RenderRaster(Text, 600, O);
            ASSERT_FALSE(With.Image.isNull());
            const int M = With.DotsPerModule;
            const QImage Marks = MarksOnly(With.Image, Without.Image);
            const bool Upc = Sy == TSymbology::UpcA || Sy == TSymbology::UpcE;
            if (Upc && !*AddOn) {
                EXPECT_TRUE(InkIn(Marks, Marks.rect()).isEmpty()) << "UPC has no marks without an add-on";
                continue;
            }
            // Each mark on its own: the marks lie in the quiet zones, left and right.
            for (const QRect Half : {QRect(0, 0, Marks.width() / 2, Marks.height()),
                                     QRect(Marks.width() / 2, 0, Marks.width() - Marks.width() / 2, Marks.height())}) {
                const QRect Ink = InkIn(Marks, Half);
                if (Ink.isEmpty())
                    continue;
                const QRect Others = InkIn(Without.Image, Ink.adjusted(-M, -M, M, M));
                EXPECT_TRUE(Others.isEmpty()) << "ink within a module of the mark at " << Ink.x() << "," << Ink.y()
                                              << ": " << Others.x() << "," << Others.y() << " " << Others.width() << "x"
                                              << Others.height() << " at m = " << M;
            }
        }
}

} // namespace
