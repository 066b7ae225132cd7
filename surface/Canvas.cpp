// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "surface/Canvas_p.h"

#include <QPaintEngine>
#include <QPainterPath>
#include <QPoint>

#include <algorithm>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
const bool HasAvx2 = __builtin_cpu_supports("avx2");
#endif

// The library's memcpy moves rows of a few kilobytes at two thirds of the
// speed of plain vector stores here, and costs more than the copy on the
// short rows of a glyph: rows are copied with those stores instead, 32 bytes
// at a time where the processor can, the last store of a row overlapping the
// one before it rather than ending in single pixels.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
__attribute__((target("avx2"))) inline void Move8(const std::uint32_t* From, std::uint32_t* To)
{
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(To), _mm256_loadu_si256(reinterpret_cast<const __m256i*>(From)));
}

__attribute__((target("avx2"))) void CopyPixelRectWide(const std::uint32_t* From, std::ptrdiff_t FromStride,
                                                       std::size_t Width, std::size_t Height, std::uint32_t* To,
                                                       std::ptrdiff_t ToStride)
{
    for (; Height > 0; --Height, From += FromStride, To += ToStride) {
        std::size_t I = 0;
        for (; I + 16 <= Width; I += 16) {
            Move8(From + I, To + I);
            Move8(From + I + 8, To + I + 8);
        }
        if (I + 8 <= Width) {
            Move8(From + I, To + I);
            I += 8;
        }
        if (I < Width)
            Move8(From + Width - 8, To + Width - 8);
    }
}
#endif

} // namespace

void CopyPixelRect(const std::uint32_t* From, std::ptrdiff_t FromStride, std::size_t Width, std::size_t Height,
                   std::uint32_t* To, std::ptrdiff_t ToStride)
{
    // One row repeated down rows that follow each other in memory: the first
    // row, then blocks of the rows already written copied after them. The C
    // library copies that much with string moves here (glibc on x86-64),
    // which write whole cache lines without reading them first: a fill's
    // speed, where row by row stores are a third slower. Blocks stay small
    // enough to be read from the nearest cache.
    if (FromStride == 0 && ToStride == std::ptrdiff_t(Width) && Height > 1 && TFastPaths::BlockCopy) {
        constexpr std::size_t BlockBytes = 24 * 1024;
        const std::size_t RowBytes = Width * sizeof *To;
        const std::size_t MostRows = std::max<std::size_t>(1, BlockBytes / std::max<std::size_t>(1, RowBytes));
        std::memcpy(To, From, RowBytes);
        for (std::size_t Done = 1; Done < Height;) {
            const std::size_t Rows = std::min({Done, MostRows, Height - Done});
            std::memcpy(To + Done * Width, To, Rows * RowBytes);
            Done += Rows;
        }
        return;
    }
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    if (Width >= 8 && HasAvx2 && TFastPaths::VectorCopy) {
        CopyPixelRectWide(From, FromStride, Width, Height, To, ToStride);
        return;
    }
#endif
    for (; Height > 0; --Height, From += FromStride, To += ToStride)
        std::memcpy(To, From, Width * sizeof *To);
}

void TCanvas::TState::Begin()
{
    Painter.reset();
    if (!Device)
        return;
    if (Device->devType() == QInternal::Image && static_cast<QImage*>(Device)->isNull())
        return;
    Painter.emplace();
    if (!Painter->begin(Device)) {
        Painter.reset();
        return;
    }
    Painter->setRenderHint(QPainter::Antialiasing, false);
    FindRaster();
}

