// Every output pinned by its bytes: PNG and SVG files, and the pixels that
// DrawEan13 and DrawSymbol leave, as SHA-1 digests recorded from the engine
// as it stood before the symbol was built by one builder. A change to any of
// them is a change of what users print; when one is meant, the row's digest
// is recorded again and the change said in the commit.
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
     "283480195306ba8d3be6265866f834f2add75fe4", "efc5ca6ac3bfcfa7c723f4ea513ace47b09e78b8"},
    {"ean13 600 dpi without marks", TSymbology::Ean13, "978020137962", "", 600, 0.330, false, clWhite, clBlack, clBlack,
     "d991dc1152ff99b1b1577b6bfa8c4a5bc1d7b65f", "e5ebef6949f99252ee729d8a365398c4b29675a2"},
    {"ean13 coloured at 203 dpi, 80 %", TSymbology::Ean13, "590123412345", "", 203, 0.264, true, clCream, clBlue, clRed,
     "72a036a339e169c4d2c6a645569c9317b8b4d1e6", "4c2742f262741418aa02e1a468e08978998a0885"},
    {"ean13 with 5-digit add-on at 1200 dpi", TSymbology::Ean13, "978316148410", "51299", 1200, 0.330, true, clWhite,
     clBlack, clBlack, "a1eb988d980a58950ab98a7c934e6d6517715466", "0c427e32e10f177b788da72ad9639fbd471cd963"},
    {"ean8 300 dpi", TSymbology::Ean8, "9638507", "", 300, 0.330, true, clWhite, clBlack, clBlack,
     "38594b974e923333a257fff2269df82f139f31cb", "4990fcdfd70bca51a6f356ca82a568b419066549"},
    {"ean8 with 2-digit add-on", TSymbology::Ean8, "5512345", "07", 600, 0.400, true, clWhite, clBlack, clBlack,
     "493c5c05cb730d5b15aea8d77d2467bac06a888c", "399fe14051b68e7638fe2628d999855aa01b0efb"},
    {"upca 600 dpi", TSymbology::UpcA, "03600029145", "", 600, 0.330, true, clWhite, clBlack, clBlack,
     "623c57842e061dbbdcfc8ce443a081f12dae0bc5", "6840f6e496cac46a44c752a27aeea86bee4d34aa"},
    {"upca with 5-digit add-on", TSymbology::UpcA, "03600029145", "90000", 300, 0.660, true, clWhite, clBlack, clBlue,
     "9bedbcb6aac5e537107bf05d7b167ab8ee962b85", "f2c6b0c6573a89b2b6df56c4c2c2f2bc67f680d3"},
    {"upce 300 dpi", TSymbology::UpcE, "0425261", "", 300, 0.330, true, clWhite, clBlack, clBlack,
     "8f75c4f95db2dc55c580d4b7995636fa68669690", "79447ea0f63ea9c04780b16ad373849a64b4723f"},
    {"ean13 with 2-digit add-on, no marks", TSymbology::Ean13, "978316148410", "07", 600, 0.330, false, clWhite,
     clBlack, clBlack, "97ed1a6c8c6b3ece9d2b15997cfa64405506d9be", "5d382e9954561e0826017af2921344aaac78cb39"},
    {"upce with 5-digit add-on, no marks", TSymbology::UpcE, "0425261", "52495", 300, 0.330, false, clWhite, clBlack,
     clBlack, "51a9c8d8bdf26ada6ad4e541238d4aea1b74b1ce", "a9f0dafa2e62a8cab1bdbb442c13465c5c63c55f"},
    {"upce with 2-digit add-on at 2400 dpi", TSymbology::UpcE, "1234565", "12", 2400, 0.330, true, clWhite, clBlack,
     clBlack, "f1e5930b801fc29a2b3490821c9c6bf865af7d01", "da09b784cb55a5e5860aa879df911fe71b6d8ef2"},
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
    {"ean8 m=3 add-on", TSymbology::Ean8, "96385074", "12", 0, 195, true, true, true,
     "35d8e042127620848cc792e6ad12804eb696b0a3"},
    {"upca m=2", TSymbology::UpcA, "036000291452", "", 0, 158, true, true, true,
     "e50a40bd96d6c800690872e1b6a069eff0b38d3f"},
    {"upce m=4 add-on", TSymbology::UpcE, "04252614", "51299", 0, 316, true, true, true,
     "8d170c4b6fea9ffa88ced2905ec1e5ce5c0b6a2d"},
    {"upca m=3 add-on without marks", TSymbology::UpcA, "036000291452", "12", 0, 237, true, false, true,
     "76cc8a94dd40530d5456ec2f011cb6396d4e1b0f"},
    {"ean13 m=6 add-on", TSymbology::Ean13, "9783161484100", "07", 0, 474, true, true, true,
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
        const std::int32_t Width =
            Row.Width ? Row.Width : SymbolModules(Row.Symbology, std::string(Row.AddOn).size()) * (Row.Height / 79);
        QImage Image(Width + 7, Row.Height + 5, QImage::Format_RGB32);
        Image.fill(qRgb(90, 160, 30));
        {
            TCanvas Canvas(&Image);
            if (Row.Symbology == TSymbology::Ean13 && !*Row.AddOn)
                ASSERT_TRUE(
                    DrawEan13(Row.Text, Canvas, Width, Row.Height, clCream, clBlack, clBlue, Row.Fill, Row.Marks));
            else
                ASSERT_TRUE(DrawSymbol(R, Canvas, Width, Row.Height, clCream, clBlack, clBlue, Row.Fill, Row.Marks));
        }
        EXPECT_EQ(Digest(Image), Row.Pixels);
    }
    WEQOcrB::OcrBFontLoaded = Saved;
}

} // namespace
