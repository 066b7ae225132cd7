// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// Random symbols of the whole family drawn the way applications draw them:
// EAN-13 without an add-on through DrawEan13 (GTINs it cannot draw among
// them), everything else through DrawSymbol. Shared by the tests that compare
// one way of drawing with another.

#include "ean/Core_p.h"
#include "ean/WEQEan.h"
#include "ean/WEQEanFamily.h"

#include <QImage>

#include <random>
#include <string>
#include <vector>

struct TSymbolCase {
    WEQEan::TEanReading Reading;
    std::string Text; // DrawEan13's GTIN, for EAN-13 without an add-on
    std::int32_t Width, Height, Extra; // Extra: the image beyond the symbol
    bool Fill, Marks;
    TColor Background, Bars, Digits;

    std::string Name() const
    {
        return (Text.empty() ? Reading.Title() : "DrawEan13 " + Text) + (Reading.Line.empty() ? "" : " with a line") +
               " in " + std::to_string(Width) + " x " +
               std::to_string(Height) + (Fill ? "" : ", not filled") + (Marks ? ", marks" : "");
    }
};

inline std::vector<TSymbolCase> RandomSymbolCases(int Count, unsigned Seed, int MaxModuleWidth)
{
    using namespace WEQEan;
    std::mt19937 Random(Seed);
    std::uniform_int_distribution<int> Digit(0, 9), Module(1, MaxModuleWidth), Extra(0, 3), Coin(0, 1);
    const TColor Colours[] = {clWhite, clBlack, clCream, clNavy, clInfoBk, clRed, clWindowText, 0x336699};
    std::uniform_int_distribution<std::size_t> Colour(0, std::size(Colours) - 1);
    const TSymbology All[] = {TSymbology::Ean13, TSymbology::Ean8, TSymbology::UpcA, TSymbology::UpcE};
    std::vector<TSymbolCase> Cases;
    for (int I = 0; I < Count; ++I) {
        const TSymbology S = All[I % 4];
        const std::size_t AddOnDigits = std::size_t(I / 4 % 3) * 5 / 2; // 0, 2, 5
        std::string Body, AddOn;
        for (int D = 0; D < 12; ++D)
            Body += char('0' + Digit(Random));
        for (std::size_t D = 0; D < AddOnDigits; ++D)
            AddOn += char('0' + Digit(Random));
        TSymbolCase C;
        C.Reading = CompleteSymbol(S, S == TSymbology::UpcE ? Body.substr(0, 7) : Body, AddOn);
        // A third of the EAN-13s with a book's number line above the bars.
        const bool Line = S == TSymbology::Ean13 && I % 3 == 1;
        if (Line)
            C.Reading.Line = "ISBN " + C.Reading.Data.substr(0, 3) + "-" + C.Reading.Data.substr(3);
        if (S == TSymbology::Ean13 && AddOn.empty() && !Line) {
            C.Text = C.Reading.Data;
            if (I % 11 == 0)
                C.Text[5] = 'x'; // the failure path too
        }
        const int M = Module(Random);
        C.Width = SymbolModules(S, AddOnDigits) * M + I % 7;
        C.Height = I % 3 ? RatioHeightModules(S) * M : 20 * M + I;
        C.Extra = Extra(Random);
        C.Fill = I % 7 != 0;
        C.Marks = Coin(Random) == 1;
        C.Background = Colours[Colour(Random)];
        C.Bars = Colours[Colour(Random)];
        C.Digits = Colours[Colour(Random)];
        Cases.push_back(C);
    }
    return Cases;
}

// The case drawn on an image that starts green, so that what the drawing
// leaves alone shows; null where the drawing reports a failure.
inline QImage DrawCase(const TSymbolCase& C)
{
    const std::int32_t M = std::max(1, C.Width / WEQEan::SymbolModules(C.Reading.Symbology, C.Reading.AddOn.size()));
    QImage Image(C.Width + C.Extra, std::max(C.Height, 18 * M) + WEQEan::LineBandHeight(C.Reading, M) + C.Extra,
                 QImage::Format_RGB32);
    Image.fill(QColor(90, 160, 30));
    TCanvas Canvas(&Image);
    const bool Drawn = C.Text.empty() ? WEQEan::DrawSymbol(C.Reading, Canvas, C.Width, C.Height, C.Background, C.Bars,
                                                           C.Digits, C.Fill, C.Marks)
                                      : WEQEan::DrawEan13(C.Text, Canvas, C.Width, C.Height, C.Background, C.Bars,
                                                          C.Digits, C.Fill, C.Marks);
    return Drawn || C.Text.find('x') != std::string::npos ? Image : QImage();
}
