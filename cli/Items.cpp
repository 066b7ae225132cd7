// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "Items.h"

#include "Text.h"


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

std::string BadByteReason(const std::string& Text, std::size_t Position)
{
    const char C = Text[Position - 1];
    const bool Control = static_cast<unsigned char>(C) < 0x20 || C == 0x7F;
    return "byte " + std::to_string(Position) + " is " + Escape(std::string(1, C)) +
           (Control ? ", a control character" : ", not printable UTF-8") +
           (C == '\r' ? " (lines end in LF or CR LF)" : "") + ": " + QuoteAround(Text, Position);
}

void Reject(TItem& Item, std::string Reason)
{
    Item.Reading = {};
    Item.Rejected = std::move(Reason);
    Item.Fields.clear();
    Item.Columns.reset();
}

// A field from At: quoted ("" for a quote inside) or up to one of Ends;
// false for a quote without its end.
bool ReadField(const std::string& T, std::size_t& At, const char* Ends, std::string& Field)
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
    const std::size_t End = std::min(T.find_first_of(Ends, At), T.size());
    Field.assign(T, At, End - At);
    At = End;
    return true;
}

void SkipBlanks(const std::string& T, std::size_t& At)
{
    while (At < T.size() && Blank(T[At]))
        ++At;
}

bool AddOnDigits(const std::string& AddOn) { return Digits(AddOn, 2) || Digits(AddOn, 5); }

} // namespace

WEQEan::TEanReading SampleReading(WEQEan::TSymbology Symbology, std::size_t AddOnDigits, bool Line)
{
    WEQEan::TReadOptions O;
    O.AddOn = std::string(AddOnDigits, '0');
    if (Line && Symbology == WEQEan::TSymbology::Ean13)
        return WEQEan::Read(WEQEan::TKind::Isbn, "9780000000002", O);
    O.Complete = true;
    return WEQEan::Read(WEQEan::KindOf(Symbology), "0", O);
}

bool SplitItem(const std::string& Text, std::string& Gtin, std::string& AddOn, bool& Guessed, std::string& Reason)
{
    const std::string T = Trim(Text);
    AddOn.clear();
    Guessed = false;
    const bool Quoted = !T.empty() && T[0] == '"';
    // A field apart by spaces alone: a last field of an add-on's digits may
    // be one; a GTIN's own spaces (a book's number, digits as printed) stay.
    if (!Quoted && T.find_first_of(",+\t\"") == std::string::npos) {
        const std::size_t Last = T.find_last_of(' ');
        Gtin = T;
        if (Last != std::string::npos && AddOnDigits(T.substr(Last + 1))) {
            Gtin = Trim(T.substr(0, Last));
            AddOn = T.substr(Last + 1);
            Guessed = true;
        }
        return true;
    }
    std::size_t At = 0;
    if (!ReadField(T, At, ",+\t", Gtin)) {
        Reason = Quote(T) + ": a quote without its end";
        return false;
    }
    if (!Quoted)
        Gtin = Trim(Gtin);
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
    if (!ReadField(T, At, ",+ \t", AddOn)) {
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
    const std::string T = Trim(Text);
    std::string Gtin, AddOn, Reason;
    bool Guessed = false;
    if (!SplitItem(T, Gtin, AddOn, Guessed, Reason)) {
        Reject(Item, Reason);
        return;
    }
    WEQEan::TReadOptions Options = Reading.Options;
    if (!AddOn.empty())
        Options.AddOn = AddOn;
    WEQEan::TEanReading R = WEQEan::Read(Reading.Kind, Gtin, Options);
    // A last field that only looked like an add-on: the whole may be the
    // number as printed ("9638 5081 12" is no EAN-8 and 12, but
    // "4 006381 333931" is one GTIN).
    if (!R.Valid() && Guessed)
        if (WEQEan::TEanReading Whole = WEQEan::Read(Reading.Kind, T, Reading.Options); Whole.Valid())
            R = std::move(Whole);
    if (!R.Valid()) {
        // A GTIN and fields after it that make no add-on: they are the fault.
        const std::size_t Space = Gtin.find(' ');
        if (!Guessed && Space != std::string::npos &&
            WEQEan::Read(Reading.Kind, Gtin.substr(0, Space), Reading.Options).Valid()) {
            const std::string Rest = Trim(Gtin.substr(Space + 1));
            const std::size_t Next = Rest.find(' ');
            Reject(Item, Quote(T) + ": " +
                             (Next != std::string::npos && AddOnDigits(Rest.substr(0, Next))
                                  ? Quote(Trim(Rest.substr(Next + 1))) + " after the add-on"
                                  : Quote(Rest) + " is not an add-on of 2 or 5 digits"));
            return;
        }
        Reject(Item, Quote(T) + ": " + Escape(R.Error));
        return;
    }
    Item.Reading = std::move(R);
    Item.Rejected.clear();
    Item.Fields.clear();
    Item.Columns.reset();
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
        if (Line.TooLong)
            Reject(Item, "a line longer than " + std::to_string(MaxLineLength) + " characters");
        else if (Line.BadByte)
            Reject(Item, BadByteReason(Line.Text, Line.BadByte));
        else
            ReadItem(Line.Text, Reading, Item);
        return true;
    }
    return false;
}

void ArgumentItem(const std::string& Text, std::size_t Position, const TReading& Reading, TItem& Item)
{
    Item.Input = 0;
    Item.Line = Position;
    // The position a bad byte is named by counts in the argument as given.
    if (const std::size_t Bad = FirstUnprintable(Text))
        Reject(Item, BadByteReason(Text, Bad));
    else
        ReadItem(Text, Reading, Item);
}

} // namespace WEQCli
