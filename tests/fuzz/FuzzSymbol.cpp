// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// libFuzzer target: arbitrary bytes become a GTIN text, a drawing size (module
// widths up to 128, beyond the font's sizes), export parameters (any double
// for the X-dimension, any int for the dpi) and the control's properties.
// Completion must always give 13 digits with a valid check digit; drawing,
// exporting and painting the control must never crash, and exports must
// succeed exactly where the parameters are valid and the reader completes
// the text (it refuses an empty one). The family's readings and drawing
// likewise.
#include "ean/Core_p.h"
#include "control/WEQBarCode.h"
#include "ean/WEQEan.h"
#include "ean/WEQEanBook.h"
#include "ean/WEQEanExport.h"
#include "ean/WEQEanFamily.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>
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

template <class T> T Take(const std::uint8_t*& Data, std::size_t& Size)
{
    T V{};
    if (Size >= sizeof(T)) {
        std::memcpy(&V, Data, sizeof(T));
        Data += sizeof(T);
        Size -= sizeof(T);
    }
    return V;
}

void FuzzExports(const std::string& Text, double X, int Dpi, std::uint8_t Flags)
{
    WEQEan::TExportOptions O;
    O.XDimensionMM = X;
    O.DrawRightDelimiter = Flags & 1;
    O.BackgroundColor = (Flags & 2) ? clInfoBk : clWhite;
    const bool ValidX = std::isfinite(X) && X >= WEQEan::MinXDimensionMM && X <= WEQEan::MaxXDimensionMM;
    WEQEan::TReadOptions Completing;
    Completing.Complete = true;
    const bool Reads = WEQEan::Read(WEQEan::TKind::Ean13, Text, Completing).Valid();
    // Raster exports only where they stay small; validation is tried for any value.
    const bool Small = ValidX && X * Dpi / 25.4 <= 6;
    const bool ValidDpi = Dpi >= WEQEan::MinDpi && Dpi <= WEQEan::MaxDpi;
    if (Small || !ValidX || !ValidDpi) {
        const WEQEan::TRasterExport R = WEQEan::RenderRaster(Text, Dpi, O);
        if (R.Image.isNull() != !(ValidX && ValidDpi && Reads) || R.Image.isNull() == R.Error.isEmpty())
            std::abort();
    }
    QImage Device(64, 48, QImage::Format_RGB32);
    if (WEQEan::DrawOnDevice(Text, &Device, O) != (ValidX && Reads))
        std::abort();
    if (Flags & 4) {
        QBuffer Bytes;
        QSvgGenerator Svg;
        Svg.setOutputDevice(&Bytes);
        Svg.setResolution(25400);
        if (WEQEan::DrawOnDevice(Text, &Svg, O) != (ValidX && Reads))
            std::abort();
    }
}

// Print options from the same bytes: bar heights from below zero to beyond
// their limit, reductions up to more than a module. The GS1 check reports an
// error exactly where the export refuses.
void FuzzPrint(const std::string& Text, double X, int Dpi, std::uint8_t Flags, TColor Colour)
{
    WEQEan::TExportOptions O;
    O.XDimensionMM = X;
    O.Symbology = WEQEan::TSymbology(Flags % 4);
    O.AddOn = Flags & 8 ? Text.substr(0, Flags & 16 ? 2 : 5) : std::string();
    O.AddOnGap = 5 + (Flags >> 5);
    O.BarHeightMM = (Colour & 0xFFFF) / 16.0 - 100;
    O.BarWidthReductionMM = X * ((Colour >> 16) & 0xFF) / 200.0;
    O.BarColor = Colour;
    const auto Refused = [](const std::vector<WEQEan::TPrintFinding>& Found) {
        return std::any_of(Found.begin(), Found.end(),
                           [](const WEQEan::TPrintFinding& F) { return F.Severity == WEQEan::TPrintFinding::Error; });
    };
    QByteArray Svg;
    if (WEQEan::EncodeSvg(Text, O, Svg) == Refused(WEQEan::CheckGs1(Text, O)))
        std::abort();
    const bool ValidX = std::isfinite(X) && X >= WEQEan::MinXDimensionMM && X <= WEQEan::MaxXDimensionMM;
    if (ValidX && Dpi >= WEQEan::MinDpi && Dpi <= WEQEan::MaxDpi && X * Dpi / 25.4 <= 4 && O.BarHeightMM < 60) {
        QByteArray Png;
        if (WEQEan::EncodePng(Text, Dpi, O, Png) == Refused(WEQEan::CheckGs1(Text, O, Dpi)))
            std::abort();
        (void)WEQEan::GradeSymbol(Text, O, Dpi);
    }
}

void FuzzControl(const std::string& Text, std::int32_t Width, std::int32_t Height, std::uint8_t Flags, TColor Colour)
{
    TWEQBarCode Control;
    Control.SetGTIN(QString::fromLatin1(Text.data(), qsizetype(Text.size())));
    Control.SetColor(Colour);
    Control.SetBackgroundColor(Colour ^ 0x00FFFFFFu);
    Control.SetFontColor(Colour | clSystemColor);
    Control.SetTransparent(Flags & 8);
    Control.SetDrawRightDelimiter(Flags & 16);
    Control.SetFitHeightRatio(Flags & 32);
    Control.resize(Width, Height);
    QImage Target(96, 64, QImage::Format_ARGB32_Premultiplied);
    Target.fill(Qt::transparent);
    Control.render(&Target);
    if (!ValidGtin(Control.GTIN().toStdString()))
        std::abort();
}

