#include "Items.h"

#include "Text.h"

#include <WEQBarCode/ean/WEQEan.h>
#include <WEQBarCode/ean/WEQEanFamily.h>

namespace WEQCli {

namespace {

bool Blank(char C) { return C == ' ' || C == '\t'; }

std::string Trim(const std::string& S)
{
    std::size_t B = 0, E = S.size();
    while (B < E && Blank(S[B]))
        ++B;
    while (E > B && Blank(S[E - 1]))
        --E;
    return S.substr(B, E - B);
}

// The first byte that is neither printable ASCII nor a tab, 1-based; 0 for none.
std::size_t BadByte(const std::string& Text)
{
    for (std::size_t I = 0; I < Text.size(); ++I)
        if (!Printable(static_cast<unsigned char>(Text[I])) && Text[I] != '\t')
            return I + 1;
    return 0;
}

std::string BadByteReason(const std::string& Text, std::size_t Position)
{
    const char C = Text[Position - 1];
    return "byte " + std::to_string(Position) + " is " + Escape(std::string(1, C)) + ", not printable ASCII" +
           (C == '\r' ? " (lines end in LF or CR LF)" : "") + ": " + QuoteAround(Text, Position);
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
    Item.Gtin.clear();
    Item.Rejected.clear();
    if (const std::size_t Bad = BadByte(Text)) {
        Item.Rejected = BadByteReason(Text, Bad);
        return false;
    }
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
    if (!R.Valid()) {
        Item.Rejected = Quote(Text) + ": " + Escape(R.Error);
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

TItemReader::TItemReader(TLineReader::TRead Read, const TReading& Reading, std::uint32_t Input)
    : Lines(std::move(Read)), Reading(Reading), Input(Input)
{
}

std::string TItemReader::Refusal()
{
    const std::string& Encoding = Lines.Encoding();
    return Encoding.empty() ? std::string() : "the input is " + Encoding + "; save it as UTF-8 or ASCII";
}

bool TItemReader::NextItemLine()
{
    while (Lines.Next(Line)) {
        std::size_t First = 0;
        while (First < Line.Text.size() && Blank(Line.Text[First]))
            ++First;
        // Blank lines and comments, whatever their bytes, are no items.
        if (Line.TooLong || (First < Line.Text.size() && Line.Text[First] != '#'))
            return true;
    }
    return false;
}

std::size_t TItemReader::CountRest()
{
    std::size_t Count = 0;
    while (NextItemLine())
        ++Count;
    return Count;
}

bool TItemReader::Next(TItem& Item)
{
    if (NextItemLine()) {
        Item.Input = Input;
        Item.Line = Line.Number;
        if (Line.TooLong) {
            Item.Gtin.clear();
            Item.Rejected = "a line longer than " + std::to_string(MaxLineLength) + " characters";
        } else if (Line.BadByte) {
            Item.Gtin.clear();
            Item.Rejected = BadByteReason(Line.Text, Line.BadByte);
        } else {
            CheckItem(FirstField(Line.Text), Reading, Item);
        }
        return true;
    }
    return false;
}

void ArgumentItem(const std::string& Text, std::size_t Position, const TReading& Reading, TItem& Item)
{
    Item.Input = 0;
    Item.Line = Position;
    // The position a bad byte is named by counts in the argument as given.
    if (const std::size_t Bad = BadByte(Text)) {
        Item.Gtin.clear();
        Item.Rejected = BadByteReason(Text, Bad);
        return;
    }
    CheckItem(Trim(Text), Reading, Item);
}

} // namespace WEQCli
