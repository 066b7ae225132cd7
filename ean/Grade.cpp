// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// The grade of one scan reflectance profile with the parameters of ISO/IEC
// 15416, and our own reference decode of the EAN/UPC family: the element
// widths read back through the family's own rows and character-set tables,
// so that the decode knows every symbol exactly as the layout draws it.

#include "ean/WEQEanGrade.h"

#include "ean/Core_p.h"
#include "ean/WEQEan.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

namespace WEQEan {

namespace {

constexpr std::int32_t CharacterModules = 7;

// Grade thresholds of ISO/IEC 15416: the least value for A, B, C and D.
constexpr double SymbolContrastLimits[] = {70, 55, 40, 20};
constexpr double ModulationLimits[] = {0.70, 0.60, 0.50, 0.40};
// EAN/UPC's own decodability limits.
constexpr double DecodabilityLimits[] = {0.62, 0.50, 0.37, 0.25};
// The most for A, B, C and D.
constexpr double DefectsLimits[] = {0.15, 0.20, 0.25, 0.30};
constexpr double MinEdgeContrastLimit = 15;

char GradeAtLeast(double Value, const double (&Limits)[4])
{
    for (std::size_t I = 0; I < 4; ++I)
        if (Value >= Limits[I])
            return char('A' + I);
    return 'F';
}

char GradeAtMost(double Value, const double (&Limits)[4])
{
    for (std::size_t I = 0; I < 4; ++I)
        if (Value <= Limits[I])
            return char('A' + I);
    return 'F';
}

// A run of dots on one side of the global threshold.
struct TElement {
    bool Bar;
    std::size_t First, Last; // dots, inclusive
    double Extreme;          // a space's highest reflectance, a bar's lowest
    double Ern;              // its highest peak less its lowest valley
};

// ERN: a space's highest reflectance less its lowest valley, a bar's highest
// peak less its lowest reflectance. A valley (peak) is a run of equal dots
// below (above) the dots on both sides of it, the profile's ends counting as
// no neighbour: the slope into the next element is neither, so a sharp or
// blurred edge adds nothing, and a quiet zone that fades at the profile's end does.
double NonUniformity(const std::vector<double>& R, const TElement& E)
{
    double Worst = E.Extreme;
    for (std::size_t Start = E.First; Start <= E.Last;) {
        std::size_t End = Start;
        while (End < E.Last && R[End + 1] == R[Start])
            ++End;
        const double V = R[Start];
        const bool LeftBeyond = Start > 0 && (E.Bar ? R[Start - 1] >= V : R[Start - 1] <= V);
        const bool RightBeyond = End + 1 < R.size() && (E.Bar ? R[End + 1] >= V : R[End + 1] <= V);
        if (!LeftBeyond && !RightBeyond)
            Worst = E.Bar ? std::max(Worst, V) : std::min(Worst, V);
        Start = End + 1;
    }
    return std::fabs(E.Extreme - Worst);
}

std::vector<TElement> FindElements(const std::vector<double>& R, double Gt)
{
    std::vector<TElement> Out;
    for (std::size_t K = 0; K < R.size();) {
        const bool Bar = R[K] < Gt;
        TElement E{Bar, K, K, R[K], 0};
        while (E.Last + 1 < R.size() && (R[E.Last + 1] < Gt) == Bar)
            ++E.Last;
        for (std::size_t J = K; J <= E.Last; ++J)
            E.Extreme = Bar ? std::min(E.Extreme, R[J]) : std::max(E.Extreme, R[J]);
        E.Ern = NonUniformity(R, E);
        Out.push_back(E);
        K = E.Last + 1;
    }
    return Out;
}

// The edge between two neighbours: where the profile, drawn straight from
// one dot's centre (dot K's at K + 0.5) to the next, crosses the midpoint of
// the space's highest and the bar's lowest reflectance; of several
// crossings, the one nearest the threshold's. A sharp step at a dot boundary
// lies exactly there, and a dot half covered exactly at its centre.
double EdgeBetween(const std::vector<double>& R, const TElement& A, const TElement& B)
{
    const double Level = (A.Extreme + B.Extreme) / 2, Boundary = double(B.First);
    double Best = Boundary, Distance = -1;
    for (std::size_t J = A.First; J <= B.Last; ++J) {
        const double Here = R[J] - Level;
        double At;
        if (Here == 0)
            At = double(J) + 0.5;
        else if (J < B.Last && R[J + 1] != Level && (Here < 0) != (R[J + 1] < Level))
            At = double(J) + 0.5 + Here / (R[J] - R[J + 1]);
        else
            continue;
        if (Distance < 0 || std::fabs(At - Boundary) < Distance) {
            Best = At;
            Distance = std::fabs(At - Boundary);
        }
    }
    return Best;
}

// --- The reference decode --------------------------------------------------

struct TCharacter {
    char Digit, Set;
    double Decodability;
};

// The nominal modules of a digit in a set: E1 and E2 as below, and its two bars.
struct TNominal {
    std::int32_t E1, E2, Bars;
};
TNominal NominalOf(std::size_t Digit, char Set)
{
    const char* W = (Set == 'B' ? WidthsSetB : WidthsSetAC)[Digit];
    const auto M = [W](std::size_t I) { return std::int32_t(W[I] - '0'); };
    // Set C is set A with bars and spaces exchanged: it starts with a bar.
    return {M(0) + M(1), M(1) + M(2), Set == 'C' ? M(0) + M(2) : M(1) + M(3)};
}

// One symbol character from its four element widths W (dots), as the
// EAN/UPC reference decode reads it, with its decodability.
//
// T = W1 + W2 + W3 + W4 is the character's width, U = T / 7 the module it
// implies. The edge-to-similar-edge distances e1 = W1 + W2 and e2 = W2 + W3
// (each a bar and a space, so immune to bars printed too wide or too thin)
// become E = k modules for (k - 0.5) U <= e < (k + 0.5) U, k = 2 .. 5: the
// thresholds 1.5T/7, 2.5T/7, 3.5T/7, 4.5T/7 and 5.5T/7; anything else fails.
// (E1, E2) names the digit and, by its parity, the set. Sets A and C read 1
// and 7 alike, and 2 and 8, as do the two of set B; the sum b of the two bar
// widths decides between them: the one whose nominal bar modules lie on b's side
// of the threshold halfway between them (A: 3 and 5, so 4T/7; B and C: 4 and
// 2, so 3T/7), a tie going to the fewer.
//
// Decodability, as we read ISO/IEC 15416 for EAN/UPC: the margin of each measurement
// to its nearest decision threshold over half the spacing of the thresholds,
//     V(e) = (U/2 - |e - E U|) / (U/2) = 1 - |e - E U| / (T/14)
// for e1 and e2, and where the bars decided,
//     V(b) = |b - threshold| / (|n1 - n2| U / 2)
// with n1, n2 the two candidates' nominal bar modules (spacing 2, so U).
// The character's V is the least of them: 1 when every width is whole
// modules, 0 on a threshold.
bool ReadCharacter(const double* W, bool BarFirst, TCharacter& Out)
{
    const double T = W[0] + W[1] + W[2] + W[3];
    if (!(T > 0) || std::min({W[0], W[1], W[2], W[3]}) <= 0)
        return false;
    const double U = T / CharacterModules;
    double V = 1;
    const auto Classify = [U, &V](double E) {
        const double K = std::floor(E / U + 0.5);
        if (K < 2 || K > 5)
            return std::int32_t(0);
        V = std::min(V, 1 - std::fabs(E - K * U) / (U / 2));
        return std::int32_t(K);
    };
    const std::int32_t E1 = Classify(W[0] + W[1]), E2 = Classify(W[1] + W[2]);
    if (!E1 || !E2)
        return false;
    std::size_t Candidates[2];
    char Set = 0;
    std::size_t Count = 0;
    for (const char S : std::string_view(BarFirst ? "C" : "AB"))
        for (std::size_t D = 0; D < 10; ++D) {
            const TNominal N = NominalOf(D, S);
            if (N.E1 == E1 && N.E2 == E2 && Count < 2) {
                Candidates[Count++] = D;
                Set = S;
            }
        }
    if (Count == 0)
        return false;
    std::size_t Digit = Candidates[0];
    if (Count == 2) {
        const double B = BarFirst ? W[0] + W[2] : W[1] + W[3];
        std::int32_t Fewer = NominalOf(Candidates[0], Set).Bars, More = NominalOf(Candidates[1], Set).Bars;
        std::size_t FewerDigit = Candidates[0], MoreDigit = Candidates[1];
        if (Fewer > More) {
            std::swap(Fewer, More);
            std::swap(FewerDigit, MoreDigit);
        }
        const double Threshold = (Fewer + More) / 2.0 * U;
        Digit = B <= Threshold ? FewerDigit : MoreDigit;
        V = std::min(V, std::fabs(B - Threshold) / ((More - Fewer) / 2.0 * U));
    }
    Out = {char('0' + Digit), Set, V};
    return true;
}

// The elements' widths in dots and which are bars, and the reading so far.
struct TDecoder {
    TDecoder(const std::vector<double>& Width, const std::vector<TElement>& Elements)
        : Width(Width), Elements(Elements)
    {
    }

