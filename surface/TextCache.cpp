// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// Text as the painter draws it, kept so that a warm repaint copies pixels
// instead of rasterising glyphs again. An entry holds the painter's own
// rendering of one string on one uniform background, cropped to the pixels
// the string can change; it is only copied where every such pixel holds that
// background, so the copy is exactly what the painter would have produced.
//
// One cache serves every thread, bounded in bytes; entries are handed out as
// implicitly shared copies, so an eviction never pulls pixels from under a
// drawing.

#include "surface/Canvas_p.h"

#include <QCache>
#include <QHash>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <cstring>
#include <mutex>
#include <vector>


namespace {

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
    QImage Pixels; // null when the text leaves no ink
    QPoint Origin; // where the text cell's top-left lies in Pixels
    QRect Ink;     // pixels that differ from the background, cell coordinates
    // False when the rendering changed a pixel outside the footprint it was
    // cropped to: then only the painter can reproduce it.
    bool Exact = true;
};

constexpr qsizetype MaxCacheBytes = qsizetype(64) << 20;
constexpr int MaxCachedTextPixelSize = 1024;

// Outline glyphs' edge pixels vary a little with the position; such text is
// drawn from one rendering instead, so every copy of a character is the same
// wherever it lands.
bool LargeText(int PixelSize) { return PixelSize >= OutlineGlyphPixelSize; }

// A transparent background in a key asks for the text alone, premultiplied.
constexpr QRgb NoBackground = 0;

} // namespace

struct WEQBARCODE_HIDDEN TTextCache::TImpl {
    bool Find(const TTextKey& Key, TTextImage& Out)
    {
        const std::lock_guard Lock(Mutex);
        const TTextImage* Entry = Cache.object(Key);
        if (!Entry)
            return false;
        Out = *Entry;
        return true;
    }
    void Insert(const TTextKey& Key, const TTextImage& Entry)
    {
        const qsizetype Cost = Entry.Pixels.sizeInBytes() + qsizetype(sizeof(TTextImage)) + Key.Text.size() * 2;
        const std::lock_guard Lock(Mutex);
        Cache.insert(Key, new TTextImage(Entry), Cost); // an entry above the bound is dropped, not kept
    }

    std::mutex Mutex;
    QCache<TTextKey, TTextImage> Cache{MaxCacheBytes};
};

TTextCache::TTextCache() : d(std::make_unique<TImpl>()) {}
TTextCache::~TTextCache() = default;

TTextCache& TTextCache::Shared()
{
    static TTextCache Instance;
    return Instance;
}

