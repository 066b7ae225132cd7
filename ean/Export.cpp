#include "ean/WEQEanExport.h"

#include "ean/WEQEan.h"
#include "ocrb/WEQOcrB.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace WEQEan {

namespace {

constexpr int SymbolModules = 113, HeightModules = 79;
// The vector files work in micrometres, so any X-dimension given to the
// micrometre is a whole number of their units.
constexpr int MicrometresPerInch = 25400;

QSizeF SymbolSizeMM(const TExportOptions& O)
{
    return QSizeF(SymbolModules * O.XDimensionMM, HeightModules * O.XDimensionMM);
}

} // namespace

// Draws with the built-in outlines: vector files then hold paths, not text in
// a font the reader may lack.
bool DrawOnDevice(const std::string& Text, QPaintDevice* Device, const TExportOptions& O)
{
    const bool Saved = WEQOcrB::OcrBFontLoaded;
    WEQOcrB::OcrBFontLoaded = false;
    bool Drawn = false;
    try {
        TCanvas Canvas(Device);
        // Design units of VectorUnitsPerModule per module, scaled to device dots.
        const double Scale = O.XDimensionMM * Device->logicalDpiX() / 25.4 / VectorUnitsPerModule;
        Canvas.SetTransform(QTransform::fromScale(Scale, Scale));
        const int M = VectorUnitsPerModule;
        Drawn = DrawEan13(CompleteGTIN(Text), Canvas, SymbolModules * M, HeightModules * M, O.BackgroundColor,
                          O.BarColor, O.FontColor, true, O.DrawRightDelimiter);
    } catch (const Exception&) {
        Drawn = false; // the file could not be opened for painting
    }
    WEQOcrB::OcrBFontLoaded = Saved;
    return Drawn;
}

TRasterExport RenderRaster(const std::string& Text, int Dpi, const TExportOptions& O)
{
    TRasterExport Out;
    Dpi = std::clamp(Dpi, 1, 9600);
    Out.DotsPerModule = std::max(1, int(std::lround(O.XDimensionMM * Dpi / 25.4)));
    Out.XDimensionMM = Out.DotsPerModule * 25.4 / Dpi;
    const int M = Out.DotsPerModule;
    Out.Image = QImage(SymbolModules * M, HeightModules * M, QImage::Format_RGB32);
    if (Out.Image.isNull())
        return Out;
    const int DotsPerMetre = int(std::lround(Dpi / 0.0254));
    Out.Image.setDotsPerMeterX(DotsPerMetre);
    Out.Image.setDotsPerMeterY(DotsPerMetre);
    TCanvas Canvas(&Out.Image);
    if (!DrawEan13(CompleteGTIN(Text), Canvas, SymbolModules * M, HeightModules * M, O.BackgroundColor, O.BarColor,
                   O.FontColor, true, O.DrawRightDelimiter))
        Out.Image = QImage();
    return Out;
}

bool ExportPng(const std::string& Text, const QString& Path, int Dpi, const TExportOptions& O, TRasterExport* Report)
{
    TRasterExport R = RenderRaster(Text, Dpi, O);
    const bool Saved = !R.Image.isNull() && R.Image.save(Path, "PNG");
    if (Report)
        *Report = std::move(R);
    return Saved;
}

bool ExportSvg(const std::string& Text, const QString& Path, const TExportOptions& O)
{
    const QSizeF Mm = SymbolSizeMM(O);
    const QSize Micrometres(int(std::lround(Mm.width() * 1000)), int(std::lround(Mm.height() * 1000)));
    QSvgGenerator Svg;
    Svg.setFileName(Path);
    Svg.setResolution(MicrometresPerInch);
    Svg.setSize(Micrometres);
    Svg.setViewBox(QRect(QPoint(0, 0), Micrometres));
    Svg.setTitle(QString::fromStdString("EAN-13 " + CompleteGTIN(Text)));
    return DrawOnDevice(Text, &Svg, O);
}

bool ExportPdf(const std::string& Text, const QString& Path, const TExportOptions& O)
{
    QPdfWriter Pdf(Path);
    Pdf.setResolution(MicrometresPerInch);
    Pdf.setPageSize(QPageSize(SymbolSizeMM(O), QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
    Pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    Pdf.setTitle(QString::fromStdString("EAN-13 " + CompleteGTIN(Text)));
    return DrawOnDevice(Text, &Pdf, O);
}

} // namespace WEQEan
