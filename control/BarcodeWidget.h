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

// An EAN-13 symbol, or another of the EAN/UPC family (`symbology`, with an
// optional 2- or 5-digit `addOn`), as a Qt widget: properties with change
// signals and slot setters, QColor colours, size hints for layouts.
//
// It never resizes itself: it draws the largest whole-module symbol that fits
// its rectangle, in whole device pixels, placed by `alignment`; with
// `keepAspectRatio` the symbol is 79 modules high, otherwise as high as the
// rectangle (and the module width at most a 18th of it). A rectangle that
// cannot hold a symbol of one device pixel per module shows only the
// background. Symbols stay within TBitmap's bounds: a larger rectangle gets the
// largest symbol within them.
//
// Text written to `gtin` or `text` is read as WEQ::Barcode reads it:
// strictly by default (spaces around it and between printed digit groups
// ignored, anything else that is not what the symbology takes refused, with
// the reason in `errorString`, and only the background shown), or with
// `strict` off completed (only the first digits count, non-digits become '0',
// the check digit is computed afresh; `warnings` says what changed). `text`
// keeps what was written and `inputValid` says whether it (and the add-on)
// already was what the symbology takes, so an application can flag a typo
// instead of printing another product. An invalid colour stands for the
// default; the colours are black bars and digits on white whatever the
// palette, because scanners need dark on light. A background with alpha 0
// leaves what is behind the widget showing; bars and digits are drawn opaque.
//
// Everything but keepAspectRatio and alignment is the widget's WEQ::Barcode
// (`barcode`), which it draws; save and print write it at its true size
// (`xDimension`). `quietZoneMarker` is the older name of `quietZoneMarks`,
// kept so that existing forms load.
//
// Signals are emitted only on a real change, after the widget has taken it.
class WEQBARCODE_EXPORT BarcodeWidget : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString gtin READ gtin WRITE setGtin NOTIFY gtinChanged)
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
    Q_PROPERTY(bool inputValid READ inputValid NOTIFY inputValidChanged)
    Q_PROPERTY(QColor barColor READ barColor WRITE setBarColor NOTIFY barColorChanged)
    Q_PROPERTY(QColor backgroundColor READ backgroundColor WRITE setBackgroundColor NOTIFY backgroundColorChanged)
    Q_PROPERTY(QColor textColor READ textColor WRITE setTextColor NOTIFY textColorChanged)
    Q_PROPERTY(bool quietZoneMarks READ quietZoneMarks WRITE setQuietZoneMarks NOTIFY quietZoneMarksChanged)
    Q_PROPERTY(bool quietZoneMarker READ quietZoneMarker WRITE setQuietZoneMarker NOTIFY quietZoneMarkerChanged)
    Q_PROPERTY(bool keepAspectRatio READ keepAspectRatio WRITE setKeepAspectRatio NOTIFY keepAspectRatioChanged)
    Q_PROPERTY(Qt::Alignment alignment READ alignment WRITE setAlignment NOTIFY alignmentChanged)
    Q_PROPERTY(WEQ::Barcode::Symbology symbology READ symbology WRITE setSymbology NOTIFY symbologyChanged)
    Q_PROPERTY(QString addOn READ addOn WRITE setAddOn NOTIFY addOnChanged)
    Q_PROPERTY(bool strict READ strict WRITE setStrict NOTIFY strictChanged)
    Q_PROPERTY(double xDimension READ xDimension WRITE setXDimension NOTIFY xDimensionChanged)
    Q_PROPERTY(WEQ::Barcode barcode READ barcode WRITE setBarcode NOTIFY barcodeChanged)
    Q_PROPERTY(QString errorString READ errorString NOTIFY errorStringChanged)
    Q_PROPERTY(QStringList warnings READ warnings NOTIFY warningsChanged)

