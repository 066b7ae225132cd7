// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

/// \file
/// \ingroup legacy
/// The human-readable digits: the embedded OCR-B font and its registration, the
/// digit painter that fits the font height to a box by measuring rendered ink,
/// and the built-in vector outlines used when the font is not available.

#include "../surface/Canvas.h"
#include "../ean/Export.h"

#include <QPoint>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace WEQOcrB {

// --- Font provisioning -----------------------------------------------------

/// True once the embedded font is registered for this process under the family
/// "OCRB". Set when the application object is created; false means the digits
/// come from the built-in outlines.
extern WEQBARCODE_EXPORT bool OcrBFontLoaded;
/// The registration id of the embedded font, -1 when none.
extern WEQBARCODE_EXPORT int OcrBFontHandle;
/// Registers the embedded font from memory for this process alone and tells
/// whether the family "OCRB" is now usable. Never raises.
WEQBARCODE_EXPORT bool LoadOcrBFont();

// --- Digit painter ---------------------------------------------------------

/// Draws the first character of Text into the box (Left, Top, Width, Height):
/// with the fitted OCR-B font when OcrBFontLoaded, else from the outlines.
/// Alignment 0 is left, 2 right, anything else centre (font path only).
WEQBARCODE_EXPORT void DrawOcrBChar(const std::string& Text, TCanvas& Canvas, std::int32_t Left, std::int32_t Top,
                  std::int32_t Width, std::int32_t Height, std::uint8_t Alignment, TColor Color);
/// The font path: places the character by its measured ink box, ink top on Top.
/// Raises EConvertError for a character other than '0'..'9' and '>'.
WEQBARCODE_EXPORT void DrawFontChar(const std::string& Text, TCanvas& Canvas, std::int32_t Left, std::int32_t Top,
                  std::int32_t Width, std::int32_t Height, std::uint8_t Alignment, TColor Color);

/// A fitted font height, and one character's ink box at it, in pixels from the box.
struct TFitResult {
    /// The font height, then the character's ink left, top, width and height.
    ///@{
    std::int32_t Height, InkLeft, InkTop, InkWidth, InkHeight;
    ///@}
};
/// The font height at which the ink of all eleven characters fits a Width x
/// Height box, and the ink box of Ch at that height. One-key cache.
WEQBARCODE_EXPORT TFitResult FitFontHeight(const std::string& Ch, const std::string& FontName, std::int32_t Width,
                         std::int32_t Height);

/// The fitting cache (key and result) and the ink tables, per character slot:
/// '0'..'9' are slots 0..9, '>' is slot 10.
///@{
extern WEQBARCODE_EXPORT std::string FitCacheFontName;
extern WEQBARCODE_EXPORT std::int32_t FitCacheWidth;
extern WEQBARCODE_EXPORT std::int32_t FitCacheHeight;
extern WEQBARCODE_EXPORT std::int32_t FittedHeight;
extern WEQBARCODE_EXPORT std::array<std::int32_t, 11> InkLeft;
extern WEQBARCODE_EXPORT std::array<std::int32_t, 11> InkTop;
extern WEQBARCODE_EXPORT std::array<std::int32_t, 11> InkWidth;
extern WEQBARCODE_EXPORT std::array<std::int32_t, 11> InkHeight;
///@}

// --- Vector outlines -------------------------------------------------------

/// Each painter scales its glyph's cell into the box and fills it, counters
/// and all, with one winding-rule polygon in Color (outline and fill). They
/// take no alignment.
///@{
WEQBARCODE_EXPORT void DrawOcrBGlyph0(TCanvas& Canvas, std::int32_t Left, std::int32_t Top, std::int32_t Width, std::int32_t Height, TColor Color);
WEQBARCODE_EXPORT void DrawOcrBGlyph1(TCanvas& Canvas, std::int32_t Left, std::int32_t Top, std::int32_t Width, std::int32_t Height, TColor Color);
WEQBARCODE_EXPORT void DrawOcrBGlyph2(TCanvas& Canvas, std::int32_t Left, std::int32_t Top, std::int32_t Width, std::int32_t Height, TColor Color);
WEQBARCODE_EXPORT void DrawOcrBGlyph3(TCanvas& Canvas, std::int32_t Left, std::int32_t Top, std::int32_t Width, std::int32_t Height, TColor Color);
WEQBARCODE_EXPORT void DrawOcrBGlyph4(TCanvas& Canvas, std::int32_t Left, std::int32_t Top, std::int32_t Width, std::int32_t Height, TColor Color);
WEQBARCODE_EXPORT void DrawOcrBGlyph5(TCanvas& Canvas, std::int32_t Left, std::int32_t Top, std::int32_t Width, std::int32_t Height, TColor Color);
WEQBARCODE_EXPORT void DrawOcrBGlyph6(TCanvas& Canvas, std::int32_t Left, std::int32_t Top, std::int32_t Width, std::int32_t Height, TColor Color);
WEQBARCODE_EXPORT void DrawOcrBGlyph7(TCanvas& Canvas, std::int32_t Left, std::int32_t Top, std::int32_t Width, std::int32_t Height, TColor Color);
WEQBARCODE_EXPORT void DrawOcrBGlyph8(TCanvas& Canvas, std::int32_t Left, std::int32_t Top, std::int32_t Width, std::int32_t Height, TColor Color);
WEQBARCODE_EXPORT void DrawOcrBGlyph9(TCanvas& Canvas, std::int32_t Left, std::int32_t Top, std::int32_t Width, std::int32_t Height, TColor Color);
WEQBARCODE_EXPORT void DrawOcrBGlyphDelimiter(TCanvas& Canvas, std::int32_t Left, std::int32_t Top, std::int32_t Width, std::int32_t Height, TColor Color);
///@}

/// The surface points, contour by contour, that the painter of Ch ('0'..'9' or
/// '>') passes to its polygon call; empty for any other character.
WEQBARCODE_EXPORT std::vector<std::vector<QPoint>> OcrBGlyphPoints(char Ch, std::int32_t Left, std::int32_t Top, std::int32_t Width,
                                                 std::int32_t Height);

} // namespace WEQOcrB
