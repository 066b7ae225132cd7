// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// A system colour (high byte $FF) as the colour it stands for. The core knows
// the classic defaults; a drawing surface, where one is loaded, asks its
// application's palette instead, as a screen would show the colour. Files
// written without one (the command line's) take the defaults. No Qt.

#include "ean/Colors.h"

namespace WEQEan {

// Colour number Index's classic default; black for a number without one.
TColor ClassicSystemColor(TColor Index);

// Any colour as plain RGB (red in the low byte): a system colour through the
// resolver installed, or else its classic default.
TColor ResolveColor(TColor Color);
// The same as a 32-bit pixel, 0xFFRRGGBB.
std::uint32_t PixelOf(TColor Color);

// Installed once by the drawing surface when its library is loaded: the
// application's palette then decides what a system colour is.
using TSystemColorResolver = TColor (*)(TColor SystemColor);
void InstallSystemColorResolver(TSystemColorResolver Resolver);

} // namespace WEQEan
