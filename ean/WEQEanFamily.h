// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

/// \file
/// \ingroup legacy
/// The EAN/UPC family beside EAN-13: EAN-8, UPC-A, UPC-E and the 2- and
/// 5-digit add-ons. A text is read for a symbology, strictly (with the reason
/// for a rejection) or leniently (completed as the EAN-13 control completes
/// its GTIN); a reading that holds is described as a symbol and drawn.
/// Everything but DrawSymbol is plain arithmetic on strings and numbers.
/// DrawEan13 and TWEQBarCode stay EAN-13 only.

#include "WEQEanSymbol.h"
#include "Colors.h"
#include "Export.h"

#include <cstdint>
#include <string>
#include <vector>

class TCanvas;

namespace WEQEan {

/// Modules between the main symbol's last bar and the add-on's first: at
/// least the main symbol's right quiet zone (7; UPC-A 9), at most 12.
///@{
inline constexpr std::int32_t MinAddOnGap = 7, MaxAddOnGap = 12, DefaultAddOnGap = 9;
///@}

/// What a text says for one symbology: the digits the symbol carries, or why
/// it cannot be drawn. Read makes them; only what it gives is drawn.
struct WEQBARCODE_EXPORT TEanReading {
    TSymbology Symbology = TSymbology::Ean13; ///< the symbology read for
    /// The symbol's digits, check digit included: EAN-13 13, EAN-8 8, UPC-A 12,
    /// UPC-E 8 (number system, the six digits under the bars, check digit).
    std::string Data;
    std::string AddOn; ///< empty, or 2 or 5 digits
    /// Empty when the reading holds (only Read makes one that does);
    /// otherwise which position and which rule.
    std::string Error = "nothing has been read";
    /// The 1-based position (in characters) the error is about, in the text
    /// or (ErrorInAddOn) in the add-on; 0 when it is about the length or the
    /// whole number.
    ///@{
    std::int32_t ErrorPosition = 0;
    bool ErrorInAddOn = false;
    ///@}
    /// The number printed above the bars of a book's, a serial's or printed
    /// music's symbol ("ISBN 978-3-16-148410-0"); empty for none.
    std::string Line;
    /// What a reading that holds did not take as written, a sentence each:
    /// what completion changed, a text that reads as two numbers, an option
    /// the text overrides.
    std::vector<std::string> Warnings;

