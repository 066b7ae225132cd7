// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// The drawing entry points on a canvas: DrawEan13 and its helpers as the
// interface describes them, and DrawSymbol for the family. Each describes the
// symbol with the one builder, settles everything the painter needs (the
// fitting, the font or the outlines) and hands it over; the painter reads no
// process-wide name.

#include "ean/Core_p.h"
#include "ean/WEQEan.h"
#include "ean/Arith.h"
#include "render/SymbolPaint_p.h"

#include <algorithm>

namespace WEQEan {

std::int32_t BarTop = 0;
std::int32_t DigitBoxWidth = 0;
std::int32_t DigitBoxHeight = 0;

namespace {

// The drawing parameters the helpers below go by: on the application's
// thread the process-wide ones the last drawing left, on any other thread
// those a drawing at the module width would set.
struct TDrawingParameters {
    std::int32_t BarTop, DigitBoxWidth, DigitBoxHeight;
};

TDrawingParameters Parameters(std::int32_t ModuleWidth)
{
    if (WEQOcrB::OnGuiThread())
        return {BarTop, DigitBoxWidth, DigitBoxHeight};
    const TEan13Layout L = Ean13Layout(std::int32_t(std::min<std::int64_t>(std::int64_t(ModuleWidth) * Ean13Modules,
                                                                           INT32_MAX)),
                                       0);
    return {0, L.DigitBoxWidth, L.DigitBoxHeight};
}

bool IsSlot(char Ch) { return IsDigit(Ch) || Ch == '>'; }

} // namespace

void DrawBar(TCanvas& Canvas, std::int32_t StartModule, std::int32_t ModuleWidth, std::int32_t Modules,
             long double BarHeight, TColor Color)
{
    const std::int32_t Top = Parameters(ModuleWidth).BarTop;
    Canvas.SetBrushColor(Color);
    const std::int64_t Left = (std::int64_t(StartModule) - 1) * ModuleWidth;
    const std::int64_t Right = Left + std::int64_t(Modules) * ModuleWidth;
    const std::int64_t Bottom = std::int64_t(Top) + TruncToInt32(BarHeight);
    Canvas.FillRect(ClampToInt32(Left), Top, ClampToInt32(Right), ClampToInt32(Bottom));
}

void DrawBarGroup(TCanvas& Canvas, const std::string& Digit, const std::string& Widths, std::uint8_t Kind,
                  std::int32_t StartModule, std::int32_t ModuleWidth, long double BarHeight, TColor BarColor,
                  TColor FontColor)
{
    const std::int32_t S = StartModule, M = ModuleWidth;
    const std::int32_t Index = GroupKindIndex(Kind);
    if (Index < 0)
        return;
    const std::array<TEan13Bar, 2> Bars = GroupBars(Index, Widths, S);
    // A digit's text comes before its bars: under the last six modules of a
    // left-half digit, under the first six of a right-half one.
    if (Index != 1) {
        const TDrawingParameters P = Parameters(M);
        const std::int64_t TextTop = std::int64_t(P.BarTop) + TruncToInt32(BarHeight) + M;
        const std::int64_t TextLeft = (Index == 2 ? std::int64_t(S) : std::int64_t(S) - 1) * M;
        WEQOcrB::DrawOcrBChar(Digit, Canvas, ClampToInt32(TextLeft), ClampToInt32(TextTop), P.DigitBoxWidth,
                              P.DigitBoxHeight, AlignCentre, FontColor);
    }
    for (const TEan13Bar& B : Bars)
        DrawBar(Canvas, B.StartModule, M, B.Modules, BarHeight, BarColor);
}

namespace {

bool DrawEan13Pixels(const std::string& GTIN, TCanvas& Canvas, std::int32_t Width, std::int32_t Height,
                     TColor BackgroundColor, TColor BarColor, TColor FontColor, bool FillBackground,
                     bool DrawRightDelimiter)
{
    const TEan13Layout L = Ean13Layout(Width, Height);
    try {
        // The application thread's drawings keep the interface's view of the
        // last drawing's parameters; other threads' drawings leave it alone.
        if (WEQOcrB::OnGuiThread()) {
            BarTop = 0;
            DigitBoxWidth = L.DigitBoxWidth;
            DigitBoxHeight = L.DigitBoxHeight;
        }
        std::exception_ptr Failure;
        TSymbol Symbol;
        DescribeEan13Into(Symbol, GTIN, Width, Height, DrawRightDelimiter, Failure);
        // The digits as DrawOcrBChar draws them here. Its font path fits the
        // box at the first character, unless that one is no character it
        // knows: then it raises before fitting anything.
        TPaint Paint{.Background = BackgroundColor, .Bars = BarColor, .Digits = FontColor, .FillBackground = FillBackground};
        Paint.Style = WEQOcrB::TFontStyle::AsPainter;
        Paint.PainterMarks = true;
        Paint.Glyphs = &TTextCache::Shared();
        const auto First = std::find_if(Symbol.Elements.begin(), Symbol.Elements.end(),
                                        [](const TSymbolElement& E) { return E.Kind == TSymbolElement::Text; });
        if (WEQOcrB::FontInUse() && First != Symbol.Elements.end() && IsSlot(First->Ch)) {
            Paint.Fit = WEQOcrB::InterfaceFit("OCRB", L.DigitBoxWidth, L.DigitBoxHeight);
            Paint.Font = Paint.Fit.Fitted;
        } else if (WEQOcrB::FontInUse() && First != Symbol.Elements.end()) {
            throw EConvertError("'" + std::string(1, First->Ch) + "' is not a valid integer value");
        }
        PaintDescribed(Symbol, Failure, Canvas, Paint);
        return true;
    } catch (const Exception&) {
        CoverSymbol(Canvas, L.SymbolWidth, L.DrawingHeight, BackgroundColor);
        return false;
    }
}

bool DrawSymbolPixels(const TEanReading& Reading, TCanvas& Canvas, std::int32_t Width, std::int32_t Height,
                      TColor BackgroundColor, TColor BarColor, TColor FontColor, bool FillBackground, bool Marks,
                      std::int32_t AddOnGap)
{
    TSymbol Symbol;
    std::exception_ptr Failure;
    DescribeSymbolInto(Symbol, Reading, Width, Height, Marks, AddOnGap, Failure);
    try {
        // The digits as DrawEan13 draws them, fitted through the library's
        // shared cache whatever the thread.
        TPaint Paint{.Background = BackgroundColor, .Bars = BarColor, .Digits = FontColor, .FillBackground = FillBackground};
        Paint.Style = WEQOcrB::TFontStyle::AsPainter;
        Paint.Fits = &WEQOcrB::TFitCache::Shared();
        Paint.Glyphs = &TTextCache::Shared();
        if (!Failure && WEQOcrB::OcrBFontRegistered())
            FitAllDigits(Symbol, Paint);
        PaintDescribed(Symbol, Failure, Canvas, Paint);
        return true;
    } catch (const Exception&) {
        CoverSymbol(Canvas, Symbol.Width, Symbol.Height, BackgroundColor);
        return false;
    }
}

} // namespace

bool DrawEan13(const std::string& GTIN, TCanvas& Canvas, std::int32_t Width, std::int32_t Height,
               TColor BackgroundColor, TColor BarColor, TColor FontColor, bool FillBackground,
               bool DrawRightDelimiter)
{
    return InDevicePixels(Canvas, Width, Height, [&](std::int32_t W, std::int32_t H) {
        return DrawEan13Pixels(GTIN, Canvas, W, H, BackgroundColor, BarColor, FontColor, FillBackground,
                               DrawRightDelimiter);
    });
}

bool DrawSymbol(const TEanReading& Reading, TCanvas& Canvas, std::int32_t Width, std::int32_t Height,
                TColor BackgroundColor, TColor BarColor, TColor FontColor, bool FillBackground, bool DrawQuietZoneMarks,
                std::int32_t AddOnGap)
{
    return InDevicePixels(Canvas, Width, Height, [&](std::int32_t W, std::int32_t H) {
        return DrawSymbolPixels(Reading, Canvas, W, H, BackgroundColor, BarColor, FontColor, FillBackground,
                                DrawQuietZoneMarks, AddOnGap);
    });
}

} // namespace WEQEan
