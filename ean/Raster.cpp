// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// A symbol's pixels from its vector form: whole-dot rectangles as runs,
// outlines sampled at the dots' centres, as a printer's driver fills a shape.

#include "ean/Raster_p.h"

#include <algorithm>
#include <cmath>

namespace WEQEan {

void TPackedRows::Reset(std::int32_t Width, std::int32_t Height, int Depth, std::uint8_t Fill)
{
    W = std::max(0, Width);
    H = std::max(0, Height);
    D = Depth;
    RowBytes = (std::size_t(W) * std::size_t(D) + 7) / 8;
    // A byte of Fill in every pixel it holds.
    std::uint8_t Pattern = 0;
    for (int Bit = 0; Bit < 8; Bit += D)
        Pattern = std::uint8_t(Pattern << D | (Fill & ((1 << D) - 1)));
    Bytes.assign(RowBytes * std::size_t(H), Pattern);
}

void TPackedRows::Span(std::int32_t Y, std::int32_t X0, std::int32_t X1, std::uint8_t Index)
{
    if (Y < 0 || Y >= H)
        return;
    X0 = std::max(X0, 0);
    X1 = std::min(X1, W);
    if (X0 >= X1)
        return;
    std::uint8_t* Row = Bytes.data() + std::size_t(Y) * RowBytes;
    // Bit positions from the row's first bit; a byte's high bits come first.
    const std::size_t First = std::size_t(X0) * std::size_t(D), Last = std::size_t(X1) * std::size_t(D);
    std::uint8_t Whole = 0;
    for (int Bit = 0; Bit < 8; Bit += D)
        Whole = std::uint8_t(Whole << D | (Index & ((1 << D) - 1)));
    const auto Blend = [](std::uint8_t& Byte, std::uint8_t Mask, std::uint8_t Value) {
        Byte = std::uint8_t((Byte & ~Mask) | (Value & Mask));
    };
    const std::size_t B0 = First / 8, B1 = (Last - 1) / 8;
    const std::uint8_t Head = std::uint8_t(0xFFu >> (First % 8)), Tail = std::uint8_t(0xFFu << (7 - (Last - 1) % 8));
    if (B0 == B1) {
        Blend(Row[B0], Head & Tail, Whole);
        return;
    }
    Blend(Row[B0], Head, Whole);
    std::fill(Row + B0 + 1, Row + B1, Whole);
    Blend(Row[B1], Tail, Whole);
}

void TPackedRows::CopyRow(std::int32_t Source, std::int32_t From, std::int32_t To)
{
    if (Source < 0 || Source >= H)
        return;
    for (std::int32_t Y = std::max(From, 0); Y < std::min(To, H); ++Y)
        if (Y != Source)
            std::copy_n(Bytes.data() + std::size_t(Source) * RowBytes, RowBytes, Bytes.data() + std::size_t(Y) * RowBytes);
}

void TPackedRows::Release(std::size_t Keep)
{
    if (Bytes.capacity() > Keep)
        std::vector<std::uint8_t>().swap(Bytes);
    W = H = 0;
}

std::uint8_t TPackedRows::Pixel(std::int32_t X, std::int32_t Y) const
{
    if (X < 0 || Y < 0 || X >= W || Y >= H)
        return 0;
    const int PerByte = 8 / D;
    const int Shift = 8 - D * (X % PerByte + 1);
    return std::uint8_t(Row(Y)[X / PerByte] >> Shift & ((1 << D) - 1));
}

namespace {

struct TSegment {
    long double X0, Y0, X1, Y1;
};

// The outline as straight segments: each curve cut into enough pieces that
// none strays a fiftieth of a dot from it (a quadratic's chord strays by
// |P0 - 2C + P1| / 8 over n squared).
std::vector<TSegment> Flatten(const TVectorCommand* Commands, std::size_t Count)
{
    std::vector<TSegment> Out;
    long double X = 0, Y = 0, StartX = 0, StartY = 0;
    for (std::size_t I = 0; I < Count; ++I) {
        const TVectorCommand& C = Commands[I];
        switch (C.Kind) {
        case TVectorCommand::Move:
            X = StartX = C.X;
            Y = StartY = C.Y;
            break;
        case TVectorCommand::Line:
            Out.push_back({X, Y, C.X, C.Y});
            X = C.X;
            Y = C.Y;
            break;
        case TVectorCommand::Quad: {
            const long double DX = X - 2 * C.CX + C.X, DY = Y - 2 * C.CY + C.Y;
            const long double Stray = std::sqrt(DX * DX + DY * DY) / 8;
            const int Pieces = int(std::clamp<long double>(std::ceil(std::sqrt(Stray / 0.02L)), 1, 64));
            long double PX = X, PY = Y;
            for (int K = 1; K <= Pieces; ++K) {
                const long double T = static_cast<long double>(K) / Pieces, U = 1 - T;
                const long double QX = U * U * X + 2 * U * T * C.CX + T * T * C.X;
                const long double QY = U * U * Y + 2 * U * T * C.CY + T * T * C.Y;
                Out.push_back({PX, PY, QX, QY});
                PX = QX;
                PY = QY;
            }
            X = C.X;
            Y = C.Y;
            break;
        }
        case TVectorCommand::Close:
            Out.push_back({X, Y, StartX, StartY});
            X = StartX;
            Y = StartY;
            break;
        }
    }
    return Out;
}

} // namespace

TGlyphMask SampleOutline(const TVectorCommand* Commands, std::size_t Count, std::int32_t Width, std::int32_t Height)
{
    TGlyphMask M;
    M.Width = std::max(0, Width);
    M.Height = std::max(0, Height);
    M.Ink.assign(std::size_t(M.Width) * std::size_t(M.Height), 0);
    const std::vector<TSegment> Segments = Flatten(Commands, Count);
    struct TCrossing {
        long double X;
        int Direction;
    };
    std::vector<TCrossing> Crossings;
    for (std::int32_t Y = 0; Y < M.Height; ++Y) {
        const long double Centre = Y + 0.5L;
        Crossings.clear();
        for (const TSegment& S : Segments) {
            // Half-open in y, so a vertex on the centre line counts once.
            const bool Down = S.Y0 <= Centre && Centre < S.Y1, Up = S.Y1 <= Centre && Centre < S.Y0;
            if (Down || Up)
                Crossings.push_back({S.X0 + (Centre - S.Y0) * (S.X1 - S.X0) / (S.Y1 - S.Y0), Down ? 1 : -1});
        }
        std::sort(Crossings.begin(), Crossings.end(), [](const TCrossing& A, const TCrossing& B) { return A.X < B.X; });
        int Winding = 0;
        for (std::size_t I = 0; I + 1 < Crossings.size(); ++I) {
            Winding += Crossings[I].Direction;
            if (Winding == 0)
                continue;
            // The dots whose centres lie from this crossing to the next.
            const long double From = std::ceil(Crossings[I].X - 0.5L), To = std::ceil(Crossings[I + 1].X - 0.5L);
            const auto X0 = std::int32_t(std::clamp<long double>(From, 0, M.Width));
            const auto X1 = std::int32_t(std::clamp<long double>(To, 0, M.Width));
            std::fill(M.Ink.begin() + std::ptrdiff_t(std::size_t(Y) * std::size_t(M.Width) + std::size_t(X0)),
                      M.Ink.begin() + std::ptrdiff_t(std::size_t(Y) * std::size_t(M.Width) + std::size_t(std::max(X0, X1))),
                      std::uint8_t(1));
        }
    }
    return M;
}

const std::vector<TGlyphRuns::TRun>& TGlyphRuns::Of(const TVectorSymbol& V, std::size_t Index)
{
    const TGlyphShape& Shape = V.Shapes[Index];
    return Memo.Of(Shape.Ch, Shape.Line, Shape.Width, Shape.Height, [&] {
        const TGlyphMask M = SampleOutline(Shape.Commands->data(), Shape.Commands->size(), Shape.Width, Shape.Height);
        std::vector<TRun> Runs;
        for (std::int32_t Y = 0; Y < M.Height; ++Y) {
            const std::uint8_t* Ink = M.Ink.data() + std::size_t(Y) * std::size_t(M.Width);
            for (std::int32_t X = 0; X < M.Width;) {
                if (!Ink[X]) {
                    ++X;
                    continue;
                }
                const std::int32_t Start = X;
                while (X < M.Width && Ink[X])
                    ++X;
                Runs.push_back({Y, Start, X});
            }
        }
        return Runs;
    });
}

void RasterizeSymbol(const TVectorSymbol& V, const TRasterIndices& Indices, int Depth, TPackedRows& Out,
                     TGlyphRuns& Glyphs)
{
    const TSymbol& S = V.Symbol;
    Out.Reset(S.Width, S.Height, Depth, Indices.Background);
    // The rows where the same bars run (between any bar's top or end and
    // the next) are one row made and copied.
    std::vector<std::int32_t> Edges;
    for (const TSymbolElement& E : S.Elements)
        if (E.Kind == TSymbolElement::Bar && E.Height > 0)
            Edges.insert(Edges.end(), {E.Top, E.Top + E.Height});
    std::sort(Edges.begin(), Edges.end());
    Edges.erase(std::unique(Edges.begin(), Edges.end()), Edges.end());
    for (std::size_t I = 0; I + 1 < Edges.size(); ++I) {
        const std::int32_t Y = Edges[I];
        for (const TSymbolElement& E : S.Elements)
            if (E.Kind == TSymbolElement::Bar && E.Top <= Y && Y < E.Top + E.Height)
                Out.Span(Y, E.Left, E.Left + E.Width, Indices.Bars);
        Out.CopyRow(Y, Y + 1, Edges[I + 1]);
    }
    for (const TPlacedGlyph& G : V.Glyphs)
        for (const TGlyphRuns::TRun& R : Glyphs.Of(V, G.Shape))
            Out.Span(G.Top + R.Y, G.Left + R.X0, G.Left + R.X1, Indices.Characters);
}

} // namespace WEQEan
