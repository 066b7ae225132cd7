// Drawing a symbol of the family on a canvas, as DrawEan13 draws EAN-13.

#include "ean/Family_p.h"
#include "ean/Painter_p.h"

namespace WEQEan {

namespace {

bool DrawSymbolPixels(const TEanReading& Reading, TCanvas& Canvas, std::int32_t Width, std::int32_t Height,
                      TColor BackgroundColor, TColor BarColor, TColor FontColor, bool FillBackground, bool Marks,
                      std::int32_t AddOnGap)
{
    thread_local TSymbol Symbol; // its storage serves every drawing on the thread
    std::exception_ptr Failure;
    DescribeSymbolInto(Symbol, Reading, Width, Height, Marks, AddOnGap, Failure);
    try {
        const TPaint Paint{BackgroundColor, BarColor, FontColor, FillBackground, TDigitSource::Painter, {}};
        PaintDescribed(Symbol, Failure, Canvas, Paint);
        return true;
    } catch (const Exception&) {
        CoverSymbol(Canvas, Symbol.Width, Symbol.Height, BackgroundColor);
        return false;
    }
}

} // namespace

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
