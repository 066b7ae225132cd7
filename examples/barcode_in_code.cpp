// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// A TWEQBarCode made in code and placed in a layout above a label, fed by a
// line edit: the layout gives it exactly its snapped size.
#include <WEQBarCode/control/WEQBarCode.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

int main(int argc, char** argv)
{
    QApplication App(argc, argv); // registers the embedded OCR-B face
    QWidget Window;
    Window.setWindowTitle("EAN-13");
    auto* Layout = new QVBoxLayout(&Window);
    auto* Edit = new QLineEdit("400638133393");
    auto* Barcode = new TWEQBarCode;
    Barcode->SetFitHeightRatio(true);  // 79 modules high, following the width
    Barcode->SetTransparent(false);    // fill the background colour
    Barcode->SetBackgroundColor(clWhite);
    Barcode->resize(339, 0);            // module width 3: the layout gives it 339 x 237
    Barcode->SetGTIN(Edit->text());     // shows 4006381333931
    auto* Label = new QLabel;
    Layout->addWidget(Edit);
    Layout->addWidget(Barcode);
    Layout->addWidget(Label);
    QObject::connect(Edit, &QLineEdit::textChanged, Barcode, &TWEQBarCode::SetGTIN);
    QObject::connect(Barcode, &TWEQBarCode::GTINChanged, Label, &QLabel::setText);
    Label->setText(Barcode->GTIN());
    Window.show();
    return App.exec();
}
