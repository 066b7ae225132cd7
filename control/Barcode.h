// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

#include "../ean/Export.h"

#include <QColor>
#include <QFlags>
#include <QMetaType>
#include <QPointF>
#include <QRectF>
#include <QSharedDataPointer>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringList>

class QDebug;
class QImage;
class QPainter;

/// \file
/// \ingroup qtstyle
/// The value type WEQ::Barcode; <WEQBarCode/Barcode.h> includes it.

namespace WEQ {

class BarcodePrivate;

/// \ingroup qtstyle
/// A barcode of the EAN/UPC family as a Qt value type: the text and options
/// that make one symbol, implicitly shared and cheap to copy like QPen or
/// QFont, comparable, and able to draw itself.
///
/// The text is read for the symbology strictly by default: spaces around it
/// and between digit groups as printed under a symbol ("4 006381 333931") are
/// ignored, and anything else that is not exactly what the symbology takes is
/// refused with the reason (empty text too): no other product is ever drawn
/// without a word. With `strict` off the text is completed instead, as the
/// EAN-13 control completes its GTIN (only the first digits count, non-digits
/// become '0', the check digit is computed afresh), and `warnings` says what
/// completion changed. `Auto` takes a GTIN
/// of 8, 12, 13 or 14 digits with its check digit and picks the symbol that
/// carries it. `Isbn`, `Ismn` and `Issn` read a book's, printed music's or a
/// serial's number as it is written ("ISBN 978-3-16-148410-0", an ISBN-10,
/// "M-2306-7118-7", "0317-8471", always strictly) into its EAN-13, with the
/// number printed above the bars; `Auto` takes these too, recognised by their
/// form, and a GTIN beginning 978, 979 or 977 as the book, music or serial it is.
///
/// It draws at its true size: `paint(QPainter*, QPointF)` on any painter's
/// device (a printer page, a QPdfWriter, a QSvgGenerator, an image, a widget)
/// in the painter's own coordinates, as Qt draws text and shapes: the device's
/// millimetres as its window, viewport and device pixel ratio present them
/// (on a page whose window makes one unit a millimetre, one unit is one
/// millimetre; on a high-DPI image the same logical size as at ratio 1, in
/// more dots), then the world transform (a scale for a preview, a rotation).
/// Wherever the whole transform is axis-aligned every module is a whole number
/// of the device's dots; turned or sheared, the exact geometry is drawn. Give
/// vector devices a fine resolution (600 dpi or more): their dots are the ones
/// modules snap to; `sizeForDpi` says what a resolution draws. `paint(QPainter*, QRectF)`
/// draws for screens instead: the largest symbol of whole device pixels a
/// module that fits the rectangle. Neither begins nor ends painting, nor
/// touches the painter's state beyond the call.
///
/// Files are written whole or not at all, as every export of the library is.
/// All of it may be used on any thread, each object on one at a time.
class WEQBARCODE_EXPORT Barcode {
    Q_GADGET
    /// The text as written, read for the symbology.
    Q_PROPERTY(QString text READ text WRITE setText)
    /// What the text is read as; EAN-13 by default.
    Q_PROPERTY(Symbology symbology READ symbology WRITE setSymbology)
    /// The 2- or 5-digit add-on; empty for none.
    Q_PROPERTY(QString addOn READ addOn WRITE setAddOn)
    /// Whether a text that is not exactly what the symbology takes is refused rather than completed.
    Q_PROPERTY(bool strict READ strict WRITE setStrict)
    /// The colour of the bars.
    Q_PROPERTY(QColor barColor READ barColor WRITE setBarColor)
    /// The colour behind the symbol; alpha 0 for none.
    Q_PROPERTY(QColor backgroundColor READ backgroundColor WRITE setBackgroundColor)
    /// The colour of the human-readable digits.
    Q_PROPERTY(QColor textColor READ textColor WRITE setTextColor)
    /// Whether the quiet-zone marks ('>', EAN-8's '<') are drawn.
    Q_PROPERTY(bool quietZoneMarks READ quietZoneMarks WRITE setQuietZoneMarks)
    /// The module width in millimetres.
    Q_PROPERTY(double xDimension READ xDimension WRITE setXDimension)
    /// The main bars' height in millimetres; 0 for GS1's nominal.
    Q_PROPERTY(double barHeight READ barHeight WRITE setBarHeight)
    /// What is taken from every bar for the press's ink spread, in millimetres.
    Q_PROPERTY(double barWidthReduction READ barWidthReduction WRITE setBarWidthReduction)
    /// Whether a symbol can be drawn (isValid()).
    Q_PROPERTY(bool valid READ isValid)
    /// Why nothing can be drawn, or why the text is not exactly what the symbology takes.
    Q_PROPERTY(QString errorString READ errorString)
    /// The digits the text reads to, check digit included.
    Q_PROPERTY(QString gtin READ gtin)
    /// The symbology, the digits and the add-on, as people write them.
    Q_PROPERTY(QString title READ title)
    /// The symbol in modules, as a screen shows it.
    Q_PROPERTY(QSize sizeInModules READ sizeInModules)
    /// The symbol at xDimension, in millimetres.
    Q_PROPERTY(QSizeF size READ size)
    /// What the reading did not take as written, and what GS1's rules say of printing it.
    Q_PROPERTY(QStringList warnings READ warnings)

public:
    /// What the text is read as.
    enum Symbology {
        Ean13, ///< EAN-13, 13 digits
        Ean8,  ///< EAN-8, 8 digits
        UpcA,  ///< UPC-A, 12 digits
        UpcE,  ///< UPC-E, 8 digits: a UPC-A with its zeros suppressed
        Auto,  ///< the symbol that carries the GTIN (8, 12, 13 or 14 digits) or book number written
        Isbn,  ///< a book's number, ISBN-13 or ISBN-10, into its EAN-13
        Ismn,  ///< printed music's number into its EAN-13
        Issn   ///< a serial's number into its EAN-13 (977)
    };
    Q_ENUM(Symbology)

