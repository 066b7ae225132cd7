#include "ean/Writers_p.h"

#include "ocrb/OcrBOutlines.h"
#include "ocrb/OcrBQuadOutlines.h"
#include "surface/Canvas.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace WEQEan {

namespace {

void AppendInt(std::string& Out, std::int64_t V)
{
    char Buffer[24];
    const auto End = std::to_chars(Buffer, Buffer + sizeof Buffer, V).ptr;
    Out.append(Buffer, End);
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
    const TColor Rgb = TCanvas::ResolveColor(Color);
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
        if (Started) {
            Command('m');
            Numbers({X - CurX, Y - CurY});
        } else {
            Command('M');
            Numbers({X, Y});
            Started = true;
        }
        CurX = StartX = X;
        CurY = StartY = Y;
    }
    void LineTo(std::int64_t X, std::int64_t Y)
    {
        if (X == CurX && Y == CurY)
            return;
        if (Y == CurY) {
            Command('h');
            Numbers({X - CurX});
        } else if (X == CurX) {
            Command('v');
            Numbers({Y - CurY});
        } else {
            Command('l');
            Numbers({X - CurX, Y - CurY});
        }
        CurX = X;
        CurY = Y;
    }
    void QuadTo(std::int64_t CX, std::int64_t CY, std::int64_t X, std::int64_t Y)
    {
        Command('q');
        Numbers({CX - CurX, CY - CurY, X - CurX, Y - CurY});
        CurX = X;
        CurY = Y;
    }
    // Absolute vertical and horizontal lines, for the bars.
    void VerticalTo(std::int64_t Y)
    {
        Command('V');
        Numbers({Y});
        CurY = Y;
    }
    void Close()
    {
        Command('z');
        CurX = StartX;
        CurY = StartY;
    }

private:
    void Command(char C)
    {
        if (C != Last || C == 'z' || C == 'm' || C == 'M')
            Out += C;
        else
            Separate = true;
        Last = C;
        First = true;
    }
    void Numbers(std::initializer_list<std::int64_t> Values)
    {
        for (const std::int64_t V : Values) {
            if ((!First || Separate) && V >= 0)
                Out += ' ';
            Separate = false;
            First = false;
            AppendInt(Out, V);
        }
    }

    std::string& Out;
    std::int64_t CurX = 0, CurY = 0, StartX = 0, StartY = 0;
    char Last = 0;
    bool Started = false, First = true, Separate = false;
};

std::int64_t Round(long double V) { return std::llround(V); }

// A digit's quadratic outline in its box as the outline painter places it:
// the 687 x 1077 cell scaled onto the box, the ink centred across. Rounded
// to the nearest unit, as a vector coordinate is a position, not a pixel.
void AppendDigit(TPathData& Path, char Ch, const TSymbolElement& Box)
{
    const std::size_t Index = std::size_t(Ch - '0');
    const WEQOcrB::TGlyphOutline& Extents = WEQOcrB::OcrBOutlines[Index];
    const WEQOcrB::TQuadOutline& Q = WEQOcrB::OcrBQuadOutlines[Index];
    const long double SX = static_cast<long double>(Box.Width) / WEQOcrB::GlyphCellWidth;
    const long double SY = static_cast<long double>(Box.Height) / WEQOcrB::GlyphCellHeight;
    const long double XOff = Extents.XMin - (WEQOcrB::GlyphCellWidth - (Extents.XMax - Extents.XMin)) / 2.0L;
    const auto X = [&](std::int32_t V) { return Round(Box.Left + (V - XOff) * SX); };
    const auto Y = [&](std::int32_t V) {
        return Round(Box.Top + (WEQOcrB::GlyphCellHeight - (V - Extents.YMin)) * SY);
    };
    for (std::size_t I = 0; I < Q.Count; ++I) {
        const WEQOcrB::TQuadPoint& P = Q.Points[I];
        switch (P.Kind) {
        case WEQOcrB::Move:
            if (I > 0)
                Path.Close();
            Path.MoveTo(X(P.X), Y(P.Y));
            break;
        case WEQOcrB::Line:
            Path.LineTo(X(P.X), Y(P.Y));
            break;
        case WEQOcrB::Control:
            if (I + 1 < Q.Count) {
                const WEQOcrB::TQuadPoint& End = Q.Points[++I];
                Path.QuadTo(X(P.X), Y(P.Y), X(End.X), Y(End.Y));
            }
            break;
        case WEQOcrB::Curve:
            Path.LineTo(X(P.X), Y(P.Y)); // a curve's end without its control: none in the tables
            break;
        }
    }
    Path.Close();
}

