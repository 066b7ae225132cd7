// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "surface/Ink_p.h"

#include "surface/Canvas_p.h"

#include <QGlyphRun>

#include <algorithm>
#include <cmath>
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

// The ink box of the W x H cell at column X of Image.
TInkBox InkBoxOf(const QImage& Image, int X, int W, int H)
{
    return Image.depth() == 32
               ? InkBoxOf<QRgb>(Image.constBits() + std::size_t(X) * 4, Image.bytesPerLine(), W, H, 0xFFFFFFFFu)
               : InkBoxOf<uchar>(Image.constBits() + X, Image.bytesPerLine(), W, H, 0xFF);
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

// Glyphs are drawn on a sheet the thread keeps white between uses, clipped
// to their cells, by a painter that stays on the sheet from one drawing to
// the next: beginning and ending one for each character cost a quarter of a
// fitting. Only where ink was drawn is made white again.
struct TGlyphSheets {
    QImage Sheets[2];
    QPainter Painter; // after the sheets: it ends before they go
    int On = -1;      // the sheet it is on

    // Run drawn at the baseline Ascent on the sheet of a depth, at least
    // W x H, clipped to W x H; then Scan(Sheet), and the ink's rectangle
    // made white. Whatever ink were left would count in every later
    // measurement: should Scan raise, the whole sheet is made white.
    template <class TScan>
    void Draw(bool Wide, int W, int H, bool Keep, int Ascent, const QGlyphRun& Run, TScan Scan)
    {
        const bool Grows = Sheets[Wide].width() < W || Sheets[Wide].height() < H;
        if (On >= 0 && (On != int(Wide) || Grows || !Keep)) {
            Painter.end();
            On = -1;
        }
        QImage& Sheet = ThreadBitmap(Sheets, Wide, W, H, Keep);
        if (On < 0) {
            if (!Painter.begin(&Sheet))
                throw Exception("Cannot paint on a bitmap");
            Painter.setPen(Qt::black);
            On = int(Wide);
        }
        Painter.setClipRect(0, 0, W, H);
        Painter.drawGlyphRun(QPointF(0, Ascent), Run);
        TInkBox Ink;
        try {
            Ink = Scan(Sheet);
        } catch (...) {
            Painter.end();
            On = -1;
            Sheet.fill(Qt::white);
            throw;
        }
        if (!Ink.Any)
            return;
        // Row addresses from one pointer: each scanLine call checks whether the image must detach.
        const std::size_t Depth = Wide ? 4 : 1, Stride = std::size_t(Sheet.bytesPerLine());
        uchar* const Bits = Sheet.bits() + std::size_t(Ink.Left) * Depth;
        for (int Y = Ink.Top; Y <= Ink.Bottom; ++Y)
            std::memset(Bits + std::size_t(Y) * Stride, 0xFF, std::size_t(Ink.Right - Ink.Left + 1) * Depth);
    }
};

TGlyphSheets& GlyphSheets()
{
    thread_local TGlyphSheets Sheets;
    return Sheets;
}

QFont FaceOf(const std::string& FontName, std::int32_t PixelHeight)
{
    QFont Font;
    Font.setFamily(Latin1(FontName));
    Font.setPixelSize(PixelHeight);
    Font.setStyleStrategy(QFont::NoAntialias);
    return Font;
}

} // namespace

// The columns with ink come from one pass over whole rows (a pixel is white
// exactly when all its bits are set, so a column's AND tells), then each
// cell's top and bottom rows are looked for only between its ink's columns.
void InkBoxesOf(const QImage& Sheet, std::int32_t Total, std::int32_t H, const std::vector<TInkCell>& Cells,
                std::vector<TInkBox>& Boxes)
{
    const uchar* const Bits = Sheet.constBits();
    const qsizetype Stride = Sheet.bytesPerLine();
    std::vector<uchar> Columns(std::size_t(Total), 0xFF);
    uchar* const Column = Columns.data();
    for (std::int32_t Y = 0; Y < H; ++Y) {
        const uchar* const Row = Bits + Y * Stride;
        for (std::int32_t X = 0; X < Total; ++X)
            Column[X] &= Row[X];
    }
    Boxes.assign(Cells.size(), TInkBox{});
    for (std::size_t I = 0; I < Cells.size(); ++I) {
        const TInkCell& C = Cells[I];
        std::int32_t Left = C.X, Right = C.X + C.W - 1;
        while (Left <= Right && Column[Left] == 0xFF)
            ++Left;
        if (Left > Right)
            continue;
        while (Column[Right] == 0xFF)
            --Right;
        const auto RowHasInk = [&](std::int32_t Y) {
            const uchar* const Row = Bits + Y * Stride;
            uchar All = 0xFF;
            for (std::int32_t X = Left; X <= Right; ++X)
                All &= Row[X];
            return All != 0xFF;
        };
        std::int32_t Top = 0, Bottom = H - 1;
        while (!RowHasInk(Top))
            ++Top;
        while (!RowHasInk(Bottom))
            --Bottom;
        Boxes[I] = {true, Left - C.X, Right - C.X, Top, Bottom};
    }
}

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