    /// The properties, as flags: which of them two barcodes differ in.
    enum Property {
        TextProperty = 0x1,                ///< text
        SymbologyProperty = 0x2,           ///< symbology
        AddOnProperty = 0x4,               ///< addOn
        StrictProperty = 0x8,              ///< strict
        BarColorProperty = 0x10,           ///< barColor, or the bars' spot ink
        BackgroundColorProperty = 0x20,    ///< backgroundColor, or its spot ink
        TextColorProperty = 0x40,          ///< textColor, or its spot ink
        QuietZoneMarksProperty = 0x80,     ///< quietZoneMarks
        XDimensionProperty = 0x100,        ///< xDimension
        BarHeightProperty = 0x200,         ///< barHeight
        BarWidthReductionProperty = 0x400, ///< barWidthReduction
    };
    /// A set of Property flags.
    Q_DECLARE_FLAGS(Properties, Property)

    /// An EAN-13 of no text yet: not valid until a text is set.
    Barcode();
    /// The barcode of text read as symbology, the other properties their defaults.
    explicit Barcode(const QString& text, Symbology symbology = Ean13);
    /// Copies share the data until one of them changes, as Qt's value types do.
    ///@{
    Barcode(const Barcode& other);
    Barcode(Barcode&& other) noexcept;
    Barcode& operator=(const Barcode& other);
    Barcode& operator=(Barcode&& other) noexcept;
    ///@}
    ~Barcode();
    /// Swaps the two barcodes' data, which never fails.
    void swap(Barcode& other) noexcept { d.swap(other.d); }

    // --- Data ---------------------------------------------------------------
    /// The text as written, read for the symbology.
    ///@{
    QString text() const;
    void setText(const QString& text);
    ///@}
    /// EAN-13 by default; a value outside the enumeration is taken as EAN-13.
    ///@{
    Symbology symbology() const;
    void setSymbology(Symbology symbology);
    ///@}
    /// Empty for none, else 2 or 5 digits (completed as the text is, unless strict).
    ///@{
    QString addOn() const;
    void setAddOn(const QString& addOn);
    ///@}
    /// On by default; off, what the strict reading refuses is completed
    /// instead, and the warnings say what changed.
    ///@{
    bool strict() const;
    void setStrict(bool strict);
    ///@}

