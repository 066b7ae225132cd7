#include "control/WEQBarCode.h"
#include "ean/WEQEan.h"
#include "ocrb/WEQOcrB.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <random>

namespace {

struct TCase {
    std::string Gtin;
    int Width, Height, Extra; // Extra: image larger than the symbol by this much
    bool Fill, Delimiter;
    TColor Background, Bars, Digits;
};

QImage Render(const TCase& C, bool Direct)
{
    TCanvas::AllowDirectPixels = Direct;
    const WEQEan::TEan13Layout L = WEQEan::Ean13Layout(C.Width, C.Height);
    QImage Image(L.SymbolWidth + C.Extra, L.DrawingHeight + C.Extra, QImage::Format_RGB32);
    Image.fill(QColor(90, 160, 30));
    {
        TCanvas Canvas(&Image);
        WEQEan::DrawEan13(C.Gtin, Canvas, C.Width, C.Height, C.Background, C.Bars, C.Digits, C.Fill, C.Delimiter);
    }
    TCanvas::AllowDirectPixels = true;
    return Image;
}

// The fast drawing must give the plain drawing's pixels, everywhere.
TEST(DirectDrawingTest, SamePixelsAsThePainter)
{
    std::mt19937 Random(8);
    std::uniform_int_distribution<int> Digit(0, 9), Module(1, 12), Extra(0, 3), Coin(0, 1);
    const TColor Colours[] = {clWhite, clBlack, clCream, clBlue, clInfoBk, clRed, clWindowText};
    std::uniform_int_distribution<std::size_t> Colour(0, std::size(Colours) - 1);
    for (int Round = 0; Round < 160; ++Round) {
        std::string Body;
        for (int I = 0; I < 12; ++I)
            Body += char('0' + Digit(Random));
        const int M = Module(Random);
        TCase C{WEQEan::CompleteGTIN(Body), 113 * M + Round % 113, Round % 3 ? 79 * M : Round % 200,
                Extra(Random), Round % 7 != 0, Coin(Random) == 1, Colours[Colour(Random)], Colours[Colour(Random)],
                Colours[Colour(Random)]};
        if (Round % 11 == 0)
            C.Gtin[5] = 'x'; // the failure path too
        const QImage Fast = Render(C, true), Plain = Render(C, false);
        if (Fast != Plain) {
            int N = 0;
            for (int Y = 0; Y < Fast.height(); ++Y)
                for (int X = 0; X < Fast.width(); ++X)
                    if (Fast.pixel(X, Y) != Plain.pixel(X, Y) && N++ < 10)
                        printf("diff %d,%d fast %08x plain %08x\n", X, Y, Fast.pixel(X, Y), Plain.pixel(X, Y));
            printf("total %d of %dx%d\n", N, Fast.width(), Fast.height());
        }
        ASSERT_EQ(Fast, Plain) << "round " << Round << ": " << C.Gtin << " at m = " << M << ", extra " << C.Extra
                               << ", fill " << C.Fill;
    }
}

TEST(DirectDrawingTest, AControlRepaintGivesThePaintersPixels)
{
    QWidget Window;
    Window.resize(700, 500);
    auto* Control = new TWEQBarCode(&Window);
    Control->move(7, 5);
    Control->SetTransparent(false);
    Control->resize(565, 400);
    Window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    for (const char* Gtin : {"4006381333931", "9780201379624", "0000000123457"}) {
        Control->SetGTIN(Gtin);
        const QImage Fast = Window.grab().toImage();
        TCanvas::AllowDirectPixels = false;
        const QImage Plain = Window.grab().toImage();
        TCanvas::AllowDirectPixels = true;
        ASSERT_EQ(Fast, Plain) << Gtin;
    }
}

} // namespace
