// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// Book, serial and printed-music numbers (ISBN, ISSN, ISMN) read into the
// EAN-13 symbol that carries them, with the number printed above its bars in
// Line. ISBNs and ISMNs are hyphenated by the registration groups' and
// registrants' ranges compiled into the library (ean/IsbnRangeData.h says
// from which list and of which date). Plain arithmetic on strings, no Qt.
//
// The readers take the number with or without its label ("ISBN", "ISBN-13",
// "ISBN-10", "ISMN", "ISSN", any case, an optional colon), with hyphens or
// single spaces between the digits; spaces around the whole are ignored. A
// separator before the first digit, after the last, or beside another is
// refused, as is a text longer than 64 characters. A refusal's position
// counts every character of the text as given.

#include "ean/WEQEanFamily.h"

#include <cstdint>
#include <string>

namespace WEQEan {

// An ISBN-13 (978 or 979, but not 979-0, which is an ISMN) or an ISBN-10 (nine
// digits and a check character 0-9 or X, either case), which becomes its 978
// ISBN-13. A wrong check character is refused at its position with the right
// one. The add-on: none, 5 digits (the price code) or 2. Line: "ISBN " and the
// ISBN-13 hyphenated by the ranges; outside every assigned range, with the
// text's own hyphens where they make five groups (an ISBN-10's four, after
// 978-) beginning with the 3-digit prefix and ending with the check digit,
// otherwise unhyphenated.
WEQBARCODE_EXPORT TEanReading ReadIsbn(const std::string& Text, const std::string& AddOn = {});

// An ISMN-13 (979-0 and nine digits) or the older ten-character form "M" and
// nine digits, whose check digit weighs M as 3 and then the digits 1, 3, 1,
// ...; it becomes 979-0 and the same nine digits. The add-on: none or 5
// digits. Line: "ISMN " and the ISMN-13 hyphenated by the publisher ranges.
WEQBARCODE_EXPORT TEanReading ReadIsmn(const std::string& Text, const std::string& AddOn = {});

// An ISSN (seven digits and a check character 0-9 or X, the only hyphen, if
// any, after the fourth) becomes the EAN-13 977, its seven digits, the 2-digit
// Variant and the check digit. A 13-digit GTIN beginning 977 is read back to
// its ISSN and carries its own variant (its digits 11 and 12; Variant is not
// used). The add-on, most often the copy's number in its volume: none, 2 or 5
// digits. Line: "ISSN 0317-8471".
WEQBARCODE_EXPORT TEanReading ReadIssn(const std::string& Text, const std::string& Variant = "00",
                                       const std::string& AddOn = {});

// The 13 digits of an ISBN (check digit included and right) hyphenated by the
// ranges, "978-3-16-148410-0"; empty for anything else, and for a number no
// assigned range covers.
WEQBARCODE_EXPORT std::string HyphenatedIsbn(const std::string& Isbn13);
// Likewise for the 13 digits of an ISMN: "979-0-2600-0043-8".
WEQBARCODE_EXPORT std::string HyphenatedIsmn(const std::string& Ismn13);

enum class TBookKind : std::uint8_t { None, Isbn, Ismn, Issn };

// The reader of Kind for Text: ReadIsbn, ReadIsmn or ReadIssn (which alone
// takes Variant); for None, the kind BookKindOf gives, and a refusal where
// the text has none of the three forms.
WEQBARCODE_EXPORT TEanReading ReadBook(TBookKind Kind, const std::string& Text, const std::string& Variant = "00",
                                       const std::string& AddOn = {});

// Which reader a text is for, by its form alone (whether its check character
// holds is the reading's business): a label says it; else 13 digits beginning
// 978 or 979 (Isbn; 979-0 Ismn) or 977 (Issn), with or without separators; 10
// characters, the last 0-9 or X (Isbn); M and 9 digits (Ismn); 8 characters
// ending in X, or with a hyphen after the fourth (Issn). None for anything
// else, among it 8 plain digits (an EAN-8) and other EANs and UPCs.
WEQBARCODE_EXPORT TBookKind BookKindOf(const std::string& Text);

} // namespace WEQEan
