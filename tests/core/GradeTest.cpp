// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// The print-quality grade of profiles drawn from the library's own layout: the
// colours a 660 nm scanner sees, bars widened or thinned by whole dots, spots
// painted into elements, and profiles that must not decode.
#include "ean/Core_p.h"
#include "ean/WEQEanGrade.h"
#include "tests/core/FamilyShow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numeric>

using namespace WEQEan;

namespace {

constexpr std::uint32_t White = 0xFFFFFF, Black = 0x000000;
using TWidths = std::vector<double>;

struct TColourRow {
    const char* Name;
    std::uint32_t Rgb;
    double Reflectance;
};

const TColourRow ColourRows[] = {
    {"White", White, 100}, {"Black", Black, 0}, {"Red", 0xFF0000, 100}, {"Orange", 0xFF8000, 100},
    {"Yellow", 0xFFFF00, 100}, {"DarkBlue", 0x000080, 0}, {"DarkGreen", 0x006400, 0},
    // c = 224/255 = 0.878431; (c + 0.055) / 1.055 = 0.884769; 0.884769^2.4 = 0.745404.
    {"LightGrey", 0xE0E0E0, 74.5404},
    // 10/255 = 0.039216, below 0.04045: / 12.92 = 0.0030353. 11/255 = 0.043137,
    // above: (0.098137 / 1.055)^2.4 = 0.0033465.
    {"StraightBelowBreakpoint", 0x0A0000, 0.30353}, {"CurveAboveBreakpoint", 0x0B0000, 0.33465},
    {"HighByteIgnored", 0xFF000000u, 0}, {"TColorRedIsBlueHere", clRed, 0},
};

TEST(Reflectance660Test, IsTheLinearRedChannel)
{
    for (const TColourRow& Row : ColourRows)
        EXPECT_NEAR(Reflectance660(Row.Rgb), Row.Reflectance, 1e-4) << Row.Name;
}

// A symbol drawn at Dots a module, its widths edited before, its dots painted
// after; graded against the expected reading (by default the one drawn).
struct TRow {
    const char* Name;
    TSymbology Symbology = Ean13;
    const char* Text = "4006381333931";
    const char* AddOn = "";
    double Dots = 8;
    std::uint32_t Space = White, Bar = Black;
    void (*Edit)(TWidths& Runs) = nullptr; // element widths in dots, left quiet zone first
    void (*Paint)(const TWidths& Runs, std::vector<double>& Dots) = nullptr;
    TSymbology Expect = Symbology;
    const char* ExpectText = Text;
    const char* ExpectAddOn = AddOn;
    // What comes out: the digits read, the grades, one parameter's value, and
    // words from the decode's reason for failing (empty: it passes).
    const char* Digits = Text;
    const char* ReadAddOn = AddOn;
    char Grade = 'A', ContrastGrade = 'A';
    const char* Reason = "";
    TScanParameter Measured = TScanParameter::Decodability;
    double Value = 1;
    const char* Because = "";
};

void PrintTo(const TRow& Row, std::ostream* Out) { *Out << Row.Name; }

// The element widths in dots from the layout's modules, left quiet zone first.
TWidths Runs(TSymbology S, const std::string& Text, const std::string& AddOn, double Dots)
{
    const TEanReading R = ReadSymbol(S, Text, AddOn);
    const std::string Modules = ShowModules(DescribeSymbol(R, SymbolModules(S, R.AddOn.size()), 0, false));
    TWidths Out{0};
    for (std::size_t K = 0; K < Modules.size(); ++K) {
        if (K > 0 && (Modules[K] == '.') != (Modules[K - 1] == '.'))
            Out.push_back(0);
        Out.back() += Dots;
    }
    return Out;
}

std::size_t StartOf(const TWidths& Runs, std::size_t Run)
{
    return std::size_t(std::accumulate(Runs.begin(), Runs.begin() + std::ptrdiff_t(Run), 0.0));
}

// Each dot the mean reflectance over its area: whole dots a module give pure
// values, a fraction mixes the dots an edge cuts.
std::vector<double> Render(const TWidths& Runs, double Space, double Bar)
{
    std::vector<double> R(std::size_t(std::ceil(std::accumulate(Runs.begin(), Runs.end(), 0.0) - 1e-9)), Space);
    double Start = 0;
    for (std::size_t I = 0; I < Runs.size(); Start += Runs[I++])
        for (std::size_t K = std::size_t(Start); I % 2 == 1 && K < R.size() && K < Start + Runs[I]; ++K)
            R[K] += (std::min(K + 1.0, Start + Runs[I]) - std::max(double(K), Start)) * (Bar - Space);
    return R;
}

const char* const Everything =
    "decode, symbol contrast, minimum reflectance, minimum edge contrast, modulation, defects, decodability";
constexpr TScanParameter Defects = TScanParameter::Defects, EdgeContrast = TScanParameter::MinEdgeContrast;

// EAN-13 4006381333931 at 8 dots a module unless told. Runs 4 .. 7 are its
// first character, '0' in set A (space 3, bar 2, space 1, bar 1), runs 8 .. 11
// its second, '0' in set B (1, 1, 2, 3). A character's decodability is
// 1 - |e - E T/7| / (T/14) for e1 = W1 + W2 and e2 = W2 + W3, and where the bars
// tell 1 from 7 or 2 from 8 also |b - threshold| / (T/7).
//  - Bar 5 a dot wider into space 6: 24, 17, 7, 8 dots, T = 56, T/14 = 4; e1 = 41
//    is E1 = 5 a dot off: 1 - 1/4 = 0.75; e2 = 24 is exactly 3. At 5 dots a
//    module T/14 = 2.5: 1 - 1/2.5 = 0.6, grade B.
//  - Bar 7 a dot wider into run 8: 24, 16, 8, 9, T = 57: e1 = 40 against
//    5 T/7 = 40 5/7: 1 - (5/7) / (57/14) = 47/57; e2 = 24 against 24 3/7: 51/57.
//    Then 7, 8, 16, 24, T = 55: e1 = 15 against 15 5/7: 1 - (5/7) / (55/14) =
//    9/11; e2 = 24 against 23 4/7: 49/55. V = 9/11.
//  - Every bar a dot thinner at each edge: T, e1 and e2 keep their widths; the
//    bars of '1' (set B at 6, set C at 12: 4 modules, 32 dots, now 28) come 4
//    dots nearer the 3T/7 = 24 between 1 and 7: 4/8 = 0.5. Three dots thinner:
//    20 dots, below 24: both read as 7.
// Spots: white 100 on black 0, SC 100, GT 50. One of 72 in the quiet zone lies
// below 100 on both sides, a valley: ERN = 100 - 72 = 28, Defects = 28/100 =
// 0.28, over 0.25 and at most 0.30: D.
void Thinner(TWidths& W, double Dots)
{
    for (std::size_t I = 1; I < W.size(); I += 2) {
        W[I] -= 2 * Dots;
        W[I - 1] += Dots;
        W[I + 1] += Dots;
    }
}

const TRow Rows[] = {
    {.Name = "Ean13"},
    {.Name = "Ean8", .Symbology = Ean8, .Text = "96385074"},
    {.Name = "UpcA", .Symbology = UpcA, .Text = "036000291452"},
    {.Name = "UpcE", .Symbology = UpcE, .Text = "04252614"},
    {.Name = "Ean13AddOn2", .Text = "9780201379624", .AddOn = "12"},
    {.Name = "UpcAAddOn5", .Symbology = UpcA, .Text = "036000291452", .AddOn = "52495", .Dots = 4},
    {.Name = "UpcEAddOn5OneDotAModule", .Symbology = UpcE, .Text = "04252614", .AddOn = "86104", .Dots = 1},
    // Edges on half dots: a dot of 50 between 100 and 0, the midpoint crossed at its centre.
    {.Name = "HalfDots", .Text = "5901234123457", .Dots = 7.5},
    {.Name = "DarkBlueBars", .Bar = 0x000080},
    {.Name = "DarkGreenBars", .Symbology = Ean8, .Text = "96385074", .Bar = 0x006400},
    {.Name = "RedBars", .Bar = 0xFF0000, .Digits = "", .Grade = 'F', .ContrastGrade = 'F', .Reason = Everything,
     .Value = 0, .Because = "no bars"},
    {.Name = "YellowBars", .Bar = 0xFFFF00, .Digits = "", .Grade = 'F', .ContrastGrade = 'F', .Reason = Everything,
     .Value = 0, .Because = "no bars"},
    // 47.93 on 100: SC 52.07 grades C, Rmin is under half Rmax.
    {.Name = "MidGreyBars", .Bar = 0xB8B8B8, .Grade = 'C', .ContrastGrade = 'C', .Reason = "symbol contrast"},
    // 14.41 on 40.20: SC 25.78 grades D; Rmin 14.41 <= 20.10, ECmin 25.78 >= 15.
    {.Name = "GreyOnBoard", .Space = 0xAAAAAA, .Bar = 0x6A6A6A, .Grade = 'D', .ContrastGrade = 'D',
     .Reason = "symbol contrast"},
    // 74.54 on 100: SC 25.46 grades D, but Rmin is over half Rmax: F.
    {.Name = "LightGreyBars", .Bar = 0xE0E0E0, .Grade = 'F', .ContrastGrade = 'D', .Reason = "minimum reflectance"},
    {.Name = "BarWider", .Edit = [](TWidths& W) { W[5] += 1; W[6] -= 1; }, .Value = 0.75},
    {.Name = "BarWiderAtFiveDots", .Dots = 5, .Edit = [](TWidths& W) { W[5] += 1; W[6] -= 1; }, .Grade = 'B',
     .Reason = "decodability", .Value = 0.6},
    {.Name = "BarWiderIntoTheNextCharacter", .Edit = [](TWidths& W) { W[7] += 1; W[8] -= 1; }, .Value = 9.0 / 11},
    {.Name = "BarsThinner", .Edit = [](TWidths& W) { Thinner(W, 1); }, .Grade = 'B', .Reason = "decodability",
     .Value = 0.5},
    {.Name = "BarsMuchThinner", .Edit = [](TWidths& W) { Thinner(W, 3); }, .Digits = "4006387333937", .Grade = 'F',
     .Reason = "decode", .Value = 0.5, .Because = "4006387333937, do not hold"},
    {.Name = "QuietZoneSpotGradeD", .Paint = [](const TWidths&, std::vector<double>& R) { R[40] = 72; },
     .Grade = 'D', .Reason = "defects", .Measured = Defects, .Value = 0.28},
    {.Name = "TwoDotSpotInASpace",
     .Paint = [](const TWidths& W, std::vector<double>& R) { R[StartOf(W, 4) + 11] = R[StartOf(W, 4) + 12] = 76; },
     .Grade = 'C', .Reason = "defects", .Measured = Defects, .Value = 0.24},
    {.Name = "VoidInABar", .Paint = [](const TWidths& W, std::vector<double>& R) { R[StartOf(W, 5) + 8] = 35; },
     .Grade = 'F', .Reason = "defects", .Measured = Defects, .Value = 0.35},
    // 100, 60, 0: a shoulder on the way down to the bar, neither peak nor valley.
    {.Name = "ShoulderIsNoDefect", .Paint = [](const TWidths& W, std::vector<double>& R) { R[StartOf(W, 5) - 1] = 60; },
     .Measured = Defects, .Value = 0},
    // A narrow space of 65: ECmin 65 - 0, MOD 0.65: B.
    {.Name = "GreySpace",
     .Paint = [](const TWidths& W, std::vector<double>& R) { std::fill_n(R.begin() + StartOf(W, 6), 8, 65.0); },
     .Grade = 'B', .Reason = "modulation", .Measured = EdgeContrast, .Value = 65},
    // Bar 48 beside space 60: EC 12, under 15; MOD 0.12.
    {.Name = "LowEdgeContrast",
     .Paint =
         [](const TWidths& W, std::vector<double>& R) {
             std::fill_n(R.begin() + StartOf(W, 5), 16, 48.0);
             std::fill_n(R.begin() + StartOf(W, 6), 8, 60.0);
         },
     .Grade = 'F', .Reason = "minimum edge contrast, modulation", .Measured = EdgeContrast, .Value = 12},
    {.Name = "OtherDigits", .Text = "5901234123457", .ExpectText = "4006381333931", .Grade = 'F', .Reason = "decode",
     .Because = "not the expected 4006381333931"},
    {.Name = "OtherSymbology", .Symbology = Ean8, .Text = "96385074", .Expect = Ean13, .ExpectText = "4006381333931",
     .Digits = "", .Grade = 'F', .Reason = "decode, decodability", .Value = 0, .Because = "too few elements"},
    {.Name = "OtherAddOn", .Text = "9780201379624", .AddOn = "12", .ExpectAddOn = "13", .Grade = 'F',
     .Reason = "decode", .Because = "not the expected 9780201379624 +13"},
    {.Name = "AddOnMissing", .Text = "9780201379624", .ExpectAddOn = "12", .Grade = 'F',
     .Reason = "decode, decodability", .Value = 0, .Because = "too few elements for add-on"},
    {.Name = "AddOnUnexpected", .Text = "9780201379624", .AddOn = "12", .ExpectAddOn = "", .ReadAddOn = "",
     .Grade = 'F', .Reason = "decode", .Because = "more elements after the symbol"},
    {.Name = "LeftQuietZoneShort", .Edit = [](TWidths& W) { W[0] -= 9; }, .Grade = 'F', .Reason = "decode",
     .Because = "left quiet zone is narrower than 11"},
    {.Name = "NoLeftQuietZone", .Edit = [](TWidths& W) { W[0] = 0; }, .Digits = "", .Grade = 'F',
     .Reason = "decode, decodability", .Value = 0, .Because = "starts on a bar"},
    // Runs 0 .. 59 are EAN-13's quiet zone and elements, 60 the add-on's gap: 9 modules, now 13.
    {.Name = "AddOnGapTooWide", .Text = "9780201379624", .AddOn = "12", .Edit = [](TWidths& W) { W[60] += 32; },
     .ReadAddOn = "", .Grade = 'F', .Reason = "decode, decodability", .Value = 0, .Because = "wider than 12 modules"},
    // The add-on's last character, '2' in set A (2, 1, 2, 2), drawn in set B (2, 2, 1, 2).
    {.Name = "AddOnSetsWrong", .Text = "9780201379624", .AddOn = "12",
     .Edit = [](TWidths& W) { W[W.size() - 4] = 16; W[W.size() - 3] = 8; }, .Grade = 'F', .Reason = "decode",
     .Because = "the add-on 12 comes in the sets AB, not AA"},
    // The leading 4 puts sets ABAABB on the left, where UPC-A has only A.
    {.Name = "Ean13AsUpcA", .Expect = UpcA, .ExpectText = "036000291452", .Digits = "", .Grade = 'F',
     .Reason = "decode, decodability", .Value = 0, .Because = "set B where set A belongs"},
    // The first bar a module further left: the guard reads 1, 2, 1.
    {.Name = "GuardPatternWrong", .Edit = [](TWidths& W) { W[0] -= 8; W[2] += 8; }, .Digits = "", .Grade = 'F',
     .Reason = "decode, decodability", .Value = 0, .Because = "guard pattern is not 101"},
    {.Name = "FirstHalfOnly", .Paint = [](const TWidths&, std::vector<double>& R) { R.resize(450); }, .Digits = "",
     .Grade = 'F', .Reason = "decode, decodability", .Value = 0, .Because = "too few elements"},
    {.Name = "AllWhite", .Paint = [](const TWidths&, std::vector<double>& R) { R.assign(R.size(), 100); },
     .Digits = "", .Grade = 'F', .ContrastGrade = 'F', .Reason = Everything, .Value = 0, .Because = "no bars"},
    {.Name = "Empty", .Paint = [](const TWidths&, std::vector<double>& R) { R.clear(); }, .Digits = "", .Grade = 'F',
     .ContrastGrade = 'F', .Reason = Everything, .Value = 0, .Because = "empty"},
    {.Name = "NotANumber",
     .Paint = [](const TWidths&, std::vector<double>& R) { R[9] = std::numeric_limits<double>::quiet_NaN(); },
     .Digits = "", .Grade = 'F', .ContrastGrade = 'F', .Reason = Everything, .Value = 0, .Because = "not a number"},
};

class GradeScanTest : public ::testing::TestWithParam<TRow> {};

TEST_P(GradeScanTest, GradesWhatTheScannerSees)
{
    const TRow& Row = GetParam();
    TWidths W = Runs(Row.Symbology, Row.Text, Row.AddOn, Row.Dots);
    if (Row.Edit)
        Row.Edit(W);
    TScanProfile P{Render(W, Reflectance660(Row.Space), Reflectance660(Row.Bar)), Row.Dots};
    if (Row.Paint)
        Row.Paint(W, P.Reflectance);
    const TScanGrade G = GradeScan(P, ReadSymbol(Row.Expect, Row.ExpectText, Row.ExpectAddOn));
    EXPECT_EQ(G.Grade, Row.Grade);
    EXPECT_EQ(G.Reason, Row.Reason);
    EXPECT_EQ(G.SymbolContrast.Grade, Row.ContrastGrade);
    EXPECT_NEAR(G[Row.Measured].Value, Row.Value, 1e-9) << ScanParameterName(Row.Measured);
    EXPECT_EQ(G.Digits, Row.Digits);
    EXPECT_EQ(G.AddOn, Row.ReadAddOn);
    EXPECT_EQ(G.Decode.Grade, *Row.Because ? 'F' : 'A');
    EXPECT_EQ(G.DecodeError.empty(), !*Row.Because) << G.DecodeError;
    EXPECT_NE(G.DecodeError.find(Row.Because), std::string::npos) << G.DecodeError;
}

INSTANTIATE_TEST_SUITE_P(Rows, GradeScanTest, ::testing::ValuesIn(Rows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

} // namespace
