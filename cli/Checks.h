// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// GS1's print rules applied to a run: the findings that hold for the whole
// job (its X-dimension, bars, colours) once, before anything is written, and
// each item's own as it comes.

#include "Items.h"
#include "Options.h"
#include "Progress.h"
#include "Source.h"

#include <WEQBarCode/ean/WEQEanExport.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace WEQCli {

// Whether a finding's code speaks of the job rather than of one item.
bool JobWide(const std::string& Code);

// The symbologies a run may draw: the one asked for, or those auto chooses.
std::vector<WEQEan::TSymbology> Symbologies(const TOptions& Options);
// Whether every item of the run takes the same symbology (all but auto).
bool OneSymbology(const TOptions& Options);

// The dpi the checks and grades measure at: the PNG's or the printer's of
// a PDF, 0 for vector output.
int MeasureDpi(const TOptions& Options);


// The print checks of a run: the findings of the job as a whole, from a
// sample of every symbology it may draw with the --add-on, each sentence
// once (with --symbology auto, the job-wide codes alone); then each item's
// own.
class TPrintChecks {
public:
    explicit TPrintChecks(const TOptions& Options);
    const std::vector<WEQEan::TPrintFinding>& Job() const { return JobFound; }
    // The item's findings that the job's do not tell already: none of the
    // job-wide codes, none said for the job in the same words. They follow
    // from its symbology and add-on alone (its digits passed the strict
    // reading before), so the check runs once for each kind of item.
    const std::vector<WEQEan::TPrintFinding>& Of(const TItem& Item);
    // Whether the item may be drawn: its reading's reason for rejecting it
    // printed as "FROM: REASON", or else its reading's warnings and its
    // findings as "FROM: warning:
    // TEXT" (not with --quiet) or "FROM: error: TEXT", an error rejecting it;
    // FROM as Source names the item.
    bool Admit(const TItem& Item, const TItemSource& Source, TProgress& Progress);

private:
    const TOptions& O;
    std::vector<WEQEan::TPrintFinding> JobFound;
    std::array<std::optional<std::vector<WEQEan::TPrintFinding>>, ItemKinds> ItemFound; // by KindOf
};

// What an RGB format makes of the run's inks: for PNG and SVG output, a
// sentence naming each CMYK or spot ink and the sRGB colour drawn for it;
// empty for the other formats and for RGB colours.
std::string RgbNote(const TOptions& Options);

// "warning: TEXT" or "error: TEXT".
std::string Describe(const WEQEan::TPrintFinding& Finding);

// The grade line of a label, "NAME: grade B (pre-press estimate)"; Below is
// set where the grade is under the options' least, and Why then says what
// held it down.
std::string GradeLine(const std::string& Name, const WEQEan::TScanGrade& Grade, const TOptions& Options, bool& Below,
                      std::string& Why);

} // namespace WEQCli
