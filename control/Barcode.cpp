// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "control/Barcode.h"

#include "control/SymbolPainter_p.h"
#include "ean/WEQEanExport.h"
#include "ean/WEQEanBook.h"
#include "ean/WEQEanFamily.h"
#include "ean/Units.h"
#include "export/Export_p.h"
#include "surface/Canvas.h"

#include <array>

#include <QDebug>
#include <QHash>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <mutex>

namespace WEQ {

namespace {

const QColor DefaultBar = Qt::black, DefaultBackground = Qt::white, DefaultText = Qt::black;

// The text as UTF-8, cut where it is longer than any reading takes (a
// book's number is read from up to 64 characters) but still long enough to
// be refused as too long: megabytes of pasted text cost no more than a GTIN.
std::string Bounded(const QString& Text) { return Text.left(2048).toStdString(); }

} // namespace

class BarcodePrivate : public QSharedData {
public:
    BarcodePrivate() { Reread(); }
    // A copy shares the rendering made so far but not the lock. Another copy
    // of the same data may be rendering into it on another thread: it is
    // read under the source's lock.
    BarcodePrivate(const BarcodePrivate& O)
        : QSharedData(O), Text(O.Text), AddOn(O.AddOn), Symbology(O.Symbology), Strict(O.Strict), Bar(O.Bar),
          Background(O.Background), Digits(O.Digits), Spots(O.Spots), Marks(O.Marks), XDimension(O.XDimension),
          BarHeight(O.BarHeight), Reduction(O.Reduction), Reading(O.Reading),
          TextError(O.TextError), Screen(O.LockedScreen())
    {
    }

    QString Text, AddOn;
    Barcode::Symbology Symbology = Barcode::Ean13;
    bool Strict = true;
    QColor Bar = DefaultBar, Background = DefaultBackground, Digits = DefaultText;
    std::array<QString, 3> Spots; // by ColorRole: the spot ink's name, or empty
    bool Marks = true;
    double XDimension = WEQEan::NominalXDimensionMM;
    double BarHeight = 0, Reduction = 0;

    // What is drawn, and the strict reading's reason.
    WEQEan::TEanReading Reading;
    QString TextError;

    // Why nothing can be drawn, or why the text is not what the symbology takes.
    QString Error() const
    {
        QString Reason;
        return WEQEan::CheckXDimension(XDimension, &Reason) && Geometry(&Reason) ? TextError : Reason;
    }
    bool Drawable() const
    {
        return Reading.Valid() && WEQEan::CheckXDimension(XDimension, nullptr) && Geometry(nullptr);
    }
    // Whether the bar height and reduction can be drawn at the X-dimension.
    bool Geometry(QString* Reason) const
    {
        WEQEan::TPrintGeometry G;
        return WEQEan::GeometryOf(Reading.Symbology, Options(), WEQEan::VectorGrid(XDimension), G, Reason);
    }

    // The last rendering for a screen, for repaints at the same size.
    struct TScreen {
        QImage Image;
        QSize Size;
        qreal Ratio = 0;
    };
    mutable std::mutex Lock;
    mutable TScreen Screen;
    TScreen LockedScreen() const
    {
        const std::lock_guard Guard(Lock);
        return Screen;
    }

    void Reread()
    {
        static_assert(int(Barcode::Ean13) == int(WEQEan::TKind::Ean13) && int(Barcode::Auto) == int(WEQEan::TKind::Auto) &&
                      int(Barcode::Issn) == int(WEQEan::TKind::Issn));
        WEQEan::TReadOptions O;
        // Auto and the book numbers are read as they are, always.
        O.Complete = !Strict && Symbology <= Barcode::UpcE;
        O.AddOn = Bounded(AddOn);
        Reading = WEQEan::Read(WEQEan::TKind(Symbology), Bounded(Text), O);
        // What completion changed is said as the strict reading says it.
        TextError = QString::fromStdString(
            !Reading.Valid() || Reading.Warnings.empty() || !O.Complete
                ? Reading.Error
                : WEQEan::Read(WEQEan::TKind(Symbology), Bounded(Text), {false, O.AddOn, {}}).Error);
        Changed();
    }
    void Changed() { Screen = {}; }

