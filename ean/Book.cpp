// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// ISBN, ISMN and ISSN read into EAN-13: one scanner for the label, the
// separators and each digit's position in the text, then each number's
// rules, and the hyphenation by the compiled ranges.

#include "ean/Core_p.h"
#include "ean/IsbnRangeData.h"
#include "ean/WEQEanBook.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

namespace WEQEan {

namespace {

// Longer than any labelled, spaced form; bounds every buffer below.
constexpr std::size_t MaxText = 64;

TEanReading Refused(std::size_t Position, std::string Error, bool InAddOn = false)
{
    TEanReading R;
    R.Error = std::move(Error);
    R.ErrorPosition = std::int32_t(Position);
    R.ErrorInAddOn = InAddOn;
    return R;
}

const char* KindName(TBookKind Kind)
{
    switch (Kind) {
    case TBookKind::Isbn: return "ISBN";
    case TBookKind::Ismn: return "ISMN";
    case TBookKind::Issn: return "ISSN";
    case TBookKind::None: break;
    }
    return "";
}

char Upper(char Ch) { return Ch >= 'a' && Ch <= 'z' ? char(Ch - 'a' + 'A') : Ch; }

// A text as the scanner leaves it: its label, its digits (an X upper-cased)
// with their positions, and how its separators group them.
struct TScan {
    TBookKind Label = TBookKind::None;
    std::size_t LabelPosition = 0;
    std::size_t LabelDigits = 0; // 13 or 10 for "ISBN-13" or "ISBN-10"
    std::size_t MPosition = 0;   // of an old ISMN's leading M
    std::string Digits;
    std::vector<std::size_t> Positions; // 1-based, in the text as given
    std::vector<std::size_t> Groups;    // digits between separators
    std::vector<std::size_t> Separators;
    std::string Error;
    std::size_t ErrorPosition = 0;

