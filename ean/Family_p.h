#pragma once

// Internals of the family shared by its readings, layouts and tests.

#include "ean/WEQEanFamily.h"

#include <exception>
#include <string_view>

namespace WEQEan {

// The GS1 check digit of any number of digits: weights 3, 1, 3, ... from the
// right, so leading zeros change nothing. Non-digits count as 0.
char Gs1CheckDigit(std::string_view Digits);

// DescribeSymbol into S, whose element storage is reused; Failure as for
// DescribeEan13Into (the reading's error, a bad gap, a bad digit).
void DescribeSymbolInto(TSymbol& S, const TEanReading& Reading, std::int32_t Width, std::int32_t Height,
                        bool DrawQuietZoneMarks, std::int32_t AddOnGap, std::exception_ptr& Failure);

// The symbol's size before any reading: module width and drawing height for
// the width offered and the height asked for, so the failure path can cover
// the area even when nothing can be described.
struct TSymbolArea {
    std::int32_t ModuleWidth, Width, Height;
};
TSymbolArea SymbolArea(TSymbology Symbology, std::size_t AddOnDigits, std::int32_t AddOnGap, std::int32_t Width,
                       std::int32_t Height);

} // namespace WEQEan