    WEQEan::TExportOptions Options() const
    {
        WEQEan::TExportOptions O;
        O.XDimensionMM = XDimension;
        O.BarHeightMM = BarHeight;
        O.BarWidthReductionMM = Reduction;
        O.DrawRightDelimiter = Marks;
        O.FillBackground = Background.alpha() != 0;
        O.BackgroundColor = O.FillBackground ? ToTColor(Background) : clWhite;
        O.BarColor = ToTColor(Bar);
        O.FontColor = ToTColor(Digits);
        O.BarInk = InkOf(Barcode::BarRole);
        O.BackgroundInk = O.FillBackground ? InkOf(Barcode::BackgroundRole) : std::nullopt;
        // The digits take the bars' ink unless given their own colour.
        O.FontInk = InkOf(Barcode::TextRole);
        if (O.BarInk && !O.FontInk)
            O.FontInk = Digits == DefaultText ? *O.BarInk : WEQEan::TInk::FromColor(O.FontColor);
        return O;
    }

    // A role's ink where it is one: its spot ink, or its CMYK colour.
    std::optional<WEQEan::TInk> InkOf(Barcode::ColorRole Role) const
    {
        const QColor& Color = Role == Barcode::BarRole ? Bar : Role == Barcode::BackgroundRole ? Background : Digits;
        if (Spots[Role].isEmpty() && !IsCmyk(Color))
            return std::nullopt;
        const QColor Cmyk = Color.toCmyk();
        // Percent to the hundredth: a float channel's last bits are no ink.
        const auto Percent = [](float F) { return std::round(double(F) * 10000) / 100; };
        const double C = Percent(Cmyk.cyanF()), M = Percent(Cmyk.magentaF()), Y = Percent(Cmyk.yellowF()),
                     K = Percent(Cmyk.blackF());
        return Spots[Role].isEmpty() ? WEQEan::TInk::FromCmyk(C, M, Y, K)
                                     : WEQEan::TInk::FromSpot(Spots[Role].toStdString(), C, M, Y, K);
    }

    // The number line's modules on a screen: its band at a large module
    // width, rounded up, which covers it at every smaller one.
    int LineModules() const
    {
        constexpr std::int32_t Large = 1000;
        return (WEQEan::LineBandHeight(Reading, Large) + Large - 1) / Large;
    }

    TSymbolShape Shape(bool KeepAspectRatio) const
    {
        const int Line = LineModules();
        return {WEQEan::SymbolModules(Reading.Symbology, Reading.AddOn.size()),
                WEQEan::RatioHeightModules(Reading.Symbology) + Line, KeepAspectRatio, Line};
    }

