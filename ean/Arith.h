// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// Whole-pixel conversions shared by the drawing code. Results saturate at the
// 32-bit limits, so that absurd boxes give absurd but defined coordinates.

#include <algorithm>
#include <cstdint>
#include <limits>

inline std::int32_t TruncToInt32(long double Value)
{
    constexpr long double Lo = std::numeric_limits<std::int32_t>::min();
    constexpr long double Hi = std::numeric_limits<std::int32_t>::max();
    if (!(Value > Lo))
        return std::numeric_limits<std::int32_t>::min();
    if (!(Value < Hi))
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(Value); // truncates toward zero
}

inline std::int32_t ClampToInt32(std::int64_t Value)
{
    return std::int32_t(std::clamp<std::int64_t>(Value, std::numeric_limits<std::int32_t>::min(),
                                                 std::numeric_limits<std::int32_t>::max()));
}
