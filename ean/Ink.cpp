// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// Inks: their text, their look on a screen, and what a scanner's red light
// sees in them.

#include "ean/WEQEanInk.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace WEQEan {

namespace {

// --- The model of the 660 nm reflectance; docs/colour.md says where each
// figure comes from and what it leaves out. ----------------------------------

// White coated paper under 660 nm light, percent.
constexpr double PaperReflectance = 88;
// Each process ink's solid printed on that paper, relative to the paper:
// cyan and black absorb red light, magenta and yellow hardly do. In the
// order C, M, Y, K.
constexpr std::array<double, 4> SolidReflectance = {0.04, 0.89, 0.95, 0.02};
// Yule-Nielsen's n: light scattered in the paper under a halftone dot's
// edge makes a tint darker than its dot area alone would (n = 1 is
// Murray-Davies, no scattering).
constexpr double YuleNielsenN = 1.7;

std::string Lower(std::string_view S)
{
    std::string Out(S);
    std::transform(Out.begin(), Out.end(), Out.begin(), [](unsigned char C) { return char(std::tolower(C)); });
    return Out;
}

std::string_view Trim(std::string_view S)
{
    while (!S.empty() && (S.front() == ' ' || S.front() == '\t'))
        S.remove_prefix(1);
    while (!S.empty() && (S.back() == ' ' || S.back() == '\t'))
        S.remove_suffix(1);
    return S;
}

bool Fail(std::string* Error, std::string Reason)
{
    if (Error)
        *Error = std::move(Reason);
    return false;
}

// A percentage: digits with at most one point, 0 to 100.
bool ParsePercent(std::string_view Text, double& Out)
{
    Text = Trim(Text);
    if (Text.empty() || Text.size() > 16)
        return false;
    bool Point = false, Digit = false;
    for (const char Ch : Text) {
        if (Ch == '.' && !Point)
            Point = true;
        else if (Ch >= '0' && Ch <= '9')
            Digit = true;
        else
            return false;
    }
    if (!Digit)
        return false;
    Out = std::strtod(std::string(Text).c_str(), nullptr);
    return Out >= 0 && Out <= 100;
}

// The text inside "word(" ... ")", split at its commas; false where the
// text is not that call.
bool Arguments(std::string_view Text, std::string_view Word, std::vector<std::string_view>& Out)
{
    if (Text.size() < Word.size() + 2 || Lower(Text.substr(0, Word.size())) != Word)
        return false;
    std::string_view Rest = Trim(Text.substr(Word.size()));
    if (Rest.size() < 2 || Rest.front() != '(' || Rest.back() != ')')
        return false;
    Rest = Rest.substr(1, Rest.size() - 2);
    Out.clear();
    for (std::size_t Start = 0;;) {
        const std::size_t Comma = Rest.find(',', Start);
        Out.push_back(Rest.substr(Start, Comma == std::string_view::npos ? std::string_view::npos : Comma - Start));
        if (Comma == std::string_view::npos)
            return true;
        Start = Comma + 1;
    }
}

// The sRGB value of a TColor as 0xRRGGBB.
std::uint32_t RgbOf(TColor Color) { return (Color & 0xFFu) << 16 | (Color & 0xFF00u) | (Color >> 16 & 0xFFu); }

std::string Number(double V)
{
    char Text[32];
    std::snprintf(Text, sizeof Text, "%.4g", V);
    return Text;
}

// A process ink's tint (Dot of 0 .. 1) as a factor of the paper's reflectance.
double TintFactor(double Dot, double Solid)
{
    const double A = std::clamp(Dot, 0.0, 1.0);
    return std::pow(1 - A + A * std::pow(Solid, 1 / YuleNielsenN), YuleNielsenN);
}

} // namespace

