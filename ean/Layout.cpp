// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// The one layout of the family: each symbology, and the add-on, is a row of
// steps from left to right, and one builder turns a row and its digits into
// the symbol's bars and character boxes at a module width. Every module count
// and position is here and nowhere else.

#include "ean/Core_p.h"
#include "ean/WEQEan.h"
#include "ean/OcrBQuadOutlines.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace WEQEan {

namespace {

// The patterns, one character a module: the normal guard, the centre guard,
// UPC-E's end guard, the add-on's start and the add-on's separator.
constexpr char Guard[] = "101", Centre[] = "01010", UpcEEnd[] = "010101", AddOnStart[] = "1011",
               AddOnSeparator[] = "01";
constexpr std::int32_t DigitModules = 7;
// Character boxes: a digit's box is six of its seven modules (the last six
// on the left half, where a digit starts with a space; the first six on the
// right half); UPC's number system and check digit take smaller boxes.
constexpr std::int32_t BoxModules = 6, SmallBoxModules = 4;

constexpr TStep Ean13Steps[] = {
    {TStep::OuterText, nullptr, 0},
    {TStep::Pattern, Guard},
    {TStep::Digits, nullptr, 1, 6, TStep::Ean13Parity},
    {TStep::Pattern, Centre},
    {TStep::Digits, nullptr, 7, 6, TStep::SetC, true},
    {TStep::Pattern, Guard},
    {TStep::Mark},
};
constexpr TStep Ean8Steps[] = {
    {TStep::Mark},
    {TStep::Pattern, Guard},
    {TStep::Digits, nullptr, 0, 4, TStep::SetA},
    {TStep::Pattern, Centre},
    {TStep::Digits, nullptr, 4, 4, TStep::SetC, true},
    {TStep::Pattern, Guard},
    {TStep::Mark},
};
// The number system before the bars and the check digit after them, small;
// their digits' bars as long as the guards.
constexpr TStep UpcASteps[] = {
    {TStep::OuterText, nullptr, 0, 0, TStep::SetA, false, false, false, nullptr, true},
    {TStep::Pattern, Guard},
    {TStep::Digits, nullptr, 0, 6, TStep::SetA, false, true},
    {TStep::Pattern, Centre},
    {TStep::Digits, nullptr, 6, 6, TStep::SetC, true, false, true},
    {TStep::Pattern, Guard},
    {TStep::OuterText, nullptr, 11, 0, TStep::SetA, false, false, false, nullptr, true},
};
constexpr TStep UpcESteps[] = {
    {TStep::OuterText, nullptr, 0, 0, TStep::SetA, false, false, false, nullptr, true},
    {TStep::Pattern, Guard},
    {TStep::Digits, nullptr, 1, 6, TStep::UpcEParity},
    {TStep::Pattern, UpcEEnd},
    {TStep::OuterText, nullptr, 7, 0, TStep::SetA, false, false, false, nullptr, true},
};
constexpr TStep AddOn2Steps[] = {
    {TStep::Pattern, AddOnStart},
    {TStep::Digits, nullptr, 0, 2, TStep::AddOnParity, false, false, false, AddOnSeparator},
    {TStep::Mark},
};
constexpr TStep AddOn5Steps[] = {
    {TStep::Pattern, AddOnStart},
    {TStep::Digits, nullptr, 0, 5, TStep::AddOnParity, false, false, false, AddOnSeparator},
    {TStep::Mark},
};

// In the order of TSymbology. The quiet zones are GS1's least; a mark fills
// all of its quiet zone but the module beside the bars.
constexpr TSymbologyRow Rows[] = {
    {TitleOf(TSymbology::Ean13), 12, 11, 7, 69.24, Ean13Steps, std::size(Ean13Steps)},
    {TitleOf(TSymbology::Ean8), 7, 7, 7, 55.24, Ean8Steps, std::size(Ean8Steps)},
    {TitleOf(TSymbology::UpcA), 11, 9, 9, 69.24, UpcASteps, std::size(UpcASteps)},
    {TitleOf(TSymbology::UpcE), 7, 9, 7, 69.24, UpcESteps, std::size(UpcESteps)},
};
// The add-on starts where the caller's gap ends: no quiet zone of its own on
// the left; its bars end where the main symbol's do.
constexpr TSymbologyRow AddOnRows[] = {
    {"add-on", 2, 0, 5, 0, AddOn2Steps, std::size(AddOn2Steps)},
    {"add-on", 5, 0, 5, 0, AddOn5Steps, std::size(AddOn5Steps)},
};

constexpr std::int32_t StepModules(const TStep& Step)
{
    if (Step.Kind == TStep::Pattern)
        return std::int32_t(std::char_traits<char>::length(Step.Bars));
    if (Step.Kind != TStep::Digits)
        return 0;
    const std::int32_t Separators =
        Step.Separator ? (Step.Count - 1) * std::int32_t(std::char_traits<char>::length(Step.Separator)) : 0;
    return Step.Count * DigitModules + Separators;
}

constexpr std::int32_t BarModulesOf(const TSymbologyRow& Row)
{
    std::int32_t N = 0;
    for (std::size_t I = 0; I < Row.StepCount; ++I)
        N += StepModules(Row.Steps[I]);
    return N;
}
// The symbols as their guards and halves add up: EAN-13 3 + 42 + 5 + 42 + 3.
static_assert(BarModulesOf(Rows[0]) == 95 && BarModulesOf(Rows[1]) == 67 && BarModulesOf(Rows[2]) == 95 &&
              BarModulesOf(Rows[3]) == 51);
static_assert(Rows[0].LeftQuietZone + BarModulesOf(Rows[0]) + Rows[0].RightQuietZone == Ean13Modules);
static_assert(BarModulesOf(AddOnRows[0]) == 20 && BarModulesOf(AddOnRows[1]) == 47);

constexpr long double DigitBoxHeightPerModule = 8.33L;
constexpr long double SmallBoxHeightPerModule = 5.55L;
constexpr std::int32_t GuardExtensionModules = 5;

// The height a symbol keeps its proportion at: the least whole number of
// modules holding the nominal bars, the module below them and the digit
// box (EAN-13: 69.24 + 1 + 8.33 makes 79).
constexpr std::int32_t RatioHeightModulesOf(const TSymbologyRow& Row)
{
    const long double Exact = Row.NominalBarModules + 1 + DigitBoxHeightPerModule;
    const auto Whole = std::int32_t(Exact);
    return Whole < Exact ? Whole + 1 : Whole;
}
static_assert(RatioHeightModulesOf(Rows[0]) == Ean13RatioHeightModules && RatioHeightModulesOf(Rows[1]) == 65);

// Writes the elements of rows of steps into a symbol.
class TBuilder {
public:
    // Raw: the EAN-13 of any text, each digit looked at where the drawing
    // looks it up, raising as the lookups raise; otherwise the digits are
    // a reading's and hold.
    TBuilder(TSymbol& S, const TVertical& V, bool Raw) : S(S), V(V), Raw(Raw) {}

