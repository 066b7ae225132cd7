// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "uMain.h"

#include <QApplication>

// The embedded OCR-B face is registered when the application object is
// made, and removed when it is destroyed, after the window.
int main(int argc, char** argv)
{
    QApplication Application(argc, argv);
    TFrmWEqBarCodeDemo FrmWEqBarCodeDemo;
    FrmWEqBarCodeDemo.show();
    return Application.exec();
}
