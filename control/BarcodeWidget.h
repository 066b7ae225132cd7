// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

#include "Barcode.h"
#include "../ean/Export.h"

#include <QColor>
#include <QString>
#include <QWidget>

#include <memory>

class QPrinter;

namespace WEQ {

/// \file
/// \ingroup qtstyle
/// The widget WEQ::BarcodeWidget; <WEQBarCode/BarcodeWidget.h> includes it.

/// \ingroup qtstyle
/// An EAN-13 symbol, or another of the EAN/UPC family (`symbology`, with an
/// optional 2- or 5-digit `addOn`), as a Qt widget: properties with change
/// signals and slot setters, QColor colours, size hints for layouts.
///
/// It never resizes itself: it draws the largest whole-module symbol that fits
/// its rectangle, in whole device pixels, placed by `alignment`; with
/// `keepAspectRatio` the symbol is 79 modules high, otherwise as high as the
/// rectangle (and the module width at most a 18th of it). A rectangle that
/// cannot hold a symbol of one device pixel per module shows only the
/// background. Symbols stay within TBitmap's bounds: a larger rectangle gets the
/// largest symbol within them.
///
/// Text written to `gtin` or `text` is read as WEQ::Barcode reads it:
/// strictly by default (spaces around it and between printed digit groups
/// ignored, anything else that is not what the symbology takes refused, with
/// the reason in `errorString`, and only the background shown), or with
/// `strict` off completed (only the first digits count, non-digits become '0',
/// the check digit is computed afresh; `warnings` says what changed). `text`
/// keeps what was written and `inputValid` says whether it (and the add-on)
/// already was what the symbology takes, so an application can flag a typo
/// instead of printing another product. An invalid colour stands for the
/// default; the colours are black bars and digits on white whatever the
/// palette, because scanners need dark on light. A background with alpha 0
/// leaves what is behind the widget showing; bars and digits are drawn opaque.
///
/// Everything but keepAspectRatio and alignment is the widget's WEQ::Barcode
/// (`barcode`), which it draws; save and print write it at its true size
/// (`xDimension`). `quietZoneMarker` is the older name of `quietZoneMarks`,
/// kept so that existing forms load.
///
/// Signals are emitted only on a real change, after the widget has taken it.
class WEQBARCODE_EXPORT BarcodeWidget : public QWidget {
    Q_OBJECT
    /// The completed digits the symbol carries; writing it writes text.
    Q_PROPERTY(QString gtin READ gtin WRITE setGtin NOTIFY gtinChanged)
    /// The text as last written, read for the symbology.
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
    /// Whether the text and add-on were exactly what the symbology takes.
    Q_PROPERTY(bool inputValid READ inputValid NOTIFY inputValidChanged)
    /// The colour of the bars; black by default.
    Q_PROPERTY(QColor barColor READ barColor WRITE setBarColor NOTIFY barColorChanged)
    /// The colour behind the symbol; white by default, alpha 0 for none.
    Q_PROPERTY(QColor backgroundColor READ backgroundColor WRITE setBackgroundColor NOTIFY backgroundColorChanged)
    /// The colour of the human-readable digits; black by default.
    Q_PROPERTY(QColor textColor READ textColor WRITE setTextColor NOTIFY textColorChanged)
    /// Whether the quiet-zone marks ('>', EAN-8's '<') are drawn.
    Q_PROPERTY(bool quietZoneMarks READ quietZoneMarks WRITE setQuietZoneMarks NOTIFY quietZoneMarksChanged)
    /// The older name of quietZoneMarks, kept so that existing forms load.
    Q_PROPERTY(bool quietZoneMarker READ quietZoneMarker WRITE setQuietZoneMarker NOTIFY quietZoneMarkerChanged)
    /// Whether the symbol stays 79 modules high rather than filling the height.
    Q_PROPERTY(bool keepAspectRatio READ keepAspectRatio WRITE setKeepAspectRatio NOTIFY keepAspectRatioChanged)
    /// Where the symbol sits in the widget.
    Q_PROPERTY(Qt::Alignment alignment READ alignment WRITE setAlignment NOTIFY alignmentChanged)
    /// The symbology the text is read for.
    Q_PROPERTY(WEQ::Barcode::Symbology symbology READ symbology WRITE setSymbology NOTIFY symbologyChanged)
    /// The 2- or 5-digit add-on; empty for none.
    Q_PROPERTY(QString addOn READ addOn WRITE setAddOn NOTIFY addOnChanged)
    /// Whether a text that is not what the symbology takes is refused rather than completed.
    Q_PROPERTY(bool strict READ strict WRITE setStrict NOTIFY strictChanged)
    /// The module width in millimetres that save and print draw.
    Q_PROPERTY(double xDimension READ xDimension WRITE setXDimension NOTIFY xDimensionChanged)
    /// The barcode the widget draws: every property but keepAspectRatio and alignment.
    Q_PROPERTY(WEQ::Barcode barcode READ barcode WRITE setBarcode NOTIFY barcodeChanged)
    /// Why nothing is drawn or the last save failed; empty when neither.
    Q_PROPERTY(QString errorString READ errorString NOTIFY errorStringChanged)
    /// What GS1's rules say of printing the barcode.
    Q_PROPERTY(QStringList warnings READ warnings NOTIFY warningsChanged)

public:
    /// The symbologies, as WEQ::Barcode names them.
    using Symbology = Barcode::Symbology;

    /// A widget with no text yet: it shows the background until one is written.
    explicit BarcodeWidget(QWidget* parent = nullptr);
    /// A widget showing text's EAN-13 symbol.
    explicit BarcodeWidget(const QString& text, QWidget* parent = nullptr);
    ~BarcodeWidget() override;

