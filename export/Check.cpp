// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// What GS1's rules say of a print job, and the grade a scanner would give
// the symbol as printed: both from the same symbol the exports write.

#include "ean/WEQEanExport.h"

#include "ean/Core_p.h"
#include "ean/Units.h"
#include "export/Export_p.h"
#include "export/Writers_p.h"
#include "ean/Raster_p.h"
#include "ean/SystemColors_p.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace WEQEan {

namespace {

std::string Format(const char* Pattern, ...)
{
    char Buffer[512];
    va_list Args;
    va_start(Args, Pattern);
    std::vsnprintf(Buffer, sizeof Buffer, Pattern, Args);
    va_end(Args);
    return Buffer;
}

// Of the X-dimension as printed to the micrometre, as the sentence states it.
double Percent(double XMM)
{
    return std::round(XMM * MicrometresPerMillimetre) / MicrometresPerMillimetre / NominalXDimensionMM * 100;
}

// The X-dimension a job draws: whole dots at Dpi, or whole micrometres.
double DrawnXDimension(double X, int Dpi) { return Snap(X, Dpi > 0 ? Dpi : MicrometresPerInch).XDimensionMM; }

// The 660 nm reflectance of an ink as printed, a system colour resolved.
double Reflectance(const TInk& Ink)
{
    return InkReflectance660(Ink.Kind == TInk::Rgb ? TInk::FromColor(ResolveColor(Ink.Color)) : Ink);
}

// The job's inks, as a PDF of its options prints them.
TInks InksFor(const TExportOptions& O)
{
    TInks Inks;
    InksOf(O, Inks, nullptr);
    return Inks;
}

// A scan line across every bar of Symbol, DotsPerUnit dots a unit of its
// grid, in the job's inks: each dot as light as the bars and the
// background it covers.
TScanProfile ProfileOf(const TSymbol& Symbol, double DotsPerUnit, const TExportOptions& O)
{
    const TInks Inks = InksFor(O);
    const double Light = Reflectance(Inks.Background), Dark = Reflectance(Inks.Bars);
    TScanProfile Profile;
    Profile.DotsPerModule = Symbol.ModuleWidth * DotsPerUnit;
    Profile.Reflectance.assign(std::size_t(std::ceil(Symbol.Width * DotsPerUnit)), Light);
    for (const TSymbolElement& E : Symbol.Elements) {
        if (E.Kind != TSymbolElement::Bar)
            continue;
        const double L = E.Left * DotsPerUnit, R = (E.Left + E.Width) * DotsPerUnit;
        for (auto I = std::size_t(L); I < Profile.Reflectance.size() && double(I) < R; ++I) {
            const double Covered = std::min(R, double(I) + 1) - std::max(L, double(I));
            double& Dot = Profile.Reflectance[I];
            Dot = Covered >= 1 ? Dark : Dot - Covered * (Light - Dark);
        }
    }
    return Profile;
}

// What GS1 advises against for bars whatever they grade: red, orange or
// yellow (to a scanner's red light much like the spaces), and light tints
// (screened dots a scanner reads as specks). Empty where neither holds.
std::string BarColourAdvice(const TInk& Bars)
{
    const TColor Color = ResolveColor(InkColor(Bars));
    const double R = (Color & 0xFF) / 255.0, G = (Color >> 8 & 0xFF) / 255.0, B = (Color >> 16 & 0xFF) / 255.0;
    const double Max = std::max({R, G, B}), Min = std::min({R, G, B});
    // Hue in degrees, as HSV has it.
    double Hue = 0;
    if (Max > Min)
        Hue = Max == R ? 60 * std::fmod((G - B) / (Max - Min) + 6, 6.0)
              : Max == G ? 60 * ((B - R) / (Max - Min) + 2)
                         : 60 * ((R - G) / (Max - Min) + 4);
    const bool Warm = (Hue >= 345 || Hue <= 70) && Max > 0 && (Max - Min) / Max >= 0.5 && Max >= 0.45;
    const TInk Process =
        Bars.Kind == TInk::Rgb ? PressInkOf((Color & 0xFFu) << 16 | (Color & 0xFF00u) | (Color >> 16 & 0xFFu)) : Bars;
    const bool Tint = std::max({Process.C, Process.M, Process.Y, Process.K}) < 50;
    if (!Warm && !Tint)
        return {};
    return "Bars " + InkText(Bars) + " are " + (Warm ? "red, orange or yellow" : "a light tint") +
           (Warm && Tint ? " and a light tint" : "") +
           ", which GS1 advises against for bars whatever they grade: print them solid in a dark ink (black, dark "
           "blue, dark green, dark brown)";
}

// The symbol's bars alone at four dots a module: what the job's colours grade
// to, whatever the printer does.
TScanGrade GradeColours(const TEanReading& R, const TExportOptions& O)
{
    constexpr std::int32_t Dots = 4;
    TSymbol Symbol;
    const std::int32_t Gap = std::clamp(O.AddOnGap, LeastAddOnGap(R.Symbology), MaxAddOnGap);
    std::exception_ptr Failure;
    DescribeSymbolInto(Symbol, R, SymbolModules(R.Symbology, R.AddOn.size(), Gap) * Dots,
                       RatioHeightModules(R.Symbology) * Dots, false, Gap, Failure);
    return GradeScan(ProfileOf(Symbol, 1, O), R);
}


} // namespace