public:
    using Symbology = Barcode::Symbology;

    explicit BarcodeWidget(QWidget* parent = nullptr);
    explicit BarcodeWidget(const QString& text, QWidget* parent = nullptr);
    ~BarcodeWidget() override;

    // The completed digits the symbol carries: 13 for EAN-13, 8 for EAN-8,
    // 12 for UPC-A, 8 for UPC-E (number system, six digits, check digit).
    QString gtin() const;
    // What was last written to gtin or text; empty after construction.
    QString text() const;
    // The text (and add-on) was exactly what the symbology takes, for an
    // X-dimension the outputs take.
    bool inputValid() const;
    QColor barColor() const;
    QColor backgroundColor() const;
    QColor textColor() const;
    // The '>' in the right quiet zone (EAN-8's '<' too); on by default.
    bool quietZoneMarks() const;
    // The older name of quietZoneMarks.
    bool quietZoneMarker() const { return quietZoneMarks(); }
    // 79 modules high; on by default.
    bool keepAspectRatio() const;
    // Where the symbol sits in the rectangle; centred by default. As in
    // QStyle::alignedRect, no horizontal flag means left, no vertical one top.
    Qt::Alignment alignment() const;
    // EAN-13 by default.
    Symbology symbology() const;
    // The add-on's text, as written: empty for none, else completed to 2 or 5
    // digits (up to 2 characters give 2).
    QString addOn() const;
    // The barcode's strict and xDimension: on, and 0.330 mm, by default.
    bool strict() const;
    double xDimension() const;
    WEQ::Barcode barcode() const;
    // Why the last save failed; otherwise why the text is not yet what the
    // symbology takes (the barcode's errorString); empty when neither.
    QString errorString() const;
    // What GS1's rules say of printing the barcode (Barcode::warnings).
    QStringList warnings() const;

    // The symbol at its true size (the barcode's xDimension) into a file,
    // its format from the suffix: false with the reason in errorString.
    Q_INVOKABLE bool save(const QString& path, int dpi = 600);
    // The symbol at its true size at the top-left of the printer's printable
    // area, on the page the printer is at; begins and ends the painting.
    bool print(QPrinter* printer);

    // Module width 3 at the symbology's nominal height (EAN-13 79 modules).
    QSize sizeHint() const override;
    // Module width 1.
    QSize minimumSizeHint() const override;
    // With keepAspectRatio: the height of the symbol that the width holds.
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;

public slots:
    // Both write the text; gtin reads back completed, text as written.
    void setGtin(const QString& text);
    void setText(const QString& text);
    void setBarColor(const QColor& color);
    void setBackgroundColor(const QColor& color);
    void setTextColor(const QColor& color);
    void setQuietZoneMarks(bool on);
    void setQuietZoneMarker(bool on) { setQuietZoneMarks(on); }
    void setKeepAspectRatio(bool on);
    void setAlignment(Qt::Alignment alignment);
    void setSymbology(Symbology symbology);
    void setAddOn(const QString& addOn);
    void setStrict(bool strict);
    void setXDimension(double millimetres);
    void setBarcode(const WEQ::Barcode& barcode);

signals:
    void gtinChanged(const QString& gtin);
    void textChanged(const QString& text);
    void inputValidChanged(bool valid);
    void barColorChanged(const QColor& color);
    void backgroundColorChanged(const QColor& color);
    void textColorChanged(const QColor& color);
    void quietZoneMarksChanged(bool on);
    void quietZoneMarkerChanged(bool on);
    void keepAspectRatioChanged(bool on);
    void alignmentChanged(Qt::Alignment alignment);
    void symbologyChanged(WEQ::Barcode::Symbology symbology);
    void addOnChanged(const QString& addOn);
    void strictChanged(bool strict);
    void xDimensionChanged(double millimetres);
    void barcodeChanged(const WEQ::Barcode& barcode);
    void errorStringChanged(const QString& errorString);
    void warningsChanged(const QStringList& warnings);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace WEQ