    const std::vector<double>& Width;
    const std::vector<TElement>& Elements;
    std::size_t At = 1;
    double Decodability = 1;
    double X = 0;         // the main symbol's module, from its width
    bool Measured = true; // every character classified: Decodability holds
    std::string Error;

    bool Fail(const std::string& Why)
    {
        if (Error.empty())
            Error = Why;
        return false;
    }

    // The elements a row takes from its first bar to its last.
    static std::size_t ElementCount(const TSymbologyRow& Row)
    {
        std::size_t N = 0;
        const auto Runs = [](const char* Bars) {
            std::size_t Count = 1;
            for (std::size_t K = 1; Bars[K]; ++K)
                Count += Bars[K] != Bars[K - 1];
            return Count;
        };
        for (std::size_t I = 0; I < Row.StepCount; ++I) {
            const TStep& Step = Row.Steps[I];
            if (Step.Kind == TStep::Pattern)
                N += Runs(Step.Bars);
            else if (Step.Kind == TStep::Digits)
                N += Step.Count * 4u + (Step.Separator ? (Step.Count - 1u) * Runs(Step.Separator) : 0);
        }
        return N;
    }

    // A guard or separator: its elements alternate as the pattern does, and
    // each two neighbours measure their nominal modules (edge to similar
    // edge, as the characters are measured) within half a module.
    bool Pattern(const char* Bars, double X, const char* What)
    {
        std::vector<std::int32_t> Runs;
        for (std::size_t K = 0; Bars[K]; ++K) {
            if (K == 0 || Bars[K] != Bars[K - 1]) {
                if (Elements[At + Runs.size()].Bar != (Bars[K] == '1'))
                    return Fail(std::string("the ") + What + " starts with the wrong element");
                Runs.push_back(0);
            }
            ++Runs.back();
        }
        for (std::size_t K = 0; K + 1 < Runs.size(); ++K)
            if (std::fabs(Width[At + K] + Width[At + K + 1] - (Runs[K] + Runs[K + 1]) * X) >= X / 2)
                return Fail(std::string("the ") + What + " is not " + Bars);
        At += Runs.size();
        return true;
    }

