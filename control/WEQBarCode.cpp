// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "control/WEQBarCode.h"

#include "control/Describe_p.h"
#include "control/GtinInput_p.h"
#include "control/SymbolPainter_p.h"
#include "ean/WEQEan.h"

#include <QFont>
#include <QLayout>
#include <QMetaObject>
#include <QPaintEvent>
#include <QPointer>
#include <QResizeEvent>

#include <algorithm>

namespace {

constexpr int SymbolModules = WEQEan::Ean13Modules;
constexpr int RatioHeightModules = WEQEan::Ean13RatioHeightModules;
constexpr int MinimumHeightModules = WEQEan::Ean13MinimumHeightModules;

// The setters' common step: store a changed value and say so; an unchanged
// one costs a comparison.
template <class T> bool Assign(T& Field, const T& Value)
{
    if (Field == Value)
        return false;
    Field = Value;
    return true;
}

bool HoldsWidget(const QLayout& Layout, const QWidget* Widget)
{
    for (int I = 0; I < Layout.count(); ++I) {
        QLayoutItem* Item = Layout.itemAt(I);
        if (Item->widget() == Widget || (Item->layout() && HoldsWidget(*Item->layout(), Widget)))
            return true;
    }
    return false;
}

} // namespace

TWEQBarCode::TWEQBarCode(QWidget* Owner) : QWidget(Owner)
{
    // Qt bounds a resize by the maximum size only once one has been set;
    // without it an int-sized resize overflows the widget's own rectangle.
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // A layout then gives the widget its size hint, the snapped size, and
    // nothing else; without a layout the policy is not consulted.
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    SetGTIN(QStringLiteral("0000000000000"));
    resize(100, 100);
    SetColor(clBlack);
    SetBackgroundColor(clWhite);
    SetTransparent(true);
    SetFitHeightRatio(true);
    QFont Face = font();
    Face.setFamily(QStringLiteral("OCRB"));
    setFont(Face);
    SetDrawOnBitmap(false);
    WEQ::DescribeSymbol(*this, GTIN());
    FHint = sizeHint();
    // Only a finished control draws, so one made in code keeps 100 x 100
    // until it is first painted.
    FConstructed = true;
}

TWEQBarCode::~TWEQBarCode() = default;

QString TWEQBarCode::GTIN() const { return QString::fromLatin1(FGTIN); }

void TWEQBarCode::SetGTIN(const QString& Value)
{
    if (!Assign(FGTIN, WEQEan::CompleteGTIN(WEQ::GtinPositions(Value))))
        return;
    if (!WEQ::DescribeSymbol(*this, GTIN()))
        return;
    if (Paint())
        emit GTINChanged(GTIN());
}

quint32 TWEQBarCode::Color() const { return FColor; }
void TWEQBarCode::SetColor(quint32 Value)
{
    if (!Assign(FColor, Value))
        return;
    if (Paint())
        emit ColorChanged(Value);
}

quint32 TWEQBarCode::BackgroundColor() const { return FBackgroundColor; }
void TWEQBarCode::SetBackgroundColor(quint32 Value)
{
    if (!Assign(FBackgroundColor, Value))
        return;
    if (Paint())
        emit BackgroundColorChanged(Value);
}

bool TWEQBarCode::Transparent() const { return FTransparent; }
void TWEQBarCode::SetTransparent(bool Value)
{
    if (!Assign(FTransparent, Value))
        return;
    // The paint runs the widget's own events, and whoever watches them may
    // delete it.
    if (!Paint())
        return;
    update(); // the parent's background under the widget changes with it
    emit TransparentChanged(Value);
}

bool TWEQBarCode::DrawRightDelimiter() const { return FDrawRightDelimiter; }
void TWEQBarCode::SetDrawRightDelimiter(bool Value)
{
    if (!Assign(FDrawRightDelimiter, Value))
        return;
    if (Paint())
        emit DrawRightDelimiterChanged(Value);
}

bool TWEQBarCode::FitHeightRatio() const { return FFitHeightRatio; }
void TWEQBarCode::SetFitHeightRatio(bool Value)
{
    if (!Assign(FFitHeightRatio, Value))
        return;
    if (Paint())
        emit FitHeightRatioChanged(Value);
}

bool TWEQBarCode::DrawOnBitmap() const { return FDrawOnBitmap; }
void TWEQBarCode::SetDrawOnBitmap(bool Value)
{
    if (!Assign(FDrawOnBitmap, Value))
        return;
    if (Paint())
        emit DrawOnBitmapChanged(Value);
}

