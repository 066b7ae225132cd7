// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "BenchMain.h"

#include <ean/WEQEan.h>
#include <ocrb/WEQOcrB.h>
#include <ocrb/WEQOcrB_p.h>

namespace {

void BM_CompleteGTIN(benchmark::State& State)
{
    const std::string Text = "  5901234123457x";
    for (auto _ : State)
        benchmark::DoNotOptimize(WEQEan::CompleteGTIN(Text));
}
BENCHMARK(BM_CompleteGTIN);

// A fitting for a box size the cache has not seen: the symbol's digit box at
// module width m. Reports the characters measured per fitting.
void BM_FitNewBox(benchmark::State& State)
{
    const std::int32_t M = std::int32_t(State.range(0));
    const std::uint64_t Before = WEQOcrB::MeasurementCount;
    for (auto _ : State) {
        WEQOcrB::FitCacheFontName.clear();
        WEQOcrB::TFitCache::Shared().Clear();
        benchmark::DoNotOptimize(WEQOcrB::FitFontHeight("0", "OCRB", 6 * M, 833 * M / 100));
    }
    State.counters["measurements"] =
        benchmark::Counter(double(WEQOcrB::MeasurementCount - Before), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_FitNewBox)->Arg(1)->Arg(3)->Arg(5)->Arg(12)->Unit(benchmark::kMicrosecond);

void BM_FitCacheHit(benchmark::State& State)
{
    WEQOcrB::FitFontHeight("0", "OCRB", 30, 41);
    for (auto _ : State)
        benchmark::DoNotOptimize(WEQOcrB::FitFontHeight("7", "OCRB", 30, 41));
}
BENCHMARK(BM_FitCacheHit);

} // namespace

WEQ_BENCHMARK_MAIN()
