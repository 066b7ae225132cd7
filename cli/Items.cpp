#include "Items.h"

#include <WEQBarCode/ean/WEQEan.h>
#include <WEQBarCode/ean/WEQEanFamily.h>

#include <cctype>
#include <cstring>

namespace WEQCli {

namespace {

std::string Trim(const std::string& S)
{
    std::size_t B = 0, E = S.size();
    while (B < E && std::isspace(static_cast<unsigned char>(S[B])))
        ++B;
    while (E > B && std::isspace(static_cast<unsigned char>(S[E - 1])))
        --E;
    return S.substr(B, E - B);
}

// Text for a message: control characters shown as '?', long text cut.
std::string Quote(const std::string& Text)
{
    std::string Out = "'";
    for (std::size_t I = 0; I < Text.size() && I < 40; ++I)
        Out += std::iscntrl(static_cast<unsigned char>(Text[I])) ? '?' : Text[I];
    if (Text.size() > 40)
        Out += "...";
    return Out + "'";
}

void Add(std::vector<TItem>& Items, const std::string& Source, std::size_t Line, const std::string& Text,
         const TReading& Reading)
{
    TItem Item;
    Item.Source = Source;
    Item.Line = Line;
    Item.Number = Items.size() + 1;
    CheckItem(Text, Reading, Item);
    Items.push_back(std::move(Item));
}

} // namespace

bool CheckGtin(const std::string& Text, bool Complete, std::string& Gtin, std::string& Reason)
{
    Gtin.clear();
    Reason.clear();
    if (Complete) {
        Gtin = WEQEan::CompleteGTIN(Text);
        return true;
    }
    if (Text.empty()) {
        Reason = "no GTIN";
        return false;
    }
    for (const char Ch : Text)
        if (Ch < '0' || Ch > '9') {
            Reason = Quote(Text) + " is not a GTIN: " + Quote(std::string(1, Ch)) + " is not a digit";
            return false;
        }
    if (Text.size() != 12 && Text.size() != 13) {
        Reason = Quote(Text) + " has " + std::to_string(Text.size()) + (Text.size() == 1 ? " digit" : " digits") +
                 "; a GTIN has 12, or 13 with its check digit";
        return false;
    }
    const std::string Full = WEQEan::CompleteGTIN(Text);
    if (Text.size() == 13 && Full != Text) {
        Reason = "wrong check digit " + Text.substr(12) + " in " + Text + ": " + Text.substr(0, 12) +
                 " ends in " + Full.substr(12);
        return false;
    }
    Gtin = Full;
    return true;
}

bool CheckItem(const std::string& Text, const TReading& Reading, TItem& Item)
{
    Item.AddOn = Reading.AddOn;
    if (Reading.Symbology == WEQEan::TSymbology::Ean13) {
        Item.Symbology = WEQEan::TSymbology::Ean13;
        return CheckGtin(Text, Reading.Complete, Item.Gtin, Item.Rejected);
    }
    WEQEan::TEanReading R;
    if (!Reading.Symbology) {
        R = WEQEan::ReadGtin(Text, Reading.AddOn);
        // Completion takes what no GTIN holds as EAN-13, as the control would.
        if (!R.Valid() && Reading.Complete)
            R = WEQEan::CompleteSymbol(WEQEan::TSymbology::Ean13, Text, Reading.AddOn);
    } else {
        R = Reading.Complete ? WEQEan::CompleteSymbol(*Reading.Symbology, Text, Reading.AddOn)
                             : WEQEan::ReadSymbol(*Reading.Symbology, Text, Reading.AddOn);
    }
    Item.Gtin.clear();
    Item.Rejected.clear();
    if (!R.Valid()) {
        Item.Rejected = Quote(Text) + ": " + R.Error;
        return false;
    }
    Item.Symbology = R.Symbology;
    Item.Gtin = R.Data;
    Item.AddOn = R.AddOn;
    return true;
}

std::string FirstField(const std::string& Line)
{
    const std::string T = Trim(Line);
    if (T.empty() || T[0] != '"')
        return Trim(T.substr(0, T.find(',')));
    std::string Field;
    for (std::size_t I = 1; I < T.size(); ++I) {
        if (T[I] != '"') {
            Field += T[I];
        } else if (I + 1 < T.size() && T[I + 1] == '"') {
            Field += '"';
            ++I;
        } else {
            break;
        }
    }
    return Trim(Field);
}

void ReadItems(std::FILE* In, const std::string& Source, const TReading& Reading, std::vector<TItem>& Items)
{
    std::string Line;
    std::size_t LineNumber = 0;
    bool TooLong = false;
    char Buffer[1024];
    const auto Finish = [&] {
        ++LineNumber;
        if (TooLong) {
            TItem Item;
            Item.Source = Source;
            Item.Line = LineNumber;
            Item.Number = Items.size() + 1;
            Item.Rejected = "a line longer than " + std::to_string(MaxLineLength) + " characters";
            Items.push_back(std::move(Item));
        } else {
            const std::string T = Trim(Line);
            if (!T.empty() && T[0] != '#')
                Add(Items, Source, LineNumber, FirstField(T), Reading);
        }
        Line.clear();
        TooLong = false;
    };
    bool Pending = false;
    while (std::fgets(Buffer, sizeof Buffer, In)) {
        // fgets stops at a newline; a NUL inside the line ends what we see of it.
        const std::size_t N = std::strlen(Buffer);
        const bool Ends = N > 0 && Buffer[N - 1] == '\n';
        if (!TooLong) {
            Line.append(Buffer, Ends ? N - 1 : N);
            if (Line.size() > MaxLineLength) {
                TooLong = true;
                Line.clear();
            }
        }
        Pending = true;
        if (Ends) {
            Finish();
            Pending = false;
        }
    }
    if (Pending)
        Finish();
}

void AddArgument(const std::string& Text, std::size_t Position, const TReading& Reading, std::vector<TItem>& Items)
{
    Add(Items, "<arguments>", Position, Trim(Text), Reading);
}

} // namespace WEQCli
