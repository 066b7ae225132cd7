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
    // Rows From .. To - 1 become copies of row Source.
    void CopyRow(std::int32_t Source, std::int32_t From, std::int32_t To);
    // Gives the storage back where it holds more than Keep bytes: a large
    // symbol's rows are not kept for the next, small one.
    void Release(std::size_t Keep);

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

// The ink of the shapes sampled so far, as runs of dots a row, by the shape
// (its character, box and kind): a character of a size is sampled once, for
// every symbol that cache serves.
class TGlyphRuns {
public:
    struct TRun {
        std::int32_t Y, X0, X1;
    };
    const std::vector<TRun>& Of(const TVectorSymbol& Symbol, std::size_t Shape);

private:
    TShapeMemo<std::vector<TRun>, 256> Memo;
};

// The symbol, described on a grid of whole dots (bars and boxes whole, the
// characters' outlines placed), into Out at Depth bits a pixel: rows of the
// same bars made once and copied, each shape's runs from Glyphs.
void RasterizeSymbol(const TVectorSymbol& Symbol, const TRasterIndices& Indices, int Depth, TPackedRows& Out,
                     TGlyphRuns& Glyphs);

} // namespace WEQEan
