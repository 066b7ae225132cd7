#pragma once

#include <QWidget>

#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
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

protected:
    void showEvent(QShowEvent* Event) override;

private:
    void WireHandlers();

    std::unique_ptr<Ui::TFrmWEqBarCodeDemo> FUi;
};