    // A row of the family's layout from its first bar, into Data (its length
    // the row's digits); false with the reason when anything does not read.
    bool ReadRow(const TSymbologyRow& Row, bool AddOn, std::string& Data)
    {
        const std::size_t Count = ElementCount(Row);
        if (At + Count > Elements.size())
            return Fail(std::string("the profile has too few elements for ") + Row.Name);
        double Span = 0;
        for (std::size_t K = At; K < At + Count; ++K)
            Span += Width[K];
        const double X = Span / BarModules(Row);
        if (!AddOn)
            this->X = X;
        Data.assign(Row.BodyDigits + (AddOn ? 0 : 1), '?');
        for (std::size_t I = 0; I < Row.StepCount; ++I) {
            const TStep& Step = Row.Steps[I];
            if (Step.Kind == TStep::Pattern && !Pattern(Step.Bars, X, AddOn ? "add-on's start" : "guard pattern"))
                return false;
            if (Step.Kind != TStep::Digits)
                continue;
            std::string Sets;
            for (std::size_t K = 0; K < Step.Count; ++K) {
                if (K > 0 && Step.Separator && !Pattern(Step.Separator, X, "add-on's separator"))
                    return false;
                TCharacter C{};
                if (!ReadCharacter(&Width[At], Step.BarFirst, C)) {
                    Measured = false;
                    return Fail("symbol character " + std::to_string(Step.First + K + 1) + " of " + Row.Name +
                                " does not decode");
                }
                Decodability = std::min(Decodability, C.Decodability);
                Data[Step.First + K] = C.Digit;
                Sets += C.Set;
                At += 4;
            }
            if (!CharacterSets(Step, Sets, Data))
                return false;
        }
        return true;
    }

