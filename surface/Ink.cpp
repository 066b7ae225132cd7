// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "surface/Ink_p.h"

#include "surface/Canvas_p.h"

#include <QGlyphRun>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// The ink box of a W x H cell at Bits, rows Stride bytes apart, white being
// no ink; TPixel is the image's pixel type.
template <class TPixel> TInkBox InkBoxOf(const uchar* Bits, qsizetype Stride, int W, int H, TPixel White)
{
    const auto Row = [Bits, Stride](int Y) { return reinterpret_cast<const TPixel*>(Bits + Y * Stride); };
    TInkBox Box;
    const auto IsInk = [&Row, White](int X, int Y) { return Row(Y)[X] != White; };
    // Rows are contiguous: find the top and bottom rows first, then scan the
    // columns only between them.
    thread_local std::vector<TPixel> Blank;
    Blank.assign(std::size_t(W), White);
    const auto RowHasInk = [&](int Y) { return std::memcmp(Row(Y), Blank.data(), std::size_t(W) * sizeof(TPixel)) != 0; };
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

TInkBox InkBoxOf(const QImage& Image, int W, int H)
{
    return Image.depth() == 32 ? InkBoxOf<QRgb>(Image.constBits(), Image.bytesPerLine(), W, H, 0xFFFFFFFFu)
                               : InkBoxOf<uchar>(Image.constBits(), Image.bytesPerLine(), W, H, 0xFF);
}

// The thread's bitmap of a format, at least W x H: a fitting measures a few
// dozen characters of about the same size, and fresh memory costs more than
// the drawing; without Keep, made anew each time. Made white when made.
QImage& ThreadBitmap(QImage (&Bitmaps)[2], bool Wide, int W, int H, bool Keep)
{
    // Small text on one byte per pixel: the ink of black text without
    // antialiasing is the same whatever the depth, and a quarter of the
    // memory is a quarter of the time. Outline glyphs on 8-bit images Qt
    // fills on a pool of threads, whose hand-over costs more than the fill,
    // while 32-bit images take its single-threaded fast path.
    const QImage::Format Format = Wide ? QImage::Format_RGB32 : QImage::Format_Grayscale8;
    QImage& Bitmap = Bitmaps[Wide];
    if (!Keep)
        Bitmap = QImage();
    if (Bitmap.width() < W || Bitmap.height() < H) {
        Bitmap = QImage(std::max(W, Bitmap.width()), std::max(H, Bitmap.height()), Format);
        if (Bitmap.isNull())
            throw Exception("Out of memory for a bitmap");
        Bitmap.fill(Qt::white);
    }
    return Bitmap;
}

} // namespace

namespace {

QFont FaceOf(const std::string& FontName, std::int32_t PixelHeight)
{
    QFont Font;
    Font.setFamily(Latin1(FontName));
    Font.setPixelSize(PixelHeight);
    Font.setStyleStrategy(QFont::NoAntialias);
    return Font;
}

} // namespace

TInkMeter::TInkMeter(const std::string& FontName, std::int32_t PixelHeight)
    : Font(FaceOf(FontName, PixelHeight)), Metrics(Font), Raw(QRawFont::fromFont(Font)), PixelHeight(PixelHeight)
{
}

// The one glyph of the face that draws S, or none where S is more than one
// character or the face lacks it (the text then falls back to other faces).
QList<quint32> TInkMeter::GlyphOf(const QString& S) const
{
    QList<quint32> Glyphs;
    if (S.size() == 1 && Raw.isValid() && TFastPaths::InkGlyphs)
        Glyphs = Raw.glyphIndexesForString(S);
    if (Glyphs.size() != 1 || Glyphs[0] == 0)
        Glyphs.clear();
    return Glyphs;
}

bool TInkMeter::ByGlyph(const std::string& Text) const { return !GlyphOf(Latin1(Text)).isEmpty(); }

TInkBox TInkMeter::Measure(const std::string& Text) const
{
    const QString S = Latin1(Text);
    // One character the face has is its glyph at its advance; anything else is laid out.
    const QList<quint32> Glyphs = GlyphOf(S);
    const bool OneGlyph = !Glyphs.isEmpty();
    const bool Keep = TFastPaths::ThreadBuffers;
    const int W = OneGlyph ? Metrics.horizontalAdvance(S[0]) : Metrics.horizontalAdvance(S), H = Metrics.height();
    if (W <= 0 || H <= 0)
        return {};
    if (std::int64_t(W) * H > TBitmap::MaxPixels)
        throw Exception("Bitmap of " + std::to_string(W) + " x " + std::to_string(H) + " pixels is too large");
    const bool Wide = PixelHeight >= OutlineGlyphPixelSize;
    if (!OneGlyph) {
        // On an image of the cell's size exactly: what lies outside the cell
        // is not drawn, nor measured.
        thread_local QImage Bitmaps[2];
        QImage& Bitmap = ThreadBitmap(Bitmaps, Wide, W, H, Keep);
        QImage Image(Bitmap.bits(), W, H, Bitmap.bytesPerLine(), Bitmap.format());
        Image.fill(Qt::white);
        {
            QPainter P(&Image);
            P.setFont(Font);
            P.setPen(Qt::black);
            P.drawText(0, Metrics.ascent(), S);
        }
        return InkBoxOf(Image, W, H);
    }
    // The glyph on a sheet kept white between uses, clipped to the cell, by
    // a painter that stays on the sheet from one character to the next:
    // beginning and ending one for each cost a quarter of a fitting. Only
    // the ink drawn is made white again.
    struct TGlyphSheets {
        QImage Sheets[2];
        QPainter Painter; // after the sheets: it ends before they go
        int On = -1;      // the sheet it is on
    };
    thread_local TGlyphSheets G;
    const bool Grows = G.Sheets[Wide].width() < W || G.Sheets[Wide].height() < H;
    if (G.On >= 0 && (G.On != int(Wide) || Grows || !Keep)) {
        G.Painter.end();
        G.On = -1;
    }
    QImage& Sheet = ThreadBitmap(G.Sheets, Wide, W, H, Keep);
    if (G.On < 0) {
        if (!G.Painter.begin(&Sheet))
            throw Exception("Cannot paint on a bitmap");
        G.Painter.setPen(Qt::black);
        G.On = int(Wide);
    }
    G.Painter.setClipRect(0, 0, W, H);
    QGlyphRun Run;
    Run.setRawFont(Raw);
    Run.setGlyphIndexes(Glyphs);
    Run.setPositions({QPointF(0, 0)});
    G.Painter.drawGlyphRun(QPointF(0, Metrics.ascent()), Run);
    TInkBox Box;
    try {
        Box = InkBoxOf(Sheet, W, H);
    } catch (...) {
        // Whatever ink is left would count in every later measurement.
        G.Painter.end();
        G.On = -1;
        Sheet.fill(Qt::white);
        throw;
    }
    if (Box.Any) {
        // Row addresses from one pointer: each scanLine call checks whether the image must detach.
        const std::size_t Depth = Wide ? 4 : 1, Stride = std::size_t(Sheet.bytesPerLine());
        uchar* const Bits = Sheet.bits() + std::size_t(Box.Left) * Depth;
        for (int Y = Box.Top; Y <= Box.Bottom; ++Y)
            std::memset(Bits + std::size_t(Y) * Stride, 0xFF, std::size_t(Box.Right - Box.Left + 1) * Depth);
    }
    return Box;
}
