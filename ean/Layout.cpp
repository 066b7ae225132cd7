#include "ean/WEQEan.h"
#include "ean/Layout_p.h"

#include <algorithm>
#include <string_view>

namespace WEQEan {

namespace {

// The symbol from left to right, in modules: quiet zone 11, guard 3, six
// digits of 7, centre guard 5, six digits of 7, guard 3, quiet zone 7.
constexpr std::int32_t LeftQuietZone = 11, GuardModules = 3, DigitModules = 7, CentreGuardModules = 5,
                       RightQuietZone = 7, DigitsPerHalf = 6;
constexpr std::int32_t HalfModules = DigitsPerHalf * DigitModules;
constexpr std::int32_t SymbolModules =
    LeftQuietZone + GuardModules + HalfModules + CentreGuardModules + HalfModules + GuardModules + RightQuietZone;
static_assert(SymbolModules == Ean13Modules);
// Where each bar group starts (1-based modules). A guard's two bars are on
// the group's first and third modules; the centre guard's space comes first.
constexpr std::int32_t LeftGuardStart = LeftQuietZone + 1;                       // 12
constexpr std::int32_t LeftHalfStart = LeftGuardStart + GuardModules;            // 15
constexpr std::int32_t CentreGuardStart = LeftHalfStart + HalfModules + 1;       // 58
constexpr std::int32_t RightHalfStart = LeftHalfStart + HalfModules + CentreGuardModules; // 62
constexpr std::int32_t RightGuardStart = RightHalfStart + HalfModules;           // 104
// Character boxes are 6 modules wide: the leading digit over modules 5-10,
// the '>' over 108-113, a left-half digit over the last six of its seven
// modules and a right-half digit over the first six.
constexpr std::int32_t BoxModules = 6;
constexpr std::int32_t LeadingDigitBoxStart = 5, DelimiterBoxStart = SymbolModules - BoxModules + 1; // 108

constexpr std::int32_t MinimumHeightModules = Ean13MinimumHeightModules;
constexpr long double DigitBoxHeightPerModule = 8.33L;
constexpr std::int32_t GuardExtensionModules = 5;

} // namespace

TEan13Layout Ean13Layout(std::int32_t Width, std::int32_t Height)
{
    TEan13Layout L{};
    L.ModuleWidth = std::max(1, Width / SymbolModules);
    const std::int32_t M = L.ModuleWidth;
    L.SymbolWidth = SymbolModules * M;
    // 18 m cannot overflow: m is at most INT32_MAX / 113.
    L.DrawingHeight = std::max(MinimumHeightModules * M, Height);
    L.DigitBoxWidth = BoxModules * M;
    L.DigitBoxHeight = static_cast<std::int32_t>(static_cast<long double>(M) * DigitBoxHeightPerModule);
    L.ShortBarHeight = std::int64_t(L.DrawingHeight) - M - L.DigitBoxHeight;
    L.GuardBarHeight = L.ShortBarHeight + std::int64_t(GuardExtensionModules) * M;
    L.DigitBoxTop = L.ShortBarHeight + M;
    return L;
}

namespace {

std::array<TEan13Bar, 2> BarsOfGroup(std::int32_t KindIndex, std::string_view Widths, std::int32_t S)
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

} // namespace

std::array<TEan13Bar, 2> GroupBars(std::int32_t KindIndex, const std::string& Widths, std::int32_t S)
{
    return BarsOfGroup(KindIndex, Widths, S);
}

// Everything below runs in 64 bits where a product of the module width could
// leave 32; every value that ends in the description fits 32 bits, since the
// module width is at most INT32_MAX / 113 and the height at most INT32_MAX.
void DescribeEan13Into(TSymbol& S, const std::string& GTIN, std::int32_t Width, std::int32_t Height,
                       bool DrawRightDelimiter, std::exception_ptr& Failure)
{
    const TEan13Layout L = Ean13Layout(Width, Height);
    const std::int32_t M = L.ModuleWidth;
    S.ModuleWidth = M;
    S.Modules = SymbolModules;
    S.Width = L.SymbolWidth;
    S.Height = L.DrawingHeight;
    S.BarTop = 0;
    S.ShortBarHeight = std::int32_t(L.ShortBarHeight);
    S.GuardBarHeight = std::int32_t(L.GuardBarHeight);
    S.DigitBoxTop = std::int32_t(L.DigitBoxTop);
    S.DigitBoxWidth = L.DigitBoxWidth;
    S.DigitBoxHeight = L.DigitBoxHeight;
    S.Symbology = TSymbology::Ean13;
    S.LeftQuietZone = LeftQuietZone;
    S.RightQuietZone = RightQuietZone;
    S.AddOnStart = S.AddOnDigits = 0;
    S.Elements.clear();
    S.Elements.reserve(44);

    // Thirteen digits take the tables straight; anything else goes through
    // the lookups, which raise where the drawing of it fails.
    const bool Digits = GTIN.size() >= 13 && std::all_of(GTIN.begin(), GTIN.begin() + 13, [](char Ch) {
                            return Ch >= '0' && Ch <= '9';
                        });
    std::string Scratch;
    // A missing character raises like a non-digit does.
    auto At = [&GTIN](std::size_t Position) {
        if (Position > GTIN.size())
            throw Exception("GTIN '" + GTIN + "' has no position " + std::to_string(Position));
        return GTIN[Position - 1];
    };
    auto WidthsOf = [&](std::size_t Position, char Set) -> std::string_view {
        if (Digits)
            return (Set == 'B' ? WidthsSetB : WidthsSetAC)[std::size_t(GTIN[Position - 1] - '0')];
        Scratch = ElementWidths(std::string(1, At(Position)), std::string(1, Set));
        return Scratch;
    };
    auto Char = [&](char Ch, std::int32_t BoxStartModule, std::uint8_t Alignment) {
        TSymbolElement E{TSymbolElement::Text, (BoxStartModule - 1) * M, S.DigitBoxTop, S.DigitBoxWidth,
                         S.DigitBoxHeight};
        E.Ch = Ch;
        E.Alignment = Alignment;
        S.Elements.push_back(E);
    };
    auto Bars = [&](std::int32_t KindIndex, std::string_view Widths, std::int32_t Start) {
        for (const TEan13Bar& B : BarsOfGroup(KindIndex, Widths, Start)) {
            TSymbolElement E{TSymbolElement::Bar, (B.StartModule - 1) * M, S.BarTop, B.Modules * M,
                             B.Guard ? S.GuardBarHeight : S.ShortBarHeight};
            E.StartModule = B.StartModule;
            E.Modules = B.Modules;
            E.Guard = B.Guard;
            S.Elements.push_back(E);
        }
    };

    try {
        Char(At(1), LeadingDigitBoxStart, AlignRight);
        Bars(1, {}, LeftGuardStart);
        const std::string Pattern = Digits ? ParityPatterns[std::size_t(GTIN[0] - '0')] : ParityPattern(GTIN);
        for (std::size_t I = 2; I <= 7; ++I) {
            const std::string_view Widths = WidthsOf(I, Pattern[I - 2]);
            const std::int32_t Start = LeftHalfStart + DigitModules * std::int32_t(I - 2);
            Char(At(I), Start + 1, AlignCentre);
            Bars(2, Widths, Start);
        }
        Bars(1, {}, CentreGuardStart);
        for (std::size_t I = 8; I <= 13; ++I) {
            const std::string_view Widths = WidthsOf(I, 'C');
            const std::int32_t Start = RightHalfStart + DigitModules * std::int32_t(I - 8);
            Char(At(I), Start, AlignCentre);
            Bars(3, Widths, Start);
        }
        Bars(1, {}, RightGuardStart);
        if (DrawRightDelimiter)
            Char('>', DelimiterBoxStart, AlignRight);
    } catch (const Exception&) {
        Failure = std::current_exception();
    }
}

TSymbol DescribeEan13(const std::string& GTIN, std::int32_t Width, std::int32_t Height, bool DrawRightDelimiter)
{
    std::exception_ptr Failure;
    TSymbol S;
    DescribeEan13Into(S, GTIN, Width, Height, DrawRightDelimiter, Failure);
    if (Failure)
        std::rethrow_exception(Failure);
    return S;
}

const TSymbolElement* TSymbol::Delimiter() const
{
    for (const TSymbolElement& E : Elements)
        if (E.Kind == TSymbolElement::Text && E.Ch == '>')
            return &E;
    return nullptr;
}

TSymbolElement FileDelimiterBox(const TSymbol& Symbol)
{
    TSymbolElement Box{TSymbolElement::Text, Symbol.Width - Symbol.DigitBoxWidth, Symbol.DigitBoxTop,
                       Symbol.DigitBoxWidth, Symbol.DigitBoxWidth};
    Box.Ch = '>';
    Box.Alignment = AlignRight;
    return Box;
}

std::array<TEan13Bar, 30> Ean13Bars(const std::string& GTIN)
{
    if (GTIN.size() < 13)
        throw Exception("GTIN '" + GTIN + "' has fewer than 13 characters");
    std::array<TEan13Bar, 30> Bars{};
    std::size_t N = 0;
    for (const TSymbolElement& E : DescribeEan13(GTIN, SymbolModules, 0, false).Elements)
        if (E.Kind == TSymbolElement::Bar)
            Bars[N++] = {E.StartModule, E.Modules, E.Guard};
    return Bars;
}

} // namespace WEQEan