    // The symbol in an image of whole device pixels a module, at Ratio.
    QImage Render(const TSymbolFit& Fit, qreal Ratio) const
    {
        if (Fit.ModuleWidth == 0 || !Drawable())
            return {};
        const std::lock_guard Guard(Lock);
        if (!Screen.Image.isNull() && Screen.Size == Fit.Size && Screen.Ratio == Ratio)
            return Screen.Image;
        const bool Opaque = Background.alpha() == 255;
        QImage Image(Fit.Size, Opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
        if (Image.isNull())
            return {};
        Image.fill(Opaque ? Background : QColor(Qt::transparent));
        bool Drawn;
        {
            // Laid out at one canvas unit per device pixel; the ratio only
            // tells the painter later how large the pixels are.
            TCanvas Canvas(&Image);
            // The line's band comes on top of the height the bars and digits get.
            const int Height = Fit.Size.height() - WEQEan::LineBandHeight(Reading, Fit.ModuleWidth);
            Drawn = WEQEan::DrawSymbol(Reading, Canvas, Fit.Size.width(), Height, ToTColor(Background),
                                       ToTColor(Bar), ToTColor(Digits), Opaque, Marks);
        }
        // A failed drawing covers its area in the background colour, which
        // on a translucent background must not show.
        if (!Drawn && !Opaque)
            Image.fill(Qt::transparent);
        Image.setDevicePixelRatio(Ratio);
        Screen = {Image, Fit.Size, Ratio};
        return Image;
    }
};

Barcode::Barcode() : d(new BarcodePrivate) {}

Barcode::Barcode(const QString& text, Symbology symbology) : d(new BarcodePrivate)
{
    d->Text = text;
    d->Symbology = symbology >= Ean13 && symbology <= Issn ? symbology : Ean13;
    d->Reread();
}

Barcode::Barcode(const Barcode& other) = default;
Barcode::Barcode(Barcode&& other) noexcept = default;
Barcode& Barcode::operator=(const Barcode& other) = default;
Barcode& Barcode::operator=(Barcode&& other) noexcept = default;
Barcode::~Barcode() = default;

QString Barcode::text() const { return d->Text; }
Barcode::Symbology Barcode::symbology() const { return d->Symbology; }
QString Barcode::addOn() const { return d->AddOn; }
bool Barcode::strict() const { return d->Strict; }
bool Barcode::isValid() const { return d->Drawable(); }
QString Barcode::errorString() const { return d->Error(); }
QString Barcode::gtin() const { return QString::fromLatin1(d->Reading.Data); }
QString Barcode::title() const { return d->Reading.Valid() ? QString::fromStdString(d->Reading.Title()) : QString(); }
QColor Barcode::barColor() const { return d->Bar; }
QColor Barcode::backgroundColor() const { return d->Background; }
QColor Barcode::textColor() const { return d->Digits; }
bool Barcode::quietZoneMarks() const { return d->Marks; }
double Barcode::xDimension() const { return d->XDimension; }
double Barcode::barHeight() const { return d->BarHeight; }
double Barcode::barWidthReduction() const { return d->Reduction; }

// Each setter leaves the shared data alone when nothing changes, so that a
// copy of an unchanged barcode keeps sharing it.
void Barcode::setText(const QString& text)
{
    if (text == d->Text)
        return;
    d->Text = text;
    d->Reread();
}

void Barcode::setSymbology(Symbology symbology)
{
    const Symbology Value = symbology >= Ean13 && symbology <= Issn ? symbology : Ean13;
    if (Value == d->Symbology)
        return;
    d->Symbology = Value;
    d->Reread();
}

void Barcode::setAddOn(const QString& addOn)
{
    if (addOn == d->AddOn)
        return;
    d->AddOn = addOn;
    d->Reread();
}

void Barcode::setStrict(bool strict)
{
    if (strict == d->Strict)
        return;
    d->Strict = strict;
    d->Reread();
}

void Barcode::setBarColor(const QColor& color)
{
    const QColor Value = ColorOrDefault(color, DefaultBar);
    if (Value == d->Bar && d->Spots[BarRole].isEmpty())
        return;
    d->Bar = Value;
    d->Spots[BarRole].clear();
    d->Changed();
}

void Barcode::setBackgroundColor(const QColor& color)
{
    const QColor Value = ColorOrDefault(color, DefaultBackground);
    if (Value == d->Background && d->Spots[BackgroundRole].isEmpty())
        return;
    d->Background = Value;
    d->Spots[BackgroundRole].clear();
    d->Changed();
}

void Barcode::setTextColor(const QColor& color)
{
    const QColor Value = ColorOrDefault(color, DefaultText);
    if (Value == d->Digits && d->Spots[TextRole].isEmpty())
        return;
    d->Digits = Value;
    d->Spots[TextRole].clear();
    d->Changed();
}

bool Barcode::setSpotColor(ColorRole role, const QString& name, const QColor& color)
{
    if (role < BarRole || role > TextRole || !color.isValid())
        return false;
    // The name as the files take it, checked as the command line's is.
    WEQEan::TInk Ink;
    if (name.size() > int(WEQEan::MaxSpotNameLength) ||
        !WEQEan::ParseInk("spot(" + name.toStdString() + ",0,0,0,0)", Ink) || Ink.Name != name.toStdString())
        return false;
    QColor& Role = role == BarRole ? d->Bar : role == BackgroundRole ? d->Background : d->Digits;
    const QColor Cmyk = color.toCmyk();
    if (Role == Cmyk && d->Spots[role] == name)
        return true;
    Role = Cmyk;
    d->Spots[role] = name;
    d->Changed();
    return true;
}

QString Barcode::spotColorName(ColorRole role) const
{
    return role >= BarRole && role <= TextRole ? d->Spots[role] : QString();
}

void Barcode::setQuietZoneMarks(bool on)
{
    if (on == d->Marks)
        return;
    d->Marks = on;
    d->Changed();
}

void Barcode::setXDimension(double millimetres)
{
    if (millimetres == d->XDimension || (std::isnan(millimetres) && std::isnan(d->XDimension)))
        return;
    d->XDimension = millimetres;
    d->Changed();
}

// A value the same as before, NaN as NaN, changes nothing.
static bool Same(double A, double B) { return A == B || (std::isnan(A) && std::isnan(B)); }

void Barcode::setBarHeight(double millimetres)
{
    if (Same(millimetres, d->BarHeight))
        return;
    d->BarHeight = millimetres;
    d->Changed();
}

void Barcode::setBarWidthReduction(double millimetres)
{
    if (Same(millimetres, d->Reduction))
        return;
    d->Reduction = millimetres;
    d->Changed();
}

int Barcode::moduleWidthForDpi(int dpi) const
{
    return WEQEan::CheckXDimension(d->XDimension, nullptr) && dpi > 0 ? WEQEan::DotsPerModule(d->XDimension, dpi) : 0;
}

double Barcode::xDimensionForDpi(int dpi) const
{
    return dpi > 0 ? moduleWidthForDpi(dpi) * WEQEan::MillimetresPerInch / dpi : 0.0;
}

QSize Barcode::sizeInModules() const
{
    const TSymbolShape Shape = d->Shape(true);
    return QSize(Shape.Modules, Shape.HeightModules);
}

QSizeF Barcode::size() const
{
    // What the vector files measure: the module a whole number of micrometres.
    double Width = 0, Height = 0;
    if (!WEQEan::CheckXDimension(d->XDimension, nullptr))
        return {};
    if (d->Reading.Valid() && WEQEan::TPdfSheet::SizeOf(d->Reading, d->Options(), Width, Height))
        return QSizeF(Width, Height);
    const double X = WEQEan::DotsPerModule(d->XDimension, WEQEan::MicrometresPerInch) / WEQEan::MicrometresPerMillimetre;
    return QSizeF(sizeInModules()) * X;
}

QStringList Barcode::warnings() const
{
    QStringList Out;
    for (const std::string& W : d->Reading.Warnings)
        Out << QString::fromStdString(W);
    if (d->Drawable())
        for (const WEQEan::TPrintFinding& F : WEQEan::CheckGs1(d->Reading, d->Options()))
            Out << QString::fromStdString(F.Text);
    return Out;
}

QSizeF Barcode::sizeForDpi(int dpi) const
{
    if (!isValid())
        return {};
    const QSize Dots = WEQEan::RasterSize(d->Reading, dpi, d->Options());
    return Dots.isEmpty() ? QSizeF() : QSizeF(Dots) * (WEQEan::MillimetresPerInch / dpi);
}

bool Barcode::paint(QPainter* painter, const QPointF& topLeftMillimetres) const
{
    if (!painter || !painter->isActive() || !isValid())
        return false;
    QPaintDevice* Device = painter->device();
    // Every device gives its dots per inch in its logical units, each of
    // its pixel ratio's device pixels (images too, as fonts take them).
    const double DotsPerMillimetre = Device->logicalDpiX() * Device->devicePixelRatioF() / WEQEan::MillimetresPerInch;
    if (!(DotsPerMillimetre > 0))
        return false;
    // The window and viewport (and the pixel ratio) alone, before the world
    // transform: how the painter's units present the device's millimetres.
    const QTransform World = painter->worldTransform();
    const QTransform View = World.inverted() * painter->deviceTransform();
    const double UnitsX = DotsPerMillimetre / std::hypot(View.m11(), View.m12());
    const double UnitsY = DotsPerMillimetre / std::hypot(View.m21(), View.m22());
    if (!std::isfinite(UnitsX) || !std::isfinite(UnitsY))
        return false;
    // The symbol in micrometres from its top-left, then the world transform,
    // as text and shapes follow it.
    const QTransform Frame = QTransform::fromScale(UnitsX / 1000, UnitsY / 1000) *
                             QTransform::fromTranslate(topLeftMillimetres.x() * UnitsX, topLeftMillimetres.y() * UnitsY) *
                             World;
    const QTransform ToDevice = Frame * View;
    const WEQEan::TExportOptions O = d->Options();
    painter->save();
    bool Drawn;
    // Dots per inch across, as the transform gives them.
    const double DotsAcross = std::abs(ToDevice.m11()) * WEQEan::MicrometresPerInch;
    if (ToDevice.type() <= QTransform::TxScale && DotsAcross >= 1 && DotsAcross <= 1e6) {
        // Axis-aligned: drawn in whole device dots from the nearest whole dot;
        // a different scale down (or a mirror) scales the dots down alike.
        const double Down = std::abs(ToDevice.m22());
        const QPointF Origin = ToDevice.map(QPointF(0, 0));
        const QTransform Dots(ToDevice.m11() < 0 ? -1 : 1, 0, 0,
                              (ToDevice.m22() < 0 ? -1 : 1) * Down / std::abs(ToDevice.m11()), std::round(Origin.x()),
                              std::round(Origin.y()));
        painter->setWorldTransform(Dots * View.inverted());
        Drawn = WEQEan::PaintInDots(d->Reading, *painter, int(std::lround(DotsAcross)), O, nullptr);
    } else {
        // Turned or sheared there are no whole dots to keep: micrometres.
        painter->setWorldTransform(Frame);
        Drawn = WEQEan::DrawOnPainter(d->Reading, *painter, WEQEan::MicrometresPerInch, 0, 0, O);
    }
    painter->restore();
    return Drawn;
}

bool Barcode::paint(QPainter* painter, const QRectF& rect, Qt::Alignment alignment, bool keepAspectRatio) const
{
    if (!painter || !painter->isActive())
        return false;
    painter->save();
    painter->translate(rect.topLeft());
    if (d->Background.alpha() > 0)
        painter->fillRect(QRectF(QPointF(0, 0), rect.size()), d->Background);
    // The painter's device transform holds the device pixel ratio and where
    // the rectangle's origin lands; a rotated or sheared one has no whole
    // pixels to keep, and the symbol is then simply drawn at its ratio.
    const QTransform T = painter->deviceTransform();
    const bool Aligned = T.type() <= QTransform::TxScale && T.m11() > 0 && T.m11() == T.m22();
    const double Ratio = Aligned ? T.m11() : painter->device()->devicePixelRatioF();
    QRectF Place;
    const QImage Image = screenImage(Aligned ? QPointF(T.dx(), T.dy()) : QPointF(), rect.size(), Ratio, &Place,
                                     alignment, keepAspectRatio);
    if (!Image.isNull())
        painter->drawImage(Place.topLeft(), Image);
    painter->restore();
    return !Image.isNull();
}

QImage Barcode::screenImage(const QPointF& deviceOrigin, const QSizeF& size, qreal devicePixelRatio, QRectF* place,
                            Qt::Alignment alignment, bool keepAspectRatio) const
{
    const TSymbolPlace Place = PlaceSymbol(deviceOrigin, size, devicePixelRatio, d->Shape(keepAspectRatio), alignment);
    if (place)
        *place = Place.Logical;
    return d->Render(Place.Fit, devicePixelRatio);
}

QImage Barcode::toImage(int dpi) const
{
    const WEQEan::TExportOptions O = d->Options();
    QImage Image = WEQEan::RenderRaster(d->Reading, dpi, O).Image;
    if (Image.isNull() || O.FillBackground)
        return Image;
    // No background: what the background colour covered lets the page through.
    Image = Image.convertToFormat(QImage::Format_ARGB32);
    const QRgb Back = Image.pixel(0, 0);
    for (int Y = 0; Y < Image.height(); ++Y) {
        QRgb* Row = reinterpret_cast<QRgb*>(Image.scanLine(Y));
        for (int X = 0; X < Image.width(); ++X)
            if (Row[X] == Back)
                Row[X] = 0;
    }
    return Image;
}

QByteArray Barcode::toPng(int dpi) const
{
    QByteArray Out;
    return WEQEan::EncodePng(d->Reading, dpi, d->Options(), Out) ? Out : QByteArray();
}

QByteArray Barcode::toSvg() const
{
    QByteArray Out;
    return WEQEan::EncodeSvg(d->Reading, d->Options(), Out) ? Out : QByteArray();
}

QByteArray Barcode::toPdf() const
{
    QByteArray Out;
    return WEQEan::EncodePdf(d->Reading, d->Options(), Out) ? Out : QByteArray();
}

bool Barcode::save(const QString& path, int dpi, QString* error) const
{
    const auto Fail = [error](const QString& Reason) {
        if (error)
            *error = Reason;
        return false;
    };
    if (!d->Drawable())
        return Fail(QStringLiteral("Cannot write %1: %2").arg(path, d->Error()));
    const WEQEan::TExportOptions O = d->Options();
    if (const std::optional<WEQEan::TFileFormat> Format = WEQEan::FileFormatOf(path)) {
        switch (*Format) {
        case WEQEan::TFileFormat::Png:
            return WEQEan::ExportPng(d->Reading, path, dpi, O, nullptr, error);
        case WEQEan::TFileFormat::Svg:
            return WEQEan::ExportSvg(d->Reading, path, O, error);
        case WEQEan::TFileFormat::Pdf:
            return WEQEan::ExportPdf(d->Reading, path, O, error);
        case WEQEan::TFileFormat::Eps:
            return WEQEan::ExportEps(d->Reading, path, O, error);
        }
    }
    return Fail(QStringLiteral("Cannot write %1: the name ends in none of .png, .svg, .pdf and .eps").arg(path));
}

Barcode::Properties Barcode::differences(const Barcode& other) const
{
    Properties P;
    if (d == other.d)
        return P;
    const BarcodePrivate &A = *d, &B = *other.d;
    P.setFlag(TextProperty, A.Text != B.Text);
    P.setFlag(SymbologyProperty, A.Symbology != B.Symbology);
    P.setFlag(AddOnProperty, A.AddOn != B.AddOn);
    P.setFlag(StrictProperty, A.Strict != B.Strict);
    P.setFlag(BarColorProperty, A.Bar != B.Bar || A.Spots[BarRole] != B.Spots[BarRole]);
    P.setFlag(BackgroundColorProperty,
              A.Background != B.Background || A.Spots[BackgroundRole] != B.Spots[BackgroundRole]);
    P.setFlag(TextColorProperty, A.Digits != B.Digits || A.Spots[TextRole] != B.Spots[TextRole]);
    P.setFlag(QuietZoneMarksProperty, A.Marks != B.Marks);
    P.setFlag(XDimensionProperty, !Same(A.XDimension, B.XDimension));
    P.setFlag(BarHeightProperty, !Same(A.BarHeight, B.BarHeight));
    P.setFlag(BarWidthReductionProperty, !Same(A.Reduction, B.Reduction));
    return P;
}

bool Barcode::operator==(const Barcode& other) const { return differences(other) == Properties(); }

size_t qHash(const Barcode& B, size_t Seed) noexcept
{
    return qHashMulti(Seed, B.text(), int(B.symbology()), B.addOn(), B.strict(), B.barColor().rgba(),
                      B.backgroundColor().rgba(), B.textColor().rgba(), B.spotColorName(Barcode::BarRole),
                      B.spotColorName(Barcode::BackgroundRole), B.spotColorName(Barcode::TextRole), B.quietZoneMarks(),
                      std::isnan(B.xDimension()) ? 0.0 : B.xDimension(),
                      std::isnan(B.barHeight()) ? 0.0 : B.barHeight(),
                      std::isnan(B.barWidthReduction()) ? 0.0 : B.barWidthReduction());
}

QDebug operator<<(QDebug Debug, const Barcode& B)
{
    const QDebugStateSaver Saver(Debug);
    Debug.nospace() << "WEQ::Barcode(";
    if (B.isValid())
        Debug.noquote() << B.title();
    else
        Debug << B.text() << ", invalid: " << B.errorString();
    Debug << ", " << B.xDimension() << " mm)";
    return Debug;
}

} // namespace WEQ
