// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// The exports: one symbol description for each, a raster painted with the
// fitted font or the vector form written out, then the file's bytes.

#include "ean/WEQEanExport.h"

#include "ean/Core_p.h"
#include "ean/Units.h"
#include "ean/Vector_p.h"
#include "export/Export_p.h"
#include "export/Writers_p.h"
#include "render/SymbolPaint_p.h"

#include <QPainter>
#include <QTransform>

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

// The raster symbol of a text at Dpi, and how it is painted: false with the
// reason in Out.Error where it cannot be; Out gets the snap either way.
bool PrepareRaster(const TEanReading& R, int Dpi, const TExportOptions& O, TRasterExport& Out, TSymbol& Symbol,
                   TPaint& Paint)
{
    if (!CheckXDimension(O.XDimensionMM, &Out.Error) || !CheckDpi(Dpi, &Out.Error))
        return false;
    const TSnap S = Snap(O.XDimensionMM, Dpi);
    Out.DotsPerModule = S.Dots;
    Out.XDimensionMM = S.XDimensionMM;
    Out.WithinGs1Range = WithinGs1(S.XDimensionMM);
    if (!SymbolAt(R, RasterGrid(S, Dpi), O, Symbol, &Out.Error))
        return false;
    if (Symbol.Width > MaxRasterSide || Symbol.Height > MaxRasterSide ||
        std::int64_t(Symbol.Width) * Symbol.Height > MaxRasterPixels) {
        Out.Error = QStringLiteral("%1 x %2 pixels is more than an image may have").arg(Symbol.Width).arg(Symbol.Height);
        return false;
    }
    // The font without antialiasing, placed by each character's own ink, so
    // that its edges are as crisp as the bars'; the outlines where the font
    // cannot be fitted or is not there.
    Paint = TPaint{.Background = O.BackgroundColor, .Bars = O.BarColor, .Digits = O.FontColor};
    Paint.Fits = &WEQOcrB::TFitCache::Shared();
    Paint.Glyphs = &TTextCache::Shared();
    if (WEQOcrB::OcrBFontRegistered())
        FitAllDigits(Symbol, Paint);
    return true;
}

// Paints the symbol's rows from Top on into Image, the canvas moved up by Top.
void PaintRows(const TSymbol& Symbol, const TPaint& Paint, QImage& Image, int Top)
{
    TCanvas Canvas(&Image);
    if (Top != 0)
        Canvas.SetTransform(QTransform::fromTranslate(0, -Top));
    if (!PaintSymbolDirect(Symbol, Canvas, Paint))
        PaintSymbol(Symbol, Canvas, Paint);
}

// The prepared symbol painted whole into Out.Image, which carries the dpi;
// Out.Error says why where it cannot be.
void PaintImage(const TSymbol& Symbol, const TPaint& Paint, int Dpi, TRasterExport& Out)
{
    QImage Image(Symbol.Width, Symbol.Height, QImage::Format_RGB32);
    if (Image.isNull()) {
        Out.Error = QStringLiteral("Not enough memory for %1 x %2 pixels").arg(Symbol.Width).arg(Symbol.Height);
        return;
    }
    const int DotsPerMetre = int(std::lround(Dpi / MetresPerInch));
    Image.setDotsPerMeterX(DotsPerMetre);
    Image.setDotsPerMeterY(DotsPerMetre);
    try {
        PaintRows(Symbol, Paint, Image, 0);
    } catch (const Exception& E) {
        Out.Error = QString::fromStdString(E.what());
        return;
    }
    Out.Image = std::move(Image);
}

// The symbol's rows a band at a time, the band painted when the writer first
// asks for one of its rows: a symbol at any size costs a band, not a frame.
class TBandRows final : public TRowSource {
public:
    TBandRows(const TSymbol& Symbol, const TPaint& Paint)
        : Symbol(Symbol), Paint(Paint),
          Rows(int(std::clamp<std::int64_t>(PngBandBytes / 4 / std::max(1, Symbol.Width), 1, Symbol.Height)))
    {
    }
    int Width() const override { return Symbol.Width; }
    int Height() const override { return Symbol.Height; }
    const QRgb* Row(int Y) override
    {
        if (Band.isNull() || Y < Top || Y >= Top + Band.height()) {
            Top = Y - Y % Rows;
            Band = QImage(Symbol.Width, std::min(Rows, Symbol.Height - Top), QImage::Format_RGB32);
            if (Band.isNull())
                throw Exception("Not enough memory for a band of " + std::to_string(Symbol.Width) + " pixels");
            PaintRows(Symbol, Paint, Band, Top);
        }
        return reinterpret_cast<const QRgb*>(Band.constScanLine(Y - Top));
    }

private:
    const TSymbol& Symbol;
    const TPaint& Paint;
    const int Rows;
    QImage Band;
    int Top = 0;
};

} // namespace

