// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// The font-height search itself, shared by the interface's one-key fitting
// (the application thread's view) and the cache every thread shares.

#include "ocrb/WEQOcrB_p.h"

namespace WEQOcrB {

inline constexpr std::int32_t DelimiterSlot = 10;

// What one search works on: the height under trial and the ink tables, with
// the height each slot was last measured at in this search (0: not at all),
// and the entry and height of the measurement before that.
struct TSearchState {
    std::int32_t FittedHeight = 0;
    std::array<TInk, 11> Ink{};
    std::array<std::int32_t, 11> MeasuredAt{};
    std::array<TInk, 11> Before{};
    std::array<std::int32_t, 11> MeasuredBefore{};
};

// Runs the search for a Width x Height box from State; false when it reaches
// a height beyond MaxFitFontHeight. Raises where a measurement fails.
bool SearchFittedHeight(TSearchState& State, const std::string& FontName, std::int32_t Width, std::int32_t Height);
// A whole fitting from State: the search, then each character's exact ink
// at the height found.
TFit FitFrom(TSearchState State, const std::string& FontName, std::int32_t Width, std::int32_t Height);

} // namespace WEQOcrB
