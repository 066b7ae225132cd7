// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "export/Writers_p.h"

#include "ean/Vector_p.h"
#include "ean/SystemColors_p.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>

namespace WEQEan {

// Where a path's writing stands: the current point, the contour's start, the
// last command letter and whether the next number needs a separator.
struct TPathState {
    std::int64_t CurX = 0, CurY = 0, StartX = 0, StartY = 0;
    char Last = 0;
    bool Started = false, First = true, Separate = false;
};

namespace {

void AppendInt(std::string& Out, std::int64_t V)
{
    char Buffer[24];
    const auto End = std::to_chars(Buffer, Buffer + sizeof Buffer, V).ptr;
    Out.append(Buffer, std::size_t(End - Buffer)); // a pointer pair would go through replace()
}

// Millimetres from micrometres, without trailing zeros: 37290 is "37.29".
void AppendMillimetres(std::string& Out, std::int64_t Micrometres)
{
    AppendInt(Out, Micrometres / 1000);
    std::int64_t Rest = Micrometres % 1000;
    if (Rest == 0)
        return;
    char Digits[4] = {char('0' + Rest / 100), char('0' + Rest / 10 % 10), char('0' + Rest % 10), 0};
    int N = 3;
    while (Digits[N - 1] == '0')
        --N;
    Out += '.';
    Out.append(Digits, std::size_t(N));
}

void AppendColor(std::string& Out, TColor Color)
{
    const TColor Rgb = ResolveColor(Color);
    const unsigned C[3] = {Rgb & 0xFFu, (Rgb >> 8) & 0xFFu, (Rgb >> 16) & 0xFFu};
    static constexpr char Hex[] = "0123456789abcdef";
    Out += '#';
    // #rgb where every channel is a doubled digit.
    const bool Short = C[0] % 17 == 0 && C[1] % 17 == 0 && C[2] % 17 == 0;
    for (const unsigned V : C) {
        Out += Hex[V >> 4];
        if (!Short)
            Out += Hex[V & 15];
    }
}

void AppendText(std::string& Out, const std::string& Text)
{
    for (const char Ch : Text) {
        switch (Ch) {
        case '<': Out += "&lt;"; break;
        case '>': Out += "&gt;"; break;
        case '&': Out += "&amp;"; break;
        default: Out += Ch;
        }
    }
}

// Path data with integer coordinates, each written relative to the last
// point: no command letter where it repeats, no separator before a minus.
class TPathData {
public:
    explicit TPathData(std::string& Out) : Out(Out) {}

    void MoveTo(std::int64_t X, std::int64_t Y)
    {
        if (S.Started) {
            Emit('m', {X - S.CurX, Y - S.CurY});
        } else {
            Emit('M', {X, Y});
            S.Started = true;
        }
        S.CurX = S.StartX = X;
        S.CurY = S.StartY = Y;
    }
    void LineTo(std::int64_t X, std::int64_t Y)
    {
        if (X == S.CurX && Y == S.CurY)
            return;
        if (Y == S.CurY) {
            Emit('h', {X - S.CurX});
        } else if (X == S.CurX) {
            Emit('v', {Y - S.CurY});
        } else {
            Emit('l', {X - S.CurX, Y - S.CurY});
        }
        S.CurX = X;
        S.CurY = Y;
    }
    void QuadTo(std::int64_t CX, std::int64_t CY, std::int64_t X, std::int64_t Y)
    {
        Emit('q', {CX - S.CurX, CY - S.CurY, X - S.CurX, Y - S.CurY});
        S.CurX = X;
        S.CurY = Y;
    }
    // Absolute vertical and horizontal lines, for the bars.
    void VerticalTo(std::int64_t Y)
    {
        Emit('V', {Y});
        S.CurY = Y;
    }
    void Close()
    {
        Emit('z', {});
        S.CurX = S.StartX;
        S.CurY = S.StartY;
    }

    // Text another path wrote after a point at the same place relative to
    // this one's current point, and the state it was left in, there at
    // (DX, DY) from here: only differences are written, so the text reads
    // the same.
    void Splice(const std::string& Text, const TPathState& After, std::int64_t DX, std::int64_t DY)
    {
        Out += Text;
        S = After;
        S.CurX += DX, S.CurY += DY, S.StartX += DX, S.StartY += DY;
    }
    const TPathState& State() const { return S; }
    std::size_t Written() const { return Out.size(); }

private:
    // A command and its numbers, composed here and appended at once: a
    // label's path has a few hundred numbers.
    void Emit(char C, std::initializer_list<std::int64_t> Values)
    {
        char Buffer[1 + 4 * 21];
        char* At = Buffer;
        if (C != S.Last || C == 'z' || C == 'm' || C == 'M')
            *At++ = C;
        else
            S.Separate = true;
        S.Last = C;
        S.First = true;
        for (const std::int64_t V : Values) {
            if ((!S.First || S.Separate) && V >= 0)
                *At++ = ' ';
            S.Separate = false;
            S.First = false;
            At = std::to_chars(At, Buffer + sizeof Buffer, V).ptr;
        }
        Out.append(Buffer, std::size_t(At - Buffer));
    }

