// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

/// \file
/// \ingroup legacy
/// A whole symbol as numbers: every bar's rectangle and every character's box,
/// in the order in which they are drawn, at a given module width and height.
/// Every output (a widget's paint, an image, SVG, PDF, a printer) draws from
/// this one description; nothing here touches a surface.

#include "Exceptions.h"
#include "Export.h"

#include <cstdint>
#include <string>
#include <vector>

namespace WEQEan {

/// The symbologies of the EAN/UPC family; any of them may carry a 2- or 5-digit add-on.
enum class TSymbology : std::uint8_t {
    Ean13, ///< EAN-13, 13 digits: the GTIN-13 of retail goods and books.
    Ean8,  ///< EAN-8, 8 digits: small packages.
    UpcA,  ///< UPC-A, 12 digits: North America's GTIN-12.
    UpcE   ///< UPC-E, a UPC-A's zeros suppressed into six digits under the bars.
};

///@{
/// The EAN-13 symbol's width in modules, quiet zones included; its height in
/// modules at the nominal proportions, and the least height drawn.
inline constexpr std::int32_t Ean13Modules = 113;
inline constexpr std::int32_t Ean13RatioHeightModules = 79;
inline constexpr std::int32_t Ean13MinimumHeightModules = 18;
///@}

/// Horizontal alignment of a character in its box: 0 left, 1 centre, 2 right.
///@{
inline constexpr std::uint8_t AlignLeft = 0, AlignCentre = 1, AlignRight = 2;
///@}

/// One thing drawn: a bar, or a character in its box.
struct TSymbolElement {
    /// What the element is.
    enum TKind : std::uint8_t {
        Bar, ///< A bar, drawn in the bar colour.
        Text ///< A character, drawn in the font colour.
    };
    TKind Kind; ///< bar or character
    /// The rectangle in pixels (or design units), left and top inclusive,
    /// width and height whole: a bar's area, or a character's box.
    ///@{
    std::int32_t Left, Top, Width, Height;
    ///@}
    /// Bars: 1-based start module and width in modules; guard bars run five
    /// modules longer than the bars of the digits.
    ///@{
    std::int32_t StartModule = 0, Modules = 0;
    bool Guard = false;
    ///@}
    /// Text: the character ('0'..'9', '<', '>'; in the number line above the
    /// bars also '-' and the letters of "ISBN", "ISMN" and "ISSN", and 'X')
    /// and its alignment in the box.
    ///@{
    char Ch = 0;
    std::uint8_t Alignment = AlignCentre;
    ///@}

    /// Equal in every field: the tests compare layouts element by element.
    ///@{
    bool operator==(const TSymbolElement& O) const
    {
        return Kind == O.Kind && Left == O.Left && Top == O.Top && Width == O.Width && Height == O.Height &&
               StartModule == O.StartModule && Modules == O.Modules && Guard == O.Guard && Ch == O.Ch &&
               Alignment == O.Alignment;
    }
    bool operator!=(const TSymbolElement& O) const { return !(*this == O); }
    ///@}
};

/// A whole symbol as numbers, in pixels (or design units) from its top-left
/// corner: what every output draws from.
struct TSymbol {
    std::int32_t ModuleWidth = 0;    ///< m, whole pixels per module
    std::int32_t Modules = 0;        ///< the symbol's width in modules, quiet zones included
    std::int32_t Width = 0;          ///< Modules x m
    std::int32_t Height = 0;         ///< the drawing height, at least 18 m
    std::int32_t BarTop = 0;         ///< where every bar starts
    std::int32_t ShortBarHeight = 0; ///< bars of the digits end here
    std::int32_t GuardBarHeight = 0; ///< guard bars end here
    std::int32_t DigitBoxTop = 0;    ///< one module below the short bars
    std::int32_t DigitBoxWidth = 0;  ///< 6 m
    std::int32_t DigitBoxHeight = 0; ///< trunc(8.33 m)
    /// Background first, then these, in this order: a character is drawn
    /// before the bars of its own digit.
    std::vector<TSymbolElement> Elements;
    TSymbology Symbology = TSymbology::Ean13; ///< what the symbol is
    /// Modules before the first bar and after the last one (the add-on's, with one).
    ///@{
    std::int32_t LeftQuietZone = 0, RightQuietZone = 0;
    ///@}
    /// The add-on's first module (1-based) and its digits; 0 without one.
    ///@{
    std::int32_t AddOnStart = 0, AddOnDigits = 0;
    ///@}

    /// The number line above the bars (a book's "ISBN 978-..."): the size of
    /// each of its characters' boxes, 0 without one. Its characters stand on
    /// one baseline, the line's ink fitted to the boxes, which stand a module
    /// below the symbol's top and a module above BarTop; without a line
    /// BarTop is 0.
    ///@{
    std::int32_t LineBoxWidth = 0, LineBoxHeight = 0;
    ///@}

    /// The delimiter '>' or null when it is not drawn.
    const TSymbolElement* Delimiter() const;
    /// Whether E is a character of the number line.
    bool InLine(const TSymbolElement& E) const { return E.Kind == TSymbolElement::Text && E.Top < BarTop; }
};

/// The EAN-13 symbol of GTIN (13 digits; later characters are ignored) for the
/// width offered and the height asked for, with or without the '>' in the right
/// quiet zone. Raises EConvertError for a non-digit and Exception for a GTIN
/// shorter than 13 characters, where the drawing of it fails.
WEQBARCODE_EXPORT TSymbol DescribeEan13(const std::string& GTIN, std::int32_t Width, std::int32_t Height,
                                        bool DrawRightDelimiter);

/// Where files draw the '>': square, as wide as its box, with its tip on the
/// symbol's right edge and its top on the digits' top. Inside the right quiet
/// zone, clear of the guard bars, nothing outside the symbol.
WEQBARCODE_EXPORT TSymbolElement FileDelimiterBox(const TSymbol& Symbol);

} // namespace WEQEan
