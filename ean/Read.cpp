// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// The one reader: a text, as written or typed, into the reading of the kind
// asked for, with the reason where it cannot be and a warning for what it
// did not take as written.

#include "ean/Core_p.h"

#include <algorithm>

namespace WEQEan {

namespace {

// More than any reading takes (a book's number is read from up to 64), so
// that a long text is refused as long without reading all of it.
constexpr std::size_t MaxCharacters = 1024;

TEanReading Refusal(TSymbology Symbology, std::string Why)
{
    TEanReading R;
    R.Symbology = Symbology;
    R.Error = std::move(Why);
    return R;
}

std::size_t Characters(const std::string& Text)
{
    return std::size_t(std::count_if(Text.begin(), Text.end(),
                                     [](char C) { return (static_cast<unsigned char>(C) & 0xC0) != 0x80; }));
}

const char* BookName(TBookKind Kind)
{
    return Kind == TBookKind::Isbn ? "an ISBN" : Kind == TBookKind::Ismn ? "an ISMN" : "an ISSN";
}

// "isbn": the kind's name, as the command line and the documentation spell it.
const char* BookKindName(TBookKind Kind) { return Kinds[std::size_t(TKind::Auto) + std::size_t(Kind)].Name; }

// A family reading, strict or completed; a text written as a book's number
// is said to be one, for that reading takes it as it is meant.
TEanReading ReadFamily(TSymbology S, const TText& Given, const TText& AddOn, bool Complete)
{
    bool Joined = false;
    const TText T = Given.Trimmed().DigitsJoined(Joined);
    TEanReading R = ReadSymbol(S, T, AddOn);
    const TBookKind Book = BookKindOf(Given);
    if (R.Valid() || !Complete) {
        if (!R.Valid() && Book != TBookKind::None)
            R.Error += std::string("; the text is written as ") + BookName(Book) + ": read it with the " +
                       BookKindName(Book) + " symbology";
        return R;
    }
    TEanReading C = CompleteSymbol(S, T, AddOn);
    if (!C.Valid())
        return C;
    C.Warnings.push_back("completed to " + C.Title() + ": " + R.Error);
    if (Book != TBookKind::None)
        C.Warnings.push_back(Given.Trimmed().Text() + " is written as " + BookName(Book) + ", which completion made " +
                             C.Data + ", another number: read it with the " + BookKindName(Book) + " symbology");
    return C;
}

// The ISSN that auto reads from eight digits parted by a hyphen, whose
// digits an EAN-8's check digit also holds: said, as the text may mean either.
void WarnIfAlsoEan8(const TText& Given, TEanReading& R)
{
    std::string Digits;
    for (const char C : Given.Chars())
        if (IsDigit(C))
            Digits += C;
        else if (C != '-' && C != ' ')
            return;
    if (!R.Valid() || R.Data.compare(0, 3, "977") != 0 || Digits.size() != 8 ||
        Gs1CheckDigit(std::string_view(Digits).substr(0, 7)) != Digits[7])
        return;
    R.Warnings.push_back(Given.Trimmed().Text() + " is read as " + R.Line + "; its digits are also the EAN-8 " +
                         Digits + ", which " + Digits.substr(0, 4) + " " + Digits.substr(4) + " or " + Digits +
                         " gives");
}

// An ISSN's GTIN carries its own variant, its 11th and 12th digits: one
// asked for besides that differs is said to be unused.
TEanReading WarnIfVariantUnused(const TText& Given, const TReadOptions& O, TEanReading R)
{
    const std::string_view C = Given.Chars();
    if (R.Valid() && R.Data.compare(0, 3, "977") == 0 && !O.IssnVariant.empty() &&
        R.Data.compare(10, 2, O.IssnVariant) != 0 && std::count_if(C.begin(), C.end(), IsDigit) == 13)
        R.Warnings.push_back("the variant " + O.IssnVariant + " is not used: " + R.Data + " carries its own, " +
                             R.Data.substr(10, 2));
    return R;
}

TEanReading ReadAuto(const TText& Given, const TText& AddOn, const TReadOptions& O)
{
    const std::string Variant = O.IssnVariant.empty() ? "00" : O.IssnVariant;
    if (const TBookKind Book = BookKindOf(Given); Book != TBookKind::None) {
        TEanReading R = ReadBook(Book, Given, Variant, AddOn);
        WarnIfAlsoEan8(Given, R);
        return WarnIfVariantUnused(Given, O, std::move(R));
    }
    bool Joined = false;
    const TText T = Given.Trimmed().DigitsJoined(Joined);
    TEanReading R = ReadGtin(T, AddOn);
    if (R.Valid() || !O.Complete)
        return R;
    // What holds no GTIN is completed as EAN-13, as the EAN-13 control would.
    TEanReading C = CompleteSymbol(TSymbology::Ean13, T, AddOn);
    if (C.Valid())
        C.Warnings.push_back("completed to " + C.Title() + ": " + R.Error);
    return C;
}

} // namespace

const TKindName* KindNames() { return Kinds; }

bool KindNamed(const std::string& Name, TKind& Kind)
{
    std::string Lower = Name;
    for (char& C : Lower)
        C = char(C >= 'A' && C <= 'Z' ? C - 'A' + 'a' : C);
    for (const TKindName& K : Kinds)
        if (Lower == K.Name) {
            Kind = K.Kind;
            return true;
        }
    return false;
}

TEanReading Read(TKind Kind, const std::string& Text, const TReadOptions& Options)
{
    const auto Family = [Kind] { return TSymbology(Kind <= TKind::UpcE ? std::uint8_t(Kind) : 0); };
    if (std::size_t(Kind) >= KindCount)
        return Refusal(TSymbology::Ean13, "kind " + std::to_string(int(Kind)) + " is none of " + [] {
            std::string Names;
            for (const TKindName& K : Kinds)
                Names += (Names.empty() ? "" : ", ") + std::string(K.Title);
            return Names;
        }());
    // Completion looks at the first characters alone: a long text is cut.
    const std::size_t N = Characters(Text);
    if (N > MaxCharacters && !Options.Complete)
        return Refusal(Family(), "the text has " + std::to_string(N) + " characters; no symbol takes more than " +
                                     std::to_string(MaxCharacters));
    const TText Given(N > MaxCharacters ? Text.substr(0, MaxCharacters) : Text);
    const TText AddOn = TText(Options.AddOn).Trimmed();
    if (Given.Trimmed().Size() == 0)
        return Refusal(Family(), Given.Size() ? "the text holds only spaces" : "the text is empty");
    const std::string Variant = Options.IssnVariant.empty() ? "00" : Options.IssnVariant;
    switch (Kind) {
    case TKind::Ean13:
    case TKind::Ean8:
    case TKind::UpcA:
    case TKind::UpcE:
        return ReadFamily(TSymbology(Kind), Given, AddOn, Options.Complete);
    case TKind::Auto:
        return ReadAuto(Given, AddOn, Options);
    case TKind::Isbn:
        return ReadBook(TBookKind::Isbn, Given, Variant, AddOn);
    case TKind::Ismn:
        return ReadBook(TBookKind::Ismn, Given, Variant, AddOn);
    case TKind::Issn:
        return WarnIfVariantUnused(Given, Options, ReadBook(TBookKind::Issn, Given, Variant, AddOn));
    }
    return Refusal(Family(), "unknown kind");
}

} // namespace WEQEan
