// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "control/SignalTable.h"
#include "control/WEQBarCode.h"
#include "ean/WEQEan.h"
#include "symbol/SymbolTestUtil.h"

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

class PaintCounter : public QObject {
public:
    int Paints = 0;
    bool eventFilter(QObject*, QEvent* Event) override
    {
        if (Event->type() == QEvent::Paint)
            ++Paints;
        return false;
    }
};

// A green window with one control at (10, 10), shown and exposed.
struct TWindow {
    QWidget Parent;
    TWEQBarCode* Control = nullptr;
    PaintCounter Counter;

    TWindow()
    {
        Parent.resize(1100, 800);
        QPalette P = Parent.palette();
        P.setColor(QPalette::Window, QColor(Green));
        Parent.setPalette(P);
        Parent.setAutoFillBackground(true);
        Control = new TWEQBarCode(&Parent);
        Control->move(10, 10);
        Control->installEventFilter(&Counter);
    }
    void Show()
    {
        Parent.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&Parent));
        QCoreApplication::processEvents();
    }
    // What is really on the window now, stale pixels included.
    QImage OnScreen()
    {
        return QGuiApplication::primaryScreen()->grabWindow(Parent.winId()).toImage().convertToFormat(
            QImage::Format_RGB32);
    }
    // The window rendered afresh.
    QImage Fresh() { return Parent.grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

TEST(ControlTest, ConstructionValues)
{
    TWEQBarCode Control;
    EXPECT_EQ(Control.GTIN(), "0000000000000");
    EXPECT_EQ(Control.Color(), clBlack);
    EXPECT_EQ(Control.BackgroundColor(), clWhite);
    EXPECT_TRUE(Control.Transparent());
    EXPECT_TRUE(Control.DrawRightDelimiter());
    EXPECT_TRUE(Control.FitHeightRatio());
    EXPECT_FALSE(Control.DrawOnBitmap());
    EXPECT_EQ(Control.FontColor(), clWindowText);
    EXPECT_EQ(Control.font().family(), "OCRB");
    EXPECT_EQ(Control.size(), QSize(100, 100)) << "no paint yet, no snapping";
}

TEST(ControlTest, MadeInCodeIsSnappedWhenFirstShown)
{
    TWindow W;
    EXPECT_EQ(W.Control->size(), QSize(100, 100));
    W.Show();
    EXPECT_EQ(W.Control->size(), QSize(113, 79));
    EXPECT_GE(W.Counter.Paints, 1);
}

TEST(ControlTest, SizesSnapToWholeModules)
{
    TWindow W;
    W.Show();
    W.Control->SetFitHeightRatio(false);
    const int Rows[][3] = {// width asked, width shown, module width
                           {0, 113, 1},     {-40, 113, 1},   {112, 113, 1}, {339, 339, 3},
                           {565, 565, 5},   {600, 565, 5},   {950, 904, 8}, {678, 678, 6}};
    for (const auto& Row : Rows) {
        W.Control->resize(Row[0], 100);
        QCoreApplication::processEvents();
        EXPECT_EQ(W.Control->width(), Row[1]) << "width " << Row[0];
        EXPECT_EQ(W.Control->height(), std::max(100, 18 * Row[2])) << "width " << Row[0];
    }
}

TEST(ControlTest, FitHeightRatioFollowsTheWidth)
{
    TWindow W;
    W.Show();
    W.Control->resize(565, 454);
    QCoreApplication::processEvents();
    EXPECT_EQ(W.Control->size(), QSize(565, 395)) << "79 modules of 5";
    W.Control->SetFitHeightRatio(false);
    W.Control->resize(565, 60);
    QCoreApplication::processEvents();
    EXPECT_EQ(W.Control->height(), 90) << "at least 18 modules";
    W.Control->resize(565, 454);
    QCoreApplication::processEvents();
    EXPECT_EQ(W.Control->height(), 454);
    W.Control->SetFitHeightRatio(true);
    EXPECT_EQ(W.Control->height(), 395) << "the setter snaps at once";
}

TEST(ControlTest, ChangedWritesPaintAtOnceUnchangedOnesNever)
{
    TWindow W;
    W.Show();
    TWEQBarCode& C = *W.Control;
    struct TWrite {
        const char* Name;
        std::function<void()> Change, Same;
    };
    const TWrite Writes[] = {
        {"GTIN", [&] { C.SetGTIN("12345"); }, [&] { C.SetGTIN("000000012345x"); }},
        {"Color", [&] { C.SetColor(clNavy); }, [&] { C.SetColor(clNavy); }},
        {"BackgroundColor", [&] { C.SetBackgroundColor(clCream); }, [&] { C.SetBackgroundColor(clCream); }},
        {"DrawRightDelimiter", [&] { C.SetDrawRightDelimiter(false); }, [&] { C.SetDrawRightDelimiter(false); }},
        {"FitHeightRatio", [&] { C.SetFitHeightRatio(false); }, [&] { C.SetFitHeightRatio(false); }},
        {"DrawOnBitmap", [&] { C.SetDrawOnBitmap(true); }, [&] { C.SetDrawOnBitmap(true); }},
        {"Transparent", [&] { C.SetTransparent(false); }, [&] { C.SetTransparent(false); }},
    };
    for (const TWrite& Write : Writes) {
        SCOPED_TRACE(Write.Name);
        QCoreApplication::processEvents();
        int Before = W.Counter.Paints;
        Write.Change();
        EXPECT_EQ(W.Counter.Paints, Before + 1) << "a change paints within the write";
        QCoreApplication::processEvents();
        Before = W.Counter.Paints;
        Write.Same();
        QCoreApplication::processEvents();
        EXPECT_EQ(W.Counter.Paints, Before) << "an unchanged write painted";
    }
    EXPECT_EQ(C.GTIN(), "0000000123457");
}

TEST(ControlTest, GtinReadsBackCompleted)
{
    TWEQBarCode C;
    C.SetGTIN("12345");
    EXPECT_EQ(C.GTIN(), "0000000123457");
    C.SetGTIN(QString::fromUtf8("\xd9\xa1\xd9\xa2")); // two Arabic-Indic digits: not ASCII digits
    EXPECT_EQ(C.GTIN(), "0000000000000");
    C.setProperty("GTIN", "400638133393");
    EXPECT_EQ(C.property("GTIN").toString(), "4006381333931");
    C.setProperty("BackgroundColor", quint32(clInfoBk));
    EXPECT_EQ(C.BackgroundColor(), clInfoBk);
}

TEST(ControlTest, NonDigitTextThatCompletesTheSameIsNoChange)
{
    TWindow W;
    W.Show();
    const int Before = W.Counter.Paints;
    W.Control->SetGTIN("ABC");
    QCoreApplication::processEvents();
    EXPECT_EQ(W.Counter.Paints, Before);
}

TEST(ControlTest, FontColourWaitsForTheNextRepaint)
{
    TWindow W;
    W.Show();
    const int Before = W.Counter.Paints;
    W.Control->SetFontColor(clRed);
    EXPECT_EQ(W.Counter.Paints, Before) << "painted at once";
    QCoreApplication::processEvents();
    EXPECT_EQ(W.Counter.Paints, Before + 1);
    EXPECT_EQ(W.Control->property("FontColor").toUInt(), clRed);
}

TEST(ControlTest, TransparentShowsTheParentBetweenTheBars)
{
    TWindow W;
    W.Show();
    TWEQBarCode& C = *W.Control;
    C.SetGTIN("4006381333931");
    C.resize(339, 237);
    C.SetFitHeightRatio(false);
    QCoreApplication::processEvents();
    const QImage Clear = W.OnScreen();
    EXPECT_EQ(Clear.pixel(10 + 2, 10 + 2), Green) << "quiet zone";
    EXPECT_EQ(Clear.pixel(10 + 3 * 15 + 1, 10 + 2), Green) << "space between bars";
    C.SetTransparent(false);
    const QImage Filled = W.OnScreen();
    EXPECT_EQ(Filled.pixel(10 + 2, 10 + 2), White);
    EXPECT_EQ(Filled.pixel(10 + 3 * 15 + 1, 10 + 2), White);
    // The bars themselves, read off the window at module width 3.
    const QImage Symbol = Filled.copy(10, 10, 339, 237);
    EXPECT_EQ(ShowBars(BarsOnRow(Symbol, 0, 3, Black, 339)), ShowBars(BarsOf4006381333931));
    C.SetTransparent(true);
    QCoreApplication::processEvents();
    EXPECT_EQ(W.OnScreen().pixel(10 + 2, 10 + 2), Green);
}

TEST(ControlTest, NoStaleBarsOrDigitsStayBehindWhenTransparent)
{
    TWindow W;
    W.Show();
    TWEQBarCode& C = *W.Control;
    C.resize(339, 237);
    C.SetGTIN("4006381333931");
    C.SetGTIN("9780201379624"); // painted at once over the old picture
    EXPECT_EQ(W.OnScreen(), W.Fresh()) << "bars of the old GTIN are still on the window";
    C.SetDrawRightDelimiter(false);
    EXPECT_EQ(W.OnScreen(), W.Fresh()) << "the '>' is still on the window";
}

TEST(ControlTest, DrawOnBitmapChangesNoPixel)
{
    TWindow W;
    W.Show();
    W.Control->resize(565, 400);
    QCoreApplication::processEvents();
    const QImage Off = W.Fresh();
    W.Control->SetDrawOnBitmap(true);
    EXPECT_EQ(W.Fresh(), Off);
}

TEST(ControlTest, AbsurdSizesKeepTheProgramResponsive)
{
    TWindow W;
    W.Show();
    QElapsedTimer Timer;
    Timer.start();
    for (auto [Width, Height] : {std::pair{INT32_MAX, INT32_MAX}, {INT32_MIN, INT32_MIN}, {99999999, 222},
                                 {16777215, 16777215}, {300000, 5000}}) {
        W.Control->SetFitHeightRatio(Width % 2 == 0);
        W.Control->resize(Width, Height);
        QCoreApplication::processEvents();
        W.Control->repaint();
        EXPECT_LE(W.Control->width(), QWIDGETSIZE_MAX);
        EXPECT_EQ(W.Control->width() % 113, 0);
    }
    EXPECT_LT(Timer.elapsed(), 10000);
}

TEST(ControlTest, TheGtinReachesAssistiveTechnologyAndTheTooltip)
{
    TWEQBarCode C;
    C.SetGTIN("400638133393");
    EXPECT_EQ(C.toolTip(), "4006381333931");
    QAccessibleInterface* A = QAccessible::queryAccessibleInterface(&C);
    ASSERT_NE(A, nullptr);
    EXPECT_EQ(A->role(), QAccessible::Graphic);
    EXPECT_EQ(A->text(QAccessible::Name), "4006381333931");
    EXPECT_TRUE(A->text(QAccessible::Description).contains("4006381333931"));
    C.SetGTIN("12345");
    EXPECT_EQ(A->text(QAccessible::Name), "0000000123457") << "follows every change";
}

TEST(ControlTest, EveryPropertySignalsEachRealChangeOnce)
{
    TWindow W;
    W.Show();
    ExpectOneSignalPerRealChange(*W.Control, {
        {"GTIN", "12345", {"GTIN"}},
        {"GTIN", "000000012345x", {}}, // completes to the same GTIN
        {"Color", quint32(clNavy), {"Color"}},
        {"BackgroundColor", quint32(clCream), {"BackgroundColor"}},
        {"Transparent", false, {"Transparent"}},
        {"DrawRightDelimiter", false, {"DrawRightDelimiter"}},
        {"FitHeightRatio", false, {"FitHeightRatio"}},
        {"DrawOnBitmap", true, {"DrawOnBitmap"}},
        {"FontColor", quint32(clRed), {"FontColor"}},
    });
}

// Forms and Designer connect by signature, which only reaches slots.
TEST(ControlTest, TheSettersAreSlotsThatALineEditCanDrive)
{
    TWEQBarCode C;
    for (const char* Setter : {"SetGTIN(QString)", "SetColor(quint32)", "SetBackgroundColor(quint32)",
                               "SetTransparent(bool)", "SetDrawRightDelimiter(bool)", "SetFitHeightRatio(bool)",
                               "SetDrawOnBitmap(bool)", "SetFontColor(quint32)"}) {
        const int Index = C.metaObject()->indexOfSlot(Setter);
        ASSERT_GE(Index, 0) << Setter;
        EXPECT_EQ(C.metaObject()->method(Index).access(), QMetaMethod::Public) << Setter;
    }
    QLineEdit Edit;
    ASSERT_TRUE(QObject::connect(&Edit, SIGNAL(textChanged(QString)), &C, SLOT(SetGTIN(QString))));
    Edit.setText("400638133393");
    EXPECT_EQ(C.GTIN(), "4006381333931");
}

} // namespace

