// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "control/LabelTemplate.h"

#include "control/SvgTemplate_p.h"
#include "ean/Units.h"
#include "ean/WEQEanExport.h"

#include <QExplicitlySharedDataPointer>
#include <QFile>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>

#include <cmath>
#include <memory>
#include <mutex>

namespace WEQ {

namespace {

// Larger than this no label is: a typing error, not a label.
constexpr double MaxLabelMM = 2000;
// The pixel size text is shaped at, scaled to its size by the transform, so
// that its advances are the font's design rather than a small size's.
constexpr int TextPixels = 1024;

bool Fail(QString* Error, const QString& Reason)
{
    if (Error)
        *Error = Reason;
    return false;
}

// The drawing of a label whose attributes are filled in: the shapes' renderer
// and where its texts and box lie. Qt's SVG renderer is used by one painter
// at a time.
struct TDrawing : QSharedData {
    TLabelLayout Layout;
    std::unique_ptr<QSvgRenderer> Renderer;
    std::vector<QTransform> TextTransforms; // by text element
    QRectF Box;                             // in the document's user units
    std::mutex Lock;
};

// CSS white space: line breaks and tabs are spaces, runs of them one.
QString Collapsed(const QString& Text)
{
    QString Out;
    Out.reserve(Text.size());
    for (QChar C : Text) {
        if (C == u'\n' || C == u'\r' || C == u'\t')
            C = u' ';
        else if (C.unicode() < 0x20)
            C = QChar(0xFFFD);
        if (C == u' ' && Out.endsWith(u' '))
            continue;
        Out += C;
    }
    return Out;
}

// The symbol's size as a device of Dpi draws it: whole dots at a printer's
// resolutions, whole micrometres on finer devices (0: vector files).
QSizeF DrawnSize(const Barcode& B, int Dpi)
{
    return Dpi >= WEQEan::MinDpi && Dpi <= WEQEan::MaxDpi ? B.sizeForDpi(Dpi) : B.size();
}

void CollectFields(const TNode& N, QStringList& Out, bool& InAttributes)
{
    const auto Add = [&Out](const TSegments& S) {
        for (qsizetype I = 1; I < S.Parts.size(); I += 2)
            if (!Out.contains(S.Parts[I]))
                Out << S.Parts[I];
    };
    for (const auto& [Name, Text] : N.Attributes) {
        InAttributes = InAttributes || Text.HasFields();
        Add(Text);
    }
    Add(N.Text);
    for (const TNode& C : N.Children)
        CollectFields(C, Out, InAttributes);
}

} // namespace

class LabelTemplatePrivate : public QSharedData {
public:
    QString Error;
    TNode Root;
    QSizeF Size;            // mm
    QTransform ViewToLabel; // the document's user units to mm
    QRectF Viewport;        // where the viewBox lands, in mm
    QStringList Fields;
    bool AttributeFields = false;
    QRectF Box; // mm
    bool HasBox = false;
    // The drawing when no attribute holds a placeholder, shared by copies.
    QExplicitlySharedDataPointer<TDrawing> Fixed;

