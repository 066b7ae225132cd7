// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

/// \file
/// \ingroup legacy
/// The print-quality grade of an EAN/UPC symbol from one scan reflectance
/// profile, with the parameters and grade thresholds of ISO/IEC 15416, and the
/// reflectance a colour shows to a scanner's 660 nm red light. A profile made
/// from the artwork has no measuring aperture, no print gain and one scan line
/// where a verifier averages ten: its grade is a pre-press estimate. Plain
/// arithmetic on numbers and strings.

#include "WEQEanFamily.h"
#include "Export.h"

#include <cstdint>
#include <string>
#include <vector>

namespace WEQEan {

/// The reflectance in percent (0 .. 100) of an sRGB colour under 660 nm light,
/// taken as its linear red channel: the sRGB transfer function undone (c / 12.92
/// up to c = 0.04045, ((c + 0.055) / 1.055)^2.4 above). Rgb is 0xRRGGBB, red in
/// bits 16 .. 23 - the reverse of TColor, whose low byte is red; bits 24 .. 31
/// are ignored. Red, orange and yellow come out near 100: the scanner cannot
/// tell them from white.
WEQBARCODE_EXPORT double Reflectance660(std::uint32_t Rgb);

/// One scan line across the whole symbol, quiet zones and add-on included.
struct TScanProfile {
    std::vector<double> Reflectance; ///< percent, one value a dot, from left to right as printed
    double DotsPerModule = 0;        ///< the nominal X in dots, may be fractional; the quiet zones are measured in it
};

/// The parameters of a scan, in the order ISO/IEC 15416 lists them.
enum class TScanParameter : std::uint8_t {
    Decode,          ///< the reference decode
    SymbolContrast,  ///< SC, Rmax - Rmin
    MinReflectance,  ///< Rmin against Rmax
    MinEdgeContrast, ///< ECmin
    Modulation,      ///< MOD
    Defects,         ///< ERNmax / SC
    Decodability     ///< V
};

/// The parameter's name as a sentence says it: "symbol contrast"; empty for a
/// value outside the enumeration.
WEQBARCODE_EXPORT const char* ScanParameterName(TScanParameter Parameter);

/// One parameter's value and its grade, 'A', 'B', 'C', 'D' or 'F'.
struct TScanValue {
    double Value = 0; ///< in the parameter's own unit
    char Grade = 'F'; ///< 'A' to 'D', or 'F' for a failure
};

/// The grade of one scan: each parameter's value and grade, and the lowest of them.
struct TScanGrade {
    TScanValue Decode;          ///< 1 when the reference decode gives the expected digits, else 0
    TScanValue SymbolContrast;  ///< SC = Rmax - Rmin, percent
    TScanValue MinReflectance;  ///< Rmin, percent: A when at most Rmax / 2
    TScanValue MinEdgeContrast; ///< ECmin, percent: the least space-to-bar difference of two neighbours
    TScanValue Modulation;      ///< MOD = ECmin / SC
    TScanValue Defects;         ///< ERNmax / SC, the worst non-uniformity within an element or quiet zone
    TScanValue Decodability;    ///< V, the least margin of any symbol character to its decode thresholds
    double MaxReflectance = 0;  ///< Rmax, percent
    double GlobalThreshold = 0; ///< GT = (Rmax + Rmin) / 2, which tells bars from spaces
    char Grade = 'F';           ///< the scan grade: the lowest of the seven
    /// The parameters at the scan grade, in the order above; empty for A,
    /// which nothing holds down. Reason is their names joined by ", ".
    ///@{
    std::vector<TScanParameter> GradedBy;
    std::string Reason;
    ///@}
    /// The digits the reference decode read, check digit included, whether or
    /// not they are the expected ones; empty where it read none.
    ///@{
    std::string Digits, AddOn;
    ///@}
    std::string DecodeError; ///< why the decode failed; empty when it passed
    /// Always true here: one profile that no verifier measured.
    bool PrePressEstimate = true;

    /// A parameter's value by its name; one outside the enumeration reads Decode.
    const TScanValue& operator[](TScanParameter Parameter) const
    {
        const TScanValue* Values[] = {&Decode,    &SymbolContrast, &MinReflectance, &MinEdgeContrast,
                                      &Modulation, &Defects,        &Decodability};
        return *Values[std::size_t(Parameter) < 7 ? std::size_t(Parameter) : 0];
    }
};

/// The grade of one profile of the symbol Expected describes, its add-on
/// included: Rmax, Rmin and GT over every dot; elements as the runs of dots on
/// either side of GT, each edge where the profile crosses the midpoint of its
/// two elements' extreme reflectances; and the reference decode of the
/// symbology from the element widths, with its guards, character sets, check
/// digit and quiet zones. A profile of other digits, another symbology, too
/// short, or without a light quiet zone fails the decode; none of them raises.
WEQBARCODE_EXPORT TScanGrade GradeScan(const TScanProfile& Profile, const TEanReading& Expected);

} // namespace WEQEan
