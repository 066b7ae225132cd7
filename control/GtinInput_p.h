#pragma once

// Written text as the controls read it: shared by TWEQBarCode, BarcodeWidget
// and the QML item, so that all three complete and judge text alike.

#include "ean/WEQEanSymbol.h"

#include <QString>

#include <string>

namespace WEQ {

// The first 13 positions of the text (the completion reads 12). One character
// is one position whatever its encoding; anything that is not an ASCII digit
// only has to stay a non-digit for the completion.
std::string GtinPositions(const QString& Text);
// The GTIN that CompleteGTIN makes of the text.
QString CompletedGtin(const QString& Text);
// True when the text already is a GTIN: 12 ASCII digits, or 13 whose last one
// is their check digit. Anything else would print another number than typed.
bool IsWholeGtin(const QString& Text);

// What a control draws for a text and an add-on in a symbology: the digits
// completed as CompleteSymbol completes them (none where it cannot, such as a
// UPC-A without a zero-suppressed form for UPC-E), the add-on, and whether the
// text already was what the strict reading takes.
struct TSymbolInput {
    std::string Digits, AddOn;
    bool Valid = false;
};
TSymbolInput ReadSymbolInput(WEQEan::TSymbology Symbology, const QString& Text, const QString& AddOn);

} // namespace WEQ
