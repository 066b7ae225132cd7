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

    void Begin();
    void FindRaster();
    // Qt's own fill runs at memory speed on wide rectangles but pays per row
    // on narrow ones, such as bars: those are written straight into memory.
    void FillSolid(const QRect& Rect, const QColor& Color);
    // Text from the text cache where that gives exactly the painter's pixels;
    // false where it cannot (nothing drawn). Inside, when given, bounds the
    // pixels that may change.
    // Known: an area of one colour, as TextOutIfExact takes it.
    bool DrawCachedText(int X, int Y, const std::string& Text, const QRect* Inside = nullptr,
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
