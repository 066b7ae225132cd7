#include <ean/WEQEan.h>

#include <benchmark/benchmark.h>

static void BM_CompleteGTIN(benchmark::State& State)
{
    const std::string Text = "  5901234123457x";
    for (auto _ : State)
        benchmark::DoNotOptimize(WEQEan::CompleteGTIN(Text));
}
BENCHMARK(BM_CompleteGTIN);

BENCHMARK_MAIN();
