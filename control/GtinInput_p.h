#pragma once

// Written text as the controls read it: shared by TWEQBarCode, BarcodeWidget
// and the QML item, so that all three complete and judge text alike.

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

} // namespace WEQ
