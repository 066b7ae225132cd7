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
    if (Set == "A")
        Column = &WidthsSetAC;
    else if (Set == "B")
        Column = &WidthsSetB;
    else if (Set == "C")
        Column = &WidthsSetAC;
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

} // namespace WEQEan