    TScan& Fail(std::size_t P, std::string Why)
    {
        Error = std::move(Why);
        ErrorPosition = P;
        return *this;
    }
};

bool IsSeparator(char Ch) { return Ch == '-' || Ch == ' '; }

// Takes "ISBN", "ISBN-13", "ISBN-10", "ISMN" or "ISSN", any case, then an
// optional colon and spaces, from Text at I.
void ScanLabel(std::string_view Text, std::size_t& I, std::size_t End, TScan& S)
{
    static constexpr std::array<TBookKind, 3> Kinds{TBookKind::Isbn, TBookKind::Ismn, TBookKind::Issn};
    for (const TBookKind Kind : Kinds) {
        const std::string_view Name = KindName(Kind);
        if (End - I < Name.size() ||
            !std::equal(Name.begin(), Name.end(), Text.begin() + std::ptrdiff_t(I),
                        [](char N, char T) { return N == Upper(T); }))
            continue;
        S.Label = Kind;
        S.LabelPosition = I + 1;
        I += Name.size();
        const std::string_view Rest = Text.substr(I, End - I);
        const bool Suffix = Rest.size() >= 3 && (Rest.substr(0, 3) == "-13" || Rest.substr(0, 3) == "-10") &&
                            (Rest.size() == 3 || Rest[3] == ':' || Rest[3] == ' ');
        if (Kind == TBookKind::Isbn && Suffix) {
            S.LabelDigits = Rest[2] == '3' ? 13 : 10;
            I += 3;
        }
        if (I < End && Text[I] == ':')
            ++I;
        while (I < End && Text[I] == ' ')
            ++I;
        return;
    }
}

// Reads the whole text, recording the first fault: the digits after it
// still tell BookKindOf which number the text was meant to be.
TScan Scan(const TText& T)
{
    TScan S;
    const std::string_view Text = T.Chars();
    if (Text.size() > MaxText)
        return S.Fail(0, "the text has " + std::to_string(Text.size()) + " characters; a book number has at most " +
                             std::to_string(MaxText));
    std::size_t I = 0, End = Text.size();
    while (I < End && Text[I] == ' ')
        ++I;
    while (End > I && Text[End - 1] == ' ')
        --End;
    ScanLabel(Text, I, End, S);
    S.Digits.reserve(End - std::min(I, End));
    S.Positions.reserve(End - std::min(I, End));
    const auto Fail = [&S](std::size_t P, std::string Why) {
        if (S.Error.empty())
            S.Fail(P, std::move(Why));
    };
    bool Started = false, AfterSeparator = false;
    for (; I < End; ++I) {
        const char Ch = Text[I];
        const std::size_t P = I + 1;
        if (IsSeparator(Ch)) {
            if (!Started)
                Fail(P, T.Where(P) + ": " + T.Quote(P) + " stands before the first digit");
            else if (AfterSeparator)
                Fail(P, T.Where(P) + ": " + T.Quote(P) + " follows another separator");
            if (!Started || AfterSeparator)
                continue;
            AfterSeparator = true;
            S.Separators.push_back(P);
            S.Groups.push_back(0);
            continue;
        }
        if ((Ch == 'M' || Ch == 'm') && !Started) {
            S.MPosition = P;
            S.Groups.push_back(0);
        } else if (IsDigit(Ch) || Ch == 'X' || Ch == 'x') {
            if (!Started)
                S.Groups.push_back(0);
            S.Digits += Upper(Ch);
            S.Positions.push_back(P);
            ++S.Groups.back();
        } else {
            Fail(P, T.Where(P) + ": " + T.Quote(P) + " is not a digit");
            continue;
        }
        Started = true;
        AfterSeparator = false;
    }
    if (const std::size_t P = AfterSeparator ? S.Separators.back() : 0)
        Fail(P, T.Where(P) + ": " + T.Quote(P) + " stands after the last digit");
    return S;
}

// The first refusal every reader shares: the scanner's, another kind's label,
// an M where no ISMN is read, an X anywhere but last or where none may stand.
bool Refuse(const TScan& S, TBookKind Kind, bool AllowX, const TText& T, TEanReading& Out)
{
    if (!S.Error.empty())
        Out = Refused(S.ErrorPosition, S.Error);
    else if (S.Label != TBookKind::None && S.Label != Kind)
        Out = Refused(S.LabelPosition, PositionText(S.LabelPosition) + ": the text is labelled " +
                                           KindName(S.Label) + ", not " + KindName(Kind));
    else if (S.MPosition && Kind != TBookKind::Ismn)
        Out = Refused(S.MPosition, PositionText(S.MPosition) + ": " + T.Quote(S.MPosition) +
                                       " begins an ISMN, not an " + KindName(Kind));
    else if (const std::size_t X = S.Digits.find('X'); X != std::string::npos) {
        const std::size_t P = S.Positions[X];
        if (!AllowX)
            Out = Refused(P, PositionText(P) + ": " + T.Quote(P) + " is not a digit");
        else if (X + 1 != S.Digits.size())
            Out = Refused(P, PositionText(P) + ": " + T.Quote(P) + " stands only last, as the check character");
        else
            return false;
    } else
        return false;
    return true;
}

// The first digit that differs from Prefix (any of Alternatives at its last
// digit), as a refusal, or none.
bool RefusePrefix(const TScan& S, std::string_view Prefix, std::string_view Alternatives, const char* Rule,
                  TEanReading& Out)
{
    std::size_t I = 0;
    while (I + 1 < Prefix.size() && S.Digits[I] == Prefix[I])
        ++I;
    if (I + 1 == Prefix.size() && (S.Digits[I] == Prefix[I] || Alternatives.find(S.Digits[I]) != std::string::npos))
        return false;
    const std::size_t P = S.Positions[I];
    Out = Refused(P, PositionText(P) + ": " + Rule + ", not " + S.Digits.substr(0, Prefix.size()));
    return true;
}

bool RefuseCheck(const TScan& S, char Check, const char* What, std::string_view Body, TEanReading& Out)
{
    if (S.Digits.back() == Check)
        return false;
    const std::size_t P = S.Positions.back();
    Out = Refused(P, PositionText(P) + ": the " + What + " of " + std::string(Body) + " is " + Check + ", not " +
                         S.Digits.back());
    return true;
}

// Modulus 11 with weights from Digits' length + 1 down to 2; 10 is X. The
// ISBN-10's check character over nine digits, the ISSN's over seven.
char Mod11Check(std::string_view Digits)
{
    std::size_t Sum = 0, Weight = Digits.size() + 1;
    for (const char Ch : Digits)
        Sum += std::size_t(Ch - '0') * Weight--;
    const std::size_t Check = (11 - Sum % 11) % 11;
    return Check == 10 ? 'X' : char('0' + Check);
}

bool HasCheckDigit(std::string_view Digits)
{
    return Digits.size() == 13 && !FirstNonDigit(Digits) && Gs1CheckDigit(Digits.substr(0, 12)) == Digits[12];
}

bool IsIsbnPrefix(std::string_view Digits)
{
    return (Digits.substr(0, 3) == "978" || Digits.substr(0, 3) == "979") && Digits.substr(0, 4) != "9790";
}

// The 13 digits hyphenated by the ranges: prefix, group, registrant,
// publication, check digit; empty where no group or assigned range has them.
std::string Hyphenated(std::string_view Digits)
{
    using namespace BookRanges;
    const TRangeGroup* Group = nullptr;
    std::size_t PrefixLength = 0;
    for (const TRangeGroup& G : RangeGroups) {
        const std::string_view Prefix(G.Prefix);
        if (Prefix.size() > PrefixLength && Digits.substr(0, Prefix.size()) == Prefix) {
            Group = &G;
            PrefixLength = Prefix.size();
        }
    }
    if (!Group)
        return {};
    const std::string_view Rest = Digits.substr(PrefixLength, 12 - PrefixLength);
    std::uint32_t Key = 0;
    for (std::size_t I = 0; I < 7; ++I)
        Key = Key * 10 + std::uint32_t(I < Rest.size() ? Rest[I] - '0' : 0);
    const TRangeStep* First = std::begin(RangeSteps) + Group->First;
    // A group's steps begin at 0, so one of them holds the key.
    const TRangeStep* Step = std::upper_bound(First, First + Group->Count, Key,
                                              [](std::uint32_t K, const TRangeStep& S) { return K < S.Start; }) -
                             1;
    const std::size_t Length = Step->Length;
    if (Length == 0)
        return {};
    std::string Out(Digits.substr(0, 3));
    Out += '-';
    Out += Digits.substr(3, PrefixLength - 3);
    Out += '-';
    Out += Rest.substr(0, Length);
    Out += '-';
    Out += Rest.substr(Length);
    Out += '-';
    Out += Digits[12];
    return Out;
}

// The ISBN-13 split where the text's separators split it: five groups (an
// ISBN-10's four after 978), the 3-digit prefix first and the check digit
// last; empty otherwise.
std::string GivenGroups(const TScan& S, const std::string& Isbn13)
{
    std::vector<std::size_t> Groups = S.Groups;
    if (S.Digits.size() == 10)
        Groups.insert(Groups.begin(), 3);
    if (Groups.size() != 5 || Groups.front() != 3 || Groups.back() != 1)
        return {};
    std::string Out;
    std::size_t At = 0;
    for (const std::size_t G : Groups) {
        if (At)
            Out += '-';
        Out += Isbn13.substr(At, G);
        At += G;
    }
    return Out;
}

} // namespace

TEanReading ReadIsbn(const TText& Text, const TText& AddOn)
{
    const TScan S = Scan(Text);
    TEanReading R;
    const std::size_t N = S.Digits.size();
    if (Refuse(S, TBookKind::Isbn, true, Text, R))
        return R;
    if (N != 10 && N != 13)
        return Refused(0, "an ISBN has 10 characters (9 digits and a check character) or 13 digits; the text has " +
                              std::to_string(N));
    if (S.LabelDigits && S.LabelDigits != N)
        return Refused(S.LabelPosition, PositionText(S.LabelPosition) + ": the text is labelled ISBN-" +
                                            std::to_string(S.LabelDigits) + " but has " + std::to_string(N) +
                                            " digits");
    std::string Isbn13;
    if (N == 13) {
        if (S.Digits.back() == 'X')
            return Refused(S.Positions.back(), PositionText(S.Positions.back()) + ": " +
                                                   Text.Quote(S.Positions.back()) +
                                                   " is not a digit; an ISBN-13's check digit is one");
        if (RefusePrefix(S, "978", "9", "an ISBN-13 begins 978 or 979", R))
            return R;
        if (S.Digits.compare(0, 4, "9790") == 0)
            return Refused(S.Positions[3], PositionText(S.Positions[3]) + ": 979-0 begins an ISMN, not an ISBN");
        const std::string_view Body = std::string_view(S.Digits).substr(0, 12);
        if (RefuseCheck(S, Gs1CheckDigit(Body), "check digit", Body, R))
            return R;
        Isbn13 = S.Digits;
    } else {
        const std::string_view Body = std::string_view(S.Digits).substr(0, 9);
        if (RefuseCheck(S, Mod11Check(Body), "check character", Body, R))
            return R;
        Isbn13 = "978" + std::string(Body);
        Isbn13 += Gs1CheckDigit(Isbn13);
    }
    R.Error.clear();
    R.Data = Isbn13;
    std::string Line = Hyphenated(Isbn13);
    if (Line.empty())
        Line = GivenGroups(S, Isbn13);
    R.Line = "ISBN " + (Line.empty() ? Isbn13 : Line);
    return WithAddOn(std::move(R), AddOn, "an ISBN's add-on", true);
}

TEanReading ReadIsmn(const TText& Text, const TText& AddOn)
{
    const TScan S = Scan(Text);
    TEanReading R;
    const std::size_t N = S.Digits.size();
    if (Refuse(S, TBookKind::Ismn, false, Text, R))
        return R;
    if (S.MPosition ? N != 9 : N != 13)
        return Refused(0, "an ISMN has 13 digits, or M and 9 digits; the text has " +
                              std::string(S.MPosition ? "M and " : "") + std::to_string(N) + " digits");
    std::string Ismn13;
    if (S.MPosition) {
        // The M's weight 3 is what 9790's digits add up to under 1, 3, 1, 3:
        // 9 + 21 + 9 + 0 = 39, and the digits keep their weights, so the
        // EAN-13 check digit is the old one.
        Ismn13 = std::string("9790").append(S.Digits, 0, 8);
        if (RefuseCheck(S, Gs1CheckDigit(Ismn13), "check digit", std::string("M").append(S.Digits, 0, 8), R))
            return R;
        Ismn13 += S.Digits.back();
    } else {
        if (RefusePrefix(S, "9790", "", "an ISMN begins 9790", R))
            return R;
        const std::string_view Body = std::string_view(S.Digits).substr(0, 12);
        if (RefuseCheck(S, Gs1CheckDigit(Body), "check digit", Body, R))
            return R;
        Ismn13 = S.Digits;
    }
    R.Error.clear();
    R.Data = Ismn13;
    R.Line = "ISMN " + Hyphenated(Ismn13);
    return WithAddOn(std::move(R), AddOn, "an ISMN's add-on", false);
}

TEanReading ReadIssn(const TText& Text, const std::string& Variant, const TText& AddOn)
{
    const TScan S = Scan(Text);
    TEanReading R;
    const std::size_t N = S.Digits.size();
    if (Refuse(S, TBookKind::Issn, N == 8, Text, R))
        return R;
    if (N != 8 && N != 13)
        return Refused(0, "an ISSN has 8 characters (7 digits and a check character), or 13 digits as a GTIN "
                          "beginning 977; the text has " +
                              std::to_string(N));
    std::string Issn;
    if (N == 8) {
        if (S.Groups.size() > 2 || (S.Groups.size() == 2 && S.Groups[0] != 4)) {
            const std::size_t P = S.Separators[S.Groups[0] == 4 ? 1 : 0];
            return Refused(P, PositionText(P) + ": " + Text.Quote(P) +
                                  " stands only between an ISSN's fourth and fifth characters");
        }
        Issn = S.Digits;
        const std::string_view Body = std::string_view(Issn).substr(0, 7);
        if (RefuseCheck(S, Mod11Check(Body), "check character", Body, R))
            return R;
        if (Variant.size() != 2)
            return Refused(0, "a variant has 2 digits, not " + std::to_string(Variant.size()) + " characters");
        if (const std::size_t P = FirstNonDigit(Variant))
            return Refused(0, "variant position " + std::to_string(P) + ": " + Quoted(Variant[P - 1]) +
                                  " is not a digit");
        R.Data = "977" + std::string(Body) + Variant;
        R.Data += Gs1CheckDigit(R.Data);
    } else {
        if (RefusePrefix(S, "977", "", "an ISSN's GTIN begins 977", R))
            return R;
        const std::string_view Body = std::string_view(S.Digits).substr(0, 12);
        if (RefuseCheck(S, Gs1CheckDigit(Body), "check digit", Body, R))
            return R;
        R.Data = S.Digits;
        Issn = S.Digits.substr(3, 7);
        Issn += Mod11Check(Issn);
    }
    R.Error.clear();
    R.Line = "ISSN " + Issn.substr(0, 4) + "-" + Issn.substr(4);
    return WithAddOn(std::move(R), AddOn, "an ISSN's add-on", true);
}

std::string HyphenatedIsbn(const std::string& Isbn13)
{
    return HasCheckDigit(Isbn13) && IsIsbnPrefix(Isbn13) ? Hyphenated(Isbn13) : std::string();
}

std::string HyphenatedIsmn(const std::string& Ismn13)
{
    return HasCheckDigit(Ismn13) && Ismn13.compare(0, 4, "9790") == 0 ? Hyphenated(Ismn13) : std::string();
}

TBookKind BookKindOf(const TText& Text)
{
    const TScan S = Scan(Text);
    // A label says it, whatever follows; the reader then names the fault.
    if (S.Label != TBookKind::None)
        return S.Label;
    const std::string& D = S.Digits;
    const std::size_t X = D.find('X');
    const bool XLast = X == std::string::npos || X + 1 == D.size();
    if (S.MPosition)
        return D.size() == 9 && X == std::string::npos ? TBookKind::Ismn : TBookKind::None;
    if (D.size() == 13 && X == std::string::npos) {
        if (D.compare(0, 4, "9790") == 0)
            return TBookKind::Ismn;
        if (IsIsbnPrefix(D))
            return TBookKind::Isbn;
        return D.compare(0, 3, "977") == 0 ? TBookKind::Issn : TBookKind::None;
    }
    if (D.size() == 10 && XLast)
        return TBookKind::Isbn;
    // Eight digits parted by a space after the fourth are an EAN-8 as
    // printed; by a hyphen, an ISSN as written.
    const bool Hyphenated = S.Groups.size() == 2 && S.Groups[0] == 4 && Text[S.Separators[0] - 1] == '-';
    if (D.size() == 8 && XLast && (D.back() == 'X' || Hyphenated))
        return TBookKind::Issn;
    return TBookKind::None;
}

TEanReading ReadBook(TBookKind Kind, const TText& Text, const std::string& Variant, const TText& AddOn)
{
    switch (Kind == TBookKind::None ? BookKindOf(Text) : Kind) {
    case TBookKind::Isbn:
        return ReadIsbn(Text, AddOn);
    case TBookKind::Ismn:
        return ReadIsmn(Text, AddOn);
    case TBookKind::Issn:
        return ReadIssn(Text, Variant, AddOn);
    case TBookKind::None:
        break;
    }
    return Refused(0, "the text is no ISBN, ISMN or ISSN");
}

TEanReading ReadIsbn(const std::string& Text, const std::string& AddOn) { return ReadIsbn(TText(Text), TText(AddOn)); }
TEanReading ReadIsmn(const std::string& Text, const std::string& AddOn) { return ReadIsmn(TText(Text), TText(AddOn)); }
TEanReading ReadIssn(const std::string& Text, const std::string& Variant, const std::string& AddOn)
{
    return ReadIssn(TText(Text), Variant, TText(AddOn));
}
TEanReading ReadBook(TBookKind Kind, const std::string& Text, const std::string& Variant, const std::string& AddOn)
{
    return ReadBook(Kind, TText(Text), Variant, TText(AddOn));
}
TBookKind BookKindOf(const std::string& Text) { return BookKindOf(TText(Text)); }

} // namespace WEQEan