// The family: a completion that holds is what the strict reading takes and
// always draws; a refused reading never draws; the text as a GTIN never crashes.
void FuzzFamily(const std::string& Text, std::int32_t Width, std::int32_t Height, std::uint8_t Flags)
{
    const auto S = WEQEan::TSymbology(Flags % 4);
    const std::string Main = Text.substr(0, Text.size() / 2), AddOn = Text.substr(Text.size() / 2);
    const WEQEan::TEanReading Lenient = WEQEan::CompleteSymbol(S, Main, AddOn);
    const WEQEan::TEanReading Strict = WEQEan::ReadSymbol(S, Main, AddOn);
    if (Lenient.Valid() && !WEQEan::ReadSymbol(S, Lenient.Data, Lenient.AddOn).Valid())
        std::abort();
    if (!Lenient.Valid() && (S != WEQEan::TSymbology::UpcE || Main.size() <= 8))
        std::abort();
    // A refusal names a position inside the text it is about.
    const std::size_t Length = Strict.ErrorInAddOn ? AddOn.size() : Main.size();
    if (!Strict.Valid() && (Strict.ErrorPosition < 0 || std::size_t(Strict.ErrorPosition) > Length))
        std::abort();
    (void)WEQEan::ReadGtin(Text, AddOn);
    QImage Image(48, 32, QImage::Format_RGB32);
    TCanvas Canvas(&Image);
    const std::int32_t Gap = WEQEan::MinAddOnGap + (Flags >> 4) % 6; // 7 to 12
    const bool GapHolds = Lenient.AddOn.empty() || Gap >= WEQEan::LeastAddOnGap(S);
    if (WEQEan::DrawSymbol(Lenient, Canvas, Width, Height, clWhite, clBlack, clBlack, Flags & 4, Flags & 8, Gap) !=
        (Lenient.Valid() && GapHolds))
        std::abort();
    if (WEQEan::DrawSymbol(Strict, Canvas, Width, Height, clWhite, clBlack, clBlack, true, true) != Strict.Valid())
        std::abort();
    // Books, music and serials draw exactly when read, their number line
    // with them; a line of any bytes a caller puts in is drawn or refused.
    // The whole text as the number, the add-on and variant from the flags.
    const std::string BookAddOn = Flags & 16 ? "51299" : Flags & 32 ? "07" : "", Variant = Flags & 64 ? "05" : "0x";
    for (const WEQEan::TEanReading& Book : {WEQEan::ReadIsbn(Text, BookAddOn), WEQEan::ReadIsmn(Text, BookAddOn),
                                            WEQEan::ReadIssn(Text, Variant, BookAddOn)})
        if (WEQEan::DrawSymbol(Book, Canvas, Width, Height, clWhite, clBlack, clBlack, true, Flags & 8) != Book.Valid() ||
            (Book.Valid() && Book.Line.empty()))
            std::abort();
    (void)WEQEan::BookKindOf(Text);
    WEQEan::TEanReading Lined = Strict;
    Lined.Line = AddOn;
    if (WEQEan::DrawSymbol(Lined, Canvas, Width, Height, clWhite, clBlack, clBlack, true, true) && !Strict.Valid())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* Argc, char*** Argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication App(*Argc, *Argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    // Module widths up to 128, the height to a few hundred modules.
    const std::int32_t Width = std::int32_t(Take<std::uint16_t>(Data, Size) % (113 * 129));
    const std::int32_t Height = std::int32_t(Take<std::uint16_t>(Data, Size)) - 4096;
    const std::uint8_t Flags = Take<std::uint8_t>(Data, Size);
    const double X = Take<double>(Data, Size);
    const std::int32_t Dpi = Take<std::int32_t>(Data, Size);
    const TColor Colour = Take<TColor>(Data, Size);
    const std::string Text(reinterpret_cast<const char*>(Data), Size);

    const std::string Gtin = WEQEan::CompleteGTIN(Text);
    if (!ValidGtin(Gtin))
        std::abort();

    QImage Image(64 + (Flags & 0x3F), 48 + (Flags >> 3), QImage::Format_RGB32);
    Image.fill(Qt::white);
    {
        TCanvas Canvas(&Image);
        const bool Fill = Flags & 0x40, Delimiter = Flags & 0x80;
        if (!WEQEan::DrawEan13(Gtin, Canvas, Width, Height, clCream, clBlack, clBlue, Fill, Delimiter))
            std::abort(); // a complete GTIN always draws
        WEQEan::DrawEan13(Text, Canvas, Width, Height, clInfoBk, Colour, clWindowText, !Fill, Delimiter);
    }
    FuzzExports(Text, X, Dpi, Flags);
    FuzzPrint(Text, X, Dpi, Flags, Colour);
    FuzzFamily(Text, Width, Height, Flags);
    // Control sizes anywhere in the int range.
    const auto Clamp = [](std::int64_t V) { return std::int32_t(std::clamp<std::int64_t>(V, INT32_MIN, INT32_MAX)); };
    FuzzControl(Text, Clamp(std::int64_t(Width) * (Flags & 1 ? 1 : -1) * (Flags & 2 ? 100000 : 1)),
                Clamp(std::int64_t(Height) * (Flags & 4 ? 50000 : 1)), Flags, Colour);
    return 0;
}
