// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "surface/Canvas_p.h"

#include <QGuiApplication>
#include <QPalette>

#include <array>

namespace {

struct TSystemColorRole {
    QPalette::ColorGroup Group;
    QPalette::ColorRole Role;
    TColor Classic; // used when there is no GUI application to ask
};

// System colour numbers 0..30 and where the palette keeps each; numbers the
// table does not know resolve to black, as the platform's own lookup does.
constexpr std::array<TSystemColorRole, 31> SystemColorRoles{{
    {QPalette::Active, QPalette::Button, 0xC8C8C8},            // 0 scroll bar
    {QPalette::Active, QPalette::Dark, 0x000000},              // 1 desktop
    {QPalette::Active, QPalette::Highlight, 0xD1B499},         // 2 active caption
    {QPalette::Inactive, QPalette::Highlight, 0xDBCDBF},       // 3 inactive caption
    {QPalette::Active, QPalette::Window, 0xF0F0F0},            // 4 menu
    {QPalette::Active, QPalette::Base, 0xFFFFFF},              // 5 window
    {QPalette::Active, QPalette::Shadow, 0x646464},            // 6 window frame
    {QPalette::Active, QPalette::WindowText, 0x000000},        // 7 menu text
    {QPalette::Active, QPalette::WindowText, 0x000000},        // 8 window text
    {QPalette::Active, QPalette::HighlightedText, 0x000000},   // 9 caption text
    {QPalette::Active, QPalette::Window, 0xB4B4B4},            // 10 active border
    {QPalette::Inactive, QPalette::Window, 0xFCF7F4},          // 11 inactive border
    {QPalette::Active, QPalette::Mid, 0xABABAB},               // 12 application workspace
    {QPalette::Active, QPalette::Highlight, 0xFF9933},         // 13 highlight
    {QPalette::Active, QPalette::HighlightedText, 0xFFFFFF},   // 14 highlighted text
    {QPalette::Active, QPalette::Window, 0xF0F0F0},            // 15 button face
    {QPalette::Active, QPalette::Dark, 0xA0A0A0},              // 16 button shadow
    {QPalette::Disabled, QPalette::Text, 0x6D6D6D},            // 17 grey text
    {QPalette::Active, QPalette::ButtonText, 0x000000},        // 18 button text
    {QPalette::Disabled, QPalette::WindowText, 0x000000},      // 19 inactive caption text
    {QPalette::Active, QPalette::Light, 0xFFFFFF},             // 20 button highlight
    {QPalette::Active, QPalette::Shadow, 0x696969},            // 21 3D dark shadow
    {QPalette::Active, QPalette::Midlight, 0xE3E3E3},          // 22 3D light
    {QPalette::Active, QPalette::ToolTipText, 0x000000},       // 23 info text
    {QPalette::Active, QPalette::ToolTipBase, 0xE1FFFF},       // 24 info background
    {QPalette::Active, QPalette::NoRole, 0x000000},            // 25 (none)
    {QPalette::Active, QPalette::Link, 0xCC6600},              // 26 hot light
    {QPalette::Active, QPalette::Highlight, 0xEAD1B9},         // 27 gradient active caption
    {QPalette::Inactive, QPalette::Highlight, 0xF2E4D7},       // 28 gradient inactive caption
    {QPalette::Active, QPalette::Highlight, 0xFF9933},         // 29 menu highlight
    {QPalette::Active, QPalette::Window, 0xF0F0F0},            // 30 menu bar
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

TColor TCanvas::ResolveColor(TColor Color)
{
    if (!IsSystemColor(Color))
        return Color & 0x00FFFFFFu;
    const TColor Index = Color & 0xFFu;
    if ((Color & 0x00FFFF00u) != 0 || Index >= SystemColorRoles.size())
        return clBlack;
    const TSystemColorRole& Entry = SystemColorRoles[Index];
    if (Entry.Role == QPalette::NoRole)
        return clBlack;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return Entry.Classic;
    return FromQColor(QGuiApplication::palette().color(Entry.Group, Entry.Role));
}