    // The row's steps from module Start (1-based) on.
    void Run(const TSymbologyRow& Row, std::string_view Data, std::int32_t Start, bool AddOn, bool LeftMark,
             bool RightMark)
    {
        Cursor = Start;
        FirstBar = Start + Row.LeftQuietZone;
        LastBar = 0;
        bool BarsSeen = false;
        for (std::size_t I = 0; I < Row.StepCount; ++I) {
            const TStep& Step = Row.Steps[I];
            switch (Step.Kind) {
            case TStep::Pattern:
                if (!BarsSeen)
                    Cursor = FirstBar;
                BarsSeen = true;
                Pattern(Step.Bars, AddOn);
                break;
            case TStep::Digits:
                Digits(Step, Data, AddOn);
                break;
            case TStep::OuterText: {
                const std::int32_t Boxes = Step.Small ? SmallBoxModules : BoxModules;
                const char Ch = At(Data, Step.First);
                if (Step.Small)
                    Box(Ch, BarsSeen ? LastBar + 2 : FirstBar - 1 - Boxes, Boxes, V.Height - V.SmallBoxHeight,
                        V.SmallBoxHeight, BarsSeen ? AlignLeft : AlignRight);
                else
                    Box(Ch, BarsSeen ? LastBar + 2 : FirstBar - 1 - Boxes, Boxes, V.DigitBoxTop, V.DigitBoxHeight,
                        BarsSeen ? AlignLeft : AlignRight);
                break;
            }
            case TStep::Mark: {
                const std::int32_t Top = AddOn ? S.BarTop : V.DigitBoxTop;
                if (!BarsSeen && LeftMark)
                    Box('<', FirstBar - Row.LeftQuietZone, Row.LeftQuietZone - 1, Top, V.DigitBoxHeight, AlignLeft);
                else if (BarsSeen && RightMark)
                    Box('>', LastBar + 2, Row.RightQuietZone - 1, Top, V.DigitBoxHeight, AlignRight);
                break;
            }
            }
        }
    }

