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

std::array<TEan13Bar, 30> Ean13Bars(const std::string& GTIN)
{
    if (GTIN.size() < 13)
        throw Exception("GTIN '" + GTIN + "' has fewer than 13 characters");
    std::array<TEan13Bar, 30> Bars{};
    std::size_t N = 0;
    auto Guard = [&](std::int32_t S) {
        Bars[N++] = {S, 1, true};
        Bars[N++] = {S + 2, 1, true};
    };
    auto Width = [](const std::string& W, std::size_t I) { return std::int32_t(W[I] - '0'); };
    const std::string Pattern = ParityPattern(GTIN);
    Guard(12);
    for (std::size_t I = 2; I <= 7; ++I) { // space, bar, space, bar
        const std::string W = ElementWidths(GTIN.substr(I - 1, 1), Pattern.substr(I - 2, 1));
        if (W.size() != 4)
            throw Exception("no element widths for GTIN position " + std::to_string(I));
        const std::int32_t S = 15 + 7 * std::int32_t(I - 2);
        Bars[N++] = {S + Width(W, 0), Width(W, 1), false};
        Bars[N++] = {S + Width(W, 0) + Width(W, 1) + Width(W, 2), Width(W, 3), false};
    }
    Guard(58);
    for (std::size_t I = 8; I <= 13; ++I) { // bar, space, bar, space
        const std::string W = ElementWidths(GTIN.substr(I - 1, 1), "C");
        if (W.size() != 4)
            throw Exception("no element widths for GTIN position " + std::to_string(I));
        const std::int32_t S = 62 + 7 * std::int32_t(I - 8);
        Bars[N++] = {S, Width(W, 0), false};
        Bars[N++] = {S + Width(W, 0) + Width(W, 1), Width(W, 2), false};
    }
    Guard(104);
    return Bars;
}

} // namespace WEQEan
