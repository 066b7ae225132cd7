// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

#include "../ean/Colors.h"
#include "../ean/Export.h"

#include <QString>
#include <QWidget>

#include <string>

/// \file
/// \ingroup legacy
/// The EAN-13 control of the legacy interface.

/// \ingroup legacy
/// A widget that shows one EAN-13 symbol. Any text written to GTIN becomes a
/// valid 13-digit GTIN (only the first 12 characters count, non-digits become
/// '0', the check digit is computed afresh). The widget sizes itself to whole
/// modules: 113 m wide, where m = max(1, width div 113), and 79 m high with
/// FitHeightRatio, otherwise max(18 m, height).
///
/// A write that changes a property repaints at once (repaint()) when the
/// widget sits in a window; an unchanged write does nothing. FontColor only
/// schedules a repaint (update()), as a font change does. The widget keeps no
/// off-screen image and draws the whole symbol on every paint. Its tooltip and
/// accessible name are the GTIN; assistive technology sees it as an image.
///
/// Every property has a change signal named after it, emitted once the widget
/// has taken a real change and never for an unchanged write; the setters are
/// slots, so a form can connect a line edit's textChanged to SetGTIN.
///
/// In a layout the widget leaves its geometry to the layout: its size policy is
/// fixed and its size hint is the snapped size, so the layout gives it exactly
/// that, and a resize (or a FitHeightRatio write) that changes the snapped size
/// asks the layout again instead of resizing the widget against it. There the
/// size is bounded like a symbol image, so that no window grows beyond what
/// can be painted. Placed without a layout it snaps its own size as described
/// above.
class WEQBARCODE_EXPORT TWEQBarCode : public QWidget {
    Q_OBJECT
    /// The completed 13-digit GTIN; any text written is completed to one.
    Q_PROPERTY(QString GTIN READ GTIN WRITE SetGTIN NOTIFY GTINChanged)
    /// The bar colour, a TColor.
    Q_PROPERTY(quint32 Color READ Color WRITE SetColor NOTIFY ColorChanged)
    /// The colour of the quiet zones and the spaces, a TColor.
    Q_PROPERTY(quint32 BackgroundColor READ BackgroundColor WRITE SetBackgroundColor NOTIFY BackgroundColorChanged)
    /// Whether the parent shows through between the bars.
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent NOTIFY TransparentChanged)
    /// Whether the '>' stands in the right quiet zone.
    Q_PROPERTY(bool DrawRightDelimiter READ DrawRightDelimiter WRITE SetDrawRightDelimiter NOTIFY
                   DrawRightDelimiterChanged)
    /// Whether the height follows the width, 79 modules.
    Q_PROPERTY(bool FitHeightRatio READ FitHeightRatio WRITE SetFitHeightRatio NOTIFY FitHeightRatioChanged)
    /// Kept for forms that set it; the drawing ignores it.
    Q_PROPERTY(bool DrawOnBitmap READ DrawOnBitmap WRITE SetDrawOnBitmap NOTIFY DrawOnBitmapChanged)
    /// The colour of the human-readable digits, a TColor.
    Q_PROPERTY(quint32 FontColor READ FontColor WRITE SetFontColor NOTIFY FontColorChanged)

public:
    /// An empty control (GTIN 0000000000000) with Owner as its parent.
    explicit TWEQBarCode(QWidget* Owner = nullptr);
    ~TWEQBarCode() override;

    /// The completed GTIN, not the text that was written.
    QString GTIN() const;
    /// Bar colour (a TColor; system colours resolve when drawn).
    quint32 Color() const;
    /// The colour of the quiet zones and spaces (a TColor).
    quint32 BackgroundColor() const;
    /// When on, the parent shows through between the bars.
    bool Transparent() const;
    /// The '>' in the right quiet zone. On after construction.
    bool DrawRightDelimiter() const;
    /// Height 79 modules, following the width alone.
    bool FitHeightRatio() const;
    /// Stored and kept for forms; it changes nothing in the drawing.
    bool DrawOnBitmap() const;
    /// Colour of the human-readable digits.
    quint32 FontColor() const;

    /// The size the widget snaps to from its present size and FitHeightRatio.
    QSize SnappedSize() const;
    /// The snapped size, which a layout gives the widget exactly; at most
    /// TBitmap's bounds (16384 per side, 4096 x 4096 pixels).
    QSize sizeHint() const override;

public slots:
    /// Writes GTIN; an unchanged value does nothing.
    void SetGTIN(const QString& Value);
    /// Writes Color; an unchanged value does nothing.
    void SetColor(quint32 Value);
    /// Writes BackgroundColor; an unchanged value does nothing.
    void SetBackgroundColor(quint32 Value);
    /// Writing it also schedules a repaint of the parent under the widget.
    void SetTransparent(bool Value);
    /// Writes DrawRightDelimiter; an unchanged value does nothing.
    void SetDrawRightDelimiter(bool Value);
    /// Writes FitHeightRatio; an unchanged value does nothing.
    void SetFitHeightRatio(bool Value);
    /// Writes DrawOnBitmap; an unchanged value does nothing.
    void SetDrawOnBitmap(bool Value);
    /// Writes FontColor; an unchanged value does nothing.
    void SetFontColor(quint32 Value);

signals:
    /// GTIN took a new value.
    void GTINChanged(const QString& Value);
    /// Color took a new value.
    void ColorChanged(quint32 Value);
    /// BackgroundColor took a new value.
    void BackgroundColorChanged(quint32 Value);
    /// Transparent took a new value.
    void TransparentChanged(bool Value);
    /// DrawRightDelimiter took a new value.
    void DrawRightDelimiterChanged(bool Value);
    /// FitHeightRatio took a new value.
    void FitHeightRatioChanged(bool Value);
    /// DrawOnBitmap took a new value.
    void DrawOnBitmapChanged(bool Value);
    /// FontColor took a new value.
    void FontColorChanged(quint32 Value);

protected:
    /// Draws the whole symbol.
    void paintEvent(QPaintEvent* Event) override;
    /// Snaps the size to whole modules, or asks the layout to.
    void resizeEvent(QResizeEvent* Event) override;
    /// Snaps the size once the widget is first shown.
    void showEvent(QShowEvent* Event) override;

private:
    bool Paint();
    void SnapSize();
    void RequestSnap();
    void UpdateOpaque();
    bool ManagedByLayout() const;
    void UpdateHint();

    std::string FGTIN;
    TColor FColor = clBlack;
    TColor FBackgroundColor = clBlack;
    bool FTransparent = false;
    bool FDrawRightDelimiter = true;
    bool FFitHeightRatio = false;
    bool FDrawOnBitmap = true;
    TColor FFontColor = clWindowText;
    bool FConstructed = false;
    bool FSnapQueued = false;
    QSize FHint; ///< the size hint the layout last heard of
};