    /// The completed digits the symbol carries: 13 for EAN-13, 8 for EAN-8,
    /// 12 for UPC-A, 8 for UPC-E (number system, six digits, check digit).
    QString gtin() const;
    /// What was last written to gtin or text; empty after construction.
    QString text() const;
    /// The text (and add-on) was exactly what the symbology takes, for an
    /// X-dimension the outputs take.
    bool inputValid() const;
    /// The colours of the bars, the background and the digits.
    ///@{
    QColor barColor() const;
    QColor backgroundColor() const;
    QColor textColor() const;
    ///@}
    /// The '>' in the right quiet zone (EAN-8's '<' too); on by default.
    bool quietZoneMarks() const;
    /// The older name of quietZoneMarks.
    bool quietZoneMarker() const { return quietZoneMarks(); }
    /// 79 modules high; on by default.
    bool keepAspectRatio() const;
    /// Where the symbol sits in the rectangle; centred by default. As in
    /// QStyle::alignedRect, no horizontal flag means left, no vertical one top.
    Qt::Alignment alignment() const;
    /// EAN-13 by default.
    Symbology symbology() const;
    /// The add-on's text, as written: empty for none, else completed to 2 or 5
    /// digits (up to 2 characters give 2).
    QString addOn() const;
    /// The barcode's strict and xDimension: on, and 0.330 mm, by default.
    ///@{
    bool strict() const;
    double xDimension() const;
    ///@}
    /// The barcode drawn: the text and every property but keepAspectRatio and alignment.
    WEQ::Barcode barcode() const;
    /// Why the last save failed; otherwise why the text is not yet what the
    /// symbology takes (the barcode's errorString); empty when neither.
    QString errorString() const;
    /// What GS1's rules say of printing the barcode (Barcode::warnings).
    QStringList warnings() const;

    /// The symbol at its true size (the barcode's xDimension) into a file,
    /// its format from the suffix: false with the reason in errorString.
    Q_INVOKABLE bool save(const QString& path, int dpi = 600);
    /// The symbol at its true size at the top-left of the printer's printable
    /// area, on the page the printer is at; begins and ends the painting.
    bool print(QPrinter* printer);

    /// Module width 3 at the symbology's nominal height (EAN-13 79 modules).
    QSize sizeHint() const override;
    /// Module width 1.
    QSize minimumSizeHint() const override;
    /// With keepAspectRatio: the height of the symbol that the width holds.
    ///@{
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    ///@}

public slots:
    /// Both write the text; gtin reads back completed, text as written.
    ///@{
    void setGtin(const QString& text);
    void setText(const QString& text);
    ///@}
    /// Writes barColor; the change signals follow a real change.
    void setBarColor(const QColor& color);
    /// Writes backgroundColor; the change signals follow a real change.
    void setBackgroundColor(const QColor& color);
    /// Writes textColor; the change signals follow a real change.
    void setTextColor(const QColor& color);
    /// Writes quietZoneMarks; the change signals follow a real change.
    void setQuietZoneMarks(bool on);
    /// Writes quietZoneMarker; the change signals follow a real change.
    void setQuietZoneMarker(bool on) { setQuietZoneMarks(on); }
    /// Writes keepAspectRatio; the change signals follow a real change.
    void setKeepAspectRatio(bool on);
    /// Writes alignment; the change signals follow a real change.
    void setAlignment(Qt::Alignment alignment);
    /// Writes symbology; the change signals follow a real change.
    void setSymbology(Symbology symbology);
    /// Writes addOn; the change signals follow a real change.
    void setAddOn(const QString& addOn);
    /// Writes strict; the change signals follow a real change.
    void setStrict(bool strict);
    /// Writes xDimension; the change signals follow a real change.
    void setXDimension(double millimetres);
    /// Writes barcode; the change signals follow a real change.
    void setBarcode(const WEQ::Barcode& barcode);

signals:
    /// gtin took a new value.
    void gtinChanged(const QString& gtin);
    /// text took a new value.
    void textChanged(const QString& text);
    /// inputValid took a new value.
    void inputValidChanged(bool valid);
    /// barColor took a new value.
    void barColorChanged(const QColor& color);
    /// backgroundColor took a new value.
    void backgroundColorChanged(const QColor& color);
    /// textColor took a new value.
    void textColorChanged(const QColor& color);
    /// quietZoneMarks took a new value.
    void quietZoneMarksChanged(bool on);
    /// quietZoneMarker took a new value.
    void quietZoneMarkerChanged(bool on);
    /// keepAspectRatio took a new value.
    void keepAspectRatioChanged(bool on);
    /// alignment took a new value.
    void alignmentChanged(Qt::Alignment alignment);
    /// symbology took a new value.
    void symbologyChanged(WEQ::Barcode::Symbology symbology);
    /// addOn took a new value.
    void addOnChanged(const QString& addOn);
    /// strict took a new value.
    void strictChanged(bool strict);
    /// xDimension took a new value.
    void xDimensionChanged(double millimetres);
    /// barcode took a new value.
    void barcodeChanged(const WEQ::Barcode& barcode);
    /// errorString took a new value.
    void errorStringChanged(const QString& errorString);
    /// warnings took a new value.
    void warningsChanged(const QStringList& warnings);

protected:
    /// Draws the barcode as Barcode::paint(QPainter*, QRectF) does in the widget's rectangle.
    void paintEvent(QPaintEvent* event) override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace WEQ
