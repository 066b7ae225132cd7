#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication App(argc, argv);
    QLabel Placeholder("WEQBarCodeDemo");
    Placeholder.setWindowTitle("WEQBarCodeDemo");
    Placeholder.show();
    return App.exec();
}
