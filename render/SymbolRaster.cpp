// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "render/SymbolPaint_p.h"

#include "ean/Vector_p.h"
#include "ean/Arith.h"

#include <QRect>
#include <QRgb>

#include <algorithm>

#include <array>
#include <vector>

namespace WEQEan {

namespace {

// The fitting for E's box: the symbol's digit boxes', another size's, or
// the cache's.
const WEQOcrB::TFit& FitFor(const TSymbol& Symbol, const TSymbolElement& E, const TPaint& Paint,
                            WEQOcrB::TFit& Scratch)
{
    if (E.Width == Symbol.DigitBoxWidth && E.Height == Symbol.DigitBoxHeight)
        return Paint.Fit;
    for (const TBoxFit& F : Paint.OtherFits)
        if (F.Width == E.Width && F.Height == E.Height)
            return F.Fit;
    Scratch = Paint.Fits ? Paint.Fits->Fit("OCRB", E.Width, E.Height) : WEQOcrB::TFit{};
    return Scratch;
}

void DrawChar(const TSymbol& Symbol, const TSymbolElement& E, TCanvas& Canvas, const TPaint& Paint);

// The '<' is the '>' mirrored in its box. A font's rasterising is not
// symmetric, nor is the truncation of the outlines, so the '>' is drawn on a
// bitmap of the background and its pixels are copied mirrored, row by row.
void DrawMirrored(const TSymbol& Symbol, const TSymbolElement& E, TCanvas& Canvas, const TPaint& Paint)
{
    TSymbolElement Mirror = E;
    Mirror.Ch = '>';
    Mirror.Alignment = E.Alignment == AlignLeft ? AlignRight : E.Alignment == AlignRight ? AlignLeft : E.Alignment;
    TBitmap Glyph;
    Glyph.Canvas().SetBrushColor(Paint.Background);
    Glyph.SetSize(E.Width, E.Height);
    Mirror.Left = Mirror.Top = 0;
    DrawChar(Symbol, Mirror, Glyph.Canvas(), Paint);
    const std::uint32_t Background = TCanvas::PixelOf(Paint.Background);
    for (std::int32_t Y = 0; Y < E.Height; ++Y) {
        const std::uint32_t* Row = Glyph.ScanLine(Y);
        for (std::int32_t X = 0; X < E.Width;) {
            const std::uint32_t Pixel = Row[X];
            std::int32_t End = X + 1;
            while (End < E.Width && Row[End] == Pixel)
                ++End;
            if (Pixel != Background) {
                Canvas.SetBrushColor(TColor(qRed(Pixel) | qGreen(Pixel) << 8 | qBlue(Pixel) << 16));
                Canvas.FillRect(E.Left + E.Width - End, E.Top + Y, E.Left + E.Width - X, E.Top + Y + 1);
            }
            X = End;
        }
    }
}

// Polygons filled without an outline: the pen would add a pixel beyond them.
void FillPolygons(TCanvas& Canvas, const QPoint* Points, const std::int32_t* Counts, std::int32_t Contours,
                  TColor Color)
{
    Canvas.SetPenStyle(TPenStyle::psClear);
    Canvas.SetBrushStyle(TBrushStyle::bsSolid);
    Canvas.SetBrushColor(Color);
    Canvas.PolyPolygon(Points, Counts, Contours);
    Canvas.SetPenStyle(TPenStyle::psSolid);
}

// The mark's outline as the files hold it, square in its box's width, each
// point truncated to whole pixels from the box's origin, so that it lands the
// same wherever the box stands.
void FillMark(const TSymbolElement& E, TCanvas& Canvas, TColor Color)
{
    thread_local std::vector<TVectorCommand> Outline;
    Outline.clear();
    ResolveGlyph(E.Ch, E.Width, E.Width, Outline);
    std::array<QPoint, 16> Points;
    std::int32_t Count = 0;
    for (const TVectorCommand& C : Outline)
        if (C.Kind != TVectorCommand::Close && Count < std::int32_t(Points.size()))
            Points[std::size_t(Count++)] = QPoint(E.Left + TruncToInt32(C.X), E.Top + TruncToInt32(C.Y));
    FillPolygons(Canvas, Points.data(), &Count, 1, Color);
}

// A character of the number line with the font's outlines, each curve as
// four straight pieces, points truncated to whole pixels from the box's origin.
void FillLineOutline(const TSymbolElement& E, TCanvas& Canvas, TColor Color)
{
    thread_local std::vector<TVectorCommand> Outline;
    thread_local std::vector<QPoint> Points;
    thread_local std::vector<std::int32_t> Counts;
    Outline.clear();
    Points.clear();
    Counts.clear();
    ResolveLineGlyph(E.Ch, E.Width, E.Height, Outline);
    long double X = 0, Y = 0;
    const auto Point = [&](long double PX, long double PY) {
        Points.emplace_back(E.Left + TruncToInt32(PX), E.Top + TruncToInt32(PY));
        ++Counts.back();
    };
    for (const TVectorCommand& C : Outline) {
        if (C.Kind == TVectorCommand::Move)
            Counts.push_back(0);
        if (C.Kind == TVectorCommand::Close || Counts.empty())
            continue;
        if (C.Kind == TVectorCommand::Quad)
            for (int I = 1; I < 4; ++I) {
                const long double T = I / 4.0L, U = 1 - T;
                Point(U * U * X + 2 * U * T * C.CX + T * T * C.X, U * U * Y + 2 * U * T * C.CY + T * T * C.Y);
            }
        Point(C.X, C.Y);
        X = C.X;
        Y = C.Y;
    }
    if (!Counts.empty())
        FillPolygons(Canvas, Points.data(), Counts.data(), std::int32_t(Counts.size()), Color);
}

void DrawChar(const TSymbol& Symbol, const TSymbolElement& E, TCanvas& Canvas, const TPaint& Paint)
{
    if (Symbol.InLine(E)) {
        if (!Paint.Font ||
            !WEQOcrB::DrawLineChar(Paint.LineFit, Paint.Style, E.Ch, Canvas, E.Left, E.Top, E.Width, Paint.Digits))
            FillLineOutline(E, Canvas, Paint.Digits);
        return;
    }
    if (E.Ch == '<')
        return DrawMirrored(Symbol, E, Canvas, Paint);
    if (Paint.Font) {
        WEQOcrB::TFit Scratch;
        const WEQOcrB::TFit& Fit = FitFor(Symbol, E, Paint, Scratch);
        if (Fit.Fitted) {
            WEQOcrB::DrawFittedChar(Fit, Paint.Style, E.Ch, Canvas, E.Left, E.Top, E.Width, E.Alignment, Paint.Digits);
            return;
        }
    }
    if (E.Ch == '>' && !Paint.PainterMarks)
        return FillMark(E, Canvas, Paint.Digits);
    WEQOcrB::DrawOutlineChar(E.Ch, Canvas, E.Left, E.Top, E.Width, E.Height, Paint.Digits);
}

void FillPixels(std::uint32_t* Target, std::int32_t Count, std::uint32_t Pixel)
{
    std::fill_n(Target, std::max(0, Count), Pixel);
}

// Wider symbols go through the painter rather than row buffers this long.
constexpr std::int32_t MaxDirectWidth = 16384;

} // namespace

void PaintSymbol(const TSymbol& Symbol, TCanvas& Canvas, const TPaint& Paint)
{
    Canvas.SetPenStyle(TPenStyle::psSolid);
    Canvas.SetPenWidth(1);
    if (Paint.FillBackground) {
        Canvas.SetPenColor(Paint.Background);
        Canvas.SetBrushColor(Paint.Background);
        Canvas.Rectangle(0, 0, Symbol.Width, Symbol.Height);
    } else {
        Canvas.SetPenColor(Paint.Bars);
        Canvas.SetBrushColor(Paint.Bars);
    }
    for (const TSymbolElement& E : Symbol.Elements) {
        if (E.Kind == TSymbolElement::Text) {
            DrawChar(Symbol, E, Canvas, Paint);
        } else {
            Canvas.SetBrushColor(Paint.Bars);
            Canvas.FillRect(E.Left, E.Top, E.Left + E.Width, E.Top + E.Height);
        }
    }
}

void PaintDescribed(const TSymbol& Symbol, const std::exception_ptr& Failure, TCanvas& Canvas, const TPaint& Paint)
{
    if (Failure || !PaintSymbolDirect(Symbol, Canvas, Paint))
        PaintSymbol(Symbol, Canvas, Paint);
    if (Failure)
        std::rethrow_exception(Failure);
}

void CoverSymbol(TCanvas& Canvas, std::int32_t Width, std::int32_t Height, TColor Background)
{
    Canvas.SetPenStyle(TPenStyle::psSolid);
    Canvas.SetPenWidth(1);
    Canvas.SetPenColor(Background);
    Canvas.SetBrushColor(Background);
    Canvas.Rectangle(0, 0, Width, Height);
}

// Rows from the top down, in bands between the edges of the bars: each band
// is one row of pixels repeated, the bars that cross it on the background.
// Then the characters, each only where its ink lands on the background alone,
// which is where the plain drawing leaves it as the painter drew it.
bool PaintSymbolDirect(const TSymbol& Symbol, TCanvas& Canvas, const TPaint& Paint)
{
    const std::int32_t W = Symbol.Width;
    const std::uint32_t Background = TCanvas::PixelOf(Paint.Background), Bar = TCanvas::PixelOf(Paint.Bars);
    if (!Paint.FillBackground || !Paint.Font || !Paint.Glyphs || Background == Bar || W > MaxDirectWidth ||
        !TCanvasRaster::DirectPixels(Canvas))
        return false;

    // The rows where some bar starts or ends; a symbol has only a few.
    std::array<std::int32_t, 32> Edges{0, Symbol.Height};
    std::size_t EdgeCount = 2;
    for (const TSymbolElement& E : Symbol.Elements) {
        if (E.Kind != TSymbolElement::Bar)
            continue;
        for (const std::int32_t Y : {std::clamp(E.Top, 0, Symbol.Height), std::clamp(E.Top + E.Height, 0, Symbol.Height)}) {
            if (std::find(Edges.begin(), Edges.begin() + std::ptrdiff_t(EdgeCount), Y) != Edges.begin() + std::ptrdiff_t(EdgeCount))
                continue;
            if (EdgeCount == Edges.size())
                return false; // a symbol of many bar heights: the painter draws it
            Edges[EdgeCount++] = Y;
        }
    }
    std::sort(Edges.begin(), Edges.begin() + std::ptrdiff_t(EdgeCount));
    thread_local std::vector<std::uint32_t> Row;
    if (!TFastPaths::ThreadBuffers)
        std::vector<std::uint32_t>().swap(Row);
    for (std::size_t Band = 0; Band + 1 < EdgeCount; ++Band) {
        const std::int32_t Top = Edges[Band], Bottom = Edges[Band + 1];
        Row.resize(std::size_t(W));
        FillPixels(Row.data(), W, Background);
        for (const TSymbolElement& E : Symbol.Elements)
            if (E.Kind == TSymbolElement::Bar && E.Top <= Top && E.Top + E.Height >= Bottom)
                FillPixels(Row.data() + E.Left, E.Width, Bar);
        TCanvasRaster::CopyRows(Canvas, Top, Bottom, Row.data(), W);
    }

    const QRect Area(0, 0, W, Symbol.Height);
    // Where a character's box, widened by half a module, meets no bar and no
    // other character's widened box, that area holds the background alone
    // when the character is drawn, as long as each character stays inside
    // its own: then its pixels need no comparing.
    const std::int32_t Margin = Symbol.ModuleWidth / 2;
    const auto Widened = [&](const TSymbolElement& E) {
        return QRect(E.Left - Margin, E.Top - Margin, E.Width + 2 * Margin, Symbol.Height - E.Top + Margin) & Area;
    };
    std::array<QRect, 32> Regions;
    std::array<bool, 32> Clear{};
    std::size_t TextCount = 0;
    std::int32_t RegionsTop = Symbol.Height;
    for (const TSymbolElement& E : Symbol.Elements)
        if (E.Kind == TSymbolElement::Text && !Symbol.InLine(E) && TextCount < Regions.size()) {
            Regions[TextCount] = Widened(E);
            RegionsTop = std::min(RegionsTop, Regions[TextCount].top());
            ++TextCount;
        }
    // Only the bars that reach down among the characters (the guards) matter.
    std::array<QRect, 64> Low;
    std::size_t LowCount = 0;
    bool TooMany = false;
    for (const TSymbolElement& B : Symbol.Elements)
        if (B.Kind == TSymbolElement::Bar && B.Top + B.Height > RegionsTop) {
            if (LowCount == Low.size())
                TooMany = true;
            else
                Low[LowCount++] = QRect(B.Left, B.Top, B.Width, B.Height);
        }
    // The same layout as last time on this thread (every symbol of a size):
    // the same answer, without the pairwise tests.
    thread_local std::vector<QRect> LastLayout;
    thread_local std::array<bool, 32> LastClear{};
    thread_local std::size_t LastTextCount = 0;
    const bool SameLayout = TFastPaths::LayoutMemo && !TooMany && LastTextCount == TextCount && LastLayout.size() == TextCount + LowCount &&
                            std::equal(Regions.begin(), Regions.begin() + std::ptrdiff_t(TextCount), LastLayout.begin()) &&
                            std::equal(Low.begin(), Low.begin() + std::ptrdiff_t(LowCount),
                                       LastLayout.begin() + std::ptrdiff_t(TextCount));
    if (SameLayout) {
        Clear = LastClear;
    } else {
        for (std::size_t T = 0; T < TextCount && Margin > 0 && !TooMany; ++T) {
            bool Free = true;
            for (std::size_t U = 0; U < TextCount && Free; ++U)
                Free = U == T || !Regions[T].intersects(Regions[U]);
            for (std::size_t B = 0; B < LowCount && Free; ++B)
                Free = !Regions[T].intersects(Low[B]);
            Clear[T] = Free;
        }
        if (!TooMany) {
            LastLayout.assign(Regions.begin(), Regions.begin() + std::ptrdiff_t(TextCount));
            LastLayout.insert(LastLayout.end(), Low.begin(), Low.begin() + std::ptrdiff_t(LowCount));
            LastClear = Clear;
            LastTextCount = TextCount;
        }
    }
    std::size_t Text = 0;
    WEQOcrB::TFit Scratch; // large: made once, not once a character
    try {
        // The number line stands on the background alone, a module clear of
        // the bars: the painter draws it on the rows written, as it would.
        for (const TSymbolElement& E : Symbol.Elements)
            if (Symbol.InLine(E))
                DrawChar(Symbol, E, Canvas, Paint);
        for (const TSymbolElement& E : Symbol.Elements) {
            if (E.Kind != TSymbolElement::Text || Symbol.InLine(E))
                continue;
            const std::size_t T = Text++;
            if (E.Ch == '<')
                return false; // mirrored: the painter draws it
            const bool Known = T < TextCount && Clear[T];
            const QRect& Inside = Known ? Regions[T] : Area;
            const WEQOcrB::TFit& Fit = FitFor(Symbol, E, Paint, Scratch);
            if (!Fit.Fitted || !WEQOcrB::DrawFittedChar(Fit, Paint.Style, E.Ch, Canvas, E.Left, E.Top, E.Width,
                                                        E.Alignment, Paint.Digits, Paint.Glyphs, &Inside,
                                                        Known ? &Inside : nullptr))
                return false; // the painter draws them: the outlines, or text the cache cannot reproduce
        }
    } catch (const WEQOcrB::EFitTooLarge&) {
        return false;
    }

    // Leave the canvas as the plain drawing leaves it.
    Canvas.SetPenStyle(TPenStyle::psSolid);
    Canvas.SetPenWidth(1);
    Canvas.SetPenColor(Paint.Background);
    Canvas.SetBrushColor(Paint.Bars);
    if (!Symbol.Elements.empty() && Symbol.Elements.back().Kind == TSymbolElement::Text)
        Canvas.SetBrushStyle(TBrushStyle::bsClear);
    return true;
}

void FitAllDigits(const TSymbol& Symbol, TPaint& Paint)
{
    const auto FitOf = [&Paint](std::int32_t Width, std::int32_t Height) {
        return Paint.Fits ? Paint.Fits->Fit("OCRB", Width, Height) : WEQOcrB::TFit{};
    };
    Paint.Fit = FitOf(Symbol.DigitBoxWidth, Symbol.DigitBoxHeight);
    Paint.Font = Paint.Fit.Fitted;
    Paint.LineFit = Paint.Fits && Symbol.LineBoxWidth > 0
                        ? Paint.Fits->Line("OCRB", Symbol.LineBoxWidth, Symbol.LineBoxHeight)
                        : WEQOcrB::TLineFit{};
    std::size_t N = 0;
    for (const TSymbolElement& E : Symbol.Elements) {
        if (E.Kind != TSymbolElement::Text || Symbol.InLine(E) ||
            (E.Width == Symbol.DigitBoxWidth && E.Height == Symbol.DigitBoxHeight))
            continue;
        const auto Known = [&E](const TBoxFit& F) { return F.Width == E.Width && F.Height == E.Height; };
        if (N == Paint.OtherFits.size() || std::any_of(Paint.OtherFits.begin(), Paint.OtherFits.begin() + std::ptrdiff_t(N), Known))
            continue;
        Paint.OtherFits[N++] = {E.Width, E.Height, FitOf(E.Width, E.Height)};
    }
}

} // namespace WEQEan
