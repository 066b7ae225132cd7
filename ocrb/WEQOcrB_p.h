#pragma once

// Internals of the digit painter that its tests reach for.

#include "ocrb/WEQOcrB.h"

#include <QByteArray>

#include <cstdint>

namespace WEQOcrB {

// Where the embedded font lives among the program's resources.
inline constexpr const char* OcrBFontResource = ":/ocrb/OCRB.ttf";

// Registers font data for this process and tells whether it provides the
// family "OCRB"; sets OcrBFontHandle.
bool RegisterOcrBFontData(const QByteArray& Data);
// Removes the registration and empties the fitting cache's font name.
void UnloadOcrBFont();

// Counts every character measured by the fitting, so tests can see a cache hit.
extern std::uint64_t MeasurementCount;

// The largest font height the fitting will try; beyond it (a box far larger
// than any screen) it raises Exception rather than rendering gigantic text.
inline constexpr std::int32_t MaxFitFontHeight = 4096;

} // namespace WEQOcrB
