// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

#include "control/BarcodeHolder_p.h"

#include <WEQBarCode/Barcode.h>

#include <QColor>
#include <QImage>
#include <QQuickItem>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace WEQ {

// The QML type Barcode: BarcodeWidget's properties (without alignment) on a
// scene-graph item, all but keepAspectRatio those of its WEQ::Barcode. The
// symbol is rendered on the GUI thread when the item is polished, uploaded as
// a texture of whole device pixels and shown centred on whole device pixels
// of the window, unfiltered; the background, when not fully transparent,
// covers the whole item.
class BarcodeItem : public QQuickItem {
    Q_OBJECT
    QML_NAMED_ELEMENT(Barcode)
    // Barcode.UpcA and the rest: the value type's one enumeration.
    QML_EXTENDED_NAMESPACE(WEQ::Barcode)
    Q_PROPERTY(QString gtin READ gtin WRITE setGtin NOTIFY gtinChanged)
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
    Q_PROPERTY(bool inputValid READ inputValid NOTIFY inputValidChanged)
    Q_PROPERTY(QColor barColor READ barColor WRITE setBarColor NOTIFY barColorChanged)
    Q_PROPERTY(QColor backgroundColor READ backgroundColor WRITE setBackgroundColor NOTIFY backgroundColorChanged)
    Q_PROPERTY(QColor textColor READ textColor WRITE setTextColor NOTIFY textColorChanged)
    Q_PROPERTY(bool quietZoneMarks READ quietZoneMarks WRITE setQuietZoneMarks NOTIFY quietZoneMarksChanged)
    // The older name of quietZoneMarks, kept so that existing QML loads.
    Q_PROPERTY(bool quietZoneMarker READ quietZoneMarks WRITE setQuietZoneMarks NOTIFY quietZoneMarkerChanged)
    Q_PROPERTY(bool keepAspectRatio READ keepAspectRatio WRITE setKeepAspectRatio NOTIFY keepAspectRatioChanged)
    Q_PROPERTY(WEQ::Barcode::Symbology symbology READ symbology WRITE setSymbology NOTIFY symbologyChanged)
    Q_PROPERTY(QString addOn READ addOn WRITE setAddOn NOTIFY addOnChanged)
    Q_PROPERTY(bool strict READ strict WRITE setStrict NOTIFY strictChanged)
    Q_PROPERTY(double xDimension READ xDimension WRITE setXDimension NOTIFY xDimensionChanged)
    Q_PROPERTY(WEQ::Barcode barcode READ barcode WRITE setBarcode NOTIFY barcodeChanged)
    Q_PROPERTY(QString errorString READ errorString NOTIFY errorStringChanged)
    Q_PROPERTY(QStringList warnings READ warnings NOTIFY warningsChanged)

public:
    using Symbology = Barcode::Symbology;

    explicit BarcodeItem(QQuickItem* parent = nullptr);

    QString gtin() const;
    QString text() const;
    bool inputValid() const;
    QColor barColor() const;
    QColor backgroundColor() const;
    QColor textColor() const;
    bool quietZoneMarks() const;
    bool strict() const;
    double xDimension() const;
    bool keepAspectRatio() const;
    Symbology symbology() const;
    QString addOn() const;
    WEQ::Barcode barcode() const;
    // Why the last save failed, otherwise why the text is not yet what the
    // symbology takes; empty when neither.
    QString errorString() const;
    // What GS1's rules say of printing the barcode (Barcode::warnings).
    QStringList warnings() const;

    // The symbol at its true size into a file, its format from the suffix:
    // false with the reason in errorString. The path is a local file's name
    // or a file: URL (a string or a url, as Qt.resolvedUrl gives); URLs of
    // other schemes are refused. The dpi as QML gives it, any number.
    Q_INVOKABLE bool save(const QVariant& path, double dpi = 600);

public slots:
    void setGtin(const QString& text);
    void setText(const QString& text);
    void setBarColor(const QColor& color);
    void setBackgroundColor(const QColor& color);
    void setTextColor(const QColor& color);
    void setQuietZoneMarks(bool on);
    void setStrict(bool strict);
    void setXDimension(double millimetres);
    void setKeepAspectRatio(bool on);
    void setSymbology(Symbology symbology);
    void setAddOn(const QString& addOn);
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
    void strictChanged(bool strict);
    void xDimensionChanged(double millimetres);
    void keepAspectRatioChanged(bool on);
    void symbologyChanged(WEQ::Barcode::Symbology symbology);
    void addOnChanged(const QString& addOn);
    void barcodeChanged(const WEQ::Barcode& barcode);
    void errorStringChanged(const QString& errorString);
    void warningsChanged(const QStringList& warnings);

protected:
    void geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) override;
    void itemChange(ItemChange change, const ItemChangeData& value) override;
    void updatePolish() override;
    QSGNode* updatePaintNode(QSGNode* old, UpdatePaintNodeData* data) override;

private:
    // Render again before the next frame.
    void Redraw();
    void UpdateImplicitSize();

    TBarcodeHolder FHolder;
    bool FKeepAspectRatio = true;
    // Handed from the GUI thread's polish to the scene graph's sync.
    QImage FShown;
    QRectF FShownRect;
    qint64 FUploadedKey = 0;
};

} // namespace WEQ
