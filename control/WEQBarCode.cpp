#include "control/WEQBarCode.h"

#include "ean/WEQEan.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFont>
#include <QMetaObject>
#include <QPaintEvent>
#include <QPointer>
#include <QResizeEvent>

#include <algorithm>

namespace {

constexpr int SymbolModules = WEQEan::Ean13Modules;
constexpr int RatioHeightModules = WEQEan::Ean13RatioHeightModules;
constexpr int MinimumHeightModules = WEQEan::Ean13MinimumHeightModules;

// One character is one position whatever its encoding; anything that is not
// an ASCII digit only has to stay a non-digit for the completion.
std::string PositionsOf(const QString& Text)
{
    std::string Out;
    for (char32_t Ch : Text.toUcs4())
        Out += (Ch >= U'0' && Ch <= U'9') ? char(Ch) : '?';
    return Out;
}

// Assistive technology sees the control as an image whose name is its GTIN.
QAccessibleInterface* AccessibleBarCode(const QString& Key, QObject* Object)
{
    if (Key == QLatin1String("TWEQBarCode") && Object && Object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(Object), QAccessible::Graphic);
    return nullptr;
}

// Installed when the library loads: an interface made for a control before
// the factory exists would be cached with the wrong role.
[[maybe_unused]] const bool AccessibleFactoryInstalled = (QAccessible::installFactory(AccessibleBarCode), true);

// The setters' common step: store a changed value and say so; an unchanged
// one costs a comparison.
template <class T> bool Assign(T& Field, const T& Value)
{
    if (Field == Value)
        return false;
    Field = Value;
    return true;
}

} // namespace

TWEQBarCode::TWEQBarCode(QWidget* Owner) : QWidget(Owner)
{
    // Qt bounds a resize by the maximum size only once one has been set;
    // without it an int-sized resize overflows the widget's own rectangle.
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
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
    Describe();
    // Only a finished control draws, so one made in code keeps 100 x 100
    // until it is first painted.
    FConstructed = true;
}

TWEQBarCode::~TWEQBarCode() = default;

QString TWEQBarCode::GTIN() const { return QString::fromLatin1(FGTIN); }

void TWEQBarCode::SetGTIN(const QString& Value)
{
    if (!Assign(FGTIN, WEQEan::CompleteGTIN(PositionsOf(Value))))
        return;
    const QPointer<TWEQBarCode> Alive(this);
    Describe();
    if (Alive)
        Paint();
}

quint32 TWEQBarCode::Color() const { return FColor; }
void TWEQBarCode::SetColor(quint32 Value)
{
    if (!Assign(FColor, Value))
        return;
    Paint();
}

quint32 TWEQBarCode::BackgroundColor() const { return FBackgroundColor; }
void TWEQBarCode::SetBackgroundColor(quint32 Value)
{
    if (!Assign(FBackgroundColor, Value))
        return;
    Paint();
}

bool TWEQBarCode::Transparent() const { return FTransparent; }
void TWEQBarCode::SetTransparent(bool Value)
{
    if (!Assign(FTransparent, Value))
        return;
    // The paint runs the widget's own events, and whoever watches them may
    // delete it.
    const QPointer<TWEQBarCode> Alive(this);
    Paint();
    if (Alive)
        update(); // the parent's background under the widget changes with it
}

bool TWEQBarCode::DrawRightDelimiter() const { return FDrawRightDelimiter; }
void TWEQBarCode::SetDrawRightDelimiter(bool Value)
{
    if (!Assign(FDrawRightDelimiter, Value))
        return;
    Paint();
}

bool TWEQBarCode::FitHeightRatio() const { return FFitHeightRatio; }
void TWEQBarCode::SetFitHeightRatio(bool Value)
{
    if (!Assign(FFitHeightRatio, Value))
        return;
    Paint();
}

bool TWEQBarCode::DrawOnBitmap() const { return FDrawOnBitmap; }
void TWEQBarCode::SetDrawOnBitmap(bool Value)
{
    if (!Assign(FDrawOnBitmap, Value))
        return;
    Paint();
}

quint32 TWEQBarCode::FontColor() const { return FFontColor; }
void TWEQBarCode::SetFontColor(quint32 Value)
{
    if (!Assign(FFontColor, Value))
        return;
    update();
}

// The GTIN as tooltip, accessible name and description.
void TWEQBarCode::Describe()
{
    // Each change is an event to the widget, whose watchers may delete it.
    const QPointer<TWEQBarCode> Alive(this);
    const QString Gtin = GTIN();
    setToolTip(Gtin);
    if (Alive)
        setAccessibleName(Gtin);
    if (Alive)
        setAccessibleDescription(QStringLiteral("EAN-13 barcode of GTIN %1").arg(Gtin));
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

// The paint operation run at once by a setter: snap the size, then draw.
void TWEQBarCode::Paint()
{
    if (!FConstructed || (!parentWidget() && !isVisible()))
        return;
    const QPointer<TWEQBarCode> Alive(this);
    SnapSize();
    if (Alive && isVisible())
        repaint();
}

void TWEQBarCode::SnapSize()
{
    const QSize Snapped = SnappedSize();
    if (Snapped != size()) {
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
// snapped symbol, clipped.
void TWEQBarCode::RequestSnap()
{
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