bool ParseInk(const std::string& Given, TInk& Ink, std::string* Error)
{
    const std::string_view Text = Trim(Given);
    if (Text.find('\0') != std::string_view::npos)
        return Fail(Error, "a colour holds no NUL byte");
    if (Lower(Text) == "none") {
        Ink = TInk::NoInk();
        return true;
    }
    if (!Text.empty() && Text[0] == '#') {
        if (Text.size() != 7 || !std::all_of(Text.begin() + 1, Text.end(), [](unsigned char C) { return std::isxdigit(C); }))
            return Fail(Error, "an RGB colour is # and 6 hexadecimal digits, #rrggbb");
        const auto V = std::uint32_t(std::strtoul(std::string(Text.substr(1)).c_str(), nullptr, 16));
        Ink = TInk::FromColor((V >> 16 & 0xFF) | (V & 0xFF00) | (V & 0xFF) << 16);
        return true;
    }
    std::vector<std::string_view> Args;
    const bool Spot = Arguments(Text, "spot", Args);
    if (!Spot && !Arguments(Text, "cmyk", Args))
        return Fail(Error, "a colour is #rrggbb, cmyk(C,M,Y,K), spot(NAME,C,M,Y,K) or none");
    const std::size_t First = Spot ? 1 : 0;
    if (Args.size() != First + 4)
        return Fail(Error, Spot ? "spot(NAME,C,M,Y,K) takes a name and four percentages"
                                : "cmyk(C,M,Y,K) takes four percentages");
    double P[4];
    for (std::size_t I = 0; I < 4; ++I)
        if (!ParsePercent(Args[First + I], P[I]))
            return Fail(Error, "'" + std::string(Trim(Args[First + I])) + "' is not a percentage from 0 to 100");
    if (!Spot) {
        Ink = TInk::FromCmyk(P[0], P[1], P[2], P[3]);
        return true;
    }
    const std::string Name(Trim(Args[0]));
    if (Name.empty() || Name.size() > MaxSpotNameLength)
        return Fail(Error, "a spot colour's name is 1 to " + std::to_string(MaxSpotNameLength) + " characters");
    for (const char Ch : Name)
        if (Ch < 0x20 || Ch > 0x7E || Ch == '(' || Ch == ')')
            return Fail(Error, "a spot colour's name is printable ASCII without '(', ')' or ','");
    for (const char* Reserved : {"all", "none", "cyan", "magenta", "yellow", "black"})
        if (Lower(Name) == Reserved)
            return Fail(Error, "'" + Name + "' names a plate already: give a spot colour a name of its own" +
                                   (Lower(Name) == "all" || Lower(Name) == "none" ? "" : ", or use cmyk(C,M,Y,K)"));
    Ink = TInk::FromSpot(Name, P[0], P[1], P[2], P[3]);
    return true;
}

std::string InkText(const TInk& Ink)
{
    switch (Ink.Kind) {
    case TInk::None:
        return "none";
    case TInk::Cmyk:
    case TInk::Spot:
        return std::string(Ink.Kind == TInk::Spot ? "spot(" + Ink.Name + "," : "cmyk(") + Number(Ink.C) + "," +
               Number(Ink.M) + "," + Number(Ink.Y) + "," + Number(Ink.K) + ")";
    case TInk::Rgb:
        break;
    }
    char Text[24];
    if (IsSystemColor(Ink.Color))
        std::snprintf(Text, sizeof Text, "system(%u)", unsigned(Ink.Color & 0xFFu));
    else
        std::snprintf(Text, sizeof Text, "#%06x", unsigned(RgbOf(Ink.Color)));
    return Text;
}

TColor InkColor(const TInk& Ink)
{
    switch (Ink.Kind) {
    case TInk::Rgb:
        return Ink.Color;
    case TInk::None:
        return clWhite;
    case TInk::Cmyk:
    case TInk::Spot:
        break;
    }
    const auto Channel = [&Ink](double Process) {
        const double V = (1 - std::clamp(Process, 0.0, 100.0) / 100) * (1 - std::clamp(Ink.K, 0.0, 100.0) / 100);
        return TColor(std::lround(V * 255));
    };
    return Channel(Ink.C) | Channel(Ink.M) << 8 | Channel(Ink.Y) << 16;
}

TInk PressInkOf(std::uint32_t Rgb)
{
    const double R = (Rgb >> 16 & 0xFF) / 255.0, G = (Rgb >> 8 & 0xFF) / 255.0, B = (Rgb & 0xFF) / 255.0;
    const double K = 1 - std::max({R, G, B});
    // Black has no other ink to share.
    if (K >= 1)
        return TInk::FromCmyk(0, 0, 0, 100);
    const auto Process = [K](double V) { return (1 - V - K) / (1 - K) * 100; };
    return TInk::FromCmyk(Process(R), Process(G), Process(B), K * 100);
}

double InkReflectance660(const TInk& Ink)
{
    switch (Ink.Kind) {
    case TInk::None:
        return PaperReflectance;
    case TInk::Rgb:
        return InkReflectance660(PressInkOf(IsSystemColor(Ink.Color) ? 0 : RgbOf(Ink.Color)));
    case TInk::Cmyk:
    case TInk::Spot:
        break;
    }
    // Each ink's dots fall on the others' at random (Demichel), and inks
    // over one another multiply as filters: the Yule-Nielsen form of
    // Neugebauer's sum is then the product of one factor an ink.
    const double Dots[4] = {Ink.C, Ink.M, Ink.Y, Ink.K};
    double R = PaperReflectance;
    for (std::size_t I = 0; I < 4; ++I)
        R *= TintFactor(Dots[I] / 100, SolidReflectance[I]);
    return R;
}

} // namespace WEQEan
