// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

/// \file
/// \ingroup legacy
/// A colour as a press prints it: an RGB colour as screens and RGB files take
/// it, process inks in percent (CMYK), a spot ink (a separation of its own,
/// named, with its CMYK look for proofs), or no ink at all (the paper). The
/// PDF and EPS writers put each ink on its own plates; PNG and SVG, which hold
/// RGB, draw a CMYK or spot ink as its sRGB equivalent. The reflectance a
/// scanner's 660 nm light sees in an ink comes from the inks it is made of.
/// Plain arithmetic on numbers and strings.

#include "Colors.h"
#include "Export.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

namespace WEQEan {

/// One ink: what a colour is on a press.
struct TInk {
    /// What the ink is made of.
    enum TKind : std::uint8_t {
        Rgb,  ///< an RGB colour, as screens show it
        Cmyk, ///< process inks in percent
        Spot, ///< a named ink on a plate of its own
        None  ///< no ink: the paper shows
    };
    TKind Kind = Rgb; ///< which of the fields below count
    TColor Color = clBlack;            ///< Rgb: the colour (a system colour is resolved when drawn)
    /// Cmyk, and a spot's process equivalent: percent, 0 .. 100
    ///@{
    double C = 0, M = 0, Y = 0, K = 0;
    ///@}
    std::string Name = {};             ///< Spot: the separation's name

    /// An RGB ink of Color.
    static TInk FromColor(TColor Color)
    {
        TInk Ink;
        Ink.Color = Color;
        return Ink;
    }
    /// Process inks, in percent.
    static TInk FromCmyk(double C, double M, double Y, double K)
    {
        TInk Ink;
        Ink.Kind = Cmyk;
        Ink.C = C, Ink.M = M, Ink.Y = Y, Ink.K = K;
        return Ink;
    }
    /// The spot ink Name, which proofs show as the process inks given.
    static TInk FromSpot(std::string Name, double C, double M, double Y, double K)
    {
        TInk Ink = FromCmyk(C, M, Y, K);
        Ink.Kind = Spot;
        Ink.Name = std::move(Name);
        return Ink;
    }
    /// No ink at all.
    static TInk NoInk()
    {
        TInk Ink;
        Ink.Kind = None;
        return Ink;
    }
    /// The same ink: only the fields of its kind are compared.
    ///@{
    bool operator==(const TInk& O) const
    {
        return Kind == O.Kind && (Kind != Rgb || Color == O.Color) &&
               ((Kind != Cmyk && Kind != Spot) || (C == O.C && M == O.M && Y == O.Y && K == O.K)) &&
               (Kind != Spot || Name == O.Name);
    }
    bool operator!=(const TInk& O) const { return !(*this == O); }
    ///@}
};

/// The longest spot name taken: PDF and PostScript names are safe to 127
/// bytes, and a plate's name is read by people.
inline constexpr std::size_t MaxSpotNameLength = 63;

/// Reads "#rrggbb", "cmyk(C,M,Y,K)" (percent, 0 to 100, decimals allowed),
/// "spot(NAME,C,M,Y,K)" or "none", the words in any case, blanks around the
/// numbers ignored. A spot's NAME is 1 to 63 printable ASCII characters
/// without '(', ')' or ',', and none of "All", "None", "Cyan", "Magenta",
/// "Yellow" and "Black", which PDF and the plates already mean otherwise.
/// False, with the reason in Error, for anything else; Ink is then untouched.
WEQBARCODE_EXPORT bool ParseInk(const std::string& Text, TInk& Ink, std::string* Error = nullptr);

/// The ink as ParseInk reads it: "#1a2b3c", "cmyk(0,0,0,100)", "spot(Reflex,100,72,0,6)",
/// "none"; a system colour as "system(N)".
WEQBARCODE_EXPORT std::string InkText(const TInk& Ink);

/// The colour to show for the ink on a screen or in an RGB file: an RGB ink's
/// own, a CMYK or spot ink's sRGB equivalent ((1 - C)(1 - K) red, and so on,
/// as QColor converts CMYK), white for none.
WEQBARCODE_EXPORT TColor InkColor(const TInk& Ink);

/// The process inks a press would print an sRGB colour (0xRRGGBB) with: black
/// for the grey they share, the rest in cyan, magenta and yellow (full grey
/// component replacement: K = 1 - max(R, G, B), C = (1 - R - K) / (1 - K), on
/// the sRGB values as they are encoded).
WEQBARCODE_EXPORT TInk PressInkOf(std::uint32_t Rgb);

/// The reflectance in percent of the ink printed on white paper under a
/// scanner's 660 nm light, by a Yule-Nielsen model of its process inks (an
/// RGB colour through PressInkOf first, a system colour taken as black); the
/// paper's own for no ink. docs/colour.md gives the model and its figures.
WEQBARCODE_EXPORT double InkReflectance660(const TInk& Ink);

} // namespace WEQEan
