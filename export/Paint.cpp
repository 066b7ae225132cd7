// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// The exports that need Qt's GUI library: a QImage of the raster, and the
// vector symbol drawn through a QPainter. The file writers beneath them
// (Export.cpp) link Qt Core alone, so that a program writing files need not
// load the GUI library.

#include "ean/WEQEanExport.h"

#include "ean/Raster_p.h"
#include "ean/Units.h"
#include "ean/Vector_p.h"
#include "export/Export_p.h"
#include "export/Writers_p.h"
#include "render/SymbolPaint_p.h"

#include <QPainter>
#include <QTransform>

#include <cmath>

namespace WEQEan {

void ImageInto(const TRaster* Raster, int Dpi, TRasterExport& Out)
{
    if (!Raster) {
        Out.Image = QImage();
        return;
    }
    const TPackedRows& Rows = Raster->Rows;
    QImage Image(Rows.Width(), Rows.Height(), QImage::Format_RGB32);
    if (Image.isNull()) {
        Out.Error = QStringLiteral("Not enough memory for %1 x %2 pixels").arg(Rows.Width()).arg(Rows.Height());
        return;
    }
    const int DotsPerMetre = int(std::lround(Dpi / MetresPerInch));
    Image.setDotsPerMeterX(DotsPerMetre);
    Image.setDotsPerMeterY(DotsPerMetre);
    for (std::int32_t Y = 0; Y < Rows.Height(); ++Y) {
        auto* Line = reinterpret_cast<QRgb*>(Image.scanLine(Y));
        for (std::int32_t X = 0; X < Rows.Width(); ++X)
            Line[X] = 0xFF000000u | Raster->Palette[Rows.Pixel(X, Y)];
    }
    Out.Image = std::move(Image);
}

TRasterExport RenderRaster(const TEanReading& R, int Dpi, const TExportOptions& O)
{
    TRasterExport Out;
    TRasterInfo Info;
    TRaster Raster{ThreadRows(), {}};
    const bool Drawn = RasterizeAt(R, Dpi, O, Info, Raster);
    Info.Into(Out);
    if (Drawn)
        ImageInto(&Raster, Dpi, Out);
    Raster.Rows.Release(std::size_t(4) << 20);
    return Out;
}

bool DrawOnDevice(const TEanReading& R, QPaintDevice* Device, const TExportOptions& O, QString* Error)
{
    if (!Device)
        return Fail(Error, QStringLiteral("No device to draw on"));
    if (!CheckXDimension(O.XDimensionMM, Error))
        return false;
    if (Device->paintingActive())
        return Fail(Error, QStringLiteral("The device is being painted on by another painter"));
    QPainter Painter;
    if (!Painter.begin(Device))
        return Fail(Error, QStringLiteral("The device cannot be painted on"));
    return DrawOnPainter(R, Painter, Device->logicalDpiX(), 0, 0, O, Error);
}

// Vector files then hold paths, not text in a font the reader may lack.
namespace {

// The vector symbol on Grid with a painter in whole units of the grid's dots,
// its top-left at (Left, Top).
bool PaintOnGrid(const TEanReading& R, QPainter& Painter, const TGrid& Grid, double Left, double Top,
                 const TExportOptions& Given, QString* Error)
{
    // A painter's device takes RGB, Qt's PDF engine too.
    const TExportOptions O = RgbOptions(Given);
    if (!Painter.isActive())
        return Fail(Error, QStringLiteral("The painter is not painting"));
    TSymbol Symbol;
    if (!SymbolAt(R, Grid, O, Symbol, Error))
        return false;
    const double Scale = 1.0 / Grid.PerDot;
    Painter.save();
    Painter.setWorldTransform(QTransform(Scale, 0, 0, Scale, Left, Top), true);
    PaintVector(ResolveVector(std::move(Symbol)), Painter, O.BackgroundColor, O.BarColor, O.FontColor,
                O.FillBackground);
    Painter.restore();
    return true;
}

} // namespace

bool DrawOnPainter(const TEanReading& R, QPainter& Painter, int Dpi, double Left, double Top,
                   const TExportOptions& O, QString* Error)
{
    if (!CheckXDimension(O.XDimensionMM, Error))
        return false;
    if (Dpi <= 0)
        return Fail(Error, QStringLiteral("The device has no resolution"));
    return PaintOnGrid(R, Painter, DeviceGrid(Snap(O.XDimensionMM, Dpi), Dpi), Left, Top, O, Error);
}

bool PaintInDots(const TEanReading& R, QPainter& Painter, int Dpi, const TExportOptions& O, QString* Error)
{
    if (!CheckXDimension(O.XDimensionMM, Error))
        return false;
    if (Dpi <= 0)
        return Fail(Error, QStringLiteral("The device has no resolution"));
    return PaintOnGrid(R, Painter, RasterGrid(Snap(O.XDimensionMM, Dpi), Dpi), 0, 0, O, Error);
}

TRasterExport RenderRaster(const std::string& Text, int Dpi, const TExportOptions& O)
{
    return RenderRaster(ReadText(Text, O), Dpi, O);
}
bool DrawOnDevice(const std::string& Text, QPaintDevice* Device, const TExportOptions& O, QString* Error)
{
    return DrawOnDevice(ReadText(Text, O), Device, O, Error);
}
bool DrawOnPainter(const std::string& Text, QPainter& Painter, int Dpi, double Left, double Top,
                   const TExportOptions& O, QString* Error)
{
    return DrawOnPainter(ReadText(Text, O), Painter, Dpi, Left, Top, O, Error);
}

QByteArray PngOfImage(const QImage& Source, int Dpi, int Level, const QRgb* Transparent)
{
    if (Source.isNull())
        return {};
    const QImage Image = Source.format() == QImage::Format_RGB32 || Source.format() == QImage::Format_ARGB32
                             ? Source
                             : Source.convertToFormat(QImage::Format_RGB32);
    struct TImageRows final : TRowSource {
        const QImage& Image;
        explicit TImageRows(const QImage& Image) : Image(Image) {}
        int Width() const override { return Image.width(); }
        int Height() const override { return Image.height(); }
        const QRgb* Row(int Y) override { return reinterpret_cast<const QRgb*>(Image.constScanLine(Y)); }
    } Rows(Image);
    return PngOfRows(Rows, Dpi, Level, Transparent);
}

} // namespace WEQEan
