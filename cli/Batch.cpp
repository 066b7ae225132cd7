#include "Batch.h"

#include <WEQBarCode/ean/WEQEanExport.h>
#include <WEQBarCode/ean/WEQEanFamily.h>

#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <atomic>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <sys/stat.h>
#include <thread>

namespace WEQCli {

namespace {

// The export options of one item: its symbology and add-on, read already.
WEQEan::TExportOptions ExportOf(const TItem& Item, const TOptions& O)
{
    WEQEan::TExportOptions E = O.Export;
    E.Symbology = Item.Symbology;
    E.AddOn = Item.AddOn;
    E.Strict = true;
    return E;
}

bool Encode(const TJob& Job, const TOptions& Options, QByteArray& Bytes, std::string& Error)
{
    const WEQEan::TExportOptions E = ExportOf(*Job.Item, Options);
    QString Reason;
    bool Done = false;
    switch (Options.Format) {
    case TFormat::Png:
        Done = WEQEan::EncodePng(Job.Item->Gtin, Options.Dpi, E, Bytes, nullptr, &Reason);
        break;
    case TFormat::Svg:
        Done = WEQEan::EncodeSvg(Job.Item->Gtin, E, Bytes, &Reason);
        break;
    case TFormat::Pdf:
        Done = WEQEan::EncodePdf(Job.Item->Gtin, E, Bytes, &Reason);
        break;
    }
    if (!Done)
        Error = "cannot make " + Job.Path + ": " + Reason.toStdString();
    return Done;
}

// The library's reasons start a sentence; ours follow "weqbarcode: ".
std::string Clause(const QString& Reason)
{
    std::string Text = Reason.toStdString();
    if (!Text.empty() && Text[0] >= 'A' && Text[0] <= 'Z')
        Text[0] = char(Text[0] - 'A' + 'a');
    return Text;
}

bool Write(const std::string& Path, const QByteArray& Bytes, std::string& Error)
{
    QString Reason;
    if (WEQEan::SaveFile(QString::fromStdString(Path), Bytes, &Reason))
        return true;
    Error = Clause(Reason);
    return false;
}

// The PDF's dots are micrometres: any X-dimension given to the micrometre is
// a whole number of them.
constexpr int SheetDpi = 25400;

} // namespace

TBatchResult WriteFiles(const std::vector<TJob>& Jobs, const TOptions& O, TProgress& Progress)
{
    std::atomic<std::size_t> Next{0}, Written{0};
    std::atomic<bool> Stop{false};
    std::mutex Lock;
    std::condition_variable Finished;
    std::size_t Running = 0;
    std::size_t FailedAt = Jobs.size();
    std::string Failure;

    const auto Work = [&] {
        QByteArray Bytes;
        std::string Error;
        while (!Stop.load(std::memory_order_relaxed)) {
            const std::size_t I = Next.fetch_add(1);
            if (I >= Jobs.size())
                break;
            if (!Encode(Jobs[I], O, Bytes, Error) || !Write(Jobs[I].Path, Bytes, Error)) {
                const std::lock_guard Guard(Lock);
                if (I < FailedAt) {
                    FailedAt = I;
                    Failure = Error;
                }
                Stop = true;
                break;
            }
            Written.fetch_add(1, std::memory_order_relaxed);
        }
        const std::lock_guard Guard(Lock);
        --Running;
        Finished.notify_all();
    };

    const std::size_t Threads = std::min<std::size_t>(std::size_t(O.Jobs), std::max<std::size_t>(Jobs.size(), 1));
    std::vector<std::thread> Workers;
    Running = Threads;
    for (std::size_t T = 0; T < Threads; ++T)
        Workers.emplace_back(Work);
    {
        // The bar is drawn here while the workers write.
        std::unique_lock Guard(Lock);
        while (!Finished.wait_for(Guard, std::chrono::milliseconds(50), [&] { return Running == 0; })) {
            Guard.unlock();
            Progress.Update(Written.load());
            Guard.lock();
        }
    }
    for (std::thread& W : Workers)
        W.join();
    Progress.Finish(Written.load());
    return {Written.load(), Failure};
}

TSheetLayout LayOutSheet(const TOptions& O, const std::vector<const TItem*>& Labels)
{
    TSheetLayout L;
    const double X = WEQEan::DotsPerModule(O.Export.XDimensionMM, SheetDpi) / 1000.0;
    // Every cell holds the largest label of the batch.
    const WEQEan::TSymbology Given = O.Symbology.value_or(WEQEan::TSymbology::Ean13);
    std::int32_t Modules = WEQEan::SymbolModules(Given, O.AddOn.size()), HeightModules = WEQEan::RatioHeightModules(Given);
    if (!Labels.empty()) {
        Modules = HeightModules = 0;
        for (const TItem* Item : Labels) {
            Modules = std::max(Modules, WEQEan::SymbolModules(Item->Symbology, Item->AddOn.size()));
            HeightModules = std::max(HeightModules, WEQEan::RatioHeightModules(Item->Symbology));
        }
    }
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

TBatchResult WriteSheet(const std::vector<const TItem*>& Labels, const TOptions& O, TProgress& Progress)
{
    TBatchResult R;
    const TSheetLayout L = LayOutSheet(O, Labels);
    if (!L.Error.empty()) {
        R.Failure = L.Error;
        return R;
    }
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
    QString Error;
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
        for (std::size_t I = 0; I < Labels.size(); ++I) {
            const std::size_t OnPage = I % PerPage;
            if (I > 0 && OnPage == 0)
                Pdf.newPage();
            const double Left = O.MarginMM + double(OnPage % std::size_t(L.Columns)) * L.CellWidthMM +
                                (L.CellWidthMM - L.LabelWidthMM) / 2;
            const double Top = O.MarginMM + double(OnPage / std::size_t(L.Columns)) * L.CellHeightMM +
                               (L.CellHeightMM - L.LabelHeightMM) / 2;
            if (!WEQEan::DrawOnPainter(Labels[I]->Gtin, Painter, SheetDpi, Dots(Left), Dots(Top),
                                       ExportOf(*Labels[I], O), &Error)) {
                R.Failure = "cannot make " + O.Output + ": " + Error.toStdString();
                return R;
            }
            Progress.Update(I + 1);
        }
    }
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
    R.Written = Labels.size();
    Progress.Finish(R.Written);
    return R;
}

} // namespace WEQCli