    // --- Read back ------------------------------------------------------------
    /// A symbol can be drawn: the text is read (or, not strict, completed) to
    /// one and the X-dimension is one the outputs take; otherwise nothing is
    /// drawn or saved and errorString says why.
    bool isValid() const;
    /// Why nothing can be drawn (an X-dimension out of range first), or else
    /// why the text and add-on are not exactly what the symbology takes, as
    /// the strict reading says it ("position 13: the check digit of
    /// 400638133393 is 1, not 2"), whether or not strict is set; empty when
    /// they are. What completion then changed is among the warnings.
    QString errorString() const;
    /// The digits the text reads to, check digit included (UPC-E: its eight);
    /// empty when it reads to none.
    QString gtin() const;
    /// The symbology, the digits and the add-on: "UPC-E 04252614 +12".
    QString title() const;

    // --- Look -----------------------------------------------------------------
    /// Black bars and digits on white by default; an invalid colour stands for
    /// the default, a background of alpha 0 for none (no background box in
    /// the files: the quiet zones are the paper's). A colour made in
    /// CMYK (QColor::fromCmykF) is process inks in the PDF and EPS files
    /// (DeviceCMYK, setcmykcolor); the digits then take the bars' ink unless
    /// given a colour of their own, and a white background behind them is
    /// CMYK white. PNG, SVG, screens and paint() draw its RGB: Qt's PDF engine
    /// has no colour model and writes every colour as RGB, so paint() into a
    /// QPdfWriter or QPrinter gives an RGB file; toPdf() and save() keep the
    /// inks.
    ///@{
    QColor barColor() const;
    void setBarColor(const QColor& color);
    QColor backgroundColor() const;
    void setBackgroundColor(const QColor& color);
    QColor textColor() const;
    void setTextColor(const QColor& color);
    ///@}
    /// Spot inks: a named ink on a plate of its own in the PDF and EPS files
    /// (a Separation whose alternate is the colour's CMYK, for proofs), the
    /// role's colour becoming that CMYK colour, which screens, PNG, SVG and
    /// the grade go by. The name is 1 to 63 printable ASCII characters without
    /// '(', ')' or ',' and none of All, None, Cyan, Magenta, Yellow, Black;
    /// another is refused (false, nothing changes). Setting the role's colour
    /// again takes the spot ink away.
    enum ColorRole {
        BarRole,        ///< the bars
        BackgroundRole, ///< the background
        TextRole        ///< the human-readable digits
    };
    Q_ENUM(ColorRole)
    /// Gives role the spot ink name, shown as color; false for a name refused.
    bool setSpotColor(ColorRole role, const QString& name, const QColor& color);
    /// The role's spot ink's name; empty for none.
    QString spotColorName(ColorRole role) const;

    /// The '>' (and EAN-8's '<') in the quiet zones; on by default.
    ///@{
    bool quietZoneMarks() const;
    void setQuietZoneMarks(bool on);
    ///@}
    /// The module width in millimetres, 0.330 (100 %) by default; a value that
    /// is not finite or outside 0.1 .. 10 mm makes nothing drawable.
    ///@{
    double xDimension() const;
    void setXDimension(double millimetres);
    ///@}
    /// The whole number of dots a module takes at dpi (at least one: the
    /// nearest to xDimension, preferring one inside GS1's 0.264 .. 0.660 mm),
    /// and what that measures in millimetres.
    ///@{
    int moduleWidthForDpi(int dpi) const;
    double xDimensionForDpi(int dpi) const;
    ///@}
    /// The main bars' height in millimetres, the guard bars 5 modules longer;
    /// 0 (the default) for GS1's nominal 69.24 modules (EAN-8 55.24). A
    /// value that is not finite or outside 0 .. 1000 mm makes nothing
    /// drawable; below the nominal height the warnings say so.
    ///@{
    double barHeight() const;
    void setBarHeight(double millimetres);
    ///@}
    /// Taken from every bar for a press's ink spread, in millimetres, 0 by
    /// default: on a device of whole dots the nearest whole number of them.
    /// A value that is not finite, negative, or leaves the narrowest bar less
    /// than half a module makes nothing drawable.
    ///@{
    double barWidthReduction() const;
    void setBarWidthReduction(double millimetres);
    ///@}