void TCanvas::TState::FindRaster()
{
    Raster = nullptr;
    if (!TFastPaths::DirectPixels)
        return;
    QPaintEngine* Engine = Painter->paintEngine();
    if (!Engine || Engine->type() != QPaintEngine::Raster || !Engine->paintDevice() ||
        Engine->paintDevice()->devType() != QInternal::Image)
        return;
    QImage* Image = static_cast<QImage*>(Engine->paintDevice());
    const QTransform T = Painter->deviceTransform();
    const bool WholePixels = T.type() <= QTransform::TxTranslate && T.dx() == qRound(T.dx()) && T.dy() == qRound(T.dy());
    const QImage::Format F = Image->format();
    // The device transform already holds any device pixel ratio.
    if (!WholePixels || Image->isNull() ||
        (F != QImage::Format_RGB32 && F != QImage::Format_ARGB32_Premultiplied && F != QImage::Format_ARGB32))
        return;
    // A widget's painter may reach beyond the widget, into what other widgets
    // show: its pixels are only written directly within the region that
    // SetPaintRegion names.
    if (Device->devType() == QInternal::Widget && !PaintRegionKnown)
        return;
    Raster = Image;
    RasterOffset = QPoint(qRound(T.dx()), qRound(T.dy()));
    RasterClip = Engine->systemClip();
    if (PaintRegionKnown)
        RasterClip = RasterClip.isEmpty() ? PaintRegion.translated(RasterOffset)
                                          : RasterClip & PaintRegion.translated(RasterOffset);
    if (PaintRegionKnown && RasterClip.isEmpty())
        Raster = nullptr;
}

void TCanvas::TState::FillSolid(const QRect& Rect, const QColor& Color)
{
    if (!Rect.isEmpty())
        Painter->fillRect(Rect, Color);
}

const QFont& TCanvas::TState::CurrentFont()
{
    if (!Font) {
        QFont F;
        if (!FontName.empty())
            F.setFamily(Latin1(FontName));
        if (FontHeight != 0)
            F.setPixelSize(FontPixelSize());
        F.setStyleStrategy(FontAntialias ? QFont::PreferDefault : QFont::NoAntialias);
        Font = F;
    }
    return *Font;
}

bool TCanvasRaster::DirectPixels(const TCanvas& Canvas)
{
    const auto& d = Canvas.d;
    return d->Raster && (d->RasterClip.isEmpty() || d->RasterClip.rectCount() == 1);
}

void TCanvasRaster::CopyRows(TCanvas& Canvas, std::int32_t Top, std::int32_t Bottom, const std::uint32_t* Row,
                             std::int32_t Width)
{
    const auto& d = Canvas.d;
    d->Active();
    if (!DirectPixels(Canvas))
        throw Exception("Canvas has no direct pixels");
    QRect OnImage = QRect(QPoint(0, Top), QPoint(Width - 1, Bottom - 1)).translated(d->RasterOffset) & d->Raster->rect();
    if (!d->RasterClip.isEmpty())
        OnImage &= d->RasterClip.boundingRect();
    if (OnImage.isEmpty())
        return;
    const std::ptrdiff_t Stride = d->Raster->bytesPerLine() / 4;
    const std::uint32_t* Source = Row + (OnImage.left() - d->RasterOffset.x());
    std::uint32_t* Target = reinterpret_cast<std::uint32_t*>(d->Raster->bits()) + OnImage.top() * Stride + OnImage.left();
    CopyPixelRect(Source, 0, std::size_t(OnImage.width()), std::size_t(OnImage.height()), Target, Stride);
}

bool TCanvasRaster::TextOutIfExact(TCanvas& Canvas, TTextCache& Cache, std::int32_t X, std::int32_t Y,
                                   const std::string& Text, const QRect& Inside, const QRect* Known)
{
    TCanvas::TState& d = *Canvas.d;
    d.Active();
    if (d.BrushStyle != TBrushStyle::bsClear)
        return false;
    return d.DrawCachedText(Cache, X, Y, Text, &Inside, Known);
}

TCanvas::TCanvas(QPaintDevice* device) : d(std::make_unique<TState>())
{
    d->Device = device;
    d->Begin();
}

TCanvas::~TCanvas() = default;

TColor TCanvas::BrushColor() const { return d->BrushColor; }
void TCanvas::SetBrushColor(TColor Color)
{
    d->BrushColor = Color;
    d->BrushStyle = TBrushStyle::bsSolid;
}
TBrushStyle TCanvas::BrushStyle() const { return d->BrushStyle; }
void TCanvas::SetBrushStyle(TBrushStyle Style) { d->BrushStyle = Style; }

