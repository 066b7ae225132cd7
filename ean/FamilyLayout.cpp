// The symbols of the family as numbers: one table of module positions per
// symbology, the add-ons' after them. EAN-13's own table stays in Layout.cpp.

#include "ean/Family_p.h"
#include "ean/Layout_p.h"
#include "ean/WEQEan.h"

#include <algorithm>
#include <array>

namespace WEQEan {

namespace {

constexpr std::int32_t DigitModules = 7, GuardModules = 3, CentreGuardModules = 5, BoxModules = 6;

// Horizontal shape in modules: quiet zone, bars, quiet zone (GS1's minima).
struct TShape {
    std::int32_t LeftQuietZone, BarModules, RightQuietZone;
};

constexpr TShape ShapeOf(TSymbology S)
{
    switch (S) {
    case TSymbology::Ean8: // guard 3, four digits of 7, centre guard 5, four digits of 7, guard 3
        return {7, GuardModules + 4 * DigitModules + CentreGuardModules + 4 * DigitModules + GuardModules, 7};
    case TSymbology::UpcA: // as EAN-13's bars, the outer digits in quiet zones of 9
        return {9, GuardModules + 6 * DigitModules + CentreGuardModules + 6 * DigitModules + GuardModules, 9};
    case TSymbology::UpcE: // guard 3, six digits of 7, the guard 010101
        return {9, GuardModules + 6 * DigitModules + 6, 7};
    case TSymbology::Ean13:
        break;
    }
    return {11, GuardModules + 6 * DigitModules + CentreGuardModules + 6 * DigitModules + GuardModules, 7};
}
static_assert(ShapeOf(TSymbology::Ean8).BarModules == 67 && ShapeOf(TSymbology::UpcE).BarModules == 51);
static_assert(ShapeOf(TSymbology::Ean13).LeftQuietZone + ShapeOf(TSymbology::Ean13).BarModules +
                  ShapeOf(TSymbology::Ean13).RightQuietZone ==
              Ean13Modules);

// The add-on: start 1011, then the digits of 7 with 01 between them; its
// own quiet zone of 5 after it.
constexpr std::int32_t AddOnStartModules = 4, AddOnSeparatorModules = 2, AddOnQuietZone = 5;
constexpr std::int32_t AddOnModules(std::size_t Digits)
{
    return Digits == 0 ? 0
                       : AddOnStartModules + std::int32_t(Digits) * DigitModules +
                             (std::int32_t(Digits) - 1) * AddOnSeparatorModules;
}
static_assert(AddOnModules(2) == 20 && AddOnModules(5) == 47);

// Heights in modules at the nominal proportions: the bars GS1's nominal
// height (69.24 X for EAN-13, UPC-A and UPC-E, 55.24 X for EAN-8) to the
// nearest whole module of the drawing, with one module and the digit box
// below them.
constexpr std::int32_t RatioHeightOf(TSymbology S) { return S == TSymbology::Ean8 ? 65 : Ean13RatioHeightModules; }

constexpr long double DigitBoxHeightPerModule = 8.33L;
// The number system and check digit of UPC-A and UPC-E are set smaller: two
// thirds of the digit box, bottoms level with the other digits.
constexpr std::int32_t SmallBoxModules = 4;
constexpr long double SmallBoxHeightPerModule = 5.55L;
constexpr std::int32_t GuardExtensionModules = 5;

// Writes the elements of one symbol at module width M.
class TBuilder {
public:
    TBuilder(TSymbol& S, std::int32_t M, std::int32_t Height) : S(S), M(M)
    {
        S.ModuleWidth = M;
        S.Height = std::max(Ean13MinimumHeightModules * M, Height);
        S.BarTop = 0;
        S.DigitBoxWidth = BoxModules * M;
        S.DigitBoxHeight = std::int32_t(static_cast<long double>(M) * DigitBoxHeightPerModule);
        S.ShortBarHeight = S.Height - M - S.DigitBoxHeight;
        S.GuardBarHeight = S.ShortBarHeight + GuardExtensionModules * M;
        S.DigitBoxTop = S.ShortBarHeight + M;
        SmallHeight = std::int32_t(static_cast<long double>(M) * SmallBoxHeightPerModule);
    }