    std::string& Out;
    TPathState S;
};

// N / D to the nearest whole number, halves away from zero as llround has
// them; D > 0.
std::int64_t RoundDiv(std::int64_t N, std::int64_t D)
{
    return N >= 0 ? (2 * N + D) / (2 * D) : -((-2 * N + D) / (2 * D));
}

// N / D rounded to the nearest, halves up, for any N; D > 0. Equal to
// RoundDiv where N >= 0, and whole multiples of D pass through it unchanged.
std::int64_t FloorRound(std::int64_t N, std::int64_t D)
{
    const std::int64_t T = 2 * N + D, B = 2 * D;
    return T >= 0 ? T / B : -((-T + B - 1) / B);
}

// Shape's commands onto Path, each coordinate through X and Y; After(I)
// once command I is written.
template <class TX, class TY, class TAfter>
void TraceShape(TPathData& Path, const std::vector<TVectorCommand>& Commands, TX X, TY Y, TAfter After)
{
    for (std::size_t I = 0; I < Commands.size(); ++I) {
        const TVectorCommand& C = Commands[I];
        switch (C.Kind) {
        case TVectorCommand::Move:
            Path.MoveTo(X(C.FX), Y(C.FY));
            break;
        case TVectorCommand::Line:
            Path.LineTo(X(C.FX), Y(C.FY));
            break;
        case TVectorCommand::Quad:
            Path.QuadTo(X(C.FCX), Y(C.FCY), X(C.FX), Y(C.FY));
            break;
        case TVectorCommand::Close:
            Path.Close();
            break;
        }
        After(I);
    }
}

// A resolved outline at a box origin in tenths of a module (Units the
// symbol's units in one), each coordinate rounded from its fixed-point form
// in integers.
void WriteShape(TPathData& Path, const TGlyphShape& Shape, std::int32_t Left, std::int32_t Top, std::int64_t Units)
{
    constexpr std::int64_t One = TVectorCommand::FixedOne;
    const std::int64_t Across = std::int64_t(Left) * One, Down = std::int64_t(Top) * One, Per = Units * One;
    TraceShape(
        Path, *Shape.Commands, [&](std::int64_t Local) { return RoundDiv((Across + Local) * 10, Per); },
        [&](std::int64_t Local) { return RoundDiv((Down + Local) * 10, Per); }, [](std::size_t) {});
}

} // namespace

// A box at (Left, Top) lies Q whole grid steps and R / Units of one from the
// origin on each axis (Left * 10 = Q * Units + R); written at R alone, its
// points are the same numbers less Q, wherever none falls left of or above
// the symbol (there rounding turns the other way). The text after the
// first point, made at R, is that of every box at R.
struct TSvgShapeTexts::TImpl {
    struct TText {
        std::int64_t Units, RX, RY;
        std::int64_t X0, Y0;         // the first point, written at R
        std::int64_t LeastX, LeastY; // the least numerators before rounding, at R
        std::string Body;
        TPathState After;
    };
    TShapeMemo<std::vector<TText>, 512> Memo;
    std::string Glyphs; // a symbol's glyph path, kept for the next
};

TSvgShapeTexts::TSvgShapeTexts() : d(std::make_unique<TImpl>()) {}
TSvgShapeTexts::~TSvgShapeTexts() = default;

namespace {

constexpr std::size_t MaxTextsAShape = 64;

std::int64_t FloorDiv(std::int64_t N, std::int64_t D) { return N >= 0 ? N / D : -((-N + D - 1) / D); }

// The text of a shape's commands after its first point, written at RX and
// RY (in 1/Units of a grid step) from the origin.
TSvgShapeTexts::TImpl::TText TextAt(const std::vector<TVectorCommand>& Commands, std::int64_t Units, std::int64_t RX,
                                    std::int64_t RY)
{
    constexpr std::int64_t One = TVectorCommand::FixedOne;
    const std::int64_t Per = Units * One;
    constexpr std::int64_t Most = std::numeric_limits<std::int64_t>::max();
    TSvgShapeTexts::TImpl::TText Made{Units, RX, RY, 0, 0, Most, Most, {}, {}};
    std::string Scratch;
    TPathData At(Scratch);
    std::size_t Start = 0;
    TraceShape(
        At, Commands,
        [&](std::int64_t Local) {
            const std::int64_t N = RX * One + Local * 10;
            Made.LeastX = std::min(Made.LeastX, N);
            return FloorRound(N, Per);
        },
        [&](std::int64_t Local) {
            const std::int64_t N = RY * One + Local * 10;
            Made.LeastY = std::min(Made.LeastY, N);
            return FloorRound(N, Per);
        },
        [&](std::size_t I) {
            if (I != 0)
                return;
            Made.X0 = At.State().CurX;
            Made.Y0 = At.State().CurY;
            Start = At.Written();
        });
    Made.Body = Scratch.substr(Start);
    Made.After = At.State();
    return Made;
}

void AppendShape(TPathData& Path, const TGlyphShape& Shape, std::int32_t Left, std::int32_t Top, std::int64_t Units,
                 TSvgShapeTexts* Texts)
{
    const std::vector<TVectorCommand>& Commands = *Shape.Commands;
    if (!Texts || Commands.empty() || Commands[0].Kind != TVectorCommand::Move)
        return WriteShape(Path, Shape, Left, Top, Units);
    constexpr std::int64_t One = TVectorCommand::FixedOne;
    const std::int64_t Per = Units * One;
    const std::int64_t QX = FloorDiv(std::int64_t(Left) * 10, Units), RX = std::int64_t(Left) * 10 - QX * Units;
    const std::int64_t QY = FloorDiv(std::int64_t(Top) * 10, Units), RY = std::int64_t(Top) * 10 - QY * Units;
    // Each shape's texts are few: one a remainder its boxes stand at.
    using TText = TSvgShapeTexts::TImpl::TText;
    std::vector<TText>& Known =
        Texts->d->Memo.Of(Shape.Ch, Shape.Line, Shape.Width, Shape.Height, [] { return std::vector<TText>(); });
    auto Text = std::find_if(Known.begin(), Known.end(),
                             [&](const TText& T) { return T.Units == Units && T.RX == RX && T.RY == RY; });
    if (Text == Known.end()) {
        // Boxes at ever other places (a caller varying the bar height at a
        // fine X-dimension) would grow the list without end.
        if (Known.size() >= MaxTextsAShape)
            Known.clear();
        Text = Known.insert(Known.end(), TextAt(Commands, Units, RX, RY));
    }
    if (QX * Per + Text->LeastX < 0 || QY * Per + Text->LeastY < 0)
        return WriteShape(Path, Shape, Left, Top, Units);
    Path.MoveTo(QX + Text->X0, QY + Text->Y0);
    Path.Splice(Text->Body, Text->After, QX, QY);
}

// The bars as one path: along the top edge shared by a run of bars, down,
// across, up, and on to the next bar, so that each costs a few numbers. The
// stretches along the top enclose nothing. Bars of another top start anew.
void AppendBars(std::string& Out, const TSymbol& Symbol)
{
    TPathData Path(Out);
    bool Open = false;
    std::int64_t Top = 0;
    for (const TSymbolElement& E : Symbol.Elements) {
        if (E.Kind != TSymbolElement::Bar || E.Width <= 0 || E.Height <= 0)
            continue;
        if (!Open || E.Top != Top) {
            if (Open)
                Path.Close();
            Path.MoveTo(E.Left, E.Top);
            Open = true;
            Top = E.Top;
        } else {
            Path.LineTo(E.Left, Top);
        }
        Path.VerticalTo(std::int64_t(E.Top) + E.Height);
        Path.LineTo(std::int64_t(E.Left) + E.Width, std::int64_t(E.Top) + E.Height);
        Path.VerticalTo(Top);
    }
    if (Open)
        Path.Close();
}

bool IsBlack(TColor Color) { return ResolveColor(Color) == 0; }

} // namespace

void AppendSvg(const TVectorSymbol& V, const TSvgStyle& Style, std::string& Out, TSvgShapeTexts* Texts)
{
    const TSymbol& Symbol = V.Symbol;
    // Which digits appear more than once at one box size: those are defined
    // once, with an id, and reused; the rest go into one path.
    struct TFirst {
        const TPlacedGlyph* Glyph = nullptr;
        int Count = 0;
        char Id = 0;
    };
    std::array<TFirst, 10> Firsts{};
    // The symbol's digits, not the number line's, which come first but are few.
    const auto DigitOf = [&V](const TPlacedGlyph& G) {
        const TGlyphShape& Shape = V.Shapes[G.Shape];
        return !Shape.Line && Shape.Ch >= '0' && Shape.Ch <= '9' ? int(Shape.Ch - '0') : -1;
    };
    for (const TPlacedGlyph& G : V.Glyphs) {
        const int Digit = DigitOf(G);
        if (Digit < 0)
            continue;
        TFirst& F = Firsts[std::size_t(Digit)];
        if (!F.Glyph)
            F.Glyph = &G;
        if (F.Glyph->Shape == G.Shape)
            ++F.Count;
    }
    bool Reused = false;
    char NextId = 'a';
    for (TFirst& F : Firsts)
        if (F.Count > 1) {
            F.Id = NextId++;
            Reused = true;
        }

    const std::int64_t Micrometres = std::int64_t(Style.MicrometresPerModule);
    const std::int32_t Units = std::max(1, Symbol.Width / std::max(1, Symbol.Modules));
    Out += "<svg xmlns=\"http://www.w3.org/2000/svg\"";
    if (Reused)
        Out += " xmlns:xlink=\"http://www.w3.org/1999/xlink\"";
    Out += " width=\"";
    AppendMillimetres(Out, Micrometres * Symbol.Width / Units);
    Out += "mm\" height=\"";
    AppendMillimetres(Out, Micrometres * Symbol.Height / Units);
    Out += "mm\" viewBox=\"0 0 ";
    AppendInt(Out, Symbol.Width);
    Out += ' ';
    AppendInt(Out, Symbol.Height);
    Out += "\">";
    if (!Style.Title.empty()) {
        Out += "<title>";
        AppendText(Out, Style.Title);
        Out += "</title>";
    }
    // Some renderers take no percentages here: the size itself.
    if (Style.FillBackground) {
        Out += "<rect width=\"";
        AppendInt(Out, Symbol.Width);
        Out += "\" height=\"";
        AppendInt(Out, Symbol.Height);
        Out += "\" fill=\"";
        AppendColor(Out, Style.Background);
        Out += "\"/>";
    }
    Out += "<path";
    if (!IsBlack(Style.Bars)) {
        Out += " fill=\"";
        AppendColor(Out, Style.Bars);
        Out += '"';
    }
    Out += " d=\"";
    AppendBars(Out, Symbol);
    Out += "\"/>";

    // The characters in tenths of a module, as finely as a reader can see
    // their curves: micrometres would make their numbers twice as long.
    const bool Colored = !IsBlack(Style.Digits), Scaled = Units != 10;
    if (Colored || Scaled) {
        Out += "<g";
        if (Colored) {
            Out += " fill=\"";
            AppendColor(Out, Style.Digits);
            Out += '"';
        }
        if (Scaled) {
            Out += " transform=\"scale(";
            AppendInt(Out, Units / 10);
            if (Units % 10 != 0) {
                Out += '.';
                Out += char('0' + Units % 10);
            }
            Out += ")\"";
        }
        Out += '>';
    }
    // Digits defined for reuse, each where it first stands.
    for (const TFirst& F : Firsts) {
        if (!F.Id)
            continue;
        Out += "<path id=\"";
        Out += F.Id;
        Out += "\" d=\"";
        TPathData Path(Out);
        AppendShape(Path, V.Shapes[F.Glyph->Shape], F.Glyph->Left, F.Glyph->Top, Units, Texts);
        Out += "\"/>";
    }
    // The others and the marks in one path; the reused ones where they stand again.
    // Kept with the texts where they are: grown by doubling otherwise.
    std::string Own;
    std::string& Rest = Texts ? Texts->d->Glyphs : Own;
    Rest.clear();
    {
        TPathData Path(Rest);
        for (const TPlacedGlyph& G : V.Glyphs) {
            const int Digit = DigitOf(G);
            const TFirst* F = Digit < 0 ? nullptr : &Firsts[std::size_t(Digit)];
            if (F && F->Id && F->Glyph->Shape == G.Shape) {
                if (F->Glyph == &G)
                    continue;
                Out += "<use xlink:href=\"#";
                Out += F->Id;
                Out += "\" x=\"";
                AppendInt(Out, RoundDiv((std::int64_t(G.Left) - F->Glyph->Left) * 10, Units));
                Out += '"';
                if (G.Top != F->Glyph->Top) {
                    Out += " y=\"";
                    AppendInt(Out, RoundDiv((std::int64_t(G.Top) - F->Glyph->Top) * 10, Units));
                    Out += '"';
                }
                Out += "/>";
                continue;
            }
            AppendShape(Path, V.Shapes[G.Shape], G.Left, G.Top, Units, Texts);
        }
    }
    if (!Rest.empty()) {
        Out += "<path d=\"";
        Out += Rest;
        Out += "\"/>";
    }
    if (Colored || Scaled)
        Out += "</g>";
    Out += "</svg>\n";
}

} // namespace WEQEan
