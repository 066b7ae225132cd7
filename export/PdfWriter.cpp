// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// PDF files of vector symbols, written as they are placed: each character
// shape a form XObject, written once however often it stands on the pages;
// each symbol its background, its bars as rectangles and a few operators a
// character. Pages are exactly as large as asked, to a hundredth of a
// point's hundredth; Qt's own PDF writer rounds them to whole points.

#include "export/Writers_p.h"

#include "ean/Vector_p.h"
#include "surface/Canvas.h"

#include <zlib.h>

#include <charconv>
#include <cmath>
#include <cstdio>

namespace WEQEan {

namespace {

// A number as PDF takes it, at most Decimals after the point, no trailing zeros.
void AppendNumber(std::string& Out, double V, int Decimals = 4)
{
    const double Scale = std::pow(10.0, Decimals);
    long long N = std::llround(V * Scale);
    if (N < 0) {
        Out += '-';
        N = -N;
    }
    const long long Whole = N / (long long)Scale;
    long long Part = N % (long long)Scale;
    char Buffer[24];
    Out.append(Buffer, std::to_chars(Buffer, Buffer + sizeof Buffer, Whole).ptr);
    if (Part == 0)
        return;
    int Digits = Decimals;
    while (Part % 10 == 0) {
        Part /= 10;
        --Digits;
    }
    const auto End = std::to_chars(Buffer, Buffer + sizeof Buffer, Part).ptr;
    Out += '.';
    Out.append(std::size_t(Digits - (End - Buffer)), '0');
    Out.append(Buffer, End);
}

void AppendNumbers(std::string& Out, std::initializer_list<double> Values, const char* Operator, int Decimals = 4)
{
    for (const double V : Values) {
        AppendNumber(Out, V, Decimals);
        Out += ' ';
    }
    Out += Operator;
    Out += '\n';
}

void AppendColor(std::string& Out, TColor Color)
{
    const TColor Rgb = TCanvas::ResolveColor(Color);
    AppendNumbers(Out, {(Rgb & 0xFF) / 255.0, (Rgb >> 8 & 0xFF) / 255.0, (Rgb >> 16 & 0xFF) / 255.0}, "rg", 3);
}

// Text for a PDF string: its own escapes, and Latin-1 only.
std::string PdfString(const std::string& Text)
{
    std::string Out = "(";
    for (const char Ch : Text) {
        if (Ch == '(' || Ch == ')' || Ch == '\\')
            Out += '\\';
        Out += (static_cast<unsigned char>(Ch) < 0x20 || static_cast<unsigned char>(Ch) > 0x7E) ? '?' : Ch;
    }
    return Out + ")";
}

std::string Deflated(const std::string& Data)
{
    uLongf Size = compressBound(uLong(Data.size()));
    std::string Out(Size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(Out.data()), &Size, reinterpret_cast<const Bytef*>(Data.data()),
                  uLong(Data.size()), 6) != Z_OK)
        return {};
    Out.resize(Size);
    return Out;
}

} // namespace

