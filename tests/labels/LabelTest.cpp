// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// Labels from SVG templates: WEQ::LabelTemplate as an application uses it,
// its labels measured in the pixels and PDF text they make.
#include "symbol/Decode.h"
#include "symbol/PdfPage.h"
#include "symbol/SymbolTestUtil.h"

#include <WEQBarCode/LabelTemplate.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <thread>

using WEQ::Barcode;
using WEQ::LabelTemplate;

namespace {

QByteArray Svg(const QByteArray& Attributes, const QByteArray& Body)
{
    return R"(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" )" + Attributes + ">" +
           Body + "</svg>";
}

const QByteArray Mm50x30 = R"(width="50mm" height="30mm" viewBox="0 0 50 30")";

// What a test draws with: a GTIN whose bars are known.
Barcode Symbol() { return Barcode(QStringLiteral("4006381333931")); }

// A row of a rendering as runs of dark dots: "first-last ...".
std::vector<std::pair<int, int>> DarkRuns(const QImage& Image, int Y, int From = 0, int To = -1)
{
    std::vector<std::pair<int, int>> Runs;
    for (int X = From; X < (To < 0 ? Image.width() : To); ++X)
        if (qGray(Image.pixel(X, Y)) < 128) {
            if (Runs.empty() || Runs.back().second != X - 1)
                Runs.emplace_back(X, X);
            else
                Runs.back().second = X;
        }
    return Runs;
}

// The dark dots' bounding box within Area.
QRect Ink(const QImage& Image, const QRect& Area)
{
    QRect Box;
    const QRect Within = Area & Image.rect();
    for (int Y = Within.top(); Y <= Within.bottom(); ++Y)
        for (int X = Within.left(); X <= Within.right(); ++X)
            if (qGray(Image.pixel(X, Y)) < 128)
                Box |= QRect(X, Y, 1, 1);
    return Box;
}

QImage LabelImage(const LabelTemplate& T, int Dpi, const QHash<QString, QString>& Values = {},
                  const Barcode& B = Symbol())
{
    const double PerMM = Dpi / 25.4;
    QImage Image(int(std::lround(T.size().width() * PerMM)), int(std::lround(T.size().height() * PerMM)),
                 QImage::Format_RGB32);
    Image.fill(Qt::white);
    Image.setDotsPerMeterX(int(std::lround(Dpi / 0.0254)));
    Image.setDotsPerMeterY(int(std::lround(Dpi / 0.0254)));
    QPainter P(&Image);
    QString Why;
    EXPECT_TRUE(T.paint(&P, QPointF(0, 0), B, Values, &Why)) << Why.toStdString();
    return Image;
}

struct TTemplateRow {
    const char* Name;
    QByteArray Svg;
    const char* Error; // a part of errorString; empty: valid
    QSizeF Size = {};
    const char* Fields = "";
    QRectF Box = {};
};

