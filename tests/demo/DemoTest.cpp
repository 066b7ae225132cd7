// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "ColorBox.h"
#include "SpinEdit.h"
#include "uMain.h"

#include <control/WEQBarCode.h>
#include <surface/Canvas.h>

#include "symbol/Decode.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QFile>
#include <QMenu>
#include <QPrinter>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QRgb Rgb(QPalette::ColorRole Role) { return QApplication::palette().color(Role).rgb(); }

// One fresh, shown demo window per test.
class DemoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Window = std::make_unique<TFrmWEqBarCodeDemo>();
        Window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Window.get()));
        QCoreApplication::processEvents();
        Control = Window->findChild<TWEQBarCode*>("WEQBarCode1");
        ASSERT_NE(Control, nullptr);
    }
    template <class T> T* Find(const char* Name)
    {
        T* W = Window->findChild<T*>(Name);
        EXPECT_NE(W, nullptr) << Name;
        return W;
    }
    // The window as it is on the screen now.
    QImage OnScreen()
    {
        return QGuiApplication::primaryScreen()->grabWindow(Window->winId()).toImage().convertToFormat(
            QImage::Format_RGB32);
    }
    QImage SymbolOnScreen() { return OnScreen().copy(Control->geometry()); }
    void TypeInto(QWidget* W, const QString& Text)
    {
        W->setFocus();
        QTest::keyClick(W, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(W, Qt::Key_Delete);
        if (!Text.isEmpty())
            QTest::keyClicks(W, Text);
        QCoreApplication::processEvents();
    }
    std::unique_ptr<TFrmWEqBarCodeDemo> Window;
    TWEQBarCode* Control = nullptr;
};

TEST_F(DemoTest, TheWindowAsLaidOut)
{
    EXPECT_EQ(Window->objectName(), "FrmWEqBarCodeDemo");
    EXPECT_EQ(Window->windowTitle(), "WEQBarCodeDemo");
    EXPECT_EQ(Window->size(), QSize(960, 522));
    struct TPlace {
        const char* Name;
        QRect Geometry;
    };
    const TPlace Places[] = {{"Label_Width", {0, 44, 28, 13}},           {"Label_Height", {0, 68, 31, 13}},
                             {"SpinEdit_Width", {40, 40, 65, 22}},       {"SpinEdit_Height", {40, 64, 65, 22}},
                             {"chk_DrawRightDelimiter", {8, 96, 121, 17}}, {"ClrBox_Color", {8, 184, 129, 22}},
                             {"ClrBox_BgColor", {8, 240, 129, 22}},      {"chk_Transparent", {8, 216, 121, 17}},
                             {"ClrBox_FontColor", {8, 272, 129, 22}},    {"chk_FitHeightRatio", {8, 120, 97, 17}},
                             {"edt_GTIN", {8, 8, 137, 21}}};
    for (const TPlace& P : Places)
        EXPECT_EQ(Find<QWidget>(P.Name)->geometry(), P.Geometry) << P.Name;
    EXPECT_EQ(Find<QLineEdit>("edt_GTIN")->maxLength(), 13);
    EXPECT_EQ(Find<QLineEdit>("edt_GTIN")->text(), "0000000000000");
    EXPECT_EQ(Find<QCheckBox>("chk_FitHeightRatio")->text(), "FitHeightRatio");
    EXPECT_EQ(Find<TColorBox>("ClrBox_BgColor")->Selected(), clCream);
    EXPECT_EQ(Find<TColorBox>("ClrBox_FontColor")->Selected(), clBlue);
    EXPECT_EQ(Find<TColorBox>("ClrBox_Color")->Selected(), clBlack);
    EXPECT_EQ(Find<TColorBox>("ClrBox_Color")->ItemHeight(), 16);
    // Tab order as laid out.
    const char* Order[] = {"SpinEdit_Width",  "SpinEdit_Height",  "chk_DrawRightDelimiter",
                           "ClrBox_Color",    "ClrBox_BgColor",   "chk_Transparent",
                           "ClrBox_FontColor", "chk_FitHeightRatio", "edt_GTIN"};
    for (std::size_t I = 0; I + 1 < std::size(Order); ++I) {
        QWidget* Next = Find<QWidget>(Order[I])->nextInFocusChain();
        while (Next->objectName().startsWith("qt_")) // a spin box's own editor
            Next = Next->nextInFocusChain();
        EXPECT_EQ(Next->objectName(), Order[I + 1]) << Order[I];
    }
}