TPdfDocument::TPdfDocument(TSink Sink) : Sink(std::move(Sink))
{
    // The second line's bytes above 127 tell readers the file is binary.
    Put("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    // Objects 1 and 2 are the catalogue and the page tree, written last; 3
    // the resources every page shares.
    Offsets.assign(3, 0);
}

int TPdfDocument::NewObject()
{
    Offsets.push_back(0);
    return int(Offsets.size());
}

void TPdfDocument::Put(const std::string& Bytes)
{
    if (Broken || Bytes.empty())
        return;
    if (!Sink(Bytes.data(), Bytes.size()))
        Broken = true;
    Written += Bytes.size();
}

void TPdfDocument::BeginObject(int Number)
{
    Offsets[std::size_t(Number - 1)] = Written;
    Put(std::to_string(Number) + " 0 obj\n");
}

void TPdfDocument::PutStream(int Number, const std::string& Dictionary, const std::string& Data)
{
    const std::string Packed = Deflated(Data);
    if (Packed.empty() && !Data.empty())
        Broken = true;
    BeginObject(Number);
    Put("<< " + Dictionary + " /Filter /FlateDecode /Length " + std::to_string(Packed.size()) + " >>\nstream\n");
    Put(Packed);
    Put("\nendstream\nendobj\n");
}

void TPdfDocument::BeginPage(double WidthPoints, double HeightPoints)
{
    PageWidth = WidthPoints;
    PageHeight = HeightPoints;
    Content.clear();
}

std::string TPdfDocument::ShapeName(const TVectorSymbol& V, std::size_t Shape)
{
    const TGlyphShape& S = V.Shapes[Shape];
    std::string Key(S.Line ? "L" : "");
    Key.append(1, S.Ch).append(std::to_string(S.Width)).append("x").append(std::to_string(S.Height));
    const auto Known = ShapeNames.find(Key);
    if (Known != ShapeNames.end())
        return Known->second;
    // The shape's outline in its box's units, y downward as the symbol's;
    // quadratic curves as the cubic ones PDF has.
    std::string Path;
    long double X0 = 0, Y0 = 0;
    for (std::size_t I = S.First; I < S.First + S.Count; ++I) {
        const TVectorCommand& C = V.Commands[I];
        switch (C.Kind) {
        case TVectorCommand::Move:
            AppendNumbers(Path, {double(C.X), double(C.Y)}, "m", 2);
            break;
        case TVectorCommand::Line:
            AppendNumbers(Path, {double(C.X), double(C.Y)}, "l", 2);
            break;
        case TVectorCommand::Quad:
            AppendNumbers(Path,
                          {double(X0 + (C.CX - X0) * 2 / 3), double(Y0 + (C.CY - Y0) * 2 / 3),
                           double(C.X + (C.CX - C.X) * 2 / 3), double(C.Y + (C.CY - C.Y) * 2 / 3), double(C.X),
                           double(C.Y)},
                          "c", 2);
            break;
        case TVectorCommand::Close:
            Path += "h\n";
            break;
        }
        if (C.Kind != TVectorCommand::Close) {
            X0 = C.X;
            Y0 = C.Y;
        }
    }
    Path += "f\n";
    const std::string Name = std::string("G").append(std::to_string(ShapeNames.size()));
    const int Number = NewObject();
    std::string BBox = "/BBox [";
    AppendNumber(BBox, -S.Width);
    BBox += ' ';
    AppendNumber(BBox, -S.Height);
    BBox += ' ';
    AppendNumber(BBox, 2.0 * S.Width);
    BBox += ' ';
    AppendNumber(BBox, 2.0 * S.Height);
    BBox += "]";
    PutStream(Number, "/Type /XObject /Subtype /Form " + BBox, Path);
    ShapeNames.emplace(Key, Name);
    XObjects += "/" + Name + " " + std::to_string(Number) + " 0 R ";
    return Name;
}

void TPdfDocument::Place(const TVectorSymbol& V, double Left, double Top, double PointsPerUnit, TColor Background,
                         TColor Bars, TColor Digits, bool FillBackground)
{
    const TSymbol& S = V.Symbol;
    // The symbol's units, y downward, from its top-left corner on the page.
    Content += "q\n";
    // The scale to ten places: at six, a symbol of micrometres is 5 µm too wide.
    for (const double V : {PointsPerUnit, 0.0, 0.0, -PointsPerUnit}) {
        AppendNumber(Content, V, 10);
        Content += ' ';
    }
    AppendNumbers(Content, {Left, PageHeight - Top}, "cm", 4);
    if (FillBackground) {
        AppendColor(Content, Background);
        AppendNumbers(Content, {0, 0, double(S.Width), double(S.Height)}, "re f", 0);
    }
    AppendColor(Content, Bars);
    // A fill a bar: rasterisers fill the dots whose centres a lone
    // rectangle covers, but widen a path of many to every dot it touches.
    for (const TSymbolElement& E : S.Elements)
        if (E.Kind == TSymbolElement::Bar && E.Width > 0 && E.Height > 0)
            AppendNumbers(Content, {double(E.Left), double(E.Top), double(E.Width), double(E.Height)}, "re f", 0);
    AppendColor(Content, Digits);
    for (const TPlacedGlyph& G : V.Glyphs) {
        const std::string Name = ShapeName(V, G.Shape);
        Content += "q 1 0 0 1 ";
        AppendNumbers(Content, {double(G.Left), double(G.Top)}, "cm /", 0);
        Content.pop_back();
        Content += Name + " Do Q\n";
    }
    Content += "Q\n";
}

void TPdfDocument::Line(double X1, double Y1, double X2, double Y2, double Width, TColor Color)
{
    const TColor Rgb = TCanvas::ResolveColor(Color);
    AppendNumbers(Content, {(Rgb & 0xFF) / 255.0, (Rgb >> 8 & 0xFF) / 255.0, (Rgb >> 16 & 0xFF) / 255.0}, "RG", 3);
    AppendNumbers(Content, {Width}, "w");
    AppendNumbers(Content, {X1, PageHeight - Y1}, "m");
    AppendNumbers(Content, {X2, PageHeight - Y2}, "l S");
}

void TPdfDocument::EndPage()
{
    const int Stream = NewObject(), Page = NewObject();
    PutStream(Stream, "", Content);
    BeginObject(Page);
    std::string Box;
    AppendNumbers(Box, {0, 0, PageWidth, PageHeight}, "", 4);
    Box.pop_back();
    Box.pop_back();
    Put("<< /Type /Page /Parent 2 0 R /MediaBox [" + Box + "] /Resources 3 0 R /Contents " + std::to_string(Stream) +
        " 0 R >>\nendobj\n");
    Pages.push_back(Page);
    Content.clear();
}

bool TPdfDocument::Finish(const std::string& Title)
{
    BeginObject(3);
    Put("<< /ProcSet [/PDF] /XObject << " + XObjects + ">> >>\nendobj\n");
    std::string Kids;
    for (const int Page : Pages)
        Kids += std::to_string(Page) + " 0 R ";
    BeginObject(2);
    Put("<< /Type /Pages /Kids [" + Kids + "] /Count " + std::to_string(Pages.size()) + " >>\nendobj\n");
    BeginObject(1);
    Put("<< /Type /Catalog /Pages 2 0 R >>\nendobj\n");
    const int Info = NewObject();
    BeginObject(Info);
    Put("<< /Title " + PdfString(Title) + " /Creator (WEQBarCode) /Producer (WEQBarCode) >>\nendobj\n");
    const std::size_t XRef = Written;
    std::string Table = "xref\n0 " + std::to_string(Offsets.size() + 1) + "\n0000000000 65535 f \n";
    for (const std::size_t Offset : Offsets) {
        char Line[24];
        std::snprintf(Line, sizeof Line, "%010zu 00000 n \n", Offset);
        Table += Line;
    }
    Put(Table);
    Put("trailer\n<< /Size " + std::to_string(Offsets.size() + 1) + " /Root 1 0 R /Info " + std::to_string(Info) +
        " 0 R >>\nstartxref\n" + std::to_string(XRef) + "\n%%EOF\n");
    return !Broken;
}

} // namespace WEQEan
