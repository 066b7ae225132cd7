#include "Sheet.h"

#include "Interrupt.h"
#include "Paths.h"

#include <WEQBarCode/ean/WEQEanFamily.h>

#include <WEQBarCode/ean/WEQEanExport.h>

#include <cmath>
#include <shared_mutex>

namespace WEQCli {

namespace {

// Modules of whole micrometres, as the sheet draws them.
constexpr int SheetDpi = 25400;

} // namespace

TSheetLayout LayOutSheet(const TOptions& O)
{
    TSheetLayout L;
    const double X = WEQEan::DotsPerModule(O.Export.XDimensionMM, SheetDpi) / 1000.0;
    std::int32_t Modules = 0, HeightModules = 0;
    const auto Fit = [&](WEQEan::TSymbology S) {
        Modules = std::max(Modules, WEQEan::SymbolModules(S, O.AddOn.size()));
        HeightModules = std::max(HeightModules, WEQEan::RatioHeightModules(S));
    };
    if (O.Symbology)
        Fit(*O.Symbology);
    else
        for (const auto S : {WEQEan::TSymbology::Ean13, WEQEan::TSymbology::UpcA, WEQEan::TSymbology::Ean8})
            Fit(S);
    L.LabelWidthMM = Modules * X;
    L.LabelHeightMM = HeightModules * X;
    const double W = O.Sheet->WidthMM - 2 * O.MarginMM, H = O.Sheet->HeightMM - 2 * O.MarginMM;
    const int FitColumns = W > 0 ? int(W / L.LabelWidthMM) : 0, FitRows = H > 0 ? int(H / L.LabelHeightMM) : 0;
    L.Columns = O.Columns ? O.Columns : FitColumns;
    L.Rows = O.Rows ? O.Rows : FitRows;
    char Text[200];
    if (L.Columns > FitColumns || L.Rows > FitRows || L.Columns < 1 || L.Rows < 1) {
        std::snprintf(Text, sizeof Text,
                      "labels of %.2f x %.2f mm fit %d x %d on %s inside %g mm margins; %d x %d asked for",
                      L.LabelWidthMM, L.LabelHeightMM, FitColumns, FitRows, O.Sheet->Name, O.MarginMM, L.Columns,
                      L.Rows);
        L.Error = Text;
        return L;
    }
    L.CellWidthMM = W / L.Columns;
    L.CellHeightMM = H / L.Rows;
    return L;
}

TBatchResult WriteSheet(TItemSource& Source, const TOptions& O, TProgress& Progress)
{
    TBatchResult R;
    const TSheetLayout L = LayOutSheet(O);
    if (!L.Error.empty()) {
        R.Failure = L.Error;
        return R;
    }
    if (!TFolders().Make(O.Output, R.Failure))
        return R;
    // The temporary beside the sheet lives as long as this lock is held.
    const std::shared_lock Guard(Interrupt::FilesLock());
    if ((R.Interrupted = Interrupt::Requested() != 0))
        return R;
    WEQEan::TPdfSheet Pdf;
    QString Reason;
    if (!Pdf.Open(QString::fromStdString(O.Output), &Reason)) {
        R.Failure = Clause(Reason);
        return R;
    }
    std::size_t Labels = 0;
    const std::size_t PerPage = std::size_t(L.Columns) * std::size_t(L.Rows);
    TItem Item;
    while (!Interrupt::Requested() && Source.Next(Item)) {
        ++R.Items;
        Progress.Update(Labels + R.Rejected);
        if (!Item.Rejected.empty()) {
            ++R.Rejected;
            Progress.Print(Source.Where(Item.Input, Item.Line) + ": " + Item.Rejected);
            continue;
        }
        const std::size_t OnPage = Labels % PerPage;
        if (OnPage == 0)
            Pdf.NewPage(O.Sheet->WidthMM, O.Sheet->HeightMM);
        const double Left = O.MarginMM + double(OnPage % std::size_t(L.Columns)) * L.CellWidthMM +
                            (L.CellWidthMM - L.LabelWidthMM) / 2;
        const double Top = O.MarginMM + double(OnPage / std::size_t(L.Columns)) * L.CellHeightMM +
                           (L.CellHeightMM - L.LabelHeightMM) / 2;
        if (!Pdf.Place(Item.Gtin, Left, Top, ExportOf(Item, O), &Reason)) {
            R.Failure = "cannot make " + O.Output + ": " + Reason.toStdString();
            break;
        }
        ++Labels;
    }
    if ((R.Interrupted = Interrupt::Requested() != 0))
        return R; // the file discards its temporary while the lock is held
    if (R.Failure.empty())
        R.Failure = Source.Error();
    if (!R.Failure.empty())
        return R;
    if (Labels == 0)
        Pdf.NewPage(O.Sheet->WidthMM, O.Sheet->HeightMM); // an empty sheet is still a page
    if (!Pdf.Finish(QStringLiteral("Labels"), &Reason)) {
        R.Failure = Clause(Reason);
        return R;
    }
    R.Written = Labels;
    Progress.Finish(Labels + R.Rejected);
    return R;
}

} // namespace WEQCli
