#include "ean/Vector_p.h"

#include "ean/Core_p.h"

#include "ocrb/OcrBOutlines.h"
#include "ocrb/OcrBQuadOutlines.h"

#include <algorithm>

namespace WEQEan {

namespace {

using WEQOcrB::GlyphCellHeight;
using WEQOcrB::GlyphCellWidth;

void Add(std::vector<TVectorCommand>& Out, TVectorCommand::TKind Kind, long double X = 0, long double Y = 0,
         long double CX = 0, long double CY = 0)
{
    Out.push_back({Kind, X, Y, CX, CY});
}

// A digit's curves as the outline painter places its polygons: the 687 x
// 1077 cell scaled onto the box, the ink centred across, its lowest point on
// the box's bottom edge; not truncated, as a vector coordinate is a position.
void ResolveDigit(char Ch, std::int32_t Width, std::int32_t Height, std::vector<TVectorCommand>& Out)
{
    const std::size_t Index = std::size_t(Ch - '0');
    const WEQOcrB::TGlyphOutline& Extents = WEQOcrB::OcrBOutlines[Index];
    const WEQOcrB::TQuadOutline& Q = WEQOcrB::OcrBQuadOutlines[Index];
    const long double SX = static_cast<long double>(Width) / GlyphCellWidth;
    const long double SY = static_cast<long double>(Height) / GlyphCellHeight;
    const long double XOff = Extents.XMin - (GlyphCellWidth - (Extents.XMax - Extents.XMin)) / 2.0L;
    const auto X = [&](std::int32_t V) { return (V - XOff) * SX; };
    const auto Y = [&](std::int32_t V) { return (GlyphCellHeight - (V - Extents.YMin)) * SY; };
    for (std::size_t I = 0; I < Q.Count; ++I) {
        const WEQOcrB::TQuadPoint& P = Q.Points[I];
        switch (P.Kind) {
        case WEQOcrB::Move:
            if (I > 0)
                Add(Out, TVectorCommand::Close);
            Add(Out, TVectorCommand::Move, X(P.X), Y(P.Y));
            break;
        case WEQOcrB::Control:
            if (I + 1 < Q.Count) {
                const WEQOcrB::TQuadPoint& End = Q.Points[++I];
                Add(Out, TVectorCommand::Quad, X(End.X), Y(End.Y), X(P.X), Y(P.Y));
            }
            break;
        case WEQOcrB::Line:
        case WEQOcrB::Curve: // a curve's end without its control: none in the tables
            Add(Out, TVectorCommand::Line, X(P.X), Y(P.Y));
            break;
        }
    }
    Add(Out, TVectorCommand::Close);
}

// The chevron square in the width of its box, its tip on the box's right
// edge; Mirrored, the '<' with its tip on the left edge.
void ResolveMark(std::int32_t Width, bool Mirrored, std::vector<TVectorCommand>& Out)
{
    const WEQOcrB::TGlyphOutline& Outline = WEQOcrB::OcrBOutlines[10];
    const std::int32_t Count = WEQOcrB::OutlinePointCount(Outline);
    std::int32_t YMax = Outline.YMin;
    for (std::int32_t I = 0; I < Count; ++I)
        YMax = std::max(YMax, Outline.Points[I].Y);
    const std::int64_t SpanX = std::max(1, Outline.XMax - Outline.XMin), SpanY = std::max(1, YMax - Outline.YMin);
    for (std::int32_t I = 0; I < Count; ++I) {
        const WEQOcrB::TOutlinePoint& P = Outline.Points[I];
        // Multiplied before dividing, so the extremes land exactly on the box's edges.
        const long double Across = static_cast<long double>(std::int64_t(P.X - Outline.XMin) * Width) / SpanX;
        const long double Down = static_cast<long double>(std::int64_t(YMax - P.Y) * Width) / SpanY;
        Add(Out, I == 0 ? TVectorCommand::Move : TVectorCommand::Line, Mirrored ? Width - Across : Across, Down);
    }
    Add(Out, TVectorCommand::Close);
}

} // namespace

void ResolveGlyph(char Ch, std::int32_t Width, std::int32_t Height, std::vector<TVectorCommand>& Out)
{
    if (IsDigit(Ch))
        ResolveDigit(Ch, Width, Height, Out);
    else if (Ch == '<' || Ch == '>')
        ResolveMark(Width, Ch == '<', Out);
}

TVectorSymbol ResolveVector(TSymbol Symbol)
{
    TVectorSymbol V;
    V.Symbol = std::move(Symbol);
    for (const TSymbolElement& E : V.Symbol.Elements) {
        if (E.Kind != TSymbolElement::Text || !(IsDigit(E.Ch) || E.Ch == '<' || E.Ch == '>'))
            continue;
        const bool Mark = !IsDigit(E.Ch);
        const std::int32_t Height = Mark ? E.Width : E.Height;
        const auto Same = [&](const TGlyphShape& S) { return S.Ch == E.Ch && S.Width == E.Width && S.Height == Height; };
        auto It = std::find_if(V.Shapes.begin(), V.Shapes.end(), Same);
        if (It == V.Shapes.end()) {
            const std::size_t First = V.Commands.size();
            ResolveGlyph(E.Ch, E.Width, E.Height, V.Commands);
            V.Shapes.push_back({E.Ch, E.Width, Height, First, V.Commands.size() - First});
            It = V.Shapes.end() - 1;
        }
        V.Glyphs.push_back({std::size_t(It - V.Shapes.begin()), E.Left, E.Top});
    }
    return V;
}

} // namespace WEQEan
