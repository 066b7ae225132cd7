#include "ean/Painter_p.h"

#include <QRect>

#include <algorithm>
#include <array>
#include <vector>

namespace WEQEan {

namespace {

void DrawChar(const TSymbol& Symbol, const TSymbolElement& E, TCanvas& Canvas, const TPaint& Paint)
{
    switch (Paint.Source) {
    case TDigitSource::Painter:
        WEQOcrB::DrawOcrBChar(std::string(1, E.Ch), Canvas, E.Left, E.Top, E.Width, E.Height, E.Alignment,
                              Paint.Digits);
        return;
    case TDigitSource::Fitted:
        WEQOcrB::DrawFittedChar(Paint.Fit, E.Ch, Canvas, E.Left, E.Top, E.Width, E.Alignment, Paint.Digits);
        return;
    case TDigitSource::Outlines:
        if (E.Ch == '>') {
            const TSymbolElement Box = FileDelimiterBox(Symbol);
            WEQOcrB::DrawOutlineInto('>', Canvas, Box.Left, Box.Top, Box.Width, Box.Height, Paint.Digits);
        } else {
            WEQOcrB::DrawOutlineChar(E.Ch, Canvas, E.Left, E.Top, E.Width, E.Height, Paint.Digits);
        }
        return;
    }
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
    if (!Paint.FillBackground || Paint.Source == TDigitSource::Outlines || Background == Bar || W > MaxDirectWidth ||
        !Canvas.DirectPixels() || (Paint.Source == TDigitSource::Painter && !WEQOcrB::FontInUse()))
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
    for (std::size_t Band = 0; Band + 1 < EdgeCount; ++Band) {
        const std::int32_t Top = Edges[Band], Bottom = Edges[Band + 1];
        Row.assign(std::size_t(W), Background);
        for (const TSymbolElement& E : Symbol.Elements)
            if (E.Kind == TSymbolElement::Bar && E.Top <= Top && E.Top + E.Height >= Bottom)
                std::fill_n(Row.begin() + E.Left, E.Width, Bar);
        Canvas.CopyRows(Top, Bottom, Row.data(), W);
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
        if (E.Kind == TSymbolElement::Text && TextCount < Regions.size()) {
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
    const bool SameLayout = !TooMany && LastTextCount == TextCount && LastLayout.size() == TextCount + LowCount &&
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
    try {
        for (const TSymbolElement& E : Symbol.Elements) {
            if (E.Kind != TSymbolElement::Text)
                continue;
            const std::size_t T = Text++;
            const bool Known = T < TextCount && Clear[T];
            const QRect& Own = Known ? Regions[T] : Area;
            const QRect& Inside = Known ? Own : Area;
            const bool Drawn =
                Paint.Source == TDigitSource::Fitted
                    ? WEQOcrB::DrawFittedChar(Paint.Fit, E.Ch, Canvas, E.Left, E.Top, E.Width, E.Alignment,
                                              Paint.Digits, &Inside, Known ? &Own : nullptr)
                    : WEQOcrB::DrawFontCharIfExact(std::string(1, E.Ch), Canvas, E.Left, E.Top, E.Width, E.Height,
                                                   E.Alignment, Paint.Digits, Inside, Known ? &Own : nullptr);
            if (!Drawn)
                return false;
        }
    } catch (const WEQOcrB::EFitTooLarge&) {
        return false; // the outlines draw these digits, through the painter
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

WEQOcrB::TFit FitForDigits(const TSymbol& Symbol)
{
    if (!WEQOcrB::OcrBFontRegistered())
        return {};
    return WEQOcrB::SharedFit("OCRB", Symbol.DigitBoxWidth, Symbol.DigitBoxHeight);
}

} // namespace WEQEan