    bool Load(const QByteArray& Svg);
    bool ReadSize();
    QExplicitlySharedDataPointer<TDrawing> Draw(const std::function<QString(const QString&)>& Value, QString* Why) const;
};

bool LabelTemplatePrivate::Load(const QByteArray& Svg)
{
    if (!ParseTemplate(Svg, Root, &Error) || !ReadSize())
        return false;
    CollectFields(Root, Fields, AttributeFields);
    // Laid out once: a template whose attributes hold no placeholder is
    // the same drawing on every label; the others show here that they can
    // be laid out at all.
    const QExplicitlySharedDataPointer<TDrawing> D = Draw([](const QString&) { return QString(); }, &Error);
    if (!D)
        return false;
    HasBox = D->Layout.HasBox;
    Box = ViewToLabel.mapRect(D->Box);
    if (!AttributeFields)
        Fixed = D;
    return true;
}

bool LabelTemplatePrivate::ReadSize()
{
    for (const char* Name : {"width", "height", "viewBox", "preserveAspectRatio"})
        if (const TSegments* A = Root.Attribute(QLatin1String(Name)); A && A->HasFields())
            return Fail(&Error, QStringLiteral("The template's %1 takes no placeholders").arg(QLatin1String(Name)));
    const auto Length = [this](const char* Name, double& MM) {
        const TSegments* A = Root.Attribute(QLatin1String(Name));
        const std::optional<double> U = A ? UserUnits(A->Parts.front()) : std::nullopt;
        MM = U ? *U * WEQEan::MillimetresPerInch / 96 : 0;
        if (U && MM > 0 && MM <= MaxLabelMM)
            return true;
        return Fail(&Error, QStringLiteral("The template's %1 %2 is not a label's: give a length above 0 and up to %3 "
                                           "mm in mm, cm, in, pt or px")
                                .arg(QLatin1String(Name), A ? QLatin1Char('"') + A->Parts.front() + QLatin1Char('"')
                                                            : QStringLiteral("(none)"))
                                .arg(MaxLabelMM));
    };
    double W = 0, H = 0;
    if (!Length("width", W) || !Length("height", H))
        return false;
    Size = QSizeF(W, H);
    const TSegments* Box = Root.Attribute(QStringLiteral("viewBox"));
    const QStringList Numbers = Box ? Box->Parts.front().split(QRegularExpression(QStringLiteral(R"([\s,]+)")),
                                                               Qt::SkipEmptyParts)
                                    : QStringList();
    double V[4] = {};
    bool Ok = Numbers.size() == 4;
    for (int I = 0; Ok && I < 4; ++I)
        V[I] = Numbers[I].toDouble(&Ok);
    if (!Ok || !(V[2] > 0) || !(V[3] > 0) || !std::isfinite(V[0] + V[1] + V[2] + V[3]))
        return Fail(&Error, QStringLiteral("The template needs a viewBox of 4 numbers, its width and height above 0, "
                                           "saying how its units map onto the label: viewBox=\"0 0 %1 %2\" for mm")
                                .arg(W)
                                .arg(H));
    // preserveAspectRatio: "none", or an alignment and meet (slice would crop).
    const TSegments* Ratio = Root.Attribute(QStringLiteral("preserveAspectRatio"));
    const QString Aspect = Ratio ? Ratio->Parts.front().simplified() : QStringLiteral("xMidYMid meet");
    double SX = W / V[2], SY = H / V[3], TX = 0, TY = 0;
    if (Aspect != QLatin1String("none")) {
        static const QRegularExpression Form(QStringLiteral(R"(^x(Min|Mid|Max)Y(Min|Mid|Max)( meet)?$)"));
        const QRegularExpressionMatch M = Form.match(Aspect);
        if (!M.hasMatch())
            return Fail(&Error, QStringLiteral("The template's preserveAspectRatio=\"%1\" is not taken: give none, or "
                                               "an alignment such as xMidYMid with meet")
                                    .arg(Aspect));
        SX = SY = std::min(SX, SY);
        const auto Share = [](const QString& Where) { return Where == QLatin1String("Min") ? 0.0 : Where == QLatin1String("Mid") ? 0.5 : 1.0; };
        TX = (W - V[2] * SX) * Share(M.captured(1));
        TY = (H - V[3] * SY) * Share(M.captured(2));
    }
    ViewToLabel = QTransform(SX, 0, 0, SY, TX - V[0] * SX, TY - V[1] * SY);
    Viewport = ViewToLabel.mapRect(QRectF(V[0], V[1], V[2], V[3]));
    return true;
}

QExplicitlySharedDataPointer<TDrawing> LabelTemplatePrivate::Draw(const std::function<QString(const QString&)>& Value,
                                                     QString* Why) const
{
    QExplicitlySharedDataPointer<TDrawing> D(new TDrawing);
    if (!LayOut(Root, Value, D->Layout, Why))
        return {};
    D->Renderer = std::make_unique<QSvgRenderer>(D->Layout.Shapes);
    if (!D->Renderer->isValid()) {
        Fail(Why, QStringLiteral("Qt's SVG module cannot draw the template"));
        return {};
    }
    for (int I = 0; I < D->Layout.Elements; ++I)
        D->TextTransforms.push_back(D->Renderer->transformForElement(QStringLiteral("weq-text-%1").arg(I)));
    if (D->Layout.HasBox) {
        const QString Id = QStringLiteral("weq-box");
        D->Box = D->Renderer->transformForElement(Id).mapRect(D->Renderer->boundsOnElement(Id));
    }
    return D;
}

LabelTemplate::LabelTemplate() : d(new LabelTemplatePrivate)
{
    d->Error = QStringLiteral("No template");
}

LabelTemplate::LabelTemplate(const QString& fileName) : d(new LabelTemplatePrivate)
{
    QFile File(fileName);
    if (!File.open(QIODevice::ReadOnly)) {
        d->Error = QStringLiteral("Cannot read %1: %2").arg(fileName, File.errorString());
        return;
    }
    // A file larger than any template is not read whole.
    const QByteArray Bytes = File.read(MaxTemplateBytes + 1);
    if (!d->Load(Bytes))
        d->Root = {};
}

LabelTemplate LabelTemplate::fromData(const QByteArray& svg)
{
    LabelTemplate T;
    T.d->Error.clear();
    if (!T.d->Load(svg))
        T.d->Root = {};
    return T;
}

LabelTemplate::LabelTemplate(const LabelTemplate& other) = default;
LabelTemplate::LabelTemplate(LabelTemplate&& other) noexcept = default;
LabelTemplate& LabelTemplate::operator=(const LabelTemplate& other) = default;
LabelTemplate& LabelTemplate::operator=(LabelTemplate&& other) noexcept = default;
LabelTemplate::~LabelTemplate() = default;

bool LabelTemplate::isValid() const { return d->Error.isEmpty(); }
QString LabelTemplate::errorString() const { return d->Error; }
QSizeF LabelTemplate::size() const { return isValid() ? d->Size : QSizeF(); }
QStringList LabelTemplate::fields() const { return d->Fields; }
QRectF LabelTemplate::barcodeBox() const { return isValid() && d->HasBox ? d->Box : QRectF(); }

Barcode LabelTemplate::fittedBarcode(const Barcode& barcode, int dpi, QString* error) const
{
    const auto Refuse = [error](const QString& Why) {
        Fail(error, Why);
        return Barcode();
    };
    if (!isValid())
        return Refuse(d->Error);
    if (!barcode.isValid())
        return Refuse(barcode.errorString());
    if (!d->HasBox)
        return barcode;
    // Sizes as the device draws them: whole dots, or whole micrometres.
    const bool Dotted = dpi >= WEQEan::MinDpi && dpi <= WEQEan::MaxDpi;
    const double Dot = WEQEan::MillimetresPerInch / (Dotted ? dpi : WEQEan::MicrometresPerInch);
    const auto SizeOf = [dpi](const Barcode& B) { return DrawnSize(B, dpi); };
    const QSizeF Size = SizeOf(barcode);
    if (Size.isEmpty())
        return Refuse(QStringLiteral("The symbol cannot be drawn at %1 dpi").arg(dpi));
    constexpr double Slack = 1e-6;
    if (Size.width() > d->Box.width() + Slack)
        return Refuse(QStringLiteral("The symbol is %1 mm wide, its box %2 mm")
                          .arg(Size.width(), 0, 'f', 2)
                          .arg(d->Box.width(), 0, 'f', 2));
    if (Size.height() <= d->Box.height() + Slack)
        return barcode;
    // What the symbol takes besides its bars, and the whole dots of bars the
    // box leaves.
    Barcode Probe = barcode;
    const double ProbeBars = std::round(10 / Dot) * Dot; // 10 mm, whole dots
    Probe.setBarHeight(ProbeBars);
    const double Rest = SizeOf(Probe).height() - ProbeBars;
    const double Bars = std::floor((d->Box.height() - Rest) / Dot + Slack) * Dot;
    if (!(Bars > 0))
        return Refuse(QStringLiteral("The symbol's box is %1 mm high, no more than the %2 mm its digits take below "
                                     "its bars")
                          .arg(d->Box.height(), 0, 'f', 2)
                          .arg(Rest, 0, 'f', 2));
    Barcode Fitted = barcode;
    Fitted.setBarHeight(Bars);
    return Fitted;
}

bool LabelTemplate::paint(QPainter* painter, const QPointF& topLeftMillimetres, const Barcode& barcode,
                          const QHash<QString, QString>& values, QString* error) const
{
    if (!isValid())
        return Fail(error, d->Error);
    if (!painter || !painter->isActive())
        return Fail(error, QStringLiteral("The painter is not painting"));
    for (const QString& Field : d->Fields)
        if (Field != QLatin1String("gtin") && !values.contains(Field))
            return Fail(error, QStringLiteral("No value for the placeholder {%1}").arg(Field));
    const QString Gtin = barcode.gtin();
    const auto Value = [&](const QString& Name) { return Name == QLatin1String("gtin") ? Gtin : values.value(Name); };
    // The label's millimetres in the painter's coordinates, as Barcode::paint
    // takes them: the window and viewport, then the world transform.
    QPaintDevice* Device = painter->device();
    const double DotsPerMillimetre = Device->logicalDpiX() * Device->devicePixelRatioF() / WEQEan::MillimetresPerInch;
    const QTransform World = painter->worldTransform();
    const QTransform View = World.inverted() * painter->deviceTransform();
    const double UnitsX = DotsPerMillimetre / std::hypot(View.m11(), View.m12());
    const double UnitsY = DotsPerMillimetre / std::hypot(View.m21(), View.m22());
    if (!(DotsPerMillimetre > 0) || !std::isfinite(UnitsX) || !std::isfinite(UnitsY))
        return Fail(error, QStringLiteral("The painter's device has no resolution"));
    const QTransform Frame =
        QTransform::fromScale(UnitsX, UnitsY) *
        QTransform::fromTranslate(topLeftMillimetres.x() * UnitsX, topLeftMillimetres.y() * UnitsY) * World;
    // The device's dots a millimetre across: the symbol is of whole dots
    // where its axes are the label's, of micrometres where turned.
    const QTransform ToDevice = Frame * View;
    const double DotsPerInch = std::abs(ToDevice.m11()) * WEQEan::MillimetresPerInch;
    const int Dpi = ToDevice.type() <= QTransform::TxScale && DotsPerInch >= 1 && DotsPerInch <= WEQEan::MicrometresPerInch
                        ? int(std::lround(DotsPerInch))
                        : 0;
    Barcode Symbol;
    if (d->HasBox) {
        Symbol = fittedBarcode(barcode, Dpi, error);
        if (!Symbol.isValid())
            return false;
    }
    const QExplicitlySharedDataPointer<TDrawing> D = d->Fixed ? d->Fixed : d->Draw(Value, error);
    if (!D)
        return false;

    painter->save();
    painter->setWorldTransform(Frame);
    painter->setClipRect(QRectF(QPointF(0, 0), d->Size), Qt::IntersectClip);
    {
        const std::lock_guard Guard(D->Lock);
        D->Renderer->render(painter, d->Viewport);
    }
    // The text, chunk by chunk: each from its place, or where the one before
    // ended, moved back by its width's share of its anchor.
    struct TPlaced {
        const TTextRun* Run;
        QString Text;
        double X, Y, Advance;
        std::size_t Chunk;
    };
    std::vector<TPlaced> Placed;
    std::vector<double> ChunkWidth;
    double X = 0, Y = 0;
    int Element = -1;
    for (const TTextRun& R : D->Layout.Runs) {
        const bool Start = R.StartsChunk || R.Element != Element || Placed.empty();
        if (R.Element != Element) {
            X = Y = 0;
            Element = R.Element;
        }
        X = R.X.value_or(X) + R.DX;
        Y = R.Y.value_or(Y) + R.DY;
        QString Text = Collapsed(R.Content.Filled(Value));
        if (Start) {
            ChunkWidth.push_back(0);
            while (Text.startsWith(u' '))
                Text.remove(0, 1);
        } else if (!Placed.empty() && Placed.back().Text.endsWith(u' ')) {
            while (Text.startsWith(u' '))
                Text.remove(0, 1);
        }
        QFont Font = R.Font;
        Font.setPixelSize(TextPixels);
        const double Advance = QFontMetricsF(Font, Device).horizontalAdvance(Text) * R.FontSize / TextPixels;
        Placed.push_back({&R, Text, X, Y, Advance, ChunkWidth.size() - 1});
        ChunkWidth.back() += Advance;
        X += Advance;
    }
    // A chunk's trailing space is no part of its width.
    for (std::size_t I = 0; I < Placed.size(); ++I)
        if (TPlaced& P = Placed[I]; (I + 1 == Placed.size() || Placed[I + 1].Chunk != P.Chunk) && P.Text.endsWith(u' ')) {
            P.Text.chop(1);
            QFont Font = P.Run->Font;
            Font.setPixelSize(TextPixels);
            ChunkWidth[P.Chunk] -= QFontMetricsF(Font, Device).horizontalAdvance(QStringLiteral(" ")) *
                                   P.Run->FontSize / TextPixels;
        }
    std::size_t Chunk = SIZE_MAX;
    int Anchor = 0;
    for (const TPlaced& P : Placed) {
        if (P.Chunk != Chunk) {
            Chunk = P.Chunk;
            Anchor = P.Run->Anchor;
        }
        if (P.Text.isEmpty() || !P.Run->Fill.isValid() || P.Run->Fill.alpha() == 0)
            continue;
        const double Scale = P.Run->FontSize / TextPixels;
        painter->setWorldTransform(QTransform::fromScale(Scale, Scale) *
                                   QTransform::fromTranslate(P.X - ChunkWidth[Chunk] * Anchor / 2, P.Y) *
                                   D->TextTransforms[std::size_t(P.Run->Element)] * d->ViewToLabel * Frame);
        QFont Font = P.Run->Font;
        Font.setPixelSize(TextPixels);
        painter->setFont(Font);
        painter->setPen(P.Run->Fill);
        painter->drawText(QPointF(0, 0), P.Text);
    }
    painter->restore();

    if (!d->HasBox)
        return true;
    // Centred in its box as the device draws it.
    const QSizeF Size = DrawnSize(Symbol, Dpi);
    const QPointF At = topLeftMillimetres + d->Box.topLeft() +
                       QPointF((d->Box.width() - Size.width()) / 2, (d->Box.height() - Size.height()) / 2);
    if (!Symbol.paint(painter, At))
        return Fail(error, Symbol.errorString().isEmpty() ? QStringLiteral("The symbol cannot be drawn here")
                                                          : Symbol.errorString());
    return true;
}

} // namespace WEQ
