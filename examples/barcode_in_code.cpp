#include <WEQBarCode/control/WEQBarCode.h>

#include <QApplication>
#include <QLineEdit>
#include <QVBoxLayout>

int main(int argc, char** argv)
{
    QApplication App(argc, argv); // registers the embedded OCR-B face
    QWidget Window;
    Window.setWindowTitle("EAN-13");
    auto* Edit = new QLineEdit("400638133393", &Window);
    Edit->setGeometry(10, 10, 200, 24);
    auto* Barcode = new TWEQBarCode(&Window);
    Barcode->move(10, 44);
    Barcode->SetFitHeightRatio(true);  // 79 modules high, following the width
    Barcode->SetTransparent(false);    // fill the background colour
    Barcode->SetBackgroundColor(clWhite);
    Barcode->resize(339, 0);            // module width 3: 339 x 237 once shown
    Barcode->SetGTIN(Edit->text());     // shows 4006381333931
    QObject::connect(Edit, &QLineEdit::textChanged, Barcode, &TWEQBarCode::SetGTIN);
    Window.resize(360, 300);
    Window.show();
    return App.exec();
}
