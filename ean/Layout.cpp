#include "ean/WEQEan.h"

#include <algorithm>

namespace WEQEan {

namespace {
// 113 modules: quiet zone 11, guard 3, six digits of 7, centre guard 5, six
// digits of 7, guard 3, quiet zone 7.
constexpr std::int32_t SymbolModules = 11 + 3 + 6 * 7 + 5 + 6 * 7 + 3 + 7;
static_assert(SymbolModules == 113);
constexpr std::int32_t MinimumHeightModules = 18;
constexpr long double DigitBoxHeightPerModule = 8.33L;
} // namespace

TEan13Layout Ean13Layout(std::int32_t Width, std::int32_t Height)
{
    TEan13Layout L{};
    L.ModuleWidth = std::max(1, Width / SymbolModules);
    const std::int32_t M = L.ModuleWidth;
    L.SymbolWidth = SymbolModules * M;
    // 18 m cannot overflow: m is at most INT32_MAX / 113.
    L.DrawingHeight = std::max(MinimumHeightModules * M, Height);
    L.DigitBoxWidth = 6 * M;
    L.DigitBoxHeight = static_cast<std::int32_t>(static_cast<long double>(M) * DigitBoxHeightPerModule);
    L.ShortBarHeight = std::int64_t(L.DrawingHeight) - M - L.DigitBoxHeight;
    L.GuardBarHeight = L.ShortBarHeight + std::int64_t(5) * M;
    L.DigitBoxTop = L.ShortBarHeight + M;
    return L;
}

std::array<TEan13Bar, 2> GroupBars(std::int32_t KindIndex, const std::string& Widths, std::int32_t S)
{
    if (KindIndex == 1)
        return {{{S, 1, true}, {S + 2, 1, true}}};
    if (Widths.size() < 4)
        throw Exception("no element widths for a digit at module " + std::to_string(S));
    const auto W = [&Widths](std::size_t I) { return std::int32_t(Widths[I] - '0'); };
    if (KindIndex == 2)
        return {{{S + W(0), W(1), false}, {S + W(0) + W(1) + W(2), W(3), false}}};
    return {{{S, W(0), false}, {S + W(0) + W(1), W(2), false}}};
}

std::array<TEan13Bar, 30> Ean13Bars(const std::string& GTIN)
{
    if (GTIN.size() < 13)
        throw Exception("GTIN '" + GTIN + "' has fewer than 13 characters");
    std::array<TEan13Bar, 30> Bars{};
    std::size_t N = 0;
    auto Add = [&](std::int32_t KindIndex, const std::string& Widths, std::int32_t S) {
        for (const TEan13Bar& B : GroupBars(KindIndex, Widths, S))
            Bars[N++] = B;
    };
    const std::string Pattern = ParityPattern(GTIN);
    Add(1, "", 12);
    for (std::size_t I = 2; I <= 7; ++I)
        Add(2, ElementWidths(GTIN.substr(I - 1, 1), Pattern.substr(I - 2, 1)), 15 + 7 * std::int32_t(I - 2));
    Add(1, "", 58);
    for (std::size_t I = 8; I <= 13; ++I)
        Add(3, ElementWidths(GTIN.substr(I - 1, 1), "C"), 62 + 7 * std::int32_t(I - 8));
    Add(1, "", 104);
    return Bars;
}

} // namespace WEQEan
