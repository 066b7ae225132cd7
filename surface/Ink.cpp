#include "surface/Ink.h"

#include "surface/Canvas_p.h"

#include <algorithm>
#include <cstring>
#include <vector>

// One byte per pixel: the ink of black text without antialiasing is the same
// whatever the depth, and a quarter of the memory is a quarter of the time.
TInkBox MeasureTextInk(const std::string& FontName, std::int32_t PixelHeight, const std::string& Text)
{
    QFont Font;
    Font.setFamily(Latin1(FontName));
    Font.setPixelSize(PixelHeight);
    Font.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics Fm(Font);
    const QString S = Latin1(Text);
    const int W = Fm.horizontalAdvance(S), H = Fm.height();
    TInkBox Box;
    if (W <= 0 || H <= 0)
        return Box;
    if (std::int64_t(W) * H > TBitmap::MaxPixels)
        throw Exception("Bitmap of " + std::to_string(W) + " x " + std::to_string(H) + " pixels is too large");
    // One bitmap per thread, reused: a fitting measures a few dozen characters
    // of about the same size, and fresh memory costs more than the drawing.
    thread_local QImage Bitmap;
    if (Bitmap.width() < W || Bitmap.height() < H)
        Bitmap = QImage(std::max(W, Bitmap.width()), std::max(H, Bitmap.height()), QImage::Format_Grayscale8);
    if (Bitmap.isNull())
        throw Exception("Out of memory for a bitmap");
    // The cell's size exactly: what lies outside the cell is not measured.
    QImage Image(Bitmap.bits(), W, H, Bitmap.bytesPerLine(), QImage::Format_Grayscale8);
    Image.fill(0xFF);
    {
        QPainter P(&Image);
        P.setFont(Font);
        P.setPen(Qt::black);
        P.drawText(0, Fm.ascent(), S);
    }
    const auto IsInk = [&Image](int X, int Y) { return Image.constScanLine(Y)[X] != 0xFF; };
    // Rows are contiguous: find the top and bottom rows first, then scan the
    // columns only between them.
    const std::vector<uchar> White(std::size_t(W), 0xFF);
    const auto RowHasInk = [&](int Y) { return std::memcmp(Image.constScanLine(Y), White.data(), std::size_t(W)) != 0; };
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
