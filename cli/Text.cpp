// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "Text.h"

#include <algorithm>

namespace WEQCli {

std::size_t PrintableAt(std::string_view Text, std::size_t At)
{
    const auto B = static_cast<unsigned char>(Text[At]);
    if (B < 0x80)
        return Printable(B) ? 1 : 0;
    const std::size_t N = B >= 0xC2 && B <= 0xDF ? 2 : B >= 0xE0 && B <= 0xEF ? 3 : B >= 0xF0 && B <= 0xF4 ? 4 : 0;
    if (N == 0 || At + N > Text.size())
        return 0;
    char32_t C = B & (0xFF >> (N + 1));
    for (std::size_t K = 1; K < N; ++K) {
        const auto Next = static_cast<unsigned char>(Text[At + K]);
        if ((Next & 0xC0) != 0x80)
            return 0;
        C = C << 6 | (Next & 0x3F);
    }
    const bool Overlong = (N == 3 && C < 0x800) || (N == 4 && (C < 0x10000 || C > 0x10FFFF));
    const bool Surrogate = C >= 0xD800 && C <= 0xDFFF;
    // C1 controls, and format characters that reorder or hide what follows.
    const bool Hidden = C < 0xA0 || (C >= 0x200B && C <= 0x200F) || (C >= 0x2028 && C <= 0x202E) ||
                        (C >= 0x2060 && C <= 0x206F) || C == 0xFEFF || (C >= 0xFFF9 && C <= 0xFFFB);
    return Overlong || Surrogate || Hidden ? 0 : N;
}

std::size_t FirstUnprintable(std::string_view Text)
{
    for (std::size_t I = 0; I < Text.size();) {
        if (Text[I] == '\t') {
            ++I;
        } else if (const std::size_t N = PrintableAt(Text, I)) {
            I += N;
        } else {
            return I + 1;
        }
    }
    return 0;
}

std::string Escape(std::string_view Text)
{
    static const char Hex[] = "0123456789abcdef";
    std::string Out;
    Out.reserve(Text.size());
    std::size_t Run = 0; // the start of the printable bytes not yet copied
    for (std::size_t I = 0; I < Text.size();) {
        if (const std::size_t N = PrintableAt(Text, I)) {
            I += N;
            continue;
        }
        const auto Byte = static_cast<unsigned char>(Text[I]);
        const char Code[] = {'\\', 'x', Hex[Byte >> 4], Hex[Byte & 15]};
        Out.append(Text.data() + Run, I - Run).append(Code, sizeof Code);
        Run = ++I;
    }
    return Out.append(Text.data() + Run, Text.size() - Run);
}

std::string Quote(std::string_view Text, std::size_t Max)
{
    // Appended rather than concatenated: GCC 12 at -O3 warns falsely on '+' here.
    std::string Out(1, '\'');
    if (Text.size() <= Max)
        return Out.append(Escape(Text)).append(1, '\'');
    return Out.append(Escape(Text.substr(0, Max))).append("...'");
}

std::string QuoteAround(std::string_view Text, std::size_t Position, std::size_t Max)
{
    if (Text.size() <= Max || Position <= Max / 2)
        return Quote(Text, Max);
    // The byte a little right of the middle, so that what led to it shows.
    const std::size_t Begin = std::min(Position - 1 - Max / 2, Text.size() - Max);
    const bool CutRight = Begin + Max < Text.size();
    return "'..." + Escape(Text.substr(Begin, Max)) + (CutRight ? "...'" : "'");
}

} // namespace WEQCli
