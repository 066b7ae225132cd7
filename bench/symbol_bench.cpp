// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include <control/WEQBarCode.h>
#include <ean/WEQEan.h>
#include <ean/WEQEanExport.h>
#include <ocrb/WEQOcrB.h>

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// A synchronous repaint of a control in a shown window.
void BM_ControlRepaint(benchmark::State& State)
{
    const std::int32_t M = std::int32_t(State.range(0));
    QWidget Window;
    Window.resize(113 * M + 20, 79 * M + 20);
    auto* Control = new TWEQBarCode(&Window);
    Control->SetTransparent(false);
    Control->resize(113 * M, 79 * M);
    Window.show();
    QCoreApplication::processEvents();
    for (auto _ : State)
        Control->repaint();
}
BENCHMARK(BM_ControlRepaint)->Arg(1)->Arg(3)->Arg(5)->Arg(8)->Unit(benchmark::kMicrosecond);

// Exports of one symbol at nominal size into files.
void BM_ExportPng(benchmark::State& State)
{
    QTemporaryDir Dir;
    for (auto _ : State)
        WEQEan::ExportPng("400638133393", Dir.filePath("e.png"), int(State.range(0)));
}
BENCHMARK(BM_ExportPng)->Arg(300)->Arg(600)->Unit(benchmark::kMicrosecond);

void BM_ExportSvg(benchmark::State& State)
{
    QTemporaryDir Dir;
    for (auto _ : State)
        WEQEan::ExportSvg("400638133393", Dir.filePath("e.svg"));
}
BENCHMARK(BM_ExportSvg)->Unit(benchmark::kMicrosecond);

void BM_ExportPdf(benchmark::State& State)
{
    QTemporaryDir Dir;
    for (auto _ : State)
        WEQEan::ExportPdf("400638133393", Dir.filePath("e.pdf"));
}
BENCHMARK(BM_ExportPdf)->Unit(benchmark::kMicrosecond);

} // namespace