std::int64_t PngBandBytes = std::int64_t(32) << 20;

TRasterExport RenderRaster(const TEanReading& R, int Dpi, const TExportOptions& O)
{
    TRasterExport Out;
    TSymbol Symbol;
    TPaint Paint;
    if (PrepareRaster(R, Dpi, O, Out, Symbol, Paint))
        PaintImage(Symbol, Paint, Dpi, Out);
    return Out;
}

QSize RasterSize(const TEanReading& R, int Dpi, const TExportOptions& O)
{
    TSymbol Symbol;
    if (!CheckXDimension(O.XDimensionMM, nullptr) || !CheckDpi(Dpi, nullptr) ||
        !SymbolAt(R, RasterGrid(Snap(O.XDimensionMM, Dpi), Dpi), O, Symbol, nullptr))
        return {};
    return {Symbol.Width, Symbol.Height};
}

bool DrawOnDevice(const TEanReading& R, QPaintDevice* Device, const TExportOptions& O, QString* Error)
{
    if (!Device)
        return Fail(Error, QStringLiteral("No device to draw on"));
    if (!CheckXDimension(O.XDimensionMM, Error))
        return false;
    if (Device->paintingActive())
        return Fail(Error, QStringLiteral("The device is being painted on by another painter"));
    QPainter Painter;
    if (!Painter.begin(Device))
        return Fail(Error, QStringLiteral("The device cannot be painted on"));
    return DrawOnPainter(R, Painter, Device->logicalDpiX(), 0, 0, O, Error);
}

// Vector files then hold paths, not text in a font the reader may lack.
namespace {

// The vector symbol on Grid with a painter in whole units of the grid's dots,
// its top-left at (Left, Top).
bool PaintOnGrid(const TEanReading& R, QPainter& Painter, const TGrid& Grid, double Left, double Top,
                 const TExportOptions& O, QString* Error)
{
    if (!Painter.isActive())
        return Fail(Error, QStringLiteral("The painter is not painting"));
    TSymbol Symbol;
    if (!SymbolAt(R, Grid, O, Symbol, Error))
        return false;
    const double Scale = 1.0 / Grid.PerDot;
    Painter.save();
    Painter.setWorldTransform(QTransform(Scale, 0, 0, Scale, Left, Top), true);
    PaintVector(ResolveVector(std::move(Symbol)), Painter, O.BackgroundColor, O.BarColor, O.FontColor,
                O.FillBackground);
    Painter.restore();
    return true;
}

} // namespace

bool DrawOnPainter(const TEanReading& R, QPainter& Painter, int Dpi, double Left, double Top,
                   const TExportOptions& O, QString* Error)
{
    if (!CheckXDimension(O.XDimensionMM, Error))
        return false;
    if (Dpi <= 0)
        return Fail(Error, QStringLiteral("The device has no resolution"));
    return PaintOnGrid(R, Painter, DeviceGrid(Snap(O.XDimensionMM, Dpi), Dpi), Left, Top, O, Error);
}

bool PaintInDots(const TEanReading& R, QPainter& Painter, int Dpi, const TExportOptions& O, QString* Error)
{
    if (!CheckXDimension(O.XDimensionMM, Error))
        return false;
    if (Dpi <= 0)
        return Fail(Error, QStringLiteral("The device has no resolution"));
    return PaintOnGrid(R, Painter, RasterGrid(Snap(O.XDimensionMM, Dpi), Dpi), 0, 0, O, Error);
}

