// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// Reading a text for a symbology of the family: strictly with reasons,
// leniently as the EAN-13 control completes its GTIN, and the automatic
// choice from a GTIN. UPC-E zero suppression lives here and nowhere else.

#include "ean/Core_p.h"
#include "ean/WEQEan.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace WEQEan {

namespace {

TEanReading Refused(TSymbology Symbology, std::int32_t Position, std::string Error, bool InAddOn = false)
{
    TEanReading R;
    R.Symbology = Symbology;
    R.Error = std::move(Error);
    R.ErrorPosition = Position;
    R.ErrorInAddOn = InAddOn;
    return R;
}

bool IsNumberSystem(char Ch) { return Ch == '0' || Ch == '1'; }

// The six-digit UPC-E body of an 11-digit UPC-A body N1..N11 (number system
// first), or empty. The forms are tried in this order so that the first that
// fits is the one GS1's table gives: a later form that also fits would end in
// a digit the earlier form reserves.
std::string SuppressBody(std::string_view N)
{
    const auto Zeros = [N](std::size_t From, std::size_t To) { // 1-based, inclusive
        return std::all_of(N.begin() + std::ptrdiff_t(From - 1), N.begin() + std::ptrdiff_t(To),
                           [](char Ch) { return Ch == '0'; });
    };
    const auto At = [N](std::size_t P) { return N[P - 1]; };
    std::string B;
    if (At(4) <= '2' && Zeros(5, 8)) // manufacturer X1 X2 {0,1,2} 0 0, item 0 0 X3 X4 X5
        B = {At(2), At(3), At(9), At(10), At(11), At(4)};
    else if (Zeros(5, 9)) // manufacturer X1 X2 X3 0 0, item 0 0 0 X4 X5
        B = {At(2), At(3), At(4), At(10), At(11), '3'};
    else if (Zeros(6, 10)) // manufacturer X1 X2 X3 X4 0, item 0 0 0 0 X5
        B = {At(2), At(3), At(4), At(5), At(11), '4'};
    else if (Zeros(7, 10) && At(11) >= '5') // manufacturer X1..X5, item 0 0 0 0 {5..9}
        B = {At(2), At(3), At(4), At(5), At(6), At(11)};
    return B;
}

// The 11-digit UPC-A body of a number system and six-digit UPC-E body.
std::string ExpandBody(char NumberSystem, std::string_view D)
{
    const char Last = D[5];
    std::string N(1, NumberSystem);
    if (Last <= '2')
        N += {D[0], D[1], Last, '0', '0', '0', '0', D[2], D[3], D[4]};
    else if (Last == '3')
        N += {D[0], D[1], D[2], '0', '0', '0', '0', '0', D[3], D[4]};
    else if (Last == '4')
        N += {D[0], D[1], D[2], D[3], '0', '0', '0', '0', '0', D[4]};
    else
        N += {D[0], D[1], D[2], D[3], D[4], '0', '0', '0', '0', Last};
    return N;
}

// Why no zero-suppressed form fits the UPC-A body N: the loosest form's first
// failing position (every form needs zeros at 7 and 8).
std::string WhyNotSuppressible(std::string_view N)
{
    std::size_t P = 7;
    while (P <= 10 && N[P - 1] == '0')
        ++P;
    const std::string At = P <= 10 ? PositionText(P) + " is " + N[P - 1] + ", not 0"
                                   : PositionText(11) + " is " + N[10] + ", not 5 to 9";
    return "UPC-A " + std::string(N) + Gs1CheckDigit(N) +
           " cannot be zero-suppressed: " + At +
           "; UPC-E needs zeros at positions 5 to 8 (with 0 to 2 at 4), 5 to 9, 6 to 10, or 7 to 10 (with 5 to 9 "
           "at 11)";
}

// "12 characters", or "12 digits" where every one is a digit.
std::string Count(const TText& T)
{
    const std::size_t N = T.Size();
    return std::to_string(N) + (FirstNonDigit(T.Chars()) ? " character" : " digit") + (N == 1 ? "" : "s");
}

// A body, or a body with its check digit, of exactly the symbology's length;
// Data is then the whole number.
TEanReading ReadPlain(TSymbology S, const TText& T)
{
    const TSymbologyRow& L = *RowOf(S);
    const std::string_view Text = T.Chars();
    if (const std::size_t P = FirstNonDigit(Text))
        return Refused(S, std::int32_t(T.Place(P)), T.Where(P) + ": " + T.Quote(P) + " is not a digit");
    if (Text.size() != L.BodyDigits && Text.size() != L.BodyDigits + 1)
        return Refused(S, 0,
                       std::string(L.Name) + " takes " + std::to_string(L.BodyDigits) + " digits, or " +
                           std::to_string(L.BodyDigits + 1) + " with the check digit; the text has " + Count(T));
    const std::string_view Body = Text.substr(0, L.BodyDigits);
    const char Check = Gs1CheckDigit(Body);
    if (Text.size() == L.BodyDigits + 1 && Text.back() != Check)
        return Refused(S, std::int32_t(T.Place(Text.size())),
                       T.Where(Text.size()) + ": the check digit of " + std::string(Body) + " is " + Check +
                           ", not " + Text.back());
    TEanReading R;
    R.Symbology = S;
    R.Error.clear();
    R.Data = std::string(Body) + Check;
    return R;
}

TEanReading ReadUpcE(const TText& T)
{
    constexpr TSymbology S = TSymbology::UpcE;
    const std::string_view Text = T.Chars();
    if (const std::size_t P = FirstNonDigit(Text))
        return Refused(S, std::int32_t(T.Place(P)), T.Where(P) + ": " + T.Quote(P) + " is not a digit");
    if (Text.size() == 11 || Text.size() == 12) {
        TEanReading A = ReadPlain(TSymbology::UpcA, T);
        A.Symbology = S;
        if (!A.Valid())
            return A;
        if (!IsNumberSystem(A.Data[0]))
            return Refused(S, std::int32_t(T.Place(1)),
                           T.Where(1) + ": UPC-E carries number system 0 or 1, not " + A.Data[0]);
        const std::string Body = SuppressBody(std::string_view(A.Data).substr(0, 11));
        if (Body.empty())
            return Refused(S, 0, WhyNotSuppressible(std::string_view(A.Data).substr(0, 11)));
        A.Data = A.Data[0] + Body + A.Data[11];
        return A;
    }
    if (Text.size() < 6 || Text.size() > 8)
        return Refused(S, 0,
                       "UPC-E takes 6 digits, 7 with the number system, 8 with the check digit, or a UPC-A of 11 or "
                       "12 digits; the text has " + Count(T));
    const std::size_t Offset = Text.size() == 6 ? 0 : 1; // where the six digits start
    const char NumberSystem = Offset ? Text[0] : '0';
    if (!IsNumberSystem(NumberSystem))
        return Refused(S, std::int32_t(T.Place(1)),
                       T.Where(1) + ": UPC-E carries number system 0 or 1, not " + NumberSystem);
    const std::string_view Six = Text.substr(Offset, 6);
    const std::string UpcA = ExpandBody(NumberSystem, Six);
    const std::string Canonical = SuppressBody(UpcA);
    if (Canonical != Six) {
        // Which of the six digits the form's rule is about.
        const char Last = Six[5];
        const std::size_t Digit = Last == '3' ? 3 : Last == '4' ? 4 : 5;
        const char* Rule = Last == '3' ? "3 to 9" : "1 to 9";
        return Refused(S, std::int32_t(T.Place(Offset + Digit)),
                       T.Where(Offset + Digit) + ": a UPC-E ending in " + Last + " needs " + Rule + " here, not " +
                           Six[Digit - 1] + "; UPC-A " + UpcA + Gs1CheckDigit(UpcA) + " is zero-suppressed as " +
                           NumberSystem + Canonical + Gs1CheckDigit(UpcA));
    }
    const char Check = Gs1CheckDigit(UpcA);
    if (Text.size() == 8 && Text[7] != Check)
        return Refused(S, std::int32_t(T.Place(8)),
                       T.Where(8) + ": the check digit, computed over UPC-A " + UpcA + ", is " + Check + ", not " +
                           Text[7]);
    TEanReading R;
    R.Symbology = S;
    R.Error.clear();
    R.Data = NumberSystem + std::string(Six) + Check;
    return R;
}

} // namespace

