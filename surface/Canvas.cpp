#include "surface/Canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPaintEngine>
#include <QPalette>
#include <QHash>
#include <QRegion>
#include <QPoint>

#include <algorithm>
#include <cstring>
#include <vector>
#include <array>
#include <optional>

namespace {

// One byte of our 8-bit strings is one character.
QString Latin1(const std::string& Text) { return QString::fromLatin1(Text.data(), qsizetype(Text.size())); }

QColor ToQColor(TColor Color)
{
    const TColor Rgb = TCanvas::ResolveColor(Color);
    return QColor(int(Rgb & 0xFF), int((Rgb >> 8) & 0xFF), int((Rgb >> 16) & 0xFF));
}

TColor FromQColor(const QColor& Color)
{
    return TColor(Color.red()) | (TColor(Color.green()) << 8) | (TColor(Color.blue()) << 16);
}

struct TSystemColorRole {
    QPalette::ColorGroup Group;
    QPalette::ColorRole Role;
    TColor Classic; // used when there is no GUI application to ask
};

// System colour numbers 0..30 and where the palette keeps each; numbers the
// table does not know resolve to black, as the platform's own lookup does.
constexpr std::array<TSystemColorRole, 31> SystemColorRoles{{
    {QPalette::Active, QPalette::Button, 0xC8C8C8},            // 0 scroll bar
    {QPalette::Active, QPalette::Dark, 0x000000},              // 1 desktop
    {QPalette::Active, QPalette::Highlight, 0xD1B499},         // 2 active caption
    {QPalette::Inactive, QPalette::Highlight, 0xDBCDBF},       // 3 inactive caption
    {QPalette::Active, QPalette::Window, 0xF0F0F0},            // 4 menu
    {QPalette::Active, QPalette::Base, 0xFFFFFF},              // 5 window
    {QPalette::Active, QPalette::Shadow, 0x646464},            // 6 window frame
    {QPalette::Active, QPalette::WindowText, 0x000000},        // 7 menu text
    {QPalette::Active, QPalette::WindowText, 0x000000},        // 8 window text
    {QPalette::Active, QPalette::HighlightedText, 0x000000},   // 9 caption text
    {QPalette::Active, QPalette::Window, 0xB4B4B4},            // 10 active border
    {QPalette::Inactive, QPalette::Window, 0xFCF7F4},          // 11 inactive border
    {QPalette::Active, QPalette::Mid, 0xABABAB},               // 12 application workspace
    {QPalette::Active, QPalette::Highlight, 0xFF9933},         // 13 highlight
    {QPalette::Active, QPalette::HighlightedText, 0xFFFFFF},   // 14 highlighted text
    {QPalette::Active, QPalette::Window, 0xF0F0F0},            // 15 button face
    {QPalette::Active, QPalette::Dark, 0xA0A0A0},              // 16 button shadow
    {QPalette::Disabled, QPalette::Text, 0x6D6D6D},            // 17 grey text
    {QPalette::Active, QPalette::ButtonText, 0x000000},        // 18 button text
    {QPalette::Disabled, QPalette::WindowText, 0x000000},      // 19 inactive caption text
    {QPalette::Active, QPalette::Light, 0xFFFFFF},             // 20 button highlight
    {QPalette::Active, QPalette::Shadow, 0x696969},            // 21 3D dark shadow
    {QPalette::Active, QPalette::Midlight, 0xE3E3E3},          // 22 3D light
    {QPalette::Active, QPalette::ToolTipText, 0x000000},       // 23 info text
    {QPalette::Active, QPalette::ToolTipBase, 0xE1FFFF},       // 24 info background
    {QPalette::Active, QPalette::NoRole, 0x000000},            // 25 (none)
    {QPalette::Active, QPalette::Link, 0xCC6600},              // 26 hot light
    {QPalette::Active, QPalette::Highlight, 0xEAD1B9},         // 27 gradient active caption
    {QPalette::Inactive, QPalette::Highlight, 0xF2E4D7},       // 28 gradient inactive caption
    {QPalette::Active, QPalette::Highlight, 0xFF9933},         // 29 menu highlight
    {QPalette::Active, QPalette::Window, 0xF0F0F0},            // 30 menu bar
}};

} // namespace

