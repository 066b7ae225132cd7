// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// Both symbol widgets in a QVBoxLayout above a label, as an application
// would place them.
#include "control/BarcodeWidget.h"
#include "control/WEQBarCode.h"
#include "symbol/Decode.h"
#include "symbol/SymbolTestUtil.h"

#include <QLabel>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

const QSize WindowSizes[] = {{200, 150}, {300, 300}, {700, 600}, {1000, 400}};

class ResizeCounter : public QObject {
public:
    int Resizes = 0;
    bool eventFilter(QObject*, QEvent* Event) override
    {
        Resizes += Event->type() == QEvent::Resize;
        return false;
    }
};

struct TLaidOut {
    QWidget Window;
    QLabel* Label = new QLabel(QStringLiteral("Price: 1.99"));
    ResizeCounter Counter;

    explicit TLaidOut(QWidget* Symbol)
    {
        auto* Layout = new QVBoxLayout(&Window);
        Layout->addWidget(Symbol);
        Layout->addWidget(Label);
        Window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&Window));
        QCoreApplication::processEvents();
        Symbol->installEventFilter(&Counter);
    }
    void Resize(QSize Size)
    {
        Window.resize(Size);
        QCoreApplication::processEvents();
    }
    // Neither covers the other, both inside the window, the label below.
    void ExpectApart(const QWidget* Symbol) const
    {
        EXPECT_FALSE(Symbol->geometry().intersects(Label->geometry()))
            << "symbol " << Symbol->width() << "x" << Symbol->height() << " covers the label at y "
            << Label->y();
        EXPECT_GE(Label->y(), Symbol->geometry().bottom());
        EXPECT_TRUE(Window.rect().contains(Symbol->geometry()));
        EXPECT_TRUE(Window.rect().contains(Label->geometry()));
    }
    // The whole symbol at module width M with its top-left at At in the window.
    void ExpectWholeSymbol(QPoint At, int M)
    {
        const QImage Shot = Window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage Symbol = Shot.copy(QRect(At, QSize(113 * M, 79 * M)));
        EXPECT_EQ(ShowBars(BarsOnRow(Symbol, 0, M, Black, 113 * M)), ShowBars(BarsOf4006381333931));
        EXPECT_EQ(DecodeEan13(Symbol), "4006381333931");
    }
};

// The fault: without a size hint the layout gave the control the window's
// width, and it then snapped itself to 678 x 474 over the label.
TEST(LayoutTest, TWEQBarCodeGetsExactlyItsSnappedSizeAndNeverCoversTheLabel)
{
    struct TAsked {
        QSize Resize; // none: as constructed
        QSize Shown;
    };
    for (const TAsked Asked : {TAsked{{}, {113, 79}}, {{339, 237}, {339, 237}}, {{700, 10}, {678, 474}}}) {
        auto* Control = new TWEQBarCode;
        Control->SetGTIN("400638133393");
        Control->SetTransparent(false);
        if (Asked.Resize.isValid())
            Control->resize(Asked.Resize);
        TLaidOut W(Control);
        for (const QSize Size : WindowSizes) {
            SCOPED_TRACE(std::to_string(Asked.Shown.width()) + " in a window of " + std::to_string(Size.width()) +
                         "x" + std::to_string(Size.height()));
            W.Resize(Size);
            EXPECT_EQ(Control->size(), Asked.Shown);
            W.ExpectApart(Control);
            W.ExpectWholeSymbol(Control->pos(), Asked.Shown.width() / 113);
        }
        EXPECT_EQ(W.Counter.Resizes, 0) << "the control was resized while the window changed size";
    }
}

TEST(LayoutTest, TWEQBarCodeAsksTheLayoutAgainWhenItsSnappedSizeChanges)
{
    auto* Control = new TWEQBarCode;
    TLaidOut W(Control);
    struct TStep {
        const char* Name;
        std::function<void()> Change;
        QSize Shown;
    };
    const TStep Steps[] = {
        {"resize 600 x 100", [&] { Control->resize(600, 100); }, {565, 395}},
        {"FitHeightRatio off", [&] { Control->SetFitHeightRatio(false); }, {565, 395}},
        {"resize 565 x 120", [&] { Control->resize(565, 120); }, {565, 120}},
        {"resize 250 x 10", [&] { Control->resize(250, 10); }, {226, 36}},
        {"FitHeightRatio on", [&] { Control->SetFitHeightRatio(true); }, {226, 158}},
        // What a Designer form sets, since a layout hides the geometry there.
        {"minimum size 339 x 237", [&] { Control->setMinimumSize(339, 237); }, {339, 237}},
    };
    for (const TStep& Step : Steps) {
        SCOPED_TRACE(Step.Name);
        Step.Change();
        QCoreApplication::processEvents();
        EXPECT_EQ(Control->size(), Step.Shown);
        EXPECT_EQ(Control->sizeHint(), Step.Shown);
        W.ExpectApart(Control);
        EXPECT_LE(W.Label->y() - Control->geometry().bottom(), 2 * W.Window.layout()->spacing())
            << "the label did not follow the control";
    }
}

// The layout makes the window as large as the control asks; an absurd size
// asks for no more than the largest symbol image, and the control comes back
// from it.
TEST(LayoutTest, AbsurdSizesInALayoutNeitherCrashNorStick)
{
    auto* Control = new TWEQBarCode;
    Control->SetGTIN("400638133393");
    TLaidOut W(Control);
    const std::pair<QSize, QSize> Rows[] = {// asked, given by the layout
                                            {{0, 0}, {113, 79}},
                                            {{-5, -5}, {113, 79}},
                                            {{QWIDGETSIZE_MAX, QWIDGETSIZE_MAX}, {4859, 3397}}};
    for (const auto& [Absurd, Given] : Rows) {
        SCOPED_TRACE(std::to_string(Absurd.width()));
        Control->resize(Absurd);
        QCoreApplication::processEvents();
        EXPECT_EQ(Control->size(), Given) << "the largest symbol image: module 43";
        W.Window.grab();
        Control->resize(339, 0);
        QCoreApplication::processEvents(); // the layout lowers the window's minimum size
        W.Resize({400, 320});
        EXPECT_EQ(Control->size(), QSize(339, 237));
        EXPECT_EQ(W.Window.size(), QSize(400, 320));
        W.ExpectApart(Control);
        W.ExpectWholeSymbol(Control->pos(), 3);
    }
}

TEST(LayoutTest, BarcodeWidgetDrawsTheLargestWholeSymbolInWhatTheLayoutGives)
{
    auto* Widget = new WEQ::BarcodeWidget(QStringLiteral("400638133393"));
    TLaidOut W(Widget);
    for (const QSize Size : WindowSizes) {
        SCOPED_TRACE("window " + std::to_string(Size.width()) + "x" + std::to_string(Size.height()));
        W.Resize(Size);
        W.ExpectApart(Widget);
        const int M = std::min(Widget->width() / 113, Widget->height() / 79);
        ASSERT_GE(M, 1) << "the layout gave less than the minimum size hint";
        const QPoint Centred((Widget->width() - 113 * M) / 2, (Widget->height() - 79 * M) / 2);
        W.ExpectWholeSymbol(Widget->pos() + Centred, M);
    }
}

} // namespace
