// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// Bars stay whole device pixels, each a whole number of modules: on a
// screen of each device pixel ratio (QT_SCALE_FACTOR, a process each), and
// in images and pixmaps of any ratio (once).
#include "control/BarcodeWidget.h"
#include "control/WEQBarCode.h"
#include "ean/WEQEan.h"
#include "symbol/SymbolTestUtil.h"

#include <QTest>
#include <gtest/gtest.h>

#include <cmath>

namespace {

const QRgb Black = qRgb(0, 0, 0), White = qRgb(255, 255, 255);

// Row 0 of the bar area holds only the two colours, and its bars are the
// module pattern at module width M device pixels.
void ExpectWholeModules(const QImage& Image, int M, int BarRows)
{
    for (int Y : {0, BarRows / 2, BarRows - 1}) {
        for (int X = 0; X < 113 * M; ++X) {
            const QRgb P = Image.pixel(X, Y);
            ASSERT_TRUE(P == Black || P == White) << "blurred pixel at " << X << "," << Y;
        }
        EXPECT_EQ(ShowBars(BarsOnRow(Image, Y, M, Black, 113 * M)), ShowBars(BarsOf4006381333931)) << "row " << Y;
    }
}

TEST(HiDpiTargetTest, ImagesWithADevicePixelRatio)
{
    for (double Ratio : {1.25, 1.5, 2.0, 3.0}) {
        SCOPED_TRACE("ratio " + std::to_string(Ratio));
        const int DeviceWidth = int(std::floor(339 * Ratio)), DeviceHeight = int(std::floor(237 * Ratio));
        QImage Image(DeviceWidth, DeviceHeight, QImage::Format_RGB32);
        Image.fill(Qt::white);
        Image.setDevicePixelRatio(Ratio);
        {
            TCanvas Canvas(&Image);
            ASSERT_TRUE(WEQEan::DrawEan13("4006381333931", Canvas, 339, 237, clWhite, clBlack, clRed, true, false));
        }
        Image.setDevicePixelRatio(1);
        const WEQEan::TEan13Layout L = WEQEan::Ean13Layout(DeviceWidth, DeviceHeight);
        EXPECT_EQ(L.ModuleWidth, DeviceWidth / 113);
        ExpectWholeModules(Image, L.ModuleWidth, int(L.ShortBarHeight));
    }
}

TEST(HiDpiScreenTest, TheControlOnAScaledScreen)
{
    QWidget Window;
    Window.resize(500, 400);
    auto* Control = new TWEQBarCode(&Window);
    Control->SetGTIN("4006381333931");
    Control->SetTransparent(false);
    Control->SetFitHeightRatio(false);
    Control->move(7, 5);
    Control->resize(339, 237);
    Window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    QCoreApplication::processEvents();
    EXPECT_EQ(Control->size(), QSize(339, 237)) << "logical sizes as at ratio 1";
    QImage Image = Control->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const double Ratio = Image.devicePixelRatio();
    std::printf("device pixel ratio %.2f, grabbed %d x %d\n", Ratio, Image.width(), Image.height());
    Image.setDevicePixelRatio(1);
    const WEQEan::TEan13Layout L =
        WEQEan::Ean13Layout(int(std::floor(339 * Ratio)), int(std::floor(237 * Ratio)));
    ExpectWholeModules(Image, L.ModuleWidth, int(L.ShortBarHeight));
    if (qEnvironmentVariableIsSet("WEQ_HIDPI_SHOT"))
        Window.grab().save(qEnvironmentVariable("WEQ_HIDPI_SHOT"));
}

// Rendering the control into an image or a pixmap of any ratio, whatever the
// screen's: the modules are whole pixels of the target, not of the screen.
TEST(HiDpiTargetTest, TheControlRenderedIntoTargetsOfOtherRatios)
{
    QWidget Window;
    Window.resize(500, 400);
    auto* Control = new TWEQBarCode(&Window);
    Control->SetGTIN("4006381333931");
    Control->SetTransparent(false);
    Control->SetFitHeightRatio(false);
    Control->resize(339, 237);
    Window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    for (double Ratio : {1.0, 1.25, 1.5, 2.0, 3.0}) {
        for (bool Pixmap : {false, true}) {
            SCOPED_TRACE("into a" + std::string(Pixmap ? " pixmap" : "n image") + " of ratio " + std::to_string(Ratio));
            const QSize Device(int(std::ceil(339 * Ratio)), int(std::ceil(237 * Ratio)));
            QImage Image;
            if (Pixmap) {
                QPixmap Target(Device);
                Target.setDevicePixelRatio(Ratio);
                Target.fill(Qt::white);
                Control->render(&Target);
                Image = Target.toImage().convertToFormat(QImage::Format_RGB32);
            } else {
                Image = QImage(Device, QImage::Format_RGB32);
                Image.setDevicePixelRatio(Ratio);
                Image.fill(Qt::white);
                Control->render(&Image);
            }
            Image.setDevicePixelRatio(1);
            const WEQEan::TEan13Layout L =
                WEQEan::Ean13Layout(int(std::floor(339 * Ratio)), int(std::floor(237 * Ratio)));
            ExpectWholeModules(Image, L.ModuleWidth, int(L.ShortBarHeight));
        }
    }
}

// The widget sits at a logical position that lands inside a device pixel at
// fractional ratios; its modules must still be whole device pixels.
TEST(HiDpiScreenTest, BarcodeWidgetOnWholeDevicePixels)
{
    QWidget Window;
    Window.resize(500, 400);
    auto* Widget = new WEQ::BarcodeWidget(QStringLiteral("4006381333931"), &Window);
    Widget->setGeometry(7, 5, 339, 237);
    Window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    QCoreApplication::processEvents();
    // The window rendered whole: the widget's origin lands where it does on
    // the screen (the offscreen screen grab is cut to the logical size).
    QImage Screen = Window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const double Ratio = Screen.devicePixelRatio();
    Screen.setDevicePixelRatio(1);
    const int M = std::min(int(339 * Ratio) / 113, int(237 * Ratio) / 79);
    // Find the symbol by its first guard bar, 11 modules after its left edge.
    const int Y = int((5 + 237 / 2) * Ratio);
    int FirstBar = 0;
    while (FirstBar < Screen.width() && Screen.pixel(FirstBar, Y) != Black)
        ++FirstBar;
    const int Left = FirstBar - 11 * M;
    const QImage Row = Screen.copy(Left, Y, 113 * M, 1);
    for (int X = 0; X < Row.width(); ++X)
        ASSERT_TRUE(Row.pixel(X, 0) == Black || Row.pixel(X, 0) == White) << "blurred pixel at " << X;
    EXPECT_EQ(ShowBars(BarsOnRow(Row, 0, M, Black, 113 * M)), ShowBars(BarsOf4006381333931));
    const double Spare = 339 * Ratio - 113 * M; // centred in what the rectangle covers
    EXPECT_NEAR(Left - 7 * Ratio, Spare / 2, 1.0);
}

} // namespace
