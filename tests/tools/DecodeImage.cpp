// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// weq_decode_image PICTURE: prints the EAN-13 GTIN read from the picture; exits 1 if none.
#include "symbol/Decode.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication App(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: weq_decode_image PICTURE\n");
        return 2;
    }
    const std::string Gtin = DecodeEan13(QImage(QString::fromLocal8Bit(argv[1])));
    if (Gtin.size() != 13)
        return 1;
    std::printf("%s\n", Gtin.c_str());
    return 0;
}