    // The sets the characters came in: each row's rule, and for EAN-13 and
    // UPC-E the digits the sets carry.
    bool CharacterSets(const TStep& Step, const std::string& Sets, std::string& Data)
    {
        switch (Step.Sets) {
        case TStep::SetA:
            if (Sets.find('B') != std::string::npos)
                return Fail("a character of set B where set A belongs: " + Sets);
            return true;
        case TStep::SetC:
            return true;
        case TStep::Ean13Parity:
            for (std::size_t D = 0; D < ParityPatterns.size(); ++D)
                if (Sets == ParityPatterns[D]) {
                    Data[0] = char('0' + D);
                    return true;
                }
            return Fail("no leading digit has the sets " + Sets);
        case TStep::UpcEParity:
            for (const char NumberSystem : {'0', '1'})
                for (char Check = '0'; Check <= '9'; ++Check)
                    if (UpcEParity(NumberSystem, Check) == Sets) {
                        Data[0] = NumberSystem;
                        Data[7] = Check;
                        return true;
                    }
            return Fail("no number system and check digit have the sets " + Sets);
        case TStep::AddOnParity:
            if (AddOnParity(Data) != Sets)
                return Fail("the add-on " + Data + " comes in the sets " + Sets + ", not " + AddOnParity(Data));
            return true;
        }
        return true;
    }