    std::int32_t LastBar = 0;

private:
    // The digit at a data position; in Raw, a missing one raises Exception and
    // a non-digit EConvertError, as the drawing's lookups would.
    int DigitAt(std::string_view Data, std::size_t Position)
    {
        const char Ch = At(Data, Position);
        if (Raw && !IsDigit(Ch))
            throw EConvertError("'" + std::string(1, Ch) + "' is not a valid integer value");
        return Ch - '0';
    }
    char At(std::string_view Data, std::size_t Position)
    {
        if (Position >= Data.size())
            throw Exception("GTIN '" + std::string(Data) + "' has no position " + std::to_string(Position + 1));
        return Data[Position];
    }

    void Pattern(const char* Bars, bool AddOn)
    {
        const std::int32_t Length = std::int32_t(std::strlen(Bars));
        for (std::int32_t K = 0; K < Length;) {
            std::int32_t End = K;
            while (End < Length && Bars[End] == Bars[K])
                ++End;
            if (Bars[K] == '1')
                Bar(Cursor + K, End - K, AddOn ? TBarKind::AddOn : TBarKind::Long);
            K = End;
        }
        Cursor += Length;
    }

    void Digits(const TStep& Step, std::string_view Data, bool AddOn)
    {
        std::string_view Sets;
        std::string Parity;
        switch (Step.Sets) {
        case TStep::SetA:
            Sets = "AAAAAA";
            break;
        case TStep::SetC:
            Sets = "CCCCCC";
            break;
        case TStep::Ean13Parity:
            Sets = ParityPatterns[std::size_t(DigitAt(Data, 0))];
            break;
        case TStep::UpcEParity:
            Parity = UpcEParity(Data[0], Data[7]);
            Sets = Parity;
            break;
        case TStep::AddOnParity:
            Parity = AddOnParity(std::string(Data));
            Sets = Parity;
            break;
        }
        for (std::int32_t I = 0; I < Step.Count; ++I) {
            const std::size_t Position = Step.First + std::size_t(I);
            const std::size_t Digit = std::size_t(DigitAt(Data, Position));
            const char* Widths = (Sets[std::size_t(I)] == 'B' ? WidthsSetB : WidthsSetAC)[Digit];
            const bool Long = (Step.LongFirst && I == 0) || (Step.LongLast && I == Step.Count - 1);
            const std::int32_t Start = Cursor;
            if (!Long)
                Box(Data[Position], Step.BarFirst ? Start : Start + 1, BoxModules, AddOn ? S.BarTop : V.DigitBoxTop,
                    V.DigitBoxHeight, AlignCentre);
            for (const TEan13Bar& B : GroupBars(Step.BarFirst ? 3 : 2, Widths, Start))
                Bar(B.StartModule, B.Modules, Long ? TBarKind::Long : AddOn ? TBarKind::AddOn : TBarKind::Short);
            Cursor += DigitModules;
            if (Step.Separator && I + 1 < Step.Count)
                Pattern(Step.Separator, AddOn);
        }
    }

