// Uses the installed headers and library the way an application would.
#include <ean/WEQEan.h>
#include <surface/Canvas.h>

#include <QGuiApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication App(argc, argv);
    const std::string Gtin = WEQEan::CompleteGTIN("400638133393");
    if (Gtin != "4006381333931") {
        std::fprintf(stderr, "CompleteGTIN gave %s\n", Gtin.c_str());
        return 1;
    }
    QImage Image(8, 8, QImage::Format_RGB32);
    Image.fill(Qt::white);
    {
        TCanvas Canvas(&Image);
        Canvas.SetBrushColor(clBlack);
        Canvas.FillRect(2, 2, 4, 4);
    }
    if (Image.pixel(3, 3) != qRgb(0, 0, 0) || Image.pixel(4, 4) != qRgb(255, 255, 255)) {
        std::fprintf(stderr, "FillRect did not fill [2,4) x [2,4)\n");
        return 1;
    }
    std::printf("consumer: %s, canvas ok\n", Gtin.c_str());
    return 0;
}
