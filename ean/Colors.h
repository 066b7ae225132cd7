// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>

// A colour in the toolkit's packed form: low byte red, then green, then blue.
// A high byte of 0xFF names a system colour by its number in the low byte; it is
// resolved against the application palette only when something is drawn with it.
using TColor = std::uint32_t;

inline constexpr TColor clSystemColor = 0xFF000000u;

inline constexpr TColor clBlack = 0x000000u;
inline constexpr TColor clMaroon = 0x000080u;
inline constexpr TColor clGreen = 0x008000u;
inline constexpr TColor clOlive = 0x008080u;
inline constexpr TColor clNavy = 0x800000u;
inline constexpr TColor clPurple = 0x800080u;
inline constexpr TColor clTeal = 0x808000u;
inline constexpr TColor clGray = 0x808080u;
inline constexpr TColor clSilver = 0xC0C0C0u;
inline constexpr TColor clRed = 0x0000FFu;
inline constexpr TColor clLime = 0x00FF00u;
inline constexpr TColor clYellow = 0x00FFFFu;
inline constexpr TColor clBlue = 0xFF0000u;
inline constexpr TColor clFuchsia = 0xFF00FFu;
inline constexpr TColor clAqua = 0xFFFF00u;
inline constexpr TColor clWhite = 0xFFFFFFu;

inline constexpr TColor clMoneyGreen = 0xC0DCC0u;
inline constexpr TColor clSkyBlue = 0xF0CAA6u;
inline constexpr TColor clCream = 0xF0FBFFu;
inline constexpr TColor clMedGray = 0xA4A0A0u;

inline constexpr TColor clScrollBar = clSystemColor | 0;
inline constexpr TColor clBackground = clSystemColor | 1;
inline constexpr TColor clActiveCaption = clSystemColor | 2;
inline constexpr TColor clInactiveCaption = clSystemColor | 3;
inline constexpr TColor clMenu = clSystemColor | 4;
inline constexpr TColor clWindow = clSystemColor | 5;
inline constexpr TColor clWindowFrame = clSystemColor | 6;
inline constexpr TColor clMenuText = clSystemColor | 7;
inline constexpr TColor clWindowText = clSystemColor | 8;
inline constexpr TColor clCaptionText = clSystemColor | 9;
inline constexpr TColor clActiveBorder = clSystemColor | 10;
inline constexpr TColor clInactiveBorder = clSystemColor | 11;
inline constexpr TColor clAppWorkSpace = clSystemColor | 12;
inline constexpr TColor clHighlight = clSystemColor | 13;
inline constexpr TColor clHighlightText = clSystemColor | 14;
inline constexpr TColor clBtnFace = clSystemColor | 15;
inline constexpr TColor clBtnShadow = clSystemColor | 16;
inline constexpr TColor clGrayText = clSystemColor | 17;
inline constexpr TColor clBtnText = clSystemColor | 18;
inline constexpr TColor clInactiveCaptionText = clSystemColor | 19;
inline constexpr TColor clBtnHighlight = clSystemColor | 20;
inline constexpr TColor cl3DDkShadow = clSystemColor | 21;
inline constexpr TColor cl3DLight = clSystemColor | 22;
inline constexpr TColor clInfoText = clSystemColor | 23;
inline constexpr TColor clInfoBk = clSystemColor | 24;
inline constexpr TColor clHotLight = clSystemColor | 26;
inline constexpr TColor clGradientActiveCaption = clSystemColor | 27;
inline constexpr TColor clGradientInactiveCaption = clSystemColor | 28;
inline constexpr TColor clMenuHighlight = clSystemColor | 29;
inline constexpr TColor clMenuBar = clSystemColor | 30;

inline constexpr bool IsSystemColor(TColor Color) { return (Color & 0xFF000000u) == clSystemColor; }
