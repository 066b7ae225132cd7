// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// Uses the installed headers and library the way an application would.
#include <WEQBarCode/control/WEQBarCode.h>
#include <WEQBarCode/ean/WEQEan.h>
#include <WEQBarCode/ean/WEQEanExport.h>
#include <WEQBarCode/ocrb/WEQOcrB.h>
#include <WEQBarCode/surface/Canvas.h>

#include <QApplication>
#include <QFontInfo>
#include <QImage>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication App(argc, argv);
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
    // Nothing of ours was called before the application object existed, yet
    // the embedded face must be there.
    if (!WEQOcrB::OcrBFontLoaded || QFontInfo(QFont("OCRB")).family() != "OCRB") {
        std::fprintf(stderr, "the embedded OCR-B face is not registered\n");
        return 1;
    }
    QImage Digit(40, 40, QImage::Format_RGB32);
    Digit.fill(Qt::white);
    {
        TCanvas Canvas(&Digit);
        WEQOcrB::DrawOcrBChar("8", Canvas, 5, 5, 30, 30, 1, clBlack);
    }
    int Ink = 0;
    for (int Y = 0; Y < 40; ++Y)
        for (int X = 0; X < 40; ++X)
            Ink += Digit.pixel(X, Y) != qRgb(255, 255, 255);
    if (Ink < 20) {
        std::fprintf(stderr, "DrawOcrBChar drew %d pixels\n", Ink);
        return 1;
    }
    // An error raised inside the library is caught here by its class, so its
    // type information is shared across the library boundary.
    bool Caught = false;
    try {
        WEQEan::ParityPattern("x");
    } catch (const EConvertError&) {
        Caught = true;
    }
    if (!Caught) {
        std::fprintf(stderr, "EConvertError from the library was not caught as such\n");
        return 1;
    }
    TWEQBarCode Control;
    if (!Control.setProperty("GTIN", "12345") || Control.GTIN() != "0000000123457") {
        std::fprintf(stderr, "TWEQBarCode's GTIN property gave %s\n", qPrintable(Control.GTIN()));
        return 1;
    }
    const WEQEan::TRasterExport Raster = WEQEan::RenderRaster("400638133393", 300);
    if (Raster.Image.isNull() || Raster.DotsPerModule < 1) {
        std::fprintf(stderr, "RenderRaster drew nothing\n");
        return 1;
    }
    std::printf("consumer: %s, canvas ok, OCR-B face registered, digit drawn, error caught, control and "
                "export used\n",
                Gtin.c_str());
    return 0;
}
