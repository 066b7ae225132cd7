// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// Written text as the controls read it: shared by TWEQBarCode and Barcode, so
// that both turn text into positions alike.

#include <QString>

#include <string>

namespace WEQ {

// The first Max positions of the text: one character is one position
// whatever its encoding, printable ASCII as itself (so that a reason quotes
// it) and anything else '?', a non-digit to every reading. At most 2 Max UTF-16 units are looked at, so
// megabytes of pasted text cost no more than a GTIN.
std::string GtinPositions(const QString& Text, std::size_t Max = 13);

} // namespace WEQ
