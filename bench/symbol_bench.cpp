#include <control/WEQBarCode.h>
#include <ean/WEQEan.h>
#include <ocrb/WEQOcrB.h>

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>

namespace {

const char* const Gtins[] = {"4006381333931", "9780201379624", "0000000123457", "5901234123457"};

// The finished symbol in an image, warm: the font fitted for this size.
void DrawSymbol(benchmark::State& State, bool Font)
{
    const bool Saved = WEQOcrB::OcrBFontLoaded;
    WEQOcrB::OcrBFontLoaded = Font && Saved;
    const std::int32_t M = std::int32_t(State.range(0));
    QImage Image(113 * M, 79 * M, QImage::Format_RGB32);
    TCanvas Canvas(&Image);
    std::size_t I = 0;
    WEQEan::DrawEan13(Gtins[0], Canvas, 113 * M, 79 * M, clWhite, clBlack, clBlack, true, true);
    for (auto _ : State)
        benchmark::DoNotOptimize(WEQEan::DrawEan13(Gtins[I++ % 4], Canvas, 113 * M, 79 * M, clWhite, clBlack,
                                                   clBlack, true, true));
    WEQOcrB::OcrBFontLoaded = Saved;
}
void BM_DrawEan13Font(benchmark::State& State) { DrawSymbol(State, true); }
void BM_DrawEan13Outlines(benchmark::State& State) { DrawSymbol(State, false); }
BENCHMARK(BM_DrawEan13Font)->Arg(1)->Arg(3)->Arg(5)->Arg(8)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawEan13Outlines)->Arg(1)->Arg(3)->Arg(5)->Arg(8)->Unit(benchmark::kMicrosecond);

// The floor: one fill of the same area.
void BM_PlainFill(benchmark::State& State)
{
    const std::int32_t M = std::int32_t(State.range(0));
    QImage Image(113 * M, 79 * M, QImage::Format_RGB32);
    TCanvas Canvas(&Image);
    for (auto _ : State) {
        Canvas.SetBrushColor(clWhite);
        Canvas.FillRect(0, 0, 113 * M, 79 * M);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlainFill)->Arg(1)->Arg(3)->Arg(5)->Arg(8)->Unit(benchmark::kMicrosecond);

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
