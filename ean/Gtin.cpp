// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// GTIN completion and the one check digit, normaliser and digit test of the family.

#include "ean/Core_p.h"
#include "ean/WEQEan.h"

#include <algorithm>

namespace WEQEan {

namespace {
constexpr std::size_t BodyLength = 12;
} // namespace

std::string Normalized(std::string_view Text, std::size_t Length)
{
    std::string Body(Text.substr(0, Length));
    for (char& Ch : Body)
        if (!IsDigit(Ch))
            Ch = '0';
    Body.insert(0, Length - Body.size(), '0');
    return Body;
}

char Gs1CheckDigit(std::string_view Digits)
{
    // Weights 3, 1, 3, ... from the right: the same digit for a number and
    // for the number with leading zeros.
    int Sum = 0;
    bool Three = true;
    for (auto It = Digits.rbegin(); It != Digits.rend(); ++It, Three = !Three)
        Sum += (IsDigit(*It) ? *It - '0' : 0) * (Three ? 3 : 1);
    return char('0' + (10 - Sum % 10) % 10);
}

std::size_t FirstNonDigit(std::string_view Text)
{
    const auto It = std::find_if(Text.begin(), Text.end(), [](char Ch) { return !IsDigit(Ch); });
    return It == Text.end() ? 0 : std::size_t(It - Text.begin()) + 1;
}

std::string Quoted(char Ch)
{
    if (Ch >= 0x20 && Ch < 0x7F)
        return std::string("'") + Ch + "'";
    static constexpr char Hex[] = "0123456789ABCDEF";
    const auto B = static_cast<unsigned char>(Ch);
    return std::string("byte 0x") + Hex[B >> 4] + Hex[B & 15];
}

std::string PositionText(std::size_t Position) { return "position " + std::to_string(Position); }

std::string NormalizeGTIN(const std::string& Text) { return Normalized(Text, BodyLength); }

std::string GTINCheckDigit(const std::string& Body)
{
    // Weights 1, 3, 1, 3, ... from the left over the first 12 characters: the
    // weights from the right of those characters padded to 12 on the right.
    std::string Twelve = Body.substr(0, BodyLength);
    Twelve.append(BodyLength - Twelve.size(), '0');
    return std::string(1, Gs1CheckDigit(Twelve));
}

std::string CompleteGTIN(const std::string& Text)
{
    std::string Body = NormalizeGTIN(Text);
    Body += Gs1CheckDigit(Body);
    return Body;
}

} // namespace WEQEan
