// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>

/// \file
/// \ingroup legacy
/// The colours of the legacy interface (TColor) and their names.

/// A colour in the toolkit's packed form: low byte red, then green, then blue.
/// A high byte of 0xFF names a system colour by its number in the low byte; it is
/// resolved against the application palette only when something is drawn with it.
using TColor = std::uint32_t;

/// The high byte that marks a system colour; the low byte is its number.
inline constexpr TColor clSystemColor = 0xFF000000u;

/// \name Plain colours
/// The toolkit's named colours, as TColor (low byte red).
///@{
inline constexpr TColor clBlack = 0x000000u; ///< Black, 0x000000.
inline constexpr TColor clMaroon = 0x000080u; ///< Maroon, 0x000080.
inline constexpr TColor clGreen = 0x008000u; ///< Green, 0x008000.
inline constexpr TColor clOlive = 0x008080u; ///< Olive, 0x008080.
inline constexpr TColor clNavy = 0x800000u; ///< Navy, 0x800000.
inline constexpr TColor clPurple = 0x800080u; ///< Purple, 0x800080.
inline constexpr TColor clTeal = 0x808000u; ///< Teal, 0x808000.
inline constexpr TColor clGray = 0x808080u; ///< Grey, 0x808080.
inline constexpr TColor clSilver = 0xC0C0C0u; ///< Silver, 0xC0C0C0.
inline constexpr TColor clRed = 0x0000FFu; ///< Red, 0x0000FF.
inline constexpr TColor clLime = 0x00FF00u; ///< Lime, 0x00FF00.
inline constexpr TColor clYellow = 0x00FFFFu; ///< Yellow, 0x00FFFF.
inline constexpr TColor clBlue = 0xFF0000u; ///< Blue, 0xFF0000.
inline constexpr TColor clFuchsia = 0xFF00FFu; ///< Fuchsia, 0xFF00FF.
inline constexpr TColor clAqua = 0xFFFF00u; ///< Aqua, 0xFFFF00.
inline constexpr TColor clWhite = 0xFFFFFFu; ///< White, 0xFFFFFF.

inline constexpr TColor clMoneyGreen = 0xC0DCC0u; ///< Money green, 0xC0DCC0.
inline constexpr TColor clSkyBlue = 0xF0CAA6u; ///< Sky blue, 0xF0CAA6.
inline constexpr TColor clCream = 0xF0FBFFu; ///< Cream, 0xF0FBFF.
inline constexpr TColor clMedGray = 0xA4A0A0u; ///< Medium grey, 0xA4A0A0.
///@}

/// \name System colours
/// The palette's roles, resolved against the application palette only when
/// something is drawn, so that a form follows the desktop's colours.
///@{
inline constexpr TColor clScrollBar = clSystemColor | 0; ///< The palette's scroll bar colour (system colour 0).
inline constexpr TColor clBackground = clSystemColor | 1; ///< The palette's desktop background colour (system colour 1).
inline constexpr TColor clActiveCaption = clSystemColor | 2; ///< The palette's active caption colour (system colour 2).
inline constexpr TColor clInactiveCaption = clSystemColor | 3; ///< The palette's inactive caption colour (system colour 3).
inline constexpr TColor clMenu = clSystemColor | 4; ///< The palette's menu colour (system colour 4).
inline constexpr TColor clWindow = clSystemColor | 5; ///< The palette's window colour (system colour 5).
inline constexpr TColor clWindowFrame = clSystemColor | 6; ///< The palette's window frame colour (system colour 6).
inline constexpr TColor clMenuText = clSystemColor | 7; ///< The palette's menu text colour (system colour 7).
inline constexpr TColor clWindowText = clSystemColor | 8; ///< The palette's window text colour (system colour 8).
inline constexpr TColor clCaptionText = clSystemColor | 9; ///< The palette's caption text colour (system colour 9).
inline constexpr TColor clActiveBorder = clSystemColor | 10; ///< The palette's active border colour (system colour 10).
inline constexpr TColor clInactiveBorder = clSystemColor | 11; ///< The palette's inactive border colour (system colour 11).
inline constexpr TColor clAppWorkSpace = clSystemColor | 12; ///< The palette's application work space colour (system colour 12).
inline constexpr TColor clHighlight = clSystemColor | 13; ///< The palette's highlight colour (system colour 13).
inline constexpr TColor clHighlightText = clSystemColor | 14; ///< The palette's highlight text colour (system colour 14).
inline constexpr TColor clBtnFace = clSystemColor | 15; ///< The palette's button face colour (system colour 15).
inline constexpr TColor clBtnShadow = clSystemColor | 16; ///< The palette's button shadow colour (system colour 16).
inline constexpr TColor clGrayText = clSystemColor | 17; ///< The palette's disabled (grey) text colour (system colour 17).
inline constexpr TColor clBtnText = clSystemColor | 18; ///< The palette's button text colour (system colour 18).
inline constexpr TColor clInactiveCaptionText = clSystemColor | 19; ///< The palette's inactive caption text colour (system colour 19).
inline constexpr TColor clBtnHighlight = clSystemColor | 20; ///< The palette's button highlight colour (system colour 20).
inline constexpr TColor cl3DDkShadow = clSystemColor | 21; ///< The palette's 3-D dark shadow colour (system colour 21).
inline constexpr TColor cl3DLight = clSystemColor | 22; ///< The palette's 3-D light colour (system colour 22).
inline constexpr TColor clInfoText = clSystemColor | 23; ///< The palette's tooltip text colour (system colour 23).
inline constexpr TColor clInfoBk = clSystemColor | 24; ///< The palette's tooltip background colour (system colour 24).
inline constexpr TColor clHotLight = clSystemColor | 26; ///< The palette's hot-tracked item colour (system colour 26).
inline constexpr TColor clGradientActiveCaption = clSystemColor | 27; ///< The palette's gradient active caption colour (system colour 27).
inline constexpr TColor clGradientInactiveCaption = clSystemColor | 28; ///< The palette's gradient inactive caption colour (system colour 28).
inline constexpr TColor clMenuHighlight = clSystemColor | 29; ///< The palette's menu highlight colour (system colour 29).
inline constexpr TColor clMenuBar = clSystemColor | 30; ///< The palette's menu bar colour (system colour 30).
///@}

/// Whether Color names a system colour rather than an RGB value.
inline constexpr bool IsSystemColor(TColor Color) { return (Color & 0xFF000000u) == clSystemColor; }
