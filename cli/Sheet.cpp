// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "Sheet.h"

#include "Checks.h"
#include "Interrupt.h"
#include "Paths.h"
#include "Text.h"

#include <WEQBarCode/ean/WEQEanExport.h>
#include <WEQBarCode/ean/Units.h>
#include <WEQBarCode/ean/WEQEanFamily.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <optional>
#include <shared_mutex>
#include <tuple>

namespace WEQCli {

namespace {

// Modules of whole micrometres, as the sheet draws them.
constexpr int SheetDpi = WEQEan::MicrometresPerInch;
// Rounding of millimetres summed over a page's cells.
constexpr double Slack = 1e-9;
// A crop mark starts this far out from its corner, is this long at most,
// keeps this far clear of any label's box, and is dropped when shorter than
// the last.
constexpr double MarkStartMM = 1.0, MarkLengthMM = 3.0, MarkClearanceMM = 0.25, ShortestMarkMM = 0.5;

// The sizes of the labels of one run, by symbology and add-on: they depend
// on nothing else, so each is asked for once.
class TLabelSizes {
public:
    explicit TLabelSizes(const TOptions& O) : O(O) {}
    bool Of(const TItem& Item, double& Width, double& Height, std::string& Error)
    {
        std::optional<std::pair<double, double>>& Size = Known[KindOf(Item)];
        if (!Size) {
            if (!Measure(Item, Width, Height, Error))
                return false;
            Size = std::make_pair(Width, Height);
        }
        std::tie(Width, Height) = *Size;
        return true;
    }

private:
    bool Measure(const TItem& Item, double& Width, double& Height, std::string& Error)
    {
        QString Reason;
        if (WEQEan::TPdfSheet::SizeOf(Item.Reading, O.Export, Width, Height, &Reason))
            return true;
        Error = Clause(Reason);
        return false;
    }
    const TOptions& O;
    std::array<std::optional<std::pair<double, double>>, ItemKinds> Known; // by KindOf
};

struct TBox {
    double Left, Top, Right, Bottom;
};

// The largest label's box in a cell, quiet zones included.
TBox LabelBox(const TSheetLayout& L, int Column, int Row)
{
    const double Left = L.CellLeft(Column) + (L.CellWidthMM - L.LabelWidthMM) / 2;
    const double Top = L.CellTop(Row) + (L.CellHeightMM - L.LabelHeightMM) / 2;
    return {Left, Top, Left + L.LabelWidthMM, Top + L.LabelHeightMM};
}

} // namespace

std::string Mm(double V)
{
    char Text[32];
    std::snprintf(Text, sizeof Text, "%.2f", V);
    return Text;
}

TSheetLayout LayOutSheet(const TOptions& O)
{
    TSheetLayout L;
    L.MarginLeftMM = O.Margins.Left;
    L.MarginTopMM = O.Margins.Top;
    // A book's number line makes its label taller; --symbology auto may
    // choose a book.
    const bool Lines = O.Reading.Kind >= WEQEan::TKind::Auto;
    // A template's labels are its size, its cells label stock's.
    const bool Templated = O.TemplateWidthMM > 0;
    if (Templated) {
        L.LabelWidthMM = O.TemplateWidthMM;
        L.LabelHeightMM = O.TemplateHeightMM;
    }
    for (const WEQEan::TSymbology S : Templated ? std::vector<WEQEan::TSymbology>() : Symbologies(O))
        for (const bool Line : {false, Lines}) {
            double W = 0, H = 0;
            QString Reason;
            if (!WEQEan::TPdfSheet::SizeOf(SampleReading(S, O.Reading.Options.AddOn.size(), Line), O.Export, W, H,
                                           &Reason)) {
                L.Error = Clause(Reason);
                return L;
            }
            L.LabelWidthMM = std::max(L.LabelWidthMM, W);
            L.LabelHeightMM = std::max(L.LabelHeightMM, H);
        }
    // One quiet zone, the widest of the family's, between neighbours.
    const int GridDpi = O.Export.PrinterDpi ? O.Export.PrinterDpi : SheetDpi;
    const double QuietZone =
        11 * WEQEan::DotsPerModule(O.Export.XDimensionMM, GridDpi) * WEQEan::MillimetresPerInch / GridDpi;
    const bool Stock = O.LabelWidthMM > 0 || Templated;
    L.GapAcrossMM = O.GapAcrossMM.value_or(Stock ? 0.0 : QuietZone);
    L.GapDownMM = O.GapDownMM.value_or(Stock ? 0.0 : QuietZone);
    const double CellW = O.LabelWidthMM > 0 ? O.LabelWidthMM : L.LabelWidthMM;
    const double CellH = O.LabelWidthMM > 0 ? O.LabelHeightMM : L.LabelHeightMM;
    if (Stock && (L.LabelWidthMM > CellW + Slack || L.LabelHeightMM > CellH + Slack)) {
        L.Error = "labels of " + Mm(L.LabelWidthMM) + " x " + Mm(L.LabelHeightMM) +
                  " mm do not fit the --label cells of " + Mm(CellW) + " x " + Mm(CellH) + " mm";
        return L;
    }
    if (O.Roll) {
        // A page a label: no margins, no gutters, the cell the page.
        L.Columns = L.Rows = 1;
        L.MarginLeftMM = L.MarginTopMM = L.GapAcrossMM = L.GapDownMM = 0;
        L.CellWidthMM = CellW;
        L.CellHeightMM = CellH;
        return L;
    }
    const TMargins& M = O.Margins;
    const double W = O.Sheet->WidthMM - M.Left - M.Right, H = O.Sheet->HeightMM - M.Top - M.Bottom;
    const auto Fit = [](double Room, double Cell, double Gap) {
        return Room > 0 ? int(std::min(1e6, std::floor((Room + Gap) / (Cell + Gap) + Slack))) : 0;
    };
    const int FitColumns = Fit(W, CellW, L.GapAcrossMM), FitRows = Fit(H, CellH, L.GapDownMM);
    L.Columns = O.Columns ? O.Columns : FitColumns;
    L.Rows = O.Rows ? O.Rows : FitRows;
    if (L.Columns > FitColumns || L.Rows > FitRows || L.Columns < 1 || L.Rows < 1) {
        // Said as the user set it: the page, its margins, and a grid only where one was asked for.
        char Margins[128], Text[400];
        if (M.Left == M.Top && M.Left == M.Right && M.Left == M.Bottom)
            std::snprintf(Margins, sizeof Margins, "%g", M.Left);
        else
            std::snprintf(Margins, sizeof Margins, "%g, %g, %g, %g", M.Left, M.Top, M.Right, M.Bottom);
        if (W <= 0 || H <= 0)
            std::snprintf(Text, sizeof Text, "a page of %s leaves no room inside margins of %s mm", O.Sheet->Name.c_str(),
                          Margins);
        else
            std::snprintf(Text, sizeof Text, "%s of %.2f x %.2f mm with gutters of %.2f, %.2f mm fit %d x %d on %s "
                          "inside margins of %s mm",
                          Stock ? "cells" : "labels", CellW, CellH, L.GapAcrossMM, L.GapDownMM, FitColumns, FitRows,
                          O.Sheet->Name.c_str(), Margins);
        L.Error = Text;
        if (O.Columns || O.Rows)
            L.Error += "; " + (O.Columns ? "--columns " + std::to_string(O.Columns) : std::string()) +
                       (O.Columns && O.Rows ? " and " : "") + (O.Rows ? "--rows " + std::to_string(O.Rows) : std::string()) +
                       " asked for";
        return L;
    }
    // Label stock keeps its cells; others share out the room left.
    L.CellWidthMM = Stock ? CellW : (W - (L.Columns - 1) * L.GapAcrossMM) / L.Columns;
    L.CellHeightMM = Stock ? CellH : (H - (L.Rows - 1) * L.GapDownMM) / L.Rows;
    return L;
}

std::vector<TCropMark> CropMarks(const TSheetLayout& L, const TPage& Page, int Column, int Row)
{
    std::vector<TCropMark> Marks;
    const double Clear = MarkClearanceMM + CropMarkWidthMM / 2;
    const double Lefts[] = {L.CellLeft(Column), L.CellLeft(Column) + L.CellWidthMM};
    const double Tops[] = {L.CellTop(Row), L.CellTop(Row) + L.CellHeightMM};
    for (int Corner = 0; Corner < 4; ++Corner) {
        const double X = Lefts[Corner & 1], Y = Tops[Corner >> 1];
        const double OutX = Corner & 1 ? 1 : -1, OutY = Corner >> 1 ? 1 : -1;
        // Along the top or bottom edge outward, then along the side.
        for (const bool Across : {true, false}) {
            const double DX = Across ? OutX : 0, DY = Across ? 0 : OutY;
            double End = MarkStartMM + MarkLengthMM;
            // The page's edge.
            End = std::min(End, DX < 0 ? X : DX > 0 ? Page.WidthMM - X : DY < 0 ? Y : Page.HeightMM - Y);
            for (int C = std::max(0, Column - 1); C <= std::min(L.Columns - 1, Column + 1); ++C)
                for (int R = std::max(0, Row - 1); R <= std::min(L.Rows - 1, Row + 1); ++R) {
                    const TBox B = LabelBox(L, C, R);
                    // The box, widened by the clearance, on the mark's line?
                    const double Across0 = Across ? Y : X;
                    if (Across0 < (Across ? B.Top : B.Left) - Clear || Across0 > (Across ? B.Bottom : B.Right) + Clear)
                        continue;
                    // Its extent along the mark, in distances from the corner.
                    const double Lo = Across ? B.Left - Clear : B.Top - Clear, Hi = Across ? B.Right + Clear
                                                                                      : B.Bottom + Clear;
                    const double Origin = Across ? X : Y, Out = Across ? DX : DY;
                    const double Near = std::min((Lo - Origin) * Out, (Hi - Origin) * Out);
                    const double Far = std::max((Lo - Origin) * Out, (Hi - Origin) * Out);
                    if (Far < MarkStartMM)
                        continue;
                    End = std::min(End, Near);
                }
            if (End - MarkStartMM < ShortestMarkMM)
                continue;
            Marks.push_back({X + DX * MarkStartMM, Y + DY * MarkStartMM, X + DX * End, Y + DY * End});
        }
    }
    return Marks;
}

bool StartOnePdf(const TOptions& O, TSheetLayout& L, std::shared_lock<std::shared_timed_mutex>& Guard, TBatchResult& R)
{
    L = LayOutSheet(O);
    if (!L.Error.empty()) {
        R.Failure = L.Error;
        return false;
    }
    if (!TFolders().Make(O.Output, R.Failure))
        return false;
    Guard = std::shared_lock(Interrupt::FilesLock());
    R.Interrupted = Interrupt::Requested() != 0;
    return !R.Interrupted;
}

TBatchResult WriteSheet(TItemSource& Source, const TOptions& O, TProgress& Progress)
{
    TBatchResult R;
    TSheetLayout L;
    std::shared_lock<std::shared_timed_mutex> Guard;
    if (!StartOnePdf(O, L, Guard, R))
        return R;
    WEQEan::TPdfSheet Pdf;
    QString Reason;
    if (!Pdf.Open(QString::fromStdString(O.Output), &Reason)) {
        R.Failure = Clause(Reason);
        return R;
    }
    if (O.Export.PdfX)
        Pdf.SetPdfX(O.Export.OutputCondition);
    // Crop marks on the plates the bars use, and no other.
    const bool MarksInBarInk = O.Export.BarInk && O.Export.BarInk->Kind != WEQEan::TInk::Rgb;
    TLabelSizes Sizes(O);
    TPrintChecks Checks(O);
    std::size_t Labels = 0;
    const std::size_t PerPage = std::size_t(L.Columns) * std::size_t(L.Rows);
    TItem Item;
    const auto Reject = [&](const std::string& Why) {
        ++R.Rejected;
        Progress.Print(Source.Where(Item.Input, Item.Line) + ": " + Why);
    };
    while (!Interrupt::Requested() && Source.Next(Item)) {
        ++R.Items;
        Progress.Update(Labels + R.Rejected);
        if (!Checks.Admit(Item, Source, Progress)) {
            ++R.Rejected;
            continue;
        }
        double Width = 0, Height = 0;
        if (!Sizes.Of(Item, Width, Height, R.Failure)) {
            R.Failure = "cannot make " + O.Output + ": " + R.Failure;
            break;
        }
        // A roll without --label takes each label at its size.
        const bool Cells = O.Sheet || O.LabelWidthMM > 0;
        if (Cells && (Width > L.CellWidthMM + Slack || Height > L.CellHeightMM + Slack)) {
            Reject("its label of " + Mm(Width) + " x " + Mm(Height) + " mm is larger than the cells of " +
                   Mm(L.CellWidthMM) + " x " + Mm(L.CellHeightMM) + " mm");
            continue;
        }
        const std::size_t OnPage = Labels % PerPage;
        // A roll's page is its label's (or --label's) size; a sheet's the sheet's.
        const bool Stock = O.LabelWidthMM > 0;
        const double CellW = O.Roll && !Stock ? Width : L.CellWidthMM, CellH = O.Roll && !Stock ? Height : L.CellHeightMM;
        if (OnPage == 0)
            Pdf.NewPage(O.Roll ? CellW : O.Sheet->WidthMM, O.Roll ? CellH : O.Sheet->HeightMM);
        const int Column = int(OnPage % std::size_t(L.Columns)), Row = int(OnPage / std::size_t(L.Columns));
        const double Left = L.CellLeft(Column) + (CellW - Width) / 2;
        const double Top = L.CellTop(Row) + (CellH - Height) / 2;
        if (!Pdf.Place(Item.Reading, Left, Top, O.Export, &Reason)) {
            R.Failure = "cannot make " + O.Output + ": " + Reason.toStdString();
            break;
        }
        if (O.CropMarks)
            for (const TCropMark& M : CropMarks(L, *O.Sheet, Column, Row)) {
                if (MarksInBarInk)
                    Pdf.Line(M.X1, M.Y1, M.X2, M.Y2, CropMarkWidthMM, *O.Export.BarInk);
                else
                    Pdf.Line(M.X1, M.Y1, M.X2, M.Y2, CropMarkWidthMM);
            }
        ++Labels;
        if (O.Verify) {
            bool Below = false;
            std::string Why;
            const std::string Name = O.Output + ", page " + std::to_string((Labels - 1) / PerPage + 1) +
                                     (O.Roll ? "" : ", label " + std::to_string(OnPage + 1));
            const std::string Line = GradeLine(Name, WEQEan::GradeSymbol(Item.Reading, O.Export, MeasureDpi(O)), O, Below, Why);
            if (!O.Quiet)
                std::fputs((Escape(Line) + '\n').c_str(), stdout);
            if (Below) {
                ++R.BelowGrade;
                Progress.Print(Why);
            }
        }
    }
    if ((R.Interrupted = Interrupt::Requested() != 0))
        return R; // the file discards its temporary while the lock is held
    if (R.Failure.empty())
        R.Failure = Source.Error();
    if (!R.Failure.empty())
        return R;
    // A sheet without a label is no sheet: the temporary is discarded and
    // a file already there is left as it was.
    if (Labels == 0) {
        Progress.Finish(R.Rejected);
        return R;
    }
    if (!Pdf.Finish(QStringLiteral("Labels"), &Reason)) {
        R.Failure = Clause(Reason);
        return R;
    }
    R.Written = Labels;
    Progress.Finish(Labels + R.Rejected);
    return R;
}

} // namespace WEQCli
