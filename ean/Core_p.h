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
    std::int32_t RatioHeightModules;  // the nominal height
    const TStep* Steps;
    std::size_t StepCount;
};

// The row of a symbology; null for a value outside the enumeration.
const TSymbologyRow* RowOf(TSymbology Symbology);
// The add-on's row, for 2 or 5 digits; null for any other count.
const TSymbologyRow* AddOnRowOf(std::size_t Digits);
// The modules from the first bar to the last.
std::int32_t BarModules(const TSymbologyRow& Row);

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