    // A quiet zone at least Modules wide. A profile holds whole dots, so a
    // zone of exactly the nominal width may come out half a dot short.
    bool QuietZone(std::size_t Index, std::int32_t Modules, double X, const char* What)
    {
        if (Elements[Index].Bar || Width[Index] < Modules * X - 0.5)
            return Fail(std::string("the ") + What + " is narrower than " + std::to_string(Modules) + " modules");
        return true;
    }
};

// The reference decode, left to right: the quiet zone, the symbol, the
// add-on's gap and the add-on, the last quiet zone and nothing else; then
// the digits read as the strict reading takes them, and as expected. Into G:
// the digits, the decodability and the first reason it failed.
void Decode(TDecoder D, double DotsPerModule, const TEanReading& Expected, TScanGrade& G)
{
    const TSymbologyRow* Row = RowOf(Expected.Symbology);
    const TSymbologyRow* AddOnRow = AddOnRowOf(Expected.AddOn.size());
    const auto Finish = [&D, &G, AddOnRow] {
        // Digits only where every position was read, and decodability only
        // where every character was.
        for (std::string* Digits : {&G.Digits, &G.AddOn})
            if (Digits->find('?') != std::string::npos)
                Digits->clear();
        const bool Complete = !G.Digits.empty() && (!AddOnRow || !G.AddOn.empty());
        G.Decodability.Value = D.Measured && Complete ? D.Decodability : 0;
        G.DecodeError = D.Error;
    };
    const std::size_t Count = D.Elements.size();
    if (!Expected.Valid() || !Row)
        D.Fail("the expected symbol does not hold: " + Expected.Error);
    else if (Count < 3)
        D.Fail("the profile has no bars");
    else if (D.Elements.front().Bar)
        D.Fail("the profile starts on a bar, not a quiet zone");
    if (!D.Error.empty() || !D.ReadRow(*Row, false, G.Digits))
        return Finish();
    // The quiet zones in nominal modules; the symbol's own without a nominal X.
    const double X = std::isfinite(DotsPerModule) && DotsPerModule > 0 ? DotsPerModule : D.X;
    if (!D.QuietZone(0, Row->LeftQuietZone, X, "left quiet zone"))
        return Finish();
    if (AddOnRow) {
        const std::size_t Gap = D.At++;
        if (Gap >= Count)
            D.Fail("the profile ends on a bar");
        else if (D.QuietZone(Gap, LeastAddOnGap(Expected.Symbology), X, "gap before the add-on") &&
                 D.Width[Gap] > MaxAddOnGap * X + 0.5)
            D.Fail("the gap before the add-on is wider than " + std::to_string(MaxAddOnGap) + " modules");
        if (!D.Error.empty() || !D.ReadRow(*AddOnRow, true, G.AddOn))
            return Finish();
    }
    if (D.At >= Count)
        D.Fail("the profile ends on a bar");
    else if (D.At + 1 < Count)
        D.Fail(std::to_string(Count - D.At - 1) + " more elements after the symbol");
    else if (D.QuietZone(D.At, AddOnRow ? AddOnRow->RightQuietZone : Row->RightQuietZone, X, "right quiet zone")) {
        const TEanReading Again = ReadSymbol(Expected.Symbology, G.Digits);
        if (!Again.Valid() || Again.Data != G.Digits)
            D.Fail("the digits read, " + G.Digits + ", do not hold: " + Again.Error);
        else if (G.Digits != Expected.Data || G.AddOn != Expected.AddOn)
            D.Fail("read " + G.Digits + (G.AddOn.empty() ? "" : " +" + G.AddOn) + ", not the expected " +
                   Expected.Data + (Expected.AddOn.empty() ? "" : " +" + Expected.AddOn));
    }
    Finish();
}

} // namespace

double Reflectance660(std::uint32_t Rgb)
{
    const double C = double((Rgb >> 16) & 0xFFu) / 255;
    return 100 * (C <= 0.04045 ? C / 12.92 : std::pow((C + 0.055) / 1.055, 2.4));
}

const char* ScanParameterName(TScanParameter Parameter)
{
    static const char* const Names[] = {"decode",     "symbol contrast", "minimum reflectance", "minimum edge contrast",
                                        "modulation", "defects",         "decodability"};
    return std::size_t(Parameter) < std::size(Names) ? Names[std::size_t(Parameter)] : "";
}

TScanGrade GradeScan(const TScanProfile& Profile, const TEanReading& Expected)
{
    TScanGrade G;
    const std::vector<double>& R = Profile.Reflectance;
    const bool Finite = std::all_of(R.begin(), R.end(), [](double V) { return std::isfinite(V); });
    const bool Usable = !R.empty() && Finite;
    std::vector<TElement> Elements;
    if (Usable) {
        const auto [Low, High] = std::minmax_element(R.begin(), R.end());
        G.MaxReflectance = *High;
        G.MinReflectance.Value = *Low;
        G.SymbolContrast.Value = *High - *Low;
        G.GlobalThreshold = (*High + *Low) / 2;
        Elements = FindElements(R, G.GlobalThreshold);
    }

    // Edges, widths, and the reflectance parameters of the elements.
    std::vector<double> Width(Elements.size());
    double Left = 0, EcMin = -1, ErnMax = 0;
    for (std::size_t I = 0; I < Elements.size(); ++I) {
        const double Right = I + 1 < Elements.size() ? EdgeBetween(R, Elements[I], Elements[I + 1]) : double(R.size());
        Width[I] = Right - Left;
        Left = Right;
        ErnMax = std::max(ErnMax, Elements[I].Ern);
        if (I > 0) {
            const double Ec = std::fabs(Elements[I].Extreme - Elements[I - 1].Extreme);
            EcMin = EcMin < 0 ? Ec : std::min(EcMin, Ec);
        }
    }
    const double Sc = G.SymbolContrast.Value;
    G.MinEdgeContrast.Value = std::max(EcMin, 0.0);
    G.Modulation.Value = Sc > 0 ? G.MinEdgeContrast.Value / Sc : 0;
    // Without contrast no defect can be told from the symbol: the worst.
    G.Defects.Value = Sc > 0 ? ErnMax / Sc : 1;

    if (!Usable)
        G.DecodeError = R.empty() ? "the profile is empty" : "the profile holds a value that is not a number";
    else
        Decode(TDecoder(Width, Elements), Profile.DotsPerModule, Expected, G);
    G.Decode.Value = G.DecodeError.empty() ? 1 : 0;

    G.Decode.Grade = G.Decode.Value == 1 ? 'A' : 'F';
    G.SymbolContrast.Grade = GradeAtLeast(Sc, SymbolContrastLimits);
    G.MinReflectance.Grade = Usable && G.MinReflectance.Value <= G.MaxReflectance / 2 ? 'A' : 'F';
    G.MinEdgeContrast.Grade = G.MinEdgeContrast.Value >= MinEdgeContrastLimit ? 'A' : 'F';
    G.Modulation.Grade = GradeAtLeast(G.Modulation.Value, ModulationLimits);
    G.Defects.Grade = GradeAtMost(G.Defects.Value, DefectsLimits);
    G.Decodability.Grade = GradeAtLeast(G.Decodability.Value, DecodabilityLimits);

    G.Grade = 'A';
    for (std::size_t P = 0; P <= std::size_t(TScanParameter::Decodability); ++P)
        G.Grade = std::max(G.Grade, G[TScanParameter(P)].Grade);
    for (std::size_t P = 0; P <= std::size_t(TScanParameter::Decodability) && G.Grade != 'A'; ++P)
        if (G[TScanParameter(P)].Grade == G.Grade) {
            G.GradedBy.push_back(TScanParameter(P));
            G.Reason += (G.Reason.empty() ? "" : ", ") + std::string(ScanParameterName(TScanParameter(P)));
        }
    return G;
}

} // namespace WEQEan