    void Char(char Ch, std::int32_t BoxStart, std::uint8_t Alignment)
    {
        Box(Ch, BoxStart, S.DigitBoxTop, S.DigitBoxWidth, S.DigitBoxHeight, Alignment);
    }
    void SmallChar(char Ch, std::int32_t BoxStart, std::uint8_t Alignment)
    {
        Box(Ch, BoxStart, S.Height - SmallHeight, SmallBoxModules * M, SmallHeight, Alignment);
    }
    void Box(char Ch, std::int32_t BoxStart, std::int32_t Top, std::int32_t Width, std::int32_t Height,
             std::uint8_t Alignment)
    {
        TSymbolElement E{TSymbolElement::Text, (BoxStart - 1) * M, Top, Width, Height};
        E.Ch = Ch;
        E.Alignment = Alignment;
        S.Elements.push_back(E);
    }
    // Bars from Top down to the short bars' end, or the guards' when Long.
    void Bars(std::int32_t KindIndex, std::string_view Widths, std::int32_t Start, bool Long)
    {
        for (const TEan13Bar& B : GroupBars(KindIndex, std::string(Widths), Start))
            Bar(B.StartModule, B.Modules, Long || B.Guard, S.BarTop, Long || B.Guard ? S.GuardBarHeight : S.ShortBarHeight);
    }
    void Bar(std::int32_t Start, std::int32_t Modules, bool Guard, std::int32_t Top, std::int32_t Bottom)
    {
        TSymbolElement E{TSymbolElement::Bar, (Start - 1) * M, Top, Modules * M, Bottom - Top};
        E.StartModule = Start;
        E.Modules = Modules;
        E.Guard = Guard;
        S.Elements.push_back(E);
    }

