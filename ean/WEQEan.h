// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

/// \file
/// \ingroup legacy
/// The EAN-13 symbology: completing any text to a valid GTIN, the element tables,
/// and the drawing of a whole symbol on a 113-module grid. Everything but
/// DrawEan13 and its two helpers is plain arithmetic on strings and numbers.

#include "WEQEanSymbol.h"
#include "../surface/Canvas.h"
#include "Export.h"

#include <array>
#include <cstdint>
#include <string>

namespace WEQEan {

// --- GTIN completion -------------------------------------------------------

/// The first 12 characters of Text, non-digits replaced by '0' where they stand,
/// padded with leading zeros to 12 digits.
WEQBARCODE_EXPORT std::string NormalizeGTIN(const std::string& Text);
/// The EAN-13 check digit of a 12-digit body, as a one-character string.
WEQBARCODE_EXPORT std::string GTINCheckDigit(const std::string& Body);
/// NormalizeGTIN(Text) followed by its check digit: 13 digits for any text.
WEQBARCODE_EXPORT std::string CompleteGTIN(const std::string& Text);

// --- Element tables --------------------------------------------------------

/// Left-half character sets chosen by the first GTIN digit.
extern WEQBARCODE_EXPORT const std::array<const char*, 10> ParityPatterns;
///@{
/// Module widths of the four elements of each digit: sets A and C share a column.
extern WEQBARCODE_EXPORT const std::array<const char*, 10> WidthsSetAC;
extern WEQBARCODE_EXPORT const std::array<const char*, 10> WidthsSetB;
///@}
/// Bar-group kinds: 0 guard, 1 left-half digit, 2 right-half digit.
inline constexpr std::array<std::uint8_t, 3> GroupKinds{0, 1, 2};

/// The six set letters for the GTIN's first character; empty for a number
/// outside 0..9. Raises EConvertError when that character is not a number.
WEQBARCODE_EXPORT std::string ParityPattern(const std::string& GTIN);
/// The four widths of Digit in Set ("A", "B" or "C", exactly); empty for any
/// other set (the digit is then not looked at) or a number outside 0..9.
/// Raises EConvertError when Digit is not a number.
WEQBARCODE_EXPORT std::string ElementWidths(const std::string& Digit, const std::string& Set);
/// 1-based position of Kind in GroupKinds, or -1.
WEQBARCODE_EXPORT std::int32_t GroupKindIndex(std::uint8_t Kind);

// --- Layout ----------------------------------------------------------------

/// Every pixel quantity of one symbol, from the width offered and the height
/// asked for. All values are whole pixels, fractions truncated toward zero.
struct TEan13Layout {
    std::int32_t ModuleWidth;    ///< m = max(1, Width div 113)
    std::int32_t SymbolWidth;    ///< 113 m
    std::int32_t DrawingHeight;  ///< Hp = max(18 m, Height)
    std::int32_t DigitBoxWidth;  ///< 6 m
    std::int32_t DigitBoxHeight; ///< trunc(8.33 m)
    std::int64_t ShortBarHeight; ///< Hp - m - digit box height
    std::int64_t GuardBarHeight; ///< short bar height + 5 m
    std::int64_t DigitBoxTop;    ///< short bar height + m
};
/// The layout of a symbol for the width offered and the height asked for.
WEQBARCODE_EXPORT TEan13Layout Ean13Layout(std::int32_t Width, std::int32_t Height);

/// One bar of the symbol, in modules: 1-based start module and width.
struct TEan13Bar {
    /// 1-based start module, and width in modules.
    ///@{
    std::int32_t StartModule, Modules;
    ///@}
    bool Guard; ///< guard bars are five modules longer
};
/// The two bars of one bar group starting at module StartModule: a guard
/// (GroupKindIndex 1), a left-half digit (2: space, bar, space, bar) or a
/// right-half digit (3: bar, space, bar, space) with its four element widths.
/// Raises Exception for a digit group without four widths.
WEQBARCODE_EXPORT std::array<TEan13Bar, 2> GroupBars(std::int32_t KindIndex, const std::string& Widths, std::int32_t StartModule);
/// The 30 bars of GTIN from left to right, as the drawing lays them out.
/// Raises EConvertError (or Exception for a GTIN shorter than 13) where the
/// drawing would fail.
WEQBARCODE_EXPORT std::array<TEan13Bar, 30> Ean13Bars(const std::string& GTIN);

// --- Drawing ---------------------------------------------------------------

///@{
/// Drawing parameters of the last symbol, shared by the helpers below.
extern WEQBARCODE_EXPORT std::int32_t BarTop;
extern WEQBARCODE_EXPORT std::int32_t DigitBoxWidth;
extern WEQBARCODE_EXPORT std::int32_t DigitBoxHeight;
///@}

/// Draws the symbol for GTIN (13 digits; later characters ignored) from the
/// canvas origin. Returns false, with the whole symbol area covered in
/// BackgroundColor, when any Exception was raised on the way: a GTIN that is
/// short or holds a non-digit, or a surface or digit-painter error. Errors of
/// other classes pass, and so does one raised while covering the area.
WEQBARCODE_EXPORT bool DrawEan13(const std::string& GTIN, TCanvas& Canvas, std::int32_t Width, std::int32_t Height,
               TColor BackgroundColor, TColor BarColor, TColor FontColor, bool FillBackground,
               bool DrawRightDelimiter);

/// One guard (kind 0) or one symbol character (kinds 1 and 2, with its digit
/// text and element widths) starting at module StartModule.
WEQBARCODE_EXPORT void DrawBarGroup(TCanvas& Canvas, const std::string& Digit, const std::string& Widths, std::uint8_t Kind,
                  std::int32_t StartModule, std::int32_t ModuleWidth, long double BarHeight, TColor BarColor,
                  TColor FontColor);
/// One bar of Modules modules from StartModule, from BarTop down to BarTop + BarHeight.
WEQBARCODE_EXPORT void DrawBar(TCanvas& Canvas, std::int32_t StartModule, std::int32_t ModuleWidth, std::int32_t Modules,
             long double BarHeight, TColor Color);

} // namespace WEQEan