    enum class TBarKind { Short, Long, AddOn };

    // Short bars end with the digits' bars, long ones run on to the guards'
    // end; an add-on's start one module below its digits, which stand on top.
    void Bar(std::int32_t Start, std::int32_t Modules, TBarKind Kind)
    {
        const std::int32_t M = S.ModuleWidth;
        const std::int32_t Top = Kind == TBarKind::AddOn ? S.BarTop + V.DigitBoxHeight + M : S.BarTop;
        const std::int32_t Bottom = Kind == TBarKind::Short ? V.ShortBarHeight : V.GuardBarHeight;
        TSymbolElement E{TSymbolElement::Bar, (Start - 1) * M, Top, Modules * M, Bottom - Top};
        E.StartModule = Start;
        E.Modules = Modules;
        E.Guard = Kind == TBarKind::Long;
        S.Elements.push_back(E);
        LastBar = std::max(LastBar, Start + Modules - 1);
    }

    void Box(char Ch, std::int32_t Start, std::int32_t Modules, std::int32_t Top, std::int32_t Height,
             std::uint8_t Alignment)
    {
        const std::int32_t M = S.ModuleWidth;
        TSymbolElement E{TSymbolElement::Text, (Start - 1) * M, Top, Modules * M, Height};
        E.Ch = Ch;
        E.Alignment = Alignment;
        S.Elements.push_back(E);
    }

    TSymbol& S;
    const TVertical V;
    const bool Raw;
    std::int32_t Cursor = 1, FirstBar = 1;
};

// The symbol's fields for a module width, before its elements.
void StartSymbol(TSymbol& S, TSymbology Symbology, std::int32_t M, std::int32_t Modules, const TVertical& V)
{
    S.ModuleWidth = M;
    S.Modules = Modules;
    S.Width = Modules * M;
    S.Height = V.Height;
    S.BarTop = 0;
    S.ShortBarHeight = V.ShortBarHeight;
    S.GuardBarHeight = V.GuardBarHeight;
    S.DigitBoxTop = V.DigitBoxTop;
    S.DigitBoxWidth = V.DigitBoxWidth;
    S.DigitBoxHeight = V.DigitBoxHeight;
    S.Symbology = Symbology;
    S.AddOnStart = S.AddOnDigits = 0;
    S.LineBoxWidth = S.LineBoxHeight = 0;
    S.Elements.clear();
    S.Elements.reserve(48);
}

// The longest number line drawn, and the length the line's characters are
// sized for, "ISBN 978-3-16-148410-0": every book's, music's and serial's
// number is printed at one size, a longer line smaller.
constexpr std::size_t MaxLineLength = 64, LineSizedFor = 22;

// Whether Ch can stand in the number line: a space, or one with an outline.
bool LineCharacter(char Ch) { return Ch == ' ' || (Ch != 0 && std::strchr(WEQOcrB::LineChars, Ch)); }

// The number line's boxes, one a character at an even pitch, centred over
// the main symbol's Modules (the add-on's are left out): the pitch that
// spreads a line of LineSizedFor characters (or a longer one) across them,
// each box six sevenths of it and as tall, in the digits' proportion, as a
// digit box that wide. The symbol moves down by the boxes' height and two
// modules; its bars keep their height.
struct TLineBoxes {
    std::int32_t Pitch = 0, BoxWidth = 0, BoxHeight = 0;
    // What the line adds to the symbol's height: a module above the line,
    // as the background goes on a cover of another colour, its boxes, and a
    // module between it and the bars. 0: no line.
    std::int32_t Band = 0;
};
TLineBoxes LineBoxes(std::size_t Length, std::int32_t Modules, std::int32_t M)
{
    TLineBoxes L;
    if (Length == 0 || Length > MaxLineLength)
        return L;
    L.Pitch = std::min(Modules * M / std::int32_t(std::max(Length, LineSizedFor)), DigitModules * M);
    L.BoxWidth = L.Pitch * BoxModules / DigitModules;
    L.BoxHeight = static_cast<std::int32_t>(static_cast<long double>(L.BoxWidth) * DigitBoxHeightPerModule /
                                            BoxModules);
    if (L.BoxWidth < 1 || L.BoxHeight < 1)
        return {};
    L.Band = M + L.BoxHeight + M;
    return L;
}

// The main symbol's modules, quiet zones included: the line's width.
std::int32_t MainModules(const TSymbologyRow& Row) { return Row.LeftQuietZone + BarModulesOf(Row) + Row.RightQuietZone; }

// The line's characters in boxes L over Modules, a module below the top,
// the bars below its band; the symbol's vertical layout already moved down.
void PlaceLine(TSymbol& S, const std::string& Line, const TLineBoxes& L, std::int32_t Modules)
{
    const std::int32_t M = S.ModuleWidth, N = std::int32_t(Line.size());
    S.BarTop = L.Band;
    S.LineBoxWidth = L.BoxWidth;
    S.LineBoxHeight = L.BoxHeight;
    const std::int32_t Left = (Modules * M - N * L.Pitch) / 2 + (L.Pitch - L.BoxWidth) / 2;
    for (std::int32_t I = 0; I < N; ++I) {
        if (Line[std::size_t(I)] == ' ')
            continue;
        TSymbolElement E{TSymbolElement::Text, Left + I * L.Pitch, M, L.BoxWidth, L.BoxHeight};
        E.Ch = Line[std::size_t(I)];
        S.Elements.push_back(E);
    }
}

// A symbology outside the enumeration is measured as EAN-13: only sizes
// are ever asked of it, a reading refuses it.
const TSymbologyRow& MeasuredRow(TSymbology Symbology)
{
    const TSymbologyRow* Row = RowOf(Symbology);
    return Row ? *Row : Rows[0];
}

} // namespace