// The size from width and height in each unit (px at CSS's 96 to the
// inch, not Qt's 90), the box through the viewBox and the groups around
// it, the placeholders where they may stand; and every reason a template
// is refused, a reference outside it among them.
TEST(LabelTemplateTest, ReadsATemplateOrSaysWhyNot)
{
    const QByteArray Box = R"(<rect id="barcode" x="2" y="10" width="46" height="18"/>)";
    QByteArray Deep;
    for (int I = 0; I < 300; ++I)
        Deep += "<g>";
    for (int I = 0; I < 300; ++I)
        Deep += "</g>";
    const TTemplateRow Rows[] = {
        {"millimetres", Svg(Mm50x30, Box + "<text x='1' y='5'>{Name} {Price}</text>"), "", {50, 30}, "Name,Price",
         {2, 10, 46, 18}},
        {"centimetres", Svg(R"(width="5cm" height="3cm" viewBox="0 0 500 300")",
                            R"(<rect id="barcode" x="20" y="100" width="460" height="180"/>)"),
         "", {50, 30}, "", {2, 10, 46, 18}},
        {"inches", Svg(R"(width="2in" height="1in" viewBox="0 0 2 1")",
                       R"(<rect id="barcode" x="0.5" y="0.25" width="1" height="0.5"/>)"),
         "", {50.8, 25.4}, "", {12.7, 6.35, 25.4, 12.7}},
        {"points", Svg(R"(width="144pt" height="72pt" viewBox="0 0 144 72")", ""), "", {50.8, 25.4}},
        {"CSS pixels, 96 to the inch", Svg(R"(width="192px" height="96" viewBox="0 0 192 96")", ""), "", {50.8, 25.4}},
        {"a box in a moved group", Svg(Mm50x30, R"x(<g transform="translate(5,2)"><rect id="barcode" x="1" y="1" )x"
                                                R"(width="10" height="5"/></g>)"),
         "", {50, 30}, "", {6, 3, 10, 5}},
        {"a box in millimetres of a pixel drawing", Svg(R"(width="50mm" height="30mm" viewBox="0 0 188.976377952756 113.385826771654")",
                                                         R"(<rect id="barcode" x="10mm" y="5mm" width="30mm" height="20mm"/>)"),
         "", {50, 30}, "", {10, 5, 30, 20}},
        {"a square drawing centred on a wider label", Svg(R"(width="50mm" height="30mm" viewBox="0 0 100 100")",
                                                          R"(<rect id="barcode" x="0" y="0" width="100" height="100"/>)"),
         "", {50, 30}, "", {10, 0, 30, 30}},
        {"stretched to the label", Svg(R"(width="50mm" height="30mm" viewBox="0 0 100 100" preserveAspectRatio="none")",
                                       R"(<rect id="barcode" x="0" y="0" width="100" height="100"/>)"),
         "", {50, 30}, "", {0, 0, 50, 30}},
        {"placeholders in text and attributes, never in CSS", Svg(Mm50x30, R"(<style>.a{fill:"{Not}"}</style>)"
                                                                           R"(<rect fill="{Colour}" style="stroke:{AlsoNot}"/>)"
                                                                           R"(<text>{gtin} <tspan>{Name}</tspan> {gtin} {n}</text>)"
                                                                           R"(<desc>{Ignored}</desc>)"),
         "", {50, 30}, "Colour,gtin,Name,n"},
        {"braces that are no placeholder", Svg(Mm50x30, "<text>{} {a}} {{b}} {" + QByteArray(65, 'x') + "}</text>"), "",
         {50, 30}, "a,b"},
        {"a gradient of the document's own", Svg(Mm50x30, R"x(<defs><linearGradient id="g"/></defs><rect fill="url(#g)"/>)x"),
         "", {50, 30}},
        {"no viewBox", Svg(R"(width="50mm" height="30mm")", ""), "needs a viewBox"},
        {"a viewBox of no height", Svg(R"(width="50mm" height="30mm" viewBox="0 0 50 0")", ""), "needs a viewBox"},
        {"a width in per cent", Svg(R"(width="100%" height="30mm" viewBox="0 0 50 30")", ""), "width \"100%\" is not"},
        {"no width", Svg(R"(height="30mm" viewBox="0 0 50 30")", ""), "width (none) is not"},
        {"a label of 3 m", Svg(R"(width="3000mm" height="30mm" viewBox="0 0 50 30")", ""), "up to 2000 mm"},
        {"a size of a placeholder", Svg(R"(width="{W}" height="30mm" viewBox="0 0 50 30")", ""), "width takes no"},
        {"a cropping aspect", Svg(R"(width="50mm" height="30mm" viewBox="0 0 9 9" preserveAspectRatio="xMidYMid slice")", ""),
         "preserveAspectRatio=\"xMidYMid slice\" is not taken"},
        {"not SVG", "<html/>", "root element is not <svg>"},
        {"broken XML", Svg(Mm50x30, "<text>"), "Line 1:"},
        {"entities", R"(<!DOCTYPE svg [<!ENTITY a "aaaaaaaaaa"><!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;">]>)" +
                         Svg(Mm50x30, "<text>&b;</text>"),
         "no DOCTYPE and no entities"},
        {"an image from a file", Svg(Mm50x30, R"(<image xlink:href="file:///etc/passwd" width="9" height="9"/>)"),
         "refers to something outside the template"},
        {"an image from the network", Svg(Mm50x30, R"(<image href="http://example.com/a.png" width="9" height="9"/>)"),
         "refers to something outside the template"},
        {"another document's element", Svg(Mm50x30, R"(<use xlink:href="other.svg#logo"/>)"),
         "refers to something outside the template"},
        {"a paint from outside", Svg(Mm50x30, R"x(<rect fill="url(http://example.com/p#a)"/>)x"),
         "refers to something outside the template"},
        {"a style attribute reaching out", Svg(Mm50x30, R"x(<rect style="fill:url('file:///x.svg#a')"/>)x"),
         "refers to something outside the template"},
        {"a style sheet importing", Svg(Mm50x30, "<style>@import 'a.css';</style>"), "style sheet refers"},
        {"two boxes", Svg(Mm50x30, Box + Box), "Two elements have id=\"barcode\""},
        {"a round box", Svg(Mm50x30, R"(<circle id="barcode" r="5"/>)"), "make the symbol's box a <rect>"},
        {"a box of placeholders", Svg(Mm50x30, R"(<rect id="barcode" x="{X}" y="1" width="9" height="9"/>)"),
         "box takes no placeholders"},
        {"a box without its size", Svg(Mm50x30, R"(<rect id="barcode" x="1" y="1"/>)"), "needs x, y and a width"},
        {"300 groups deep", Svg(Mm50x30, Deep), "nest deeper than 256"},
        {"more than 4 MB", Svg(Mm50x30, "<desc>" + QByteArray(5 << 20, 'x') + "</desc>"), "more than the 4194304"},
    };
    for (const TTemplateRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        QElapsedTimer Clock;
        Clock.start();
        const LabelTemplate T = LabelTemplate::fromData(Row.Svg);
        EXPECT_LT(Clock.elapsed(), 2000) << "read in good time";
        EXPECT_EQ(T.isValid(), !*Row.Error);
        EXPECT_TRUE(T.errorString().contains(QString::fromUtf8(Row.Error))) << T.errorString().toStdString();
        if (*Row.Error) {
            EXPECT_TRUE(T.size().isEmpty());
            QImage Image(10, 10, QImage::Format_RGB32);
            QPainter P(&Image);
            EXPECT_FALSE(T.paint(&P, QPointF(0, 0), Symbol())) << "an invalid template draws nothing";
            continue;
        }
        EXPECT_NEAR(T.size().width(), Row.Size.width(), 1e-9);
        EXPECT_NEAR(T.size().height(), Row.Size.height(), 1e-9);
        EXPECT_EQ(T.fields().join(','), QString::fromLatin1(Row.Fields));
        const QRectF B = T.barcodeBox();
        EXPECT_NEAR(B.x(), Row.Box.x(), 1e-6);
        EXPECT_NEAR(B.y(), Row.Box.y(), 1e-6);
        EXPECT_NEAR(B.width(), Row.Box.width(), 1e-6);
        EXPECT_NEAR(B.height(), Row.Box.height(), 1e-6);
    }
    const LabelTemplate Missing(QStringLiteral("/nonexistent/label.svg"));
    EXPECT_FALSE(Missing.isValid());
    EXPECT_TRUE(Missing.errorString().startsWith("Cannot read /nonexistent/label.svg")) << Missing.errorString().toStdString();
    EXPECT_FALSE(LabelTemplate().isValid());
}

// The symbol in its box: as it is where it fits, its bars shortened to a
// lower box (to whole dots at a printer's dpi), refused by a narrower one
// with both widths. At 0.330 mm GS1's symbol is 37.29 mm wide and 25.93 mm
// tall, 3.08 mm of it below the bars; at 203 dpi a module is 3 dots, 0.375
// mm, the symbol 42.42 mm wide.
TEST(LabelTemplateTest, FitsTheSymbolInItsBox)
{
    const struct {
        const char* Name;
        double BoxWidth, BoxHeight;
        int Dpi;
        const char* Error;
        double BarHeight; // 0: as it was
    } Rows[] = {
        {"room enough", 46, 30, 0, "", 0},
        {"a lower box", 46, 18, 0, "", 18 - 3.078},
        {"a lower box at 203 dpi", 46, 18, 203, "", 14.5143},
        {"a narrower box", 30, 30, 0, "The symbol is 37.29 mm wide, its box 30.00 mm", 0},
        {"a box narrower than at 203 dpi", 40, 30, 203, "The symbol is 42.42 mm wide, its box 40.00 mm", 0},
        {"a box lower than the digits", 46, 3, 0, "no more than the 3.08 mm its digits take", 0},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        const LabelTemplate T = LabelTemplate::fromData(
            Svg(R"(width="60mm" height="40mm" viewBox="0 0 60 40")",
                QStringLiteral(R"(<rect id="barcode" x="1" y="1" width="%1" height="%2"/>)")
                    .arg(Row.BoxWidth)
                    .arg(Row.BoxHeight)
                    .toUtf8()));
        ASSERT_TRUE(T.isValid()) << T.errorString().toStdString();
        QString Why;
        const Barcode B = T.fittedBarcode(Symbol(), Row.Dpi, &Why);
        EXPECT_EQ(B.isValid(), !*Row.Error);
        EXPECT_TRUE(Why.contains(QString::fromLatin1(Row.Error))) << Why.toStdString();
        if (*Row.Error)
            continue;
        EXPECT_NEAR(B.barHeight(), Row.BarHeight, 0.001);
        EXPECT_EQ(B.warnings().join(' ').contains("shorter than GS1's nominal"), Row.BarHeight > 0);
        const QSizeF Drawn = Row.Dpi ? B.sizeForDpi(Row.Dpi) : B.size();
        EXPECT_LE(Drawn.height(), Row.BoxHeight + 1e-9);
        if (Row.BarHeight > 0) {
            EXPECT_GT(Drawn.height(), Row.BoxHeight - (Row.Dpi ? 25.4 / Row.Dpi : 0.001)) << "as tall as the box allows";
        }
    }
    const LabelTemplate NoBox = LabelTemplate::fromData(Svg(Mm50x30, ""));
    EXPECT_EQ(NoBox.fittedBarcode(Symbol()), Symbol()) << "without a box, as it is";
    EXPECT_FALSE(NoBox.fittedBarcode(Barcode(QStringLiteral("4006381333932"))).isValid());
}

// A label at 203 dpi: the shapes where the viewBox puts them, the text from
// its anchor (start, middle, end), the symbol centred in its box with every
// bar of the module's 3 dots.
TEST(LabelTemplateTest, PaintsEachPartWhereTheTemplatePutsIt)
{
    const LabelTemplate T = LabelTemplate::fromData(Svg(
        R"(width="50mm" height="30mm" viewBox="0 0 500 300")",
        R"(<rect x="0" y="0" width="100" height="50" fill="#000"/>)"
        R"(<g font-family="DejaVu Sans" font-size="40"><text x="250" y="90" text-anchor="middle">MMMM</text>)"
        R"(<text x="480" y="150" style="text-anchor:end">{Name}</text><text x="20" y="150">{Name}</text></g>)"
        R"(<rect id="barcode" x="30" y="160" width="440" height="130" fill="#f00"/>)"));
    ASSERT_TRUE(T.isValid()) << T.errorString().toStdString();
    const QImage Image = LabelImage(T, 203, {{"Name", QStringLiteral("MMMM")}});
    const auto Dots = [](double MM) { return int(std::lround(MM * 203 / 25.4)); };
    EXPECT_EQ(Ink(Image, QRect(0, 0, 120, 70)), QRect(0, 0, Dots(10), Dots(5))) << "the square drawn by Qt SVG";
    const QRect Middle = Ink(Image, QRect(0, Dots(5.5), Image.width(), Dots(4)));
    EXPECT_NEAR(Middle.center().x(), Dots(25), 3) << "middle: centred on x";
    const QRect End = Ink(Image, QRect(Dots(25), Dots(11.5), Dots(25), Dots(4)));
    EXPECT_LE(End.right(), Dots(48));
    EXPECT_GE(End.right(), Dots(47)) << "end: ends at x";
    const QRect Start = Ink(Image, QRect(0, Dots(11.5), Dots(25), Dots(4)));
    EXPECT_GE(Start.left(), Dots(2) - 1);
    EXPECT_LE(Start.left(), Dots(3)) << "start: starts at x";
    EXPECT_NEAR(Start.width(), End.width(), 1) << "the same text";
    // The symbol: 113 modules of 3 dots centred in the box from 3 mm to 47 mm, not the box's red.
    const int Left = Dots(3 + (44 - 113 * 3 * 25.4 / 203) / 2);
    const int Y = Dots(20);
    EXPECT_EQ(BarsOnRow(Image.copy(Left, 0, 113 * 3, Image.height()), Y, 3, qRgb(0, 0, 0), 113 * 3),
              BarsOf4006381333931)
        << ShowBars(BarsOnRow(Image.copy(Left, 0, 113 * 3, Image.height()), Y, 3, qRgb(0, 0, 0), 113 * 3));
    EXPECT_EQ(DecodeEan13(Image), "4006381333931");
    int Red = 0;
    for (int X = 0; X < Image.width(); ++X)
        Red += Image.pixel(X, Y) == qRgb(255, 0, 0);
    EXPECT_EQ(Red, 0) << "the box itself is not drawn";
    // Painted again at an offset on a page: moved by the offset's dots.
    QImage Page(Image.width() + 80, Image.height() + 80, QImage::Format_RGB32);
    Page.fill(Qt::white);
    Page.setDotsPerMeterX(Image.dotsPerMeterX());
    Page.setDotsPerMeterY(Image.dotsPerMeterY());
    {
        QPainter P(&Page);
        ASSERT_TRUE(T.paint(&P, QPointF(5, 5), Symbol(), {{"Name", QStringLiteral("MMMM")}}));
    }
    EXPECT_EQ(DarkRuns(Page, Y + Dots(5)).back().first, DarkRuns(Image, Y).back().first + Dots(5));
    QString Why;
    QPainter Idle;
    EXPECT_FALSE(T.paint(&Idle, QPointF(0, 0), Symbol(), {{"Name", "x"}}, &Why));
    EXPECT_EQ(Why, "The painter is not painting");
    QImage Scratch(10, 10, QImage::Format_RGB32);
    QPainter P(&Scratch);
    EXPECT_FALSE(T.paint(&P, QPointF(0, 0), Symbol(), {}, &Why));
    EXPECT_EQ(Why, "No value for the placeholder {Name}");
}

// On a PDF page the text is text: pdftotext reads back every value as
// written, accents, quotes and markup characters too; a value in an
// attribute is that attribute's value, and never more markup.
TEST(LabelTemplateTest, APdfHoldsTheTextAsWritten)
{
    const LabelTemplate T = LabelTemplate::fromData(Svg(
        Mm50x30, R"(<text x="2" y="5" font-family="DejaVu Sans" font-size="2">{Name}</text>)"
                 R"(<text x="2" y="10" font-size="3">{Price} <tspan font-weight="bold">{n}</tspan></text>)"
                 R"(<rect x="40" y="0" width="10" height="5" fill="{Colour}"/>)"
                 R"(<rect id="barcode" x="2" y="11" width="46" height="18"/>)"));
    ASSERT_TRUE(T.isValid()) << T.errorString().toStdString();
    const struct {
        const char* Name;
        const char* Colour;
        bool Red;
    } Rows[] = {
        {"Cr\xC3\xA8me fra\xC3\xAE" "che, \"full fat\" & <thick>", "#ff0000", true},
        {"\xC3\x86r\xC3\xB8sk\xC3\xB8" "bing Sm\xC3\xB8rrebr\xC3\xB8" "d", R"(red"/><rect width="1000" height="1000)", false},
    };
    QTemporaryDir Dir;
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        const QString Path = Dir.filePath("label.pdf");
        {
            QPdfWriter Pdf(Path);
            Pdf.setPageSize(QPageSize(T.size(), QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
            Pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
            Pdf.setResolution(1200);
            QPainter P(&Pdf);
            QString Why;
            ASSERT_TRUE(T.paint(&P, QPointF(0, 0), Symbol(),
                                {{"Name", QString::fromUtf8(Row.Name)}, {"Price", QString::fromUtf8("\xE2\x82\xAC" "1.99")},
                                 {"n", "7"}, {"Colour", Row.Colour}},
                                &Why))
                << Why.toStdString();
        }
        QProcess Text;
        Text.start("pdftotext", {Path, "-"});
        ASSERT_TRUE(Text.waitForFinished(30000));
        const QString Read = QString::fromUtf8(Text.readAllStandardOutput());
        const QStringList Lines = Read.split(u'\n');
        EXPECT_TRUE(Lines.contains(QString::fromUtf8(Row.Name))) << Read.toStdString();
        EXPECT_TRUE(Lines.contains(QString::fromUtf8("\xE2\x82\xAC" "1.99 7"))) << Read.toStdString();
        const QImage Page = PdfPage(Path, 100);
        ASSERT_FALSE(Page.isNull()) << "pdftoppm (poppler-utils) made no page";
        EXPECT_EQ(Page.pixel(Page.width() - 10, 8) == qRgb(255, 0, 0), Row.Red);
        EXPECT_EQ(qGray(Page.pixel(Page.width() / 2, 2)), 255) << "no rectangle of 1000 units";
    }
}

// One template on four threads at once, each its own image: every label
// the same as one drawn alone.
TEST(LabelTemplateTest, ThreadsShareATemplate)
{
    const LabelTemplate T = LabelTemplate::fromData(Svg(
        Mm50x30, R"(<rect x="1" y="1" width="48" height="28" fill="none" stroke="#000" stroke-width="0.3"/>)"
                 R"(<text x="25" y="6" text-anchor="middle" font-size="3">{Name}</text>)"
                 R"(<rect id="barcode" x="2" y="8" width="46" height="20"/>)"));
    ASSERT_TRUE(T.isValid());
    const QHash<QString, QString> Values{{"Name", QStringLiteral("Oat flakes, 500 g")}};
    const QImage Alone = LabelImage(T, 300, Values);
    std::vector<QImage> Drawn(4);
    std::vector<std::thread> Threads;
    for (QImage& Image : Drawn)
        Threads.emplace_back([&] {
            for (int I = 0; I < 10; ++I)
                Image = LabelImage(LabelTemplate(T), 300, Values);
        });
    for (std::thread& Thread : Threads)
        Thread.join();
    for (const QImage& Image : Drawn)
        EXPECT_EQ(Image, Alone);
}

} // namespace

#ifdef WEQ_CLI
#include "cli/RunCli.h"

namespace {

// --- Label jobs of the command line ----------------------------------------

std::string Run(const QString& Program, const QStringList& Args)
{
    QProcess P;
    P.start(Program, Args);
    P.waitForFinished(60000);
    return P.readAllStandardOutput().toStdString();
}

// The text pdftotext reads in an area of a page, in millimetres.
QString PdfText(const QString& Pdf, int Page, const QRectF& Area)
{
    const auto Points = [](double MM) { return QString::number(int(std::lround(MM / 25.4 * 72))); };
    return QString::fromStdString(Run("pdftotext", {"-f", QString::number(Page), "-l", QString::number(Page), "-x",
                                                    Points(Area.x()), "-y", Points(Area.y()), "-W",
                                                    Points(Area.width()), "-H", Points(Area.height()), Pdf, "-"}));
}

// A label template of W x H mm drawn in millimetres: a 2 mm square on its
// top-left corner, the name centred, the SKU and price, the symbol's box.
QByteArray Template(double W, double H, const char* Extra = "")
{
    return QStringLiteral(
               R"(<svg xmlns="http://www.w3.org/2000/svg" width="%1mm" height="%2mm" viewBox="0 0 %1 %2">)"
               R"(<rect x="0" y="0" width="2" height="2" fill="#000"/>)"
               R"(<text x="%3" y="5" font-family="DejaVu Sans" font-size="2.4" font-weight="bold" )"
               R"(text-anchor="middle">{Name}</text>)"
               R"(<text x="4" y="8.5" font-family="DejaVu Sans" font-size="2.2">{SKU} · {Price}</text>%5)"
               R"(<rect id="barcode" x="2" y="9.5" width="%4" height="%6"/></svg>)")
        .arg(W)
        .arg(H)
        .arg(W / 2)
        .arg(W - 4)
        .arg(QString::fromUtf8(Extra))
        .arg(H - 10.5)
        .toUtf8();
}

// Products as a shop exports them: a byte order mark, CR LF, names with
// accents, commas and quotes, one over two lines, a bad check digit on line
// 4 (rejected by its line, the rest written).
const QByteArray Products = "\xEF\xBB\xBFSKU,GTIN,Name,Price\r\n"
                            "A1,4006381333931,\"Cr\xC3\xA8me fra\xC3\xAE" "che, 200 g\",\xE2\x82\xAC" "1.99\r\n"
                            "A2,5901234123457,\"Say \"\"cheese\"\"\",\xE2\x82\xAC" "3.49\r\n"
                            "A3,4006381333932,Broken,\xE2\x82\xAC" "0.10\r\n"
                            "A4,9780201379624,\"\xC3\x86r\xC3\xB8sk\xC3\xB8" "bing, Sm\xC3\xB8rrebr\xC3\xB8" "d\",\xE2\x82\xAC" "12.00\r\n"
                            "A5,\"0036000291452\",\"Line one\r\nline two\",\xE2\x82\xAC" "0.99\r\n"
                            "A6,8712345678906,Plain,\xE2\x82\xAC" "5\r\n";
// Each label's row and what the readers read: zxing-cpp names an EAN-13
// that starts with 0 the UPC-A it carries.
const struct {
    const char *Sku, *Gtin, *Name, *Price, *Zxing;
} Labels[] = {
    {"A1", "4006381333931", "Cr\xC3\xA8me fra\xC3\xAE" "che, 200 g", "\xE2\x82\xAC" "1.99", "EAN-13:4006381333931"},
    {"A2", "5901234123457", "Say \"cheese\"", "\xE2\x82\xAC" "3.49", "EAN-13:5901234123457"},
    {"A4", "9780201379624", "\xC3\x86r\xC3\xB8sk\xC3\xB8" "bing, Sm\xC3\xB8rrebr\xC3\xB8" "d", "\xE2\x82\xAC" "12.00",
     "EAN-13:9780201379624"},
    {"A5", "0036000291452", "Line one line two", "\xE2\x82\xAC" "0.99", "UPC-A:036000291452"},
    {"A6", "8712345678906", "Plain", "\xE2\x82\xAC" "5", "EAN-13:8712345678906"},
};

// Products on a 50 x 30 mm roll and on 21-up A4 stock (63.5 x 38.1 mm, left
// margin 7.2 mm, top 15.1 mm) at 203 dpi, rasterised as a printer does: each
// label in its place (the first one's corner at the margins, to the dot),
// decoded by zxing-cpp and zbar to its row's GTIN, its text read back from
// the PDF as written, and every bar and space of its symbol a whole number
// of the 3-dot module, the known symbol's bars module by module.
TEST(LabelJobTest, ProductsOnARollAndOnStockAtThePrintersDots)
{
    const struct {
        const char* Name;
        QStringList Args;
        double W, H;
        bool Stock;
    } Rows[] = {
        {"a roll", {"--roll"}, 50, 30, false},
        {"21-up A4 stock", {"--sheet", "A4", "--margin", "7.2,15.1"}, 63.5, 38.1, true},
    };
    constexpr int Dpi = 203, Module = 3;
    const auto Dots = [](double MM) { return int(std::lround(MM * Dpi / 25.4)); };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        QTemporaryDir Dir;
        WriteText(Dir.filePath("products.csv"), Products);
        WriteText(Dir.filePath("label.svg"), Template(Row.W, Row.H));
        const TRun R = RunCli(Dir.path(), QStringList{"-i", "products.csv", "--gtin-column", "gtin", "--template",
                                                      "label.svg", "--dpi", "203", "-o", "labels.pdf"} +
                                              Row.Args);
        EXPECT_EQ(R.Status, 1) << R.Err;
        EXPECT_EQ(R.Err.rfind("weqbarcode: X 0.375 mm (3 dots at 203 dpi, 113.6 %)\n", 0), 0u) << R.Err;
        EXPECT_NE(R.Err.find("\nproducts.csv:4: '4006381333932': position 13: the check digit"), std::string::npos)
            << R.Err;
        EXPECT_NE(R.Err.find("1 of 6 items rejected, 5 labels written"), std::string::npos) << R.Err;
        const QString Pdf = Dir.filePath("labels.pdf");
        for (int I = 0; I < int(std::size(Labels)); ++I) {
            SCOPED_TRACE(Labels[I].Gtin);
            const int Page = Row.Stock ? 1 : I + 1;
            const QPointF At = Row.Stock ? QPointF(7.2 + I % 3 * 63.5, 15.1 + I / 3 * 38.1) : QPointF();
            const QImage Image = PdfPage(Pdf, Dpi, Page, TPdfRaster::Printer);
            ASSERT_FALSE(Image.isNull()) << "pdftoppm (poppler-utils) made no page";
            if (!Row.Stock) {
                // Qt's PDF engine writes a page in whole points: 142 x 85 for 50 x 30 mm.
                EXPECT_NEAR(Image.width(), Dots(Row.W), 1) << "the page the label's size";
                EXPECT_NEAR(Image.height(), Dots(Row.H), 1) << "the page the label's size";
            }
            const QRect Label(Dots(At.x()), Dots(At.y()), Dots(Row.W), Dots(Row.H));
            EXPECT_EQ(Ink(Image, QRect(Label.topLeft() - QPoint(3, 3), QSize(24, 24))),
                      QRect(Label.topLeft(), QSize(Dots(2), Dots(2))))
                << "the label's corner on the dot nearest its place";
            const QImage Cell = Image.copy(Label);
            EXPECT_EQ(DecodeFamily(Cell), Labels[I].Zxing);
            EXPECT_EQ(ZbarOnMargin(Cell), std::string("EAN-13:") + Labels[I].Gtin);
            const QStringList Text = PdfText(Pdf, Page, QRectF(At, QSizeF(Row.W, Row.H))).split(u'\n');
            EXPECT_TRUE(Text.contains(QString::fromUtf8(Labels[I].Name))) << Text.join('|').toStdString();
            EXPECT_TRUE(Text.contains(QString::fromUtf8(Labels[I].Sku) + QString::fromUtf8(" \xC2\xB7 ") +
                                      QString::fromUtf8(Labels[I].Price)))
                << Text.join('|').toStdString();
            // A row across the bars, 2 mm into the box: 30 bars (59 runs
            // of bars and spaces) of 1 to 4 modules of 3 dots, 95 modules in all.
            const int Y = Dots(At.y() + 9.5 + 2);
            const auto Bars = DarkRuns(Image, Y, Label.left() + Dots(2), Label.left() + Dots(Row.W - 2));
            ASSERT_EQ(Bars.size(), 30u);
            std::string Widths;
            for (std::size_t B = 0; B < Bars.size(); ++B) {
                Widths += std::to_string(Bars[B].second - Bars[B].first + 1) + " ";
                if (B + 1 < Bars.size())
                    Widths += "_" + std::to_string(Bars[B + 1].first - Bars[B].second - 1) + " ";
            }
            for (std::size_t B = 0; B < Bars.size(); ++B) {
                const int Bar = Bars[B].second - Bars[B].first + 1;
                EXPECT_TRUE(Bar % Module == 0 && Bar >= Module && Bar <= 4 * Module) << Widths;
                if (B + 1 < Bars.size()) {
                    const int Space = Bars[B + 1].first - Bars[B].second - 1;
                    EXPECT_TRUE(Space % Module == 0 && Space >= Module && Space <= 4 * Module) << Widths;
                }
            }
            EXPECT_EQ(Bars.back().second + 1 - Bars.front().first, 95 * Module) << Widths;
            if (I == 0) {
                const int Left = Bars.front().first - 11 * Module;
                EXPECT_EQ(BarsOnRow(Image.copy(Left, 0, 113 * Module, Image.height()), Y, Module, qRgb(0, 0, 0),
                                    113 * Module),
                          BarsOf4006381333931)
                    << Widths;
            }
        }
    }
}

// A job that writes no label leaves the file there as it was, and no
// temporary beside it: a placeholder no column names, a box narrower than
// the symbol, a template refused, every row rejected; on a roll, a sheet,
// and a sheet of plain symbols alike.
TEST(LabelJobTest, AJobThatWritesNoLabelKeepsTheFile)
{
    const QByteArray Bad = "SKU,GTIN,Name,Price\nB1,4006381333932,x,1\nB2,123,y,2\n";
    const struct {
        const char* Name;
        QByteArray Svg, Csv;
        QStringList Args;
        int Status;
        const char* Error;
    } Rows[] = {
        {"a placeholder no column names", Template(50, 30, "<text>{Weight}</text>"), Products, {"--roll"}, 2,
         "the template's placeholder {Weight} is no column of products.csv's header ('SKU', 'GTIN', 'Name', 'Price')"},
        {"a box narrower than the symbol", Template(44, 30), Products, {"--roll", "--dpi", "203"}, 2,
         "the template label.svg: the symbol is 42.42 mm wide, its box 40.00 mm"},
        {"a template with entities", "<!DOCTYPE svg>" + Template(50, 30), Products, {"--sheet", "A4"}, 2,
         "a template takes no DOCTYPE and no entities"},
        {"every row rejected, on a roll", Template(50, 30), Bad, {"--roll"}, 1, "2 of 2 items rejected, 0 labels written"},
        {"every row rejected, on a sheet", Template(50, 30), Bad, {"--sheet", "A4"}, 1,
         "2 of 2 items rejected, 0 labels written"},
        {"every item of a plain sheet rejected", {}, Bad, {"--sheet", "A4"}, 1, "2 of 2 items rejected, 0 labels written"},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        QTemporaryDir Dir;
        WriteText(Dir.filePath("products.csv"), Row.Csv);
        WriteText(Dir.filePath("label.svg"), Row.Svg);
        const QByteArray Before = "%PDF-1.4 a good sheet made earlier\n";
        WriteText(Dir.filePath("labels.pdf"), Before);
        QStringList Args{"-q", "-i", "products.csv", "--gtin-column", "2", "-o", "labels.pdf"};
        if (!Row.Svg.isEmpty())
            Args << "--template" << "label.svg";
        const TRun R = RunCli(Dir.path(), Args + Row.Args);
        EXPECT_EQ(R.Status, Row.Status) << R.Err;
        EXPECT_NE(R.Err.find(Row.Error), std::string::npos) << R.Err;
        EXPECT_EQ(Read(Dir.filePath("labels.pdf")), Before);
        EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden).join(' '), "label.svg labels.pdf products.csv");
    }
}

// A label a file: PNG at the printer's dpi (its size the label's in whole
// dots, the module's 3 dots in every bar), or a PDF of one page.
TEST(LabelJobTest, ALabelAFile)
{
    for (const char* Pattern : {"out/{n}.png", "out/{gtin}.pdf"}) {
        SCOPED_TRACE(Pattern);
        QTemporaryDir Dir;
        WriteText(Dir.filePath("products.csv"), Products);
        WriteText(Dir.filePath("label.svg"), Template(50, 30));
        const TRun R = RunCli(Dir.path(), {"-q", "-i", "products.csv", "--gtin-column", "GTIN", "--template",
                                           "label.svg", "--dpi", "203", "-o", Pattern});
        EXPECT_EQ(R.Status, 1) << R.Err;
        for (int I = 0; I < int(std::size(Labels)); ++I) {
            const bool Png = QString(Pattern).endsWith(".png");
            // Numbered over every row, the rejected fourth too.
            const QString Path = Dir.filePath(Png ? QString("out/%1.png").arg(I < 2 ? I + 1 : I + 2, 5, 10, QChar('0'))
                                                  : QString("out/%1.pdf").arg(Labels[I].Gtin));
            const QImage Image = Png ? QImage(Path).convertToFormat(QImage::Format_RGB32) : PdfPage(Path, 203, 1, TPdfRaster::Printer);
            ASSERT_FALSE(Image.isNull()) << Path.toStdString();
            if (Png) {
                EXPECT_EQ(Image.size(), QSize(400, 240)) << "50 x 30 mm at 203 dpi";
                EXPECT_NEAR(Image.dotsPerMeterX() * 0.0254, 203, 0.5);
            }
            EXPECT_EQ(DecodeFamily(Image), Labels[I].Zxing) << Path.toStdString();
            const auto Bars = DarkRuns(Image, int(std::lround(11.5 * 203 / 25.4)), 16, 384);
            ASSERT_EQ(Bars.size(), 30u) << Path.toStdString();
            for (const auto& [First, Last] : Bars)
                EXPECT_EQ((Last + 1 - First) % 3, 0) << Path.toStdString();
        }
    }
}

} // namespace
#endif
