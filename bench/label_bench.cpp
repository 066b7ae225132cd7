// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// Labels from a template on a roll, as a label printer's job makes them: the
// example's 50 x 30 mm shelf label, a product a page of one PDF through Qt's
// PDF engine at 203 dpi, each label its own name, price and GTIN. Per label:
// the time, the file's bytes, and the heap the job holds at most beyond what
// it held before (flat in the number of labels when the pages stream out);
// with glibc's defaults, and as the command line sets the heap for such a
// job (Qt's PDF engine compresses each page through two 10 MB buffers,
// which glibc would map and unmap a page at a time).
#include "BenchMain.h"

#include <WEQBarCode/LabelTemplate.h>

#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

namespace {

// The GTIN-13 of a body of 12 digits.
QString Gtin(long long Body)
{
    const QString Digits = QString::number(Body).rightJustified(12, u'0');
    int Sum = 0;
    for (int I = 0; I < 12; ++I)
        Sum += Digits[I].digitValue() * (I % 2 ? 3 : 1);
    return Digits + QString::number((10 - Sum % 10) % 10);
}

std::size_t HeapInUse() { return mallinfo2().uordblks; }

void BM_TemplateRoll(benchmark::State& State)
{
    const WEQ::LabelTemplate Template(QStringLiteral(WEQ_SHELF_LABEL));
    if (!Template.isValid()) {
        State.SkipWithError(qPrintable(Template.errorString()));
        return;
    }
    const int Labels = int(State.range(0));
    if (State.range(1)) {
        mallopt(M_MMAP_THRESHOLD, 32 << 20);
        mallopt(M_TRIM_THRESHOLD, 128 << 20);
    }
    QTemporaryDir Dir;
    const QString Path = Dir.filePath(QStringLiteral("roll.pdf"));
    std::size_t Bytes = 0, Heap = 0;
    double Seconds = 0;
    for (auto _ : State) {
        const auto Start = std::chrono::steady_clock::now();
        const std::size_t Before = HeapInUse();
        {
            QPdfWriter Pdf(Path);
            Pdf.setPageSize(QPageSize(Template.size(), QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
            Pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
            Pdf.setResolution(203);
            QPainter Painter(&Pdf);
            for (int I = 0; I < Labels; ++I) {
                if (I > 0)
                    Pdf.newPage();
                const WEQ::Barcode Symbol(Gtin(400638100000LL + 7919LL * I));
                const QHash<QString, QString> Values{
                    {QStringLiteral("Name"), QStringLiteral("Product %1, 500 g").arg(I)},
                    {QStringLiteral("SKU"), QStringLiteral("S-%1").arg(I, 5, 10, QLatin1Char('0'))},
                    {QStringLiteral("Price"), QStringLiteral("\u20AC%1.%2").arg(I % 50).arg(I % 100, 2, 10, QLatin1Char('0'))}};
                if (!Template.paint(&Painter, QPointF(0, 0), Symbol, Values)) {
                    State.SkipWithError("a label was not drawn");
                    return;
                }
                if (I % 500 == 0)
                    Heap = std::max(Heap, HeapInUse() - std::min(HeapInUse(), Before));
            }
        }
        Seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
        Bytes = std::size_t(QFile(Path).size());
    }
    State.counters["us_per_label"] = Seconds * 1e6 / double(Labels) / double(State.iterations());
    State.counters["bytes_per_label"] = double(Bytes) / Labels;
    State.counters["heap_KB"] = double(Heap) / 1024;
}
// Labels, and the heap as glibc sets it (0) or as the command line does (1):
// the defaults first, as the settings stay for the process.
BENCHMARK(BM_TemplateRoll)
    ->ArgNames({"labels", "heap"})
    ->Args({1000, 0})
    ->Args({10000, 0})
    ->Args({1000, 1})
    ->Args({10000, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

#ifdef WEQ_CLI
// The same roll by the command line, from a file of products: its time,
// bytes and its process's peak memory, a label.
void BM_CliRoll(benchmark::State& State)
{
    const int Labels = int(State.range(0));
    QTemporaryDir Dir;
    QFile Csv(Dir.filePath(QStringLiteral("products.csv")));
    if (!Csv.open(QIODevice::WriteOnly)) {
        State.SkipWithError("cannot write the products");
        return;
    }
    Csv.write("SKU,GTIN,Name,Price\n");
    for (int I = 0; I < Labels; ++I)
        Csv.write(QStringLiteral("S-%1,%2,\"Product %1, 500 g\",\u20AC%3.99\n")
                      .arg(I)
                      .arg(Gtin(400638100000LL + 7919LL * I))
                      .arg(I % 50)
                      .toUtf8());
    Csv.close();
    const QByteArray Out = Dir.filePath(QStringLiteral("roll.pdf")).toLocal8Bit(), In = Csv.fileName().toLocal8Bit();
    const char* Args[] = {WEQ_CLI, "-q", "-i", In.constData(), "--gtin-column", "GTIN", "--template", WEQ_SHELF_LABEL,
                          "--roll", "--dpi", "203", "-o", Out.constData(), nullptr};
    double Seconds = 0;
    long PeakKB = 0;
    for (auto _ : State) {
        const auto Start = std::chrono::steady_clock::now();
        const pid_t Child = fork();
        if (Child == 0) {
            execv(WEQ_CLI, const_cast<char* const*>(Args));
            _exit(127);
        }
        int Status = 0;
        rusage Usage{};
        if (Child < 0 || wait4(Child, &Status, 0, &Usage) != Child || !WIFEXITED(Status) || WEXITSTATUS(Status) != 0) {
            State.SkipWithError("weqbarcode failed");
            return;
        }
        Seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
        PeakKB = std::max(PeakKB, Usage.ru_maxrss);
    }
    State.counters["us_per_label"] = Seconds * 1e6 / double(Labels) / double(State.iterations());
    State.counters["bytes_per_label"] = double(QFile(QString::fromLocal8Bit(Out)).size()) / Labels;
    State.counters["peak_MB"] = double(PeakKB) / 1024;
}
BENCHMARK(BM_CliRoll)->ArgName("labels")->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);
#endif

} // namespace

WEQ_BENCHMARK_MAIN()
