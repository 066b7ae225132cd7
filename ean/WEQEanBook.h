// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

/// \file
/// \ingroup legacy
/// Book, serial and printed-music numbers (ISBN, ISSN, ISMN), which Read
/// takes (TKind::Isbn, Ismn, Issn) into the EAN-13 symbol that carries them,
/// with the number printed above its bars in Line. ISBNs and ISMNs are
/// hyphenated by the registration groups' and registrants' ranges compiled
/// into the library (ean/IsbnRangeData.h says from which list and of which
/// date). Plain arithmetic on strings, no Qt.
///
/// The readers take the number with or without its label ("ISBN", "ISBN-13",
/// "ISBN-10", "ISMN", "ISSN", any case, an optional colon), with hyphens or
/// single spaces between the digits; spaces around the whole are ignored. A
/// separator before the first digit, after the last, or beside another is
/// refused, as is a text longer than 64 characters. A refusal's position
/// counts every character of the text as given.

#include "WEQEanFamily.h"

#include <cstdint>
#include <string>

namespace WEQEan {

/// The 13 digits of an ISBN (check digit included and right) hyphenated by the
/// ranges, "978-3-16-148410-0"; empty for anything else, and for a number no
/// assigned range covers.
WEQBARCODE_EXPORT std::string HyphenatedIsbn(const std::string& Isbn13);
/// Likewise for the 13 digits of an ISMN: "979-0-2600-0043-8".
WEQBARCODE_EXPORT std::string HyphenatedIsmn(const std::string& Ismn13);

} // namespace WEQEan
