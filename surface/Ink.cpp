// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "surface/Ink_p.h"

#include "surface/Canvas_p.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// The ink box of what was drawn on Image, white being no ink; Pixel is the
// image's pixel type.
template <class TPixel> TInkBox InkBoxOf(const QImage& Image, TPixel White)
{
    const int W = Image.width(), H = Image.height();
    TInkBox Box;
    const auto IsInk = [&Image, White](int X, int Y) {
        return reinterpret_cast<const TPixel*>(Image.constScanLine(Y))[X] != White;
    };
    // Rows are contiguous: find the top and bottom rows first, then scan the
    // columns only between them.
    const std::vector<TPixel> Blank(std::size_t(W), White);
    const auto RowHasInk = [&](int Y) {
        return std::memcmp(Image.constScanLine(Y), Blank.data(), std::size_t(W) * sizeof(TPixel)) != 0;
    };
    int Top = 0;
    while (Top < H && !RowHasInk(Top))
        ++Top;
    if (Top == H)
        return Box;
    int Bottom = H - 1;
    while (!RowHasInk(Bottom))
        --Bottom;
    const auto ColumnHasInk = [&](int X) {
        for (int Y = Top; Y <= Bottom; ++Y)
            if (IsInk(X, Y))
                return true;
        return false;
    };
    int Left = 0;
    while (!ColumnHasInk(Left))
        ++Left;
    int Right = W - 1;
    while (!ColumnHasInk(Right))
        --Right;
    Box.Any = true;
    Box.Left = Left;
    Box.Right = Right;
    Box.Top = Top;
    Box.Bottom = Bottom;
    return Box;
}

} // namespace

// Small text on one byte per pixel: the ink of black text without
// antialiasing is the same whatever the depth, and a quarter of the memory is
// a quarter of the time.
TInkBox MeasureTextInk(const std::string& FontName, std::int32_t PixelHeight, const std::string& Text)
{
    QFont Font;
    Font.setFamily(Latin1(FontName));
    Font.setPixelSize(PixelHeight);
    Font.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics Fm(Font);
    const QString S = Latin1(Text);
    const int W = Fm.horizontalAdvance(S), H = Fm.height();
    if (W <= 0 || H <= 0)
        return {};
    if (std::int64_t(W) * H > TBitmap::MaxPixels)
        throw Exception("Bitmap of " + std::to_string(W) + " x " + std::to_string(H) + " pixels is too large");
    // Outline glyphs on 8-bit images Qt fills on a pool of threads, whose
    // hand-over costs more than the fill, while 32-bit images take its
    // single-threaded fast path.
    const bool Wide = PixelHeight >= OutlineGlyphPixelSize;
    const QImage::Format Format = Wide ? QImage::Format_RGB32 : QImage::Format_Grayscale8;
    // One bitmap per thread and format, reused: a fitting measures a few dozen
    // characters of about the same size, and fresh memory costs more than the drawing.
    thread_local QImage Bitmaps[2];
    QImage& Bitmap = Bitmaps[Wide];
    if (!TFastPaths::ThreadBuffers)
        Bitmap = QImage();
    if (Bitmap.width() < W || Bitmap.height() < H)
        Bitmap = QImage(std::max(W, Bitmap.width()), std::max(H, Bitmap.height()), Format);
    if (Bitmap.isNull())
        throw Exception("Out of memory for a bitmap");
    // The cell's size exactly: what lies outside the cell is not measured.
    QImage Image(Bitmap.bits(), W, H, Bitmap.bytesPerLine(), Format);
    Image.fill(Qt::white);
    {
        QPainter P(&Image);
        P.setFont(Font);
        P.setPen(Qt::black);
        P.drawText(0, Fm.ascent(), S);
    }
    return Wide ? InkBoxOf<QRgb>(Image, 0xFFFFFFFFu) : InkBoxOf<uchar>(Image, 0xFF);
}