TEST_F(DemoTest, AfterShowingTheSymbolIsFilledWithTheTooltipColourAndHasItsDelimiter)
{
    EXPECT_EQ(Control->geometry(), QRect(152, 8, 565, 454));
    EXPECT_TRUE(Control->DrawRightDelimiter());
    EXPECT_FALSE(Control->Transparent());
    EXPECT_FALSE(Control->FitHeightRatio());
    EXPECT_EQ(Control->BackgroundColor(), clInfoBk);
    EXPECT_FALSE(Find<QCheckBox>("chk_Transparent")->isChecked()) << "FormShow writes the control, not the box";
    const QImage Symbol = SymbolOnScreen();
    EXPECT_EQ(Symbol.pixel(2, 2), Rgb(QPalette::ToolTipBase));
    const QRgb Digits = Rgb(QPalette::WindowText);
    int DelimiterInk = 0;
    for (int Y = 0; Y < 454; ++Y)
        for (int X = 107 * 5; X < 565; ++X)
            DelimiterInk += Symbol.pixel(X, Y) == Digits;
    EXPECT_GT(DelimiterInk, 50) << "no '>' in the right quiet zone";
    EXPECT_EQ(DecodeEan13(Symbol), "0000000000000");
}

TEST_F(DemoTest, TypingWidthsSnapsTheControl)
{
    TSpinEdit* Width = Find<TSpinEdit>("SpinEdit_Width");
    TypeInto(Width, "600");
    EXPECT_EQ(Control->width(), 565);
    EXPECT_EQ(Width->text(), "600") << "the box keeps what was typed";
    TypeInto(Width, "678");
    EXPECT_EQ(Control->width(), 678);
    TypeInto(Width, "");
    EXPECT_EQ(Width->Value(), 0);
    EXPECT_EQ(Control->width(), 113);
    TypeInto(Find<TSpinEdit>("SpinEdit_Height"), "");
    EXPECT_EQ(Control->height(), 18) << "at least 18 modules of 1";
}

TEST_F(DemoTest, FitHeightRatioOverridesTheHeightBox)
{
    QCheckBox* Box = Find<QCheckBox>("chk_FitHeightRatio");
    QTest::mouseClick(Box, Qt::LeftButton, {}, QPoint(5, Box->height() / 2));
    QCoreApplication::processEvents();
    EXPECT_TRUE(Box->isChecked());
    EXPECT_EQ(Control->size(), QSize(565, 395));
}

TEST_F(DemoTest, TheGtinBoxKeepsWhatWasTypedWhileTheSymbolIsCompleted)
{
    QLineEdit* Edit = Find<QLineEdit>("edt_GTIN");
    TypeInto(Edit, "12345");
    EXPECT_EQ(Edit->text(), "12345");
    EXPECT_EQ(Control->GTIN(), "0000000123457");
    EXPECT_EQ(DecodeEan13(SymbolOnScreen()), "0000000123457");
    TypeInto(Edit, "12345678901234567");
    EXPECT_EQ(Edit->text(), "1234567890123") << "at most 13 characters";
    EXPECT_EQ(Control->GTIN(), "1234567890128");
}

TEST_F(DemoTest, TransparentShowsTheWindowBetweenTheBars)
{
    QCheckBox* Box = Find<QCheckBox>("chk_Transparent");
    const QRgb Window = Rgb(QPalette::Window), Tooltip = Rgb(QPalette::ToolTipBase);
    ASSERT_NE(Window, Tooltip);
    QTest::mouseClick(Box, Qt::LeftButton, {}, QPoint(5, Box->height() / 2));
    QCoreApplication::processEvents();
    QImage Symbol = SymbolOnScreen();
    EXPECT_EQ(Symbol.pixel(2, 2), Window) << "quiet zone";
    EXPECT_EQ(Symbol.pixel(5 * 15 + 2, 2), Window) << "space between bars";
    EXPECT_EQ(DecodeEan13(Symbol), "0000000000000");
    QTest::mouseClick(Box, Qt::LeftButton, {}, QPoint(5, Box->height() / 2));
    QCoreApplication::processEvents();
    Symbol = SymbolOnScreen();
    EXPECT_EQ(Symbol.pixel(2, 2), Tooltip);
    EXPECT_EQ(Symbol.pixel(5 * 15 + 2, 2), Tooltip);
}