const TSymbologyRow* RowOf(TSymbology Symbology)
{
    const std::size_t I = std::size_t(Symbology);
    return I < std::size(Rows) ? &Rows[I] : nullptr;
}

const TSymbologyRow* AddOnRowOf(std::size_t Digits)
{
    return Digits == 2 ? &AddOnRows[0] : Digits == 5 ? &AddOnRows[1] : nullptr;
}

std::int32_t BarModules(const TSymbologyRow& Row) { return BarModulesOf(Row); }

TVertical VerticalLayout(std::int32_t M, std::int32_t Height)
{
    TVertical V{};
    // 18 m cannot overflow: m is at most INT32_MAX / 113. Neither can the
    // rest, which all lie below the drawing height (a number line's band is
    // kept within the range by the caller).
    V.Height = std::max(Ean13MinimumHeightModules * M, Height);
    V.DigitBoxWidth = BoxModules * M;
    V.DigitBoxHeight = static_cast<std::int32_t>(static_cast<long double>(M) * DigitBoxHeightPerModule);
    V.SmallBoxHeight = static_cast<std::int32_t>(static_cast<long double>(M) * SmallBoxHeightPerModule);
    V.ShortBarHeight = V.Height - M - V.DigitBoxHeight;
    V.GuardBarHeight = V.ShortBarHeight + GuardExtensionModules * M;
    V.DigitBoxTop = V.ShortBarHeight + M;
    return V;
}

TEan13Layout Ean13Layout(std::int32_t Width, std::int32_t Height)
{
    const std::int32_t M = std::max(1, Width / Ean13Modules);
    const TVertical V = VerticalLayout(M, Height);
    return {M, Ean13Modules * M, V.Height, V.DigitBoxWidth, V.DigitBoxHeight, V.ShortBarHeight, V.GuardBarHeight,
            V.DigitBoxTop};
}

