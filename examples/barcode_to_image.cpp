// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// barcode_to_image GTIN FILE.png: draws the symbol at module width 4 and saves it.
#include <WEQBarCode/ean/WEQEan.h>

#include <QGuiApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication App(argc, argv); // fonts need a GUI application
    if (argc != 3) {
        std::fprintf(stderr, "usage: barcode_to_image GTIN FILE.png\n");
        return 2;
    }
    const std::string Gtin = WEQEan::CompleteGTIN(argv[1]);
    const int Module = 4, Width = 113 * Module, Height = 79 * Module;
    QImage Image(Width, Height, QImage::Format_RGB32);
    TCanvas Canvas(&Image);
    const bool Drawn = WEQEan::DrawEan13(Gtin, Canvas, Width, Height, clWhite, clBlack, clBlack,
                                         /*FillBackground=*/true, /*DrawRightDelimiter=*/true);
    if (!Drawn || !Image.save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "could not draw or save %s\n", Gtin.c_str());
        return 1;
    }
    std::printf("%s\n", Gtin.c_str());
    return 0;
}
