// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "ocrb/Fit_p.h"

#include "ean/Arith.h"
#include "surface/Canvas_p.h"

#include <QRect>

#include <cstring>

namespace WEQOcrB {

std::string FitCacheFontName;
std::int32_t FitCacheWidth = 0;
std::int32_t FitCacheHeight = 0;
std::int32_t FittedHeight = 0;
std::array<std::int32_t, 11> InkLeft{};
std::array<std::int32_t, 11> InkTop{};
std::array<std::int32_t, 11> InkWidth{};
std::array<std::int32_t, 11> InkHeight{};

namespace {

std::int32_t SlotOf(const std::string& Ch)
{
    if (Ch == ">")
        return DelimiterSlot;
    const std::int32_t Slot = StrToInt(Ch);
    if (Slot < 0 || Slot > 9)
        throw EConvertError("'" + Ch + "' is not a digit");
    return Slot;
}

std::int32_t SlotOf(char Ch)
{
    if (Ch == '>')
        return DelimiterSlot;
    if (Ch >= '0' && Ch <= '9')
        return Ch - '0';
    return SlotOf(std::string(1, Ch)); // raises as the font path does
}

[[noreturn]] void TooLarge(std::int32_t Width, std::int32_t Height)
{
    throw EFitTooLarge("A " + std::to_string(Width) + " x " + std::to_string(Height) +
                       " box needs a font larger than " + std::to_string(MaxFitFontHeight) + " pixels");
}

// The process-wide tables as one search state, and back.
TSearchState GlobalTables()
{
    TSearchState State;
    State.FittedHeight = FittedHeight;
    for (std::size_t S = 0; S < State.Ink.size(); ++S)
        State.Ink[S] = {InkLeft[S], InkTop[S], InkWidth[S], InkHeight[S]};
    return State;
}

void SetGlobalTables(const TFit& Fit)
{
    FittedHeight = Fit.Height;
    for (std::size_t S = 0; S < Fit.Reported.size(); ++S) {
        InkLeft[S] = Fit.Reported[S].Left;
        InkTop[S] = Fit.Reported[S].Top;
        InkWidth[S] = Fit.Reported[S].Width;
        InkHeight[S] = Fit.Reported[S].Height;
    }
}

// The application thread's fitting: the one-key cache of the process-wide
// names first, then the shared cache, then a search that starts from the
// tables as they stand. A search that did not measure every slot leaves
// entries of earlier fittings in the tables, so only a complete one is shared.
TFit GuiFit(const std::string& FontName, std::int32_t Width, std::int32_t Height)
{
    FitCacheFontName = FontName;
    FitCacheWidth = Width;
    FitCacheHeight = Height;
    TFit Fit;
    if (!TFitCache::Shared().Find(FontName, Width, Height, Fit) || (Fit.Fitted && !Fit.Complete)) {
        try {
            Fit = FitFrom(GlobalTables(), FontName, Width, Height);
        } catch (...) {
            FitCacheFontName.clear(); // a search that failed is no result
            throw;
        }
        if (Fit.Complete || !Fit.Fitted)
            TFitCache::Shared().Keep(FontName, Width, Height, Fit);
    }
    if (!Fit.Fitted) {
        FitCacheFontName.clear();
        TooLarge(Width, Height);
    }
    SetGlobalTables(Fit);
    return Fit;
}

} // namespace

TFitResult FitFontHeight(const std::string& Ch, const std::string& FontName, std::int32_t Width,
                         std::int32_t Height)
{
    const std::size_t S = std::size_t(SlotOf(Ch));
    if (!OnGuiThread()) {
        const TFit Fit = TFitCache::Shared().Fit(FontName, Width, Height);
        if (!Fit.Fitted)
            TooLarge(Width, Height);
        const TInk& I = Fit.Reported[S];
        return {Fit.Height, I.Left, I.Top, I.Width, I.Height};
    }
    if (FontName != FitCacheFontName || Width != FitCacheWidth || Height != FitCacheHeight)
        GuiFit(FontName, Width, Height);
    return {FittedHeight, InkLeft[S], InkTop[S], InkWidth[S], InkHeight[S]};
}

TFit InterfaceFit(const std::string& FontName, std::int32_t Width, std::int32_t Height)
{
    if (!OnGuiThread())
        return TFitCache::Shared().Fit(FontName, Width, Height);
    if (FontName != FitCacheFontName || Width != FitCacheWidth || Height != FitCacheHeight) {
        try {
            GuiFit(FontName, Width, Height);
        } catch (const EFitTooLarge&) {
            return {};
        }
    }
    TFit Fit;
    Fit.Fitted = true;
    Fit.Height = FittedHeight;
    for (std::size_t S = 0; S < Fit.Reported.size(); ++S)
        Fit.Reported[S] = {InkLeft[S], InkTop[S], InkWidth[S], InkHeight[S]};
    return Fit;
}

QPoint PlaceInk(const TInk& Ink, std::int32_t Left, std::int32_t Top, std::int32_t Width, std::uint8_t Alignment)
{
    std::int64_t X = std::int64_t(Left) - Ink.Left;
    if (Alignment == 0) {
        // the ink's left edge on Left
    } else if (Alignment == 2) {
        X += std::int64_t(Width) - Ink.Width;
    } else {
        X += (std::int64_t(Width) - Ink.Width) / 2; // C++ division truncates toward zero
    }
    return QPoint(ClampToInt32(X), ClampToInt32(std::int64_t(Top) - Ink.Top));
}

namespace {

void SetFont(TCanvas& Canvas, std::int32_t Height, TColor Color)
{
    Canvas.SetBrushStyle(TBrushStyle::bsClear);
    Canvas.SetFontName("OCRB");
    Canvas.SetFontHeight(-Height);
    Canvas.SetFontColor(Color);
}

// Sets the canvas up for the character and gives the text cell's top-left.
QPoint PlaceFontChar(const std::string& Text, TCanvas& Canvas, std::int32_t Left, std::int32_t Top,
                     std::int32_t Width, std::int32_t Height, std::uint8_t Alignment, TColor Color)
{
    const TFitResult Fit = FitFontHeight(Text, "OCRB", Width, Height);
    SetFont(Canvas, Fit.Height, Color);
    return PlaceInk({Fit.InkLeft, Fit.InkTop, Fit.InkWidth, Fit.InkHeight}, Left, Top, Width, Alignment);
}

} // namespace

bool FontInUse() { return OnGuiThread() ? OcrBFontLoaded : OcrBFontRegistered(); }

void DrawFontChar(const std::string& Text, TCanvas& Canvas, std::int32_t Left, std::int32_t Top,
                  std::int32_t Width, std::int32_t Height, std::uint8_t Alignment, TColor Color)
{
    const QPoint At = PlaceFontChar(Text, Canvas, Left, Top, Width, Height, Alignment, Color);
    Canvas.TextOut(At.x(), At.y(), Text);
}

bool DrawFittedChar(const TFit& Fit, TFontStyle Style, char Ch, TCanvas& Canvas, std::int32_t Left,
                    std::int32_t Top, std::int32_t Width, std::uint8_t Alignment, TColor Color, TTextCache* Glyphs,
                    const QRect* Inside, const QRect* Known)
{
    SetFont(Canvas, Fit.Height, Color);
    if (Style == TFontStyle::Exact)
        Canvas.SetFontAntialias(false);
    const std::size_t Slot = std::size_t(SlotOf(Ch));
    const QPoint At = PlaceInk(Style == TFontStyle::Exact ? Fit.Exact[Slot] : Fit.Reported[Slot], Left, Top, Width,
                               Alignment);
    const std::string Text(1, Ch);
    if (Glyphs)
        return TCanvasRaster::TextOutIfExact(Canvas, *Glyphs, At.x(), At.y(), Text, *Inside, Known);
    Canvas.TextOut(At.x(), At.y(), Text);
    return true;
}

bool DrawLineChar(const TLineFit& Fit, TFontStyle Style, char Ch, TCanvas& Canvas, std::int32_t Left,
                  std::int32_t Top, std::int32_t Width, TColor Color)
{
    const char* Slot = Ch ? std::strchr(LineFitChars, Ch) : nullptr;
    if (!Slot || !Fit.Fitted)
        return false;
    const TInk& Ink = Fit.Ink[std::size_t(Slot - LineFitChars)];
    SetFont(Canvas, Fit.Height, Color);
    if (Style == TFontStyle::Exact)
        Canvas.SetFontAntialias(false);
    // Every character's cell at one height: one baseline.
    const QPoint At = PlaceInk({Ink.Left, Fit.Top, Ink.Width, Ink.Height}, Left, Top, Width, 1);
    Canvas.TextOut(At.x(), At.y(), std::string(1, Ch));
    return true;
}

void DrawOcrBChar(const std::string& Text, TCanvas& Canvas, std::int32_t Left, std::int32_t Top,
                  std::int32_t Width, std::int32_t Height, std::uint8_t Alignment, TColor Color)
{
    if (FontInUse()) {
        try {
            DrawFontChar(Text.substr(0, 1), Canvas, Left, Top, Width, Height, Alignment, Color);
            return;
        } catch (const EFitTooLarge&) {
            // Beyond the sizes the font is fitted to, the outlines draw it.
        }
    }
    if (!Text.empty())
        DrawOutlineChar(Text[0], Canvas, Left, Top, Width, Height, Color);
}

void DrawOutlineChar(char Ch, TCanvas& Canvas, std::int32_t Left, std::int32_t Top, std::int32_t Width,
                     std::int32_t Height, TColor Color)
{
    using TPainter = void (*)(TCanvas&, std::int32_t, std::int32_t, std::int32_t, std::int32_t, TColor);
    static constexpr TPainter Digits[] = {DrawOcrBGlyph0, DrawOcrBGlyph1, DrawOcrBGlyph2, DrawOcrBGlyph3,
                                          DrawOcrBGlyph4, DrawOcrBGlyph5, DrawOcrBGlyph6, DrawOcrBGlyph7,
                                          DrawOcrBGlyph8, DrawOcrBGlyph9};
    if (Ch >= '0' && Ch <= '9')
        Digits[Ch - '0'](Canvas, Left, Top, Width, Height, Color);
    else if (Ch == '>')
        DrawOcrBGlyphDelimiter(Canvas, Left, Top, Width, Height, Color);
}

} // namespace WEQOcrB
