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

} // namespace WEQEan
