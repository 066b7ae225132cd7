// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "ean/Exceptions.h"

#include <limits>

std::int32_t StrToInt(const std::string& Text)
{
    std::size_t Pos = 0;
    bool Negative = false;
    if (Pos < Text.size() && (Text[Pos] == '+' || Text[Pos] == '-')) {
        Negative = Text[Pos] == '-';
        ++Pos;
    }
    if (Pos == Text.size())
        throw EConvertError("'" + Text + "' is not a valid integer value");

    // Accumulate negatively so that the least 32-bit value is representable.
    std::int64_t Value = 0;
    for (; Pos < Text.size(); ++Pos) {
        const char Ch = Text[Pos];
        if (Ch < '0' || Ch > '9')
            throw EConvertError("'" + Text + "' is not a valid integer value");
        Value = Value * 10 - (Ch - '0');
        if (Value < std::numeric_limits<std::int32_t>::min())
            throw EConvertError("'" + Text + "' is not a valid integer value");
    }
    if (!Negative) {
        Value = -Value;
        if (Value > std::numeric_limits<std::int32_t>::max())
            throw EConvertError("'" + Text + "' is not a valid integer value");
    }
    return static_cast<std::int32_t>(Value);
}

std::int32_t StrToIntDef(const std::string& Text, std::int32_t Default)
{
    try {
        return StrToInt(Text);
    } catch (const EConvertError&) {
        return Default;
    }
}
