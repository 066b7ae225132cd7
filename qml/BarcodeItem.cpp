// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "BarcodeItem.h"

#include <WEQBarCode/control/BarcodeNotify.h>

#include <QQuickWindow>
#include <QSGImageNode>
#include <QSGRectangleNode>

namespace WEQ {

BarcodeItem::BarcodeItem(QQuickItem* parent) : QQuickItem(parent)
{
    setFlag(ItemHasContents);
    UpdateImplicitSize();
}

// Module width 3 at the nominal height, as BarcodeWidget's size hint.
void BarcodeItem::UpdateImplicitSize()
{
    const QSize Modules = FBarcode.sizeInModules();
    setImplicitSize(3 * Modules.width(), 3 * Modules.height());
}

QString BarcodeItem::gtin() const { return FBarcode.gtin(); }
QString BarcodeItem::text() const { return FBarcode.text(); }
bool BarcodeItem::inputValid() const { return FBarcode.errorString().isEmpty(); }
QColor BarcodeItem::barColor() const { return FBarcode.barColor(); }
QColor BarcodeItem::backgroundColor() const { return FBarcode.backgroundColor(); }
QColor BarcodeItem::textColor() const { return FBarcode.textColor(); }
bool BarcodeItem::quietZoneMarker() const { return FBarcode.quietZoneMarks(); }
bool BarcodeItem::keepAspectRatio() const { return FKeepAspectRatio; }
BarcodeItem::Symbology BarcodeItem::symbology() const { return Symbology(FBarcode.symbology()); }
QString BarcodeItem::addOn() const { return FBarcode.addOn(); }
Barcode BarcodeItem::barcode() const { return FBarcode; }
QStringList BarcodeItem::warnings() const { return FBarcode.warnings(); }

QString BarcodeItem::errorString() const { return FSaveError.isEmpty() ? FBarcode.errorString() : FSaveError; }

void BarcodeItem::setGtin(const QString& text) { setText(text); }

void BarcodeItem::setText(const QString& text) { setBarcodeProperty(*this, &Barcode::setText, text); }

void BarcodeItem::setSymbology(Symbology symbology)
{
    setBarcodeProperty(*this, &Barcode::setSymbology, Barcode::Symbology(symbology));
}

void BarcodeItem::setAddOn(const QString& addOn) { setBarcodeProperty(*this, &Barcode::setAddOn, addOn); }

void BarcodeItem::setBarColor(const QColor& color) { setBarcodeProperty(*this, &Barcode::setBarColor, color); }

void BarcodeItem::setBackgroundColor(const QColor& color)
{
    setBarcodeProperty(*this, &Barcode::setBackgroundColor, color);
}

void BarcodeItem::setTextColor(const QColor& color) { setBarcodeProperty(*this, &Barcode::setTextColor, color); }

void BarcodeItem::setQuietZoneMarker(bool on) { setBarcodeProperty(*this, &Barcode::setQuietZoneMarks, on); }

void BarcodeItem::setBarcode(const Barcode& barcode)
{
    if (barcode == FBarcode)
        return;
    const Barcode Old = FBarcode;
    const QString OldError = errorString();
    const QStringList OldWarnings = warnings();
    FBarcode = barcode;
    FSaveError.clear();
    if (Old.sizeInModules() != barcode.sizeInModules())
        UpdateImplicitSize();
    Redraw();
    emitBarcodeChanges(*this, Old, barcode);
    if (errorString() != OldError)
        emit errorStringChanged(errorString());
    if (warnings() != OldWarnings)
        emit warningsChanged(warnings());
}

void BarcodeItem::setKeepAspectRatio(bool on)
{
    if (on == FKeepAspectRatio)
        return;
    FKeepAspectRatio = on;
    Redraw();
    emit keepAspectRatioChanged(on);
}

void BarcodeItem::SetErrorString(const QString& Reason)
{
    const QString Old = errorString();
    FSaveError = Reason;
    if (errorString() != Old)
        emit errorStringChanged(errorString());
}

bool BarcodeItem::save(const QString& path, int dpi)
{
    QString Reason;
    const bool Saved = FBarcode.save(path, dpi, &Reason);
    SetErrorString(Saved ? QString() : Reason);
    return Saved;
}

void BarcodeItem::Redraw()
{
    polish();
    update();
}

void BarcodeItem::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry)
{
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    // A move can change which device pixels the item's corners fall on.
    Redraw();
}

void BarcodeItem::itemChange(ItemChange change, const ItemChangeData& value)
{
    QQuickItem::itemChange(change, value);
    if (change == ItemSceneChange || change == ItemDevicePixelRatioHasChanged)
        Redraw();
}

// On the GUI thread, like every other drawing of the library.
void BarcodeItem::updatePolish()
{
    const double Ratio = window() ? window()->effectiveDevicePixelRatio() : 1.0;
    FShown = FBarcode.screenImage(mapToScene(QPointF(0, 0)) * Ratio, size(), Ratio, &FShownRect, Qt::AlignCenter,
                                  FKeepAspectRatio);
}

// On the render thread while the GUI thread waits, so the polished image and
// place can be read here.
QSGNode* BarcodeItem::updatePaintNode(QSGNode* old, UpdatePaintNodeData*)
{
    auto* Background = static_cast<QSGRectangleNode*>(old);
    if (!Background)
        Background = window()->createRectangleNode();
    Background->setRect(boundingRect());
    Background->setColor(FBarcode.backgroundColor());
    auto* Symbol = static_cast<QSGImageNode*>(Background->firstChild());
    if (FShown.isNull()) {
        if (Symbol) {
            Background->removeChildNode(Symbol);
            delete Symbol;
        }
        FUploadedKey = 0;
        return Background;
    }
    const bool Made = !Symbol;
    if (Made) {
        Symbol = window()->createImageNode();
        Symbol->setOwnsTexture(true);
        // One texel per device pixel: any filtering would blur the bar edges.
        Symbol->setFiltering(QSGTexture::Nearest);
    }
    if (Made || FUploadedKey != FShown.cacheKey()) {
        Symbol->setTexture(window()->createTextureFromImage(
            FShown,
            FShown.hasAlphaChannel() ? QQuickWindow::TextureHasAlphaChannel : QQuickWindow::CreateTextureOptions()));
        FUploadedKey = FShown.cacheKey();
    }
    Symbol->setSourceRect(QRectF(QPointF(0, 0), FShown.size()));
    Symbol->setRect(FShownRect);
    // Only a complete node goes into the tree: the software renderer reads
    // the texture as soon as the node is added.
    if (Made)
        Background->appendChildNode(Symbol);
    return Background;
}

} // namespace WEQ