    TSymbol& S;
    const std::int32_t M;
    std::int32_t SmallHeight;
};

std::string_view WidthsOf(char Digit, char Set)
{
    return (Set == 'B' ? WidthsSetB : WidthsSetAC)[std::size_t(Digit - '0')];
}

void DescribeEan8(TBuilder& B, const std::string& D, bool LeftMark, bool RightMark)
{
    constexpr std::int32_t LeftGuard = 8, LeftHalf = 11, CentreGuard = 40, RightHalf = 44, RightGuard = 72;
    constexpr std::int32_t LeftMarkBox = 1, RightMarkBox = 76; // the quiet zones' outer six modules
    if (LeftMark)
        B.Char('<', LeftMarkBox, AlignLeft);
    B.Bars(1, {}, LeftGuard, false);
    for (std::int32_t I = 0; I < 4; ++I) {
        const std::int32_t Start = LeftHalf + DigitModules * I;
        B.Char(D[std::size_t(I)], Start + 1, AlignCentre);
        B.Bars(2, WidthsOf(D[std::size_t(I)], 'A'), Start, false);
    }
    B.Bars(1, {}, CentreGuard, false);
    for (std::int32_t I = 0; I < 4; ++I) {
        const std::int32_t Start = RightHalf + DigitModules * I;
        B.Char(D[std::size_t(4 + I)], Start, AlignCentre);
        B.Bars(3, WidthsOf(D[std::size_t(4 + I)], 'C'), Start, false);
    }
    B.Bars(1, {}, RightGuard, false);
    if (RightMark)
        B.Char('>', RightMarkBox, AlignRight);
}

// The number system before the left guard and the check digit after the
// right one, small; their digits' bars as long as the guards.
void DescribeUpcA(TBuilder& B, const std::string& D)
{
    constexpr std::int32_t NumberSystemBox = 5, LeftGuard = 10, LeftHalf = 13, CentreGuard = 56, RightHalf = 60,
                           RightGuard = 102, CheckBox = 106;
    B.SmallChar(D[0], NumberSystemBox, AlignRight);
    B.Bars(1, {}, LeftGuard, false);
    for (std::int32_t I = 0; I < 6; ++I) {
        const std::int32_t Start = LeftHalf + DigitModules * I;
        if (I > 0)
            B.Char(D[std::size_t(I)], Start + 1, AlignCentre);
        B.Bars(2, WidthsOf(D[std::size_t(I)], 'A'), Start, I == 0);
    }
    B.Bars(1, {}, CentreGuard, false);
    for (std::int32_t I = 0; I < 6; ++I) {
        const std::int32_t Start = RightHalf + DigitModules * I;
        if (I < 5)
            B.Char(D[std::size_t(6 + I)], Start, AlignCentre);
        B.Bars(3, WidthsOf(D[std::size_t(6 + I)], 'C'), Start, I == 5);
    }
    B.Bars(1, {}, RightGuard, false);
    B.SmallChar(D[11], CheckBox, AlignLeft);
}

void DescribeUpcE(TBuilder& B, const std::string& D)
{
    constexpr std::int32_t NumberSystemBox = 5, LeftGuard = 10, Digits = 13, RightGuard = 56, CheckBox = 62;
    const std::string Parity = UpcEParity(D[0], D[7]);
    B.SmallChar(D[0], NumberSystemBox, AlignRight);
    B.Bars(1, {}, LeftGuard, false);
    for (std::int32_t I = 0; I < 6; ++I) {
        const std::int32_t Start = Digits + DigitModules * I;
        B.Char(D[std::size_t(1 + I)], Start + 1, AlignCentre);
        B.Bars(2, WidthsOf(D[std::size_t(1 + I)], Parity[std::size_t(I)]), Start, false);
    }
    // 010101: a guard's two bars and one more.
    B.Bars(1, {}, RightGuard, false);
    B.Bar(RightGuard + 4, 1, true, B.S.BarTop, B.S.GuardBarHeight);
    B.SmallChar(D[7], CheckBox, AlignLeft);
}

// The add-on's digits above its bars, their tops on the main bars' top; its
// bars from one module below the digits down to the guards' end.
void DescribeAddOn(TBuilder& B, const std::string& AddOn, std::int32_t Start)
{
    TSymbol& S = B.S;
    const std::int32_t Top = S.BarTop + S.DigitBoxHeight + B.M;
    const std::string Parity = AddOnParity(AddOn);
    B.Bar(Start, 1, false, Top, S.GuardBarHeight); // 1011
    B.Bar(Start + 2, 2, false, Top, S.GuardBarHeight);
    for (std::size_t I = 0; I < AddOn.size(); ++I) {
        const std::int32_t At = Start + AddOnStartModules + std::int32_t(I) * (DigitModules + AddOnSeparatorModules);
        B.Box(AddOn[I], At + 1, S.BarTop, S.DigitBoxWidth, S.DigitBoxHeight, AlignCentre);
        for (const TEan13Bar& Bar : GroupBars(2, std::string(WidthsOf(AddOn[I], Parity[I])), At))
            B.Bar(Bar.StartModule, Bar.Modules, false, Top, S.GuardBarHeight);
        if (I + 1 < AddOn.size())
            B.Bar(At + DigitModules + 1, 1, false, Top, S.GuardBarHeight); // 01
    }
}

// Each six-letter pattern names the sets of a UPC-E's digits for number
// system 0, by check digit; number system 1 takes the other set throughout.
constexpr std::array<const char*, 10> UpcEParities{
    "BBBAAA", "BBABAA", "BBAABA", "BBAAAB", "BABBAA", "BAABBA", "BAAABB", "BABABA", "BABAAB", "BAABAB",
};
// A 2-digit add-on's sets by its value mod 4; a 5-digit one's by its checksum.
constexpr std::array<const char*, 4> AddOn2Parities{"AA", "AB", "BA", "BB"};
constexpr std::array<const char*, 10> AddOn5Parities{
    "BBAAA", "BABAA", "BAABA", "BAAAB", "ABBAA", "AABBA", "AAABB", "ABABA", "ABAAB", "AABAB",
};

bool AllDigits(const std::string& S)
{
    return std::all_of(S.begin(), S.end(), [](char Ch) { return Ch >= '0' && Ch <= '9'; });
}

} // namespace

std::string UpcEParity(char NumberSystem, char CheckDigit)
{
    if ((NumberSystem != '0' && NumberSystem != '1') || CheckDigit < '0' || CheckDigit > '9')
        return {};
    std::string P = UpcEParities[std::size_t(CheckDigit - '0')];
    if (NumberSystem == '1')
        for (char& Ch : P)
            Ch = Ch == 'A' ? 'B' : 'A';
    return P;
}

std::string AddOnParity(const std::string& AddOn)
{
    if (!AllDigits(AddOn))
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

std::int32_t SymbolModules(TSymbology Symbology, std::size_t AddOnDigits, std::int32_t AddOnGap)
{
    const TShape Sh = ShapeOf(Symbology);
    if (AddOnDigits == 0)
        return Sh.LeftQuietZone + Sh.BarModules + Sh.RightQuietZone;
    return Sh.LeftQuietZone + Sh.BarModules + AddOnGap + AddOnModules(AddOnDigits) + AddOnQuietZone;
}

std::int32_t RatioHeightModules(TSymbology Symbology) { return RatioHeightOf(Symbology); }

// The gap is the main symbol's right quiet zone: never less than it.
std::int32_t LeastAddOnGap(TSymbology Symbology) { return std::max(MinAddOnGap, ShapeOf(Symbology).RightQuietZone); }

TSymbolArea SymbolArea(TSymbology Symbology, std::size_t AddOnDigits, std::int32_t AddOnGap, std::int32_t Width,
                       std::int32_t Height)
{
    const std::int32_t Modules =
        SymbolModules(Symbology, AddOnDigits == 0 || AddOnDigits == 2 ? AddOnDigits : 5,
                      std::clamp(AddOnGap, LeastAddOnGap(Symbology), MaxAddOnGap));
    const std::int32_t M = std::max(1, Width / Modules);
    return {M, Modules * M, std::max(Ean13MinimumHeightModules * M, Height)};
}

void DescribeSymbolInto(TSymbol& S, const TEanReading& Reading, std::int32_t Width, std::int32_t Height,
                        bool Marks, std::int32_t AddOnGap, std::exception_ptr& Failure)
{
    S.Elements.clear();
    try {
        // A reading made by hand is read again: only what the strict
        // reading gives is drawn.
        if (!Reading.Valid())
            throw Exception(Reading.Error);
        const TEanReading Again = ReadSymbol(Reading.Symbology, Reading.Data, Reading.AddOn);
        if (!Again.Valid())
            throw Exception(Again.Error);
        if (Again.Data != Reading.Data)
            throw Exception(Reading.Title() + " is not in the form its symbol takes, " + Again.Data);
        if (!Reading.AddOn.empty() && (AddOnGap < LeastAddOnGap(Reading.Symbology) || AddOnGap > MaxAddOnGap))
            throw Exception("an add-on gap of " + std::to_string(AddOnGap) + " modules is outside " +
                            std::to_string(LeastAddOnGap(Reading.Symbology)) + " to " + std::to_string(MaxAddOnGap) +
                            " for " + Reading.Title().substr(0, Reading.Title().find(' ')));
    } catch (const Exception&) {
        Failure = std::current_exception();
        const TSymbolArea A = SymbolArea(Reading.Symbology, Reading.AddOn.size(), AddOnGap, Width, Height);
        S.ModuleWidth = A.ModuleWidth;
        S.Width = A.Width;
        S.Height = A.Height;
        S.Modules = A.Width / A.ModuleWidth;
        return;
    }

    const TSymbology Sy = Reading.Symbology;
    const std::string& D = Reading.Data;
    const TShape Sh = ShapeOf(Sy);
    const std::int32_t Modules = SymbolModules(Sy, Reading.AddOn.size(), AddOnGap);
    const std::int32_t M = std::max(1, Width / Modules);
    if (Sy == TSymbology::Ean13) {
        // 113 modules of M fit 32 bits: M is at most INT32_MAX over more modules.
        DescribeEan13Into(S, D, Ean13Modules * M, Height, Marks && Reading.AddOn.empty(), Failure);
        if (Failure)
            return;
    } else {
        S.Elements.reserve(48);
    }
    TBuilder B(S, M, Height);
    S.Symbology = Sy;
    S.Modules = Modules;
    S.Width = Modules * M;
    S.LeftQuietZone = Sh.LeftQuietZone;
    S.RightQuietZone = Reading.AddOn.empty() ? Sh.RightQuietZone : AddOnQuietZone;
    S.AddOnStart = S.AddOnDigits = 0;
    switch (Sy) {
    case TSymbology::Ean8:
        DescribeEan8(B, D, Marks, Marks && Reading.AddOn.empty());
        break;
    case TSymbology::UpcA:
        DescribeUpcA(B, D);
        break;
    case TSymbology::UpcE:
        DescribeUpcE(B, D);
        break;
    case TSymbology::Ean13:
        break;
    }
    if (!Reading.AddOn.empty()) {
        S.AddOnStart = Sh.LeftQuietZone + Sh.BarModules + AddOnGap + 1;
        S.AddOnDigits = std::int32_t(Reading.AddOn.size());
        DescribeAddOn(B, Reading.AddOn, S.AddOnStart);
        // In the add-on's quiet zone, level with its digits, the tip on the
        // symbol's edge: the zone's five modules wide, so that it stays clear
        // of the add-on's last digit.
        if (Marks)
            B.Box('>', Modules - AddOnQuietZone + 1, S.BarTop, AddOnQuietZone * M, S.DigitBoxHeight, AlignRight);
    }
}

TSymbol DescribeSymbol(const TEanReading& Reading, std::int32_t Width, std::int32_t Height, bool DrawQuietZoneMarks,
                       std::int32_t AddOnGap)
{
    std::exception_ptr Failure;
    TSymbol S;
    DescribeSymbolInto(S, Reading, Width, Height, DrawQuietZoneMarks, AddOnGap, Failure);
    if (Failure)
        std::rethrow_exception(Failure);
    return S;
}

} // namespace WEQEan