// Adds the add-on to a reading that holds, or refuses it.
TEanReading WithAddOn(TEanReading R, const TText& AddOn, std::string_view Of, bool TwoDigits)
{
    if (!R.Valid() || AddOn.Size() == 0)
        return R;
    const std::string_view A = AddOn.Chars();
    if (A.size() != 5 && (!TwoDigits || A.size() != 2))
        return Refused(R.Symbology, 0,
                       "'" + AddOn.Text() + "' is not " + std::string(Of) + (TwoDigits ? " of 2 or 5 digits" : " of 5 digits"),
                       true);
    if (const std::size_t P = FirstNonDigit(A))
        return Refused(R.Symbology, std::int32_t(AddOn.Place(P)),
                       "add-on " + AddOn.Where(P) + ": " + AddOn.Quote(P) + " is not a digit", true);
    R.AddOn = A;
    return R;
}

namespace {

std::string CompletedAddOn(std::string_view AddOn)
{
    if (AddOn.empty())
        return {};
    return Normalized(AddOn, AddOn.size() <= 2 ? 2 : 5);
}

// A symbology outside the enumeration (a cast from any number) is refused
// before any table is read.
bool Unknown(TSymbology Symbology, TEanReading& Out)
{
    if (RowOf(Symbology))
        return false;
    Out = Refused(Symbology, 0, "symbology " + std::to_string(int(Symbology)) + " is none of EAN-13, EAN-8, UPC-A, UPC-E");
    return true;
}

} // namespace

TEanReading ReadSymbol(TSymbology Symbology, const TText& Text, const TText& AddOn)
{
    if (TEanReading R; Unknown(Symbology, R))
        return R;
    return WithAddOn(Symbology == TSymbology::UpcE ? ReadUpcE(Text) : ReadPlain(Symbology, Text), AddOn,
                     "an add-on", true);
}