TColor TCanvas::PenColor() const { return d->PenColor; }
void TCanvas::SetPenColor(TColor Color) { d->PenColor = Color; }
TPenStyle TCanvas::PenStyle() const { return d->PenStyle; }
void TCanvas::SetPenStyle(TPenStyle Style) { d->PenStyle = Style; }
std::int32_t TCanvas::PenWidth() const { return d->PenWidth; }
void TCanvas::SetPenWidth(std::int32_t Width) { d->PenWidth = Width; }

std::string TCanvas::FontName() const { return d->FontName; }
void TCanvas::SetFontName(const std::string& Name)
{
    if (Name != d->FontName) {
        d->FontName = Name;
        d->Font.reset();
    }
}
std::int32_t TCanvas::FontHeight() const { return d->FontHeight; }
void TCanvas::SetFontHeight(std::int32_t Height)
{
    if (Height != d->FontHeight) {
        d->FontHeight = Height;
        d->Font.reset();
    }
}
TColor TCanvas::FontColor() const { return d->FontColor; }
void TCanvas::SetFontColor(TColor Color) { d->FontColor = Color; }
bool TCanvas::FontAntialias() const { return d->FontAntialias; }
void TCanvas::SetFontAntialias(bool On)
{
    if (On != d->FontAntialias) {
        d->FontAntialias = On;
        d->Font.reset();
    }
}

void TCanvas::FillRect(std::int32_t Left, std::int32_t Top, std::int32_t Right, std::int32_t Bottom)
{
    d->Active();
    if (d->BrushStyle == TBrushStyle::bsClear || Right <= Left || Bottom <= Top)
        return;
    // 64-bit extents: Right - Left may exceed the 32-bit range.
    const std::int64_t W = std::int64_t(Right) - Left;
    const std::int64_t H = std::int64_t(Bottom) - Top;
    d->FillSolid(QRect(Left, Top, int(std::min<std::int64_t>(W, INT32_MAX)), int(std::min<std::int64_t>(H, INT32_MAX))),
                 ToQColor(d->BrushColor));
}

void TCanvas::Rectangle(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2)
{
    d->Active();
    if (X2 < X1)
        std::swap(X1, X2);
    if (Y2 < Y1)
        std::swap(Y1, Y2);
    const std::int64_t W = std::int64_t(X2) - X1;
    const std::int64_t H = std::int64_t(Y2) - Y1;
    auto Fill = [this](std::int64_t L, std::int64_t T, std::int64_t Wd, std::int64_t Ht, const QColor& C) {
        if (Wd > 0 && Ht > 0)
            d->FillSolid(QRect(int(L), int(T), int(std::min<std::int64_t>(Wd, INT32_MAX)),
                               int(std::min<std::int64_t>(Ht, INT32_MAX))), C);
    };
    if (d->PenStyle == TPenStyle::psClear) {
        // Without a pen the filled area is one pixel smaller on the right and bottom.
        if (d->BrushStyle == TBrushStyle::bsSolid)
            Fill(X1, Y1, W - 1, H - 1, ToQColor(d->BrushColor));
        return;
    }
    const std::int64_t Pw = std::max<std::int32_t>(1, d->PenWidth);
    if (d->BrushStyle == TBrushStyle::bsSolid)
        Fill(X1 + Pw, Y1 + Pw, W - 2 * Pw, H - 2 * Pw, ToQColor(d->BrushColor));
    const QColor Pen = ToQColor(d->PenColor);
    Fill(X1, Y1, W, std::min(Pw, H), Pen);                       // top
    Fill(X1, Y2 - std::min(Pw, H), W, std::min(Pw, H), Pen);     // bottom
    Fill(X1, Y1, std::min(Pw, W), H, Pen);                       // left
    Fill(X2 - std::min(Pw, W), Y1, std::min(Pw, W), H, Pen);     // right
}

