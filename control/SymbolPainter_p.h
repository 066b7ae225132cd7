// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// The arithmetic of a symbol on a screen: the largest whole-module symbol in
// an area of device pixels, placed on whole device pixels, and the size hints
// of the widgets that show it.

#include "ean/WEQEanSymbol.h"
#include "ean/Colors.h"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QSizeF>

#include <string>

class QPainter;

namespace WEQ {

// The library's colour of a Qt colour: red, green and blue; the alpha is not
// part of it.
TColor ToTColor(const QColor& Color);
// An invalid colour stands for the default; a valid one is kept as RGB, so
// that the same colour written in another colour model compares equal.
QColor ColorOrDefault(const QColor& Color, const QColor& Default);
// A colour made in CMYK (QColor::fromCmykF): its own conversion gives it back
// unchanged, where any other colour's gives a colour of another model.
inline bool IsCmyk(const QColor& Color) { return Color.isValid() && Color == Color.toCmyk(); }

// The symbol's width in modules (quiet zones and add-on included) and its
// height in modules at the nominal proportions.
struct TSymbolShape {
    int Modules = 113, HeightModules = 79;
    bool KeepAspectRatio = true;
    // The modules a book's number line takes above the bars (included in
    // HeightModules), which the least height takes too.
    int LineModules = 0;
};

// The largest whole-module symbol in an area of device pixels: Modules m wide
// and HeightModules m high with KeepAspectRatio, otherwise as high as the area
// and at least 18 m and the line's modules. The image stays within TBitmap's bounds: a larger area gets the
// largest symbol within them. Module width 0 when not even m = 1 fits.
struct TSymbolFit {
    int ModuleWidth = 0;
    QSize Size;
};
TSymbolFit FitSymbol(QSize DeviceArea, const TSymbolShape& Shape);

// Where the symbol goes in a rectangle of Size logical units whose origin lies
// on device position Origin, Ratio device pixels to the unit: the whole device
// pixels inside the rectangle make the area, the symbol is aligned in it, and
// Logical (relative to the rectangle's origin) has its corners on whole
// device pixels.
struct TSymbolPlace {
    TSymbolFit Fit;
    QRectF Logical;
};
TSymbolPlace PlaceSymbol(QPointF Origin, QSizeF Size, double Ratio, const TSymbolShape& Shape, Qt::Alignment Alignment);

// A control's size hints, in logical units: the preferred size holds module
// width 3 at the nominal height, the minimum module width 1 at that height
// (18 modules without the aspect ratio). On a screen with fewer device
// pixels than units they grow so that a module still has a whole device pixel.
QSize PreferredSymbolSize(const TSymbolShape& Shape, double Ratio);
QSize MinimumSymbolSize(const TSymbolShape& Shape, double Ratio);
// The logical height that holds the nominal-height symbol fitted to Width.
int SymbolHeightForWidth(int Width, const TSymbolShape& Shape, double Ratio);

} // namespace WEQ
