// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "Checks.h"

#include "Text.h"

#include <algorithm>

namespace WEQCli {

bool JobWide(const std::string& Code)
{
    static const char* const Codes[] = {"x-dimension", "x-snapped",           "bar-height", "colours",
                                        "bar-colour",  "bar-width-reduction", "quiet-zone"};
    return std::any_of(std::begin(Codes), std::end(Codes), [&](const char* C) { return Code == C; });
}

std::vector<WEQEan::TSymbology> Symbologies(const TOptions& O)
{
    const WEQEan::TKind K = O.Reading.Kind;
    if (K <= WEQEan::TKind::UpcE)
        return {WEQEan::TSymbology(K)};
    if (K == WEQEan::TKind::Auto)
        return {WEQEan::TSymbology::Ean13, WEQEan::TSymbology::UpcA, WEQEan::TSymbology::Ean8};
    return {WEQEan::TSymbology::Ean13}; // a book's number
}

bool OneSymbology(const TOptions& O) { return O.Reading.Kind != WEQEan::TKind::Auto;
}

int MeasureDpi(const TOptions& O)
{
    return O.Export.PrinterDpi ? O.Export.PrinterDpi : O.Format == TFormat::Png && !OnePdf(O) ? O.Dpi : 0;
}

TPrintChecks::TPrintChecks(const TOptions& Options) : O(Options)
{
    for (const WEQEan::TSymbology S : Symbologies(O)) {
        // With --symbology auto an item's own finding (an add-on on EAN-8)
        // may hold for none of the items: only the job-wide codes are the job's.
        const WEQEan::TEanReading Sample = SampleReading(S, O.Reading.Options.AddOn.size());
        for (WEQEan::TPrintFinding& F : WEQEan::CheckGs1(Sample, O.Export, MeasureDpi(O), O.Gs1Strict))
            if ((OneSymbology(O) || JobWide(F.Code)) &&
                std::none_of(JobFound.begin(), JobFound.end(), [&](const WEQEan::TPrintFinding& Seen) {
                    return Seen.Code == F.Code && Seen.Text == F.Text;
                }))
                JobFound.push_back(std::move(F));
    }
}

const std::vector<WEQEan::TPrintFinding>& TPrintChecks::Of(const TItem& Item)
{
    std::optional<std::vector<WEQEan::TPrintFinding>>& Known = ItemFound[KindOf(Item)];
    if (Known)
        return *Known;
    std::vector<WEQEan::TPrintFinding> Found = WEQEan::CheckGs1(Item.Reading, O.Export, MeasureDpi(O), O.Gs1Strict);
    Found.erase(std::remove_if(Found.begin(), Found.end(),
                               [&](const WEQEan::TPrintFinding& F) {
                                   return JobWide(F.Code) ||
                                          std::any_of(JobFound.begin(), JobFound.end(),
                                                      [&](const WEQEan::TPrintFinding& Seen) {
                                                          return Seen.Code == F.Code && Seen.Text == F.Text;
                                                      });
                               }),
                Found.end());
    return *(Known = std::move(Found));
}

bool TPrintChecks::Admit(const TItem& Item, const TItemSource& Source, TProgress& Progress)
{
    if (!Item.Rejected.empty()) {
        Progress.Print(Source.Where(Item.Input, Item.Line) + ": " + Item.Rejected);
        return false;
    }
    if (!O.Quiet)
        for (const std::string& W : Item.Reading.Warnings)
            Progress.Print(Source.Origin(Item) + ": warning: " + Escape(W));
    bool Passed = true;
    for (const WEQEan::TPrintFinding& F : Of(Item)) {
        const bool Error = F.Severity == WEQEan::TPrintFinding::Error;
        Passed = Passed && !Error;
        if (Error || !O.Quiet)
            Progress.Print(Source.Origin(Item) + ": " + Describe(F));
    }
    return Passed;
}

std::string RgbNote(const TOptions& O)
{
    const bool Templated = !O.Template.empty();
    if (!Templated && (O.Sheet || (O.Format != TFormat::Png && O.Format != TFormat::Svg)))
        return {};
    const std::pair<const std::optional<WEQEan::TInk>*, const char*> Inks[] = {
        {&O.Export.BarInk, "the bars' "}, {&O.Export.BackgroundInk, "the background's "}, {&O.Export.FontInk, "the digits' "}};
    std::string Drawn;
    for (const auto& [Ink, Role] : Inks)
        if (*Ink && ((*Ink)->Kind == WEQEan::TInk::Cmyk || (*Ink)->Kind == WEQEan::TInk::Spot))
            Drawn += (Drawn.empty() ? "" : ", ") + std::string(Role) + WEQEan::InkText(**Ink) + " as " +
                     WEQEan::InkText(WEQEan::TInk::FromColor(WEQEan::InkColor(**Ink)));
    if (Drawn.empty())
        return {};
    if (Templated)
        return "a template's labels hold RGB (Qt's PDF engine writes no other): " + Drawn +
               ", each ink's sRGB equivalent; plain symbols' PDF and EPS keep the inks";
    return std::string(O.Format == TFormat::Png ? "PNG" : "SVG") + " holds RGB: " + Drawn +
           ", each ink's sRGB equivalent; PDF and EPS keep the inks";
}

std::string Describe(const WEQEan::TPrintFinding& F)
{
    // The library's sentences follow "warning: " as clauses; a first word
    // such as "X-dimension" or "EAN-8" keeps its capitals.
    std::string Text = F.Text;
    const std::string Word = Text.substr(0, Text.find(' '));
    const bool Name = Word.find('-') != std::string::npos ||
                      std::count_if(Word.begin(), Word.end(), [](char C) { return C >= 'A' && C <= 'Z'; }) > 1;
    if (!Name && !Text.empty() && Text[0] >= 'A' && Text[0] <= 'Z')
        Text[0] = char(Text[0] - 'A' + 'a');
    return (F.Severity == WEQEan::TPrintFinding::Error ? "error: " : "warning: ") + Text;
}

std::string GradeLine(const std::string& Name, const WEQEan::TScanGrade& Grade, const TOptions& O, bool& Below,
                      std::string& Why)
{
    Below = Grade.Grade > O.MinGrade;
    Why.clear();
    if (Below) {
        Why = Name + ": error: grade " + Grade.Grade + " is under --min-grade " + O.MinGrade;
        if (!Grade.Reason.empty())
            Why += ", held down by " + Grade.Reason;
        if (!Grade.DecodeError.empty())
            Why += " (" + Grade.DecodeError + ")";
    }
    return Name + ": grade " + Grade.Grade + " (pre-press estimate)";
}

} // namespace WEQCli
