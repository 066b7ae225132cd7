// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "ean/SystemColors_p.h"

#include <array>
#include <atomic>

namespace WEQEan {

namespace {

// System colour numbers 0..30 as a desktop shows them by default; numbers the
// table does not know resolve to black, as the platform's own lookup does.
constexpr std::array<TColor, 31> Classic{
    0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000, 0x000000, 0x000000, 0xB4B4B4,
    0xFCF7F4, 0xABABAB, 0xFF9933, 0xFFFFFF, 0xF0F0F0, 0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969,
    0xE3E3E3, 0x000000, 0xE1FFFF, 0x000000, 0xCC6600, 0xEAD1B9, 0xF2E4D7, 0xFF9933, 0xF0F0F0,
};

std::atomic<TSystemColorResolver> Resolver{nullptr};

} // namespace

TColor ClassicSystemColor(TColor Index) { return Index < Classic.size() ? Classic[Index] : clBlack; }

TColor ResolveColor(TColor Color)
{
    if ((Color & 0xFF000000u) != clSystemColor)
        return Color & 0x00FFFFFFu;
    if (const TSystemColorResolver R = Resolver.load())
        return R(Color);
    return (Color & 0x00FFFF00u) != 0 ? clBlack : ClassicSystemColor(Color & 0xFFu);
}

std::uint32_t PixelOf(TColor Color)
{
    const TColor Rgb = ResolveColor(Color);
    return 0xFF000000u | ((Rgb & 0xFFu) << 16) | (Rgb & 0xFF00u) | ((Rgb >> 16) & 0xFFu);
}

void InstallSystemColorResolver(TSystemColorResolver R) { Resolver.store(R); }

} // namespace WEQEan
