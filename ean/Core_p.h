// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// What the symbology core shares between its files: the one digit test,
// normaliser and check digit, the family's table, and the builder behind
// every description. No Qt.

#include "ean/WEQEanFamily.h"

#include <array>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace WEQEan {

constexpr bool IsDigit(char Ch) { return Ch >= '0' && Ch <= '9'; }

// The first Length characters of Text, non-digits replaced by '0' where they
// stand, with leading zeros up to Length.
std::string Normalized(std::string_view Text, std::size_t Length);

// The GS1 check digit of any number of digits: weights 3, 1, 3, ... from the
// right, so leading zeros change nothing. Non-digits count as 0.
char Gs1CheckDigit(std::string_view Digits);

// The first position (1-based) of Text that holds a non-digit, or 0.
std::size_t FirstNonDigit(std::string_view Text);

// A character as a reason quotes it: printable ones as themselves, others
// as their byte's value.
std::string Quoted(char Ch);
// "position 13", as every reason names the place it is about.
std::string PositionText(std::size_t Position);

// A text as the readers see it: one byte a character, ASCII as itself and
// any other character (a UTF-8 sequence, or a byte that begins none) as
// 0x80, which no reader takes; each keeps its place in the text as given
// and its own bytes, so that a reason names the character where it stood.
class TText {
public:
    TText() = default;
    explicit TText(std::string_view Utf8);
    // The characters, one byte each.
    std::string_view Chars() const { return Bytes; }
    std::size_t Size() const { return Bytes.size(); }
    char operator[](std::size_t I) const { return Bytes[I]; }
    // Character P (1-based) as a reason shows it: 'x', '４', byte 0x07.
    std::string Quote(std::size_t P) const;
    // "position N": character P's place in the text as given.
    std::string Where(std::size_t P) const;
    std::size_t Place(std::size_t P) const { return Places[P - 1]; }
    // Without the spaces around it; without the spaces inside it too where
    // only single spaces part its digits (groups as printed under a symbol:
    // "4 006381 333931", "9638 5081"), and Joined says whether they did.
    TText Trimmed() const;
    TText DigitsJoined(bool& Joined) const;
    std::string Text() const; // the characters as given, UTF-8

private:
    std::string Bytes;
    std::vector<std::uint32_t> Places;
    std::vector<std::string> Originals; // each character's bytes as given
};

// The one table of what a text can be read as, in TKind's order: every
// list of names (the command line's, the value type's, the documentation's)
// and the family's rows take theirs from it.
inline constexpr TKindName Kinds[KindCount] = {
    {TKind::Ean13, "ean13", "EAN-13"}, {TKind::Ean8, "ean8", "EAN-8"}, {TKind::UpcA, "upca", "UPC-A"},
    {TKind::UpcE, "upce", "UPC-E"},    {TKind::Auto, "auto", "Auto"},  {TKind::Isbn, "isbn", "ISBN"},
    {TKind::Ismn, "ismn", "ISMN"},     {TKind::Issn, "issn", "ISSN"},
};
constexpr const char* TitleOf(TSymbology S) { return Kinds[std::size_t(S)].Title; }

// --- The readers behind Read --------------------------------------------------

// The strict reading. EAN-13: 12 digits, or 13 with the right check digit.
// EAN-8: 7, or 8 with the right check digit. UPC-A: 11, or 12 with the right
// check digit. UPC-E: 6 (number system 0), 7 with the number system 0 or 1,
// or 8 with the check digit computed over the expanded UPC-A, in the one form
// zero suppression gives; or a UPC-A (11 or 12 digits as above) that can be
// zero-suppressed. The add-on: none (empty), or exactly 2 or 5 digits.
TEanReading ReadSymbol(TSymbology Symbology, const TText& Text, const TText& AddOn);
TEanReading ReadSymbol(TSymbology Symbology, const std::string& Text, const std::string& AddOn = {});

