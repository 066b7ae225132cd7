// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// Encapsulated PostScript of a vector symbol, for artwork that is placed in a
// layout program: the same outlines and inks as the PDF, no fonts, and a
// bounding box as large as the symbol.

#include "export/Writers_p.h"

#include "ean/Units.h"
#include "ean/Vector_p.h"
#include "ean/SystemColors_p.h"

#include <cmath>
#include <cstdio>

namespace WEQEan {

namespace {

// A number with at most Decimals after the point and no trailing zeros.
void AppendNumber(std::string& Out, double V, int Decimals)
{
    char Text[48];
    std::snprintf(Text, sizeof Text, "%.*f", Decimals, V);
    std::string S = Text;
    if (S.find('.') != std::string::npos) {
        while (S.back() == '0')
            S.pop_back();
        if (S.back() == '.')
            S.pop_back();
    }
    Out += S == "-0" ? "0" : S;
}

void AppendNumbers(std::string& Out, std::initializer_list<double> Values, const char* Operator, int Decimals = 2)
{
    for (const double V : Values) {
        AppendNumber(Out, V, Decimals);
        Out += ' ';
    }
    Out += Operator;
    Out += '\n';
}

// Numbers alone on the rest of a comment line.
void AppendValues(std::string& Out, std::initializer_list<double> Values, int Decimals)
{
    for (const double V : Values) {
        AppendNumber(Out, V, Decimals);
        Out += ' ';
    }
    Out.back() = '\n';
}

void AppendInk(std::string& Out, const TInk& Ink)
{
    switch (Ink.Kind) {
    case TInk::Cmyk:
        AppendNumbers(Out, {Ink.C / 100, Ink.M / 100, Ink.Y / 100, Ink.K / 100}, "setcmykcolor", 4);
        return;
    case TInk::Spot: {
        // The tint transform gives the CMYK alternate at the tint asked for.
        Out += "[/Separation " + LiteralString(Ink.Name) + " cvn /DeviceCMYK {";
        const double Process[4] = {Ink.C / 100, Ink.M / 100, Ink.Y / 100, Ink.K / 100};
        for (int I = 0; I < 4; ++I) {
            Out += I < 3 ? "dup " : "";
            AppendNumber(Out, Process[I], 4);
            Out += I < 3 ? " mul exch " : " mul";
        }
        Out += "}] setcolorspace 1 setcolor\n";
        return;
    }
    case TInk::Rgb:
    case TInk::None:
        break;
    }
    const TColor Rgb = ResolveColor(InkColor(Ink));
    AppendNumbers(Out, {(Rgb & 0xFF) / 255.0, (Rgb >> 8 & 0xFF) / 255.0, (Rgb >> 16 & 0xFF) / 255.0}, "setrgbcolor",
                  3);
}

// The process plates an ink puts ink on, as DSC names them; an RGB colour's
// as a press would print it.
void AddPlates(const TInk& Ink, bool (&Plates)[4])
{
    TInk Process = Ink;
    if (Ink.Kind == TInk::Rgb) {
        const TColor C = ResolveColor(Ink.Color);
        Process = PressInkOf((C & 0xFFu) << 16 | (C & 0xFF00u) | (C >> 16 & 0xFFu));
    } else if (Ink.Kind != TInk::Cmyk) {
        return;
    }
    const double Values[4] = {Process.C, Process.M, Process.Y, Process.K};
    for (int I = 0; I < 4; ++I)
        Plates[I] = Plates[I] || Values[I] > 0;
}

} // namespace

void AppendEps(const TVectorSymbol& V, const TInks& Inks, const std::string& Title, std::string& Out)
{
    const TSymbol& S = V.Symbol;
    constexpr double PointsPerUnit = PointsPerInch / MicrometresPerInch;
    const double Width = S.Width * PointsPerUnit, Height = S.Height * PointsPerUnit;
    const TInk* Used[3] = {Inks.Background.Kind == TInk::None ? nullptr : &Inks.Background, &Inks.Bars, &Inks.Digits};

    Out += "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 ";
    // Whole points outward; the exact size beside them.
    AppendValues(Out, {std::ceil(Width - 1e-9), std::ceil(Height - 1e-9)}, 0);
    Out += "%%HiResBoundingBox: 0 0 ";
    AppendValues(Out, {Width, Height}, 6);
    Out += "%%Title: " + LiteralString(Title) + "\n%%Creator: (WEQBarCode)\n%%DocumentData: Clean7Bit\n";
    Out += "%%LanguageLevel: 2\n";
    bool Plates[4] = {};
    std::string Custom, CustomColors;
    for (const TInk* Ink : Used) {
        if (!Ink)
            continue;
        AddPlates(*Ink, Plates);
        if (Ink->Kind == TInk::Spot && Custom.find(LiteralString(Ink->Name)) == std::string::npos) {
            Custom += " " + LiteralString(Ink->Name);
            CustomColors += "%%CMYKCustomColor: ";
            AppendValues(CustomColors, {Ink->C / 100, Ink->M / 100, Ink->Y / 100, Ink->K / 100}, 4);
            CustomColors.insert(CustomColors.size() - 1, " " + LiteralString(Ink->Name));
        }
    }
    static const char* const PlateNames[4] = {"Cyan", "Magenta", "Yellow", "Black"};
    std::string Process;
    for (int I = 0; I < 4; ++I)
        if (Plates[I])
            Process += std::string(" ") + PlateNames[I];
    if (!Process.empty())
        Out += "%%DocumentProcessColors:" + Process + "\n";
    if (!Custom.empty())
        Out += "%%DocumentCustomColors:" + Custom + "\n" + CustomColors;
    Out += "%%Pages: 1\n%%EndComments\n";

    // Each character shape a procedure, in its box's units, y downward.
    Out += "%%BeginProlog\n/WEQBarCodeDict " + std::to_string(V.Shapes.size() + 4) + " dict def\nWEQBarCodeDict begin\n";
    for (std::size_t I = 0; I < V.Shapes.size(); ++I) {
        const TGlyphShape& Shape = V.Shapes[I];
        Out += "/G" + std::to_string(I) + " {\n";
        ForEachCubic(Shape, [&Out](TVectorCommand::TKind Kind, std::initializer_list<double> Numbers) {
            static const char* const Operators[] = {"moveto", "lineto", "curveto"};
            if (Kind == TVectorCommand::Close)
                Out += "closepath\n";
            else
                AppendNumbers(Out, Numbers, Operators[Kind]);
        });
        Out += "} bind def\n";
    }
    Out += "end\n%%EndProlog\n%%Page: 1 1\nsave\nWEQBarCodeDict begin\n";
    // Micrometres, y downward from the top-left corner.
    Out += "0 ";
    AppendNumber(Out, Height, 10);
    Out += " translate ";
    AppendNumbers(Out, {PointsPerUnit, -PointsPerUnit}, "scale", 12);
    if (Used[0]) {
        AppendInk(Out, Inks.Background);
        AppendNumbers(Out, {0, 0, double(S.Width), double(S.Height)}, "rectfill", 0);
    }
    // The bars as they are, to the micrometre: the bar width reduction exact.
    AppendInk(Out, Inks.Bars);
    std::string Bars;
    for (const TSymbolElement& E : S.Elements)
        if (E.Kind == TSymbolElement::Bar && E.Width > 0 && E.Height > 0)
            AppendNumbers(Bars, {double(E.Left), double(E.Top), double(E.Width), double(E.Height)}, "", 0);
    if (!Bars.empty())
        Out += "[\n" + Bars + "] rectfill\n";
    AppendInk(Out, Inks.Digits);
    for (const TPlacedGlyph& G : V.Glyphs) {
        Out += "gsave ";
        AppendNumbers(Out, {double(G.Left), double(G.Top)}, "translate", 0);
        Out.back() = ' ';
        Out += "newpath G" + std::to_string(G.Shape) + " fill grestore\n";
    }
    Out += "end\nrestore\nshowpage\n%%Trailer\n%%EOF\n";
}

} // namespace WEQEan
