#pragma once

// Internals of the digit painter that its tests reach for.

#include "ocrb/WEQOcrB.h"
#include "surface/Export.h"

#include <QByteArray>
#include <QRect>

#include <cstdint>

namespace WEQOcrB {

// Where the embedded font lives among the program's resources.
inline constexpr const char* OcrBFontResource = ":/ocrb/OCRB.ttf";

// Registers font data for this process and tells whether it provides the
// family "OCRB"; sets OcrBFontHandle.
WEQBARCODE_TEST_EXPORT bool RegisterOcrBFontData(const QByteArray& Data);
// Removes the registration and empties the fitting cache's font name.
WEQBARCODE_TEST_EXPORT void UnloadOcrBFont();

// DrawFontChar, but only where the canvas can reproduce the painter's pixels
// from its text cache and the text stays within Inside on one background
// colour; otherwise nothing is drawn (the fit is made all the same) and the
// result is false.
WEQBARCODE_TEST_EXPORT bool DrawFontCharIfExact(const std::string& Text, TCanvas& Canvas, std::int32_t Left, std::int32_t Top,
                         std::int32_t Width, std::int32_t Height, std::uint8_t Alignment, TColor Color,
                         const QRect& Inside);

// Counts every character measured by the fitting, so tests can see a cache hit.
extern WEQBARCODE_TEST_EXPORT std::uint64_t MeasurementCount;

// The largest font height the fitting will try; beyond it (a box far larger
// than any screen) it raises Exception rather than rendering gigantic text.
inline constexpr std::int32_t MaxFitFontHeight = 1024;

} // namespace WEQOcrB