std::string DescribeXDimension(const TExportOptions& O, int Dpi)
{
    QString Reason;
    if (!CheckXDimension(O.XDimensionMM, &Reason) || (Dpi != 0 && !CheckDpi(Dpi, &Reason)))
        return Reason.toStdString();
    std::string Out;
    if (Dpi > 0) {
        const TSnap S = Snap(O.XDimensionMM, Dpi);
        Out = Format("X %.3f mm (%d dots at %d dpi, %.1f %%)", S.XDimensionMM, S.Dots, Dpi, Percent(S.XDimensionMM));
    } else {
        const double X = DrawnXDimension(O.XDimensionMM, 0);
        Out = Format("X %.3f mm (%.1f %%)", X, Percent(X));
    }
    if (O.BarWidthReductionMM > 0 && std::isfinite(O.BarWidthReductionMM)) {
        if (Dpi > 0) {
            const long long Dots = std::llround(O.BarWidthReductionMM * Dpi / MillimetresPerInch);
            Out += Format(", bar width reduction %lld dot%s (%.3f mm)", Dots, Dots == 1 ? "" : "s",
                          Dots * MillimetresPerInch / Dpi);
        } else {
            Out += Format(", bar width reduction %.3f mm",
                          std::llround(O.BarWidthReductionMM * MicrometresPerMillimetre) / MicrometresPerMillimetre);
        }
    }
    return Out;
}

std::vector<TPrintFinding> CheckGs1(const TEanReading& R, const TExportOptions& O, int Dpi, bool Strict)
{
    std::vector<TPrintFinding> Found;
    const auto Add = [&Found](TPrintFinding::TSeverity Severity, const char* Code, std::string Sentence) {
        Found.push_back({Severity, Code, std::move(Sentence)});
    };
    QString Reason;
    if (!CheckXDimension(O.XDimensionMM, &Reason) || (Dpi != 0 && !CheckDpi(Dpi, &Reason))) {
        Add(TPrintFinding::Error, "x-dimension", Reason.toStdString());
        return Found;
    }
    if (!R.Valid()) {
        Add(TPrintFinding::Error, "symbol", R.Error);
        return Found;
    }

    const double X = DrawnXDimension(O.XDimensionMM, Dpi);
    if (!WithinGs1(X))
        Add(TPrintFinding::Warning, "x-dimension",
            Format("X-dimension %.3f mm (%.1f %%) is outside GS1's 0.264 to 0.660 mm (80 to 200 %%)", X, Percent(X)));
    // A few per cent is every snap to whole dots; more changes the label's size.
    if (Dpi > 0 && std::abs(X - O.XDimensionMM) > 0.05 * O.XDimensionMM)
        Add(TPrintFinding::Warning, "x-snapped",
            Format("X-dimension %.3f mm is drawn as %.3f mm (%d dots at %d dpi, %.1f %%)", O.XDimensionMM, X,
                   Snap(O.XDimensionMM, Dpi).Dots, Dpi, Percent(X)));

    const TGrid Grid = Dpi > 0 ? RasterGrid(Snap(O.XDimensionMM, Dpi), Dpi) : VectorGrid(O.XDimensionMM);
    TPrintGeometry G;
    if (!GeometryOf(R.Symbology, O, Grid, G, &Reason)) {
        Add(TPrintFinding::Error,
            O.BarWidthReductionMM != 0 && Reason.contains(QLatin1String("reduction")) ? "bar-width-reduction"
                                                                                      : "bar-height",
            Reason.toStdString());
    } else {
        const double BarMM = G.BarUnits / Grid.PerMM, Nominal = NominalBarModules(R.Symbology) * X;
        // Half a dot is the rounding of the nominal height itself.
        if (BarMM < Nominal - 0.5 / Grid.PerMM * Grid.PerDot)
            Add(TPrintFinding::Warning, "bar-height",
                Format("Bars %.2f mm tall are shorter than GS1's nominal %.2f mm for X %.3f mm (%.2f modules)", BarMM,
                       Nominal, X, NominalBarModules(R.Symbology)));
        // Asked for and rounded away: said rather than silently drawn as none.
        if (Dpi > 0 && O.BarWidthReductionMM > 0 && G.ReductionUnits == 0)
            Add(TPrintFinding::Warning, "bar-width-reduction",
                Format("A bar width reduction of %.3f mm is less than half a dot at %d dpi (%.3f mm): no dot is taken "
                       "from the bars", O.BarWidthReductionMM, Dpi, MillimetresPerInch / Dpi));
    }

    if (InksFor(O).Background.Kind == TInk::None)
        Add(TPrintFinding::Warning, "quiet-zone",
            "No background is drawn: the quiet zones are only as light and as clear as what the label is printed on");
    if (!R.AddOn.empty()) {
        if (O.AddOnGap < LeastAddOnGap(R.Symbology) || O.AddOnGap > MaxAddOnGap)
            Add(TPrintFinding::Error, "add-on-gap",
                Format("An add-on gap of %d modules is outside %d to %d", int(O.AddOnGap),
                       int(LeastAddOnGap(R.Symbology)), int(MaxAddOnGap)));
        if (R.Symbology == TSymbology::Ean8)
            Add(TPrintFinding::Warning, "add-on-ean8", "An add-on on EAN-8 is not a GS1 combination");
    }

    const TScanGrade Colours = GradeColours(R, O);
    const TInks Inks = InksFor(O);
    if (Colours.Grade > 'C') {
        // Without contrast everything else fails too: name the cause.
        const std::string Held = Colours.SymbolContrast.Grade == 'F' ? "symbol contrast" : Colours.Reason;
        Add(TPrintFinding::Warning, "colours",
            Format("Bars %s on %s grade %c under a scanner's 660 nm light, held down by %s: the bars reflect %.0f "
                   "%%, the background %.0f %% (symbol contrast %.0f %%); scanners may not read them",
                   InkText(Inks.Bars).c_str(),
                   Inks.Background.Kind == TInk::None ? "the paper" : InkText(Inks.Background).c_str(), Colours.Grade,
                   Held.c_str(), Reflectance(Inks.Bars), Reflectance(Inks.Background), Colours.SymbolContrast.Value));
    }
    if (std::string Advice = BarColourAdvice(Inks.Bars); !Advice.empty())
        Add(TPrintFinding::Warning, "bar-colour", std::move(Advice));

    if (Strict)
        for (TPrintFinding& F : Found)
            F.Severity = TPrintFinding::Error;
    return Found;
}