    /// The reading holds: the symbol can be drawn.
    bool Valid() const { return Error.empty(); }
    /// The GTIN the symbol carries: EAN-13 13 digits, EAN-8 8, UPC-A 12 and
    /// UPC-E 12 (its expansion); empty when the reading does not hold.
    std::string Gtin() const;
    /// "UPC-E 04252614 +12": the symbology's name, the digits and the add-on.
    std::string Title() const;
};

/// What a text can be read as: a symbology of the family; Auto, the symbol
/// that carries a GTIN of 8, 12, 13 or 14 digits, or the book number the text
/// is written as; or a book's (ISBN), printed music's (ISMN) or serial's
/// (ISSN) number, each an EAN-13 with the number printed above its bars.
/// The first four are TSymbology's.
enum class TKind : std::uint8_t {
    Ean13, ///< EAN-13
    Ean8,  ///< EAN-8
    UpcA,  ///< UPC-A
    UpcE,  ///< UPC-E
    Auto,  ///< whichever the text's GTIN or book number is written as
    Isbn,  ///< a book's number, ISBN-13 or ISBN-10
    Ismn,  ///< printed music's number
    Issn   ///< a serial's number
};
/// The number of kinds: TKind's values are 0 .. KindCount - 1.
inline constexpr std::size_t KindCount = 8;
/// The kind that reads for a symbology of the family.
inline constexpr TKind KindOf(TSymbology Symbology) { return TKind(Symbology); }

/// The kinds' names: Name as a command line or a file names it ("ean13"),
/// Title as people do ("EAN-13").
struct TKindName {
    TKind Kind;        ///< the kind named
    const char* Name;  ///< "ean13", "isbn"
    const char* Title; ///< "EAN-13", "ISBN"
};
/// KindCount entries, in the enumeration's order.
WEQBARCODE_EXPORT const TKindName* KindNames();
/// The kind of a name, in any case; false for none.
WEQBARCODE_EXPORT bool KindNamed(const std::string& Name, TKind& Kind);

/// How Read takes a text beside the kind.
struct TReadOptions {
    /// Completion, for the family's symbologies (and Auto's text that holds
    /// no GTIN, as EAN-13): only the first digits count, other characters
    /// become '0', the check digit is computed afresh, and each change is a
    /// warning. Book numbers are always read as they are.
    bool Complete = false;
    /// Empty for none, else 2 or 5 digits.
    std::string AddOn;
    /// An ISSN's 2-digit variant (price or issue code); empty for 00. A
    /// 13-digit text carries its own.
    std::string IssnVariant;
};

/// The one reader: the text (UTF-8, a character a position) as Kind takes
/// it. Spaces around it are ignored, and single spaces between digits as
/// printed under a symbol ("4 006381 333931", "9638 5081"); book numbers take
/// hyphens and single spaces between their digits and a label ("ISBN",
/// "ISBN-13", "ISSN", "ISMN", any case, an optional colon). Anything else
/// that is not exactly what Kind takes is refused with its reason and the
/// position, in characters, it is about; empty text is refused.
WEQBARCODE_EXPORT TEanReading Read(TKind Kind, const std::string& Text, const TReadOptions& Options = {});

/// The UPC-A (12 digits, check digit computed) of a UPC-E of 6 digits, 7 with
/// its number system or 8 with its check digit; empty for anything else (a
/// non-digit, a number system other than 0 or 1, a wrong check digit).
WEQBARCODE_EXPORT std::string ExpandUpcE(const std::string& UpcE);
/// The 8-digit UPC-E of a UPC-A of 11 digits, or 12 with the right check
/// digit, with number system 0 or 1; empty when zero suppression has no form
/// for it.
WEQBARCODE_EXPORT std::string SuppressUpcA(const std::string& UpcA);

/// The character sets ("A" odd, "B" even) of a UPC-E's six digits, chosen by
/// its number system and check digit; of an add-on's digits, by its value
/// (2 digits) or its checksum (5 digits). Empty for anything else.
///@{
WEQBARCODE_EXPORT std::string UpcEParity(char NumberSystem, char CheckDigit);
WEQBARCODE_EXPORT std::string AddOnParity(const std::string& AddOn);
///@}

/// The symbol's width in modules, quiet zones included, and its height in
/// modules at GS1's nominal proportions. A symbology outside the enumeration
/// is measured as EAN-13, a gap outside 0 .. MaxAddOnGap as the nearest of them.
///@{
WEQBARCODE_EXPORT std::int32_t SymbolModules(TSymbology Symbology, std::size_t AddOnDigits = 0,
                                             std::int32_t AddOnGap = DefaultAddOnGap);
WEQBARCODE_EXPORT std::int32_t RatioHeightModules(TSymbology Symbology);
///@}
/// The pixels a reading's number line adds above the bars at module width
/// ModuleWidth: its boxes' height and a module above and below them; 0
/// without a line.
WEQBARCODE_EXPORT std::int32_t LineBandHeight(const TEanReading& Reading, std::int32_t ModuleWidth);
/// The least add-on gap the symbology takes: MinAddOnGap, 9 for UPC-A.
WEQBARCODE_EXPORT std::int32_t LeastAddOnGap(TSymbology Symbology);

/// The symbol of a reading that holds, for the width offered (the module
/// width is max(1, Width div SymbolModules)) and the height asked for (at
/// least 18 modules), with or without the quiet-zone marks ('>' after the
/// symbol or its add-on, for EAN-8 also '<' before it; UPC-A and UPC-E
/// without an add-on have none, their outer digits stand there). Raises
/// Exception with the reading's error, or for a gap outside
/// LeastAddOnGap .. MaxAddOnGap. EAN-13
/// without an add-on is DescribeEan13's symbol.
WEQBARCODE_EXPORT TSymbol DescribeSymbol(const TEanReading& Reading, std::int32_t Width, std::int32_t Height,
                                         bool DrawQuietZoneMarks, std::int32_t AddOnGap = DefaultAddOnGap);

/// Draws DescribeSymbol's symbol from the canvas origin as DrawEan13 draws
/// EAN-13 (for an EAN-13 reading without add-on, the same pixels), on any
/// thread and on HiDPI devices in whole device pixels. A reading that does not
/// hold, or any Exception on the way, leaves the symbol area in the background
/// colour and returns false. Does not touch DrawEan13's drawing parameters.
WEQBARCODE_EXPORT bool DrawSymbol(const TEanReading& Reading, TCanvas& Canvas, std::int32_t Width,
                                  std::int32_t Height, TColor BackgroundColor, TColor BarColor, TColor FontColor,
                                  bool FillBackground, bool DrawQuietZoneMarks,
                                  std::int32_t AddOnGap = DefaultAddOnGap);

} // namespace WEQEan
