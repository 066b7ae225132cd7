#include "ocrb/WEQOcrB_p.h"
#include "surface/Arith.h"

#include <QRect>

#include <algorithm>
#include <limits>

namespace WEQOcrB {

std::string FitCacheFontName;
std::int32_t FitCacheWidth = 0;
std::int32_t FitCacheHeight = 0;
std::int32_t FittedHeight = 0;
std::array<std::int32_t, 11> InkLeft{};
std::array<std::int32_t, 11> InkTop{};
std::array<std::int32_t, 11> InkWidth{};
std::array<std::int32_t, 11> InkHeight{};
std::uint64_t MeasurementCount = 0;

namespace {

constexpr std::int32_t DelimiterSlot = 10;
// A safety net: the stop rules end every real search within a few passes.
constexpr int MaxFitPasses = 4096;

std::int32_t SlotOf(const std::string& Ch)
{
    if (Ch == ">")
        return DelimiterSlot;
    const std::int32_t Slot = StrToInt(Ch);
    if (Slot < 0 || Slot > 9)
        throw EConvertError("'" + Ch + "' is not a digit");
    return Slot;
}

std::string SlotText(std::int32_t Slot) { return Slot == DelimiterSlot ? ">" : std::string(1, char('0' + Slot)); }

struct TInkBox {
    bool Any = false;
    std::int32_t Left = 0, Right = -1, Top = 0, Bottom = -1;
};

// Ink is anything but pure white.
struct TInkReader {
    const std::uint32_t* Pixels;
    std::int32_t Stride;
    bool operator()(std::int32_t X, std::int32_t Y) const
    {
        return (Pixels[std::ptrdiff_t(Y) * Stride + X] & 0x00FFFFFFu) != 0x00FFFFFFu;
    }
};

// Renders the slot's character at em height H on a fresh white bitmap, without
// antialiasing so that ink is exactly the glyph's pixels, and finds the
// rectangle of its non-white pixels. Each edge scan stops at its first ink.
TInkBox MeasureSlot(std::int32_t Slot, const std::string& FontName, std::int32_t H)
{
    if (H < 1 || H > MaxFitFontHeight)
        throw Exception("Font height " + std::to_string(H) + " cannot be measured");
    ++MeasurementCount;
    const std::string Text = SlotText(Slot);
    TBitmap Bitmap;
    TCanvas& C = Bitmap.Canvas();
    C.SetPenStyle(TPenStyle::psClear);
    C.SetBrushStyle(TBrushStyle::bsSolid);
    C.SetBrushColor(clWhite);
    C.SetFontName(FontName);
    C.SetFontHeight(-H);
    C.SetFontAntialias(false);
    Bitmap.SetWidth(C.TextWidth(Text));
    Bitmap.SetHeight(C.TextHeight(Text));
    C.TextOut(0, 0, Text);

    const std::int32_t W = Bitmap.Width(), Ht = Bitmap.Height();
    TInkBox Box;
    if (W <= 0 || Ht <= 0)
        return Box;
    const TInkReader IsInk{Bitmap.ScanLine(0), Bitmap.Stride()};
    const auto ColumnHasInk = [&](std::int32_t X) {
        for (std::int32_t Y = 0; Y < Ht; ++Y)
            if (IsInk(X, Y))
                return true;
        return false;
    };
    const auto RowHasInk = [&](std::int32_t Y) {
        for (std::int32_t X = 0; X < W; ++X)
            if (IsInk(X, Y))
                return true;
        return false;
    };
    // Each edge is the first column or row with ink, seen from its side; once
    // the left edge is found, every other scan stops at ink too.
    std::int32_t Left = 0;
    while (Left < W && !ColumnHasInk(Left))
        ++Left;
    if (Left == W)
        return Box;
    Box.Any = true;
    Box.Left = Left;
    Box.Right = W - 1;
    while (!ColumnHasInk(Box.Right))
        --Box.Right;
    Box.Top = 0;
    while (!RowHasInk(Box.Top))
        ++Box.Top;
    Box.Bottom = Ht - 1;
    while (!RowHasInk(Box.Bottom))
        --Box.Bottom;
    return Box;
}

void SearchFittedHeight(const std::string& F, std::int32_t W, std::int32_t H)
{
    FittedHeight = H;
    long double Ratio = 0;
    std::int32_t KnownFit = std::numeric_limits<std::int32_t>::min();
    std::int32_t KnownOverflow = std::numeric_limits<std::int32_t>::max();

    for (int Pass = 0; Pass < MaxFitPasses; ++Pass) {
        // No font is smaller than one pixel: a box too small for every height
        // ends the search at 1.
        std::int32_t Ht = std::max(1, FittedHeight);
        FittedHeight = Ht;
        std::int32_t MaxW = 0, MaxH = 0;
        for (std::int32_t S = 0; S <= DelimiterSlot; ++S) {
            const TInkBox Ink = MeasureSlot(S, F, Ht);
            // A character without ink counts as an empty box at the cell origin.
            const std::int32_t Left = Ink.Any ? Ink.Left : 0, Top = Ink.Any ? Ink.Top : 0;
            InkLeft[S] = std::min(W, Left);
            InkTop[S] = std::min(H, Top);
            InkWidth[S] = Ink.Right - Ink.Left + 1;
            InkHeight[S] = Ink.Bottom - Ink.Top + 1;
            if (!Ink.Any)
                InkWidth[S] = InkHeight[S] = 0;
            MaxW = std::max(MaxW, InkWidth[S]);
            MaxH = std::max(MaxH, InkHeight[S]);
            if (S == DelimiterSlot && MaxW < W && MaxH < H)
                KnownFit = std::max(KnownFit, Ht);
            if ((S == DelimiterSlot && MaxW > W) || MaxH > H) {
                KnownOverflow = std::min(KnownOverflow, Ht);
                break;
            }
            if (std::int64_t(W) - MaxW >= 2 && std::int64_t(H) - MaxH >= 2 && S == 0 && Ratio == 0)
                break;
        }

        if (MaxW > W || MaxH > H) {
            if (Ht == 1)
                return; // overflows even at the smallest height
            FittedHeight = --Ht;
            if (Ht == KnownFit)
                return;
        } else if (MaxW < W && MaxH < H) {
            if (Ratio == 0 && InkHeight[0] > 0) {
                // The one jump: scale so that the ink of '0' would fill the box height.
                Ratio = static_cast<long double>(Ht) / static_cast<long double>(InkHeight[0]);
                Ht = TruncToInt32(static_cast<long double>(H) * Ratio);
            } else {
                Ht = ClampToInt32(std::int64_t(Ht) + 1);
            }
            FittedHeight = Ht;
            if (Ht == KnownOverflow) {
                FittedHeight = Ht - 1;
                return;
            }
        } else {
            return; // fills the box exactly in at least one direction
        }
    }
}

} // namespace

TFitResult FitFontHeight(const std::string& Ch, const std::string& FontName, std::int32_t Width,
                         std::int32_t Height)
{
    const std::int32_t Slot = SlotOf(Ch);
    if (FontName != FitCacheFontName || Width != FitCacheWidth || Height != FitCacheHeight) {
        FitCacheFontName = FontName;
        FitCacheWidth = Width;
        FitCacheHeight = Height;
        try {
            SearchFittedHeight(FontName, Width, Height);
        } catch (...) {
            // A search that failed is no result: the next call measures again.
            FitCacheFontName.clear();
            throw;
        }
    }
    const std::size_t S = std::size_t(Slot);
    return {FittedHeight, InkLeft[S], InkTop[S], InkWidth[S], InkHeight[S]};
}

namespace {

// Sets the canvas up for the character and gives the text cell's top-left.
QPoint PlaceFontChar(const std::string& Text, TCanvas& Canvas, std::int32_t Left, std::int32_t Top,
                     std::int32_t Width, std::int32_t Height, std::uint8_t Alignment, TColor Color)
{
    const TFitResult Fit = FitFontHeight(Text, "OCRB", Width, Height);
    Canvas.SetBrushStyle(TBrushStyle::bsClear);
    Canvas.SetFontName("OCRB");
    Canvas.SetFontHeight(-Fit.Height);
    Canvas.SetFontColor(Color);
    std::int64_t X = std::int64_t(Left) - Fit.InkLeft;
    if (Alignment == 0) {
        // the ink's left edge on Left
    } else if (Alignment == 2) {
        X += std::int64_t(Width) - Fit.InkWidth;
    } else {
        X += (std::int64_t(Width) - Fit.InkWidth) / 2; // C++ division truncates toward zero
    }
    return QPoint(ClampToInt32(X), ClampToInt32(std::int64_t(Top) - Fit.InkTop));
}

} // namespace

void DrawFontChar(const std::string& Text, TCanvas& Canvas, std::int32_t Left, std::int32_t Top,
                  std::int32_t Width, std::int32_t Height, std::uint8_t Alignment, TColor Color)
{
    const QPoint At = PlaceFontChar(Text, Canvas, Left, Top, Width, Height, Alignment, Color);
    Canvas.TextOut(At.x(), At.y(), Text);
}

bool DrawFontCharIfExact(const std::string& Text, TCanvas& Canvas, std::int32_t Left, std::int32_t Top,
                         std::int32_t Width, std::int32_t Height, std::uint8_t Alignment, TColor Color,
                         const QRect& Inside)
{
    const QPoint At = PlaceFontChar(Text, Canvas, Left, Top, Width, Height, Alignment, Color);
    return Canvas.TextOutIfExact(At.x(), At.y(), Text, Inside.left(), Inside.top(), Inside.right() + 1,
                                 Inside.bottom() + 1);
}

void DrawOcrBChar(const std::string& Text, TCanvas& Canvas, std::int32_t Left, std::int32_t Top,
                  std::int32_t Width, std::int32_t Height, std::uint8_t Alignment, TColor Color)
{
    if (OcrBFontLoaded) {
        DrawFontChar(Text.substr(0, 1), Canvas, Left, Top, Width, Height, Alignment, Color);
        return;
    }
    if (Text.empty())
        return;
    using TPainter = void (*)(TCanvas&, std::int32_t, std::int32_t, std::int32_t, std::int32_t, TColor);
    static constexpr TPainter Digits[] = {DrawOcrBGlyph0, DrawOcrBGlyph1, DrawOcrBGlyph2, DrawOcrBGlyph3,
                                          DrawOcrBGlyph4, DrawOcrBGlyph5, DrawOcrBGlyph6, DrawOcrBGlyph7,
                                          DrawOcrBGlyph8, DrawOcrBGlyph9};
    const char Ch = Text[0];
    if (Ch >= '0' && Ch <= '9')
        Digits[Ch - '0'](Canvas, Left, Top, Width, Height, Color);
    else if (Ch == '>')
        DrawOcrBGlyphDelimiter(Canvas, Left, Top, Width, Height, Color);
}

} // namespace WEQOcrB
