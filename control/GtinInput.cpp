#include "control/GtinInput_p.h"

#include "ean/WEQEan.h"
#include "ean/WEQEanFamily.h"

#include <QList>

#include <algorithm>

namespace WEQ {

std::string GtinPositions(const QString& Text)
{
    // 26 UTF-16 units hold at least 13 characters, so megabytes of pasted
    // text cost no more than a GTIN.
    std::string Out;
    for (char32_t Ch : Text.left(26).toUcs4()) {
        if (Out.size() == 13)
            break;
        Out += (Ch >= U'0' && Ch <= U'9') ? char(Ch) : '?';
    }
    return Out;
}

QString CompletedGtin(const QString& Text)
{
    return QString::fromLatin1(WEQEan::CompleteGTIN(GtinPositions(Text)));
}

bool IsWholeGtin(const QString& Text)
{
    // A GTIN has at most 13 characters; longer text needs no conversion to be refused.
    if (Text.size() > 13)
        return false;
    const std::string Positions = GtinPositions(Text);
    if (!std::all_of(Positions.begin(), Positions.end(), [](char Ch) { return Ch != '?'; }))
        return false;
    return Positions.size() == 12 || (Positions.size() == 13 && WEQEan::CompleteGTIN(Positions) == Positions);
}

TSymbolInput ReadSymbolInput(WEQEan::TSymbology Symbology, const QString& Text, const QString& AddOn)
{
    const std::string Positions = GtinPositions(Text), AddOnPositions = GtinPositions(AddOn);
    const WEQEan::TEanReading Completed = WEQEan::CompleteSymbol(Symbology, Positions, AddOnPositions);
    TSymbolInput Input;
    if (Completed.Valid()) {
        Input.Digits = Completed.Data;
        Input.AddOn = Completed.AddOn;
    }
    // Text longer than any symbol's digits is no whole number of them.
    Input.Valid = Text.size() <= 13 && AddOn.size() <= 5 &&
                  WEQEan::ReadSymbol(Symbology, Positions, AddOnPositions).Valid();
    return Input;
}

} // namespace WEQ
