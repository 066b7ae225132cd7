// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "control/BarcodeWidget.h"
#include "control/SignalTable.h"
#include "symbol/Decode.h"
#include "symbol/SymbolTestUtil.h"

#include <QAccessible>
#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using WEQ::BarcodeWidget;

// A green window holding one widget at its origin, without a layout.
struct TWidgetWindow {
    QWidget Window;
    BarcodeWidget* Widget = new BarcodeWidget(QStringLiteral("400638133393"), &Window);
    TWidgetWindow()
    {
        Window.resize(400, 300);
        QPalette P = Window.palette();
        P.setColor(QPalette::Window, QColor(Green));
        Window.setPalette(P);
        Window.setAutoFillBackground(true);
        Widget->resize(339, 237);
        Window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&Window));
    }
    QImage Shot() { return Window.grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

TEST(BarcodeWidgetTest, InputValidOnlyForTextThatAlreadyIsAGtin)
{
    struct TInput {
        const char* Name;
        QString Text;
        bool Valid;
        const char* Gtin;
    };
    const QString Fullwidth12 = QString(12, QChar(0xFF11));
    const TInput Inputs[] = {
        {"12 digits", "400638133393", true, "4006381333931"},
        {"13 digits, right check digit", "4006381333931", true, "4006381333931"},
        {"13 digits, wrong check digit", "4006381333930", false, "4006381333931"},
        {"11 digits", "40063813339", false, "0400638133390"},
        {"empty", "", false, ""},
        {"spaces around", " 400638133393 ", true, "4006381333931"},
        {"digit groups as printed", "4 006381 333931", true, "4006381333931"},
        {"a letter", "40063813339a", false, "4006381333900"},
        {"a NUL inside", QString::fromLatin1("4006381\0" "33393", 13), false, "4006381033398"},
        {"fullwidth digits", Fullwidth12, false, "0000000000000"},
        {"a lone surrogate first", QChar(0xD800) + QStringLiteral("12345678901"), false, "0123456789012"},
        {"emoji", QString::fromUtf8("\xF0\x9F\x98\x80") + QStringLiteral("12345678901"), false, "0123456789012"},
        {"a million digits", QString(1'000'000, QChar('7')), false, "7777777777772"},
    };
    // Strictly (the default) only what already is a GTIN shows; completed,
    // every text shows a GTIN, and inputValid still flags the typo.
    for (const bool Strict : {true, false}) {
        BarcodeWidget Widget;
        Widget.setStrict(Strict);
        EXPECT_FALSE(Widget.inputValid()) << "nothing written yet";
        for (const TInput& In : Inputs) {
            SCOPED_TRACE(std::string(In.Name) + (Strict ? ", strict" : ", completed"));
            Widget.setText(In.Text);
            EXPECT_EQ(Widget.inputValid(), In.Valid);
            EXPECT_EQ(Widget.gtin(), Strict && !In.Valid ? "" : In.Gtin);
            EXPECT_EQ(Widget.text(), In.Text) << "text keeps what was written";
        }
    }
}

TEST(BarcodeWidgetTest, EveryPropertySignalsEachRealChangeOnce)
{
    BarcodeWidget Widget;
    const auto TopLeft = QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignTop));
    ExpectOneSignalPerRealChange(Widget, {
        {"text", "400638133393", {"text", "gtin", "inputValid", "errorString", "barcode"}},
        {"gtin", "4006381333931", {"text", "barcode"}},                                  // reads to the same GTIN
        {"text", "4006381333930", {"text", "gtin", "inputValid", "errorString", "barcode"}}, // a typo: refused
        {"strict", false, {"strict", "gtin", "warnings", "barcode"}},                   // completed, and said
        {"gtin", "ABC", {"text", "gtin", "errorString", "warnings", "barcode"}},         // another reason
        {"text", "abc", {"text", "errorString", "warnings", "barcode"}},                 // another character named
        {"text", "036000291452", {"text", "gtin", "inputValid", "errorString", "warnings", "barcode"}}, // an EAN-13 body
        {"symbology", QVariant::fromValue(WEQ::Barcode::UpcA), {"symbology", "gtin", "barcode"}}, // a UPC-A as it stands
        {"addOn", "1", {"addOn", "inputValid", "errorString", "warnings", "barcode"}}, // completed to 01
        {"addOn", "12", {"addOn", "inputValid", "errorString", "warnings", "barcode"}},
        {"strict", true, {"strict", "barcode"}},                                        // already what it takes
        {"xDimension", 0.05, {"xDimension", "inputValid", "errorString", "barcode"}},   // nothing drawable
        {"xDimension", 0.5, {"xDimension", "inputValid", "errorString", "barcode"}},
        {"barColor", QColor(Qt::red), {"barColor", "barcode", "warnings"}}, // a scanner's light cannot see red
        {"barColor", QColor(), {"barColor", "barcode", "warnings"}},        // invalid: the default, black
        {"barColor", QColor::fromHsv(0, 0, 0), {}},              // black in another colour model
        {"backgroundColor", QColor(Qt::transparent), {"backgroundColor", "barcode", "warnings"}}, // no quiet zone
        {"textColor", QColor(Qt::blue), {"textColor", "barcode"}},
        {"quietZoneMarks", false, {"quietZoneMarks", "quietZoneMarker", "barcode"}},
        {"quietZoneMarker", true, {"quietZoneMarks", "quietZoneMarker", "barcode"}}, // the older name
        {"keepAspectRatio", false, {"keepAspectRatio"}},
        {"alignment", TopLeft, {"alignment"}},
    });
}

