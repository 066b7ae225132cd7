// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// The character-set tables of the family and the lookups over them.

#include "ean/Core_p.h"
#include "ean/WEQEan.h"

namespace WEQEan {

const std::array<const char*, 10> ParityPatterns{
    "AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB", "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA",
};

const std::array<const char*, 10> WidthsSetAC{
    "3211", "2221", "2122", "1411", "1132", "1231", "1114", "1312", "1213", "3112",
};

const std::array<const char*, 10> WidthsSetB{
    "1123", "1222", "2212", "1141", "2311", "1321", "4111", "2131", "3121", "2113",
};

// The sets of a UPC-E's six digits for number system 0, by check digit;
// number system 1 takes the other set throughout.
const std::array<const char*, 10> UpcEParities{
    "BBBAAA", "BBABAA", "BBAABA", "BBAAAB", "BABBAA", "BAABBA", "BAAABB", "BABABA", "BABAAB", "BAABAB",
};

// A 2-digit add-on's sets by its value mod 4; a 5-digit one's by its checksum.
const std::array<const char*, 4> AddOn2Parities{"AA", "AB", "BA", "BB"};
const std::array<const char*, 10> AddOn5Parities{
    "BBAAA", "BABAA", "BAABA", "BAAAB", "ABBAA", "AABBA", "AAABB", "ABABA", "ABAAB", "AABAB",
};

std::string ParityPattern(const std::string& GTIN)
{
    const std::int32_t Digit = StrToInt(GTIN.substr(0, 1));
    if (Digit < 0 || Digit > 9)
        return {};
    return ParityPatterns[std::size_t(Digit)];
}

std::string ElementWidths(const std::string& Digit, const std::string& Set)
{
    const std::array<const char*, 10>* Column = nullptr;
    if (Set == "A" || Set == "C")
        Column = &WidthsSetAC;
    else if (Set == "B")
        Column = &WidthsSetB;
    else
        return {};
    const std::int32_t Value = StrToInt(Digit);
    if (Value < 0 || Value > 9)
        return {};
    return (*Column)[std::size_t(Value)];
}

std::int32_t GroupKindIndex(std::uint8_t Kind)
{
    for (std::size_t I = 0; I < GroupKinds.size(); ++I)
        if (GroupKinds[I] == Kind)
            return std::int32_t(I + 1);
    return -1;
}

std::string UpcEParity(char NumberSystem, char CheckDigit)
{
    if ((NumberSystem != '0' && NumberSystem != '1') || !IsDigit(CheckDigit))
        return {};
    std::string P = UpcEParities[std::size_t(CheckDigit - '0')];
    if (NumberSystem == '1')
        for (char& Ch : P)
            Ch = Ch == 'A' ? 'B' : 'A';
    return P;
}

std::string AddOnParity(const std::string& AddOn)
{
    if (FirstNonDigit(AddOn))
        return {};
    if (AddOn.size() == 2)
        return AddOn2Parities[std::size_t((AddOn[0] - '0') * 10 + (AddOn[1] - '0')) % 4];
    if (AddOn.size() != 5)
        return {};
    // Weights 3 and 9 alternating from the left.
    int Sum = 0;
    for (std::size_t I = 0; I < 5; ++I)
        Sum += (AddOn[I] - '0') * (I % 2 == 0 ? 3 : 9);
    return AddOn5Parities[std::size_t(Sum % 10)];
}

} // namespace WEQEan
