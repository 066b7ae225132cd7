// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "surface/Canvas_p.h"

#include "ean/SystemColors_p.h"

#include <QGuiApplication>
#include <QPalette>

#include <array>

namespace {

struct TSystemColorRole {
    QPalette::ColorGroup Group;
    QPalette::ColorRole Role;
};

// System colour numbers 0..30 and where the palette keeps each; numbers the
// table does not know resolve to black, as the platform's own lookup does
// (the core has the classic values, for when no GUI application is there).
constexpr std::array<TSystemColorRole, 31> SystemColorRoles{{
    {QPalette::Active, QPalette::Button},            // 0 scroll bar
    {QPalette::Active, QPalette::Dark},              // 1 desktop
    {QPalette::Active, QPalette::Highlight},         // 2 active caption
    {QPalette::Inactive, QPalette::Highlight},       // 3 inactive caption
    {QPalette::Active, QPalette::Window},            // 4 menu
    {QPalette::Active, QPalette::Base},              // 5 window
    {QPalette::Active, QPalette::Shadow},            // 6 window frame
    {QPalette::Active, QPalette::WindowText},        // 7 menu text
    {QPalette::Active, QPalette::WindowText},        // 8 window text
    {QPalette::Active, QPalette::HighlightedText},   // 9 caption text
    {QPalette::Active, QPalette::Window},            // 10 active border
    {QPalette::Inactive, QPalette::Window},          // 11 inactive border
    {QPalette::Active, QPalette::Mid},               // 12 application workspace
    {QPalette::Active, QPalette::Highlight},         // 13 highlight
    {QPalette::Active, QPalette::HighlightedText},   // 14 highlighted text
    {QPalette::Active, QPalette::Window},            // 15 button face
    {QPalette::Active, QPalette::Dark},              // 16 button shadow
    {QPalette::Disabled, QPalette::Text},            // 17 grey text
    {QPalette::Active, QPalette::ButtonText},        // 18 button text
    {QPalette::Disabled, QPalette::WindowText},      // 19 inactive caption text
    {QPalette::Active, QPalette::Light},             // 20 button highlight
    {QPalette::Active, QPalette::Shadow},            // 21 3D dark shadow
    {QPalette::Active, QPalette::Midlight},          // 22 3D light
    {QPalette::Active, QPalette::ToolTipText},       // 23 info text
    {QPalette::Active, QPalette::ToolTipBase},       // 24 info background
    {QPalette::Active, QPalette::NoRole},            // 25 (none)
    {QPalette::Active, QPalette::Link},              // 26 hot light
    {QPalette::Active, QPalette::Highlight},         // 27 gradient active caption
    {QPalette::Inactive, QPalette::Highlight},       // 28 gradient inactive caption
    {QPalette::Active, QPalette::Highlight},         // 29 menu highlight
    {QPalette::Active, QPalette::Window},            // 30 menu bar
}};

} // namespace

QColor ToQColor(TColor Color)
{
    const TColor Rgb = TCanvas::ResolveColor(Color);
    return QColor(int(Rgb & 0xFF), int((Rgb >> 8) & 0xFF), int((Rgb >> 16) & 0xFF));
}

TColor FromQColor(const QColor& Color)
{
    return TColor(Color.red()) | (TColor(Color.green()) << 8) | (TColor(Color.blue()) << 16);
}

std::uint32_t TCanvas::PixelOf(TColor Color)
{
    // 0x00BBGGRR to 0xFFRRGGBB, without a QColor on the way: drawing asks per character.
    const TColor Rgb = ResolveColor(Color);
    return 0xFF000000u | ((Rgb & 0xFFu) << 16) | (Rgb & 0xFF00u) | ((Rgb >> 16) & 0xFFu);
}

namespace {

// The palette's colour of a system colour, for the core's files as for drawing.
TColor PaletteColor(TColor Color)
{
    const TColor Index = Color & 0xFFu;
    if ((Color & 0x00FFFF00u) != 0 || Index >= SystemColorRoles.size())
        return clBlack;
    const TSystemColorRole& Entry = SystemColorRoles[Index];
    if (Entry.Role == QPalette::NoRole)
        return clBlack;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return WEQEan::ClassicSystemColor(Index);
    return FromQColor(QGuiApplication::palette().color(Entry.Group, Entry.Role));
}

// Installed when the library that holds the surface is loaded.
const bool ResolverInstalled = (WEQEan::InstallSystemColorResolver(&PaletteColor), true);

} // namespace

TColor TCanvas::ResolveColor(TColor Color)
{
    (void)ResolverInstalled;
    return WEQEan::ResolveColor(Color);
}