std::array<TEan13Bar, 2> GroupBars(std::int32_t KindIndex, const std::string& Widths, std::int32_t S)
{
    // A guard's two bars are on the group's first and third modules.
    if (KindIndex == 1)
        return {{{S, 1, true}, {S + 2, 1, true}}};
    if (Widths.size() < 4)
        throw Exception("no element widths for a digit at module " + std::to_string(S));
    const auto W = [&Widths](std::size_t I) { return std::int32_t(Widths[I] - '0'); };
    // Left half: space, bar, space, bar. Right half: bar, space, bar, space.
    if (KindIndex == 2)
        return {{{S + W(0), W(1), false}, {S + W(0) + W(1) + W(2), W(3), false}}};
    return {{{S, W(0), false}, {S + W(0) + W(1), W(2), false}}};
}

void DescribeEan13Into(TSymbol& S, const std::string& GTIN, std::int32_t Width, std::int32_t Height,
                       bool DrawRightDelimiter, std::exception_ptr& Failure)
{
    const TSymbologyRow& Row = Rows[0];
    const std::int32_t M = std::max(1, Width / Ean13Modules);
    const TVertical V = VerticalLayout(M, Height);
    StartSymbol(S, TSymbology::Ean13, M, Ean13Modules, V);
    S.LeftQuietZone = Row.LeftQuietZone;
    S.RightQuietZone = Row.RightQuietZone;
    try {
        TBuilder(S, V, true).Run(Row, GTIN, 1, false, false, DrawRightDelimiter);
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

std::int32_t SymbolModules(TSymbology Symbology, std::size_t AddOnDigits, std::int32_t AddOnGap)
{
    // Any gap is measured as one a symbol can have: never an overflow.
    AddOnGap = std::clamp(AddOnGap, 0, MaxAddOnGap);
    const TSymbologyRow& Row = MeasuredRow(Symbology);
    const std::int32_t Main = Row.LeftQuietZone + BarModulesOf(Row);
    if (AddOnDigits == 0)
        return Main + Row.RightQuietZone;
    TStep Digits = AddOnRows[0].Steps[1];
    Digits.Count = std::uint8_t(std::min<std::size_t>(AddOnDigits, 5));
    return Main + AddOnGap + StepModules(AddOnRows[0].Steps[0]) + StepModules(Digits) + AddOnRows[0].RightQuietZone;
}

std::int32_t RatioHeightModules(TSymbology Symbology) { return RatioHeightModulesOf(MeasuredRow(Symbology)); }

double NominalBarModules(TSymbology Symbology) { return MeasuredRow(Symbology).NominalBarModules; }

std::int32_t LineBandHeight(const TEanReading& Reading, std::int32_t ModuleWidth)
{
    // No symbol has a wider module: beyond it the width would overflow.
    const std::int32_t Modules = MainModules(MeasuredRow(Reading.Symbology));
    const std::int32_t M = std::clamp(ModuleWidth, 1, std::numeric_limits<std::int32_t>::max() / Modules);
    return LineBoxes(Reading.Line.size(), Modules, M).Band;
}

// The gap is the main symbol's right quiet zone: never less than it.
std::int32_t LeastAddOnGap(TSymbology Symbology)
{
    return std::max(MinAddOnGap, MeasuredRow(Symbology).RightQuietZone);
}

void DescribeSymbolInto(TSymbol& S, const TEanReading& Reading, std::int32_t Width, std::int32_t Height,
                        bool Marks, std::int32_t AddOnGap, std::exception_ptr& Failure)
{
    const TSymbologyRow& Row = MeasuredRow(Reading.Symbology);
    const std::int32_t Modules = SymbolModules(Reading.Symbology, Reading.AddOn.size(), AddOnGap);
    const std::int32_t M = std::max(1, Width / Modules);
    const TLineBoxes Line = LineBoxes(Reading.Line.size(), MainModules(Row), M);
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
        if (Reading.Line.size() > MaxLineLength)
            throw Exception("a number line of " + std::to_string(Reading.Line.size()) + " characters is longer than " +
                            std::to_string(MaxLineLength));
        for (std::size_t I = 0; I < Reading.Line.size(); ++I)
            if (!LineCharacter(Reading.Line[I]))
                throw Exception("the number line's " + Quoted(Reading.Line[I]) + " at " + PositionText(I + 1) +
                                " cannot be printed");
        if (!Reading.AddOn.empty() && (AddOnGap < LeastAddOnGap(Reading.Symbology) || AddOnGap > MaxAddOnGap))
            throw Exception("an add-on gap of " + std::to_string(AddOnGap) + " modules is outside " +
                            std::to_string(LeastAddOnGap(Reading.Symbology)) + " to " + std::to_string(MaxAddOnGap) +
                            " for " + Row.Name);
        // A line too long for a pixel a character is refused, not left out.
        if (!Reading.Line.empty() && Line.Band == 0)
            throw Exception("a number line of " + std::to_string(Reading.Line.size()) + " characters does not fit " +
                            std::to_string(MainModules(Row)) + " modules of " + std::to_string(M) +
                            (M == 1 ? " pixel" : " pixels"));
    } catch (const Exception&) {
        Failure = std::current_exception();
        // The area the symbol would take, so that the failure can cover it.
        const std::size_t AddOnDigits = Reading.AddOn.empty() || Reading.AddOn.size() == 2 ? Reading.AddOn.size() : 5;
        const std::int32_t Area =
            SymbolModules(Reading.Symbology, AddOnDigits, std::clamp(AddOnGap, LeastAddOnGap(Reading.Symbology), MaxAddOnGap));
        const std::int32_t AreaM = std::max(1, Width / Area);
        StartSymbol(S, Reading.Symbology, AreaM, Area, VerticalLayout(AreaM, Height));
        return;
    }

    // The line's band comes on top of the height asked for: within the
    // range of a pixel coordinate, the bars give way.
    TVertical V = VerticalLayout(M, std::min(Height, std::numeric_limits<std::int32_t>::max() - Line.Band));
    for (std::int32_t* Y : {&V.Height, &V.ShortBarHeight, &V.GuardBarHeight, &V.DigitBoxTop})
        *Y += Line.Band;
    StartSymbol(S, Reading.Symbology, M, Modules, V);
    S.LeftQuietZone = Row.LeftQuietZone;
    S.RightQuietZone = Row.RightQuietZone;
    if (Line.Band > 0)
        PlaceLine(S, Reading.Line, Line, MainModules(Row));
    TBuilder Builder(S, V, false);
    Builder.Run(Row, Reading.Data, 1, false, Marks, Marks && Reading.AddOn.empty());
    if (const TSymbologyRow* AddOn = AddOnRowOf(Reading.AddOn.size())) {
        S.AddOnStart = Builder.LastBar + AddOnGap + 1;
        S.AddOnDigits = std::int32_t(Reading.AddOn.size());
        S.RightQuietZone = AddOn->RightQuietZone;
        Builder.Run(*AddOn, Reading.AddOn, S.AddOnStart, true, false, Marks);
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

const TSymbolElement* TSymbol::Delimiter() const
{
    for (const TSymbolElement& E : Elements)
        if (E.Kind == TSymbolElement::Text && E.Ch == '>')
            return &E;
    return nullptr;
}

TSymbolElement FileDelimiterBox(const TSymbol& Symbol)
{
    // Square, as wide as the mark's box; where the symbol has none, where
    // EAN-13's would be.
    TSymbolElement Box{TSymbolElement::Text, Symbol.Width - Symbol.DigitBoxWidth, Symbol.DigitBoxTop,
                       Symbol.DigitBoxWidth, Symbol.DigitBoxWidth};
    if (const TSymbolElement* Mark = Symbol.Delimiter())
        Box = *Mark;
    Box.Height = Box.Width;
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
    for (const TSymbolElement& E : DescribeEan13(GTIN, Ean13Modules, 0, false).Elements)
        if (E.Kind == TSymbolElement::Bar)
            Bars[N++] = {E.StartModule, E.Modules, E.Guard};
    return Bars;
}

} // namespace WEQEan
