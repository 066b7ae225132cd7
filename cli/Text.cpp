// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "Text.h"

#include <algorithm>

namespace WEQCli {

std::string Escape(std::string_view Text)
{
    static const char Hex[] = "0123456789abcdef";
    std::string Out;
    Out.reserve(Text.size());
    std::size_t Run = 0; // the start of the printable bytes not yet copied
    for (std::size_t I = 0; I < Text.size(); ++I) {
        const auto Byte = static_cast<unsigned char>(Text[I]);
        if (Printable(Byte))
            continue;
        const char Code[] = {'\\', 'x', Hex[Byte >> 4], Hex[Byte & 15]};
        Out.append(Text.data() + Run, I - Run).append(Code, sizeof Code);
        Run = I + 1;
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
