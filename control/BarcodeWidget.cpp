// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "control/BarcodeWidget.h"

#include "control/BarcodeNotify.h"
#include "control/Describe_p.h"
#include "control/SymbolPainter_p.h"

#include <QPainter>
#include <QPaintEvent>
#include <QPointer>
#include <QPrinter>
#include <QStyle>

namespace WEQ {

struct BarcodeWidget::Private {
    Barcode Symbol;
    Qt::Alignment Alignment = Qt::AlignCenter;
    bool KeepAspectRatio = true;
    QString SaveError; // the last failed save's reason, until the barcode changes
};

namespace {

TSymbolShape ShapeOf(const Barcode& B, bool KeepAspectRatio)
{
    return {B.sizeInModules().width(), B.sizeInModules().height(), KeepAspectRatio};
}

// The symbology's name for assistive technology, whether or not the text reads.
QString KindOf(const Barcode& B)
{
    // In the order of Barcode::Symbology.
    static const QString Kinds[] = {QStringLiteral("EAN-13"), QStringLiteral("EAN-8"), QStringLiteral("UPC-A"),
                                    QStringLiteral("UPC-E"),  QStringLiteral("GTIN"),  QStringLiteral("ISBN"),
                                    QStringLiteral("ISMN"),   QStringLiteral("ISSN")};
    static_assert(std::size(Kinds) == Barcode::Issn + 1);
    return B.isValid() ? B.title().section(QLatin1Char(' '), 0, 0) : Kinds[int(B.symbology())];
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
bool BarcodeWidget::inputValid() const { return d->Symbol.errorString().isEmpty(); }
QColor BarcodeWidget::barColor() const { return d->Symbol.barColor(); }
QColor BarcodeWidget::backgroundColor() const { return d->Symbol.backgroundColor(); }
QColor BarcodeWidget::textColor() const { return d->Symbol.textColor(); }
bool BarcodeWidget::quietZoneMarker() const { return d->Symbol.quietZoneMarks(); }
bool BarcodeWidget::keepAspectRatio() const { return d->KeepAspectRatio; }
Qt::Alignment BarcodeWidget::alignment() const { return d->Alignment; }
BarcodeWidget::Symbology BarcodeWidget::symbology() const { return Symbology(d->Symbol.symbology()); }
QString BarcodeWidget::addOn() const { return d->Symbol.addOn(); }
Barcode BarcodeWidget::barcode() const { return d->Symbol; }

QStringList BarcodeWidget::warnings() const { return d->Symbol.warnings(); }

QString BarcodeWidget::errorString() const { return d->SaveError.isEmpty() ? d->Symbol.errorString() : d->SaveError; }

void BarcodeWidget::setGtin(const QString& text) { setText(text); }

void BarcodeWidget::setText(const QString& text) { setBarcodeProperty(*this, &Barcode::setText, text); }

void BarcodeWidget::setSymbology(Symbology symbology)
{
    setBarcodeProperty(*this, &Barcode::setSymbology, Barcode::Symbology(symbology));
}

void BarcodeWidget::setAddOn(const QString& addOn) { setBarcodeProperty(*this, &Barcode::setAddOn, addOn); }

void BarcodeWidget::setBarColor(const QColor& color) { setBarcodeProperty(*this, &Barcode::setBarColor, color); }

void BarcodeWidget::setBackgroundColor(const QColor& color)
{
    setBarcodeProperty(*this, &Barcode::setBackgroundColor, color);
}

void BarcodeWidget::setTextColor(const QColor& color) { setBarcodeProperty(*this, &Barcode::setTextColor, color); }

void BarcodeWidget::setQuietZoneMarker(bool on) { setBarcodeProperty(*this, &Barcode::setQuietZoneMarks, on); }

void BarcodeWidget::setBarcode(const Barcode& barcode)
{
    if (barcode == d->Symbol)
        return;
    const Barcode Old = d->Symbol;
    const QString OldError = errorString();
    const QStringList OldWarnings = warnings();
    d->Symbol = barcode;
    d->SaveError.clear();
    setAttribute(Qt::WA_OpaquePaintEvent, barcode.backgroundColor().alpha() == 255);
    if (Old.sizeInModules() != barcode.sizeInModules())
        updateGeometry(); // another width in modules, another nominal height
    // Text that completes to the same digits, a new strictness or size on
    // paper: nothing on the screen changes.
    constexpr Barcode::Properties Shown = Barcode::SymbologyProperty | Barcode::AddOnProperty |
        Barcode::BarColorProperty | Barcode::BackgroundColorProperty | Barcode::TextColorProperty |
        Barcode::QuietZoneMarksProperty;
    if (Old.gtin() != barcode.gtin() || (Old.differences(barcode) & Shown))
        update();
    // Each change is an event to the widget, whose watchers may delete it.
    const QPointer<BarcodeWidget> Alive(this);
    if (Old.gtin() != barcode.gtin() || Old.symbology() != barcode.symbology())
        DescribeSymbol(*this, gtin(), KindOf(barcode));
    if (!Alive)
        return;
    emitBarcodeChanges(*this, Old, barcode);
    if (Alive && errorString() != OldError)
        emit errorStringChanged(errorString());
    if (Alive && warnings() != OldWarnings)
        emit warningsChanged(warnings());
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

void BarcodeWidget::SetErrorString(const QString& Reason)
{
    const QString Old = errorString();
    d->SaveError = Reason;
    if (errorString() != Old)
        emit errorStringChanged(errorString());
}

bool BarcodeWidget::save(const QString& path, int dpi)
{
    QString Reason;
    const bool Saved = d->Symbol.save(path, dpi, &Reason);
    SetErrorString(Saved ? QString() : Reason);
    return Saved;
}

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