TEanReading CompleteSymbol(TSymbology Symbology, const TText& T, const TText& AddOn)
{
    TEanReading R;
    if (Unknown(Symbology, R))
        return R;
    R.Symbology = Symbology;
    R.Error.clear();
    const std::string_view Text = T.Chars();
    if (Symbology == TSymbology::Ean13) {
        R.Data = Normalized(Text, 12);
        R.Data += Gs1CheckDigit(R.Data);
    } else if (Symbology != TSymbology::UpcE) {
        const std::string Body = Normalized(Text, RowOf(Symbology)->BodyDigits);
        R.Data = Body + Gs1CheckDigit(Body);
    } else if (Text.size() <= 8) {
        std::string Seven = Normalized(Text, 7);
        if (!IsNumberSystem(Seven[0]))
            Seven[0] = '0';
        const std::string UpcA = ExpandBody(Seven[0], std::string_view(Seven).substr(1));
        R.Data = Seven[0] + SuppressBody(UpcA) + Gs1CheckDigit(UpcA);
    } else {
        R = ReadUpcE(TText(Normalized(Text, 11)));
    }
    R.AddOn = CompletedAddOn(AddOn.Chars());
    return R;
}

TEanReading ReadGtin(const TText& T, const TText& AddOn)
{
    constexpr TSymbology NotYetKnown = TSymbology::Ean13;
    const std::string_view Gtin = T.Chars();
    const std::size_t N = Gtin.size();
    if (const std::size_t P = FirstNonDigit(Gtin))
        return Refused(NotYetKnown, std::int32_t(T.Place(P)), T.Where(P) + ": " + T.Quote(P) + " is not a digit");
    if (N != 8 && N != 12 && N != 13 && N != 14)
        return Refused(NotYetKnown, 0, "a GTIN has 8, 12, 13 or 14 digits; the text has " + Count(T));
    const std::string_view Body = Gtin.substr(0, N - 1);
    if (const char Check = Gs1CheckDigit(Body); Gtin.back() != Check)
        return Refused(NotYetKnown, std::int32_t(T.Place(N)),
                       T.Where(N) + ": the check digit of " + std::string(Body) + " is " + Check + ", not " +
                           Gtin.back());
    const std::string Full = std::string(14 - N, '0').append(Gtin);
    if (Full[0] != '0')
        return Refused(NotYetKnown, std::int32_t(T.Place(1)),
                       T.Where(1) + ": a GTIN-14 with indicator digit " + Full[0] +
                           " is carried by no EAN/UPC symbol");
    TEanReading R;
    R.Error.clear();
    if (Full.compare(0, 6, "000000") == 0) {
        R.Symbology = TSymbology::Ean8;
        R.Data = Full.substr(6);
    } else if (Full.compare(0, 2, "00") == 0) {
        R.Symbology = TSymbology::UpcA;
        R.Data = Full.substr(2);
    } else {
        R.Symbology = TSymbology::Ean13;
        R.Data = Full.substr(1);
    }
    return WithAddOn(R, AddOn, "an add-on", true);
}

TEanReading ReadSymbol(TSymbology Symbology, const std::string& Text, const std::string& AddOn)
{
    return ReadSymbol(Symbology, TText(Text), TText(AddOn));
}

TEanReading CompleteSymbol(TSymbology Symbology, const std::string& Text, const std::string& AddOn)
{
    return CompleteSymbol(Symbology, TText(Text), TText(AddOn));
}

TEanReading ReadGtin(const std::string& Gtin, const std::string& AddOn) { return ReadGtin(TText(Gtin), TText(AddOn)); }

std::string ExpandUpcE(const std::string& UpcE)
{
    // Any six digits expand, in the suppressed form or not.
    if (UpcE.size() < 6 || UpcE.size() > 8 || FirstNonDigit(UpcE))
        return {};
    const std::size_t Offset = UpcE.size() == 6 ? 0 : 1;
    const char NumberSystem = Offset ? UpcE[0] : '0';
    if (!IsNumberSystem(NumberSystem))
        return {};
    const std::string UpcA = ExpandBody(NumberSystem, std::string_view(UpcE).substr(Offset, 6));
    const char Check = Gs1CheckDigit(UpcA);
    if (UpcE.size() == 8 && UpcE[7] != Check)
        return {};
    return UpcA + Check;
}

std::string SuppressUpcA(const std::string& UpcA)
{
    if (UpcA.size() != 11 && UpcA.size() != 12)
        return {};
    const TEanReading R = ReadUpcE(TText(UpcA));
    return R.Valid() ? R.Data : std::string();
}

std::string TEanReading::Gtin() const
{
    if (!Valid())
        return {};
    return Symbology == TSymbology::UpcE ? ExpandUpcE(Data) : Data;
}

std::string TEanReading::Title() const
{
    const TSymbologyRow* Row = RowOf(Symbology);
    std::string T = std::string(Row ? Row->Name : "unknown symbology") + " " + Data;
    if (!AddOn.empty())
        T += " +" + AddOn;
    return T;
}

} // namespace WEQEan
