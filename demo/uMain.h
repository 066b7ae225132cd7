#pragma once

#include <QWidget>

#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPrinter;
class TColorBox;
class TSpinEdit;
class TWEQBarCode;

namespace Ui {
class TFrmWEqBarCodeDemo;
}

// The demo window: a barcode control and a column of widgets on its left,
// each driving one of the control's properties.
class TFrmWEqBarCodeDemo : public QWidget {
    Q_OBJECT

public:
    explicit TFrmWEqBarCodeDemo(QWidget* Parent = nullptr);
    ~TFrmWEqBarCodeDemo() override;

    TWEQBarCode* WEQBarCode1;
    QLabel* Label_Width;
    QLabel* Label_Height;
    TSpinEdit* SpinEdit_Width;
    TSpinEdit* SpinEdit_Height;
    QCheckBox* chk_DrawRightDelimiter;
    TColorBox* ClrBox_Color;
    TColorBox* ClrBox_BgColor;
    QCheckBox* chk_Transparent;
    TColorBox* ClrBox_FontColor;
    QCheckBox* chk_FitHeightRatio;
    QLineEdit* edt_GTIN;

public slots:
    void FormCreate(QObject* Sender);
    void FormShow(QObject* Sender);
    void edt_GTINChange(QObject* Sender);
    void SpinEdit_WidthChange(QObject* Sender);
    void SpinEdit_HeightChange(QObject* Sender);
    void chk_DrawRightDelimiterClick(QObject* Sender);
    void chk_TransparentClick(QObject* Sender);
    void chk_FitHeightRatioClick(QObject* Sender);
    void ClrBox_ColorChange(QObject* Sender);
    void ClrBox_BgColorChange(QObject* Sender);
    void ClrBox_FontColorChange(QObject* Sender);

public:
    // The symbol's context menu, and what its three entries do.
    QMenu* SymbolMenu();
    void CopySymbol();
    // PNG at 300 dpi, SVG or PDF by the file's suffix; false when not written.
    bool SaveSymbolAs(const QString& Path);
    bool PrintSymbol(QPrinter& Printer);
    // Where "Save as" and "Print" ask the user; tests answer instead.
    std::function<QString()> AskSavePath;
    std::function<bool(QPrinter&)> AskPrinter;

protected:
    void showEvent(QShowEvent* Event) override;

private:
    void WireHandlers();
    std::string SymbolText() const;
    QMenu* FSymbolMenu = nullptr;

    std::unique_ptr<Ui::TFrmWEqBarCodeDemo> FUi;
};
