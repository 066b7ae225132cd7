// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

#include "Export.h"

#include <cstdint>
#include <stdexcept>
#include <string>

/// \file
/// \ingroup legacy
/// The errors the legacy interface raises, and the decimal conversions that raise them.

/// \ingroup legacy
/// The base of every error this library raises on purpose. The symbol drawing
/// catches exactly this class; anything else passes to the caller.
class WEQBARCODE_EXPORT Exception : public std::runtime_error {
public:
    /// An error that what() tells as Message.
    explicit Exception(const std::string& Message) : std::runtime_error(Message) {}
};

/// \ingroup legacy
/// Raised when a text that should hold a decimal integer does not.
class WEQBARCODE_EXPORT EConvertError : public Exception {
public:
    /// A conversion error that what() tells as Message.
    explicit EConvertError(const std::string& Message) : Exception(Message) {}
};

/// Decimal text to a 32-bit integer: an optional sign and one or more digits,
/// nothing else (no blanks, no hexadecimal). Anything else, and any value outside
/// the 32-bit range, raises EConvertError.
WEQBARCODE_EXPORT std::int32_t StrToInt(const std::string& Text);

/// As StrToInt, but gives Default where StrToInt would raise.
WEQBARCODE_EXPORT std::int32_t StrToIntDef(const std::string& Text, std::int32_t Default);
