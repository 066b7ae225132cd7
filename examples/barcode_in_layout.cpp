// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// A WEQ::BarcodeWidget in a layout, fed by a line edit, with a label that
// flags text that is not yet a GTIN instead of silently printing another one.
#include <WEQBarCode/control/BarcodeWidget.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

int main(int argc, char** argv)
{
    QApplication App(argc, argv);
    QWidget Window;
    Window.setWindowTitle("EAN-13 in a layout");
    auto* Layout = new QVBoxLayout(&Window);
    auto* Edit = new QLineEdit("400638133393");
    auto* Barcode = new WEQ::BarcodeWidget(Edit->text()); // takes what the layout gives
    auto* Note = new QLabel;
    Layout->addWidget(Edit);
    Layout->addWidget(Barcode);
    Layout->addWidget(Note);
    QObject::connect(Edit, &QLineEdit::textChanged, Barcode, &WEQ::BarcodeWidget::setText);
    const auto Show = [=] {
        Note->setText(Barcode->inputValid() ? "GTIN " + Barcode->gtin()
                                            : "Not a GTIN yet; would print " + Barcode->gtin());
    };
    QObject::connect(Barcode, &WEQ::BarcodeWidget::textChanged, Note, Show);
    Show();
    Window.show();
    return App.exec();
}
