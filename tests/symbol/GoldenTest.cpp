// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// Every output pinned by its bytes: PNG and SVG files, and the pixels that
// DrawEan13 and DrawSymbol leave, as SHA-1 digests recorded from the engine
// as it stood before the symbol was built by one builder. A change to any of
// them is a change of what users print; when one is meant, the row's digest
// is recorded again and the change said in the commit.
#include "ean/Core_p.h"
#include "ean/WEQEan.h"
#include "ean/WEQEanExport.h"
#include "ocrb/WEQOcrB.h"

#include <QCryptographicHash>
#include <gtest/gtest.h>

using namespace WEQEan;

namespace {

std::string Digest(const QByteArray& Bytes)
{
    return QCryptographicHash::hash(Bytes, QCryptographicHash::Sha1).toHex().toStdString();
}

std::string Digest(const QImage& Image)
{
    QCryptographicHash Hash(QCryptographicHash::Sha1);
    for (int Y = 0; Y < Image.height(); ++Y)
        Hash.addData(QByteArrayView(reinterpret_cast<const char*>(Image.constScanLine(Y)), Image.width() * 4));
    return Hash.result().toHex().toStdString();
}

struct TFileRow {
    const char* Name;
    TSymbology Symbology;
    const char* Text;
    const char* AddOn;
    int Dpi;
    double XDimensionMM;
    bool Marks;
    TColor Background, Bars, Digits;
    const char* Png;
    const char* Svg;
};

const TFileRow FileRows[] = {
    {"ean13 300 dpi", TSymbology::Ean13, "400638133393", "", 300, 0.330, true, clWhite, clBlack, clBlack,
     "862257481edd29e369bd472737d71b995e04ff29", "0253c3a1e03022ac7aae93c8dd464b76e19a6509"},
    {"ean13 600 dpi without marks", TSymbology::Ean13, "978020137962", "", 600, 0.330, false, clWhite, clBlack, clBlack,
     "b4333b968ce840540b27b33e28768984661133a3", "39d5764b72a85b5b7ff7bb86810c750b7bcaaeaa"},
    {"ean13 coloured at 203 dpi, 80 %", TSymbology::Ean13, "590123412345", "", 203, 0.264, true, clCream, clBlue, clRed,
     "1bd672d2cefc5cbaeaaf0199b8bed1af5892dfca", "8c1759aaca6d5f05f3a108402eaa5d7331f511df"},
    {"ean13 with 5-digit add-on at 1200 dpi", TSymbology::Ean13, "978316148410", "51299", 1200, 0.330, true, clWhite,
     clBlack, clBlack, "e30fe7c8af3801cd9e3af0dd0dd3d118a6ed0341", "de32dd6416bdeab5f7419489d6885f4b4553349f"},
    {"ean8 300 dpi", TSymbology::Ean8, "9638507", "", 300, 0.330, true, clWhite, clBlack, clBlack,
     "147ca33c15222756a28b706e9f01b0c8b56211fc", "08c845eac4a96ddd3ca44237b3c29f154584ad9a"},
    {"ean8 with 2-digit add-on", TSymbology::Ean8, "5512345", "07", 600, 0.400, true, clWhite, clBlack, clBlack,
     "60fbfc6abfb61301aff4e37d407e4a2bf4b2894d", "c3da0133f66d2bd920d1baee69bbce373cf9cc76"},
    {"upca 600 dpi", TSymbology::UpcA, "03600029145", "", 600, 0.330, true, clWhite, clBlack, clBlack,
     "93ea00283006da0400bd97abb65036428bb6f331", "ed7415b7e630367372591450af7cf8e0c6b2398a"},
    {"upca with 5-digit add-on", TSymbology::UpcA, "03600029145", "90000", 300, 0.660, true, clWhite, clBlack, clBlue,
     "0729476a49c9e1840e89e5b5efb401898aa04921", "d8585b01676aac13aace1d31509f12da5b90e1d3"},
    {"upce 300 dpi", TSymbology::UpcE, "0425261", "", 300, 0.330, true, clWhite, clBlack, clBlack,
     "3cc02cd5f46b0f071b440288b226ca783bbd7d92", "97f99cbbd41228defac5ba3c507d5668508140be"},
    {"ean13 with 2-digit add-on, no marks", TSymbology::Ean13, "978316148410", "07", 600, 0.330, false, clWhite,
     clBlack, clBlack, "5aea31b263eaed3f18ec6bf3891c5580239f4587", "eb6f022187766943fe44c4a306a011c01e44336d"},
    {"upce with 5-digit add-on, no marks", TSymbology::UpcE, "0425261", "52495", 300, 0.330, false, clWhite, clBlack,
     clBlack, "b7b3f230c7bfcaf7182e67cc73056e90a376477c", "8c1e0ee944fe287e60e1022928319d7fdee66357"},
    {"upce with 2-digit add-on at 2400 dpi", TSymbology::UpcE, "1234565", "12", 2400, 0.330, true, clWhite, clBlack,
     clBlack, "616b1612edd42adf25bbbbce23ab6a53994da558", "3a0cc34163b1657720666885784aa0bdfb4e7421"},
};

TEST(GoldenTest, PngAndSvgFilesAreTheRecordedBytes)
{
    for (const TFileRow& Row : FileRows) {
        SCOPED_TRACE(Row.Name);
        TExportOptions O;
        O.Symbology = Row.Symbology;
        O.AddOn = Row.AddOn;
        O.XDimensionMM = Row.XDimensionMM;
        O.DrawRightDelimiter = Row.Marks;
        O.BackgroundColor = Row.Background;
        O.BarColor = Row.Bars;
        O.FontColor = Row.Digits;
        QByteArray Png, Svg;
        QString Error;
        ASSERT_TRUE(EncodePng(Row.Text, Row.Dpi, O, Png, nullptr, &Error)) << Error.toStdString();
        ASSERT_TRUE(EncodeSvg(Row.Text, O, Svg, &Error)) << Error.toStdString();
        EXPECT_EQ(Digest(Png), Row.Png) << "PNG";
        EXPECT_EQ(Digest(Svg), Row.Svg) << "SVG";
    }
}

struct TPixelRow {
    const char* Name;
    TSymbology Symbology;
    const char* Text;
    const char* AddOn;
    std::int32_t Width, Height;
    bool Fill, Marks, Font;
    const char* Pixels;
};

const TPixelRow PixelRows[] = {
    {"ean13 m=1", TSymbology::Ean13, "4006381333931", "", 113, 79, true, true, true,
     "666ab7187d9b8d1a2b6e9385a1d3ae55fb11de6d"},
    {"ean13 m=3 taller", TSymbology::Ean13, "9780201379624", "", 339, 237, true, true, true,
     "f3339c50cbdeffa4534c6372d7c3e3cdd6b5e490"},
    {"ean13 m=5 without fill", TSymbology::Ean13, "5901234123457", "", 565, 454, false, true, true,
     "04aa35571c5d3f7c4423876a815b51ba1e95c44b"},
    {"ean13 m=12", TSymbology::Ean13, "0000000123457", "", 1356, 948, true, false, true,
     "dd200dffed488029d12f168d4a7e7c9dfb2901f8"},
    {"ean13 m=4 outlines", TSymbology::Ean13, "4006381333931", "", 452, 316, true, true, false,
     "718cdc46c1295c35079a71322667f77ed6523055"},
    {"ean8 m=2 add-on, taller", TSymbology::Ean8, "96385074", "12", 216, 195, true, true, true,
     "35d8e042127620848cc792e6ad12804eb696b0a3"},
    {"upca m=2", TSymbology::UpcA, "036000291452", "", 226, 158, true, true, true,
     "e50a40bd96d6c800690872e1b6a069eff0b38d3f"},
    {"upce m=4 add-on", TSymbology::UpcE, "04252614", "51299", 484, 316, true, true, true,
     "8d170c4b6fea9ffa88ced2905ec1e5ce5c0b6a2d"},
    {"upca m=3 add-on without marks", TSymbology::UpcA, "036000291452", "12", 414, 237, true, false, true,
     "76cc8a94dd40530d5456ec2f011cb6396d4e1b0f"},
    {"ean13 m=6 add-on", TSymbology::Ean13, "9783161484100", "07", 840, 474, true, true, true,
     "06eea07bc88728119b877db4ec17868a199916fe"},
};

TEST(GoldenTest, DrawingsAreTheRecordedPixels)
{
    const bool Saved = WEQOcrB::OcrBFontLoaded;
    for (const TPixelRow& Row : PixelRows) {
        SCOPED_TRACE(Row.Name);
        WEQOcrB::OcrBFontLoaded = Row.Font;
        TEanReading R = ReadSymbol(Row.Symbology, Row.Text, Row.AddOn);
        ASSERT_TRUE(R.Valid()) << R.Error;
        QImage Image(Row.Width + 7, Row.Height + 5, QImage::Format_RGB32);
        Image.fill(qRgb(90, 160, 30));
        {
            TCanvas Canvas(&Image);
            if (Row.Symbology == TSymbology::Ean13 && !*Row.AddOn)
                ASSERT_TRUE(
                    DrawEan13(Row.Text, Canvas, Row.Width, Row.Height, clCream, clBlack, clBlue, Row.Fill, Row.Marks));
            else
                ASSERT_TRUE(DrawSymbol(R, Canvas, Row.Width, Row.Height, clCream, clBlack, clBlue, Row.Fill, Row.Marks));
        }
        EXPECT_EQ(Digest(Image), Row.Pixels);
    }
    WEQOcrB::OcrBFontLoaded = Saved;
}

} // namespace
