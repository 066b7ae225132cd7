#include "surface/Canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPoint>

#include <algorithm>
#include <array>
#include <optional>

namespace {

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
    }

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
                F.setFamily(QString::fromLatin1(FontName.data(), qsizetype(FontName.size())));
            if (FontHeight != 0)
                F.setPixelSize(FontHeight < 0 ? -FontHeight : FontHeight);
            F.setStyleStrategy(FontAntialias ? QFont::PreferDefault : QFont::NoAntialias);
            Font = F;
        }
        return *Font;
    }
};

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
    QPainter& P = d->Active();
    if (d->BrushStyle == TBrushStyle::bsClear || Right <= Left || Bottom <= Top)
        return;
    // 64-bit extents: Right - Left may exceed the 32-bit range.
    const std::int64_t W = std::int64_t(Right) - Left;
    const std::int64_t H = std::int64_t(Bottom) - Top;
    P.fillRect(QRect(Left, Top, int(std::min<std::int64_t>(W, INT32_MAX)), int(std::min<std::int64_t>(H, INT32_MAX))),
               ToQColor(d->BrushColor));
}

void TCanvas::Rectangle(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2)
{
    QPainter& P = d->Active();
    if (X2 < X1)
        std::swap(X1, X2);
    if (Y2 < Y1)
        std::swap(Y1, Y2);
    const std::int64_t W = std::int64_t(X2) - X1;
    const std::int64_t H = std::int64_t(Y2) - Y1;
    auto Fill = [&P](std::int64_t L, std::int64_t T, std::int64_t Wd, std::int64_t Ht, const QColor& C) {
        if (Wd > 0 && Ht > 0)
            P.fillRect(QRect(int(L), int(T), int(std::min<std::int64_t>(Wd, INT32_MAX)),
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
    const QString S = QString::fromLatin1(Text.data(), qsizetype(Text.size()));
    P.setFont(d->CurrentFont());
    const QFontMetrics Fm(d->CurrentFont());
    if (d->BrushStyle == TBrushStyle::bsSolid)
        P.fillRect(QRect(X, Y, Fm.horizontalAdvance(S), Fm.height()), ToQColor(d->BrushColor));
    P.setPen(ToQColor(d->FontColor));
    P.drawText(X, Y + Fm.ascent(), S);
}

// Extents need no surface: the fonts are sized in pixels, whatever the device.
std::int32_t TCanvas::TextWidth(const std::string& Text)
{
    return QFontMetrics(d->CurrentFont()).horizontalAdvance(QString::fromLatin1(Text.data(), qsizetype(Text.size())));
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
