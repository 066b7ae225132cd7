#pragma once

// The file formats behind the exports, each written from a symbol's
// description or its raster: no painter, no device, nothing shared between
// calls, so any number of threads may write at once.

#include "ean/WEQEanSymbol.h"
#include "surface/Colors.h"

#include <QByteArray>
#include <QImage>

#include <string>

namespace WEQEan {

// Design units per module of SVG files: a tenth of a module places the
// digits' curves finely enough and keeps every coordinate short.
inline constexpr std::int32_t SvgUnitsPerModule = 10;

struct TSvgStyle {
    TColor Background = clWhite, Bars = clBlack, Digits = clBlack;
    std::int32_t MicrometresPerModule = 330; // the printed size: Symbol.Modules of these
    std::string Title;                       // plain text; empty for none
};

// Appends a whole SVG document for Symbol, described at SvgUnitsPerModule:
// the background, every bar in one path, each digit as outlines (a digit
// drawn more than once is defined once and reused), the '>' in its file box.
WEQBARCODE_TEST_EXPORT void AppendSvg(const TSymbol& Symbol, const TSvgStyle& Style, std::string& Out);

// PNG of a 32-bit image at Dpi: 1-bit grey when the image is black and white
// alone, else indexed with as few bits as its colours need (RGB beyond 256),
// the resolution in its pHYs chunk. Level is zlib's, 1 (fast) to 9; its
// default 6 takes under a tenth of a millisecond on a symbol's few kilobytes
// of rows and makes files a quarter smaller than level 1.
WEQBARCODE_TEST_EXPORT QByteArray PngOfImage(const QImage& Image, int Dpi, int Level = 6);

} // namespace WEQEan
