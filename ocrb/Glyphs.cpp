// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "ean/OcrBOutlines.h"
#include "ocrb/WEQOcrB_p.h"
#include "ean/Arith.h"

#include <algorithm>

namespace WEQOcrB {

namespace {

// Writes the surface points of Outline scaled into the box to Out, which holds
// at least MaxOutlinePoints points. The grouping and order of the operations
// are part of the result: each is rounded once in extended precision and only
// the sums are truncated.
void TransformOutline(const TGlyphOutline& Outline, std::int32_t Left, std::int32_t Top, std::int32_t Width,
                      std::int32_t Height, QPoint* Out)
{
    // Half the spare width, truncated toward zero: an odd unit goes right.
    const std::int32_t XOff = Outline.XMin - TruncToInt32((GlyphCellWidth - (Outline.XMax - Outline.XMin)) / 2.0L);
    const long double SX = (static_cast<long double>(Width) - 1) / GlyphCellWidth;
    const long double SY = (static_cast<long double>(Height) - 1) / GlyphCellHeight;
    const long double XBase = static_cast<long double>(Left) - static_cast<long double>(XOff) * SX;
    const long double YBase = static_cast<long double>(Outline.YMin) * SY + static_cast<long double>(Top);
    const std::int32_t Count = OutlinePointCount(Outline);
    for (std::int32_t I = 0; I < Count; ++I) {
        const TOutlinePoint& P = Outline.Points[I];
        const long double X = XBase + static_cast<long double>(P.X) * SX;
        const long double Y = YBase + static_cast<long double>(GlyphCellHeight - P.Y) * SY;
        Out[I] = QPoint(TruncToInt32(X), TruncToInt32(Y));
    }
}

void PaintGlyph(const TGlyphOutline& Outline, TCanvas& Canvas, std::int32_t Left, std::int32_t Top,
                std::int32_t Width, std::int32_t Height, TColor Color)
{
    std::array<QPoint, MaxOutlinePoints> Points;
    TransformOutline(Outline, Left, Top, Width, Height, Points.data());
    Canvas.SetPenColor(Color);
    Canvas.SetPenWidth(0);
    Canvas.SetBrushStyle(TBrushStyle::bsSolid);
    Canvas.SetBrushColor(Color);
    Canvas.PolyPolygon(Points.data(), Outline.Counts.data(), Outline.ContourCount);
}

const TGlyphOutline* OutlineOf(char Ch)
{
    if (Ch >= '0' && Ch <= '9')
        return &OcrBOutlines[std::size_t(Ch - '0')];
    if (Ch == '>')
        return &OcrBOutlines[10];
    return nullptr;
}

} // namespace

#define WEQ_GLYPH_PAINTER(Name, Index)                                                                            \
    void Name(TCanvas& Canvas, std::int32_t Left, std::int32_t Top, std::int32_t Width, std::int32_t Height,   \
              TColor Color)                                                                                    \
    {                                                                                                          \
        PaintGlyph(OcrBOutlines[Index], Canvas, Left, Top, Width, Height, Color);                              \
    }

WEQ_GLYPH_PAINTER(DrawOcrBGlyph0, 0)
WEQ_GLYPH_PAINTER(DrawOcrBGlyph1, 1)
WEQ_GLYPH_PAINTER(DrawOcrBGlyph2, 2)
WEQ_GLYPH_PAINTER(DrawOcrBGlyph3, 3)
WEQ_GLYPH_PAINTER(DrawOcrBGlyph4, 4)
WEQ_GLYPH_PAINTER(DrawOcrBGlyph5, 5)
WEQ_GLYPH_PAINTER(DrawOcrBGlyph6, 6)
WEQ_GLYPH_PAINTER(DrawOcrBGlyph7, 7)
WEQ_GLYPH_PAINTER(DrawOcrBGlyph8, 8)
WEQ_GLYPH_PAINTER(DrawOcrBGlyph9, 9)
WEQ_GLYPH_PAINTER(DrawOcrBGlyphDelimiter, 10)

#undef WEQ_GLYPH_PAINTER

std::vector<std::vector<QPoint>> OcrBGlyphPoints(char Ch, std::int32_t Left, std::int32_t Top, std::int32_t Width,
                                                 std::int32_t Height)
{
    const TGlyphOutline* Outline = OutlineOf(Ch);
    if (!Outline)
        return {};
    std::array<QPoint, MaxOutlinePoints> Points;
    TransformOutline(*Outline, Left, Top, Width, Height, Points.data());
    std::vector<std::vector<QPoint>> Contours;
    const QPoint* P = Points.data();
    for (std::int32_t C = 0; C < Outline->ContourCount; ++C) {
        Contours.emplace_back(P, P + Outline->Counts[std::size_t(C)]);
        P += Outline->Counts[std::size_t(C)];
    }
    return Contours;
}

} // namespace WEQOcrB
