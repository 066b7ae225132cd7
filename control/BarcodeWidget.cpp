// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "control/BarcodeWidget.h"

#include "control/BarcodeHolder_p.h"
#include "control/Describe_p.h"
#include "control/SymbolPainter_p.h"
#include "ean/WEQEanFamily.h"

#include <QPainter>
#include <QPaintEvent>
#include <QPointer>
#include <QPrinter>
#include <QStyle>

namespace WEQ {

struct BarcodeWidget::Private : TBarcodeHolder {
    Qt::Alignment Alignment = Qt::AlignCenter;
    bool KeepAspectRatio = true;
};

namespace {

TSymbolShape ShapeOf(const Barcode& B, bool KeepAspectRatio)
{
    return {B.sizeInModules().width(), B.sizeInModules().height(), KeepAspectRatio};
}

// The symbology's name for assistive technology, whether or not the text reads.
QString KindOf(const Barcode& B)
{
    if (B.isValid())
        return B.title().section(QLatin1Char(' '), 0, 0);
    // Auto says what it reads: a GTIN.
    return B.symbology() == Barcode::Auto ? QStringLiteral("GTIN")
                                           : QString::fromLatin1(WEQEan::KindNames()[B.symbology()].Title);
}

} // namespace

BarcodeWidget::BarcodeWidget(QWidget* parent) : QWidget(parent), d(std::make_unique<Private>())
{
    // Alpha 0 in the background shows the parent; any other background is
    // painted over the whole rectangle.
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    DescribeSymbol(*this, gtin());
}

BarcodeWidget::BarcodeWidget(const QString& text, QWidget* parent) : BarcodeWidget(parent) { setText(text); }

BarcodeWidget::~BarcodeWidget() = default;

QString BarcodeWidget::gtin() const { return d->Symbol.gtin(); }
QString BarcodeWidget::text() const { return d->Symbol.text(); }
bool BarcodeWidget::inputValid() const { return d->InputValid(); }
QColor BarcodeWidget::barColor() const { return d->Symbol.barColor(); }
QColor BarcodeWidget::backgroundColor() const { return d->Symbol.backgroundColor(); }
QColor BarcodeWidget::textColor() const { return d->Symbol.textColor(); }
bool BarcodeWidget::quietZoneMarks() const { return d->Symbol.quietZoneMarks(); }
bool BarcodeWidget::strict() const { return d->Symbol.strict(); }
double BarcodeWidget::xDimension() const { return d->Symbol.xDimension(); }
bool BarcodeWidget::keepAspectRatio() const { return d->KeepAspectRatio; }
Qt::Alignment BarcodeWidget::alignment() const { return d->Alignment; }
Barcode::Symbology BarcodeWidget::symbology() const { return d->Symbol.symbology(); }
QString BarcodeWidget::addOn() const { return d->Symbol.addOn(); }
Barcode BarcodeWidget::barcode() const { return d->Symbol; }

QStringList BarcodeWidget::warnings() const { return d->Symbol.warnings(); }

QString BarcodeWidget::errorString() const { return d->ErrorString(); }

void BarcodeWidget::setGtin(const QString& text) { setText(text); }

void BarcodeWidget::setText(const QString& text) { setBarcodeProperty(*this, &Barcode::setText, text); }

void BarcodeWidget::setSymbology(Symbology symbology) { setBarcodeProperty(*this, &Barcode::setSymbology, symbology); }
void BarcodeWidget::setStrict(bool strict) { setBarcodeProperty(*this, &Barcode::setStrict, strict); }
void BarcodeWidget::setXDimension(double millimetres)
{
    setBarcodeProperty(*this, &Barcode::setXDimension, millimetres);
}

void BarcodeWidget::setAddOn(const QString& addOn) { setBarcodeProperty(*this, &Barcode::setAddOn, addOn); }

void BarcodeWidget::setBarColor(const QColor& color) { setBarcodeProperty(*this, &Barcode::setBarColor, color); }

void BarcodeWidget::setBackgroundColor(const QColor& color)
{
    setBarcodeProperty(*this, &Barcode::setBackgroundColor, color);
}

void BarcodeWidget::setTextColor(const QColor& color) { setBarcodeProperty(*this, &Barcode::setTextColor, color); }

void BarcodeWidget::setQuietZoneMarks(bool on) { setBarcodeProperty(*this, &Barcode::setQuietZoneMarks, on); }

void BarcodeWidget::setBarcode(const Barcode& barcode)
{
    replaceBarcode(*this, *d, barcode, [this, &barcode](const Barcode& Old) {
        setAttribute(Qt::WA_OpaquePaintEvent, barcode.backgroundColor().alpha() == 255);
        if (Old.sizeInModules() != barcode.sizeInModules())
            updateGeometry(); // another width in modules, another nominal height
        // Text that reads to the same digits, a new strictness or size on
        // paper: nothing on the screen changes.
        constexpr Barcode::Properties Shown = Barcode::SymbologyProperty | Barcode::AddOnProperty |
            Barcode::BarColorProperty | Barcode::BackgroundColorProperty | Barcode::TextColorProperty |
            Barcode::QuietZoneMarksProperty;
        if (Old.gtin() != barcode.gtin() || Old.isValid() != barcode.isValid() || (Old.differences(barcode) & Shown))
            update();
        if (Old.gtin() != barcode.gtin() || Old.symbology() != barcode.symbology())
            DescribeSymbol(*this, gtin(), KindOf(barcode));
    });
}

void BarcodeWidget::setKeepAspectRatio(bool on)
{
    if (on == d->KeepAspectRatio)
        return;
    d->KeepAspectRatio = on;
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

bool BarcodeWidget::save(const QString& path, int dpi) { return saveBarcode(*this, *d, path, dpi); }

bool BarcodeWidget::print(QPrinter* printer)
{
    if (!printer)
        return false;
    QPainter Painter;
    if (!Painter.begin(printer))
        return false;
    return d->Symbol.paint(&Painter, QPointF(0, 0));
}

QSize BarcodeWidget::sizeHint() const
{
    return PreferredSymbolSize(ShapeOf(d->Symbol, d->KeepAspectRatio), devicePixelRatioF());
}

QSize BarcodeWidget::minimumSizeHint() const
{
    return MinimumSymbolSize(ShapeOf(d->Symbol, d->KeepAspectRatio), devicePixelRatioF());
}

bool BarcodeWidget::hasHeightForWidth() const { return d->KeepAspectRatio; }

int BarcodeWidget::heightForWidth(int width) const
{
    return d->KeepAspectRatio ? SymbolHeightForWidth(width, ShapeOf(d->Symbol, true), devicePixelRatioF()) : -1;
}

void BarcodeWidget::paintEvent(QPaintEvent*)
{
    QPainter Painter(this);
    d->Symbol.paint(&Painter, QRectF(rect()), QStyle::visualAlignment(layoutDirection(), d->Alignment),
                    d->KeepAspectRatio);
}

} // namespace WEQ
