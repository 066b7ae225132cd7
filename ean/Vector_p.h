// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// A symbol for vector output: its description with every character resolved
// to an outline and placed in its box, once, so that every file and device
// writes the same geometry. Digits are the font's own quadratic curves; the
// marks are the chevron of the built-in outlines, square in the width of
// their box, the '<' the '>' mirrored. No Qt.

#include "ean/WEQEanSymbol.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

namespace WEQEan {

struct TVectorCommand {
    enum TKind : std::uint8_t { Move, Line, Quad, Close };
    TVectorCommand(TKind Kind = Close, long double X = 0, long double Y = 0, long double CX = 0, long double CY = 0)
        : Kind(Kind), X(X), Y(Y), CX(CX), CY(CY), FX(Fixed(X)), FY(Fixed(Y)), FCX(Fixed(CX)), FCY(Fixed(CY))
    {
    }

    TKind Kind;
    // The point (and for Quad the control point before it), in the symbol's
    // units relative to the glyph's box origin; exact, so that each writer
    // rounds them once to its own precision.
    long double X, Y, CX, CY;
    // The same four in 1/FixedOne of a unit, rounded when the command is
    // made: a writer of text places them on a box origin and rounds them to
    // its grid in integers, without extended precision for every label (a
    // point less than 1/(2 FixedOne) of a unit below a half-step of that
    // grid then rounds up).
    static constexpr std::int64_t FixedOne = std::int64_t(1) << 16;
    std::int64_t FX, FY, FCX, FCY;

private:
    static std::int64_t Fixed(long double V) { return std::llroundl(V * FixedOne); }
};

// A shape's commands, shared by the symbols a cache serves rather than
// copied into each (a symbol's dozen shapes are some 30 KB).
using TShapeCommands = std::shared_ptr<const std::vector<TVectorCommand>>;

// One outline, for a character in a box of one size: every character of that
// size and kind shares it.
struct TGlyphShape {
    char Ch;
    std::int32_t Width, Height; // the box it is placed in
    bool Line;                  // a character of the number line
    TShapeCommands Commands;    // never empty
};

struct TPlacedGlyph {
    std::size_t Shape;
    std::int32_t Left, Top; // the box origin
};

struct TVectorSymbol {
    TSymbol Symbol;
    std::vector<TGlyphShape> Shapes;
    std::vector<TPlacedGlyph> Glyphs; // in the order of the symbol's characters
};

// Shape's commands as PDF and PostScript draw them: Visit(Kind, Numbers)
// with a Move's or Line's point, a Quad's cubic curve from the point before
// (its two control points and its end), nothing for a Close.
template <class TVisit> void ForEachCubic(const TGlyphShape& Shape, TVisit Visit)
{
    long double X0 = 0, Y0 = 0;
    for (const TVectorCommand& C : *Shape.Commands) {
        switch (C.Kind) {
        case TVectorCommand::Move:
        case TVectorCommand::Line:
            Visit(C.Kind, {double(C.X), double(C.Y)});
            break;
        case TVectorCommand::Quad:
            Visit(C.Kind, {double(X0 + (C.CX - X0) * 2 / 3), double(Y0 + (C.CY - Y0) * 2 / 3),
                           double(C.X + (C.CX - C.X) * 2 / 3), double(C.Y + (C.CY - C.Y) * 2 / 3), double(C.X),
                           double(C.Y)});
            break;
        case TVectorCommand::Close:
            Visit(C.Kind, {});
            break;
        }
        if (C.Kind != TVectorCommand::Close) {
            X0 = C.X;
            Y0 = C.Y;
        }
    }
}

// Where a digit ('0'..'9') lies in its Width x Height box: the point (x,
// y) of the outline's design units (y up) at ((x - XOff) SX, (Baseline - y)
// SY) from the box's origin, not truncated, as a vector coordinate is a
// position.
struct TDigitMap {
    long double XOff, Baseline, SX, SY;
};
TDigitMap DigitMap(char Ch, std::int32_t Width, std::int32_t Height);
// The same for the embedded font's own glyph, in its units: a writer that
// holds the font draws the glyph where the outline goes (the outline is its
// curves refitted within 3 design units).
TDigitMap FontDigitMap(char Ch, std::int32_t Width, std::int32_t Height);

// Appends the outline of Ch in a Width x Height box, relative to the box's
// origin: a digit's curves, or a mark square in the box's width. Nothing for
// a character without an outline.
void ResolveGlyph(char Ch, std::int32_t Width, std::int32_t Height, std::vector<TVectorCommand>& Out);

// Appends the outline of the number line's Ch in a Width x Height box: the
// font's curves scaled so that the ink of every character the line may hold,
// stood on one baseline, fits the box; this one's ink centred across, the
// line's highest ink on the box's top. Nothing for a character without one.
void ResolveLineGlyph(char Ch, std::int32_t Width, std::int32_t Height, std::vector<TVectorCommand>& Out);

// Values made once a shape (character, box, kind) and kept, for every
// symbol one memo serves; a run draws a handful of sizes, and past Capacity
// shapes the memo starts anew. One memo serves one thread at a time.
template <class TValue, std::size_t Capacity> class TShapeMemo {
public:
    template <class TMake>
    TValue& Of(char Ch, bool Line, std::int32_t Width, std::int32_t Height, TMake Make)
    {
        for (TEntry& E : Entries)
            if (E.Ch == Ch && E.Line == Line && E.Width == Width && E.Height == Height)
                return E.Value;
        if (Entries.size() >= Capacity)
            Entries.clear();
        Entries.push_back({Ch, Line, Width, Height, Make()});
        return Entries.back().Value;
    }

private:
    struct TEntry {
        char Ch;
        bool Line;
        std::int32_t Width, Height;
        TValue Value;
    };
    std::vector<TEntry> Entries;
};

// Outlines resolved so far: a character of one size is resolved once.
class TShapeCache {
public:
    // The commands of Ch's outline in a Width x Height box (Line: a number
    // line's character); empty for a character without one.
    const TShapeCommands& Of(char Ch, std::int32_t Width, std::int32_t Height, bool Line);

private:
    TShapeMemo<TShapeCommands, 512> Memo;
};

// Resolves the characters of Symbol; one without an outline ('0'..'9', '<'
// and '>' have one, and the number line's) is left out. With a cache, a
// shape it holds is shared rather than resolved again.
TVectorSymbol ResolveVector(TSymbol Symbol, TShapeCache* Cache = nullptr);

} // namespace WEQEan
