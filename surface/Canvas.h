// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

#include "../ean/Colors.h"
#include "../ean/Exceptions.h"
#include "../ean/Export.h"

#include <cstdint>
#include <memory>
#include <string>

class QPaintDevice;
class QPoint;
class QRect;
class QRegion;
class QTransform;

/// \file
/// \ingroup legacy
/// The drawing surface of the legacy interface: a canvas on any Qt paint
/// device, and an off-screen bitmap with its own.

/// How TCanvas fills shapes.
enum class TBrushStyle {
    bsSolid, ///< In the brush colour.
    bsClear  ///< Not at all: shapes are outlined only.
};
/// How TCanvas outlines shapes.
enum class TPenStyle {
    psSolid, ///< In the pen colour.
    psClear  ///< Not at all: shapes are filled only.
};

/// \ingroup legacy
/// Drawing state and operations on one paint device, from its origin, in whole
/// pixels with antialiasing off for shapes. The canvas keeps brush, pen and font
/// as its own state and applies them per operation, so state survives a change of
/// the underlying painter (see TBitmap).
///
/// A canvas whose device cannot be painted on (a null image, a widget outside its
/// paint event) raises Exception from every drawing operation instead of silently
/// drawing nothing.
class WEQBARCODE_EXPORT TCanvas {
public:
    /// A canvas on device, which must outlive it; painting begins with the first drawing operation.
    explicit TCanvas(QPaintDevice* device);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    ///@{
    /// Brush. Writing the colour makes a clear brush solid again.
    TColor BrushColor() const;
    void SetBrushColor(TColor Color);
    TBrushStyle BrushStyle() const;
    void SetBrushStyle(TBrushStyle Style);
    ///@}

    ///@{
    /// Pen. Widths 0 and 1 are both one pixel.
    TColor PenColor() const;
    void SetPenColor(TColor Color);
    TPenStyle PenStyle() const;
    void SetPenStyle(TPenStyle Style);
    std::int32_t PenWidth() const;
    void SetPenWidth(std::int32_t Width);
    ///@}

    ///@{
    /// Font. A negative height is the em height in pixels; a positive one is
    /// taken as the pixel size as well; 0 is the toolkit's default size.
    std::string FontName() const;
    void SetFontName(const std::string& Name);
    std::int32_t FontHeight() const;
    void SetFontHeight(std::int32_t Height);
    TColor FontColor() const;
    void SetFontColor(TColor Color);
    ///@}
    ///@{
    /// Antialiased glyphs are the toolkit default; measuring turns it off.
    bool FontAntialias() const;
    void SetFontAntialias(bool On);
    ///@}

    /// x in [Left, Right), y in [Top, Bottom) take the brush colour; nothing with
    /// a clear brush or an empty rectangle.
    void FillRect(std::int32_t Left, std::int32_t Top, std::int32_t Right, std::int32_t Bottom);
    /// Pen outline on the edge of [X1, X2) x [Y1, Y2), the inside in the brush.
    void Rectangle(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2);
    /// The text in the font colour with its cell's top-left at (X, Y); a solid
    /// brush first fills the cell.
    void TextOut(std::int32_t X, std::int32_t Y, const std::string& Text);
    /// The width and height of Text's cell in the current font, as TextOut draws it.
    ///@{
    std::int32_t TextWidth(const std::string& Text);
    std::int32_t TextHeight(const std::string& Text);
    ///@}
    /// The colour of one pixel; only image devices can be read. Outside the
    /// device it is clWhite | 0xFF000000 (CLR_INVALID).
    TColor Pixel(std::int32_t X, std::int32_t Y);
    /// All contours as one shape under the nonzero-winding rule, filled with the
    /// brush and outlined with the pen. Counts holds the points per contour.
    void PolyPolygon(const QPoint* Points, const std::int32_t* Counts, std::int32_t ContourCount);

    /// Resolves a system colour against the application palette; other colours
    /// pass unchanged. The result is a plain RGB colour.
    static TColor ResolveColor(TColor Color);
    /// The resolved colour as a 32-bit image pixel, 0xFFRRGGBB.
    static std::uint32_t PixelOf(TColor Color);

    /// The device painted on now.
    QPaintDevice* Device() const;
    /// Device pixels per canvas unit on the device really painted on (1 for
    /// plain images, 2 on a doubled screen, 1.5 at 150 % scaling, the target's
    /// own ratio when a widget is rendered into an image or a pixmap).
    double DevicePixelRatio() const;
    /// The region a widget's paint event asks for, in canvas coordinates. Within
    /// it the canvas may write whole-pixel fills and cached text straight into
    /// the window's buffer; without it a widget canvas always goes through the
    /// painter. Image canvases need nothing.
    void SetPaintRegion(const QRegion& Region);
    /// Maps canvas coordinates on the device, for vector output at a physical
    /// size. Anything but a whole-pixel translation turns direct pixels off.
    void SetTransform(const QTransform& Transform);
    /// The transform SetTransform set; the identity when nothing can be painted.
    QTransform Transform() const;
    /// Ends painting on the current device and paints on Device from now on,
    /// keeping the canvas state. Used by TBitmap when it reallocates.
    void Rebind(QPaintDevice* Device);

private:
    friend struct TCanvasRaster;
    struct TState;
    std::unique_ptr<TState> d;
};

/// \ingroup legacy
/// Off-screen RGB bitmap with its own canvas. A size write keeps the pixels that
/// the old and new size share and fills the rest with the canvas brush colour.
/// Sizes are bounded (MaxSide per side, MaxPixels in all): a larger request
/// raises Exception instead of allocating.
class WEQBARCODE_EXPORT TBitmap {
public:
    static constexpr std::int32_t MaxSide = 16384; ///< The longest side, in pixels.
    static constexpr std::int64_t MaxPixels = std::int64_t(4096) * 4096; ///< The most pixels in all.

    /// An empty bitmap, 0 x 0.
    TBitmap();
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    /// The size in pixels. A write keeps the shared pixels and fills the rest
    /// with the brush colour; beyond the bounds it raises Exception.
    ///@{
    std::int32_t Width() const;
    std::int32_t Height() const;
    void SetWidth(std::int32_t Width);
    void SetHeight(std::int32_t Height);
    void SetSize(std::int32_t Width, std::int32_t Height);
    ///@}
    /// The canvas that draws on the bitmap; it stays the same across size changes.
    TCanvas& Canvas();
    /// Row Y as 0xFFRRGGBB pixels, for reading many pixels at once; null
    /// outside the bitmap.
    const std::uint32_t* ScanLine(std::int32_t Y) const;
    /// Pixels from one row to the next.
    std::int32_t Stride() const;

private:
    struct TImpl;
    std::unique_ptr<TImpl> d;
};
