#include <control/WEQBarCode.h>
#include <ean/WEQEan.h>
#include <ocrb/WEQOcrB.h>

#include <QApplication>
#include <QImage>
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

} // namespace
