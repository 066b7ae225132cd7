#pragma once

// The file formats behind the exports, each written from a symbol's vector
// form or its raster: no painter, no device, nothing shared between calls, so
// any number of threads may write at once.

#include "surface/Colors.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <string>

namespace WEQEan {

struct TVectorSymbol;

// The vector files work in micrometres, so any X-dimension given to the
// micrometre is a whole number of their units.
inline constexpr int MicrometresPerInch = 25400;

// Design units per module of SVG files: a tenth of a module places the
// digits' curves finely enough and keeps every coordinate short.
inline constexpr std::int32_t SvgUnitsPerModule = 10;

struct TSvgStyle {
    TColor Background = clWhite, Bars = clBlack, Digits = clBlack;
    std::int32_t MicrometresPerModule = 330; // the printed size: Symbol.Modules of these
    std::string Title;                       // plain text; empty for none
};

// Appends a whole SVG document for a symbol described at SvgUnitsPerModule:
// the background, every bar in one path, each character as its outline (a
// digit drawn more than once is defined once and reused).
void AppendSvg(const TVectorSymbol& Symbol, const TSvgStyle& Style, std::string& Out);

// PNG of a 32-bit image at Dpi: 1-bit grey when the image is black and white
// alone, else indexed with as few bits as its colours need (RGB beyond 256),
// the resolution in its pHYs chunk. Level is zlib's, 1 (fast) to 9; its
// default 6 takes under a tenth of a millisecond on a symbol's few kilobytes
// of rows and makes files a quarter smaller than level 1.
QByteArray PngOfImage(const QImage& Image, int Dpi, int Level = 6);

// Writes Data to Path whole or not at all (see TAtomicFile): false with the
// reason in Error.
bool SaveAtomically(const QString& Path, const QByteArray& Data, QString* Error);

} // namespace WEQEan
