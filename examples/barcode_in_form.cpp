// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "ui_barcode_form.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication App(argc, argv);
    QWidget Window;
    Ui::BarcodeForm Form;
    Form.setupUi(&Window); // the form sets the control's properties by name
    Window.show();
    return App.exec();
}
