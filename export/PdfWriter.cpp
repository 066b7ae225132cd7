// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// PDF files of vector symbols, written as they are placed: each character
// shape a form XObject, written once however often it stands on the pages;
// each symbol its background, its bars as rectangles and a few operators a
// character. Pages are exactly as large as asked, to a hundredth of a
// point's hundredth; Qt's own PDF writer rounds them to whole points.

#include "export/Writers_p.h"

#include "ean/Vector_p.h"
#include "ean/SystemColors_p.h"

#include <zlib.h>

#include <string_view>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>

namespace WEQEan {

namespace {

// A number as PDF takes it, at most Decimals after the point, no trailing zeros.
void AppendNumber(std::string& Out, double V, int Decimals = 4)
{
    // 10 decimals at most (a placement's matrix), which a long long holds
    // for any coordinate of a page.
    static constexpr double Scales[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10};
    const double Scale = Scales[std::clamp(Decimals, 0, 10)];
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

void AppendColor(std::string& Out, TColor Color, bool Stroke = false)
{
    const TColor Rgb = ResolveColor(Color);
    AppendNumbers(Out, {(Rgb & 0xFF) / 255.0, (Rgb >> 8 & 0xFF) / 255.0, (Rgb >> 16 & 0xFF) / 255.0},
                  Stroke ? "RG" : "rg", 3);
}

// A name object: bytes outside '!' .. '~' and PDF's delimiters as #xx.
std::string PdfName(const std::string& Name)
{
    std::string Out = "/";
    for (const char Ch : Name) {
        const auto Byte = static_cast<unsigned char>(Ch);
        if (Byte < 0x21 || Byte > 0x7E || std::string_view("#()<>[]{}/%").find(Ch) != std::string_view::npos) {
            char Hex[4];
            std::snprintf(Hex, sizeof Hex, "#%02X", unsigned(Byte));
            Out += Hex;
        } else {
            Out += Ch;
        }
    }
    return Out;
}

// The moment the file is made, or SOURCE_DATE_EPOCH for builds that must
// make the same bytes again.
std::time_t Moment()
{
    if (const char* Epoch = std::getenv("SOURCE_DATE_EPOCH"); Epoch && *Epoch)
        return std::time_t(std::strtoll(Epoch, nullptr, 10));
    return std::time(nullptr);
}

std::string PdfDate()
{
    const std::time_t Now = Moment();
    std::tm Utc{};
    gmtime_r(&Now, &Utc);
    char Text[32];
    std::strftime(Text, sizeof Text, "(D:%Y%m%d%H%M%S+00'00')", &Utc);
    return Text;
}

// The conditions a PDF/X file names most, in words for /Info and
// /OutputCondition.
const char* ConditionOf(const std::string& Identifier)
{
    static const struct {
        const char* Identifier;
        const char* Condition;
    } Known[] = {
        {"FOGRA39", "Offset printing to ISO 12647-2:2004/Amd 1 on coated paper (paper types 1 and 2)"},
        {"FOGRA51", "Offset printing to ISO 12647-2:2013 on premium coated paper (PC1)"},
        {"FOGRA52", "Offset printing to ISO 12647-2:2013 on wood-free uncoated paper (PC5)"},
        {"FOGRA47", "Offset printing to ISO 12647-2:2004 on uncoated white paper"},
        {"GRACoL2006_Coated1v2", "GRACoL coated offset, paper grade 1"},
        {"SWOP2006_Coated3v2", "SWOP web offset, paper grade 3"},
        {"SWOP2006_Coated5v2", "SWOP web offset, paper grade 5"},
    };
    for (const auto& K : Known)
        if (Identifier == K.Identifier)
            return K.Condition;
    return nullptr;
}

std::string Deflated(const std::string& Data)
{
    TDeflater& D = TDeflater::Thread();
    // Level 3: a sheet of 100,000 labels in two thirds of level 6's time for
    // a sixth more bytes (74 a label rather than 63); level 4 is slower than
    // 3 and larger too.
    if (!D.Start(3))
        return {};
    const std::size_t Bound = deflateBound(&D.Z, uLong(Data.size()));
    const std::unique_ptr<Bytef[]> Out(new Bytef[Bound]);
    D.Z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(Data.data()));
    D.Z.avail_in = uInt(Data.size());
    D.Z.next_out = Out.get();
    D.Z.avail_out = uInt(Bound);
    if (deflate(&D.Z, Z_FINISH) != Z_STREAM_END)
        return {};
    return std::string(reinterpret_cast<const char*>(Out.get()), Bound - D.Z.avail_out);
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
    Crc = std::uint32_t(crc32(Crc, reinterpret_cast<const Bytef*>(Bytes.data()), uInt(Bytes.size())));
    Adler = std::uint32_t(adler32(Adler, reinterpret_cast<const Bytef*>(Bytes.data()), uInt(Bytes.size())));
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
    ForEachCubic(S, [&Path](TVectorCommand::TKind Kind, std::initializer_list<double> Numbers) {
        static const char* const Operators[] = {"m", "l", "c"};
        if (Kind == TVectorCommand::Close)
            Path += "h\n";
        else
            AppendNumbers(Path, Numbers, Operators[Kind], 2);
    });
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
    Place(V, Left, Top, PointsPerUnit,
          TInks{FillBackground ? TInk::FromColor(Background) : TInk::NoInk(), TInk::FromColor(Bars),
                TInk::FromColor(Digits)});
}

void TPdfDocument::AppendInk(const TInk& Ink, bool Stroke)
{
    switch (Ink.Kind) {
    case TInk::Cmyk:
        AppendNumbers(Content, {Ink.C / 100, Ink.M / 100, Ink.Y / 100, Ink.K / 100}, Stroke ? "K" : "k");
        return;
    case TInk::Spot: {
        // One colour space a spot ink, its tint 1 the ink solid; the
        // alternate a proof prints is its CMYK at the same tint.
        const std::string Key = InkText(Ink);
        auto Known = SpotNames.find(Key);
        if (Known == SpotNames.end()) {
            const std::string Name = "CS" + std::to_string(SpotNames.size());
            ColorSpaces += "/" + Name + " [/Separation " + PdfName(Ink.Name) +
                           " /DeviceCMYK << /FunctionType 2 /Domain [0 1] /C0 [0 0 0 0] /C1 [";
            const double Process[4] = {Ink.C / 100, Ink.M / 100, Ink.Y / 100, Ink.K / 100};
            for (int I = 0; I < 4; ++I) {
                if (I > 0)
                    ColorSpaces += ' ';
                AppendNumber(ColorSpaces, Process[I]);
            }
            ColorSpaces += "] /N 1 >>]\n";
            Known = SpotNames.emplace(Key, Name).first;
        }
        Content += "/" + Known->second + (Stroke ? " CS 1 SCN\n" : " cs 1 scn\n");
        return;
    }
    case TInk::Rgb:
    case TInk::None:
        AppendColor(Content, InkColor(Ink), Stroke);
        return;
    }
}

void TPdfDocument::Place(const TVectorSymbol& V, double Left, double Top, double PointsPerUnit, const TInks& Inks)
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
    if (Inks.Background.Kind != TInk::None) {
        AppendInk(Inks.Background, false);
        AppendNumbers(Content, {0, 0, double(S.Width), double(S.Height)}, "re f", 0);
    }
    AppendInk(Inks.Bars, false);
    // A fill a bar: rasterisers fill the dots whose centres a lone
    // rectangle covers, but widen a path of many to every dot it touches.
    for (const TSymbolElement& E : S.Elements)
        if (E.Kind == TSymbolElement::Bar && E.Width > 0 && E.Height > 0)
            AppendNumbers(Content, {double(E.Left), double(E.Top), double(E.Width), double(E.Height)}, "re f", 0);
    AppendInk(Inks.Digits, false);
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
    Line(X1, Y1, X2, Y2, Width, TInk::FromColor(Color));
}

void TPdfDocument::Line(double X1, double Y1, double X2, double Y2, double Width, const TInk& Ink)
{
    AppendInk(Ink, true);
    AppendNumbers(Content, {Width}, "w");
    AppendNumbers(Content, {X1, PageHeight - Y1}, "m");
    AppendNumbers(Content, {X2, PageHeight - Y2}, "l S");
}

void TPdfDocument::SetPdfX(const std::string& Identifier) { OutputCondition = Identifier; }

void TPdfDocument::EndPage()
{
    const int Stream = NewObject(), Page = NewObject();
    PutStream(Stream, "", Content);
    BeginObject(Page);
    std::string Box;
    AppendNumbers(Box, {0, 0, PageWidth, PageHeight}, "", 4);
    Box.pop_back();
    Box.pop_back();
    // PDF/X: the page is the trimmed label; nothing bleeds beyond it.
    const std::string Boxes = OutputCondition.empty() ? "" : " /TrimBox [" + Box + "] /BleedBox [" + Box + "]";
    Put("<< /Type /Page /Parent 2 0 R /MediaBox [" + Box + "]" + Boxes + " /Resources 3 0 R /Contents " +
        std::to_string(Stream) + " 0 R >>\nendobj\n");
    Pages.push_back(Page);
    Content.clear();
}

bool TPdfDocument::Finish(const std::string& Title)
{
    BeginObject(3);
    Put("<< /ProcSet [/PDF] /XObject << " + XObjects + ">>" +
        (ColorSpaces.empty() ? std::string() : " /ColorSpace << " + ColorSpaces + ">>") + " >>\nendobj\n");
    std::string Kids;
    for (const int Page : Pages)
        Kids += std::to_string(Page) + " 0 R ";
    BeginObject(2);
    Put("<< /Type /Pages /Kids [" + Kids + "] /Count " + std::to_string(Pages.size()) + " >>\nendobj\n");
    BeginObject(1);
    std::string Intents, InfoKeys;
    if (!OutputCondition.empty()) {
        // A registered condition: its name in the ICC's registry stands for
        // the profile, which need not be embedded.
        const char* Condition = ConditionOf(OutputCondition);
        Intents = " /OutputIntents [<< /Type /OutputIntent /S /GTS_PDFX /OutputConditionIdentifier " +
                  LiteralString(OutputCondition) + " /RegistryName (http://www.color.org) /Info " +
                  LiteralString(Condition ? Condition : OutputCondition) +
                  (Condition ? " /OutputCondition " + LiteralString(Condition) : std::string()) + " >>]";
        const std::string Date = PdfDate();
        InfoKeys = " /CreationDate " + Date + " /ModDate " + Date + " /Trapped /False /GTS_PDFXVersion (PDF/X-1a:2003)";
    }
    Put("<< /Type /Catalog /Pages 2 0 R" + Intents + " >>\nendobj\n");
    const int Info = NewObject();
    BeginObject(Info);
    Put("<< /Title " + LiteralString(Title) + " /Creator (WEQBarCode) /Producer (WEQBarCode)" + InfoKeys +
        " >>\nendobj\n");
    const std::size_t XRef = Written;
    std::string Table = "xref\n0 " + std::to_string(Offsets.size() + 1) + "\n0000000000 65535 f \n";
    for (const std::size_t Offset : Offsets) {
        char Line[24];
        std::snprintf(Line, sizeof Line, "%010zu 00000 n \n", Offset);
        Table += Line;
    }
    // The file's identity: what it holds and when it was made.
    std::string Id;
    if (!OutputCondition.empty()) {
        char Hex[48];
        std::snprintf(Hex, sizeof Hex, "<%08X%08X%016llX>", unsigned(Crc), unsigned(Adler),
                      static_cast<unsigned long long>(Moment()));
        Id = std::string(" /ID [") + Hex + " " + Hex + "]";
    }
    Put(Table);
    Put("trailer\n<< /Size " + std::to_string(Offsets.size() + 1) + " /Root 1 0 R /Info " + std::to_string(Info) +
        " 0 R" + Id + " >>\nstartxref\n" + std::to_string(XRef) + "\n%%EOF\n");
    return !Broken;
}

std::string LiteralString(const std::string& Text)
{
    std::string Out = "(";
    for (const char Ch : Text) {
        if (Ch == '(' || Ch == ')' || Ch == '\\')
            Out += '\\';
        Out += (static_cast<unsigned char>(Ch) < 0x20 || static_cast<unsigned char>(Ch) > 0x7E) ? '?' : Ch;
    }
    return Out + ")";
}

} // namespace WEQEan
