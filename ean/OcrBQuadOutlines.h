// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// The OCR-B digits as quadratic outlines in the design units of the flattened
// outlines (OcrBOutlines.h: the same extents, y upward), for vector files,
// which hold a curve as a few numbers rather than as many straight pieces.
// Private to the library and its tests.

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>

namespace WEQOcrB {

enum TQuadKind : std::uint8_t {
    Move,    // starts a contour
    Line,    // a straight segment to this point
    Control, // the control point of a curve to the next point
    Curve,   // the end of a curve
};

struct TQuadPoint {
    std::int16_t X, Y;
    TQuadKind Kind;
};

struct TQuadOutline {
    const TQuadPoint* Points;
    std::size_t Count;
};

// A point (x, y) of the font's units at (AX + BX x, AY + BY y) in design units.
struct TFontMap {
    long double AX, BX, AY, BY;
};

} // namespace WEQOcrB

#include "ean/OcrBQuadData.h"
