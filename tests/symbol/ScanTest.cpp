// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "ean/WEQEan.h"
#include "ocrb/WEQOcrB.h"

#include "symbol/Decode.h"

#include <QImage>
#include <gtest/gtest.h>

#include <random>

namespace {

// Every symbol drawn must be read back, by a real reader, as the GTIN drawn.
TEST(ScanTest, RandomGtinsDecodeAtModuleWidthsOneToFour)
{
    const bool Saved = WEQOcrB::OcrBFontLoaded;
    std::mt19937 Random(113);
    std::uniform_int_distribution<int> Digit(0, 9);
    int Decoded = 0;
    for (bool Font : {true, false}) {
        WEQOcrB::OcrBFontLoaded = Font;
        for (int Round = 0; Round < 150; ++Round) {
            std::string Body;
            for (int I = 0; I < 12; ++I)
                Body += char('0' + Digit(Random));
            const std::string Gtin = WEQEan::CompleteGTIN(Body);
            const int M = 1 + Round % 4;
            QImage Image(113 * M + 8, 79 * M + 8, QImage::Format_RGB32);
            Image.fill(Qt::white);
            {
                TCanvas Canvas(&Image);
                ASSERT_TRUE(WEQEan::DrawEan13(Gtin, Canvas, 113 * M, 79 * M, clWhite, clBlack, clBlack, true, true));
            }
            ASSERT_EQ(DecodeEan13(Image), Gtin) << "module width " << M << (Font ? " with the font" : " with outlines");
            ++Decoded;
        }
    }
    WEQOcrB::OcrBFontLoaded = Saved;
    EXPECT_EQ(Decoded, 300);
}

} // namespace