bool TInkMeter::DrawsTogether() const
{
    return TFastPaths::InkGlyphs && TFastPaths::InkTogether && TFastPaths::ThreadBuffers && Raw.isValid() && Metrics.height() > 0 &&
           PixelHeight < OutlineGlyphPixelSize;
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
        return InkBoxOf(Image, 0, W, H);
    }
    QGlyphRun Run;
    Run.setRawFont(Raw);
    Run.setGlyphIndexes(Glyphs);
    Run.setPositions({QPointF(0, 0)});
    TInkBox Box;
    GlyphSheets().Draw(Wide, W, H, Keep, Metrics.ascent(), Run, [&](const QImage& Sheet) {
        return Box = InkBoxOf(Sheet, 0, W, H);
    });
    return Box;
}

std::vector<TInkBox> TInkMeter::MeasureEach(const std::string& Chars) const
{
    std::vector<TInkBox> Boxes(Chars.size());
    // The face's glyphs in cells side by side, each as far from the next
    // cell as its ink may reach beyond its own (its bounding box, and a
    // margin for the rasteriser's rounding): what a glyph draws outside its
    // cell falls where no cell is, as if clipped. Large glyphs (outlines
    // Qt fills) and anything that is not one glyph are measured alone.
    const int H = Metrics.height();
    const bool Together = DrawsTogether();
    const int Margin = 2 + H / 8;
    std::vector<TInkCell> Cells;
    std::vector<std::size_t> CharOf; // each cell's place in Chars
    QList<quint32> Glyphs;
    QList<QPointF> Positions;
    const auto Alone = [&](std::size_t I) { Boxes[I] = Measure(std::string(1, Chars[I])); };
    Cells.reserve(Chars.size());
    CharOf.reserve(Chars.size());
    Glyphs.reserve(qsizetype(Chars.size()));
    Positions.reserve(qsizetype(Chars.size()));
    // The glyphs of all the characters in one look-up, a Latin-1 character
    // mapping to one; a character the face lacks (glyph 0) is measured alone.
    QList<quint32> Indexes = Together ? Raw.glyphIndexesForString(Latin1(Chars)) : QList<quint32>();
    if (Indexes.size() != qsizetype(Chars.size()))
        Indexes.fill(0, qsizetype(Chars.size()));
    std::int64_t X = 0, After = 0;
    for (std::size_t I = 0; I < Chars.size(); ++I) {
        const quint32 Glyph = Indexes[qsizetype(I)];
        const int W = Glyph == 0 ? 0 : Metrics.horizontalAdvance(QChar(uchar(Chars[I])));
        const QRectF Ink = Glyph == 0 ? QRectF() : Raw.boundingRect(Glyph);
        const auto Sane = [H](qreal V) { return std::isfinite(V) && std::abs(V) <= 4.0 * H; };
        if (W <= 0 || !Sane(Ink.left()) || !Sane(Ink.right())) {
            Alone(I);
            continue;
        }
        X += After + std::max<std::int64_t>(0, Margin - std::int64_t(std::floor(Ink.left())));
        Cells.push_back({std::int32_t(X), W});
        CharOf.push_back(I);
        Glyphs.append(Glyph);
        Positions.append(QPointF(qreal(X), 0));
        X += W;
        After = std::max<std::int64_t>(0, std::int64_t(std::ceil(Ink.right())) + Margin - W);
    }
    const std::int64_t Total = X + After;
    if (Cells.empty())
        return Boxes;
    if (Total * H > TBitmap::MaxPixels) {
        for (const std::size_t I : CharOf)
            Alone(I);
        return Boxes;
    }
    QGlyphRun Run;
    Run.setRawFont(Raw);
    Run.setGlyphIndexes(Glyphs);
    Run.setPositions(Positions);
    GlyphSheets().Draw(false, int(Total), H, true, Metrics.ascent(), Run, [&](const QImage& Sheet) {
        std::vector<TInkBox> Found;
        InkBoxesOf(Sheet, std::int32_t(Total), H, Cells, Found);
        for (std::size_t C = 0; C < Cells.size(); ++C)
            Boxes[CharOf[C]] = Found[C];
        // The gaps too: ink a glyph left beyond its cell.
        TInkBox Band;
        Band.Any = true;
        Band.Left = 0, Band.Right = int(Total) - 1, Band.Top = 0, Band.Bottom = H - 1;
        return Band;
    });
    return Boxes;
}