    // --- Size -----------------------------------------------------------------
    /// Modules across (quiet zones and add-on included) and down as a screen
    /// shows it (79, EAN-8 65, a book's symbol 9 more for its number line);
    /// what the vector files measure in millimetres at xDimension (the module a
    /// whole number of micrometres), the bars' height (barHeight, or GS1's
    /// nominal) and the digits below them, and a book's number line above;
    /// empty where nothing can be drawn.
    ///@{
    QSize sizeInModules() const;
    QSizeF size() const;
    ///@}
    /// What paint and toImage draw at dpi, in millimetres: the modules snapped
    /// to whole dots (at 1200 dpi 0.330 mm is 16 dots, 0.3387 mm); empty where
    /// nothing can be drawn.
    QSizeF sizeForDpi(int dpi) const;

    // --- Output ---------------------------------------------------------------
    /// At its true size, its top-left at topLeftMillimetres (the device's
    /// millimetres, as the painter presents them) from the painter's origin.
    /// On Qt's PDF devices (QPdfWriter, QPrinter) the digits are the embedded
    /// OCR-B font's glyphs, which the file holds once, placed as the outlines
    /// other vector devices get. False (nothing drawn) where nothing can be
    /// drawn or the painter is not active.
    bool paint(QPainter* painter, const QPointF& topLeftMillimetres) const;
    /// For screens: the largest symbol of whole device pixels a module that
    /// fits rect (in the painter's coordinates), aligned in it as
    /// QStyle::alignedRect aligns; with keepAspectRatio at the nominal height,
    /// otherwise as high as rect (at least 18 modules). The background, unless
    /// of alpha 0, fills rect. Too small a rect shows the background alone.
    /// False where no symbol was drawn (too small a rect, nothing drawable, a
    /// painter not active).
    bool paint(QPainter* painter, const QRectF& rect, Qt::Alignment alignment = Qt::AlignCenter,
               bool keepAspectRatio = true) const;
    /// The symbol at dpi with the dots per inch recorded; null where nothing
    /// can be drawn (errorString, or an unusable dpi or size, says why).
    QImage toImage(int dpi) const;
    /// The symbol as paint(QPainter*, QRectF) shows it in a rectangle of size
    /// logical units whose top-left lies on device position deviceOrigin, at
    /// devicePixelRatio: its image of whole device pixels (null when none
    /// fits), and in place where it goes relative to the rectangle's top-left,
    /// its corners on whole device pixels. For scene graphs and other code that
    /// composes images itself; kept until anything that decides its pixels
    /// changes, so a repaint at the same size renders nothing.
    QImage screenImage(const QPointF& deviceOrigin, const QSizeF& size, qreal devicePixelRatio, QRectF* place,
                       Qt::Alignment alignment = Qt::AlignCenter, bool keepAspectRatio = true) const;
    /// The bytes of the files; empty where nothing can be drawn.
    ///@{
    QByteArray toPng(int dpi) const;
    QByteArray toSvg() const;
    QByteArray toPdf() const;
    ///@}
    /// The file at path, its format from the suffix (png, svg, pdf, eps; dpi for
    /// PNG), written whole or not at all; false with the reason in error.
    bool save(const QString& path, int dpi = 600, QString* error = nullptr) const;

    /// What the reading did not take as written (what completion changed, a
    /// text that reads as two numbers), then what GS1's rules say of printing
    /// it as its files are drawn (an X-dimension outside 0.264 .. 0.660 mm,
    /// colours a scanner's red light cannot tell apart, no background for the
    /// quiet zones, an add-on on EAN-8), a sentence each; empty where it
    /// cannot be drawn at all.
    QStringList warnings() const;

    /// The properties in which this and other differ.
    Properties differences(const Barcode& other) const;
    /// Equal in every property: the same symbol, drawn the same way.
    ///@{
    bool operator==(const Barcode& other) const;
    bool operator!=(const Barcode& other) const { return !(*this == other); }
    ///@}

private:
    QSharedDataPointer<BarcodePrivate> d;
};

/// A hash of every property, so that barcodes can key a QHash or QSet.
WEQBARCODE_EXPORT size_t qHash(const Barcode& barcode, size_t seed = 0) noexcept;
/// Writes the barcode for debugging: its title, or its text and why it is invalid, and its xDimension.
WEQBARCODE_EXPORT QDebug operator<<(QDebug debug, const Barcode& barcode);

} // namespace WEQ

Q_DECLARE_OPERATORS_FOR_FLAGS(WEQ::Barcode::Properties)
Q_DECLARE_SHARED(WEQ::Barcode)
Q_DECLARE_METATYPE(WEQ::Barcode)