// The lenient reading: the first N characters (12 for EAN-13, 7 for EAN-8,
// 11 for UPC-A), non-digits replaced by '0' where they stand, padded with
// leading zeros, the check digit computed afresh; for EAN-13 exactly
// CompleteGTIN. UPC-E: a text of up to 8 characters is the number system and
// six digits so completed (a number system other than 0 or 1 becomes 0, a
// form zero suppression does not give becomes the one it gives); a longer
// text is completed as a UPC-A and zero-suppressed, which fails, with the
// reason, for a UPC-A that cannot be. The add-on: empty stays none; up to 2
// characters complete to 2 digits, longer ones to 5 from their first 5.
TEanReading CompleteSymbol(TSymbology Symbology, const TText& Text, const TText& AddOn);
TEanReading CompleteSymbol(TSymbology Symbology, const std::string& Text, const std::string& AddOn = {});

// A GTIN of 8, 12, 13 or 14 digits with the right check digit: the GTIN it
// holds in its 14-digit form, with its leading zeros, picks the symbol: six
// zeros EAN-8, two zeros UPC-A, one EAN-13. A GTIN-14 with an indicator digit
// other than 0 is refused: no EAN/UPC symbol carries it.
TEanReading ReadGtin(const TText& Gtin, const TText& AddOn);
TEanReading ReadGtin(const std::string& Gtin, const std::string& AddOn = {});

// R with the add-on, or refused with the reason; Of names it ("an ISBN's
// add-on"), which has 5 digits, or 2 as well with TwoDigits.
TEanReading WithAddOn(TEanReading R, const TText& AddOn, std::string_view Of, bool TwoDigits);

enum class TBookKind : std::uint8_t { None, Isbn, Ismn, Issn };

// The book readers take the text as given (its own spaces and label).
// An ISBN-13 (978 or 979, but not 979-0, which is an ISMN) or an ISBN-10 (nine
// digits and a check character 0-9 or X, either case), which becomes its 978
// ISBN-13. A wrong check character is refused at its position with the right
// one. The add-on: none, 5 digits (the price code) or 2. Line: "ISBN " and the
// ISBN-13 hyphenated by the ranges; outside every assigned range, with the
// text's own hyphens where they make five groups (an ISBN-10's four, after
// 978-) beginning with the 3-digit prefix and ending with the check digit,
// otherwise unhyphenated.
TEanReading ReadIsbn(const TText& Text, const TText& AddOn);
// An ISMN-13 (979-0 and nine digits) or the older ten-character form "M" and
// nine digits, whose check digit weighs M as 3 and then the digits 1, 3, 1,
// ...; it becomes 979-0 and the same nine digits. The add-on: none or 5
// digits. Line: "ISMN " and the ISMN-13 hyphenated by the publisher ranges.
TEanReading ReadIsmn(const TText& Text, const TText& AddOn);
// An ISSN (seven digits and a check character 0-9 or X, the only hyphen, if
// any, after the fourth) becomes the EAN-13 977, its seven digits, the 2-digit
// Variant and the check digit. A 13-digit GTIN beginning 977 is read back to
// its ISSN and carries its own variant (its digits 11 and 12; Variant is not
// used). The add-on, most often the copy's number in its volume: none, 2 or 5
// digits. Line: "ISSN 0317-8471".
TEanReading ReadIssn(const TText& Text, const std::string& Variant, const TText& AddOn);
// The reader of Kind; for None, the kind BookKindOf gives, and a refusal
// where the text has none of the three forms.
TEanReading ReadBook(TBookKind Kind, const TText& Text, const std::string& Variant, const TText& AddOn);
// Which reader a text is for, by its form alone (whether its check character
// holds is the reading's business): a label says it, whatever follows; else
// 13 digits beginning 978 or 979 (Isbn; 979-0 Ismn) or 977 (Issn), with or
// without separators; 10 characters, the last 0-9 or X (Isbn); M and 9 digits
// (Ismn); 8 characters ending in X, or with a hyphen after the fourth (Issn).
// None for anything else, among it 8 plain digits or two groups of four
// parted by a space (an EAN-8 as printed), and other EANs and UPCs.
TBookKind BookKindOf(const TText& Text);
// The same for a text as given, in UTF-8.
TEanReading ReadIsbn(const std::string& Text, const std::string& AddOn = {});
TEanReading ReadIsmn(const std::string& Text, const std::string& AddOn = {});
TEanReading ReadIssn(const std::string& Text, const std::string& Variant = "00", const std::string& AddOn = {});
TEanReading ReadBook(TBookKind Kind, const std::string& Text, const std::string& Variant = "00",
                     const std::string& AddOn = {});
