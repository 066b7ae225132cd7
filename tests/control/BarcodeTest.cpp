// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// WEQ::Barcode as an application uses it: values read back, drawn at their
// true size into other people's painters, measured in the pixels and pages
// they make.
#include "control/Barcode.h"
#include "control/BarcodeWidget.h"
#include "symbol/Decode.h"
#include "symbol/PdfPage.h"
#include "symbol/PdfText.h"
#include "symbol/SymbolTestUtil.h"

#include <QBuffer>
#include <QDebug>
#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QRegularExpression>
#include <QPdfWriter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QVariant>
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

namespace {

using WEQ::Barcode;

struct TValueRow {
    const char* Name;
    Barcode::Symbology Symbology;
    const char* Text;
    const char* AddOn;
    bool Strict;
    bool Valid;
    const char* Error; // a part of errorString; empty: none
    const char* Gtin;
    const char* Title;
    QSize Modules;
};

const TValueRow ValueRows[] = {
    {"EAN-13 body", Barcode::Ean13, "400638133393", "", false, true, "", "4006381333931", "EAN-13 4006381333931",
     {113, 79}},
    {"EAN-13 typo, completed", Barcode::Ean13, "4006381333932", "", false, true, "the check digit of 400638133393 is 1",
     "4006381333931", "EAN-13 4006381333931", {113, 79}},
    {"EAN-13 typo, strict", Barcode::Ean13, "4006381333932", "", true, false, "position 13: the check digit", "", "",
     {113, 79}},
    {"EAN-8 with add-on", Barcode::Ean8, "9638507", "12", false, true, "", "96385074", "EAN-8 96385074 +12",
     {108, 65}},
    {"UPC-A five-digit add-on", Barcode::UpcA, "03600029145", "52495", true, true, "", "036000291452",
     "UPC-A 036000291452 +52495", {165, 79}},
    {"UPC-E from six digits", Barcode::UpcE, "425261", "12", false, true, "", "04252614", "UPC-E 04252614 +12",
     {94, 79}},
    {"UPC-E, a UPC-A without a suppressed form", Barcode::UpcE, "03600029145", "", false, false,
     "cannot be zero-suppressed", "", "", {67, 79}},
    {"Auto: a GTIN-8", Barcode::Auto, "96385074", "", false, true, "", "96385074", "EAN-8 96385074", {81, 65}},
    {"Auto: a GTIN-14 of a UPC-A", Barcode::Auto, "00036000291452", "", false, true, "", "036000291452",
     "UPC-A 036000291452", {113, 79}},
    // A book's number line: 8.111 modules (boxes of 6.111, a module above and below) on top.
    {"ISBN-10 with its price", Barcode::Isbn, "ISBN 0-306-40615-2", "51299", false, true, "", "9780306406157",
     "EAN-13 9780306406157 +51299", {167, 88}},
    {"ISSN, strict even when lenient", Barcode::Issn, "0317-8472", "", false, false, "check character", "", "",
     {113, 79}},
    {"Auto: an ISMN by its form", Barcode::Auto, "M-2306-7118-7", "", false, true, "", "9790230671187",
     "EAN-13 9790230671187", {113, 88}},
    {"Auto: a 977 GTIN is a serial", Barcode::Auto, "9770317847001", "07", true, true, "", "9770317847001",
     "EAN-13 9770317847001 +07", {140, 88}},
    // Reasons name the character typed, whatever its script.
    {"a hyphen of another script", Barcode::Isbn, "978\u20103\u201016\u2010148410\u20100", "", true, false,
     "position 4: '\u2010' is not a digit", "", "", {113, 79}},
    {"full-width digits", Barcode::Ean13, "\uFF14\uFF10\uFF10\uFF16\uFF13\uFF18\uFF11\uFF13\uFF13\uFF13\uFF19\uFF13",
     "", true, false, "position 1: '\uFF14' is not a digit", "", "", {113, 79}},
    {"a full-width label", Barcode::Isbn, "\uFF29\uFF33\uFF22\uFF2E 978-3-16-148410-0", "", true, false,
     "position 1: '\uFF29' is not a digit", "", "", {113, 79}},
};

TEST(BarcodeTest, ValuesReadBack)
{
    for (const TValueRow& Row : ValueRows) {
        SCOPED_TRACE(Row.Name);
        Barcode B(QString::fromUtf8(Row.Text), Row.Symbology);
        B.setAddOn(QString::fromLatin1(Row.AddOn));
        B.setStrict(Row.Strict);
        EXPECT_EQ(B.isValid(), Row.Valid);
        if (*Row.Error)
            EXPECT_TRUE(B.errorString().contains(QString::fromUtf8(Row.Error))) << B.errorString().toStdString();
        else
            EXPECT_TRUE(B.errorString().isEmpty()) << B.errorString().toStdString();
        EXPECT_EQ(B.gtin(), Row.Gtin);
        EXPECT_EQ(B.title(), Row.Title);
        EXPECT_EQ(B.sizeInModules(), Row.Modules);
        EXPECT_NEAR(B.size().width(), Row.Modules.width() * 0.33, 1e-9);
        EXPECT_EQ(B.toSvg().isEmpty(), !Row.Valid);
        // The size is the file's.
        const auto Size = QRegularExpression(R"re(width="([0-9.]+)mm" height="([0-9.]+)mm")re").match(QString::fromUtf8(B.toSvg()));
        if (Row.Valid) {
            EXPECT_NEAR(B.size().width(), Size.captured(1).toDouble(), 1e-9);
            EXPECT_NEAR(B.size().height(), Size.captured(2).toDouble(), 1e-9);
        }
    }
}

struct TSnapRow {
    double X;
    int Dpi, Dots;
    double Measured;
};

TEST(BarcodeTest, ModulesSnapToWholeDots)
{
    // The rule is the exports' (ExportTest); the value type's X-dimension reaches it.
    const TSnapRow Rows[] = {
        {0.330, 203, 3, 0.375369}, // the nearest
        {0.264, 600, 7, 0.296333}, // 6 dots, 0.254 mm, would fall outside GS1's range
        {1e9, 300, 0, 0},          // no drawable X-dimension: no dots, no size
        {0.330, 0, 0, 0},
    };
    for (const TSnapRow& Row : Rows) {
        Barcode B(QStringLiteral("400638133393"));
        B.setXDimension(Row.X);
        EXPECT_EQ(B.moduleWidthForDpi(Row.Dpi), Row.Dots) << Row.X << " mm at " << Row.Dpi << " dpi";
        EXPECT_NEAR(B.xDimensionForDpi(Row.Dpi), Row.Measured, 1e-6) << Row.X << " mm at " << Row.Dpi << " dpi";
        EXPECT_EQ(B.size().isEmpty(), Row.Dots == 0 && Row.Dpi != 0) << Row.X << " mm";
    }
}

// The bars' height and the reduction for a press, as the command line's
// options give them: the size, the warnings, and the bars a 300 dpi image
// holds. At 0.330 mm GS1's symbol is 25.93 mm tall, 22.85 of bars (69.24
// modules) and 3.08 below them; at 300 dpi a module is 4 dots, the nominal
// bars 277.
TEST(BarcodeTest, BarHeightAndReductionAreDrawn)
{
    const struct {
        const char* Name;
        double Height, Reduction;
        const char* Error; // a part of errorString; empty: drawable
        double SizeHeight; // mm
        int BarDots, NarrowestBar;
        bool Shorter; // the warnings say the bars are below the nominal height
    } Rows[] = {
        {"nominal", 0, 0, "", 25.927, 277, 4, false},
        {"15 mm bars", 15, 0, "", 15 + 3.078, 177, 4, true},
        {"a dot taken from every bar", 0, 0.0847, "", 25.927, 277, 3, false},
        {"a bar height below 0", -1, 0, "bar height of -1 mm", 0, 0, 0, false},
        {"a bar height beyond 1000 mm", 1001, 0, "bar height of 1001 mm", 0, 0, 0, false},
        {"a bar height not a number", std::nan(""), 0, "bar height of nan mm", 0, 0, 0, false},
        {"a reduction of a module", 0, 0.33, "bar width reduction of 0.33 mm", 0, 0, 0, false},
        {"a reduction below 0", 0, -0.01, "bar width reduction of -0.01 mm", 0, 0, 0, false},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        Barcode B(QStringLiteral("400638133393"));
        B.setBarHeight(Row.Height);
        B.setBarWidthReduction(Row.Reduction);
        EXPECT_EQ(B.isValid(), !*Row.Error);
        EXPECT_TRUE(B.errorString().contains(QString::fromLatin1(Row.Error))) << B.errorString().toStdString();
        if (*Row.Error) {
            EXPECT_TRUE(B.toImage(300).isNull());
            continue;
        }
        EXPECT_NEAR(B.size().height(), Row.SizeHeight, 0.001);
        EXPECT_EQ(B.warnings().join(' ').contains("shorter than GS1's nominal"), Row.Shorter) << B.warnings().join(' ').toStdString();
        const QImage Image = B.toImage(300);
        // The first bar, 11 modules of quiet zone in: its height and width in dots.
        const int Left = 11 * 4;
        int Height = 0, Width = 0;
        while (Height < Image.height() && qGray(Image.pixel(Left + 2, Height)) < 128)
            ++Height;
        for (int X = Left - 2; X < Left + 6; ++X)
            Width += qGray(Image.pixel(X, 5)) < 128;
        EXPECT_EQ(Height, Row.BarDots + 5 * 4) << "a guard bar: 5 modules longer";
        EXPECT_EQ(Width, Row.NarrowestBar);
        EXPECT_EQ(DecodeEan13(Image), "4006381333931");
    }
    Barcode A(QStringLiteral("400638133393")), B = A;
    B.setBarHeight(0);
    B.setBarWidthReduction(0);
    EXPECT_EQ(A.differences(B), Barcode::Properties()) << "the default set again changes nothing";
    B.setBarHeight(20);
    B.setBarWidthReduction(0.02);
    EXPECT_EQ(A.differences(B), Barcode::BarHeightProperty | Barcode::BarWidthReductionProperty);
    EXPECT_NE(qHash(A), qHash(B));
}

TEST(BarcodeTest, ACopyIsAValueEqualToItsOriginal)
{
    Barcode A(QStringLiteral("400638133393"));
    Barcode B = A;
    EXPECT_EQ(A, B);
    EXPECT_EQ(qHash(A), qHash(B));
    B.setBarColor(QColor::fromHsv(0, 0, 0)); // black in another colour model: no change
    EXPECT_EQ(A, B);
    B.setBarColor(Qt::darkBlue);
    EXPECT_NE(A, B);
    EXPECT_EQ(A.barColor(), QColor(Qt::black)) << "writing the copy changed the original";
    EXPECT_EQ(A.differences(B), Barcode::BarColorProperty);
    const QVariant V = QVariant::fromValue(B);
    EXPECT_EQ(V.value<Barcode>(), B);
    QString Shown;
    QDebug(&Shown) << B;
    EXPECT_TRUE(Shown.contains("EAN-13 4006381333931")) << Shown.toStdString();
}

// The runs of dark pixels on a row, from the first bar to the last.
std::vector<int> Runs(const QImage& Image, int Y)
{
    std::vector<int> Out;
    for (int X = 0; X < Image.width();) {
        const bool Dark = qGray(Image.pixel(X, Y)) < 128;
        int End = X;
        while (End < Image.width() && (qGray(Image.pixel(End, Y)) < 128) == Dark)
            ++End;
        if (Dark || !Out.empty())
            Out.push_back(End - X);
        X = End;
    }
    if (!Out.empty() && Out.size() % 2 == 0)
        Out.pop_back(); // the space after the last bar runs to the edge
    return Out;
}

// paint() at the true size in the painter's coordinates, as Qt draws text:
// images of several device pixel ratios (the same logical size, more dots),
// a 203 dpi "printer", a preview scaled down and one turned a quarter. Where
// the whole transform is axis-aligned every bar and space is a whole number
// of modules of the device's own dots, at the resolution the transform
// gives; the symbol lands at its place in logical units, and it decodes.
TEST(BarcodeTest, PaintDrawsTheTrueSizeInThePaintersCoordinates)
{
    const struct {
        const char* Name;
        qreal Ratio;
        int Dpi;
        QTransform World; // of the painter, in its units
        int Dots;         // a module's dots at the resolution the transform gives; 0: turned
    } Rows[] = {
        {"ratio 1", 1, 96, QTransform(), 2},                                        // 0.5 mm at 96 dpi
        {"ratio 1.5", 1.5, 96, QTransform::fromTranslate(0.25, 0), 3},               // 144 dots an inch
        {"ratio 2", 2, 96, QTransform::fromTranslate(1.5, 0.5), 4},                  // 192
        {"a 203 dpi printer", 1, 203, QTransform::fromTranslate(3.3, 0), 4},
        {"a preview at half size", 1, 600, QTransform::fromScale(0.5, 0.5), 6},      // 300 dots an inch
        {"turned a quarter", 1, 203, QTransform().translate(700, 0).rotate(90), 0},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        Barcode B(QStringLiteral("400638133393"));
        B.setXDimension(0.5);
        QImage Image(int(1100 * Row.Ratio), int(800 * Row.Ratio), QImage::Format_RGB32);
        Image.setDotsPerMeterX(int(std::lround(Row.Dpi / 0.0254)));
        Image.setDotsPerMeterY(int(std::lround(Row.Dpi / 0.0254)));
        Image.setDevicePixelRatio(Row.Ratio);
        Image.fill(Qt::white);
        {
            QPainter P(&Image);
            P.setWorldTransform(Row.World);
            ASSERT_TRUE(B.paint(&P, QPointF(2, 2)));
        }
        if (Row.Dots == 0) {
            QImage Back = Image.transformed(QTransform().rotate(-90));
            EXPECT_EQ(DecodeEan13(Back), "4006381333931");
            continue;
        }
        // The bars' row, and the first bar where 2 mm and 11 modules put it.
        const double Scale = Row.World.m11(), DotsPerMM = Row.Dpi * Row.Ratio / 25.4 * Scale;
        const std::vector<int> Bars = Runs(Image, int((2 + 10) * DotsPerMM + Row.World.dy() * Row.Ratio));
        ASSERT_EQ(Bars.size(), 59u) << "30 bars and the spaces between them";
        int Modules = 0;
        for (const int Run : Bars) {
            EXPECT_EQ(Run % Row.Dots, 0) << "a run of " << Run << " dots at " << Row.Dots << " dots a module";
            Modules += Run / Row.Dots;
        }
        EXPECT_EQ(Modules, 95);
        EXPECT_NEAR(B.sizeForDpi(qRound(Row.Dpi * Row.Ratio * Scale)).width(),
                    113 * Row.Dots * 25.4 / qRound(Row.Dpi * Row.Ratio * Scale), 1e-9);
        EXPECT_EQ(DecodeEan13(Image), "4006381333931");
    }
    // What a resolution draws, beside the nominal size: 0.330 mm is 16 dots at 1200 dpi.
    const Barcode B(QStringLiteral("400638133393"));
    EXPECT_NEAR(B.size().width(), 37.29, 1e-9);
    EXPECT_NEAR(B.sizeForDpi(1200).width(), 113 * 16 * 25.4 / 1200, 1e-9);
    EXPECT_NEAR(B.sizeForDpi(1200).width(), 38.27, 0.005);
}

// On a page whose window makes one unit a millimetre, the symbol lands at
// its place in millimetres at its true size: the PDF rasterised at 600 dpi.
TEST(BarcodeTest, PaintOnAMillimetreWindowLandsInMillimetres)
{
    QTemporaryDir Dir;
    const QString Path = Dir.filePath("window.pdf");
    {
        QPdfWriter Writer(Path);
        Writer.setResolution(1200);
        Writer.setPageSize(QPageSize(QSizeF(60, 40), QPageSize::Millimeter));
        Writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter P(&Writer);
        P.setWindow(0, 0, 60, 40);
        ASSERT_TRUE(Barcode(QStringLiteral("400638133393")).paint(&P, QPointF(5, 5)));
    }
    const QImage Page = PdfPage(Path, 600);
    ASSERT_FALSE(Page.isNull()) << "pdftoppm (poppler-utils) made no page";
    // 16 dots of 1200 a module: 8 of these 600. The first bar 5 mm and 11 modules in.
    const std::vector<int> Bars = Runs(Page, int(20 * 600 / 25.4));
    ASSERT_EQ(Bars.size(), 59u);
    int First = 0;
    while (qGray(Page.pixel(First, int(20 * 600 / 25.4))) >= 128)
        ++First;
    EXPECT_NEAR(First, (5 + 11 * 16 / 1200.0 * 25.4) / 25.4 * 600, 1.5);
    EXPECT_NEAR(std::accumulate(Bars.begin(), Bars.end(), 0), 95 * 8, 2);
    EXPECT_EQ(DecodeEan13(Page), "4006381333931");
}

// On a screen a book's symbol takes no more than its rectangle, its number
// line included, printed above the bars with at least a module between.
TEST(BarcodeTest, ABooksNumberIsDrawnAboveItsBarsOnScreen)
{
    const Barcode B(QStringLiteral("978-3-16-148410-0"), Barcode::Isbn);
    // The module: the least of the width's 113 and the height's 88 parts;
    // not keeping the aspect ratio, of its 18 + 9.
    const struct {
        QSize Area;
        bool Keep;
        int M;
    } Rows[] = {{{565, 454}, true, 5}, {{339, 1000}, true, 3}, {{1000, 300}, true, 3}, {{565, 135}, false, 5},
                {{1000, 100}, false, 3}};
    for (const auto& [Area, Keep, M] : Rows) {
        QImage Image(Area, QImage::Format_RGB32);
        Image.fill(Qt::white);
        {
            QPainter P(&Image);
            B.paint(&P, QRectF(QPointF(0, 0), Area), Qt::AlignCenter, Keep);
        }
        // Nothing is cut off: below the guard bar's end the image holds the
        // rest of the digits' box, 8.33 + 1 - 5 modules.
        const TLineInk L = LineInkOf(Image);
        int GuardEnd = Image.height() / 2;
        while (GuardEnd + 1 < Image.height() && qGray(Image.pixel(L.FirstBar, GuardEnd + 1)) < 128)
            ++GuardEnd;
        EXPECT_GE(Image.height() - 1 - GuardEnd, 4 * M) << Area.width() << "x" << Area.height() << ": digits cut off";
        EXPECT_EQ(DecodeEan13(Image), "9783161484100") << Area.width() << "x" << Area.height();
        EXPECT_EQ(L.FirstBar, (Area.width() - 113 * M) / 2 + 11 * M) << "centred, 11 modules of quiet zone";
        ASSERT_GE(L.Bottom, L.Top) << "no number above the bars";
        EXPECT_GE(L.BarTop - 1 - L.Bottom, M) << Area.width() << "x" << Area.height();
        EXPECT_GE(L.Bottom - L.Top, 4 * M);
    }
}

// The first bar's left edge on a row of the page, in dots, from X on.
int FirstDark(const QImage& Page, int Y, int X)
{
    while (X < Page.width() && qGray(Page.pixel(X, Y)) >= 128)
        ++X;
    return X;
}

// A label of another application's making: a line of text and two symbols
// at given millimetres on one A6 page of a QPdfWriter.
TEST(BarcodeTest, SymbolsPaintedBesideTextOnOnePdfPage)
{
    QTemporaryDir Dir;
    const QString Path = Dir.filePath("label.pdf");
    Barcode Ean(QStringLiteral("400638133393")), UpcA(QStringLiteral("03600029145"), Barcode::UpcA);
    const QPointF EanAt(10, 20), UpcAt(10, 70);
    {
        QPdfWriter Pdf(Path);
        Pdf.setPageSize(QPageSize(QPageSize::A6));
        Pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        Pdf.setResolution(1200);
        QPainter P(&Pdf);
        P.setFont(QFont("DejaVu Sans", 12));
        P.drawText(QPointF(10 / 25.4 * 1200, 12 / 25.4 * 1200), QStringLiteral("Oat flakes, 500 g"));
        ASSERT_TRUE(Ean.paint(&P, EanAt));
        ASSERT_TRUE(UpcA.paint(&P, UpcAt));
    }
    const QImage Page = PdfPage(Path, 600);
    ASSERT_FALSE(Page.isNull()) << "pdftoppm (poppler-utils) made no page";
    const auto Dots = [](double Millimetres) { return Millimetres / 25.4 * 600; };
    for (const auto& [B, At] : {std::pair{Ean, EanAt}, std::pair{UpcA, UpcAt}}) {
        SCOPED_TRACE(B.title().toStdString());
        const QRect Area = QRectF(Dots(At.x()), Dots(At.y()), Dots(B.size().width()), Dots(B.size().height()))
                               .toAlignedRect();
        const QImage Symbol = Page.copy(Area.adjusted(-20, -20, 20, 20));
        EXPECT_EQ(DecodeFamily(Symbol), (B.symbology() == Barcode::UpcA ? "UPC-A:" : "EAN-13:") + B.gtin().toStdString());
        // The first bar: its left edge after the left quiet zone, of modules
        // of whole dots of the writer's 1200 dpi.
        const int QuietZone = B.symbology() == Barcode::UpcA ? 9 : 11;
        const double Expected = Dots(At.x() + QuietZone * B.xDimensionForDpi(1200));
        EXPECT_LE(std::abs(FirstDark(Page, int(Dots(At.y() + 5)), Area.left() - 10) - Expected), 1.0);
    }
}

// A CMYK QColor is process inks in the PDF, a spot colour a Separation; an
// RGB colour stays RGB. What each row's PDF must and must not say.
TEST(BarcodeTest, CmykAndSpotColoursAreInksInItsPdf)
{
    const struct {
        const char* Name;
        void (*Set)(Barcode&);
        std::vector<QByteArray> Present, Absent;
    } Rows[] = {
        {"black ink, white behind it in CMYK too",
         [](Barcode& B) { B.setBarColor(QColor::fromCmykF(0, 0, 0, 1)); },
         {"0 0 0 1 k", "0 0 0 0 k"},
         {" rg\n", " RG\n"}},
        {"digits of their own", [](Barcode& B) {
             B.setBarColor(QColor::fromCmykF(1, 0.5, 0, 0));
             B.setTextColor(QColor::fromCmykF(0, 0, 0, 1));
         },
         {"1 0.5 0 0 k", "0 0 0 1 k"}, {" rg\n"}},
        {"a spot ink", [](Barcode& B) {
             B.setSpotColor(Barcode::BarRole, "Reflex Blue", QColor::fromCmykF(1, 0.72, 0, 0.06));
         },
         {"/Separation /Reflex#20Blue /DeviceCMYK", "/C1 [1 0.72 0 0.06]", "/CS0 cs 1 scn"}, {" rg\n"}},
        {"a spot ink taken away by a colour", [](Barcode& B) {
             B.setSpotColor(Barcode::BarRole, "Reflex Blue", QColor::fromCmykF(1, 0.72, 0, 0.06));
             B.setBarColor(Qt::black);
         },
         {"0 0 0 rg"}, {"/Separation"}},
        {"no background", [](Barcode& B) {
             B.setBarColor(QColor::fromCmykF(0, 0, 0, 1));
             B.setBackgroundColor(Qt::transparent);
         },
         {"0 0 0 1 k"}, {"0 0 0 0 k", " rg\n"}},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        Barcode B("4006381333931");
        Row.Set(B);
        const QByteArray Text = PdfText(B.toPdf());
        for (const QByteArray& Want : Row.Present)
            EXPECT_TRUE(Text.contains(Want)) << Want.toStdString() << " in\n" << Text.toStdString();
        for (const QByteArray& Not : Row.Absent)
            EXPECT_FALSE(Text.contains(Not)) << Not.toStdString() << " in\n" << Text.toStdString();
    }
}

TEST(BarcodeTest, ASpotColourIsNamedAsTheFilesTakeIt)
{
    Barcode B("4006381333931");
    const QColor Blue = QColor::fromCmykF(1, 0.72, 0, 0.06);
    for (const char* Refused : {"", "Black", "none", "A,B", "Tab\there", "Caf\u00e9", " Padded"}) {
        EXPECT_FALSE(B.setSpotColor(Barcode::BarRole, QString::fromUtf8(Refused), Blue)) << Refused;
        EXPECT_EQ(B, Barcode("4006381333931")) << Refused << " changed the barcode";
    }
    EXPECT_FALSE(B.setSpotColor(Barcode::BarRole, QString(64, 'x'), Blue));
    ASSERT_TRUE(B.setSpotColor(Barcode::TextRole, "Gold 871", QColor(200, 160, 40)));
    EXPECT_EQ(B.spotColorName(Barcode::TextRole), "Gold 871");
    EXPECT_EQ(B.textColor(), B.textColor().toCmyk()) << "a CMYK colour";
    EXPECT_EQ(B.differences(Barcode("4006381333931")), Barcode::TextColorProperty);
    // The same ink again changes nothing; the colour alone takes it away.
    Barcode Again = B;
    ASSERT_TRUE(Again.setSpotColor(Barcode::TextRole, "Gold 871", QColor(200, 160, 40)));
    EXPECT_EQ(Again, B);
    Again.setTextColor(Again.textColor());
    EXPECT_EQ(Again.spotColorName(Barcode::TextRole), "");
    EXPECT_NE(Again, B);
}

// On a PDF page the digits are the embedded font's glyphs, stored once,
// mapped as the outlines are: rendered at 600 dpi they cover the dots the
// outlines cover on an image of 600 dpi, but for a few along their edges
// (the outlines are the font's curves refitted within 3 design units); a
// page of one symbol stays small.
TEST(BarcodeTest, APdfsDigitsAreTheOutlinesInTheFont)
{
    QTemporaryDir Dir;
    const QString Path = Dir.filePath("digits.pdf");
    for (const char* Text : {"400638133393", "978316148410"}) {
        SCOPED_TRACE(Text);
        Barcode B{QString::fromLatin1(Text)};
        B.setXDimension(0.5);
        {
            QPdfWriter Pdf(Path);
            Pdf.setPageSize(QPageSize(B.sizeForDpi(600) + QSizeF(4, 4), QPageSize::Millimeter));
            Pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
            Pdf.setResolution(600);
            QPainter P(&Pdf);
            ASSERT_TRUE(B.paint(&P, QPointF(0, 0)));
        }
        const QByteArray Bytes = [&] {
            QFile F(Path);
            return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
        }();
        EXPECT_TRUE(Bytes.contains("+OCRB-Regular")) << "the font embedded";
        EXPECT_LT(Bytes.size(), 16000) << "the font once, the digits a few bytes each";
        // As a printer's raster: each dot whose centre a shape covers.
        const QImage Page = PdfPage(Path, 600, 1, TPdfRaster::Printer);
        ASSERT_FALSE(Page.isNull()) << "pdftoppm (poppler-utils) made no page";
        QImage Outlines(Page.size(), QImage::Format_RGB32);
        Outlines.fill(Qt::white);
        Outlines.setDotsPerMeterX(23622); // 600 dpi
        Outlines.setDotsPerMeterY(23622);
        {
            QPainter P(&Outlines);
            ASSERT_TRUE(B.paint(&P, QPointF(0, 0)));
        }
        // The digits' band below the bars, the lowest eighth of the symbol:
        // the columns and rows it inks, as runs "first-last", each within a
        // dot of the outlines'; and few dots apart in all.
        const int Bottom = int(B.sizeForDpi(600).height() / 25.4 * 600), Top = Bottom * 7 / 8;
        const auto Extents = [&](const QImage& Image, bool Across) {
            std::vector<std::pair<int, int>> Runs;
            const int Count = Across ? Image.width() : Bottom - Top;
            for (int I = 0; I < Count; ++I) {
                bool Dark = false;
                for (int J = 0; J < (Across ? Bottom - Top : Image.width()) && !Dark; ++J)
                    Dark = qGray(Across ? Image.pixel(I, Top + J) : Image.pixel(J, Top + I)) < 128;
                if (Dark && (Runs.empty() || Runs.back().second != I - 1))
                    Runs.emplace_back(I, I);
                else if (Dark)
                    Runs.back().second = I;
            }
            return Runs;
        };
        for (const bool Across : {true, false}) {
            const auto Want = Extents(Outlines, Across), Got = Extents(Page, Across);
            ASSERT_EQ(Got.size(), Want.size()) << (Across ? "columns" : "rows");
            for (std::size_t I = 0; I < Want.size(); ++I) {
                EXPECT_NEAR(Got[I].first, Want[I].first, 1) << (Across ? "column run " : "row run ") << I;
                EXPECT_NEAR(Got[I].second, Want[I].second, 1) << (Across ? "column run " : "row run ") << I;
            }
        }
        int Ink = 0, Apart = 0;
        for (int Y = Top; Y < Bottom; ++Y)
            for (int X = 0; X < Page.width(); ++X) {
                const bool Drawn = qGray(Outlines.pixel(X, Y)) < 128, Read = qGray(Page.pixel(X, Y)) < 128;
                Ink += Drawn;
                Apart += Drawn != Read;
            }
        EXPECT_GT(Ink, 2000);
        EXPECT_LT(Apart, Ink / 10) << Apart << " of " << Ink << " dots apart";
        EXPECT_EQ(DecodeEan13(Page), B.gtin().toStdString());
    }
}

TEST(BarcodeTest, SaveWritesTheFormatOfTheSuffix)
{
    QTemporaryDir Dir;
    const Barcode B(QStringLiteral("400638133393"));
    const struct {
        const char* Name;
        bool Saved;
        const char* Start; // of the file, or of the reason
    } Rows[] = {
        {"a.png", true, "\x89PNG"},
        {"a.SVG", true, "<svg"},
        {"a.pdf", true, "%PDF"},
        {"a.gif", false, "Cannot write"},
        {"missing/a.png", false, "Cannot write"},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        QString Error;
        const QString Path = Dir.filePath(Row.Name);
        ASSERT_EQ(B.save(Path, 300, &Error), Row.Saved) << Error.toStdString();
        if (Row.Saved) {
            QFile File(Path);
            ASSERT_TRUE(File.open(QIODevice::ReadOnly));
            EXPECT_TRUE(File.readAll().startsWith(Row.Start));
        } else {
            EXPECT_TRUE(Error.startsWith(Row.Start)) << Error.toStdString();
            EXPECT_FALSE(QFile::exists(Path));
        }
    }
    Barcode Refused(QStringLiteral("4006381333932"));
    Refused.setStrict(true);
    QString Error;
    EXPECT_FALSE(Refused.save(Dir.filePath("r.png"), 300, &Error));
    EXPECT_TRUE(Error.contains("check digit")) << Error.toStdString();
}

// The widget's own save and print: the reason of a failed save in
// errorString, the print a page that decodes.
TEST(BarcodeTest, TheWidgetSavesAndPrints)
{
    QTemporaryDir Dir;
    WEQ::BarcodeWidget Widget(QStringLiteral("400638133393"));
    EXPECT_FALSE(Widget.save(Dir.filePath("nowhere/a.png")));
    EXPECT_TRUE(Widget.errorString().contains("nowhere")) << Widget.errorString().toStdString();
    EXPECT_TRUE(Widget.save(Dir.filePath("a.png")));
    EXPECT_TRUE(Widget.errorString().isEmpty());
    QPrinter Printer(QPrinter::HighResolution);
    Printer.setOutputFormat(QPrinter::PdfFormat);
    Printer.setOutputFileName(Dir.filePath("print.pdf"));
    ASSERT_TRUE(Widget.print(&Printer));
    EXPECT_EQ(DecodeEan13(PdfPage(Dir.filePath("print.pdf"), 300)), "4006381333931");
}

} // namespace