namespace {

// Deletes the widget it watches when it sees one kind of event, the way an
// application's event filter might.
class TDeleter : public QObject {
public:
    TDeleter(QEvent::Type Type, int Skip) : FType(Type), FSkip(Skip) {}
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        if (Event->type() != FType || FSkip-- > 0)
            return false;
        delete Watched;
        return true;
    }

private:
    QEvent::Type FType;
    int FSkip;
};

struct TDeletionRow {
    const char* Name;
    QEvent::Type On;
    int Skip; // events of that kind to let pass first
    std::function<void(TWEQBarCode&)> Work;
};

// Nothing of the control is touched once an observer has deleted it during
// its own synchronous work (the address sanitizer run checks the memory).
// A widget deleted within its own resize or paint event is beyond what Qt
// itself survives, so the snap's resizes and the repaints are not among the rows.
TEST(ControlTest, AnObserverMayDeleteTheControlDuringItsOwnWork)
{
    const TDeletionRow Rows[] = {
        {"the tooltip change of SetGTIN", QEvent::ToolTipChange, 0, [](TWEQBarCode& C) { C.SetGTIN("12345"); }},
        {"a snap still queued", QEvent::None, 0,
         [](TWEQBarCode& C) {
             C.resize(600, 300); // queues the snap
             delete &C;
         }},
    };
    for (const TDeletionRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        QWidget Window;
        Window.resize(800, 600);
        QPointer<TWEQBarCode> Control = new TWEQBarCode(&Window);
        Control->resize(339, 237);
        Window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
        QCoreApplication::processEvents();
        Control->resize(400, 100); // unsnapped again, so that the work below resizes
        TDeleter Deleter(Row.On, Row.Skip);
        Control->installEventFilter(&Deleter);
        Row.Work(*Control);
        QCoreApplication::processEvents();
        EXPECT_TRUE(Control.isNull()) << "the observer never saw the event";
    }
}

// A window larger than any backing store can hold is painted as nothing, not
// an error that escapes the paint event.
TEST(ControlTest, ATopLevelControlOfAnySizeShowsWithoutAborting)
{
    TWEQBarCode Control;
    Control.resize(INT_MAX, INT_MAX);
    Control.show();
    QCoreApplication::processEvents();
    Control.repaint();
    EXPECT_EQ(Control.width() % 113, 0);
    EXPECT_LE(Control.width(), QWIDGETSIZE_MAX);
}

} // namespace