// The symbology, add-on and text the widget is given reach what it shows,
// read by a real reader, and its size hint, the symbol's width in modules;
// what cannot be drawn shows nothing. (Every symbol decodes in the library's
// own tests.)
TEST(BarcodeWidgetTest, ItsSymbologyAndAddOnReachWhatItShows)
{
    struct TRow {
        const char* Name;
        BarcodeWidget::Symbology Symbology;
        const char* Text;
        const char* AddOn;
        bool Valid;
        const char* Gtin;
        const char* Read;
        int Modules;
    };
    const TRow Rows[] = {
        {"UPC-A with a 2-digit add-on", WEQ::Barcode::UpcA, "03600029145", "07", true, "036000291452",
         "UPC-A:036000291452 07", 9 + 95 + 9 + 20 + 5},
        {"a UPC-A UPC-E cannot hold", WEQ::Barcode::UpcE, "036000291452", "", false, "", "(nothing decoded)", 67},
        {"an ISBN-10 with its price", WEQ::Barcode::Isbn, "ISBN 0-306-40615-2", "51299", true, "9780306406157",
         "EAN-13:9780306406157 51299", 11 + 95 + 9 + 47 + 5},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        QWidget Window;
        Window.resize(700, 300);
        auto* Widget = new BarcodeWidget(&Window);
        Widget->setSymbology(Row.Symbology);
        Widget->setAddOn(QString::fromLatin1(Row.AddOn));
        Widget->setText(QString::fromLatin1(Row.Text));
        Widget->resize(Widget->sizeHint());
        Window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
        EXPECT_EQ(Widget->gtin().toStdString(), Row.Gtin);
        EXPECT_EQ(Widget->inputValid(), Row.Valid);
        EXPECT_EQ(Widget->sizeHint().width(), 3 * Row.Modules) << "module width 3";
        QImage Shot(Window.size() + QSize(40, 40), QImage::Format_RGB32);
        Shot.fill(Qt::white);
        Window.render(&Shot, QPoint(20, 20));
        EXPECT_EQ(DecodeFamily(Shot), Row.Read);
    }
}

TEST(BarcodeWidgetTest, ColoursAsWrittenAndInvalidOnesAsTheDefault)
{
    struct TColours {
        const char* Name;
        QColor Bar, Background, Text; // written
        QRgb ShownBar, ShownQuietZone, ShownDigits;
    };
    const TColours Rows[] = {
        {"invalid colours", QColor(), QColor(), QColor(), Black, White, Black},
        {"navy on cream, red digits", QColor(0, 0, 128), QColor(255, 251, 240), Qt::red, qRgb(0, 0, 128),
         qRgb(255, 251, 240), qRgb(255, 0, 0)},
        {"transparent background", Qt::black, Qt::transparent, Qt::black, Black, Green, Black},
        {"bars with alpha 0 are drawn opaque", QColor(255, 0, 0, 0), Qt::white, Qt::black, qRgb(255, 0, 0), White,
         Black},
    };
    TWidgetWindow W;
    for (const TColours& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        W.Widget->setBarColor(Row.Bar);
        W.Widget->setBackgroundColor(Row.Background);
        W.Widget->setTextColor(Row.Text);
        EXPECT_TRUE(W.Widget->barColor().isValid() && W.Widget->backgroundColor().isValid());
        const QImage Shot = W.Shot();
        EXPECT_EQ(Shot.pixel(2, 2), Row.ShownQuietZone);
        EXPECT_EQ(ShowBars(BarsOnRow(Shot, 0, 3, Row.ShownBar, 339)), ShowBars(BarsOf4006381333931));
        int Ink = 0; // rows 226 to 236 hold digits only, under the guard bars' ends
        for (int Y = 226; Y < 237; ++Y)
            for (int X = 0; X < 339; ++X)
                Ink += Shot.pixel(X, Y) == Row.ShownDigits;
        EXPECT_GT(Ink, 100) << "no digits in the text colour";
    }
}

