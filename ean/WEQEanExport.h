#pragma once

// A symbol at a physical size, for print and files: PNG at a given dpi with the
// module width snapped to whole printer dots, and SVG and PDF with exact vector
// bars. All outputs carry the quiet zones (the symbol's full 113 modules) and
// are 79 modules high; vector digits are the built-in outlines, so the files
// need no font.

#include "surface/Colors.h"
#include "surface/Export.h"

#include <QImage>
#include <QString>

class QPaintDevice;

#include <string>

namespace WEQEan {

// GS1 allows X-dimensions from 0.264 to 0.660 mm; 0.330 mm is magnification 1.
inline constexpr double NominalXDimensionMM = 0.330;
inline double MagnificationToXDimension(double Magnification) { return Magnification * NominalXDimensionMM; }

struct TExportOptions {
    double XDimensionMM = NominalXDimensionMM;
    bool DrawRightDelimiter = true;
    TColor BackgroundColor = clWhite, BarColor = clBlack, FontColor = clBlack;
};

struct TRasterExport {
    QImage Image;                // empty when the text could not be drawn
    std::int32_t DotsPerModule;  // the snapped module width
    double XDimensionMM;         // what the snapped module width measures
};

// The symbol of CompleteGTIN(Text) at Dpi, the module width rounded to the
// nearest whole number of dots (at least one). The image carries the dpi.
WEQBARCODE_EXPORT TRasterExport RenderRaster(const std::string& Text, int Dpi, const TExportOptions& Options = {});

// Draws the symbol at its physical size from the device's origin, with the
// device's own resolution (a printer, an SVG generator, a PDF writer).
WEQBARCODE_EXPORT bool DrawOnDevice(const std::string& Text, QPaintDevice* Device, const TExportOptions& Options = {});

// Files; false when the file cannot be written. A PNG export reports its snap.
WEQBARCODE_EXPORT bool ExportPng(const std::string& Text, const QString& Path, int Dpi, const TExportOptions& Options = {},
               TRasterExport* Report = nullptr);
WEQBARCODE_EXPORT bool ExportSvg(const std::string& Text, const QString& Path, const TExportOptions& Options = {});
WEQBARCODE_EXPORT bool ExportPdf(const std::string& Text, const QString& Path, const TExportOptions& Options = {});

// Design units per module in the vector outputs: the bars of module k start at
// (k - 1) * VectorUnitsPerModule before the one scale to micrometres.
inline constexpr std::int32_t VectorUnitsPerModule = 50;

} // namespace WEQEan
