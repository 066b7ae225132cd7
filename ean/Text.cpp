// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// A text as the readers see it: characters, each with its place and bytes.

#include "ean/Core_p.h"

namespace WEQEan {

namespace {

constexpr char Wide = char(0x80);

// The length of the UTF-8 sequence at S[I], or 1 for a byte that begins none
// (a stray continuation byte, an overlong or cut-short sequence, a surrogate).
std::size_t SequenceLength(std::string_view S, std::size_t I)
{
    const auto B = static_cast<unsigned char>(S[I]);
    const std::size_t N = B < 0x80 ? 1 : B >= 0xC2 && B <= 0xDF ? 2 : B >= 0xE0 && B <= 0xEF ? 3
                                       : B >= 0xF0 && B <= 0xF4 ? 4 : 0;
    if (N <= 1 || I + N > S.size())
        return 1;
    for (std::size_t K = 1; K < N; ++K)
        if ((static_cast<unsigned char>(S[I + K]) & 0xC0) != 0x80)
            return 1;
    const auto C1 = static_cast<unsigned char>(S[I + 1]);
    if ((B == 0xE0 && C1 < 0xA0) || (B == 0xED && C1 >= 0xA0) || (B == 0xF0 && C1 < 0x90) || (B == 0xF4 && C1 >= 0x90))
        return 1;
    return N;
}

} // namespace

TText::TText(std::string_view Utf8)
{
    // At most a character a byte: room for all at once, not grown by doubling.
    Bytes.reserve(Utf8.size());
    Places.reserve(Utf8.size());
    Originals.reserve(Utf8.size());
    for (std::size_t I = 0; I < Utf8.size();) {
        const std::size_t N = SequenceLength(Utf8, I);
        const bool Ascii = static_cast<unsigned char>(Utf8[I]) < 0x80;
        Bytes += Ascii ? Utf8[I] : Wide;
        Places.push_back(std::uint32_t(Places.size() + 1));
        Originals.emplace_back(Utf8.substr(I, N));
        I += N;
    }
}

std::string TText::Quote(std::size_t P) const
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    const std::string& O = Originals[P - 1];
    if (O.size() == 1)
        return Quoted(O[0]); // ASCII, or a lone byte of no character: by its value
    char32_t C = static_cast<unsigned char>(O[0]) & (0xFF >> (O.size() + 1));
    for (std::size_t K = 1; K < O.size(); ++K)
        C = C << 6 | (static_cast<unsigned char>(O[K]) & 0x3F);
    // Controls, spaces and marks that show as nothing or as a plain space
    // (a no-break space pasted from a page) are named by their number.
    const bool Invisible = C < 0xA1 || (C >= 0x2000 && C <= 0x200F) || (C >= 0x2028 && C <= 0x202F) ||
                           (C >= 0x205F && C <= 0x206F) || C == 0x3000 || C == 0xFEFF;
    if (!Invisible)
        return "'" + O + "'";
    std::string Out = "character U+";
    for (int Shift = C > 0xFFFF ? 20 : 12; Shift >= 0; Shift -= 4)
        Out += Hex[C >> Shift & 15];
    return Out;
}

std::string TText::Where(std::size_t P) const { return PositionText(Places[P - 1]); }

TText TText::Trimmed() const
{
    std::size_t B = 0, E = Bytes.size();
    while (B < E && Bytes[B] == ' ')
        ++B;
    while (E > B && Bytes[E - 1] == ' ')
        --E;
    TText T;
    T.Bytes = Bytes.substr(B, E - B);
    T.Places.assign(Places.begin() + std::ptrdiff_t(B), Places.begin() + std::ptrdiff_t(E));
    T.Originals.assign(Originals.begin() + std::ptrdiff_t(B), Originals.begin() + std::ptrdiff_t(E));
    return T;
}

TText TText::DigitsJoined(bool& Joined) const
{
    Joined = false;
    for (std::size_t I = 0; I < Bytes.size(); ++I) {
        const bool Space = Bytes[I] == ' ';
        if (!IsDigit(Bytes[I]) && !Space)
            return *this;
        // A space stands alone, between two digits.
        if (Space && (I == 0 || I + 1 == Bytes.size() || !IsDigit(Bytes[I - 1]) || !IsDigit(Bytes[I + 1])))
            return *this;
        Joined = Joined || Space;
    }
    if (!Joined)
        return *this;
    TText T;
    for (std::size_t I = 0; I < Bytes.size(); ++I)
        if (Bytes[I] != ' ') {
            T.Bytes += Bytes[I];
            T.Places.push_back(Places[I]);
            T.Originals.push_back(Originals[I]);
        }
    return T;
}

std::string TText::Text() const
{
    std::string Out;
    for (const std::string& O : Originals)
        Out += O;
    return Out;
}

} // namespace WEQEan
