// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

#include "../ean/Colors.h"
#include "../ean/Export.h"

#include <QString>
#include <QWidget>

#include <string>

// A widget that shows one EAN-13 symbol. Any text written to GTIN becomes a
// valid 13-digit GTIN (only the first 12 characters count, non-digits become
// '0', the check digit is computed afresh). The widget sizes itself to whole
// modules: 113 m wide, where m = max(1, width div 113), and 79 m high with
// FitHeightRatio, otherwise max(18 m, height).
//
// A write that changes a property repaints at once (repaint()) when the
// widget sits in a window; an unchanged write does nothing. FontColor only
// schedules a repaint (update()), as a font change does. The widget keeps no
// off-screen image and draws the whole symbol on every paint. Its tooltip and
// accessible name are the GTIN; assistive technology sees it as an image.
//
// Every property has a change signal named after it, emitted once the widget
// has taken a real change and never for an unchanged write; the setters are
// slots, so a form can connect a line edit's textChanged to SetGTIN.
//
// In a layout the widget leaves its geometry to the layout: its size policy is
// fixed and its size hint is the snapped size, so the layout gives it exactly
// that, and a resize (or a FitHeightRatio write) that changes the snapped size
// asks the layout again instead of resizing the widget against it. There the
// size is bounded like a symbol image, so that no window grows beyond what
// can be painted. Placed without a layout it snaps its own size as described
// above.
class WEQBARCODE_EXPORT TWEQBarCode : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString GTIN READ GTIN WRITE SetGTIN NOTIFY GTINChanged)
    Q_PROPERTY(quint32 Color READ Color WRITE SetColor NOTIFY ColorChanged)
    Q_PROPERTY(quint32 BackgroundColor READ BackgroundColor WRITE SetBackgroundColor NOTIFY BackgroundColorChanged)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent NOTIFY TransparentChanged)
    Q_PROPERTY(bool DrawRightDelimiter READ DrawRightDelimiter WRITE SetDrawRightDelimiter NOTIFY
                   DrawRightDelimiterChanged)
    Q_PROPERTY(bool FitHeightRatio READ FitHeightRatio WRITE SetFitHeightRatio NOTIFY FitHeightRatioChanged)
    Q_PROPERTY(bool DrawOnBitmap READ DrawOnBitmap WRITE SetDrawOnBitmap NOTIFY DrawOnBitmapChanged)
    Q_PROPERTY(quint32 FontColor READ FontColor WRITE SetFontColor NOTIFY FontColorChanged)

public:
    explicit TWEQBarCode(QWidget* Owner = nullptr);
    ~TWEQBarCode() override;

    // The completed GTIN, not the text that was written.
    QString GTIN() const;
    // Bar colour (a TColor; system colours resolve when drawn).
    quint32 Color() const;
    quint32 BackgroundColor() const;
    // When on, the parent shows through between the bars.
    bool Transparent() const;
    // The '>' in the right quiet zone. On after construction.
    bool DrawRightDelimiter() const;
    // Height 79 modules, following the width alone.
    bool FitHeightRatio() const;
    // Stored and kept for forms; it changes nothing in the drawing.
    bool DrawOnBitmap() const;
    // Colour of the human-readable digits.
    quint32 FontColor() const;

    // The size the widget snaps to from its present size and FitHeightRatio.
    QSize SnappedSize() const;
    // The snapped size, which a layout gives the widget exactly; at most
    // TBitmap's bounds (16384 per side, 4096 x 4096 pixels).
    QSize sizeHint() const override;

public slots:
    void SetGTIN(const QString& Value);
    void SetColor(quint32 Value);
    void SetBackgroundColor(quint32 Value);
    // Writing it also schedules a repaint of the parent under the widget.
    void SetTransparent(bool Value);
    void SetDrawRightDelimiter(bool Value);
    void SetFitHeightRatio(bool Value);
    void SetDrawOnBitmap(bool Value);
    void SetFontColor(quint32 Value);

signals:
    void GTINChanged(const QString& Value);
    void ColorChanged(quint32 Value);
    void BackgroundColorChanged(quint32 Value);
    void TransparentChanged(bool Value);
    void DrawRightDelimiterChanged(bool Value);
    void FitHeightRatioChanged(bool Value);
    void DrawOnBitmapChanged(bool Value);
    void FontColorChanged(quint32 Value);

protected:
    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
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
    QSize FHint; // the size hint the layout last heard of
};
