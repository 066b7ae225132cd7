// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// What the exports share: the checks of their parameters, the snap of the
// module to whole dots, and the symbol of a text at whole modules.

#include "ean/Units.h"
#include "ean/WEQEanExport.h"
#include "export/Writers_p.h"

#include <QString>

#include <vector>

namespace WEQEan {

// False, with Reason in Error when given.
bool Fail(QString* Error, const QString& Reason);
bool CheckXDimension(double X, QString* Error);
bool CheckDpi(int Dpi, QString* Error);
bool WithinGs1(double XMM);

struct TSnap {
    std::int32_t Dots;
    double XDimensionMM;
};
// The whole number of dots per module nearest to X at Dpi, at least one;
// where X itself is inside GS1's range, a neighbour inside it wins over a
// nearer one outside.
TSnap Snap(double X, double Dpi);

// The reading of a text as the options ask for it (the symbology, the
// add-on, completion unless Strict): the text exports' one read.
TEanReading ReadText(const std::string& Text, const TExportOptions& O);

// The grid a symbol is described on: its units per module and per
// millimetre, and how many of them make one of the output's dots, the step
// that bar heights and bar width reductions are rounded to.
struct TGrid {
    std::int32_t PerModule;
    double PerMM;
    std::int32_t PerDot;
};
// A raster's dots; a device's dots in fiftieths, so that the characters'
// boxes keep their shape at a few dots a module; the vector files'
// micrometres, the module a whole number of them.
TGrid RasterGrid(const TSnap& S, int Dpi);
TGrid DeviceGrid(const TSnap& S, int Dpi);
TGrid VectorGrid(double XDimensionMM);

// The heights and widths the print options ask for, on a grid: false, with
// the reason, where they cannot be drawn.
struct TPrintGeometry {
    std::int64_t BarUnits = 0;       // the main bars' height
    std::int64_t ReductionUnits = 0; // taken from every bar
};
bool GeometryOf(TSymbology Symbology, const TExportOptions& O, const TGrid& Grid, TPrintGeometry& G, QString* Error);

// The symbol on a grid, its bars as tall and as narrow as the options ask,
// or false with the reason the reading, the gap or the options give.
bool SymbolAt(const TEanReading& R, const TGrid& Grid, const TExportOptions& O, TSymbol& Symbol, QString* Error);

// The vector symbol with a painter whose units are a device's dots at Dpi,
// on the raster's grid: every module, bar and box is the whole dots
// RenderRaster gives them, so a device of Dpi shows what the image holds.
bool PaintInDots(const TEanReading& R, QPainter& Painter, int Dpi, const TExportOptions& O, QString* Error);

// EncodePng at zlib's Level (1 fast .. 9 small), for the benchmark that
// picks the files' level.
bool EncodePngAtLevel(const TEanReading& Reading, int Dpi, const TExportOptions& O, int Level, QByteArray& Out,
                      TRasterExport* Report = nullptr, QString* Error = nullptr);

// The options' inks (see TExportOptions): false, with the reason, where
// PDF/X is asked for and a colour or ink given is RGB.
bool InksOf(const TExportOptions& O, TInks& Inks, QString* Error);
// The options with their inks' sRGB equivalents in the colour fields and no
// background for no ink, for everything that draws RGB.
TExportOptions RgbOptions(const TExportOptions& O);

class TPackedRows;
// A raster symbol's pixels as indices into its palette of few colours (0 the
// background, 1 the bars, 2 the characters where theirs differ), packed as
// PNG keeps them.
struct TRaster {
    TPackedRows& Rows;
    std::vector<std::uint32_t> Palette; // 0xRRGGBB by index
};
// The calling thread's rows, kept from one symbol to the next.
TPackedRows& ThreadRows();
// What a raster export reports beside its image.
struct TRasterInfo {
    std::int32_t DotsPerModule = 0;
    double XDimensionMM = 0;
    bool WithinGs1Range = false;
    QString Error;
    void Into(TRasterExport& Out) const
    {
        Out.DotsPerModule = DotsPerModule;
        Out.XDimensionMM = XDimensionMM;
        Out.WithinGs1Range = WithinGs1Range;
        Out.Error = Error;
    }
};
// The raster symbol of a reading at Dpi, its bars whole dots and its
// characters the outlines sampled at the dots' centres, in the inks' sRGB
// equivalents: false with the reason in Out.Error where it cannot be; Out
// gets the snap either way.
bool RasterizeAt(const TEanReading& R, int Dpi, const TExportOptions& Given, TRasterInfo& Out, TRaster& Raster);
// The raster as a 32-bit image that carries the dpi into Out.Image (null
// where Raster is; Out.Error says why where there is not memory for one).
// Made by the drawing part (Paint.cpp), which needs Qt's GUI library: a
// program that links the file writers alone has none, and its exports
// report no image.
void ImageInto(const TRaster* Raster, int Dpi, TRasterExport& Out) __attribute__((weak));

// Points of a PDF page for each unit of a symbol on the vector grid.
inline constexpr double PdfPointsPerUnit = PointsPerInch / MicrometresPerInch;

// The grid of a PDF's symbols: micrometres, or the dots of O.PrinterDpi;
// and how many points and millimetres a unit of it measures.
struct TPdfGrid {
    TGrid Grid;
    double PointsPerUnit, MillimetresPerUnit;
};
// False, with the reason, where the X-dimension or the printer's dpi is
// not one the exports take.
bool PdfGridOf(const TExportOptions& O, TPdfGrid& Out, QString* Error);

} // namespace WEQEan
