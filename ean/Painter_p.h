#pragma once

// Draws a symbol's description on a canvas: the one painter behind the
// control, DrawEan13, images, files and print.

#include "ean/WEQEanSymbol.h"
#include "ocrb/WEQOcrB_p.h"
#include "surface/Arith.h"
#include "surface/Canvas.h"

#include <exception>

#include <QTransform>

#include <array>
#include <cmath>

namespace WEQEan {

enum class TDigitSource : std::uint8_t {
    Painter,  // the digit painter as the interface describes it (DrawOcrBChar)
    Fitted,   // the font, placed by each character's ink at the fitted height
    Outlines, // the built-in outlines; the '>' in its file box
};

// A fitting for one size of character box.
struct TBoxFit {
    std::int32_t Width = 0, Height = 0;
    WEQOcrB::TFit Fit;
};

struct TPaint {
    TColor Background = clWhite, Bars = clBlack, Digits = clBlack;
    bool FillBackground = true;
    TDigitSource Source = TDigitSource::Painter;
    // For TDigitSource::Fitted, the fitting of the symbol's digit boxes. Its
    // digits are drawn without antialiasing, so that their ink is exactly
    // the ink they were placed by.
    WEQOcrB::TFit Fit;
    // The fittings of the symbol's other box sizes (the smaller outer digits
    // of UPC-A and UPC-E); a box without one is fitted through the shared
    // cache when it is drawn. A box its fitting cannot serve is drawn with
    // the outlines.
    std::array<TBoxFit, 2> OtherFits{};
};

// Background (when asked), then the elements in their order. Raises what the
// surface or the digit painter raises; draws nothing after that.
WEQBARCODE_TEST_EXPORT void PaintSymbol(const TSymbol& Symbol, TCanvas& Canvas, const TPaint& Paint);

// The same pixels, written row by row straight into the image behind the
// canvas, with the digits from the text cache. Only with a filled background
// and the font; false, with nothing outside the symbol touched, wherever the
// result could differ from PaintSymbol's, so the caller can paint it then.
WEQBARCODE_TEST_EXPORT bool PaintSymbolDirect(const TSymbol& Symbol, TCanvas& Canvas, const TPaint& Paint);

// A description as DrawEan13 and DrawSymbol draw it: straight into the
// pixels where that gives the painter's result, otherwise through the painter;
// a description that stopped at a failure is painted up to it and the
// failure then raised.
void PaintDescribed(const TSymbol& Symbol, const std::exception_ptr& Failure, TCanvas& Canvas, const TPaint& Paint);

// The failure path: the whole symbol area in the background colour, pen and
// fill, whatever was drawn before.
void CoverSymbol(TCanvas& Canvas, std::int32_t Width, std::int32_t Height, TColor Background);

// The fitting for a symbol's digit boxes where the font can draw them at
// that size; Fitted false where the outlines must.
WEQBARCODE_TEST_EXPORT WEQOcrB::TFit FitForDigits(const TSymbol& Symbol);
// Paint.Fit and Paint.OtherFits for every box size of the symbol.
WEQBARCODE_TEST_EXPORT void FitAllDigits(const TSymbol& Symbol, TPaint& Paint);

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

} // namespace WEQEan
