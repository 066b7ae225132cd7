#include "uMain.h"

#include "ColorBox.h"
#include "SpinEdit.h"
#include "ui_uMain.h"

#include <control/WEQBarCode.h>

#include <QShowEvent>

TFrmWEqBarCodeDemo::TFrmWEqBarCodeDemo(QWidget* Parent)
    : QWidget(Parent), FUi(std::make_unique<Ui::TFrmWEqBarCodeDemo>())
{
    // The layout sets every stored value before any handler is wired, so no
    // handler runs while the window is built.
    FUi->setupUi(this);
    // The layout's sizes were made for a narrow 11-pixel face; a condensed one
    // keeps the captions inside them where that face is missing.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans Narrow"), QStringLiteral("DejaVu Sans Condensed"),
                                QStringLiteral("Liberation Sans")});
    QFont Face(QStringLiteral("MS Sans Serif"));
    Face.setPixelSize(11);
    setFont(Face);
    WEQBarCode1 = FUi->WEQBarCode1;
    Label_Width = FUi->Label_Width;
    Label_Height = FUi->Label_Height;
    SpinEdit_Width = FUi->SpinEdit_Width;
    SpinEdit_Height = FUi->SpinEdit_Height;
    chk_DrawRightDelimiter = FUi->chk_DrawRightDelimiter;
    ClrBox_Color = FUi->ClrBox_Color;
    ClrBox_BgColor = FUi->ClrBox_BgColor;
    chk_Transparent = FUi->chk_Transparent;
    ClrBox_FontColor = FUi->ClrBox_FontColor;
    chk_FitHeightRatio = FUi->chk_FitHeightRatio;
    edt_GTIN = FUi->edt_GTIN;
    WireHandlers();
    FormCreate(this);
}

TFrmWEqBarCodeDemo::~TFrmWEqBarCodeDemo() = default;

void TFrmWEqBarCodeDemo::WireHandlers()
{
    connect(edt_GTIN, &QLineEdit::textChanged, this, [this] { edt_GTINChange(edt_GTIN); });
    connect(SpinEdit_Width, &TSpinEdit::Change, this, [this] { SpinEdit_WidthChange(SpinEdit_Width); });
    connect(SpinEdit_Height, &TSpinEdit::Change, this, [this] { SpinEdit_HeightChange(SpinEdit_Height); });
    // toggled() comes with a click and with a checked state set from code.
    connect(chk_DrawRightDelimiter, &QCheckBox::toggled, this,
            [this] { chk_DrawRightDelimiterClick(chk_DrawRightDelimiter); });
    connect(chk_Transparent, &QCheckBox::toggled, this, [this] { chk_TransparentClick(chk_Transparent); });
    connect(chk_FitHeightRatio, &QCheckBox::toggled, this, [this] { chk_FitHeightRatioClick(chk_FitHeightRatio); });
    connect(ClrBox_Color, &TColorBox::Change, this, [this] { ClrBox_ColorChange(ClrBox_Color); });
    connect(ClrBox_BgColor, &TColorBox::Change, this, [this] { ClrBox_BgColorChange(ClrBox_BgColor); });
    connect(ClrBox_FontColor, &TColorBox::Change, this, [this] { ClrBox_FontColorChange(ClrBox_FontColor); });
}

void TFrmWEqBarCodeDemo::showEvent(QShowEvent* Event)
{
    QWidget::showEvent(Event);
    if (!Event->spontaneous())
        FormShow(this);
}

void TFrmWEqBarCodeDemo::FormCreate(QObject*) {}

void TFrmWEqBarCodeDemo::FormShow(QObject*)
{
    WEQBarCode1->resize(width() - 10, WEQBarCode1->height());
    SpinEdit_Width->setValue(565);
    SpinEdit_Height->setValue(454);
    chk_DrawRightDelimiter->setChecked(true);
    WEQBarCode1->SetTransparent(false);
    ClrBox_BgColor->SetSelected(clCream);
}

void TFrmWEqBarCodeDemo::edt_GTINChange(QObject*) { WEQBarCode1->SetGTIN(edt_GTIN->text()); }

void TFrmWEqBarCodeDemo::SpinEdit_WidthChange(QObject*)
{
    WEQBarCode1->resize(SpinEdit_Width->Value(), WEQBarCode1->height());
}

void TFrmWEqBarCodeDemo::SpinEdit_HeightChange(QObject*)
{
    WEQBarCode1->resize(WEQBarCode1->width(), SpinEdit_Height->Value());
}

void TFrmWEqBarCodeDemo::chk_DrawRightDelimiterClick(QObject*)
{
    WEQBarCode1->SetDrawRightDelimiter(chk_DrawRightDelimiter->isChecked());
}

void TFrmWEqBarCodeDemo::chk_TransparentClick(QObject*) { WEQBarCode1->SetTransparent(chk_Transparent->isChecked()); }

void TFrmWEqBarCodeDemo::chk_FitHeightRatioClick(QObject*)
{
    WEQBarCode1->SetFitHeightRatio(chk_FitHeightRatio->isChecked());
}

void TFrmWEqBarCodeDemo::ClrBox_ColorChange(QObject*) { WEQBarCode1->SetColor(ClrBox_Color->Selected()); }

void TFrmWEqBarCodeDemo::ClrBox_BgColorChange(QObject*)
{
    WEQBarCode1->SetBackgroundColor(ClrBox_BgColor->Selected());
}

void TFrmWEqBarCodeDemo::ClrBox_FontColorChange(QObject*)
{
    WEQBarCode1->SetFontColor(ClrBox_FontColor->Selected());
}
