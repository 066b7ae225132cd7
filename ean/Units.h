// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

/// \file
/// \ingroup legacy
/// The units a symbol is measured in: printers count dots an inch, sizes are
/// millimetres, the vector files' grid is the micrometre, PDF's the point of
/// 1/72 inch. Each ratio is exact by definition and written here alone.

#include <cstdint>

namespace WEQEan {

/// Millimetres in an inch, exactly.
inline constexpr double MillimetresPerInch = 25.4;
inline constexpr double MetresPerInch = 0.0254; ///< PNG and QImage keep dots a metre
/// Micrometres in a millimetre, the vector files' grid.
inline constexpr double MicrometresPerMillimetre = 1000;
/// As a resolution: a device of this many dots an inch has a micrometre a dot.
inline constexpr std::int32_t MicrometresPerInch = 25400;
/// PDF's and PostScript's points in an inch.
inline constexpr double PointsPerInch = 72;
/// Points in a millimetre.
inline constexpr double PointsPerMillimetre = PointsPerInch / MillimetresPerInch;

static_assert(MicrometresPerInch == MillimetresPerInch * MicrometresPerMillimetre);

} // namespace WEQEan
