#include "Sheet.h"

#include "Interrupt.h"
#include "Paths.h"

#include <WEQBarCode/ean/WEQEanFamily.h>

#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>
#include <shared_mutex>
#include <sys/stat.h>

namespace WEQCli {

namespace {

// The PDF's dots are micrometres: any X-dimension given to the micrometre is
// a whole number of them.
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
    WEQEan::TAtomicFile File;
    QString Reason;
    if (!File.Open(QString::fromStdString(O.Output), &Reason)) {
        R.Failure = Clause(Reason);
        return R;
    }
    QFile Out;
    if (!Out.open(File.Descriptor(), QIODevice::WriteOnly, QFileDevice::DontCloseHandle)) {
        R.Failure = "cannot write " + O.Output + ": " + Out.errorString().toStdString();
        return R;
    }
    std::size_t Labels = 0;
    {
        QPdfWriter Pdf(&Out);
        Pdf.setResolution(SheetDpi);
        Pdf.setPageSize(QPageSize(O.Sheet->Name == std::string("A4") ? QPageSize::A4 : QPageSize::Letter));
        Pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        Pdf.setTitle(QStringLiteral("EAN-13 labels"));
        Pdf.setCreator(QStringLiteral("weqbarcode"));
        QPainter Painter(&Pdf);
        const std::size_t PerPage = std::size_t(L.Columns) * std::size_t(L.Rows);
        // Micrometres, whole: every module starts on a whole dot of the page.
        const auto Dots = [](double MM) { return double(std::llround(MM * 1000)); };
        QString Error;
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
            if (Labels > 0 && OnPage == 0)
                Pdf.newPage();
            const double Left = O.MarginMM + double(OnPage % std::size_t(L.Columns)) * L.CellWidthMM +
                                (L.CellWidthMM - L.LabelWidthMM) / 2;
            const double Top = O.MarginMM + double(OnPage / std::size_t(L.Columns)) * L.CellHeightMM +
                               (L.CellHeightMM - L.LabelHeightMM) / 2;
            if (!WEQEan::DrawOnPainter(Item.Gtin, Painter, SheetDpi, Dots(Left), Dots(Top), ExportOf(Item, O),
                                       &Error)) {
                R.Failure = "cannot make " + O.Output + ": " + Error.toStdString();
                break;
            }
            ++Labels;
        }
    }
    if ((R.Interrupted = Interrupt::Requested() != 0))
        return R; // the file discards its temporary while the lock is held
    if (R.Failure.empty())
        R.Failure = Source.Error();
    if (!R.Failure.empty())
        return R;
    const qint64 Size = Out.pos();
    if (!Out.flush() || Out.error() != QFileDevice::NoError) {
        R.Failure = "cannot write " + O.Output + ": " + Out.errorString().toStdString();
        return R;
    }
    Out.close();
    struct stat Info {};
    if (fstat(File.Descriptor(), &Info) != 0 || Info.st_size != Size) {
        R.Failure = "cannot write " + O.Output + ": no space left";
        return R;
    }
    if (!File.Commit(true, &Reason)) {
        R.Failure = Clause(Reason);
        return R;
    }
    R.Written = Labels;
    Progress.Finish(Labels + R.Rejected);
    return R;
}

} // namespace WEQCli
