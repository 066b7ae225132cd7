// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// The built-in outlines of the OCR-B digits and the delimiter sign, in whole
// design units with y upward. Private to the library and its tests.

#include <array>
#include <cstdint>

namespace WEQOcrB {

struct TOutlinePoint {
    std::int32_t X, Y;
};

struct TGlyphOutline {
    // Extents of the outline's own points, stored so the painter need not scan.
    std::int32_t XMin, XMax, YMin;
    // Outer boundary first, then the counters.
    std::int32_t ContourCount;
    std::array<std::int32_t, 3> Counts;
    const TOutlinePoint* Points;
};

} // namespace WEQOcrB

#include "ean/OcrBOutlineData.h"

namespace WEQOcrB {

// Every painter maps a cell this many design units wide and tall onto its box.
inline constexpr std::int32_t GlyphCellWidth = 687;
inline constexpr std::int32_t GlyphCellHeight = 1077;

constexpr std::int32_t OutlinePointCount(const TGlyphOutline& Outline)
{
    return Outline.Counts[0] + Outline.Counts[1] + Outline.Counts[2];
}

// Sizes the painters' working array, so that they allocate nothing.
inline constexpr std::int32_t MaxOutlinePoints = [] {
    std::int32_t Max = 0;
    for (const TGlyphOutline& Outline : OcrBOutlines)
        Max = OutlinePointCount(Outline) > Max ? OutlinePointCount(Outline) : Max;
    return Max;
}();

} // namespace WEQOcrB
