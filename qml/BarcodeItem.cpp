// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "BarcodeItem.h"

#include <QQuickWindow>
#include <QRegularExpression>
#include <QSGImageNode>
#include <QSGRectangleNode>
#include <QUrl>

#include <cmath>

namespace WEQ {

BarcodeItem::BarcodeItem(QQuickItem* parent) : QQuickItem(parent)
{
    setFlag(ItemHasContents);
    UpdateImplicitSize();
}

// Module width 3 at the nominal height, as BarcodeWidget's size hint.
void BarcodeItem::UpdateImplicitSize()
{
    const QSize Modules = FHolder.Symbol.sizeInModules();
    setImplicitSize(3 * Modules.width(), 3 * Modules.height());
}

QString BarcodeItem::gtin() const { return FHolder.Symbol.gtin(); }
QString BarcodeItem::text() const { return FHolder.Symbol.text(); }
bool BarcodeItem::inputValid() const { return FHolder.InputValid(); }
QColor BarcodeItem::barColor() const { return FHolder.Symbol.barColor(); }
QColor BarcodeItem::backgroundColor() const { return FHolder.Symbol.backgroundColor(); }
QColor BarcodeItem::textColor() const { return FHolder.Symbol.textColor(); }
bool BarcodeItem::quietZoneMarks() const { return FHolder.Symbol.quietZoneMarks(); }
bool BarcodeItem::strict() const { return FHolder.Symbol.strict(); }
double BarcodeItem::xDimension() const { return FHolder.Symbol.xDimension(); }
bool BarcodeItem::keepAspectRatio() const { return FKeepAspectRatio; }
Barcode::Symbology BarcodeItem::symbology() const { return FHolder.Symbol.symbology(); }
QString BarcodeItem::addOn() const { return FHolder.Symbol.addOn(); }
Barcode BarcodeItem::barcode() const { return FHolder.Symbol; }
QStringList BarcodeItem::warnings() const { return FHolder.Symbol.warnings(); }

QString BarcodeItem::errorString() const { return FHolder.ErrorString(); }

void BarcodeItem::setGtin(const QString& text) { setText(text); }

void BarcodeItem::setText(const QString& text) { setBarcodeProperty(*this, &Barcode::setText, text); }

void BarcodeItem::setSymbology(Symbology symbology) { setBarcodeProperty(*this, &Barcode::setSymbology, symbology); }
void BarcodeItem::setStrict(bool strict) { setBarcodeProperty(*this, &Barcode::setStrict, strict); }
void BarcodeItem::setXDimension(double millimetres) { setBarcodeProperty(*this, &Barcode::setXDimension, millimetres); }

void BarcodeItem::setAddOn(const QString& addOn) { setBarcodeProperty(*this, &Barcode::setAddOn, addOn); }

void BarcodeItem::setBarColor(const QColor& color) { setBarcodeProperty(*this, &Barcode::setBarColor, color); }

void BarcodeItem::setBackgroundColor(const QColor& color)
{
    setBarcodeProperty(*this, &Barcode::setBackgroundColor, color);
}

void BarcodeItem::setTextColor(const QColor& color) { setBarcodeProperty(*this, &Barcode::setTextColor, color); }

void BarcodeItem::setQuietZoneMarks(bool on) { setBarcodeProperty(*this, &Barcode::setQuietZoneMarks, on); }

void BarcodeItem::setBarcode(const Barcode& barcode)
{
    replaceBarcode(*this, FHolder, barcode, [this, &barcode](const Barcode& Old) {
        if (Old.sizeInModules() != barcode.sizeInModules())
            UpdateImplicitSize();
        Redraw();
    });
}

void BarcodeItem::setKeepAspectRatio(bool on)
{
    if (on == FKeepAspectRatio)
        return;
    FKeepAspectRatio = on;
    Redraw();
    emit keepAspectRatioChanged(on);
}

namespace {

// The local file a QML path names: a url's, a "scheme://..." string's or
// a file: string's local file, else the string as a path (a name holding a
// colon included). Empty, with the reason, for any other scheme.
QString LocalFile(const QVariant& Path, QString& Reason)
{
    QUrl Url;
    if (Path.metaType() == QMetaType::fromType<QUrl>()) {
        Url = Path.toUrl();
    } else {
        const QString Text = Path.toString();
        static const QRegularExpression Scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+://"));
        if (!Text.startsWith(QLatin1String("file:"), Qt::CaseInsensitive) && !Scheme.match(Text).hasMatch())
            return Text;
        Url = QUrl(Text);
    }
    if (Url.isLocalFile())
        return Url.toLocalFile();
    Reason = QStringLiteral("Cannot write %1: only local files (a path or a file: URL) can be written")
                 .arg(Url.toDisplayString());
    return {};
}

} // namespace

bool BarcodeItem::save(const QVariant& path, double dpi)
{
    QString Reason;
    const QString File = LocalFile(path, Reason);
    // A dpi no int holds is named as given rather than as its wrapped value.
    const bool Whole = std::isfinite(dpi) && dpi == std::floor(dpi) && std::abs(dpi) <= 1e9;
    if (File.isEmpty() && Reason.isEmpty())
        Reason = QStringLiteral("Cannot write: no file name");
    else if (!File.isEmpty() && !Whole)
        Reason = QStringLiteral("Cannot write %1: %2 dpi is not a whole number of dots per inch from 50 to 9600")
                     .arg(File)
                     .arg(dpi);
    else if (!File.isEmpty())
        return saveBarcode(*this, FHolder, File, int(dpi));
    // Refused before the barcode's save: the reason as a failed save's.
    const QString Old = errorString();
    FHolder.SaveError = Reason;
    if (errorString() != Old)
        emit errorStringChanged(errorString());
    return false;
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
    FShown = FHolder.Symbol.screenImage(mapToScene(QPointF(0, 0)) * Ratio, size(), Ratio, &FShownRect, Qt::AlignCenter,
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
    Background->setColor(FHolder.Symbol.backgroundColor());
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
