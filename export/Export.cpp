// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// The exports: one symbol description for each, rasterised into packed rows
// or the vector form written out, then the file's bytes. Nothing here needs
// Qt's GUI library: what draws through a painter or makes a QImage is in
// Paint.cpp.

#include "ean/WEQEanExport.h"

#include "ean/Arith.h"
#include "ean/Core_p.h"
#include "ean/Units.h"
#include "ean/Vector_p.h"
#include "export/Export_p.h"
#include "export/Writers_p.h"
#include "ean/Raster_p.h"
#include "ean/SystemColors_p.h"


#include <algorithm>
#include <cmath>

namespace WEQEan {

namespace {

// Beyond this an image is more memory than any print needs (1 GB).
constexpr std::int64_t MaxRasterPixels = std::int64_t(1) << 28;
constexpr std::int32_t MaxRasterSide = 32767;

} // namespace

bool Fail(QString* Error, const QString& Reason)
{
    if (Error)
        *Error = Reason;
    return false;
}

bool CheckXDimension(double X, QString* Error)
{
    if (!std::isfinite(X) || !(X >= MinXDimensionMM && X <= MaxXDimensionMM))
        return Fail(Error, QStringLiteral("X-dimension %1 mm is outside %2 .. %3 mm")
                               .arg(X)
                               .arg(MinXDimensionMM)
                               .arg(MaxXDimensionMM));
    return true;
}

bool CheckDpi(int Dpi, QString* Error)
{
    if (Dpi < MinDpi || Dpi > MaxDpi)
        return Fail(Error, QStringLiteral("%1 dpi is outside %2 .. %3 dpi").arg(Dpi).arg(MinDpi).arg(MaxDpi));
    return true;
}

bool WithinGs1(double XMM) { return XMM >= Gs1MinXDimensionMM - 1e-9 && XMM <= Gs1MaxXDimensionMM + 1e-9; }

// The whole number of dots per module nearest to X at Dpi, at least one;
// where X itself is inside GS1's range, a neighbour inside it wins over a
// nearer one outside.
TSnap Snap(double X, double Dpi)
{
    const double Exact = X * Dpi / MillimetresPerInch;
    const std::int32_t Lo = std::max(1, int(std::floor(Exact))), Hi = std::max(1, int(std::ceil(Exact)));
    const auto Measure = [Dpi](std::int32_t Dots) { return Dots * MillimetresPerInch / Dpi; };
    std::int32_t Best = Exact - Lo < Hi - Exact ? Lo : Hi, Other = Best == Lo ? Hi : Lo;
    if (WithinGs1(X) && !WithinGs1(Measure(Best)) && WithinGs1(Measure(Other)))
        Best = Other;
    return {Best, Measure(Best)};
}

TEanReading ReadText(const std::string& Text, const TExportOptions& O)
{
    if (!RowOf(O.Symbology)) {
        TEanReading Refused;
        Refused.Error = "symbology " + std::to_string(int(O.Symbology)) + " is none of EAN-13, EAN-8, UPC-A, UPC-E";
        return Refused;
    }
    TReadOptions R;
    R.Complete = !O.Strict;
    R.AddOn = O.AddOn;
    return Read(KindOf(O.Symbology), Text, R);
}

bool InksOf(const TExportOptions& O, TInks& Inks, QString* Error)
{
    const TInk Black = TInk::FromCmyk(0, 0, 0, 100);
    // Under PDF/X a colour left as it was is black ink, and no ink behind it.
    const auto Given = [&O](const std::optional<TInk>& Ink, TColor Color, TColor Default, const TInk& PdfX) {
        return Ink ? *Ink : O.PdfX && Color == Default ? PdfX : TInk::FromColor(Color);
    };
    Inks.Bars = Given(O.BarInk, O.BarColor, clBlack, Black);
    // A white background left as it was, behind bars of ink, is white in
    // their model too: no ink on any plate, where RGB white would make the
    // file RGB.
    const bool Process = Inks.Bars.Kind == TInk::Cmyk || Inks.Bars.Kind == TInk::Spot;
    const TInk White = O.PdfX ? TInk::NoInk() : Process ? TInk::FromCmyk(0, 0, 0, 0) : TInk::FromColor(clWhite);
    Inks.Background = !O.FillBackground             ? TInk::NoInk()
                      : O.BackgroundInk              ? *O.BackgroundInk
                      : O.BackgroundColor == clWhite ? White
                                                     : TInk::FromColor(O.BackgroundColor);
    Inks.Digits = O.FontInk ? *O.FontInk : O.BarInk ? *O.BarInk : Given({}, O.FontColor, clBlack, Black);
    if (Inks.Bars.Kind == TInk::None || Inks.Digits.Kind == TInk::None)
        return Fail(Error, QStringLiteral("The bars and digits need an ink: none is for the background"));
    if (!O.PdfX)
        return true;
    const std::pair<const TInk*, const char*> Roles[] = {
        {&Inks.Background, "background is"}, {&Inks.Bars, "bars are"}, {&Inks.Digits, "digits are"}};
    for (const auto& [Ink, Role] : Roles)
        if (Ink->Kind == TInk::Rgb)
            return Fail(Error, QStringLiteral("PDF/X-1a takes CMYK and spot inks only, and the %1 RGB %2: give "
                                              "cmyk(C,M,Y,K) or spot(NAME,C,M,Y,K)")
                                   .arg(QLatin1String(Role), QString::fromStdString(InkText(*Ink))));
    return true;
}

TExportOptions RgbOptions(const TExportOptions& Given)
{
    TExportOptions O = Given;
    O.PdfX = false;
    TInks Inks;
    InksOf(O, Inks, nullptr);
    O.FillBackground = Inks.Background.Kind != TInk::None;
    if (O.FillBackground)
        O.BackgroundColor = InkColor(Inks.Background);
    O.BarColor = InkColor(Inks.Bars);
    O.FontColor = InkColor(Inks.Digits);
    return O;
}

TGrid RasterGrid(const TSnap& S, int Dpi) { return {S.Dots, Dpi / MillimetresPerInch, 1}; }

TGrid DeviceGrid(const TSnap& S, int Dpi)
{
    constexpr std::int32_t Fine = 50;
    return {S.Dots * Fine, Dpi / MillimetresPerInch * Fine, Fine};
}

// Micrometres: any X-dimension given to the micrometre is a whole number of them.
TGrid VectorGrid(double XDimensionMM)
{
    return {Snap(XDimensionMM, MicrometresPerInch).Dots, MicrometresPerMillimetre, 1};
}

bool PdfGridOf(const TExportOptions& O, TPdfGrid& Out, QString* Error)
{
    if (!CheckXDimension(O.XDimensionMM, Error) || (O.PrinterDpi != 0 && !CheckDpi(O.PrinterDpi, Error)))
        return false;
    if (O.PrinterDpi == 0)
        Out = {VectorGrid(O.XDimensionMM), PdfPointsPerUnit, 1 / MicrometresPerMillimetre};
    else
        Out = {RasterGrid(Snap(O.XDimensionMM, O.PrinterDpi), O.PrinterDpi), PointsPerInch / O.PrinterDpi,
               MillimetresPerInch / O.PrinterDpi};
    return true;
}

bool GeometryOf(TSymbology Symbology, const TExportOptions& O, const TGrid& Grid, TPrintGeometry& G, QString* Error)
{
    constexpr double MaxBarHeightMM = 1000;
    if (!std::isfinite(O.BarHeightMM) || O.BarHeightMM < 0 || O.BarHeightMM > MaxBarHeightMM)
        return Fail(Error, QStringLiteral("A bar height of %1 mm is not one from 0 (nominal) to %2 mm")
                               .arg(O.BarHeightMM)
                               .arg(MaxBarHeightMM));
    if (!std::isfinite(O.BarWidthReductionMM) || O.BarWidthReductionMM < 0 ||
        O.BarWidthReductionMM >= O.XDimensionMM)
        return Fail(Error, QStringLiteral("A bar width reduction of %1 mm is not one from 0 to below the "
                                          "X-dimension (%2 mm)")
                               .arg(O.BarWidthReductionMM)
                               .arg(O.XDimensionMM));
    // Whole dots of the output: the nearest to what was asked for.
    const auto Dots = [&Grid](double Units) { return std::llround(Units / Grid.PerDot) * Grid.PerDot; };
    G.BarUnits = O.BarHeightMM > 0 ? Dots(O.BarHeightMM * Grid.PerMM)
                                   : Dots(NominalBarModules(Symbology) * Grid.PerModule);
    G.BarUnits = std::max<std::int64_t>(G.BarUnits, Grid.PerDot);
    G.ReductionUnits = Dots(O.BarWidthReductionMM * Grid.PerMM);
    const std::int64_t Narrowest = Grid.PerModule - G.ReductionUnits;
    if (G.ReductionUnits > 0 && (2 * Narrowest < Grid.PerModule || Narrowest < Grid.PerDot))
        return Fail(Error, QStringLiteral("A bar width reduction of %1 mm would leave the narrowest bar %2 of a "
                                          "module of %3: under half a module or a dot")
                               .arg(O.BarWidthReductionMM)
                               .arg(Narrowest / double(Grid.PerDot))
                               .arg(Grid.PerModule / double(Grid.PerDot)));
    return true;
}

bool SymbolAt(const TEanReading& R, const TGrid& Grid, const TExportOptions& O, TSymbol& Symbol, QString* Error)
{
    TPrintGeometry G;
    if (!GeometryOf(R.Symbology, O, Grid, G, Error))
        return false;
    const std::int32_t M = Grid.PerModule;
    const std::int64_t Modules =
        SymbolModules(R.Symbology, R.AddOn.size(), std::clamp(O.AddOnGap, LeastAddOnGap(R.Symbology), MaxAddOnGap));
    // The digits' module and box below the bars, as the layout puts them.
    const std::int64_t Height = G.BarUnits + M + VerticalLayout(M, 0).DigitBoxHeight;
    std::exception_ptr Failure;
    DescribeSymbolInto(Symbol, R, ClampToInt32(Modules * M), ClampToInt32(Height), O.DrawRightDelimiter, O.AddOnGap,
                       Failure);
    if (Failure) {
        try {
            std::rethrow_exception(Failure);
        } catch (const Exception& E) {
            return Fail(Error, QString::fromStdString(E.what()));
        }
    }
    // The odd dot of a reduction from the right edge, every bar alike.
    const auto FromLeft = std::int32_t(G.ReductionUnits / Grid.PerDot / 2 * Grid.PerDot);
    if (G.ReductionUnits > 0)
        for (TSymbolElement& E : Symbol.Elements)
            if (E.Kind == TSymbolElement::Bar) {
                E.Left += FromLeft;
                E.Width -= std::int32_t(G.ReductionUnits);
            }
    return true;
}


namespace {

// zlib's level for the PNG files: on a symbol's rows 2 takes half the time
// of 6 for a fifth more bytes, and 1 saves little more time for a tenth
// more bytes again (the speed page has the figures).
constexpr int PngLevel = 2;

// A thread's rows, sampled characters, resolved outlines and their SVG
// text, kept from one symbol to the next: a batch's files then cost no
// allocation and each character size one resolution, one sampling and one
// writing of its numbers.
struct TThreadCaches {
    TPackedRows Rows;
    TGlyphRuns Glyphs;
    TShapeCache Shapes;
    TSvgShapeTexts SvgTexts;
    std::string SvgText;
};
TThreadCaches& ThreadCaches()
{
    thread_local TThreadCaches Raster;
    return Raster;
}
} // namespace

TPackedRows& ThreadRows() { return ThreadCaches().Rows; }

namespace {

std::uint32_t Rgb(TColor Color) { return PixelOf(Color) & 0xFFFFFFu; }

} // namespace

bool RasterizeAt(const TEanReading& R, int Dpi, const TExportOptions& Given, TRasterInfo& Out, TRaster& Raster)
{
    const TExportOptions O = RgbOptions(Given);
    if (!CheckXDimension(O.XDimensionMM, &Out.Error) || !CheckDpi(Dpi, &Out.Error))
        return false;
    const TSnap S = Snap(O.XDimensionMM, Dpi);
    Out.DotsPerModule = S.Dots;
    Out.XDimensionMM = S.XDimensionMM;
    Out.WithinGs1Range = WithinGs1(S.XDimensionMM);
    TSymbol Symbol;
    if (!SymbolAt(R, RasterGrid(S, Dpi), O, Symbol, &Out.Error))
        return false;
    if (Symbol.Width > MaxRasterSide || Symbol.Height > MaxRasterSide ||
        std::int64_t(Symbol.Width) * Symbol.Height > MaxRasterPixels) {
        Out.Error = QStringLiteral("%1 x %2 pixels is more than an image may have").arg(Symbol.Width).arg(Symbol.Height);
        return false;
    }
    Raster.Palette = {Rgb(O.BackgroundColor), Rgb(O.BarColor)};
    TRasterIndices Indices;
    if (Rgb(O.FontColor) != Raster.Palette[1]) {
        Raster.Palette.push_back(Rgb(O.FontColor));
        Indices.Characters = 2;
    }
    RasterizeSymbol(ResolveVector(std::move(Symbol), &ThreadCaches().Shapes), Indices, Raster.Palette.size() <= 2 ? 1 : 2, Raster.Rows,
                    ThreadCaches().Glyphs);
    return true;
}

QSize RasterSize(const TEanReading& R, int Dpi, const TExportOptions& O)
{
    TSymbol Symbol;
    if (!CheckXDimension(O.XDimensionMM, nullptr) || !CheckDpi(Dpi, nullptr) ||
        !SymbolAt(R, RasterGrid(Snap(O.XDimensionMM, Dpi), Dpi), O, Symbol, nullptr))
        return {};
    return {Symbol.Width, Symbol.Height};
}

std::optional<TFileFormat> FileFormatOf(const QString& Path)
{
    static constexpr struct {
        const char* Suffix;
        TFileFormat Format;
    } Suffixes[] = {{"png", TFileFormat::Png}, {"svg", TFileFormat::Svg}, {"pdf", TFileFormat::Pdf}, {"eps", TFileFormat::Eps}};
    const QStringView Name = QStringView(Path).mid(Path.lastIndexOf(u'/') + 1);
    const qsizetype Dot = Name.lastIndexOf(u'.');
    if (Dot < 0)
        return std::nullopt;
    const QString Suffix = Name.mid(Dot + 1).toString().toLower();
    for (const auto& S : Suffixes)
        if (Suffix == QLatin1String(S.Suffix))
            return S.Format;
    return std::nullopt;
}

std::int32_t DotsPerModule(double XDimensionMM, int Dpi)
{
    // Beyond the largest X-dimension the dots could pass any integer.
    if (!std::isfinite(XDimensionMM) || XDimensionMM <= 0 || XDimensionMM > MaxXDimensionMM || Dpi <= 0)
        return 1;
    return Snap(XDimensionMM, Dpi).Dots;
}

bool EncodePng(const TEanReading& Reading, int Dpi, const TExportOptions& O, QByteArray& Out, TRasterExport* Report,
               QString* Error)
{
    return EncodePngAtLevel(Reading, Dpi, O, PngLevel, Out, Report, Error);
}

bool EncodePngAtLevel(const TEanReading& Reading, int Dpi, const TExportOptions& O, int Level, QByteArray& Out,
                      TRasterExport* Report, QString* Error)
{
    TRasterInfo Info;
    TRaster Raster{ThreadRows(), {}};
    bool Encoded = false, Pictured = false;
    if (!RasterizeAt(Reading, Dpi, O, Info, Raster)) {
        Fail(Error, Info.Error);
    } else {
        // No ink for the background is no background, as the RGB options say.
        Out = PngOfPacked(Raster.Rows, Raster.Palette, Dpi, Level, RgbOptions(O).FillBackground ? -1 : 0);
        Encoded = !Out.isEmpty() || Fail(Error, QStringLiteral("Cannot encode the image as PNG"));
        // The image only for a caller that asks for the report, and only
        // where it is a frame such a caller may hold (32 MB of pixels).
        constexpr std::int64_t ReportedImageBytes = std::int64_t(32) << 20;
        Pictured = Encoded && std::int64_t(Raster.Rows.Width()) * Raster.Rows.Height() * 4 <= ReportedImageBytes;
    }
    if (Report) {
        Info.Into(*Report);
        if (ImageInto)
            ImageInto(Pictured ? &Raster : nullptr, Dpi, *Report);
    }
    // The thread keeps a small symbol's rows for the next, not a large one's.
    Raster.Rows.Release(std::size_t(4) << 20);
    return Encoded;
}

bool EncodeSvg(const TEanReading& R, const TExportOptions& Given, QByteArray& Out, QString* Error)
{
    const TExportOptions O = RgbOptions(Given);
    if (!CheckXDimension(O.XDimensionMM, Error))
        return false;
    TSymbol Symbol;
    const TGrid Grid = VectorGrid(O.XDimensionMM);
    if (!SymbolAt(R, Grid, O, Symbol, Error))
        return false;
    TSvgStyle Style{O.BackgroundColor, O.BarColor, O.FontColor, Grid.PerModule,
                    R.Title(), O.FillBackground};
    std::string& Svg = ThreadCaches().SvgText;
    Svg.clear();
    AppendSvg(ResolveVector(std::move(Symbol), &ThreadCaches().Shapes), Style, Svg, &ThreadCaches().SvgTexts);
    Out = QByteArray(Svg.data(), qsizetype(Svg.size()));
    return true;
}

bool EncodePdf(const TEanReading& R, const TExportOptions& O, QByteArray& Out, QString* Error)
{
    TInks Inks;
    TPdfGrid G;
    TSymbol Symbol;
    if (!PdfGridOf(O, G, Error) || !InksOf(O, Inks, Error) || !SymbolAt(R, G.Grid, O, Symbol, Error))
        return false;
    const TVectorSymbol V = ResolveVector(std::move(Symbol), &ThreadCaches().Shapes);
    QByteArray Bytes;
    TPdfDocument Pdf([&Bytes](const char* Data, std::size_t Size) {
        Bytes.append(Data, qsizetype(Size));
        return true;
    });
    if (O.PdfX)
        Pdf.SetPdfX(O.OutputCondition);
    Pdf.BeginPage(V.Symbol.Width * G.PointsPerUnit, V.Symbol.Height * G.PointsPerUnit);
    Pdf.Place(V, 0, 0, G.PointsPerUnit, Inks);
    Pdf.EndPage();
    if (!Pdf.Finish(R.Title()))
        return Fail(Error, QStringLiteral("Cannot make the PDF"));
    Out = std::move(Bytes);
    return true;
}

bool EncodeEps(const TEanReading& R, const TExportOptions& Given, QByteArray& Out, QString* Error)
{
    TExportOptions O = Given;
    O.PdfX = false;
    TInks Inks;
    TSymbol Symbol;
    if (!CheckXDimension(O.XDimensionMM, Error) || !InksOf(O, Inks, Error) ||
        !SymbolAt(R, VectorGrid(O.XDimensionMM), O, Symbol, Error))
        return false;
    std::string Eps;
    Eps.reserve(16384);
    AppendEps(ResolveVector(std::move(Symbol), &ThreadCaches().Shapes), Inks, R.Title(), Eps);
    Out = QByteArray(Eps.data(), qsizetype(Eps.size()));
    return true;
}

bool ExportPng(const TEanReading& R, const QString& Path, int Dpi, const TExportOptions& O, TRasterExport* Report,
               QString* Error)
{
    QByteArray Data;
    return EncodePng(R, Dpi, O, Data, Report, Error) && SaveFile(Path, Data, Error);
}

bool ExportSvg(const TEanReading& R, const QString& Path, const TExportOptions& O, QString* Error)
{
    QByteArray Data;
    return EncodeSvg(R, O, Data, Error) && SaveFile(Path, Data, Error);
}

bool ExportPdf(const TEanReading& R, const QString& Path, const TExportOptions& O, QString* Error)
{
    QByteArray Data;
    return EncodePdf(R, O, Data, Error) && SaveFile(Path, Data, Error);
}

bool ExportEps(const TEanReading& R, const QString& Path, const TExportOptions& O, QString* Error)
{
    QByteArray Data;
    return EncodeEps(R, O, Data, Error) && SaveFile(Path, Data, Error);
}

// The text's exports: its one reading, then the same as for a reading.
QSize RasterSize(const std::string& Text, int Dpi, const TExportOptions& O)
{
    return RasterSize(ReadText(Text, O), Dpi, O);
}
bool EncodePng(const std::string& Text, int Dpi, const TExportOptions& O, QByteArray& Out, TRasterExport* Report,
               QString* Error)
{
    return EncodePng(ReadText(Text, O), Dpi, O, Out, Report, Error);
}
bool EncodeSvg(const std::string& Text, const TExportOptions& O, QByteArray& Out, QString* Error)
{
    return EncodeSvg(ReadText(Text, O), O, Out, Error);
}
bool EncodePdf(const std::string& Text, const TExportOptions& O, QByteArray& Out, QString* Error)
{
    return EncodePdf(ReadText(Text, O), O, Out, Error);
}
bool ExportPng(const std::string& Text, const QString& Path, int Dpi, const TExportOptions& O, TRasterExport* Report,
               QString* Error)
{
    return ExportPng(ReadText(Text, O), Path, Dpi, O, Report, Error);
}
bool ExportSvg(const std::string& Text, const QString& Path, const TExportOptions& O, QString* Error)
{
    return ExportSvg(ReadText(Text, O), Path, O, Error);
}
bool ExportPdf(const std::string& Text, const QString& Path, const TExportOptions& O, QString* Error)
{
    return ExportPdf(ReadText(Text, O), Path, O, Error);
}
bool EncodeEps(const std::string& Text, const TExportOptions& O, QByteArray& Out, QString* Error)
{
    return EncodeEps(ReadText(Text, O), O, Out, Error);
}
bool ExportEps(const std::string& Text, const QString& Path, const TExportOptions& O, QString* Error)
{
    return ExportEps(ReadText(Text, O), Path, O, Error);
}

} // namespace WEQEan