TBookKind BookKindOf(const std::string& Text);

// --- The family's table ----------------------------------------------------

// One step of a symbol's bars and characters, from left to right.
struct TStep {
    enum TKind : std::uint8_t {
        Pattern,   // bars where Bars holds '1', one module a character
        Digits,    // Count symbol characters from data position First, 7 modules each
        OuterText, // data position First, in the quiet zone beside the bars
        Mark,      // the quiet-zone mark: '<' before the bars, '>' after them
    };
    // Which character set each of a run of digits takes.
    enum TSets : std::uint8_t { SetA, SetC, Ean13Parity, UpcEParity, AddOnParity };
    TKind Kind;
    const char* Bars = nullptr;
    std::uint8_t First = 0, Count = 0;
    TSets Sets = SetA;
    // Digits: each starts with a bar (the right half) rather than a space.
    bool BarFirst = false;
    // Digits: the first (or last) one's bars run to the guards' end and its
    // character stands outside the bars instead (UPC-A).
    bool LongFirst = false, LongLast = false;
    // Digits: this pattern between each two of them (the add-on's "01").
    const char* Separator = nullptr;
    // OuterText: the smaller box of UPC's number system and check digit.
    bool Small = false;
};

// A symbology, or an add-on, as the builder reads it.
struct TSymbologyRow {
    const char* Name;
    std::size_t BodyDigits;           // without the check digit (the add-on: all of them)
    std::int32_t LeftQuietZone;       // before the first bar (the add-on: its gap, given)
    std::int32_t RightQuietZone;      // after the last bar
    double NominalBarModules;         // GS1's nominal height of the main bars
    const TStep* Steps;
    std::size_t StepCount;
};

// The row of a symbology; null for a value outside the enumeration.
const TSymbologyRow* RowOf(TSymbology Symbology);
// The add-on's row, for 2 or 5 digits; null for any other count.
const TSymbologyRow* AddOnRowOf(std::size_t Digits);
// The modules from the first bar to the last.
std::int32_t BarModules(const TSymbologyRow& Row);
// GS1's nominal height of the main bars in modules: 69.24, EAN-8 55.24.
double NominalBarModules(TSymbology Symbology);

// The tables of the character sets.
extern const std::array<const char*, 10> UpcEParities;
extern const std::array<const char*, 4> AddOn2Parities;
extern const std::array<const char*, 10> AddOn5Parities;

// --- The builder -----------------------------------------------------------

// The vertical layout of a symbol at module width M for the height asked for.
struct TVertical {
    std::int32_t Height, ShortBarHeight, GuardBarHeight, DigitBoxTop, DigitBoxWidth, DigitBoxHeight, SmallBoxHeight;
};
TVertical VerticalLayout(std::int32_t M, std::int32_t Height);

// The EAN-13 symbol of any text, as DrawEan13 draws it: a GTIN that cannot be
// drawn gives the elements up to the one that fails, with the error in
// Failure (EConvertError for a non-digit, Exception for a missing position).
// Into S, whose element storage is reused.
void DescribeEan13Into(TSymbol& S, const std::string& GTIN, std::int32_t Width, std::int32_t Height,
                       bool DrawRightDelimiter, std::exception_ptr& Failure);

// DescribeSymbol into S, whose element storage is reused; Failure as above
// (the reading's error or a bad gap), S then only the area's size.
void DescribeSymbolInto(TSymbol& S, const TEanReading& Reading, std::int32_t Width, std::int32_t Height,
                        bool DrawQuietZoneMarks, std::int32_t AddOnGap, std::exception_ptr& Failure);

} // namespace WEQEan
