#pragma once

// Draws a symbol's description on a canvas: the one painter behind the
// control, DrawEan13, images, files and print.

#include "ean/WEQEanSymbol.h"
#include "ocrb/WEQOcrB_p.h"
#include "surface/Canvas.h"

namespace WEQEan {

enum class TDigitSource : std::uint8_t {
    Painter,  // the digit painter as the interface describes it (DrawOcrBChar)
    Fitted,   // the font, placed by each character's ink at the fitted height
    Outlines, // the built-in outlines; the '>' in its file box
};

struct TPaint {
    TColor Background = clWhite, Bars = clBlack, Digits = clBlack;
    bool FillBackground = true;
    TDigitSource Source = TDigitSource::Painter;
    // For TDigitSource::Fitted. Its digits are drawn without antialiasing,
    // so that their ink is exactly the ink they were placed by.
    WEQOcrB::TFit Fit;
};

// Background (when asked), then the elements in their order. Raises what the
// surface or the digit painter raises; draws nothing after that.
WEQBARCODE_TEST_EXPORT void PaintSymbol(const TSymbol& Symbol, TCanvas& Canvas, const TPaint& Paint);

// The same pixels, written row by row straight into the image behind the
// canvas, with the digits from the text cache. Only with a filled background
// and the font; false, with nothing outside the symbol touched, wherever the
// result could differ from PaintSymbol's, so the caller can paint it then.
WEQBARCODE_TEST_EXPORT bool PaintSymbolDirect(const TSymbol& Symbol, TCanvas& Canvas, const TPaint& Paint);

// The failure path: the whole symbol area in the background colour, pen and
// fill, whatever was drawn before.
void CoverSymbol(TCanvas& Canvas, std::int32_t Width, std::int32_t Height, TColor Background);

// The fitting for a symbol's digit boxes where the font can draw them at
// that size; Fitted false where the outlines must.
WEQBARCODE_TEST_EXPORT WEQOcrB::TFit FitForDigits(const TSymbol& Symbol);

} // namespace WEQEan
