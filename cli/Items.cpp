// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "Items.h"

#include "Text.h"

#include <WEQBarCode/ean/WEQEan.h>
#include <WEQBarCode/ean/WEQEanFamily.h>

#include <algorithm>

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

namespace {

// The item of a GTIN's text with the add-on it is to carry (empty: none).
bool CheckWith(const std::string& Text, const TReading& Reading, const std::string& AddOn, TItem& Item)
{
    Item.AddOn = AddOn;
    Item.Gtin.clear();
    Item.Rejected.clear();
    Item.NumberLine.clear();
    if (const std::size_t Bad = BadByte(Text)) {
        Item.Rejected = BadByteReason(Text, Bad);
        return false;
    }
    const WEQEan::TBookKind Book = Reading.Symbology ? Reading.Book : WEQEan::BookKindOf(Text);
    if (Reading.Symbology == WEQEan::TSymbology::Ean13 && Book == WEQEan::TBookKind::None) {
        Item.Symbology = WEQEan::TSymbology::Ean13;
        return CheckGtin(Text, Reading.Complete, Item.Gtin, Item.Rejected);
    }
    WEQEan::TEanReading R;
    if (Book != WEQEan::TBookKind::None) {
        R = WEQEan::ReadBook(Book, Text, Reading.IssnVariant, AddOn);
    } else if (!Reading.Symbology) {
        R = WEQEan::ReadGtin(Text, AddOn);
        // Completion takes what no GTIN holds as EAN-13, as the control would.
        if (!R.Valid() && Reading.Complete)
            R = WEQEan::CompleteSymbol(WEQEan::TSymbology::Ean13, Text, AddOn);
    } else {
        R = Reading.Complete ? WEQEan::CompleteSymbol(*Reading.Symbology, Text, AddOn)
                             : WEQEan::ReadSymbol(*Reading.Symbology, Text, AddOn);
    }
    if (!R.Valid()) {
        Item.Rejected = Quote(Text) + ": " + Escape(R.Error);
        return false;
    }
    Item.Symbology = R.Symbology;
    Item.Gtin = R.Data;
    Item.AddOn = R.AddOn;
    Item.NumberLine = R.Line;
    return true;
}

// The length of a label ("ISBN", "ISSN:", "ISBN-13") that a book's number
// may stand apart from, at the start of T; 0 for none.
std::size_t BookLabel(const std::string& T)
{
    if (T.size() < 4)
        return 0;
    std::string Head = T.substr(0, 4);
    for (char& C : Head)
        C = char(C >= 'a' && C <= 'z' ? C - 'a' + 'A' : C);
    if (Head != "ISBN" && Head != "ISMN" && Head != "ISSN")
        return 0;
    std::size_t End = 4;
    if (T.compare(End, 3, "-10") == 0 || T.compare(End, 3, "-13") == 0)
        End += 3;
    if (End < T.size() && T[End] == ':')
        ++End;
    return End < T.size() && Blank(T[End]) ? End : 0;
}

// A field from At: quoted ("" for a quote inside) or up to a separator;
// false for a quote without its end.
bool ReadField(const std::string& T, std::size_t& At, std::string& Field)
{
    Field.clear();
    if (At < T.size() && T[At] == '"') {
        for (++At; At < T.size(); ++At) {
            if (T[At] != '"') {
                Field += T[At];
            } else if (At + 1 < T.size() && T[At + 1] == '"') {
                Field += '"';
                ++At;
            } else {
                ++At;
                return true;
            }
        }
        return false;
    }
    const std::size_t End = std::min(T.find_first_of(",+ \t", At), T.size());
    Field.assign(T, At, End - At);
    At = End;
    return true;
}

void SkipBlanks(const std::string& T, std::size_t& At)
{
    while (At < T.size() && Blank(T[At]))
        ++At;
}

bool AddOnDigits(const std::string& AddOn)
{
    return Digits(AddOn, 2) || Digits(AddOn, 5);
}

} // namespace

bool CheckItem(const std::string& Text, const TReading& Reading, TItem& Item)
{
    return CheckWith(Text, Reading, Reading.AddOn, Item);
}

bool SplitItem(const std::string& Text, std::string& Gtin, std::string& AddOn, std::string& Reason)
{
    const std::string T = Trim(Text);
    AddOn.clear();
    std::size_t At = 0;
    if (!ReadField(T, At, Gtin)) {
        Reason = Quote(T) + ": a quote without its end";
        return false;
    }
    const std::size_t GtinEnd = At;
    SkipBlanks(T, At);
    if (At == T.size())
        return true;
    const char Separator = T[At] == ',' || T[At] == '+' ? T[At] : ' ';
    if (Separator == ' ' && At == GtinEnd) {
        Reason = Quote(T) + ": " + Quote(T.substr(At)) + " right after the quoted GTIN";
        return false;
    }
    if (Separator != ' ') {
        ++At;
        SkipBlanks(T, At);
    }
    if (!ReadField(T, At, AddOn)) {
        Reason = Quote(T) + ": a quote without its end";
        return false;
    }
    if (AddOn.empty() && Separator == '+') {
        Reason = Quote(T) + ": '+' without an add-on";
        return false;
    }
    SkipBlanks(T, At);
    if (At < T.size()) {
        Reason = Quote(T) + (T[At] == ',' ? ": a third field" : ": " + Quote(T.substr(At)) + " after the add-on");
        return false;
    }
    return true;
}

void ReadItem(const std::string& Text, const TReading& Reading, TItem& Item)
{
    std::string Gtin, AddOn;
    // A book's label before its number is part of the number's field.
    const std::string T = Trim(Text);
    const std::size_t Label = !Reading.Symbology || Reading.Book != WEQEan::TBookKind::None ? BookLabel(T) : 0;
    if (!SplitItem(T.substr(Label), Gtin, AddOn, Item.Rejected)) {
        Item.Gtin.clear();
        Item.AddOn.clear();
        Item.NumberLine.clear();
        return;
    }
    if (Label)
        Gtin = T.substr(0, Label) + " " + Gtin;
    if (AddOn.empty() || AddOnDigits(AddOn)) {
        CheckWith(Gtin, Reading, AddOn.empty() ? Reading.AddOn : AddOn, Item);
        return;
    }
    // What is wrong with the GTIN comes first, as on a line without an add-on.
    if (!CheckWith(Gtin, Reading, {}, Item))
        return;
    Item.Gtin.clear();
    Item.AddOn.clear();
    Item.NumberLine.clear();
    Item.Rejected = Quote(Trim(Text)) + ": " + Quote(AddOn) + " is not an add-on of 2 or 5 digits";
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
            ReadItem(Line.Text, Reading, Item);
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
    ReadItem(Text, Reading, Item);
}

} // namespace WEQCli
