// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "BenchMain.h"

#include <control/WEQBarCode.h>
#include <ean/WEQEan.h>
#include <ean/WEQEanExport.h>
#include <export/Export_p.h>
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

// 64 readings of random GTINs.
const std::vector<WEQEan::TEanReading>& RandomReadings()
{
    static const std::vector<WEQEan::TEanReading> Readings = [] {
        std::vector<WEQEan::TEanReading> R;
        for (const std::string& Body : RandomBodies(64, 2026))
            R.push_back(WEQEan::Read(WEQEan::TKind::Ean13, Body));
        return R;
    }();
    return Readings;
}

// The PNG of random GTINs at 300 dpi, at a compression level: the time and
// the bytes the files' level trades.
void BM_EncodePngLevel(benchmark::State& State)
{
    const std::vector<WEQEan::TEanReading>& Readings = RandomReadings();
    std::size_t I = 0, Bytes = 0, Files = 0;
    QByteArray Out;
    for (auto _ : State) {
        WEQEan::EncodePngAtLevel(Readings[I++ % Readings.size()], 300, {}, int(State.range(0)), Out);
        Bytes += std::size_t(Out.size());
        ++Files;
    }
    State.counters["bytes"] = double(Bytes) / double(std::max<std::size_t>(1, Files));
}
BENCHMARK(BM_EncodePngLevel)->Arg(1)->Arg(2)->Arg(3)->Arg(6)->Unit(benchmark::kMicrosecond);

// The SVG text of random GTINs: what a bulk run spends besides the file system.
void BM_EncodeSvg(benchmark::State& State)
{
    const std::vector<WEQEan::TEanReading>& Readings = RandomReadings();
    std::size_t I = 0, Bytes = 0, Files = 0;
    QByteArray Out;
    for (auto _ : State) {
        WEQEan::EncodeSvg(Readings[I++ % Readings.size()], {}, Out);
        Bytes += std::size_t(Out.size());
        ++Files;
    }
    State.counters["bytes"] = double(Bytes) / double(std::max<std::size_t>(1, Files));
}
BENCHMARK(BM_EncodeSvg)->Unit(benchmark::kMicrosecond);

} // namespace
