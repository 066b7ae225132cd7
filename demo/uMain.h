// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

#include "ui_uMain.h"

#include <QWidget>

#include <functional>

class QLabel;
class QMenu;
class QPrinter;

// The demo window: a barcode control and a column of widgets on its left,
// each driving one of the control's properties. The twelve controls are the
// named members that the form gives it.
class TFrmWEqBarCodeDemo : public QWidget, public Ui::TFrmWEqBarCodeDemo {
    Q_OBJECT

public:
    explicit TFrmWEqBarCodeDemo(QWidget* Parent = nullptr);

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
    // What GS1's rules say of printing the symbol as "Save as" writes it.
    QLabel* Gs1Status = nullptr;

protected:
    void showEvent(QShowEvent* Event) override;

private:
    void WireHandlers();
    std::string SymbolText() const;
    void ShowGs1Findings();
    QMenu* FSymbolMenu = nullptr;

};
