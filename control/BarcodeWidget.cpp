#include "control/BarcodeWidget.h"

#include "control/Describe_p.h"
#include "control/GtinInput_p.h"
#include "control/SymbolPainter_p.h"
#include "ean/WEQEan.h"

#include <QPainter>
#include <QPaintEvent>
#include <QStyle>

#include <algorithm>

namespace WEQ {

namespace {
const QColor DefaultBar = Qt::black, DefaultBackground = Qt::white, DefaultText = Qt::black;
} // namespace

struct BarcodeWidget::Private {
    QString Text, AddOn;
    bool InputValid = false;
    TSymbolLook Look;
    Qt::Alignment Alignment = Qt::AlignCenter;
    TSymbolImage Image;
};

BarcodeWidget::BarcodeWidget(QWidget* parent) : QWidget(parent), d(std::make_unique<Private>())
{
    // Alpha 0 in the background shows the parent; any other background is
    // painted over the whole rectangle.
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    DescribeSymbol(*this, gtin());
}

BarcodeWidget::BarcodeWidget(const QString& text, QWidget* parent) : BarcodeWidget(parent) { setText(text); }

BarcodeWidget::~BarcodeWidget() = default;

QString BarcodeWidget::gtin() const { return QString::fromLatin1(d->Look.Gtin); }
QString BarcodeWidget::text() const { return d->Text; }
bool BarcodeWidget::inputValid() const { return d->InputValid; }
QColor BarcodeWidget::barColor() const { return d->Look.Bar; }
QColor BarcodeWidget::backgroundColor() const { return d->Look.Background; }
QColor BarcodeWidget::textColor() const { return d->Look.Text; }
bool BarcodeWidget::quietZoneMarker() const { return d->Look.QuietZoneMarker; }
bool BarcodeWidget::keepAspectRatio() const { return d->Look.KeepAspectRatio; }
Qt::Alignment BarcodeWidget::alignment() const { return d->Alignment; }
BarcodeWidget::Symbology BarcodeWidget::symbology() const { return Symbology(d->Look.Symbology); }
QString BarcodeWidget::addOn() const { return d->AddOn; }

void BarcodeWidget::setGtin(const QString& text) { setText(text); }

void BarcodeWidget::setText(const QString& text)
{
    if (text == d->Text)
        return;
    d->Text = text;
    Reread(true);
}

void BarcodeWidget::setSymbology(Symbology symbology)
{
    const auto Value = WEQEan::TSymbology(std::clamp(int(symbology), int(Ean13), int(UpcE)));
    if (Value == d->Look.Symbology)
        return;
    d->Look.Symbology = Value;
    updateGeometry(); // another width in modules, another nominal height
    update();
    emit symbologyChanged(Symbology(Value));
    Reread(false);
}

void BarcodeWidget::setAddOn(const QString& addOn)
{
    if (addOn == d->AddOn)
        return;
    d->AddOn = addOn;
    emit addOnChanged(d->AddOn);
    Reread(false);
}

void BarcodeWidget::Reread(bool TextChanged)
{
    const TSymbolInput Input = ReadSymbolInput(d->Look.Symbology, d->Text, d->AddOn);
    const bool GtinChanged = Input.Digits != d->Look.Gtin, ValidChanged = Input.Valid != d->InputValid;
    if (Input.AddOn.size() != d->Look.AddOn.size())
        updateGeometry();
    if (GtinChanged || Input.AddOn != d->Look.AddOn)
        update();
    d->Look.Gtin = Input.Digits;
    d->Look.AddOn = Input.AddOn;
    d->InputValid = Input.Valid;
    // The kind of symbol may have changed with the same digits.
    static const QString Kinds[] = {QStringLiteral("EAN-13"), QStringLiteral("EAN-8"), QStringLiteral("UPC-A"),
                                    QStringLiteral("UPC-E")};
    if (!DescribeSymbol(*this, gtin(), Kinds[int(d->Look.Symbology)]))
        return;
    if (TextChanged)
        emit textChanged(d->Text);
    if (GtinChanged)
        emit gtinChanged(gtin());
    if (ValidChanged)
        emit inputValidChanged(d->InputValid);
}

void BarcodeWidget::setBarColor(const QColor& color)
{
    const QColor Value = ColorOrDefault(color, DefaultBar);
    if (Value == d->Look.Bar)
        return;
    d->Look.Bar = Value;
    update();
    emit barColorChanged(Value);
}

void BarcodeWidget::setBackgroundColor(const QColor& color)
{
    const QColor Value = ColorOrDefault(color, DefaultBackground);
    if (Value == d->Look.Background)
        return;
    d->Look.Background = Value;
    setAttribute(Qt::WA_OpaquePaintEvent, Value.alpha() == 255);
    update();
    emit backgroundColorChanged(Value);
}

void BarcodeWidget::setTextColor(const QColor& color)
{
    const QColor Value = ColorOrDefault(color, DefaultText);
    if (Value == d->Look.Text)
        return;
    d->Look.Text = Value;
    update();
    emit textColorChanged(Value);
}

void BarcodeWidget::setQuietZoneMarker(bool on)
{
    if (on == d->Look.QuietZoneMarker)
        return;
    d->Look.QuietZoneMarker = on;
    update();
    emit quietZoneMarkerChanged(on);
}

void BarcodeWidget::setKeepAspectRatio(bool on)
{
    if (on == d->Look.KeepAspectRatio)
        return;
    d->Look.KeepAspectRatio = on;
    updateGeometry(); // the minimum size and height-for-width follow it
    update();
    emit keepAspectRatioChanged(on);
}

void BarcodeWidget::setAlignment(Qt::Alignment alignment)
{
    if (alignment == d->Alignment)
        return;
    d->Alignment = alignment;
    update();
    emit alignmentChanged(alignment);
}

QSize BarcodeWidget::sizeHint() const { return PreferredSymbolSize(ShapeOf(d->Look), devicePixelRatioF()); }

QSize BarcodeWidget::minimumSizeHint() const
{
    return MinimumSymbolSize(ShapeOf(d->Look), devicePixelRatioF());
}

bool BarcodeWidget::hasHeightForWidth() const { return d->Look.KeepAspectRatio; }

int BarcodeWidget::heightForWidth(int width) const
{
    return d->Look.KeepAspectRatio ? SymbolHeightForWidth(width, ShapeOf(d->Look), devicePixelRatioF()) : -1;
}

void BarcodeWidget::paintEvent(QPaintEvent*)
{
    QPainter Painter(this);
    d->Image.Paint(Painter, size(), d->Look, QStyle::visualAlignment(layoutDirection(), d->Alignment));
}

} // namespace WEQ
