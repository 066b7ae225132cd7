// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "control/SvgTemplate_p.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

#include <cmath>

namespace WEQ {

namespace {

// Deeper than this no label is drawn: the walks below recurse.
constexpr std::size_t MaxDepth = 256;
constexpr qsizetype MaxFieldName = 64;

bool Fail(QString* Error, const QString& Reason)
{
    if (Error)
        *Error = Reason;
    return false;
}

TSegments Literal(const QString& Text) { return {QStringList{Text}}; }

// Whether Text names something outside the document: a url() that is not
// url(#id), or an @import.
bool ReachesOut(const QString& Text)
{
    static const QRegularExpression Url(QStringLiteral(R"(url\s*\(\s*['"]?\s*([^'"\s)]?))"),
                                        QRegularExpression::CaseInsensitiveOption);
    for (auto It = Url.globalMatch(Text); It.hasNext();)
        if (It.next().captured(1) != QLatin1String("#"))
            return true;
    return Text.contains(QLatin1String("@import"), Qt::CaseInsensitive);
}

QString Escaped(const QString& Text, bool Attribute)
{
    QString Out;
    Out.reserve(Text.size() + 8);
    for (const QChar C : Text) {
        const char16_t U = C.unicode();
        if (U == '&')
            Out += QLatin1String("&amp;");
        else if (U == '<')
            Out += QLatin1String("&lt;");
        else if (U == '>')
            Out += QLatin1String("&gt;");
        else if (U == '"' && Attribute)
            Out += QLatin1String("&quot;");
        else if ((U == '\n' || U == '\r' || U == '\t') && Attribute)
            Out += QStringLiteral("&#%1;").arg(int(U));
        else if ((U < 0x20 && U != '\n' && U != '\r' && U != '\t') || U == 0xFFFE || U == 0xFFFF)
            Out += QChar(0xFFFD); // no character XML can hold
        else
            Out += C;
    }
    return Out;
}

// The first number of a list ("10 20", "10,20").
std::optional<double> FirstLength(const QString& List)
{
    const QString First = List.trimmed().section(QRegularExpression(QStringLiteral(R"([\s,]+)")), 0, 0);
    return First.isEmpty() ? std::nullopt : UserUnits(First);
}

// The properties a text inherits, as far as the label draws them.
struct TStyle {
    QStringList Families;
    double Size = 16;
    int Weight = QFont::Normal;
    bool Italic = false;
    int Anchor = 0; // 0 start, 1 middle, 2 end
    QString Fill = QStringLiteral("black");
    double FillOpacity = 1, Opacity = 1;
    bool Visible = true;
};

// The element's own declarations: its presentation attributes, then its
// style attribute, which wins.
QHash<QString, QString> Declarations(const TNode& N, const std::function<QString(const QString&)>& Value)
{
    QHash<QString, QString> Out;
    for (const auto& [Name, Text] : N.Attributes)
        Out.insert(Name, Text.Filled(Value).trimmed());
    if (const TSegments* Style = N.Attribute(QStringLiteral("style")))
        for (const QString& Item : Style->Filled(Value).split(u';', Qt::SkipEmptyParts)) {
            const qsizetype Colon = Item.indexOf(u':');
            if (Colon > 0)
                Out.insert(Item.left(Colon).trimmed().toLower(), Item.mid(Colon + 1).trimmed());
        }
    return Out;
}

QStringList Families(const QString& List)
{
    QStringList Out;
    for (QString Name : List.split(u',', Qt::SkipEmptyParts)) {
        Name = Name.trimmed();
        if (Name.size() >= 2 && (Name.front() == u'\'' || Name.front() == u'"') && Name.back() == Name.front())
            Name = Name.mid(1, Name.size() - 2);
        if (!Name.isEmpty())
            Out << Name;
    }
    return Out;
}

void Apply(const QHash<QString, QString>& D, TStyle& S)
{
    if (const QString V = D.value(QStringLiteral("font-family")); !V.isEmpty())
        S.Families = Families(V);
    if (const QString V = D.value(QStringLiteral("font-size")); !V.isEmpty()) {
        bool Ok = false;
        if (V.endsWith(QLatin1String("em"))) {
            if (const double F = V.chopped(2).trimmed().toDouble(&Ok); Ok && F > 0)
                S.Size *= F;
        } else if (V.endsWith(u'%')) {
            if (const double F = V.chopped(1).trimmed().toDouble(&Ok); Ok && F > 0)
                S.Size *= F / 100;
        } else if (const std::optional<double> L = UserUnits(V); L && *L > 0) {
            S.Size = *L;
        }
    }
    if (const QString V = D.value(QStringLiteral("font-weight")); !V.isEmpty()) {
        bool Ok = false;
        const int N = V.toInt(&Ok);
        S.Weight = Ok && N >= 1 && N <= 1000 ? N
                   : V == QLatin1String("bold") || V == QLatin1String("bolder") ? int(QFont::Bold)
                   : V == QLatin1String("normal") || V == QLatin1String("lighter") ? int(QFont::Normal)
                                                                                  : S.Weight;
    }
    if (const QString V = D.value(QStringLiteral("font-style")); !V.isEmpty())
        S.Italic = V == QLatin1String("italic") || V == QLatin1String("oblique");
    if (const QString V = D.value(QStringLiteral("text-anchor")); !V.isEmpty())
        S.Anchor = V == QLatin1String("middle") ? 1 : V == QLatin1String("end") ? 2 : 0;
    if (const QString V = D.value(QStringLiteral("fill")); !V.isEmpty())
        S.Fill = V;
    bool Ok = false;
    if (const double V = D.value(QStringLiteral("fill-opacity")).toDouble(&Ok); Ok)
        S.FillOpacity = std::clamp(V, 0.0, 1.0);
    if (const double V = D.value(QStringLiteral("opacity")).toDouble(&Ok); Ok)
        S.Opacity *= std::clamp(V, 0.0, 1.0);
    if (const QString V = D.value(QStringLiteral("visibility")); !V.isEmpty())
        S.Visible = V == QLatin1String("visible");
}

QColor ColorOf(const TStyle& S)
{
    QColor C;
    const QString F = S.Fill.trimmed();
    static const QRegularExpression Rgb(QStringLiteral(R"(^rgb\(\s*([\d.]+)(%?)\s*,\s*([\d.]+)(%?)\s*,\s*([\d.]+)(%?)\s*\)$)"));
    if (F == QLatin1String("none") || !S.Visible)
        return {};
    if (const QRegularExpressionMatch M = Rgb.match(F); M.hasMatch()) {
        const auto Part = [&M](int I) {
            const double V = M.captured(I).toDouble();
            return std::clamp(int(std::lround(M.captured(I + 1).isEmpty() ? V : V * 2.55)), 0, 255);
        };
        C = QColor(Part(1), Part(3), Part(5));
    } else {
        C = QColor::fromString(F);
    }
    if (!C.isValid())
        C = Qt::black; // currentColor, a paint server: the text still shows
    C.setAlphaF(float(S.FillOpacity * S.Opacity));
    return C;
}

// Where a text element's pieces are collected.
struct TTextWalk {
    std::vector<TTextRun>& Runs;
    int Element;
    std::optional<double> X, Y; // the place the next run takes
    double DX = 0, DY = 0;
    bool Placed = false;
};

bool IsTextContainer(const QString& Local) { return Local == QLatin1String("text") || Local == QLatin1String("tspan"); }

// Elements whose content is drawn only where something refers to it.
bool Unrendered(const QString& Local)
{
    static const QStringList Names = {"defs",           "clipPath", "mask",    "pattern",        "symbol",
                                      "marker",         "filter",   "linearGradient", "radialGradient"};
    return Names.contains(Local);
}

void CollectRuns(const TNode& N, const TStyle& Parent, const std::function<QString(const QString&)>& Value,
                 TTextWalk& W, std::size_t Depth)
{
    if (Depth > MaxDepth)
        return;
    const QHash<QString, QString> D = Declarations(N, Value);
    if (D.value(QStringLiteral("display")) == QLatin1String("none"))
        return;
    TStyle S = Parent;
    Apply(D, S);
    if (D.contains(QStringLiteral("x")) || D.contains(QStringLiteral("y"))) {
        W.X = FirstLength(D.value(QStringLiteral("x")));
        W.Y = FirstLength(D.value(QStringLiteral("y")));
        W.Placed = true;
    }
    if (const std::optional<double> DX = FirstLength(D.value(QStringLiteral("dx"))))
        W.DX += *DX;
    if (const std::optional<double> DY = FirstLength(D.value(QStringLiteral("dy"))))
        W.DY += *DY;
    for (const TNode& C : N.Children) {
        if (!C.Name.isEmpty()) {
            if (IsTextContainer(C.LocalName()))
                CollectRuns(C, S, Value, W, Depth + 1);
            continue;
        }
        TTextRun R;
        R.X = W.X;
        R.Y = W.Y;
        R.DX = W.DX;
        R.DY = W.DY;
        R.StartsChunk = W.Placed;
        W.X.reset();
        W.Y.reset();
        W.DX = W.DY = 0;
        W.Placed = false;
        R.Font.setFamilies(S.Families.isEmpty() ? QStringList{QStringLiteral("sans-serif")} : S.Families);
        R.Font.setWeight(QFont::Weight(S.Weight));
        R.Font.setItalic(S.Italic);
        R.Font.setHintingPreference(QFont::PreferNoHinting);
        R.Font.setKerning(true);
        R.FontSize = S.Size;
        R.Anchor = S.Anchor;
        R.Fill = ColorOf(S);
        R.Content = C.Text;
        R.Element = W.Element;
        W.Runs.push_back(std::move(R));
    }
}

// The attributes whose lengths Qt's SVG module would take at its own 90 to
// the inch: written as user units at CSS's 96.
bool GeometryAttribute(const QString& Local)
{
    static const QStringList Names = {"x",  "y",  "width", "height", "rx", "ry", "cx",
                                      "cy", "r",  "x1",    "y1",     "x2", "y2", "stroke-width"};
    return Names.contains(Local);
}

QString InUserUnits(const QString& Local, const QString& Value)
{
    if (!GeometryAttribute(Local) || Value.contains(u' ') || Value.contains(u','))
        return Value;
    const std::optional<double> U = UserUnits(Value);
    return U ? QString::number(*U, 'g', 12) : Value;
}

struct TLayoutWalk {
    const std::function<QString(const QString&)>& Value;
    TLabelLayout& Out;
    QString Shapes;
    QString* Error;
};

QString TransformOf(const TNode& N, const std::function<QString(const QString&)>& Value)
{
    const TSegments* T = N.Attribute(QStringLiteral("transform"));
    return T ? T->Filled(Value) : QString();
}

// A group carrying the element's own transform around a marker of Id, so
// that Qt's SVG module gives the whole transform of the element's content.
QString Marker(const QString& Transform, const QString& Inner)
{
    return Transform.isEmpty() ? Inner
                               : QStringLiteral("<g transform=\"%1\">%2</g>").arg(Escaped(Transform, true), Inner);
}

bool Walk(const TNode& N, const TStyle& Parent, bool Drawn, TLayoutWalk& W, std::size_t Depth)
{
    if (Depth > MaxDepth)
        return Fail(W.Error, QStringLiteral("The template nests deeper than %1 elements").arg(MaxDepth));
    if (N.Name.isEmpty()) {
        W.Shapes += Escaped(N.Text.Filled(W.Value), false);
        return true;
    }
    const QString Local = N.LocalName();
    const TSegments* Id = N.Attribute(QStringLiteral("id"));
    if (Id && !Id->HasFields() && Id->Parts.front() == QLatin1String("barcode")) {
        if (W.Out.HasBox)
            return Fail(W.Error, QStringLiteral("Two elements have id=\"barcode\": the symbol has one box"));
        if (Local != QLatin1String("rect"))
            return Fail(W.Error, QStringLiteral("The element with id=\"barcode\" is a <%1>: make the symbol's box a <rect>")
                                     .arg(Local));
        for (const auto& [Name, Text] : N.Attributes)
            if (Text.HasFields())
                return Fail(W.Error, QStringLiteral("The symbol's box takes no placeholders (%1=\"%2\")")
                                         .arg(Name, Text.Parts.join(QString())));
        const auto Length = [&N](const char* Name) {
            const TSegments* A = N.Attribute(QLatin1String(Name));
            return A ? UserUnits(A->Parts.front()) : std::optional<double>(0.0);
        };
        const std::optional<double> X = Length("x"), Y = Length("y"), Width = Length("width"), Height = Length("height");
        if (!X || !Y || !Width || !Height || *Width <= 0 || *Height <= 0)
            return Fail(W.Error, QStringLiteral("The symbol's box (id=\"barcode\") needs x, y and a width and height "
                                                "above 0 in user units, px, mm, cm, in or pt"));
        W.Out.HasBox = true;
        W.Shapes += Marker(TransformOf(N, W.Value), QStringLiteral("<rect id=\"weq-box\" x=\"%1\" y=\"%2\" width=\"%3\" "
                                                                   "height=\"%4\" fill=\"none\" stroke=\"none\"/>")
                                                        .arg(*X, 0, 'g', 12)
                                                        .arg(*Y, 0, 'g', 12)
                                                        .arg(*Width, 0, 'g', 12)
                                                        .arg(*Height, 0, 'g', 12));
        return true;
    }
    const QHash<QString, QString> D = Declarations(N, W.Value);
    TStyle S = Parent;
    Apply(D, S);
    if (Local == QLatin1String("text")) {
        // Drawn by the label, not by Qt's SVG module: a marker keeps its place.
        const int Element = W.Out.Elements++;
        if (Drawn && D.value(QStringLiteral("display")) != QLatin1String("none")) {
            TTextWalk T{W.Out.Runs, Element, {}, {}, 0, 0, false};
            CollectRuns(N, Parent, W.Value, T, Depth);
        }
        W.Shapes += Marker(TransformOf(N, W.Value), QStringLiteral("<g id=\"weq-text-%1\"/>").arg(Element));
        return true;
    }
    W.Shapes += u'<' + N.Name;
    for (const auto& [Name, Text] : N.Attributes)
        W.Shapes += QStringLiteral(" %1=\"%2\"").arg(Name, Escaped(InUserUnits(Name.mid(Name.lastIndexOf(u':') + 1),
                                                                               Text.Filled(W.Value)),
                                                                   true));
    if (N.Children.empty()) {
        W.Shapes += QLatin1String("/>");
        return true;
    }
    W.Shapes += u'>';
    const bool ChildrenDrawn = Drawn && !Unrendered(Local) && D.value(QStringLiteral("display")) != QLatin1String("none");
    for (const TNode& C : N.Children)
        if (!Walk(C, S, ChildrenDrawn, W, Depth + 1))
            return false;
    W.Shapes += QStringLiteral("</%1>").arg(N.Name);
    return true;
}

} // namespace

QString TSegments::Filled(const std::function<QString(const QString&)>& Value) const
{
    if (!HasFields())
        return Parts.isEmpty() ? QString() : Parts.front();
    QString Out;
    for (qsizetype I = 0; I < Parts.size(); ++I)
        Out += I % 2 ? Value(Parts[I]) : Parts[I];
    return Out;
}

TSegments Placeholders(const QString& Text)
{
    TSegments S;
    QString Literal;
    for (qsizetype I = 0; I < Text.size(); ++I) {
        if (Text[I] == u'{') {
            qsizetype End = I + 1;
            while (End < Text.size() && End - I - 1 <= MaxFieldName && Text[End] != u'}' && Text[End] != u'{' &&
                   Text[End].unicode() >= 0x20)
                ++End;
            if (End < Text.size() && Text[End] == u'}' && End > I + 1 && End - I - 1 <= MaxFieldName) {
                S.Parts << Literal << Text.mid(I + 1, End - I - 1);
                Literal.clear();
                I = End;
                continue;
            }
        }
        Literal += Text[I];
    }
    S.Parts << Literal;
    return S;
}

const TSegments* TNode::Attribute(const QString& Local) const
{
    for (const auto& [Name, Text] : Attributes)
        if (Name == Local || Name.endsWith(u':' + Local))
            return &Text;
    return nullptr;
}

std::optional<double> UserUnits(const QString& Length)
{
    static const QRegularExpression Form(
        QStringLiteral(R"(^\s*([+-]?(?:\d+\.?\d*|\.\d+)(?:[eE][+-]?\d+)?)\s*(px|mm|cm|in|pt|pc)?\s*$)"));
    const QRegularExpressionMatch M = Form.match(Length);
    if (!M.hasMatch())
        return std::nullopt;
    static const QHash<QString, double> PerUnit = {{"", 1},          {"px", 1},        {"mm", 96 / 25.4},
                                                   {"cm", 96 / 2.54}, {"in", 96},       {"pt", 96.0 / 72},
                                                   {"pc", 16}};
    const double V = M.captured(1).toDouble() * PerUnit.value(M.captured(2));
    return std::isfinite(V) ? std::optional<double>(V) : std::nullopt;
}

bool ParseTemplate(const QByteArray& Svg, TNode& Root, QString* Error)
{
    if (Svg.size() > MaxTemplateBytes)
        return Fail(Error, QStringLiteral("The template is %1 bytes, more than the %2 a label may have")
                               .arg(Svg.size())
                               .arg(MaxTemplateBytes));
    QXmlStreamReader R(Svg);
    R.setNamespaceProcessing(false);
    std::vector<TNode*> Open;
    bool Seen = false;
    const auto At = [&R](const QString& Why) { return QStringLiteral("Line %1: %2").arg(R.lineNumber()).arg(Why); };
    while (!R.atEnd()) {
        switch (R.readNext()) {
        case QXmlStreamReader::DTD:
        case QXmlStreamReader::EntityReference:
            return Fail(Error, At(QStringLiteral("a template takes no DOCTYPE and no entities")));
        case QXmlStreamReader::StartElement: {
            if (Open.size() >= MaxDepth)
                return Fail(Error, At(QStringLiteral("the elements nest deeper than %1").arg(MaxDepth)));
            TNode N;
            N.Name = R.qualifiedName().toString();
            for (const QXmlStreamAttribute& A : R.attributes()) {
                const QString Name = A.qualifiedName().toString(), Value = A.value().toString();
                const QString Local = Name.mid(Name.lastIndexOf(u':') + 1);
                const QString Target = Value.trimmed();
                if ((Local == QLatin1String("href") && !Target.startsWith(u'#') &&
                     !Target.startsWith(QLatin1String("data:"), Qt::CaseInsensitive)) ||
                    ReachesOut(Value))
                    return Fail(Error, At(QStringLiteral("%1=\"%2\" refers to something outside the template, which is "
                                                         "not read: embed it (data:) or draw it in")
                                              .arg(Name, Value.left(80))));
                // CSS is never filled in, only attributes' values.
                N.Attributes.emplace_back(Name, Local == QLatin1String("style") ? Literal(Value) : Placeholders(Value));
            }
            if (Open.empty()) {
                if (Seen)
                    return Fail(Error, At(QStringLiteral("a second root element")));
                Root = std::move(N);
                Open.push_back(&Root);
                Seen = true;
            } else {
                // Only the last child of each open element is open: the vectors
                // that grow hold none of the elements still open.
                Open.back()->Children.push_back(std::move(N));
                Open.push_back(&Open.back()->Children.back());
            }
            break;
        }
        case QXmlStreamReader::Characters: {
            if (Open.empty())
                break;
            const QString Local = Open.back()->LocalName(), Text = R.text().toString();
            if (Local == QLatin1String("style") && ReachesOut(Text))
                return Fail(Error, At(QStringLiteral("the style sheet refers to something outside the template (url() "
                                                     "or @import), which is not read")));
            TNode T;
            T.Text = IsTextContainer(Local) ? Placeholders(Text) : Literal(Text);
            Open.back()->Children.push_back(std::move(T));
            break;
        }
        case QXmlStreamReader::EndElement:
            Open.pop_back();
            break;
        default: // the declaration, comments, processing instructions
            break;
        }
    }
    if (R.hasError())
        return Fail(Error, At(R.errorString()));
    if (!Seen || Root.LocalName() != QLatin1String("svg"))
        return Fail(Error, QStringLiteral("The template's root element is not <svg>"));
    return true;
}

bool LayOut(const TNode& Root, const std::function<QString(const QString&)>& Value, TLabelLayout& Out, QString* Error)
{
    Out = {};
    TLayoutWalk W{Value, Out, {}, Error};
    if (!Walk(Root, TStyle(), true, W, 0))
        return false;
    Out.Shapes = W.Shapes.toUtf8();
    return true;
}

} // namespace WEQ
