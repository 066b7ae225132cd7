#include "ean/WEQEan.h"
#include "ocrb/WEQOcrB.h"
#include "ocrb/WEQOcrB_p.h"
#include "surface/Arith.h"

#include <QRect>
#include <QTransform>

#include <cmath>

#include <vector>

namespace WEQEan {

std::int32_t BarTop = 0;
std::int32_t DigitBoxWidth = 0;
std::int32_t DigitBoxHeight = 0;

namespace {

constexpr std::uint8_t GuardKind = 0, LeftDigitKind = 1, RightDigitKind = 2;
constexpr std::uint8_t AlignCentre = 1, AlignRight = 2;



// Wider symbols go through the painter rather than a row buffer this long.
constexpr std::int32_t MaxDirectWidth = 16384;

// The symbol written row by row straight into the pixels behind the canvas:
// the rows through the digit bars, the rows where only the guards go on, the
// rows of the digits; then the digits from the text cache. The result equals
// the painter's drawing pixel for pixel; where that cannot be guaranteed (a
// digit whose ink would touch a bar, leave the symbol or land on anything but
// the background) the result is false, and nothing outside the symbol area
// has been touched, so the caller can draw it the plain way over it.
bool DrawEan13Direct(const std::string& GTIN, TCanvas& Canvas, const TEan13Layout& L, TColor BackgroundColor,
                     TColor BarColor, TColor FontColor, bool DrawRightDelimiter)
{
    const std::int32_t M = L.ModuleWidth, W = L.SymbolWidth;
    const std::uint32_t Background = TCanvas::PixelOf(BackgroundColor), Bar = TCanvas::PixelOf(BarColor);
    if (Background == Bar || W > MaxDirectWidth || !Canvas.DirectPixels() || !WEQOcrB::OcrBFontLoaded)
        return false;
    std::array<TEan13Bar, 30> Bars;
    try {
        Bars = Ean13Bars(GTIN);
    } catch (const Exception&) {
        // The plain drawing fails too, but only after drawing some digits,
        // whose ink may reach past the area it then covers: let it do so.
        return false;
    }

    thread_local std::vector<std::uint32_t> AllBars, GuardsOnly, Plain;
    AllBars.assign(std::size_t(W), Background);
    GuardsOnly.assign(std::size_t(W), Background);
    Plain.assign(std::size_t(W), Background);
    for (const TEan13Bar& B : Bars) {
        const auto First = std::size_t(B.StartModule - 1) * std::size_t(M), Count = std::size_t(B.Modules * M);
        std::fill_n(AllBars.begin() + std::ptrdiff_t(First), Count, Bar);
        if (B.Guard)
            std::fill_n(GuardsOnly.begin() + std::ptrdiff_t(First), Count, Bar);
    }
    const std::int32_t S = ClampToInt32(L.ShortBarHeight), G = ClampToInt32(L.GuardBarHeight);
    Canvas.CopyRows(0, S, AllBars.data(), W);
    Canvas.CopyRows(S, G, GuardsOnly.data(), W);
    Canvas.CopyRows(G, L.DrawingHeight, Plain.data(), W);

    const QRect Symbol(0, 0, W, L.DrawingHeight);
    const std::int32_t TextTop = ClampToInt32(L.DigitBoxTop);
    auto Digit = [&](const std::string& Text, std::int64_t Left, std::uint8_t Alignment) {
        return WEQOcrB::DrawFontCharIfExact(Text, Canvas, ClampToInt32(Left), TextTop, DigitBoxWidth, DigitBoxHeight,
                                           Alignment, FontColor, Symbol);
    };
    if (!Digit(GTIN.substr(0, 1), 4 * std::int64_t(M), AlignRight))
        return false;
    for (std::int32_t I = 2; I <= 7; ++I)
        if (!Digit(GTIN.substr(std::size_t(I - 1), 1), std::int64_t(15 + 7 * (I - 2)) * M, AlignCentre))
            return false;
    for (std::int32_t I = 8; I <= 13; ++I)
        if (!Digit(GTIN.substr(std::size_t(I - 1), 1), std::int64_t(62 + 7 * (I - 8) - 1) * M, AlignCentre))
            return false;
    if (DrawRightDelimiter && !Digit(">", 107 * std::int64_t(M), AlignRight))
        return false;

    // Leave the canvas as the plain drawing leaves it.
    Canvas.SetPenStyle(TPenStyle::psSolid);
    Canvas.SetPenWidth(1);
    Canvas.SetPenColor(BackgroundColor);
    Canvas.SetBrushColor(BarColor);
    if (DrawRightDelimiter)
        Canvas.SetBrushStyle(TBrushStyle::bsClear);
    return true;
}

} // namespace

void DrawBar(TCanvas& Canvas, std::int32_t StartModule, std::int32_t ModuleWidth, std::int32_t Modules,
             long double BarHeight, TColor Color)
{
    Canvas.SetBrushColor(Color);
    const std::int64_t Left = (std::int64_t(StartModule) - 1) * ModuleWidth;
    const std::int64_t Right = Left + std::int64_t(Modules) * ModuleWidth;
    const std::int64_t Bottom = std::int64_t(BarTop) + TruncToInt32(BarHeight);
    Canvas.FillRect(ClampToInt32(Left), BarTop, ClampToInt32(Right), ClampToInt32(Bottom));
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
        const std::int64_t TextTop = std::int64_t(BarTop) + TruncToInt32(BarHeight) + M;
        const std::int64_t TextLeft = (Index == 2 ? std::int64_t(S) : std::int64_t(S) - 1) * M;
        WEQOcrB::DrawOcrBChar(Digit, Canvas, ClampToInt32(TextLeft), ClampToInt32(TextTop), DigitBoxWidth,
                              DigitBoxHeight, AlignCentre, FontColor);
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
    const std::int32_t M = L.ModuleWidth;
    try {
        BarTop = 0;
        DigitBoxWidth = L.DigitBoxWidth;
        DigitBoxHeight = L.DigitBoxHeight;
        const long double ShortBars = static_cast<long double>(L.ShortBarHeight);
        const long double GuardBars = static_cast<long double>(L.GuardBarHeight);
        const std::int32_t TextTop = ClampToInt32(L.DigitBoxTop);

        if (FillBackground &&
            DrawEan13Direct(GTIN, Canvas, L, BackgroundColor, BarColor, FontColor, DrawRightDelimiter))
            return true;

        Canvas.SetPenStyle(TPenStyle::psSolid);
        Canvas.SetPenWidth(1);
        if (FillBackground) {
            Canvas.SetPenColor(BackgroundColor);
            Canvas.SetBrushColor(BackgroundColor);
            Canvas.Rectangle(0, 0, L.SymbolWidth, L.DrawingHeight);
        } else {
            Canvas.SetPenColor(BarColor);
            Canvas.SetBrushColor(BarColor);
        }

        // A missing character raises like a non-digit does.
        auto At = [&GTIN](std::size_t Position) {
            if (Position > GTIN.size())
                throw Exception("GTIN '" + GTIN + "' has no position " + std::to_string(Position));
            return GTIN.substr(Position - 1, 1);
        };

        WEQOcrB::DrawOcrBChar(At(1), Canvas, 4 * M, TextTop, DigitBoxWidth, DigitBoxHeight, AlignRight, FontColor);
        DrawBarGroup(Canvas, "", "", GuardKind, 12, M, GuardBars, BarColor, FontColor);
        const std::string Pattern = ParityPattern(GTIN);
        for (std::size_t I = 2; I <= 7; ++I) {
            const std::string Digit = At(I);
            const std::string Widths = ElementWidths(Digit, Pattern.substr(I - 2, 1));
            DrawBarGroup(Canvas, Digit, Widths, LeftDigitKind, 15 + 7 * std::int32_t(I - 2), M, ShortBars, BarColor,
                         FontColor);
        }
        DrawBarGroup(Canvas, "", "", GuardKind, 58, M, GuardBars, BarColor, FontColor);
        for (std::size_t I = 8; I <= 13; ++I) {
            const std::string Digit = At(I);
            const std::string Widths = ElementWidths(Digit, "C");
            DrawBarGroup(Canvas, Digit, Widths, RightDigitKind, 62 + 7 * std::int32_t(I - 8), M, ShortBars, BarColor,
                         FontColor);
        }
        DrawBarGroup(Canvas, "", "", GuardKind, 104, M, GuardBars, BarColor, FontColor);
        if (DrawRightDelimiter)
            WEQOcrB::DrawOcrBChar(">", Canvas, 107 * M, TextTop, DigitBoxWidth, DigitBoxHeight, AlignRight, FontColor);
        return true;
    } catch (const Exception&) {
        Canvas.SetPenStyle(TPenStyle::psSolid);
        Canvas.SetPenWidth(1);
        Canvas.SetPenColor(BackgroundColor);
        Canvas.SetBrushColor(BackgroundColor);
        Canvas.Rectangle(0, 0, L.SymbolWidth, L.DrawingHeight);
        return false;
    }
}
} // namespace

// On a device with more pixels than canvas units, the symbol is laid out in
// device pixels, so that every module is a whole number of them.
bool DrawEan13(const std::string& GTIN, TCanvas& Canvas, std::int32_t Width, std::int32_t Height,
               TColor BackgroundColor, TColor BarColor, TColor FontColor, bool FillBackground,
               bool DrawRightDelimiter)
{
    const double Ratio = Canvas.DevicePixelRatio();
    if (Ratio == 1.0 || !(Ratio > 0))
        return DrawEan13Pixels(GTIN, Canvas, Width, Height, BackgroundColor, BarColor, FontColor, FillBackground,
                               DrawRightDelimiter);
    Canvas.SetTransform(QTransform::fromScale(1 / Ratio, 1 / Ratio));
    const auto InDevicePixels = [Ratio](std::int32_t V) { return ClampToInt32(std::int64_t(std::floor(V * Ratio))); };
    const bool Drawn = DrawEan13Pixels(GTIN, Canvas, InDevicePixels(Width), InDevicePixels(Height), BackgroundColor,
                                       BarColor, FontColor, FillBackground, DrawRightDelimiter);
    Canvas.SetTransform(QTransform());
    return Drawn;
}

} // namespace WEQEan