void TCanvas::TextOut(std::int32_t X, std::int32_t Y, const std::string& Text)
{
    QPainter& P = d->Active();
    const QString S = Latin1(Text);
    P.setFont(d->CurrentFont());
    const QFontMetrics Fm(d->CurrentFont());
    if (d->BrushStyle == TBrushStyle::bsSolid)
        d->FillSolid(QRect(X, Y, Fm.horizontalAdvance(S), Fm.height()), ToQColor(d->BrushColor));
    if (d->DrawCachedText(TTextCache::Shared(), X, Y, Text) || d->DrawLargeText(X, Y, S))
        return;
    P.setPen(ToQColor(d->FontColor));
    P.drawText(X, Y + Fm.ascent(), S);
}

// Extents need no surface: the fonts are sized in pixels, whatever the device.
std::int32_t TCanvas::TextWidth(const std::string& Text)
{
    return QFontMetrics(d->CurrentFont()).horizontalAdvance(Latin1(Text));
}

std::int32_t TCanvas::TextHeight(const std::string& Text)
{
    (void)Text; // the cell height is the font's, whatever the text
    return QFontMetrics(d->CurrentFont()).height();
}

TColor TCanvas::Pixel(std::int32_t X, std::int32_t Y)
{
    d->Active();
    if (d->Device->devType() != QInternal::Image)
        throw Exception("Canvas pixels cannot be read from this device");
    const QImage* Image = static_cast<const QImage*>(d->Device);
    if (X < 0 || Y < 0 || X >= Image->width() || Y >= Image->height())
        return 0xFFFFFFFFu;
    const QRgb P = Image->pixel(X, Y);
    return TColor(qRed(P)) | (TColor(qGreen(P)) << 8) | (TColor(qBlue(P)) << 16);
}

void TCanvas::PolyPolygon(const QPoint* Points, const std::int32_t* Counts, std::int32_t ContourCount)
{
    QPainter& P = d->Active();
    QPainterPath Path;
    Path.setFillRule(Qt::WindingFill);
    const QPoint* Pt = Points;
    for (std::int32_t C = 0; C < ContourCount; ++C) {
        const std::int32_t N = Counts[C];
        if (N <= 0)
            continue;
        Path.moveTo(Pt[0]);
        for (std::int32_t I = 1; I < N; ++I)
            Path.lineTo(Pt[I]);
        Path.closeSubpath();
        Pt += N;
    }
    if (d->PenStyle == TPenStyle::psClear)
        P.setPen(Qt::NoPen);
    else
        P.setPen(QPen(ToQColor(d->PenColor), d->PenWidth <= 1 ? 0 : d->PenWidth));
    if (d->BrushStyle == TBrushStyle::bsClear)
        P.setBrush(Qt::NoBrush);
    else
        P.setBrush(ToQColor(d->BrushColor));
    P.drawPath(Path);
}

QPaintDevice* TCanvas::Device() const { return d->Device; }

double TCanvas::DevicePixelRatio() const
{
    if (!d->Painter || !d->Painter->isActive())
        return d->Device ? std::max(1.0, d->Device->devicePixelRatioF()) : 1.0;
    // What the painter really maps a unit to, without our own transform: the
    // ratio of the device painted on, which a widget rendered into an image or
    // a scaled screen sets, not the ratio the widget would have on its screen.
    const QTransform ToDevice = d->Painter->worldTransform().inverted() * d->Painter->deviceTransform();
    if (ToDevice.type() > QTransform::TxScale || ToDevice.m11() != ToDevice.m22() || !(ToDevice.m11() > 0))
        return 1.0;
    return ToDevice.m11();
}

void TCanvas::SetTransform(const QTransform& Transform)
{
    d->Active().setTransform(Transform);
    d->FindRaster();
}

QTransform TCanvas::Transform() const
{
    return d->Painter && d->Painter->isActive() ? d->Painter->worldTransform() : QTransform();
}

void TCanvas::SetPaintRegion(const QRegion& Region)
{
    d->PaintRegionKnown = true;
    d->PaintRegion = Region;
    if (d->Painter && d->Painter->isActive())
        d->FindRaster();
}

void TCanvas::Rebind(QPaintDevice* Device)
{
    d->Painter.reset();
    d->Device = Device;
    d->Begin();
}

