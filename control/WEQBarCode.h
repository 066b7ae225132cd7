#pragma once

#include "surface/Colors.h"
#include "surface/Export.h"

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
class WEQBARCODE_EXPORT TWEQBarCode : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString GTIN READ GTIN WRITE SetGTIN)
    Q_PROPERTY(quint32 Color READ Color WRITE SetColor)
    Q_PROPERTY(quint32 BackgroundColor READ BackgroundColor WRITE SetBackgroundColor)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool DrawRightDelimiter READ DrawRightDelimiter WRITE SetDrawRightDelimiter)
    Q_PROPERTY(bool FitHeightRatio READ FitHeightRatio WRITE SetFitHeightRatio)
    Q_PROPERTY(bool DrawOnBitmap READ DrawOnBitmap WRITE SetDrawOnBitmap)
    Q_PROPERTY(quint32 FontColor READ FontColor WRITE SetFontColor)

public:
    explicit TWEQBarCode(QWidget* Owner = nullptr);
    ~TWEQBarCode() override;

    // The completed GTIN, not the text that was written.
    QString GTIN() const;
    void SetGTIN(const QString& Value);
    // Bar colour (a TColor; system colours resolve when drawn).
    quint32 Color() const;
    void SetColor(quint32 Value);
    quint32 BackgroundColor() const;
    void SetBackgroundColor(quint32 Value);
    // When on, the parent shows through between the bars; writing it also
    // schedules a repaint of the parent under the widget.
    bool Transparent() const;
    void SetTransparent(bool Value);
    // The '>' in the right quiet zone. On after construction.
    bool DrawRightDelimiter() const;
    void SetDrawRightDelimiter(bool Value);
    // Height 79 modules, following the width alone.
    bool FitHeightRatio() const;
    void SetFitHeightRatio(bool Value);
    // Stored and kept for forms; it changes nothing in the drawing.
    bool DrawOnBitmap() const;
    void SetDrawOnBitmap(bool Value);
    // Colour of the human-readable digits.
    quint32 FontColor() const;
    void SetFontColor(quint32 Value);

    // The size the widget snaps to from its present size and FitHeightRatio.
    QSize SnappedSize() const;

protected:
    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void showEvent(QShowEvent* Event) override;

private:
    void Paint();
    void SnapSize();
    void RequestSnap();
    void UpdateOpaque();
    void Describe();

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
};
