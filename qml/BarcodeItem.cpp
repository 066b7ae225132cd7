#include "BarcodeItem.h"

#include "control/GtinInput_p.h"
#include "ean/WEQEan.h"

#include <QQuickWindow>
#include <QSGImageNode>
#include <QSGRectangleNode>

#include <algorithm>

namespace WEQ {

namespace {
const QColor DefaultBar = Qt::black, DefaultBackground = Qt::white, DefaultText = Qt::black;
} // namespace

BarcodeItem::BarcodeItem(QQuickItem* parent) : QQuickItem(parent)
{
    setFlag(ItemHasContents);
    UpdateImplicitSize();
}

void BarcodeItem::UpdateImplicitSize()
{
    const QSize Preferred = PreferredSymbolSize(ShapeOf(FLook), 1);
    setImplicitSize(Preferred.width(), Preferred.height());
}

QString BarcodeItem::gtin() const { return QString::fromLatin1(FLook.Gtin); }
QString BarcodeItem::text() const { return FText; }
bool BarcodeItem::inputValid() const { return FInputValid; }
QColor BarcodeItem::barColor() const { return FLook.Bar; }
QColor BarcodeItem::backgroundColor() const { return FLook.Background; }
QColor BarcodeItem::textColor() const { return FLook.Text; }
bool BarcodeItem::quietZoneMarker() const { return FLook.QuietZoneMarker; }
bool BarcodeItem::keepAspectRatio() const { return FLook.KeepAspectRatio; }
BarcodeItem::Symbology BarcodeItem::symbology() const { return Symbology(FLook.Symbology); }
QString BarcodeItem::addOn() const { return FAddOn; }

void BarcodeItem::setGtin(const QString& text) { setText(text); }

void BarcodeItem::setText(const QString& text)
{
    if (text == FText)
        return;
    FText = text;
    Reread(true);
}

void BarcodeItem::setSymbology(Symbology symbology)
{
    const auto Value = WEQEan::TSymbology(std::clamp(int(symbology), int(Ean13), int(UpcE)));
    if (Value == FLook.Symbology)
        return;
    FLook.Symbology = Value;
    UpdateImplicitSize();
    Redraw();
    emit symbologyChanged(Symbology(Value));
    Reread(false);
}

void BarcodeItem::setAddOn(const QString& addOn)
{
    if (addOn == FAddOn)
        return;
    FAddOn = addOn;
    emit addOnChanged(FAddOn);
    Reread(false);
}

void BarcodeItem::Reread(bool TextChanged)
{
    const TSymbolInput Input = ReadSymbolInput(FLook.Symbology, FText, FAddOn);
    const bool GtinChanged = Input.Digits != FLook.Gtin, ValidChanged = Input.Valid != FInputValid;
    const bool Redrawn = GtinChanged || Input.AddOn != FLook.AddOn;
    const bool Resized = Input.AddOn.size() != FLook.AddOn.size();
    FLook.Gtin = Input.Digits;
    FLook.AddOn = Input.AddOn;
    FInputValid = Input.Valid;
    if (Resized)
        UpdateImplicitSize();
    if (Redrawn)
        Redraw();
    if (TextChanged)
        emit textChanged(FText);
    if (GtinChanged)
        emit gtinChanged(gtin());
    if (ValidChanged)
        emit inputValidChanged(FInputValid);
}

void BarcodeItem::setBarColor(const QColor& color)
{
    const QColor Value = ColorOrDefault(color, DefaultBar);
    if (Value == FLook.Bar)
        return;
    FLook.Bar = Value;
    Redraw();
    emit barColorChanged(Value);
}

void BarcodeItem::setBackgroundColor(const QColor& color)
{
    const QColor Value = ColorOrDefault(color, DefaultBackground);
    if (Value == FLook.Background)
        return;
    FLook.Background = Value;
    Redraw();
    emit backgroundColorChanged(Value);
}

void BarcodeItem::setTextColor(const QColor& color)
{
    const QColor Value = ColorOrDefault(color, DefaultText);
    if (Value == FLook.Text)
        return;
    FLook.Text = Value;
    Redraw();
    emit textColorChanged(Value);
}

void BarcodeItem::setQuietZoneMarker(bool on)
{
    if (on == FLook.QuietZoneMarker)
        return;
    FLook.QuietZoneMarker = on;
    Redraw();
    emit quietZoneMarkerChanged(on);
}

void BarcodeItem::setKeepAspectRatio(bool on)
{
    if (on == FLook.KeepAspectRatio)
        return;
    FLook.KeepAspectRatio = on;
    Redraw();
    emit keepAspectRatioChanged(on);
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
    const TSymbolPlace Place = PlaceSymbol(mapToScene(QPointF(0, 0)) * Ratio, size(), Ratio, ShapeOf(FLook),
                                           Qt::AlignCenter);
    FShown = FCache.Render(FLook, Place.Fit, Ratio);
    FShownRect = Place.Logical;
}

// On the render thread while the GUI thread waits, so the polished image and
// place can be read here.
QSGNode* BarcodeItem::updatePaintNode(QSGNode* old, UpdatePaintNodeData*)
{
    auto* Background = static_cast<QSGRectangleNode*>(old);
    if (!Background)
        Background = window()->createRectangleNode();
    Background->setRect(boundingRect());
    Background->setColor(FLook.Background);
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
            FShown, FShown.hasAlphaChannel() ? QQuickWindow::TextureHasAlphaChannel : QQuickWindow::CreateTextureOptions()));
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
