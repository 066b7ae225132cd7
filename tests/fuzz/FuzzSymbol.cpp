// libFuzzer target: arbitrary bytes become a GTIN text and a drawing size.
// Completion must always give 13 digits with a valid check digit, and
// drawing, of the completed GTIN and of the raw text, must never crash.
#include "ean/WEQEan.h"

#include <QGuiApplication>
#include <QImage>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

bool ValidGtin(const std::string& Gtin)
{
    if (Gtin.size() != 13)
        return false;
    int Sum = 0;
    for (int I = 0; I < 13; ++I) {
        if (Gtin[std::size_t(I)] < '0' || Gtin[std::size_t(I)] > '9')
            return false;
        Sum += (Gtin[std::size_t(I)] - '0') * (I % 2 ? 3 : 1);
    }
    return Sum % 10 == 0;
}

std::int32_t Take16(const std::uint8_t*& Data, std::size_t& Size)
{
    std::int16_t V = 0;
    if (Size >= 2) {
        std::memcpy(&V, Data, 2);
        Data += 2;
        Size -= 2;
    }
    return V;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* Argc, char*** Argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication App(*Argc, *Argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    // Sizes within a few thousand pixels: large enough for every branch of
    // the layout, small enough for the font fitting to stay quick.
    const std::int32_t Width = Take16(Data, Size) % 1200;
    const std::int32_t Height = Take16(Data, Size) % 1200;
    const std::uint8_t Flags = Size ? *Data : 0;
    const std::string Text(reinterpret_cast<const char*>(Data), Size);

    const std::string Gtin = WEQEan::CompleteGTIN(Text);
    if (!ValidGtin(Gtin))
        std::abort();

    QImage Image(64 + (Flags & 0x3F), 48 + (Flags & 0x1F), QImage::Format_RGB32);
    Image.fill(Qt::white);
    TCanvas Canvas(&Image);
    const bool Fill = Flags & 0x40, Delimiter = Flags & 0x80;
    if (!WEQEan::DrawEan13(Gtin, Canvas, Width, Height, clCream, clBlack, clBlue, Fill, Delimiter))
        std::abort(); // a complete GTIN always draws
    WEQEan::DrawEan13(Text, Canvas, Width, Height, clInfoBk, clNavy, clWindowText, !Fill, Delimiter);
    return 0;
}