// What fits: nothing below module width 1, otherwise the largest whole
// symbol, aligned. Absurd sizes cost no more than the bounded image.
TEST(BarcodeWidgetTest, SizesAlignmentAndAbsurdRectangles)
{
    constexpr int Max = QWIDGETSIZE_MAX;
    struct TSize {
        const char* Name;
        QSize Size;
        bool Keep;
        Qt::Alignment Alignment;
        QRect Symbol; // in the widget; empty: none
    };
    const Qt::Alignment Centre = Qt::AlignCenter, TopLeft = Qt::AlignLeft | Qt::AlignTop;
    const TSize Rows[] = {
        {"0 x 0", {0, 0}, true, Centre, {}},
        {"negative", {-5, -5}, true, Centre, {}},
        {"a pixel too narrow", {112, 79}, true, Centre, {}},
        {"a pixel too low", {113, 78}, true, Centre, {}},
        {"low, without the aspect ratio", {113, 78}, false, Centre, {0, 0, 113, 78}},
        {"exactly module 3", {339, 237}, true, Centre, {0, 0, 339, 237}},
        {"centred", {400, 300}, true, Centre, {30, 31, 339, 237}},
        {"bottom right", {400, 300}, true, Qt::AlignRight | Qt::AlignBottom, {61, 63, 339, 237}},
        {"top only is top left", {400, 300}, true, Qt::AlignTop, {0, 0, 339, 237}},
        {"whole height without the aspect ratio", {400, 300}, false, Centre, {30, 0, 339, 300}},
        {"QWIDGETSIZE_MAX, centred", {Max, Max}, true, Centre, {8386178, 8386909, 4859, 3397}},
        {"QWIDGETSIZE_MAX, top left", {Max, Max}, true, TopLeft, {0, 0, 4859, 3397}},
        {"QWIDGETSIZE_MAX wide", {Max, 100}, false, Centre, {8388325, 0, 565, 100}},
        {"QWIDGETSIZE_MAX high", {400, Max}, false, TopLeft, {0, 0, 339, 16384}},
        {"QWIDGETSIZE_MAX high, too narrow", {100, Max}, true, Centre, {}},
    };
    TWidgetWindow W;
    QElapsedTimer Timer;
    Timer.start();
    for (const TSize& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        W.Widget->setKeepAspectRatio(Row.Keep);
        W.Widget->setAlignment(Row.Alignment);
        W.Widget->resize(Row.Size);
        const QImage Shot = W.Shot();
        const QRect Visible = W.Widget->geometry() & W.Window.rect();
        // Outside the symbol only the background.
        for (int Y = Visible.top(); Y <= Visible.bottom(); ++Y)
            for (int X = Visible.left(); X <= Visible.right(); ++X)
                if (!Row.Symbol.contains(X, Y)) {
                    ASSERT_EQ(Shot.pixel(X, Y), White) << "at " << X << "," << Y;
                }
        if (Visible.contains(Row.Symbol)) {
            const QImage Symbol = Shot.copy(Row.Symbol);
            const int M = Row.Symbol.width() / 113;
            EXPECT_EQ(ShowBars(BarsOnRow(Symbol, 0, M, Black, Symbol.width())), ShowBars(BarsOf4006381333931));
            EXPECT_EQ(DecodeEan13(Symbol), "4006381333931");
        }
    }
    EXPECT_LT(Timer.elapsed(), 10000);
}

TEST(BarcodeWidgetTest, SizeHintsForLayouts)
{
    BarcodeWidget Widget;
    EXPECT_EQ(Widget.sizeHint(), QSize(339, 237)) << "module width 3";
    EXPECT_EQ(Widget.minimumSizeHint(), QSize(113, 79)) << "module width 1";
    EXPECT_TRUE(Widget.hasHeightForWidth());
    const std::pair<int, int> HeightForWidth[] = {{-1, 79}, {0, 79}, {113, 79}, {339, 237}, {451, 237},
                                                  {452, 316}, {QWIDGETSIZE_MAX, 3397}};
    for (auto [Width, Height] : HeightForWidth)
        EXPECT_EQ(Widget.heightForWidth(Width), Height) << "width " << Width;
    Widget.setKeepAspectRatio(false);
    EXPECT_FALSE(Widget.hasHeightForWidth());
    EXPECT_EQ(Widget.minimumSizeHint(), QSize(113, 18));
}

TEST(BarcodeWidgetTest, TheGtinReachesAssistiveTechnologyAndTheTooltip)
{
    BarcodeWidget Widget(QStringLiteral("978020137962"));
    EXPECT_EQ(Widget.toolTip(), "9780201379624");
    QAccessibleInterface* A = QAccessible::queryAccessibleInterface(&Widget);
    ASSERT_NE(A, nullptr);
    EXPECT_EQ(A->role(), QAccessible::Graphic);
    EXPECT_EQ(A->text(QAccessible::Name), "9780201379624");
    Widget.setGtin(QStringLiteral("400638133393"));
    EXPECT_EQ(A->text(QAccessible::Name), "4006381333931") << "follows every change";
}

} // namespace