TScanGrade GradeSymbol(const TEanReading& R, const TExportOptions& O, int Dpi)
{
    TScanGrade Failed;
    const auto Fail = [&Failed](const QString& Why) {
        Failed.DecodeError = Why.toStdString();
        Failed.Reason = ScanParameterName(TScanParameter::Decode);
        Failed.GradedBy = {TScanParameter::Decode};
        return Failed;
    };
    QString Reason;
    if (!CheckXDimension(O.XDimensionMM, &Reason) || (Dpi != 0 && !CheckDpi(Dpi, &Reason)))
        return Fail(Reason);

    TSymbol Symbol;
    if (Dpi == 0) {
        // The vector symbol at 600 dpi, as a scan of a perfect print would read it.
        if (!SymbolAt(R, VectorGrid(O.XDimensionMM), O, Symbol, &Reason))
            return Fail(Reason);
        return GradeScan(ProfileOf(Symbol, 600.0 / MicrometresPerInch, O), R);
    }

    // The raster as written, read along ten rows across the bars.
    const TSnap S = Snap(O.XDimensionMM, Dpi);
    if (!SymbolAt(R, RasterGrid(S, Dpi), O, Symbol, &Reason))
        return Fail(Reason);
    TRasterInfo Report;
    TRaster Raster{ThreadRows(), {}};
    if (!RasterizeAt(R, Dpi, O, Report, Raster))
        return Fail(Report.Error);
    const TPackedRows& Rows = Raster.Rows;
    // Rows every bar crosses: below the lowest top, above the highest bottom.
    std::int32_t Top = 0, Bottom = Symbol.Height;
    for (const TSymbolElement& E : Symbol.Elements)
        if (E.Kind == TSymbolElement::Bar) {
            Top = std::max(Top, E.Top);
            Bottom = std::min(Bottom, E.Top + E.Height);
        }
    // Each pixel as light as the ink it was painted for, by its index.
    const TInks Inks = InksFor(O);
    const double Painted[] = {Reflectance(Inks.Background), Reflectance(Inks.Bars), Reflectance(Inks.Digits)};
    TScanProfile Profile;
    Profile.DotsPerModule = S.Dots;
    Profile.Reflectance.resize(std::size_t(Rows.Width()));
    TScanGrade Worst;
    constexpr int Lines = 10;
    for (int L = 0; L < Lines; ++L) {
        const int Y = std::clamp(int(Top + (Bottom - Top) * (L + 0.5) / Lines), 0, Rows.Height() - 1);
        for (std::int32_t X = 0; X < Rows.Width(); ++X)
            Profile.Reflectance[std::size_t(X)] = Painted[std::min<std::size_t>(Rows.Pixel(X, Y), 2)];
        TScanGrade Scan = GradeScan(Profile, R);
        if (L == 0 || Scan.Grade > Worst.Grade)
            Worst = std::move(Scan);
    }
    Raster.Rows.Release(std::size_t(4) << 20);
    return Worst;
}

std::vector<TPrintFinding> CheckGs1(const std::string& Text, const TExportOptions& O, int Dpi, bool Strict)
{
    return CheckGs1(ReadText(Text, O), O, Dpi, Strict);
}

TScanGrade GradeSymbol(const std::string& Text, const TExportOptions& O, int Dpi)
{
    return GradeSymbol(ReadText(Text, O), O, Dpi);
}

} // namespace WEQEan
