// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// Internals of the drawing surface shared by its source files.

#include "surface/Canvas.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QString>

#include <atomic>
#include <memory>
#include <optional>

// One byte of our 8-bit strings is one character.
inline QString Latin1(const std::string& Text) { return QString::fromLatin1(Text.data(), qsizetype(Text.size())); }

// Qt draws glyphs from this pixel size up as filled outlines rather than
// from its glyph cache.
constexpr int OutlineGlyphPixelSize = 64;

// A small rectangle of pixels, such as a glyph, whose rows are too short for
// a call of memcpy each to pay. The two rectangles do not overlap; strides in pixels.
void CopyPixelRect(const std::uint32_t* From, std::ptrdiff_t FromStride, std::size_t Width, std::size_t Height,
                   std::uint32_t* To, std::ptrdiff_t ToStride);

// A TColor resolved (system colours from the palette) as a Qt colour, and back.
QColor ToQColor(TColor Color);
TColor FromQColor(const QColor& Color);

// Text as the painter draws it, kept so that a warm drawing copies pixels
// instead of rasterising glyphs again: every entry is exactly the painter's
// rendering of its key, so a drawing never depends on what a cache holds.
// Thread-safe and bounded in bytes; each thread keeps a small front of its
// own.
class TTextCache {
public:
    TTextCache();
    ~TTextCache();
    TTextCache(const TTextCache&) = delete;
    TTextCache& operator=(const TTextCache&) = delete;
    // The library's own, which its entry points hand to the painters.
    static TTextCache& Shared();

    struct TImpl;
    std::unique_ptr<TImpl> d;
};

struct WEQBARCODE_HIDDEN TCanvas::TState {
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

    void Begin();
    void FindRaster();
    // The rectangle in the colour, nothing when it is empty.
    void FillSolid(const QRect& Rect, const QColor& Color);
    // Text from the text cache where that gives exactly the painter's pixels;
    // false where it cannot (nothing drawn). Inside, when given, bounds the
    // pixels that may change.
    // Known: an area of one colour, as TextOutIfExact takes it.
    bool DrawCachedText(TTextCache& Cache, int X, int Y, const std::string& Text, const QRect* Inside = nullptr,
                        const QRect* Known = nullptr);
    // Large text, drawn from one rendering so every copy is the same.
    bool DrawLargeText(int X, int Y, const QString& Text);

    QPainter& Active()
    {
        if (!Painter || !Painter->isActive())
            throw Exception("Canvas does not allow drawing");
        return *Painter;
    }

    const QFont& CurrentFont();
    // The font's height in pixels, whatever its sign says; 0 for the default.
    int FontPixelSize() const { return FontHeight < 0 ? -FontHeight : FontHeight; }
};

// The fast paths of drawing, each a switch so that the benchmark can turn
// it off and show what it gains (docs/speed.md): one that gains under a
// tenth does not stay. Each gives exactly the pixels of the path without it.
struct TFastPaths {
    // Rows and cached text written straight into an image's pixels, where
    // the result equals the painter's pixel for pixel; off, every canvas
    // made afterwards goes through the painter.
    static inline std::atomic<bool> DirectPixels{true};
    // Rows copied with 32-byte vector stores rather than the library's memcpy.
    static inline std::atomic<bool> VectorCopy{true};
    // A repeated row copied down contiguous rows in blocks, not row by row.
    static inline std::atomic<bool> BlockCopy{true};
    // Text copied from the painter's own earlier rendering rather than drawn.
    static inline std::atomic<bool> TextCache{true};
    // The thread's recent entries and its single characters by code, before
    // the shared, locked cache.
    static inline std::atomic<bool> TextCacheRecent{true};
    static inline std::atomic<bool> TextCacheFront{true};
    // Buffers kept by each thread from one drawing to the next.
    static inline std::atomic<bool> ThreadBuffers{true};
    // Which characters stand clear of everything, taken from the thread's
    // last symbol where its layout is the same rather than tested again.
    static inline std::atomic<bool> LayoutMemo{true};
    // A character's ink measured from its glyph, without laying the text out.
    static inline std::atomic<bool> InkGlyphs{true};
    // A fitting's characters at one height drawn together, in one run.
    static inline std::atomic<bool> InkTogether{true};
};

// The library's reach into a canvas's pixels, for drawing whole symbols fast.
struct TCanvasRaster {
    // True when the canvas can write straight into the pixels behind it.
    static bool DirectPixels(const TCanvas& Canvas);
    // Rows [Top, Bottom) get Width pixels of Row (0xFFRRGGBB) from x = 0;
    // the part outside the surface is left out. Needs DirectPixels().
    static void CopyRows(TCanvas& Canvas, std::int32_t Top, std::int32_t Bottom, const std::uint32_t* Row,
                         std::int32_t Width);
    // TextOut with a clear brush from Cache, but only when every pixel the
    // text can touch on the surface lies in Inside and holds one colour, so
    // that the cached rendering gives exactly the painter's pixels. Otherwise
    // nothing is drawn and the result is false. Known, when given, is an area
    // the caller knows to hold one colour throughout (it drew it so): where
    // the text lies inside it, its pixels are not compared one by one.
    static bool TextOutIfExact(TCanvas& Canvas, TTextCache& Cache, std::int32_t X, std::int32_t Y,
                               const std::string& Text, const QRect& Inside, const QRect* Known = nullptr);
};