std::optional<TFileFormat> FileFormatOf(const QString& Path)
{
    static constexpr struct {
        const char* Suffix;
        TFileFormat Format;
    } Suffixes[] = {{"png", TFileFormat::Png}, {"svg", TFileFormat::Svg}, {"pdf", TFileFormat::Pdf}};
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
    const QRgb Background = TCanvas::PixelOf(O.BackgroundColor);
    const QRgb* Transparent = O.FillBackground ? nullptr : &Background;
    TRasterExport R;
    TSymbol Symbol;
    TPaint Paint;
    bool Encoded = false;
    if (!PrepareRaster(Reading, Dpi, O, R, Symbol, Paint)) {
        Fail(Error, R.Error);
    } else if (std::int64_t(Symbol.Width) * Symbol.Height * 4 <= PngBandBytes) {
        PaintImage(Symbol, Paint, Dpi, R);
        Out = R.Image.isNull() ? QByteArray() : PngOfImage(R.Image, Dpi, 6, Transparent);
        Encoded = !Out.isEmpty() || Fail(Error, R.Image.isNull() ? R.Error : QStringLiteral("Cannot encode the image as PNG"));
    } else {
        try {
            TBandRows Rows(Symbol, Paint);
            Out = PngOfRows(Rows, Dpi, 6, Transparent);
            Encoded = !Out.isEmpty() || Fail(Error, QStringLiteral("Cannot encode the image as PNG"));
        } catch (const Exception& E) {
            Fail(Error, QString::fromStdString(E.what()));
        }
    }
    if (Report)
        *Report = std::move(R);
    return Encoded;
}

bool EncodeSvg(const TEanReading& R, const TExportOptions& O, QByteArray& Out, QString* Error)
{
    if (!CheckXDimension(O.XDimensionMM, Error))
        return false;
    TSymbol Symbol;
    const TGrid Grid = VectorGrid(O.XDimensionMM);
    if (!SymbolAt(R, Grid, O, Symbol, Error))
        return false;
    TSvgStyle Style{O.BackgroundColor, O.BarColor, O.FontColor, Grid.PerModule,
                    R.Title(), O.FillBackground};
    std::string Svg;
    Svg.reserve(4096);
    AppendSvg(ResolveVector(std::move(Symbol)), Style, Svg);
    Out = QByteArray(Svg.data(), qsizetype(Svg.size()));
    return true;
}

bool EncodePdf(const TEanReading& R, const TExportOptions& O, QByteArray& Out, QString* Error)
{
    TPdfGrid G;
    TSymbol Symbol;
    if (!PdfGridOf(O, G, Error) || !SymbolAt(R, G.Grid, O, Symbol, Error))
        return false;
    const TVectorSymbol V = ResolveVector(std::move(Symbol));
    QByteArray Bytes;
    TPdfDocument Pdf([&Bytes](const char* Data, std::size_t Size) {
        Bytes.append(Data, qsizetype(Size));
        return true;
    });
    Pdf.BeginPage(V.Symbol.Width * G.PointsPerUnit, V.Symbol.Height * G.PointsPerUnit);
    Pdf.Place(V, 0, 0, G.PointsPerUnit, O.BackgroundColor, O.BarColor, O.FontColor, O.FillBackground);
    Pdf.EndPage();
    if (!Pdf.Finish(R.Title()))
        return Fail(Error, QStringLiteral("Cannot make the PDF"));
    Out = std::move(Bytes);
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

// The text's exports: its one reading, then the same as for a reading.
TRasterExport RenderRaster(const std::string& Text, int Dpi, const TExportOptions& O)
{
    return RenderRaster(ReadText(Text, O), Dpi, O);
}
QSize RasterSize(const std::string& Text, int Dpi, const TExportOptions& O)
{
    return RasterSize(ReadText(Text, O), Dpi, O);
}
bool DrawOnDevice(const std::string& Text, QPaintDevice* Device, const TExportOptions& O, QString* Error)
{
    return DrawOnDevice(ReadText(Text, O), Device, O, Error);
}
bool DrawOnPainter(const std::string& Text, QPainter& Painter, int Dpi, double Left, double Top,
                   const TExportOptions& O, QString* Error)
{
    return DrawOnPainter(ReadText(Text, O), Painter, Dpi, Left, Top, O, Error);
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

} // namespace WEQEan
