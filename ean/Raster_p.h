// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// A symbol's pixels without a paint engine: the vector symbol on a grid of
// whole dots, its bars as runs and each character's outline sampled once at
// each dot's centre, into rows of few colours packed as PNG keeps them. No Qt.

#include "ean/Vector_p.h"

#include <cstdint>
#include <vector>

namespace WEQEan {

// Rows of Depth bits a pixel (1, 2, 4 or 8), the first pixel of a row in the
// high bits of its first byte; the storage is kept from one symbol to the next.
class TPackedRows {
public:
    // Width x Height pixels of colour index Fill, Depth bits each.
    void Reset(std::int32_t Width, std::int32_t Height, int Depth, std::uint8_t Fill);
    // Pixels X0 <= x < X1 of row Y take Index; the span is clipped to the row.
    void Span(std::int32_t Y, std::int32_t X0, std::int32_t X1, std::uint8_t Index);
    std::uint8_t Pixel(std::int32_t X, std::int32_t Y) const;

    std::int32_t Width() const { return W; }
    std::int32_t Height() const { return H; }
    int Depth() const { return D; }
    std::size_t Stride() const { return RowBytes; }
    const std::uint8_t* Row(std::int32_t Y) const { return Bytes.data() + std::size_t(Y) * RowBytes; }

private:
    std::int32_t W = 0, H = 0;
    int D = 1;
    std::size_t RowBytes = 0;
    std::vector<std::uint8_t> Bytes;
};

// A character's ink in its box, a byte a pixel (1: ink): the pixels whose
// centres its outline holds under the nonzero winding rule.
struct TGlyphMask {
    std::int32_t Width = 0, Height = 0;
    std::vector<std::uint8_t> Ink;
};

// The mask of an outline (commands relative to its box's origin, in dots)
// in a Width x Height box; ink outside the box is cut off.
TGlyphMask SampleOutline(const TVectorCommand* Commands, std::size_t Count, std::int32_t Width,
                         std::int32_t Height);

// The colours of a raster symbol, as indices into its palette.
struct TRasterIndices {
    std::uint8_t Background = 0, Bars = 1, Characters = 1;
};

// The symbol, described on a grid of whole dots (bars and boxes whole, the
// characters' outlines placed), into Out at Depth bits a pixel; every shape
// is sampled once, however many characters take it.
void RasterizeSymbol(const TVectorSymbol& Symbol, const TRasterIndices& Indices, int Depth, TPackedRows& Out);

} // namespace WEQEan