namespace {

// The entry for Key; the reference holds until the thread's next call.
const TTextImage& CachedText(TTextCache& Cache, const TTextKey& Key, const QFont& Font,
                             const QRect* Footprint = nullptr);

// The smallest rectangle of pixels other than Background.
QRect InkOf(const QImage& Image, QRgb Background)
{
    const int W = Image.width(), H = Image.height();
    int Left = W, Right = -1, Top = -1, Bottom = -1;
    for (int Y = 0; Y < H; ++Y) {
        const auto* Row = reinterpret_cast<const QRgb*>(Image.constScanLine(Y));
        int First = 0;
        while (First < W && Row[First] == Background)
            ++First;
        if (First == W)
            continue;
        int Last = W - 1;
        while (Row[Last] == Background)
            --Last;
        Left = std::min(Left, First);
        Right = std::max(Right, Last);
        if (Top < 0)
            Top = Y;
        Bottom = Y;
    }
    return Top < 0 ? QRect() : QRect(QPoint(Left, Top), QPoint(Right, Bottom));
}

// The painter's rendering of Key on an image that holds its cell and the
// glyphs' outline bounds with a little room: large enough for every pixel the
// painter changes (a rendering that reaches the image's edge is made again
// with more room), small enough to keep as it is. Footprint, when given, is
// the area (cell coordinates) the entry must reproduce.
TTextImage RenderText(TTextCache& Cache, const TTextKey& Key, const QFont& Font, const QRect* Footprint)
{
    const QFontMetrics Fm(Font);
    const bool Alone = Key.Background == NoBackground;
    if (!Alone && LargeText(Key.PixelSize)) {
        // Large text is the one rendering of the text alone, put on the background.
        TTextKey SpriteKey = Key;
        SpriteKey.Background = NoBackground;
        TTextImage Sprite = CachedText(Cache, SpriteKey, Font);
        if (!Sprite.Pixels.isNull()) {
            QImage OnBackground(Sprite.Pixels.size(), Key.Format);
            OnBackground.fill(Key.Background);
            QPainter P(&OnBackground);
            P.drawImage(0, 0, Sprite.Pixels);
            Sprite.Pixels = OnBackground;
        }
        return Sprite;
    }
    const QRect Cell(0, -Fm.ascent(), Fm.horizontalAdvance(Key.Text), Fm.height());
    const QRect Bounds = (Cell | Fm.boundingRect(Key.Text)).translated(0, Fm.ascent()); // cell coordinates
    for (int Margin = Key.PixelSize / 32 + 2;; Margin *= 2) {
        const QRect Area = Bounds.adjusted(-Margin, -Margin, Margin, Margin);
        QImage Pixels(Area.size(), Alone ? QImage::Format_ARGB32_Premultiplied : Key.Format);
        Pixels.fill(Key.Background);
        const QPoint Origin = -Area.topLeft();
        {
            QPainter P(&Pixels);
            P.setRenderHint(QPainter::Antialiasing, false);
            P.setFont(Font);
            P.setPen(QColor::fromRgba(Alone ? (Key.Color | 0xFF000000u) : Key.Color));
            P.drawText(Origin.x(), Origin.y() + Fm.ascent(), Key.Text);
        }
        const QRect Ink = InkOf(Pixels, Key.Background);
        const bool Touches = !Ink.isEmpty() && (Ink.left() == 0 || Ink.top() == 0 || Ink.right() == Pixels.width() - 1 ||
                                                Ink.bottom() == Pixels.height() - 1);
        if (Touches && Margin < Key.PixelSize * 4 + 64)
            continue;
        TTextImage Out;
        Out.Ink = Ink.translated(-Origin);
        const bool HoldsFootprint = !Footprint || Pixels.rect().contains(Footprint->translated(Origin));
        Out.Exact = HoldsFootprint && (Ink.isEmpty() || !Footprint || Footprint->contains(Out.Ink));
        // Large text is kept cropped to its ink: its cell is several times
        // that, and the cache's bound is in bytes. Small text stays whole.
        const QRect Crop = !LargeText(Key.PixelSize) ? (Ink.isEmpty() && !Footprint ? QRect() : Pixels.rect())
                           : Footprint           ? Footprint->translated(Origin) & Pixels.rect()
                                                 : Ink;
        if (!Crop.isEmpty()) {
            Out.Pixels = Crop == Pixels.rect() ? Pixels : Pixels.copy(Crop);
            Out.Origin = Origin - Crop.topLeft();
        }
        return Out;
    }
}

// Each thread keeps the small entries it used last, so that a warm drawing
// takes no lock; large ones always come from the shared cache, whose bound
// thus holds for the pixels that matter.
constexpr qsizetype MaxRecentBytes = qsizetype(64) << 10;
constexpr qsizetype MaxRecentEntries = 96;

// Metrics are made only for a new entry: a warm drawing needs none.
const TTextImage& CachedText(TTextCache& Cache, const TTextKey& Key, const QFont& Font, const QRect* Footprint)
{
    thread_local QHash<TTextKey, TTextImage> Recent;
    thread_local const TTextCache* RecentOwner = nullptr;
    thread_local TTextImage Large;
    if (RecentOwner != &Cache || !TFastPaths::TextCacheRecent) {
        Recent.clear();
        RecentOwner = &Cache;
    }
    if (const auto It = Recent.constFind(Key); It != Recent.cend())
        return It.value();
    TTextImage Entry;
    if (!Cache.d->Find(Key, Entry)) {
        Entry = RenderText(Cache, Key, Font, Footprint);
        Cache.d->Insert(Key, Entry);
    }
    if (Entry.Pixels.sizeInBytes() > MaxRecentBytes) {
        Large = std::move(Entry);
        return Large;
    }
    if (Recent.size() >= MaxRecentEntries)
        Recent.clear();
    return Recent.insert(Key, std::move(Entry)).value();
}

// The entries of single characters in the last font, colour and background a
// thread drew them in, by character: the digits of a symbol then need no key
// of strings built and hashed each. Copies hold their pixels, so an eviction
// from the caches cannot pull them away; like the recent entries, it keeps
// only small ones, so the shared cache's bound holds for the pixels that matter.
struct TCharFront {
    const TTextCache* Owner = nullptr;
    std::string FontName;
    int PixelSize = 0;
    bool Antialias = false;
    QImage::Format Format = QImage::Format_Invalid;
    QRgb Color = 0, Background = 0;
    std::array<std::optional<TTextImage>, 256> First; // black on white: the footprints
    std::array<std::optional<TTextImage>, 256> Entry; // in Color on Background
};

TCharFront& CharFront()
{
    thread_local std::unique_ptr<TCharFront> Front = std::make_unique<TCharFront>();
    return *Front;
}

} // namespace

