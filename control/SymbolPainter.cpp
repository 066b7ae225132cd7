// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "control/SymbolPainter_p.h"

#include "ean/WEQEan.h"
#include "ean/WEQEanFamily.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace WEQ {

namespace {

constexpr int MinimumHeightModules = WEQEan::Ean13MinimumHeightModules;

// Device positions computed in floating point land a hair beside a whole
// pixel they mean; this much is taken for that pixel.
constexpr double PixelSlack = 1e-6;

double SaneRatio(double Ratio) { return std::isfinite(Ratio) && Ratio > 0 ? Ratio : 1.0; }

// Whole device pixels from a floating-point coordinate, bounded so that any
// logical size (a QML item can be 1e30 wide) gives a defined int.
int DevicePixels(double Value)
{
    constexpr double Bound = std::numeric_limits<int>::max() / 4;
    return int(std::clamp(Value, -Bound, Bound));
}

} // namespace

TColor ToTColor(const QColor& Color)
{
    const QColor Rgb = Color.toRgb();
    return TColor(Rgb.red()) | TColor(Rgb.green()) << 8 | TColor(Rgb.blue()) << 16;
}

QColor ColorOrDefault(const QColor& Color, const QColor& Default)
{
    // A CMYK colour stays one: it is printed as process inks.
    return !Color.isValid() ? Default.toRgb() : IsCmyk(Color) ? Color : Color.toRgb();
}

TSymbolFit FitSymbol(QSize DeviceArea, const TSymbolShape& Shape)
{
    const int W = std::max(0, DeviceArea.width());
    // Without the aspect ratio the symbol takes the area's height, within
    // what one side of an image may be.
    const int Height = Shape.KeepAspectRatio ? 0 : std::min(std::max(0, DeviceArea.height()), TBitmap::MaxSide);
    int M = std::min(W / Shape.Modules, Shape.KeepAspectRatio ? std::max(0, DeviceArea.height()) / Shape.HeightModules
                                                                : Height / (MinimumHeightModules + Shape.LineModules));
    M = std::min(M, TBitmap::MaxSide / Shape.Modules);
    const auto Rows = [&](int Module) { return Shape.KeepAspectRatio ? Shape.HeightModules * Module : Height; };
    // At most MaxSide / Modules steps.
    while (M > 0 && std::int64_t(Shape.Modules) * M * Rows(M) > TBitmap::MaxPixels)
        --M;
    if (M <= 0)
        return {};
    return {M, QSize(Shape.Modules * M, Rows(M))};
}

TSymbolPlace PlaceSymbol(QPointF Origin, QSizeF Size, double Ratio, const TSymbolShape& Shape, Qt::Alignment Alignment)
{
    Ratio = SaneRatio(Ratio);
    const int Left = DevicePixels(std::ceil(Origin.x() - PixelSlack));
    const int Top = DevicePixels(std::ceil(Origin.y() - PixelSlack));
    const int Right = DevicePixels(std::floor(Origin.x() + std::max(0.0, Size.width()) * Ratio + PixelSlack));
    const int Bottom = DevicePixels(std::floor(Origin.y() + std::max(0.0, Size.height()) * Ratio + PixelSlack));
    const QSize Area(std::max(0, Right - Left), std::max(0, Bottom - Top));
    TSymbolPlace Place;
    Place.Fit = FitSymbol(Area, Shape);
    if (Place.Fit.ModuleWidth == 0)
        return Place;
    // As QStyle::alignedRect: no horizontal flag is left, no vertical one top.
    const int SpareX = Area.width() - Place.Fit.Size.width(), SpareY = Area.height() - Place.Fit.Size.height();
    const int X = Left + ((Alignment & Qt::AlignRight) ? SpareX : (Alignment & Qt::AlignHCenter) ? SpareX / 2 : 0);
    const int Y = Top + ((Alignment & Qt::AlignBottom) ? SpareY : (Alignment & Qt::AlignVCenter) ? SpareY / 2 : 0);
    Place.Logical = QRectF((X - Origin.x()) / Ratio, (Y - Origin.y()) / Ratio, Place.Fit.Size.width() / Ratio,
                           Place.Fit.Size.height() / Ratio);
    return Place;
}

namespace {
QSize HintOf(int Modules, int ModuleWidth, int HeightModules, double Ratio)
{
    const double Scale = 1 / std::min(1.0, SaneRatio(Ratio));
    return QSize(int(std::ceil(Modules * ModuleWidth * Scale)), int(std::ceil(HeightModules * ModuleWidth * Scale)));
}
} // namespace

QSize PreferredSymbolSize(const TSymbolShape& Shape, double Ratio)
{
    return HintOf(Shape.Modules, 3, Shape.HeightModules, Ratio);
}

QSize MinimumSymbolSize(const TSymbolShape& Shape, double Ratio)
{
    return HintOf(Shape.Modules, 1,
                  Shape.KeepAspectRatio ? Shape.HeightModules : MinimumHeightModules + Shape.LineModules, Ratio);
}

int SymbolHeightForWidth(int Width, const TSymbolShape& Shape, double Ratio)
{
    Ratio = SaneRatio(Ratio);
    TSymbolShape Kept = Shape;
    Kept.KeepAspectRatio = true;
    const TSymbolFit Fit =
        FitSymbol(QSize(DevicePixels(std::floor(std::max(0, Width) * Ratio + PixelSlack)), TBitmap::MaxSide), Kept);
    const int Rows = Shape.HeightModules * std::max(1, Fit.ModuleWidth);
    // At a fractional ratio the rectangle can start inside a device pixel,
    // which costs it one of those it spans.
    const int Spare = Ratio == std::floor(Ratio) ? 0 : 1;
    return int(std::ceil((Rows + Spare) / Ratio - PixelSlack));
}

} // namespace WEQ
