// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// Paints a symbol's description on a raster canvas: the one painter behind
// the control, DrawEan13, DrawSymbol, the widgets and the raster exports.

#include "ean/WEQEanSymbol.h"
#include "ocrb/WEQOcrB_p.h"
#include "ean/Arith.h"
#include "surface/Canvas.h"
#include "surface/Canvas_p.h"

#include <exception>

#include <QTransform>

class QPainter;

#include <array>
#include <cmath>

namespace WEQEan {

// A fitting for one size of character box.
struct TBoxFit {
    std::int32_t Width = 0, Height = 0;
    WEQOcrB::TFit Fit{};
};

// How a raster symbol is painted: everything it needs is here, nothing is
// read from process-wide state.
struct TPaint {
    TColor Background = clWhite, Bars = clBlack, Digits = clBlack;
    bool FillBackground = true;
    // The digits: the font as the fittings give it, drawn in Style, or the
    // built-in outlines as the interface's outline painters place them.
    bool Font = false;
    WEQOcrB::TFontStyle Style = WEQOcrB::TFontStyle::Exact;
    // Outlined marks as the interface's outline painter draws its '>',
    // overhanging its box, rather than filling their box as in files.
    bool PainterMarks = false;
    // The fitting of the symbol's digit boxes, and of its other box sizes
    // (the smaller outer digits of UPC-A and UPC-E); a box without one is
    // fitted through Fits when it is drawn. A box its fitting cannot serve
    // is drawn with the outlines.
    WEQOcrB::TFit Fit{};
    std::array<TBoxFit, 2> OtherFits{};
    // The number line's fitting, where the symbol has a line; without one
    // fitted the line is drawn with the font's outlines.
    WEQOcrB::TLineFit LineFit{};
    WEQOcrB::TFitCache* Fits = nullptr;
    // Renderings of the font's characters: with it, a symbol on a filled
    // background of an image is written row by row and its characters copied
    // from it, where that gives the painter's pixels exactly.
    TTextCache* Glyphs = nullptr;
};

// Background (when asked), then the elements in their order. Raises what the
// surface or the digit painter raises; draws nothing after that.
void PaintSymbol(const TSymbol& Symbol, TCanvas& Canvas, const TPaint& Paint);

// The same pixels, written row by row straight into the image behind the
// canvas, with the digits from Paint.Glyphs. Only with a filled background
// and the font; false, with nothing outside the symbol touched, wherever the
// result could differ from PaintSymbol's, so the caller can paint it then.
bool PaintSymbolDirect(const TSymbol& Symbol, TCanvas& Canvas, const TPaint& Paint);

// A description as DrawEan13 and DrawSymbol draw it: straight into the
// pixels where that gives the painter's result, otherwise through the painter;
// a description that stopped at a failure is painted up to it and the
// failure then raised.
void PaintDescribed(const TSymbol& Symbol, const std::exception_ptr& Failure, TCanvas& Canvas, const TPaint& Paint);

// The failure path: the whole symbol area in the background colour, pen and
// fill, whatever was drawn before.
void CoverSymbol(TCanvas& Canvas, std::int32_t Width, std::int32_t Height, TColor Background);

// Paint.Fit and Paint.OtherFits for every box size of the symbol, and
// Paint.LineFit for its number line, from Paint.Fits; Paint.Font where the
// digit boxes' fitting holds.
void FitAllDigits(const TSymbol& Symbol, TPaint& Paint);

// On a device with more pixels than canvas units (a HiDPI screen, an image
// with a device pixel ratio, a widget rendered into either), Draw(Width,
// Height) lays the symbol out in the device's own pixels, so that every
// module is a whole number of them.
template <class TDraw> bool InDevicePixels(TCanvas& Canvas, std::int32_t Width, std::int32_t Height, TDraw Draw)
{
    const double Ratio = Canvas.DevicePixelRatio();
    if (Ratio == 1.0)
        return Draw(Width, Height);
    Canvas.SetTransform(QTransform::fromScale(1 / Ratio, 1 / Ratio));
    const auto Scaled = [Ratio](std::int32_t V) { return ClampToInt32(std::int64_t(std::floor(V * Ratio))); };
    bool Drawn = false;
    try {
        Drawn = Draw(Scaled(Width), Scaled(Height));
    } catch (...) {
        Canvas.SetTransform(QTransform());
        throw;
    }
    Canvas.SetTransform(QTransform());
    return Drawn;
}

struct TVectorSymbol;

// Writes a vector symbol with a painter someone else owns, in the painter's
// coordinates, one symbol unit to one unit: the background (when asked), each bar a
// rectangle, each character a filled outline. The painter's state is as it
// was afterwards.
void PaintVector(const TVectorSymbol& Symbol, QPainter& Painter, TColor Background, TColor Bars, TColor Digits,
                 bool FillBackground = true);

} // namespace WEQEan
