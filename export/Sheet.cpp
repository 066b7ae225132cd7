// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// Label sheets: many symbols on pages of a PDF of our own writing, streamed
// into a file that appears whole or not at all.

#include "ean/Units.h"
#include "ean/Vector_p.h"
#include "export/Export_p.h"
#include "export/Writers_p.h"

#include <cmath>
#include <optional>

namespace WEQEan {

namespace {

// Millimetres to points, the millimetres first rounded to whole micrometres
// so that every label starts on the same grid as its modules.
double Points(double Millimetres)
{
    return std::llround(Millimetres * MicrometresPerMillimetre) / MicrometresPerMillimetre * PointsPerMillimetre;
}

// Millimetres from the page's edge to points, on the symbols' grid.
double GridPoints(double Millimetres, const TPdfGrid& G)
{
    return std::llround(Millimetres / G.MillimetresPerUnit) * G.PointsPerUnit;
}

} // namespace

struct WEQBARCODE_HIDDEN TPdfSheet::TImpl {
    TAtomicFile File;
    QString Path, Reason; // the first write that failed
    std::optional<TPdfDocument> Pdf;
    bool PageOpen = false;
    bool PdfX = false;
    std::string OutputCondition;
    TSymbol Symbol; // its storage serves every label
    TShapeCache Shapes; // each character shape resolved once for the sheet
};

TPdfSheet::TPdfSheet() : d(std::make_unique<TImpl>()) {}
TPdfSheet::~TPdfSheet() = default;

bool TPdfSheet::Open(const QString& Path, QString* Error)
{
    d->Path = Path;
    if (!d->File.Open(Path, Error))
        return false;
    d->Pdf.emplace([this](const char* Data, std::size_t Size) {
        return d->Reason.isEmpty() && d->File.Write(Data, Size, &d->Reason);
    });
    if (d->PdfX)
        d->Pdf->SetPdfX(d->OutputCondition);
    return true;
}

void TPdfSheet::NewPage(double WidthMM, double HeightMM)
{
    if (!d->Pdf)
        return;
    if (d->PageOpen)
        d->Pdf->EndPage();
    d->Pdf->BeginPage(WidthMM * PointsPerMillimetre, HeightMM * PointsPerMillimetre);
    d->PageOpen = true;
}

bool TPdfSheet::Place(const TEanReading& R, double LeftMM, double TopMM, const TExportOptions& O, QString* Error)
{
    if (!d->Pdf || !d->PageOpen)
        return Fail(Error, QStringLiteral("No page to place %1 on").arg(QString::fromStdString(R.Title())));
    // The sheet's PDF/X, not the options', decides what it takes.
    TExportOptions Sheet = O;
    Sheet.PdfX = d->PdfX;
    TInks Inks;
    TPdfGrid G;
    if (!PdfGridOf(O, G, Error) || !InksOf(Sheet, Inks, Error) || !SymbolAt(R, G.Grid, O, d->Symbol, Error))
        return false;
    d->Pdf->Place(ResolveVector(d->Symbol, &d->Shapes), GridPoints(LeftMM, G), GridPoints(TopMM, G), G.PointsPerUnit,
                  Inks);
    return true;
}

void TPdfSheet::Line(double X1MM, double Y1MM, double X2MM, double Y2MM, double WidthMM, TColor Color)
{
    // Under PDF/X black lines are black ink.
    Line(X1MM, Y1MM, X2MM, Y2MM, WidthMM,
         d->PdfX && Color == clBlack ? TInk::FromCmyk(0, 0, 0, 100) : TInk::FromColor(Color));
}

void TPdfSheet::Line(double X1MM, double Y1MM, double X2MM, double Y2MM, double WidthMM, const TInk& Ink)
{
    if (!d->Pdf || !d->PageOpen)
        return;
    if (d->PdfX && Ink.Kind == TInk::Rgb) {
        if (d->Reason.isEmpty())
            d->Reason = QStringLiteral("PDF/X-1a takes CMYK and spot inks only: a line is RGB %1")
                            .arg(QString::fromStdString(InkText(Ink)));
        return;
    }
    d->Pdf->Line(Points(X1MM), Points(Y1MM), Points(X2MM), Points(Y2MM), WidthMM * PointsPerMillimetre, Ink);
}

void TPdfSheet::SetPdfX(const std::string& OutputCondition)
{
    d->PdfX = true;
    d->OutputCondition = OutputCondition;
    if (d->Pdf)
        d->Pdf->SetPdfX(OutputCondition);
}

bool TPdfSheet::Finish(const QString& Title, QString* Error)
{
    if (!d->Pdf)
        return Fail(Error, QStringLiteral("No file is open"));
    if (d->PageOpen)
        d->Pdf->EndPage();
    d->PageOpen = false;
    const bool Written = d->Pdf->Finish(Title.toStdString());
    d->Pdf.reset();
    if (!Written) {
        const QString Reason = d->Reason.isEmpty() ? QStringLiteral("Cannot write %1").arg(d->Path) : d->Reason;
        d->File.Discard();
        return Fail(Error, Reason);
    }
    return d->File.Commit(true, Error);
}

bool TPdfSheet::SizeOf(const TEanReading& R, const TExportOptions& O, double& WidthMM, double& HeightMM,
                       QString* Error)
{
    TSymbol Symbol;
    TPdfGrid G;
    if (!PdfGridOf(O, G, Error) || !SymbolAt(R, G.Grid, O, Symbol, Error))
        return false;
    WidthMM = Symbol.Width * G.MillimetresPerUnit;
    HeightMM = Symbol.Height * G.MillimetresPerUnit;
    return true;
}

bool TPdfSheet::Place(const std::string& Text, double LeftMM, double TopMM, const TExportOptions& O, QString* Error)
{
    return Place(ReadText(Text, O), LeftMM, TopMM, O, Error);
}

bool TPdfSheet::SizeOf(const std::string& Text, const TExportOptions& O, double& WidthMM, double& HeightMM,
                       QString* Error)
{
    return SizeOf(ReadText(Text, O), O, WidthMM, HeightMM, Error);
}

} // namespace WEQEan