bool TCanvas::TState::DrawCachedText(TTextCache& Cache, int X, int Y, const std::string& Text, const QRect* Inside,
                                      const QRect* Known)
{
    const int PixelSize = FontPixelSize();
    if (!Raster || PixelSize <= 0 || PixelSize > MaxCachedTextPixelSize || !TFastPaths::TextCache)
        return false;
    // Black on white marks every pixel the glyphs cover at all: no other pixel
    // changes whatever the colours. Large text is its one rendering.
    const bool Large = LargeText(PixelSize);
    const QRgb Color = TCanvas::PixelOf(FontColor);
    const QImage::Format Format = Raster->format();
    // One character of small text goes through the thread's front.
    TCharFront* Front = nullptr;
    const unsigned char Ch = Text.size() == 1 ? static_cast<unsigned char>(Text[0]) : 0;
    if (Text.size() == 1 && !Large && !FontName.empty() && TFastPaths::TextCacheFront) { // an empty name follows the application's font
        Front = &CharFront();
        if (Front->Owner != &Cache || Front->FontName != FontName || Front->PixelSize != PixelSize ||
            Front->Antialias != FontAntialias || Front->Format != Format) {
            Front->Owner = &Cache;
            Front->FontName = FontName;
            Front->PixelSize = PixelSize;
            Front->Antialias = FontAntialias;
            Front->Format = Format;
            Front->First.fill(std::nullopt);
            Front->Entry.fill(std::nullopt);
        }
    }
    std::optional<TTextKey> Key;
    const auto KeyFor = [&](QRgb KeyColor, QRgb KeyBackground) -> TTextKey& {
        if (!Key)
            Key = TTextKey{Latin1(Text), CurrentFont().family(), PixelSize, FontAntialias, 0, 0, Format};
        Key->Color = KeyColor;
        Key->Background = KeyBackground;
        return *Key;
    };
    // The entry in the front's Slot where it holds one, else the caches' one,
    // which the front then keeps if it is small.
    const auto Lookup = [&](std::optional<TTextImage>* Slot, QRgb KeyColor, QRgb KeyBackground,
                            const QRect* Footprint) -> const TTextImage* {
        if (Slot && *Slot)
            return &**Slot;
        const TTextImage* Found = &CachedText(Cache, KeyFor(KeyColor, KeyBackground), CurrentFont(), Footprint);
        return Slot && Found->Pixels.sizeInBytes() <= MaxRecentBytes ? &Slot->emplace(*Found) : Found;
    };
    const TTextImage* First = Large ? Lookup(nullptr, Color, NoBackground, nullptr)
                                    : Lookup(Front ? &Front->First[Ch] : nullptr, 0xFF000000u, 0xFFFFFFFFu, nullptr);
    // Holds until the next lookup on this thread.
    const QRect Footprint = First->Ink;
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
    if (qAlpha(Background) != 255)
        return false; // blending onto translucent pixels is the painter's business
    if (!Known || !Known->translated(RasterOffset).contains(OnImage)) {
        thread_local std::vector<QRgb> Uniform;
        if (!TFastPaths::ThreadBuffers)
            std::vector<QRgb>().swap(Uniform);
        if (Uniform.size() < std::size_t(OnImage.width()) || (!Uniform.empty() && Uniform[0] != Background))
            Uniform.assign(std::max<std::size_t>(std::size_t(OnImage.width()), 256), Background);
        const std::size_t RowBytes = std::size_t(OnImage.width()) * sizeof(QRgb);
        const std::ptrdiff_t Stride = std::ptrdiff_t(Raster->bytesPerLine() / 4);
        const QRgb* Row = reinterpret_cast<const QRgb*>(Raster->constBits()) + OnImage.top() * Stride + OnImage.left();
        for (int N = OnImage.height(); N > 0; --N, Row += Stride)
            if (std::memcmp(Row, Uniform.data(), RowBytes) != 0)
                return false;
    }
    // Black on white, the entry that gave the footprint is the one to copy.
    const TTextImage* Entry = First;
    if (Large || Color != 0xFF000000u || Background != 0xFFFFFFFFu) {
        if (Front && (Front->Color != Color || Front->Background != Background)) {
            Front->Color = Color;
            Front->Background = Background;
            Front->Entry.fill(std::nullopt);
        }
        Entry = Lookup(Front ? &Front->Entry[Ch] : nullptr, Color, Background, &Footprint);
    }
    if (!Entry->Exact || Entry->Pixels.isNull())
        return false;
    // Where OnImage's top-left lies in the entry.
    const QPoint Source = Entry->Origin + (OnImage.topLeft() - RasterOffset - QPoint(X, Y));
    // Row addresses once: each scanLine call checks whether the image must detach.
    QRgb* const Target = reinterpret_cast<QRgb*>(Raster->scanLine(OnImage.top())) + OnImage.left();
    const QRgb* const From = reinterpret_cast<const QRgb*>(Entry->Pixels.constScanLine(Source.y())) + Source.x();
    const std::ptrdiff_t TargetStride = Raster->bytesPerLine() / 4, FromStride = Entry->Pixels.bytesPerLine() / 4;
    CopyPixelRect(From, FromStride, std::size_t(OnImage.width()), std::size_t(OnImage.height()), Target, TargetStride);
    return true;
}

bool TCanvas::TState::DrawLargeText(int X, int Y, const QString& Text)
{
    const QFont& F = CurrentFont();
    if (!LargeText(F.pixelSize()) || F.pixelSize() > MaxCachedTextPixelSize)
        return false;
    const TTextKey Key{Text, F.family(), F.pixelSize(), FontAntialias, TCanvas::PixelOf(FontColor), NoBackground,
                       QImage::Format_ARGB32_Premultiplied};
    const TTextImage& Sprite = CachedText(TTextCache::Shared(), Key, F);
    if (!Sprite.Pixels.isNull())
        Painter->drawImage(QPoint(X, Y) - Sprite.Origin, Sprite.Pixels);
    return true;
}