quint32 TWEQBarCode::FontColor() const { return FFontColor; }
void TWEQBarCode::SetFontColor(quint32 Value)
{
    if (!Assign(FFontColor, Value))
        return;
    update();
    emit FontColorChanged(Value);
}

QSize TWEQBarCode::SnappedSize() const
{
    // Qt lets a child widget be resized to any int; the snapped size stays
    // within what Qt widgets allow (QWIDGETSIZE_MAX), so none of this overflows.
    const int W = std::clamp(width(), 0, QWIDGETSIZE_MAX), Ht = std::clamp(height(), 0, QWIDGETSIZE_MAX);
    const int M = std::max(1, W / SymbolModules);
    const int H = FFitHeightRatio ? RatioHeightModules * M : std::max(MinimumHeightModules * M, Ht);
    return QSize(SymbolModules * M, H);
}

// Within the bounds of a symbol image, so that a layout never makes a window
// larger than Qt can allocate for it: a snapped size beyond them gives way to
// the largest one within them.
QSize TWEQBarCode::sizeHint() const { return WEQ::FitSymbol(SnappedSize(), {SymbolModules, RatioHeightModules, FFitHeightRatio}).Size; }

// The parent's layout, or one nested in it, places the widget.
bool TWEQBarCode::ManagedByLayout() const
{
    const QWidget* Parent = parentWidget();
    return Parent && Parent->layout() && HoldsWidget(*Parent->layout(), this);
}

// A layout caches size hints and lays out only when asked: it hears of a new
// snapped size, or of a resize away from the size it gave, and lays out
// again, giving the widget its size hint.
void TWEQBarCode::UpdateHint()
{
    if (FHint == sizeHint() && size() == FHint)
        return;
    FHint = sizeHint();
    updateGeometry();
}

// The paint operation run at once by a setter: snap the size, then draw.
// False when a watcher of the widget's events deleted it meanwhile.
bool TWEQBarCode::Paint()
{
    if (!FConstructed || (!parentWidget() && !isVisible()))
        return true;
    const QPointer<TWEQBarCode> Alive(this);
    SnapSize();
    if (Alive && isVisible())
        repaint();
    return !Alive.isNull();
}

void TWEQBarCode::SnapSize()
{
    const QSize Snapped = SnappedSize();
    if (ManagedByLayout()) {
        UpdateHint();
    } else if (Snapped != size()) {
        const QPointer<TWEQBarCode> Alive(this);
        resize(Snapped); // sends the resize event, whose watchers may delete the widget
        if (!Alive)
            return;
    }
    UpdateOpaque();
}

// Filled and snapped, the symbol covers every pixel of the widget, so Qt
// need not paint the parent beneath it first.
void TWEQBarCode::UpdateOpaque()
{
    setAttribute(Qt::WA_OpaquePaintEvent, !FTransparent && size() == SnappedSize());
}

// Resizing from inside a resize or paint event would recurse; the snap runs
// once the event loop is back, and the paint in between already draws the
// snapped symbol, clipped. In a layout the layout resizes.
void TWEQBarCode::RequestSnap()
{
    if (ManagedByLayout()) {
        UpdateHint();
        return;
    }
    if (FSnapQueued || SnappedSize() == size())
        return;
    FSnapQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            FSnapQueued = false;
            SnapSize();
        },
        Qt::QueuedConnection);
}

void TWEQBarCode::showEvent(QShowEvent* Event)
{
    QWidget::showEvent(Event);
    // Before the first paint, so the widget never shows at an unsnapped size.
    SnapSize();
}

void TWEQBarCode::resizeEvent(QResizeEvent* Event)
{
    QWidget::resizeEvent(Event);
    UpdateOpaque();
    RequestSnap();
}

void TWEQBarCode::paintEvent(QPaintEvent* Event)
{
    RequestSnap();
    const QSize Snapped = SnappedSize();
    // Nothing may escape a paint event: a surface that cannot be painted on
    // (a window larger than any backing store) shows nothing instead.
    try {
        TCanvas Canvas(this);
        Canvas.SetPaintRegion(Event->region() & rect());
        if (!FTransparent && Canvas.DevicePixelRatio() != 1.0) {
            // Whole device-pixel modules can leave a sliver of the widget uncovered.
            Canvas.SetBrushColor(FBackgroundColor);
            Canvas.FillRect(0, 0, width(), height());
        }
        WEQEan::DrawEan13(FGTIN, Canvas, Snapped.width(), Snapped.height(), FBackgroundColor, FColor, FFontColor,
                          !FTransparent, FDrawRightDelimiter);
    } catch (const std::exception&) {
    }
}
