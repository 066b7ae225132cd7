#pragma once

// Internals of the exports for pages of many symbols.

#include "ean/WEQEanExport.h"
#include "surface/Canvas.h"

namespace WEQEan {

// The vector files work in micrometres, so any X-dimension given to the
// micrometre is a whole number of their units.
constexpr int MicrometresPerInch = 25400;

// Draws the symbol of Text at its physical size on a canvas whose device has
// Dpi dots per inch, its top-left at (Left, Top) in device dots, as
// DrawOnDevice draws it from the origin. The canvas is left with no transform.
WEQBARCODE_TEST_EXPORT bool DrawOnCanvasAt(const std::string& Text, TCanvas& Canvas, int Dpi, double Left, double Top,
                                           const TExportOptions& Options, QString* Error = nullptr);

// The whole number of device dots a module takes at Dpi, as the drawing snaps it.
WEQBARCODE_TEST_EXPORT std::int32_t DeviceDotsPerModule(double XDimensionMM, int Dpi);

} // namespace WEQEan
