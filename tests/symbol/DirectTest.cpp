// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// The warm path writes a symbol's rows and copies its characters straight
// into the image; it must give the painter's pixels, everywhere.
#include "control/WEQBarCode.h"
#include "surface/Canvas_p.h"
#include "symbol/SymbolCases.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

struct TDirectGuard {
    ~TDirectGuard() { TFastPaths::DirectPixels = true; }
};

QImage Render(const TSymbolCase& C, bool Direct)
{
    const TDirectGuard Guard;
    TFastPaths::DirectPixels = Direct;
    return DrawCase(C);
}

TEST(DirectDrawingTest, SamePixelsAsThePainter)
{
    std::vector<TSymbolCase> Cases = RandomSymbolCases(120, 8, 12);
    // A third again on filled images exactly the symbol's width, whose rows
    // follow each other in memory.
    for (std::size_t I = 0; I < 40; ++I) {
        TSymbolCase C = Cases[I];
        const std::int32_t Modules = WEQEan::SymbolModules(C.Reading.Symbology, C.Reading.AddOn.size());
        C.Width -= C.Width % Modules;
        C.Extra = 0;
        C.Fill = true;
        Cases.push_back(C);
    }
    for (std::size_t I = 0; I < Cases.size(); ++I) {
        const QImage Fast = Render(Cases[I], true), Plain = Render(Cases[I], false);
        ASSERT_FALSE(Plain.isNull()) << Cases[I].Name();
        ASSERT_EQ(Fast, Plain) << "case " << I << ": " << Cases[I].Name();
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
        const TDirectGuard Guard;
        TFastPaths::DirectPixels = false;
        const QImage Plain = Window.grab().toImage();
        ASSERT_EQ(Fast, Plain) << Gtin;
    }
}

} // namespace
