#include "ean/Layout_p.h"
#include "ean/Painter_p.h"
#include "ean/WEQEan.h"
#include "surface/Arith.h"

#include <QTransform>

#include <algorithm>
#include <cmath>

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
        thread_local TSymbol Symbol; // its storage serves every drawing on the thread
        DescribeEan13Into(Symbol, GTIN, Width, Height, DrawRightDelimiter, Failure);
        const TPaint Paint{BackgroundColor, BarColor, FontColor, FillBackground, TDigitSource::Painter, {}};
        PaintDescribed(Symbol, Failure, Canvas, Paint);
        return true;
    } catch (const Exception&) {
        CoverSymbol(Canvas, L.SymbolWidth, L.DrawingHeight, BackgroundColor);
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

} // namespace WEQEan