struct TCanvas::TState {
    QPaintDevice* Device = nullptr;
    std::optional<QPainter> Painter;

    TColor BrushColor = clWhite;
    TBrushStyle BrushStyle = TBrushStyle::bsSolid;
    TColor PenColor = clBlack;
    TPenStyle PenStyle = TPenStyle::psSolid;
    std::int32_t PenWidth = 1;
    std::string FontName;
    std::int32_t FontHeight = 0;
    TColor FontColor = clWindowText;
    bool FontAntialias = true;

    std::optional<QFont> Font; // built from the font state on first use

    // Direct access to the pixels behind the painter, when painting on a
    // 32-bit image with a whole-pixel offset: narrow fills and cached text are
    // then written straight into memory, with the same result as the painter.
    QImage* Raster = nullptr;
    QPoint RasterOffset;
    QRegion RasterClip; // in raster coordinates; empty means the whole image
    bool PaintRegionKnown = false;
    QRegion PaintRegion; // canvas coordinates

    void Begin()
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

    void FindRaster()
    {
        Raster = nullptr;
        if (!TCanvas::AllowDirectPixels)
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

    // Qt's own fill runs at memory speed on wide rectangles but pays per row
    // on narrow ones, such as bars: those are written straight into memory.
    void FillSolid(const QRect& Rect, const QColor& Color)
    {
        constexpr int MaxDirectWidth = 64;
        if (Rect.isEmpty())
            return;
        QRect OnImage;
        if (Raster && Rect.width() <= MaxDirectWidth) {
            OnImage = Rect.translated(RasterOffset) & Raster->rect();
            if (!RasterClip.isEmpty() && RasterClip.intersected(OnImage) != QRegion(OnImage))
                OnImage = QRect(); // a clip with holes: leave it to the painter
        }
        if (OnImage.isEmpty()) {
            Painter->fillRect(Rect, Color);
            return;
        }
        const std::uint32_t Pixel = 0xFF000000u | Color.rgb();
        const std::ptrdiff_t Stride = Raster->bytesPerLine() / 4;
        std::uint32_t* Row = reinterpret_cast<std::uint32_t*>(Raster->bits()) + OnImage.top() * Stride + OnImage.left();
        for (int Y = OnImage.top(); Y <= OnImage.bottom(); ++Y, Row += Stride)
            std::fill_n(Row, OnImage.width(), Pixel);
    }

    bool DrawCachedText(int X, int Y, const QString& Text, const QFontMetrics& Fm, const QRect* Inside = nullptr);

    QPainter& Active()
    {
        if (!Painter || !Painter->isActive())
            throw Exception("Canvas does not allow drawing");
        return *Painter;
    }

    const QFont& CurrentFont()
    {
        if (!Font) {
            QFont F;
            if (!FontName.empty())
                F.setFamily(Latin1(FontName));
            if (FontHeight != 0)
                F.setPixelSize(FontHeight < 0 ? -FontHeight : FontHeight);
            F.setStyleStrategy(FontAntialias ? QFont::PreferDefault : QFont::NoAntialias);
            Font = F;
        }
        return *Font;
    }
};

namespace {

// Text as the painter draws it on a uniform background, kept so that a warm
// repaint copies pixels instead of rasterising glyphs again. An entry is only
// used where every pixel it would change holds its background colour, so the
// copy is exactly what the painter would have produced there.
struct TTextKey {
    QString Text, Family;
    int PixelSize;
    bool Antialias;
    QRgb Color, Background;
    QImage::Format Format;
    bool operator==(const TTextKey&) const = default;
};

size_t qHash(const TTextKey& K, size_t Seed = 0)
{
    return qHashMulti(Seed, K.Text, K.Family, K.PixelSize, K.Antialias, K.Color, K.Background, int(K.Format));
}

struct TTextImage {
    QImage Pixels;
    QPoint Origin; // where the text cell's top-left lies in Pixels
    QRect Ink;     // pixels that differ from the background, cell coordinates
};

constexpr int MaxCachedTexts = 512;
constexpr int MaxCachedTextPixelSize = 1024;

QHash<TTextKey, TTextImage>& TextCache()
{
    static QHash<TTextKey, TTextImage> Cache;
    return Cache;
}

const TTextImage& CachedText(const TTextKey& Key, const QFont& Font, const QFontMetrics& Fm);

// Qt draws glyphs this large as filled outlines, whose edge pixels vary a
// little with the position; such text is drawn from one rendering instead,
// so every copy of a character is the same wherever it lands.
constexpr int OutlineGlyphPixelSize = 64;
bool LargeText(int PixelSize) { return PixelSize >= OutlineGlyphPixelSize; }

// A transparent background in a key asks for the text alone, premultiplied.
constexpr QRgb NoBackground = 0;

TTextImage RenderText(const TTextKey& Key, const QFont& Font, const QFontMetrics& Fm)
{
    TTextImage Out;
    const int Margin = Key.PixelSize / 2 + 2; // room for ink outside the cell
    Out.Origin = QPoint(Margin, Margin);
    const bool Alone = Key.Background == NoBackground;
    Out.Pixels = QImage(Fm.horizontalAdvance(Key.Text) + 2 * Margin, Fm.height() + 2 * Margin,
                        Alone ? QImage::Format_ARGB32_Premultiplied : Key.Format);
    Out.Pixels.fill(Key.Background);
    if (!Alone && LargeText(Key.PixelSize)) {
        TTextKey SpriteKey = Key;
        SpriteKey.Background = NoBackground;
        const TTextImage& Sprite = CachedText(SpriteKey, Font, Fm);
        QPainter P(&Out.Pixels);
        P.drawImage(Out.Origin - Sprite.Origin, Sprite.Pixels);
    } else {
        QPainter P(&Out.Pixels);
        P.setRenderHint(QPainter::Antialiasing, false);
        P.setFont(Font);
        P.setPen(QColor::fromRgb(Key.Color));
        P.drawText(Margin, Margin + Fm.ascent(), Key.Text);
    }
    QRect Ink;
    for (int Y = 0; Y < Out.Pixels.height(); ++Y) {
        const auto* Row = reinterpret_cast<const QRgb*>(Out.Pixels.constScanLine(Y));
        for (int X = 0; X < Out.Pixels.width(); ++X)
            if (Row[X] != Key.Background)
                Ink |= QRect(X, Y, 1, 1);
    }
    Out.Ink = Ink.translated(-Out.Origin);
    return Out;
}

const TTextImage& CachedText(const TTextKey& Key, const QFont& Font, const QFontMetrics& Fm)
{
    QHash<TTextKey, TTextImage>& Cache = TextCache();
    auto It = Cache.constFind(Key);
    if (It != Cache.constEnd())
        return It.value();
    if (Cache.size() >= MaxCachedTexts)
        Cache.clear();
    return Cache.insert(Key, RenderText(Key, Font, Fm)).value();
}

} // namespace

bool TCanvas::TState::DrawCachedText(int X, int Y, const QString& Text, const QFontMetrics& Fm, const QRect* Inside)
{
    const QFont& F = CurrentFont();
    if (!Raster || F.pixelSize() <= 0 || F.pixelSize() > MaxCachedTextPixelSize)
        return false;
    // Black on white marks every pixel the glyphs cover at all: no other pixel
    // changes whatever the colours.
    TTextKey Key{Text, F.family(), F.pixelSize(), FontAntialias, 0xFF000000u, 0xFFFFFFFFu, Raster->format()};
    if (LargeText(F.pixelSize())) {
        Key.Color = TCanvas::PixelOf(FontColor);
        Key.Background = NoBackground;
    }
    const QRect Footprint = CachedText(Key, F, Fm).Ink;
    if (Footprint.isEmpty())
        return true; // the painter would change nothing either
    // Only the part on the image and inside the clip matters: the painter
    // clips the rest away too.
    QRect OnImage = Footprint.translated(X, Y).translated(RasterOffset) & Raster->rect();
    if (!RasterClip.isEmpty()) {
        if (RasterClip.rectCount() == 1)
            OnImage &= RasterClip.boundingRect();
        else if (RasterClip.intersected(OnImage) != QRegion(OnImage))
            return false;
    }
    // What is clipped away counts for nothing: only the pixels written must lie inside.
    if (Inside && !Inside->translated(RasterOffset).contains(OnImage))
        return false;
    if (OnImage.isEmpty())
        return true;
    const QRgb Background = reinterpret_cast<const QRgb*>(Raster->constScanLine(OnImage.top()))[OnImage.left()];
    thread_local std::vector<QRgb> Uniform;
    if (Uniform.size() < std::size_t(OnImage.width()) || (!Uniform.empty() && Uniform[0] != Background))
        Uniform.assign(std::max<std::size_t>(std::size_t(OnImage.width()), 256), Background);
    const std::size_t RowBytes = std::size_t(OnImage.width()) * sizeof(QRgb);
    for (int Row = OnImage.top(); Row <= OnImage.bottom(); ++Row)
        if (std::memcmp(reinterpret_cast<const QRgb*>(Raster->constScanLine(Row)) + OnImage.left(), Uniform.data(),
                        RowBytes) != 0)
            return false;
    if (qAlpha(Background) != 255)
        return false; // blending onto translucent pixels is the painter's business
    Key.Color = TCanvas::PixelOf(FontColor);
    Key.Background = Background;
    const TTextImage& Entry = CachedText(Key, F, Fm);
    // Where OnImage's top-left lies in the entry.
    const QPoint Source = Entry.Origin + (OnImage.topLeft() - RasterOffset - QPoint(X, Y));
    for (int Row = 0; Row < OnImage.height(); ++Row)
        std::copy_n(reinterpret_cast<const QRgb*>(Entry.Pixels.constScanLine(Source.y() + Row)) + Source.x(),
                    OnImage.width(), reinterpret_cast<QRgb*>(Raster->scanLine(OnImage.top() + Row)) + OnImage.left());
    return true;
}

bool TCanvas::DirectPixels() const
{
    return d->Raster && (d->RasterClip.isEmpty() || d->RasterClip.rectCount() == 1);
}

void TCanvas::CopyRows(std::int32_t Top, std::int32_t Bottom, const std::uint32_t* Row, std::int32_t Width)
{
    d->Active();
    if (!DirectPixels())
        throw Exception("Canvas has no direct pixels");
    QRect OnImage = QRect(QPoint(0, Top), QPoint(Width - 1, Bottom - 1)).translated(d->RasterOffset) & d->Raster->rect();
    if (!d->RasterClip.isEmpty())
        OnImage &= d->RasterClip.boundingRect();
    if (OnImage.isEmpty())
        return;
    const std::ptrdiff_t Stride = d->Raster->bytesPerLine() / 4;
    const std::uint32_t* Source = Row + (OnImage.left() - d->RasterOffset.x());
    std::uint32_t* Target = reinterpret_cast<std::uint32_t*>(d->Raster->bits()) + OnImage.top() * Stride + OnImage.left();
    for (int Y = OnImage.top(); Y <= OnImage.bottom(); ++Y, Target += Stride)
        std::copy_n(Source, OnImage.width(), Target);
}

bool TCanvas::TextOutIfExact(std::int32_t X, std::int32_t Y, const std::string& Text, std::int32_t Left,
                             std::int32_t Top, std::int32_t Right, std::int32_t Bottom)
{
    d->Active();
    if (d->BrushStyle != TBrushStyle::bsClear)
        return false;
    const QRect Inside(QPoint(Left, Top), QPoint(Right - 1, Bottom - 1));
    const QString S = Latin1(Text);
    return d->DrawCachedText(X, Y, S, QFontMetrics(d->CurrentFont()), &Inside);
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
    if (d->DrawCachedText(X, Y, S, Fm))
        return;
    const QFont& F = d->CurrentFont();
    if (LargeText(F.pixelSize())) {
        const TTextKey Key{S, F.family(), F.pixelSize(), d->FontAntialias, PixelOf(d->FontColor),
                           NoBackground, QImage::Format_ARGB32_Premultiplied};
        const TTextImage& Sprite = CachedText(Key, F, Fm);
        P.drawImage(QPoint(X, Y) - Sprite.Origin, Sprite.Pixels);
        return;
    }
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

std::uint32_t TCanvas::PixelOf(TColor Color) { return ToQColor(Color).rgb() | 0xFF000000u; }

TColor TCanvas::ResolveColor(TColor Color)
{
    if (!IsSystemColor(Color))
        return Color & 0x00FFFFFFu;
    const TColor Index = Color & 0xFFu;
    if ((Color & 0x00FFFF00u) != 0 || Index >= SystemColorRoles.size())
        return clBlack;
    const TSystemColorRole& Entry = SystemColorRoles[Index];
    if (Entry.Role == QPalette::NoRole)
        return clBlack;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return Entry.Classic;
    return FromQColor(QGuiApplication::palette().color(Entry.Group, Entry.Role));
}

QPaintDevice* TCanvas::Device() const { return d->Device; }

double TCanvas::DevicePixelRatio() const { return d->Device ? d->Device->devicePixelRatioF() : 1.0; }

void TCanvas::SetTransform(const QTransform& Transform)
{
    d->Active().setTransform(Transform);
    d->FindRaster();
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

// ---------------------------------------------------------------------------

struct TBitmap::TImpl {
    QImage Image;
    // Kept apart from the image: a bitmap 3 wide and 0 high has no image.
    std::int32_t Width = 0, Height = 0;
    TCanvas Canvas{nullptr};
};

TBitmap::TBitmap() : d(std::make_unique<TImpl>()) { d->Canvas.Rebind(&d->Image); }
TBitmap::~TBitmap()
{
    d->Canvas.Rebind(nullptr);
}

std::int32_t TBitmap::Width() const { return d->Width; }
std::int32_t TBitmap::Height() const { return d->Height; }
void TBitmap::SetWidth(std::int32_t Width) { SetSize(Width, Height()); }
void TBitmap::SetHeight(std::int32_t Height) { SetSize(Width(), Height); }

void TBitmap::SetSize(std::int32_t Width, std::int32_t Height)
{
    Width = std::max(0, Width);
    Height = std::max(0, Height);
    if (Width == d->Width && Height == d->Height)
        return;
    if (Width > MaxSide || Height > MaxSide || std::int64_t(Width) * Height > MaxPixels)
        throw Exception("Bitmap of " + std::to_string(Width) + " x " + std::to_string(Height) + " pixels is too large");

    d->Canvas.Rebind(nullptr);
    QImage Resized;
    if (Width > 0 && Height > 0) {
        Resized = QImage(Width, Height, QImage::Format_RGB32);
        if (Resized.isNull())
            throw Exception("Out of memory for a bitmap");
        Resized.fill(ToQColor(d->Canvas.BrushColor()));
        const int W = std::min(Width, d->Image.width());
        const int H = std::min(Height, d->Image.height());
        for (int Y = 0; Y < H; ++Y)
            std::copy_n(d->Image.constScanLine(Y), std::size_t(W) * 4, Resized.scanLine(Y));
    }
    d->Image = std::move(Resized);
    d->Width = Width;
    d->Height = Height;
    d->Canvas.Rebind(&d->Image);
}

TCanvas& TBitmap::Canvas() { return d->Canvas; }

std::int32_t TBitmap::Stride() const { return std::int32_t(d->Image.bytesPerLine() / 4); }

const std::uint32_t* TBitmap::ScanLine(std::int32_t Y) const
{
    if (Y < 0 || Y >= d->Image.height())
        return nullptr;
    return reinterpret_cast<const std::uint32_t*>(d->Image.constScanLine(Y));
}
