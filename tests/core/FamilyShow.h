// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// A symbol of the family shown as text, for golden tables and for comparing
// with other encoders: its modules, and its characters with their boxes.

#include "ean/WEQEanSymbol.h"

#include <sstream>
#include <string>

inline constexpr WEQEan::TSymbology Ean13 = WEQEan::TSymbology::Ean13, Ean8 = WEQEan::TSymbology::Ean8,
                                    UpcA = WEQEan::TSymbology::UpcA, UpcE = WEQEan::TSymbology::UpcE;

// One character per module, quiet zones included: '.' a space, '|' a bar
// that ends with the digits' bars, '!' one that runs on to the guards' end,
// ':' one that starts lower (an add-on's).
inline std::string ShowModules(const WEQEan::TSymbol& S)
{
    std::string Out(std::size_t(S.Modules), '.');
    for (const WEQEan::TSymbolElement& E : S.Elements) {
        if (E.Kind != WEQEan::TSymbolElement::Bar)
            continue;
        const char Kind = E.Top != S.BarTop ? ':' : E.Top + E.Height == S.GuardBarHeight ? '!' : '|';
        for (std::int32_t K = 0; K < E.Modules; ++K)
            Out[std::size_t(E.StartModule - 1 + K)] = Kind;
    }
    return Out;
}

// The modules as 0 and 1 from the first bar to the last.
inline std::string BarBits(const WEQEan::TSymbol& S)
{
    std::string Out;
    for (char Ch : ShowModules(S))
        Out += Ch == '.' ? '0' : '1';
    const std::size_t First = Out.find('1'), Last = Out.rfind('1');
    return First == std::string::npos ? std::string() : Out.substr(First, Last - First + 1);
}

// Each character as "c start/width row L|C|R" in modules, the row its box's
// top in pixels; boxes that are not whole modules show their pixels.
inline std::string ShowText(const WEQEan::TSymbol& S)
{
    std::ostringstream Out;
    const std::int32_t M = S.ModuleWidth;
    for (const WEQEan::TSymbolElement& E : S.Elements) {
        if (E.Kind != WEQEan::TSymbolElement::Text)
            continue;
        Out << E.Ch << " " << E.Left / M + 1 << "/" << E.Width / M << " " << E.Top << "+" << E.Height << " "
            << "LCR"[E.Alignment] << "\n";
    }
    return Out.str();
}
