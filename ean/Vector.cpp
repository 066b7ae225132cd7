// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "ean/Vector_p.h"

#include "ean/Core_p.h"

#include "ean/OcrBOutlines.h"
#include "ean/OcrBQuadOutlines.h"

#include <algorithm>
#include <cstring>

namespace WEQEan {

namespace {

using WEQOcrB::GlyphCellHeight;
using WEQOcrB::GlyphCellWidth;

void Add(std::vector<TVectorCommand>& Out, TVectorCommand::TKind Kind, long double X = 0, long double Y = 0,
         long double CX = 0, long double CY = 0)
{
    Out.emplace_back(Kind, X, Y, CX, CY);
}

// A quadratic outline's points mapped by X and Y.
template <class TX, class TY>
void AddOutline(const WEQOcrB::TQuadOutline& Q, TX X, TY Y, std::vector<TVectorCommand>& Out)
{
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

// A digit's curves as DigitMap places them.
void ResolveDigit(char Ch, std::int32_t Width, std::int32_t Height, std::vector<TVectorCommand>& Out)
{
    const TDigitMap M = DigitMap(Ch, Width, Height);
    const auto X = [&M](std::int32_t V) { return (V - M.XOff) * M.SX; };
    const auto Y = [&M](std::int32_t V) { return (M.Baseline - V) * M.SY; };
    AddOutline(WEQOcrB::OcrBQuadOutlines[std::size_t(Ch - '0')], X, Y, Out);
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

// The ink of the number line's characters in font units, the curves' exact
// extremes: each character's across, and the whole set's up and down.
struct TLineInk {
    std::array<long double, std::size(WEQOcrB::LineChars) - 1> XMin{}, XMax{};
    long double Top = 0, Bottom = 0, Widest = 0;
};

void Extend(long double V, long double& Min, long double& Max)
{
    Min = std::min(Min, V);
    Max = std::max(Max, V);
}

// The extreme of a quadratic curve between its ends, where it has one.
void ExtendQuad(long double A, long double C, long double B, long double& Min, long double& Max)
{
    const long double D = A - 2 * C + B;
    if (D == 0)
        return;
    const long double T = (A - C) / D;
    if (T > 0 && T < 1)
        Extend((1 - T) * (1 - T) * A + 2 * (1 - T) * T * C + T * T * B, Min, Max);
}

const TLineInk& LineInk()
{
    static const TLineInk Ink = [] {
        TLineInk L;
        L.Top = -1e9L;
        L.Bottom = 1e9L;
        for (std::size_t G = 0; G < WEQOcrB::OcrBLineOutlines.size(); ++G) {
            const WEQOcrB::TQuadOutline& Q = WEQOcrB::OcrBLineOutlines[G];
            long double XMin = 1e9L, XMax = -1e9L;
            for (std::size_t I = 0; I < Q.Count; ++I) {
                const WEQOcrB::TQuadPoint& P = Q.Points[I];
                if (P.Kind == WEQOcrB::Control && I > 0 && I + 1 < Q.Count) {
                    const WEQOcrB::TQuadPoint &A = Q.Points[I - 1], &B = Q.Points[I + 1];
                    ExtendQuad(A.X, P.X, B.X, XMin, XMax);
                    ExtendQuad(A.Y, P.Y, B.Y, L.Bottom, L.Top);
                } else if (P.Kind != WEQOcrB::Control) {
                    Extend(P.X, XMin, XMax);
                    Extend(P.Y, L.Bottom, L.Top);
                }
            }
            L.XMin[G] = XMin;
            L.XMax[G] = XMax;
            L.Widest = std::max(L.Widest, XMax - XMin);
        }
        return L;
    }();
    return Ink;
}

} // namespace

// As the outline painter places its polygons: the 687 x 1077 cell scaled
// onto the box, the ink centred across, its lowest point on the box's
// bottom edge.
TDigitMap DigitMap(char Ch, std::int32_t Width, std::int32_t Height)
{
    const WEQOcrB::TGlyphOutline& Extents = WEQOcrB::OcrBOutlines[std::size_t(Ch - '0')];
    return {Extents.XMin - (GlyphCellWidth - (Extents.XMax - Extents.XMin)) / 2.0L,
            static_cast<long double>(GlyphCellHeight + Extents.YMin), static_cast<long double>(Width) / GlyphCellWidth,
            static_cast<long double>(Height) / GlyphCellHeight};
}

// The font's map onto design units (x' = AX + BX x) followed by DigitMap.
TDigitMap FontDigitMap(char Ch, std::int32_t Width, std::int32_t Height)
{
    const TDigitMap D = DigitMap(Ch, Width, Height);
    const WEQOcrB::TFontMap& F = WEQOcrB::OcrBDigitFontMaps[std::size_t(Ch - '0')];
    return {(D.XOff - F.AX) / F.BX, (D.Baseline - F.AY) / F.BY, D.SX * F.BX, D.SY * F.BY};
}

void ResolveLineGlyph(char Ch, std::int32_t Width, std::int32_t Height, std::vector<TVectorCommand>& Out)
{
    const char* At = Ch ? std::strchr(WEQOcrB::LineChars, Ch) : nullptr;
    if (!At)
        return;
    const std::size_t G = std::size_t(At - WEQOcrB::LineChars);
    const TLineInk& Ink = LineInk();
    const long double Scale = std::min(Width / Ink.Widest, Height / (Ink.Top - Ink.Bottom));
    const long double Left = (Width - (Ink.XMax[G] - Ink.XMin[G]) * Scale) / 2;
    AddOutline(
        WEQOcrB::OcrBLineOutlines[G], [&](std::int32_t V) { return Left + (V - Ink.XMin[G]) * Scale; },
        [&](std::int32_t V) { return (Ink.Top - V) * Scale; }, Out);
}

void ResolveGlyph(char Ch, std::int32_t Width, std::int32_t Height, std::vector<TVectorCommand>& Out)
{
    if (IsDigit(Ch))
        ResolveDigit(Ch, Width, Height, Out);
    else if (Ch == '<' || Ch == '>')
        ResolveMark(Width, Ch == '<', Out);
}

namespace {

TShapeCommands ResolveShape(char Ch, std::int32_t Width, std::int32_t Height, bool Line)
{
    auto Commands = std::make_shared<std::vector<TVectorCommand>>();
    if (Line)
        ResolveLineGlyph(Ch, Width, Height, *Commands);
    else
        ResolveGlyph(Ch, Width, Height, *Commands);
    return Commands;
}

} // namespace

const TShapeCommands& TShapeCache::Of(char Ch, std::int32_t Width, std::int32_t Height, bool Line)
{
    return Memo.Of(Ch, Line, Width, Height, [&] { return ResolveShape(Ch, Width, Height, Line); });
}

TVectorSymbol ResolveVector(TSymbol Symbol, TShapeCache* Cache)
{
    TVectorSymbol V;
    V.Symbol = std::move(Symbol);
    // Room for every character at once (and so for every shape).
    const std::size_t Texts = std::size_t(std::count_if(V.Symbol.Elements.begin(), V.Symbol.Elements.end(),
                                                        [](const TSymbolElement& E) { return E.Kind == TSymbolElement::Text; }));
    V.Glyphs.reserve(Texts);
    V.Shapes.reserve(Texts);
    for (const TSymbolElement& E : V.Symbol.Elements) {
        const bool Line = V.Symbol.InLine(E);
        if (E.Kind != TSymbolElement::Text || !(Line || IsDigit(E.Ch) || E.Ch == '<' || E.Ch == '>'))
            continue;
        const bool Mark = !Line && !IsDigit(E.Ch);
        const std::int32_t Height = Mark ? E.Width : E.Height;
        const auto Same = [&](const TGlyphShape& S) {
            return S.Ch == E.Ch && S.Width == E.Width && S.Height == Height && S.Line == Line;
        };
        auto It = std::find_if(V.Shapes.begin(), V.Shapes.end(), Same);
        if (It == V.Shapes.end()) {
            TShapeCommands Commands =
                Cache ? Cache->Of(E.Ch, E.Width, E.Height, Line) : ResolveShape(E.Ch, E.Width, E.Height, Line);
            if (Commands->empty())
                continue;
            V.Shapes.push_back({E.Ch, E.Width, Height, Line, std::move(Commands)});
            It = V.Shapes.end() - 1;
        }
        V.Glyphs.push_back({std::size_t(It - V.Shapes.begin()), E.Left, E.Top});
    }
    return V;
}

} // namespace WEQEan
