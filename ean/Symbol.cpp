#include "ean/WEQEan.h"
#include "ocrb/WEQOcrB.h"
#include "surface/Arith.h"

namespace WEQEan {

std::int32_t BarTop = 0;
std::int32_t DigitBoxWidth = 0;
std::int32_t DigitBoxHeight = 0;

namespace {

constexpr std::uint8_t GuardKind = 0, LeftDigitKind = 1, RightDigitKind = 2;
constexpr std::uint8_t AlignCentre = 1, AlignRight = 2;

std::int32_t Width(const std::string& Widths, std::size_t Element) { return Widths[Element] - '0'; }

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
    const std::int64_t TextTop = std::int64_t(BarTop) + TruncToInt32(BarHeight) + M;
    const std::int32_t Index = GroupKindIndex(Kind);
    if ((Index == 2 || Index == 3) && Widths.size() < 4)
        throw Exception("no element widths for the digit '" + Digit + "'");
    switch (Index) {
    case 1: // guard: two single-module bars with a space between
        DrawBar(Canvas, S, M, 1, BarHeight, BarColor);
        DrawBar(Canvas, S + 2, M, 1, BarHeight, BarColor);
        break;
    case 2: // left half: space, bar, space, bar; the text under the last six modules
        WEQOcrB::DrawOcrBChar(Digit, Canvas, ClampToInt32(std::int64_t(S) * M), ClampToInt32(TextTop), DigitBoxWidth,
                              DigitBoxHeight, AlignCentre, FontColor);
        DrawBar(Canvas, S + Width(Widths, 0), M, Width(Widths, 1), BarHeight, BarColor);
        DrawBar(Canvas, S + Width(Widths, 0) + Width(Widths, 1) + Width(Widths, 2), M, Width(Widths, 3), BarHeight,
                BarColor);
        break;
    case 3: // right half: bar, space, bar, space; the text under the first six modules
        WEQOcrB::DrawOcrBChar(Digit, Canvas, ClampToInt32((std::int64_t(S) - 1) * M), ClampToInt32(TextTop),
                              DigitBoxWidth, DigitBoxHeight, AlignCentre, FontColor);
        DrawBar(Canvas, S, M, Width(Widths, 0), BarHeight, BarColor);
        DrawBar(Canvas, S + Width(Widths, 0) + Width(Widths, 1), M, Width(Widths, 2), BarHeight, BarColor);
        break;
    default:
        break;
    }
}

bool DrawEan13(const std::string& GTIN, TCanvas& Canvas, std::int32_t Width, std::int32_t Height,
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

} // namespace WEQEan
