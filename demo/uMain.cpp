// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "uMain.h"

#include "ColorBox.h"
#include "SpinEdit.h"

#include <control/WEQBarCode.h>
#include <ean/WEQEanExport.h>

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QShowEvent>

TFrmWEqBarCodeDemo::TFrmWEqBarCodeDemo(QWidget* Parent) : QWidget(Parent)
{
    // The layout sets every stored value before any handler is wired, so no
    // handler runs while the window is built.
    setupUi(this);
    // The layout's sizes were made for a narrow 11-pixel face; a condensed one
    // keeps the captions inside them where that face is missing.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans Narrow"), QStringLiteral("DejaVu Sans Condensed"),
                                QStringLiteral("Liberation Sans")});
    QFont Face(QStringLiteral("MS Sans Serif"));
    Face.setPixelSize(11);
    setFont(Face);
    WireHandlers();
    FormCreate(this);

    // Added to the control, not to the layout.
    AskSavePath = [this] {
        return QFileDialog::getSaveFileName(this, tr("Save the symbol"), QStringLiteral("barcode.png"),
                                            tr("PNG image (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)"));
    };
    AskPrinter = [this](QPrinter& Printer) { return QPrintDialog(&Printer, this).exec() == QDialog::Accepted; };
    // Below the control at its largest, over the whole width.
    Gs1Status = new QLabel(this);
    Gs1Status->setObjectName(QStringLiteral("Gs1Status"));
    Gs1Status->setGeometry(152, 470, width() - 160, 44);
    Gs1Status->setWordWrap(true);
    Gs1Status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (const auto Signal : {&TWEQBarCode::ColorChanged, &TWEQBarCode::BackgroundColorChanged,
                              &TWEQBarCode::FontColorChanged})
        connect(WEQBarCode1, Signal, this, &TFrmWEqBarCodeDemo::ShowGs1Findings);
    for (const auto Signal : {&TWEQBarCode::TransparentChanged, &TWEQBarCode::DrawRightDelimiterChanged})
        connect(WEQBarCode1, Signal, this, &TFrmWEqBarCodeDemo::ShowGs1Findings);
    connect(WEQBarCode1, &TWEQBarCode::GTINChanged, this, &TFrmWEqBarCodeDemo::ShowGs1Findings);
    ShowGs1Findings();
    WEQBarCode1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(WEQBarCode1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& At) { SymbolMenu()->popup(WEQBarCode1->mapToGlobal(At)); });
}

QMenu* TFrmWEqBarCodeDemo::SymbolMenu()
{
    if (FSymbolMenu)
        return FSymbolMenu;
    FSymbolMenu = new QMenu(this);
    FSymbolMenu->addAction(tr("Copy"), this, &TFrmWEqBarCodeDemo::CopySymbol);
    FSymbolMenu->addAction(tr("Save as\u2026"), this, [this] {
        const QString Path = AskSavePath();
        if (!Path.isEmpty())
            SaveSymbolAs(Path);
    });
    FSymbolMenu->addAction(tr("Print\u2026"), this, [this] {
        QPrinter Printer(QPrinter::HighResolution);
        if (AskPrinter(Printer))
            PrintSymbol(Printer);
    });
    return FSymbolMenu;
}

std::string TFrmWEqBarCodeDemo::SymbolText() const { return WEQBarCode1->GTIN().toStdString(); }

// The symbol as the window shows it.
void TFrmWEqBarCodeDemo::CopySymbol() { QApplication::clipboard()->setImage(WEQBarCode1->grab().toImage()); }

// The files as the control shows the symbol: its colours, its marks, no
// background where it is transparent.
static WEQEan::TExportOptions FileOptions(const TWEQBarCode& Control)
{
    WEQEan::TExportOptions Options;
    Options.BackgroundColor = Control.Transparent() ? clWhite : Control.BackgroundColor();
    Options.BarColor = Control.Color();
    Options.FontColor = Control.FontColor();
    Options.DrawRightDelimiter = Control.DrawRightDelimiter();
    return Options;
}

void TFrmWEqBarCodeDemo::ShowGs1Findings()
{
    QStringList Lines;
    for (const WEQEan::TPrintFinding& F : WEQEan::CheckGs1(SymbolText(), FileOptions(*WEQBarCode1)))
        Lines << QString::fromStdString(F.Text);
    Gs1Status->setText(Lines.isEmpty() ? tr("GS1: no findings for the files at 0.330 mm") : Lines.join('\n'));
}

bool TFrmWEqBarCodeDemo::SaveSymbolAs(const QString& Path)
{
    const WEQEan::TExportOptions Options = FileOptions(*WEQBarCode1);
    switch (WEQEan::FileFormatOf(Path).value_or(WEQEan::TFileFormat::Png)) {
    case WEQEan::TFileFormat::Svg:
        return WEQEan::ExportSvg(SymbolText(), Path, Options);
    case WEQEan::TFileFormat::Pdf:
        return WEQEan::ExportPdf(SymbolText(), Path, Options);
    case WEQEan::TFileFormat::Eps:
        return WEQEan::ExportEps(SymbolText(), Path, Options);
    case WEQEan::TFileFormat::Png:
        break;
    }
    return WEQEan::ExportPng(SymbolText(), Path, 300, Options);
}

bool TFrmWEqBarCodeDemo::PrintSymbol(QPrinter& Printer)
{
    WEQEan::TExportOptions Options;
    Options.DrawRightDelimiter = WEQBarCode1->DrawRightDelimiter();
    return WEQEan::DrawOnDevice(SymbolText(), &Printer, Options);
}

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