// The '>' square in the width of its box, its tip on the box's right edge, as
// the exports draw it; Mirrored, the '<' with its tip on the left edge.
void AppendDelimiter(TPathData& Path, TSymbolElement Box, bool Mirrored)
{
    Box.Height = Box.Width;
    const WEQOcrB::TGlyphOutline& Outline = WEQOcrB::OcrBOutlines[10];
    const std::int32_t Count = WEQOcrB::OutlinePointCount(Outline);
    std::int32_t YMax = Outline.YMin;
    for (std::int32_t I = 0; I < Count; ++I)
        YMax = std::max(YMax, Outline.Points[I].Y);
    const std::int64_t SpanX = std::max(1, Outline.XMax - Outline.XMin), SpanY = std::max(1, YMax - Outline.YMin);
    for (std::int32_t I = 0; I < Count; ++I) {
        const WEQOcrB::TOutlinePoint& P = Outline.Points[I];
        const std::int64_t Across = Round(static_cast<long double>(std::int64_t(P.X - Outline.XMin) * Box.Width) / SpanX);
        const std::int64_t X = Box.Left + (Mirrored ? Box.Width - Across : Across);
        const std::int64_t Y = Box.Top + Round(static_cast<long double>(std::int64_t(YMax - P.Y) * Box.Height) / SpanY);
        if (I == 0)
            Path.MoveTo(X, Y);
        else
            Path.LineTo(X, Y);
    }
    Path.Close();
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

bool IsBlack(TColor Color) { return TCanvas::ResolveColor(Color) == 0; }

} // namespace

void AppendSvg(const TSymbol& Symbol, const TSvgStyle& Style, std::string& Out)
{
    // Which digits appear more than once at one box size: those are defined
    // once, with an id, and reused; the rest go into one path.
    struct TFirst {
        const TSymbolElement* Element = nullptr;
        int Count = 0;
        char Id = 0;
    };
    std::array<TFirst, 10> Firsts{};
    for (const TSymbolElement& E : Symbol.Elements) {
        if (E.Kind != TSymbolElement::Text || E.Ch < '0' || E.Ch > '9')
            continue;
        TFirst& F = Firsts[std::size_t(E.Ch - '0')];
        if (!F.Element)
            F.Element = &E;
        if (F.Element->Width == E.Width && F.Element->Height == E.Height)
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
    Out += "<rect width=\"";
    AppendInt(Out, Symbol.Width);
    Out += "\" height=\"";
    AppendInt(Out, Symbol.Height);
    Out += "\" fill=\"";
    AppendColor(Out, Style.Background);
    Out += "\"/><path";
    if (!IsBlack(Style.Bars)) {
        Out += " fill=\"";
        AppendColor(Out, Style.Bars);
        Out += '"';
    }
    Out += " d=\"";
    AppendBars(Out, Symbol);
    Out += "\"/>";

    const bool Colored = !IsBlack(Style.Digits);
    if (Colored) {
        Out += "<g fill=\"";
        AppendColor(Out, Style.Digits);
        Out += "\">";
    }
    // Digits defined for reuse, each where it first stands.
    for (const TFirst& F : Firsts) {
        if (!F.Id)
            continue;
        Out += "<path id=\"";
        Out += F.Id;
        Out += "\" d=\"";
        TPathData Path(Out);
        AppendDigit(Path, F.Element->Ch, *F.Element);
        Out += "\"/>";
    }
    // The others and the '>' in one path; the reused ones where they stand again.
    std::string Rest;
    {
        TPathData Path(Rest);
        for (const TSymbolElement& E : Symbol.Elements) {
            if (E.Kind != TSymbolElement::Text)
                continue;
            if (E.Ch == '>' || E.Ch == '<') {
                AppendDelimiter(Path, E, E.Ch == '<');
                continue;
            }
            if (E.Ch < '0' || E.Ch > '9')
                continue;
            const TFirst& F = Firsts[std::size_t(E.Ch - '0')];
            const bool SameBox = F.Element->Width == E.Width && F.Element->Height == E.Height;
            if (F.Id && SameBox) {
                if (F.Element == &E)
                    continue;
                Out += "<use xlink:href=\"#";
                Out += F.Id;
                Out += "\" x=\"";
                AppendInt(Out, std::int64_t(E.Left) - F.Element->Left);
                Out += '"';
                if (E.Top != F.Element->Top) {
                    Out += " y=\"";
                    AppendInt(Out, std::int64_t(E.Top) - F.Element->Top);
                    Out += '"';
                }
                Out += "/>";
                continue;
            }
            AppendDigit(Path, E.Ch, E);
        }
    }
    if (!Rest.empty()) {
        Out += "<path d=\"";
        Out += Rest;
        Out += "\"/>";
    }
    if (Colored)
        Out += "</g>";
    Out += "</svg>\n";
}

} // namespace WEQEan