TEST_F(DemoTest, PickingADigitColourShowsAtTheNextRepaint)
{
    TColorBox* Box = Find<TColorBox>("ClrBox_FontColor");
    Box->SetSelected(clRed); // from code: no handler
    QCoreApplication::processEvents();
    EXPECT_EQ(Control->FontColor(), clWindowText);
    Box->setFocus();
    QTest::keyClick(Box, Qt::Key_Down); // the user picks the next entry
    const TColor Picked = Box->Selected();
    ASSERT_NE(Picked, clRed);
    EXPECT_EQ(Control->FontColor(), Picked);
    QCoreApplication::processEvents();
    const TColor Rgb = TCanvas::ResolveColor(Picked);
    const QRgb Want = qRgb(int(Rgb & 0xFF), int((Rgb >> 8) & 0xFF), int((Rgb >> 16) & 0xFF));
    const QImage Symbol = SymbolOnScreen();
    int Ink = 0;
    for (int Y = 400; Y < 454; ++Y)
        for (int X = 0; X < 565; ++X)
            Ink += Symbol.pixel(X, Y) == Want;
    EXPECT_GT(Ink, 200) << "digits are not in the picked colour";
}

TEST_F(DemoTest, TheSymbolsContextMenuCopiesSavesAndPrints)
{
    QTemporaryDir Dir;
    QMenu* Menu = Window->SymbolMenu();
    ASSERT_EQ(Menu->actions().size(), 3);
    auto Act = [&](int I) { Menu->actions()[I]->trigger(); };
    EXPECT_EQ(Menu->actions()[0]->text(), "Copy");

    Act(0);
    EXPECT_EQ(DecodeEan13(QApplication::clipboard()->image()), "0000000000000");

    for (const char* Name : {"s.png", "s.svg", "s.pdf"}) {
        const QString Path = Dir.filePath(Name);
        Window->AskSavePath = [Path] { return Path; };
        Act(1);
        QFile File(Path);
        ASSERT_TRUE(File.open(QIODevice::ReadOnly)) << Name;
        const QByteArray Head = File.read(5);
        EXPECT_TRUE(Head.startsWith("\x89PNG") || Head.startsWith("<svg") || Head.startsWith("%PDF-")) << Name;
    }
    EXPECT_EQ(DecodeEan13(QImage(Dir.filePath("s.png"))), "0000000000000");
    Window->AskSavePath = [] { return QString(); }; // cancelled: nothing written, nothing asked again
    Act(1);

    const QString Printed = Dir.filePath("printed.pdf");
    Window->AskPrinter = [Printed](QPrinter& P) {
        P.setOutputFormat(QPrinter::PdfFormat);
        P.setOutputFileName(Printed);
        return true;
    };
    Act(2);
    EXPECT_TRUE(QFile::exists(Printed));
    EXPECT_GT(QFile(Printed).size(), 500);
}

// The status line says what GS1's rules say of the colours the user picks.
TEST_F(DemoTest, TheStatusLineJudgesThePickedColours)
{
    const QLabel* Status = Find<QLabel>("Gs1Status");
    const struct {
        TColor Bars;
        const char* Says;
    } Rows[] = {
        {clRed, "grade F under a scanner's 660 nm light"},
        {clYellow, "grade F"},
        {clNavy, "no findings"},
        {clBlack, "no findings"},
    };
    for (const auto& Row : Rows) {
        Control->SetColor(Row.Bars);
        EXPECT_TRUE(Status->text().contains(QLatin1String(Row.Says))) << Status->text().toStdString();
    }
}

} // namespace
