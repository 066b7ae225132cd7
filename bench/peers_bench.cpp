// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

// The finished raster symbol, side by side: ours, Zint's and zxing-cpp's, for
// the same GTINs at the same module widths, and a plain fill of the same area.
#include "BenchMain.h"

#include <ean/WEQEan.h>
#include <ocrb/WEQOcrB.h>
#include <ocrb/WEQOcrB_p.h>
#include <surface/Canvas_p.h>

#define ZX_USE_UTF8 1
#include <QImage>
#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>
#include <benchmark/benchmark.h>
#include <zint.h>

#include <QPainter>

#include <cstring>
#include <vector>

namespace {

const char* const Gtins[] = {"4006381333931", "9780201379624", "0000000123457", "5901234123457"};

void BM_Ours(benchmark::State& State, bool Font, int M)
{
    const bool Saved = WEQOcrB::OcrBFontLoaded;
    WEQOcrB::OcrBFontLoaded = Font && Saved;
    QImage Image(113 * M, 79 * M, QImage::Format_RGB32);
    TCanvas Canvas(&Image);
    WEQEan::DrawEan13(Gtins[0], Canvas, 113 * M, 79 * M, clWhite, clBlack, clBlack, true, true); // warm the fit
    std::size_t I = 0;
    for (auto _ : State) {
        WEQEan::DrawEan13(Gtins[I++ % 4], Canvas, 113 * M, 79 * M, clWhite, clBlack, clBlack, true, true);
        benchmark::ClobberMemory();
    }
    WEQOcrB::OcrBFontLoaded = Saved;
}
void BM_OursFont(benchmark::State& State) { BM_Ours(State, true, int(State.range(0))); }
void BM_OursOutlines(benchmark::State& State) { BM_Ours(State, false, int(State.range(0))); }

// DrawEan13 warm with one fast path turned off: its gain is the time this
// adds to BM_OursFont at the same width.
const std::pair<const char*, std::atomic<bool>*> FastPaths[] = {
    {"direct pixels", &TFastPaths::DirectPixels},       {"vector copy", &TFastPaths::VectorCopy},
    {"block copy", &TFastPaths::BlockCopy},
    {"text cache", &TFastPaths::TextCache},             {"text cache: recent", &TFastPaths::TextCacheRecent},
    {"text cache: characters", &TFastPaths::TextCacheFront}, {"thread buffers", &TFastPaths::ThreadBuffers},
    {"layout memo", &TFastPaths::LayoutMemo},
};
void BM_OursWithout(benchmark::State& State)
{
    const auto& [Name, Switch] = FastPaths[State.range(0)];
    State.SetLabel(Name);
    Switch->store(false);
    BM_Ours(State, true, int(State.range(1)));
    Switch->store(true);
}
BENCHMARK(BM_OursWithout)
    ->ArgsProduct({benchmark::CreateDenseRange(0, int(std::size(FastPaths)) - 1, 1), {1, 3, 5, 8}})
    ->Unit(benchmark::kMicrosecond);

// Zint's X-dimension is 2 pixels at scale 1: module width m is scale m / 2.
// Its raster is then 113 m wide, as ours; the height is set to match too.
void BM_Zint(benchmark::State& State)
{
    const int M = int(State.range(0));
    std::size_t I = 0;
    for (auto _ : State) {
        zint_symbol* Symbol = ZBarcode_Create();
        Symbol->symbology = BARCODE_EANX;
        Symbol->scale = float(M) / 2;
        Symbol->show_hrt = 1;
        Symbol->height = 71; // bars and text then make 79 modules, as ours

        const char* Gtin = Gtins[I++ % 4];
        if (ZBarcode_Encode_and_Buffer(Symbol, reinterpret_cast<const unsigned char*>(Gtin), 12, 0) >= ZINT_ERROR)
            State.SkipWithError(Symbol->errtxt);
        benchmark::DoNotOptimize(Symbol->bitmap);
        ZBarcode_Delete(Symbol);
    }
}

void BM_ZXing(benchmark::State& State)
{
    const int M = int(State.range(0));
    const ZXing::MultiFormatWriter Writer(ZXing::BarcodeFormat::EAN13);
    QImage Image(113 * M, 79 * M, QImage::Format_RGB32);
    std::size_t I = 0;
    for (auto _ : State) {
        const ZXing::BitMatrix Bits = Writer.encode(std::string(Gtins[I++ % 4]), 113 * M, 79 * M);
        for (int Y = 0; Y < Image.height() && Y < Bits.height(); ++Y) {
            auto* Row = reinterpret_cast<QRgb*>(Image.scanLine(Y));
            for (int X = 0; X < Image.width() && X < Bits.width(); ++X)
                Row[X] = Bits.get(X, Y) ? 0xFF000000u : 0xFFFFFFFFu;
        }
        benchmark::ClobberMemory();
    }
}

void BM_PlainFillArea(benchmark::State& State)
{
    const int M = int(State.range(0));
    QImage Image(113 * M, 79 * M, QImage::Format_RGB32);
    TCanvas Canvas(&Image);
    for (auto _ : State) {
        Canvas.SetBrushColor(clWhite);
        Canvas.FillRect(0, 0, 113 * M, 79 * M);
        benchmark::ClobberMemory();
    }
}

// What a batch pays per label: a canvas made on an image, the symbol of a
// random GTIN drawn, the canvas destroyed; against a painter made on the
// same image to fill it, and destroyed.
const std::vector<std::string>& RandomGtins()
{
    static const std::vector<std::string> Gtins = [] {
        std::vector<std::string> G;
        for (const std::string& Body : RandomBodies(256, 15))
            G.push_back(WEQEan::CompleteGTIN(Body));
        return G;
    }();
    return Gtins;
}

void BM_CanvasPerCall(benchmark::State& State)
{
    const int M = int(State.range(0));
    QImage Image(113 * M, 79 * M, QImage::Format_RGB32);
    const std::vector<std::string>& Gtins = RandomGtins();
    std::size_t I = 0;
    for (auto _ : State) {
        TCanvas Canvas(&Image);
        WEQEan::DrawEan13(Gtins[I++ % Gtins.size()], Canvas, 113 * M, 79 * M, clWhite, clBlack, clBlack, true, true);
        benchmark::ClobberMemory();
    }
}

void BM_PainterFillPerCall(benchmark::State& State)
{
    const int M = int(State.range(0));
    QImage Image(113 * M, 79 * M, QImage::Format_RGB32);
    for (auto _ : State) {
        QPainter Painter(&Image);
        Painter.fillRect(Image.rect(), Qt::white);
        Painter.end();
        benchmark::ClobberMemory();
    }
}

// A first paint at a size the fitting has not seen: fitting and drawing.
void BM_FirstPaint(benchmark::State& State)
{
    const int M = int(State.range(0));
    QImage Image(113 * M, 79 * M, QImage::Format_RGB32);
    TCanvas Canvas(&Image);
    const std::uint64_t Before = WEQOcrB::MeasurementCount;
    for (auto _ : State) {
        WEQOcrB::FitCacheFontName.clear();
        WEQOcrB::TFitCache::Shared().Clear();
        WEQEan::DrawEan13(Gtins[0], Canvas, 113 * M, 79 * M, clWhite, clBlack, clBlack, true, true);
        benchmark::ClobberMemory();
    }
    State.counters["measured"] = double(WEQOcrB::MeasurementCount - Before) / double(State.iterations());
}

// The same with every character's ink measured from laid-out text rather than
// from its glyph: the gain of that fast path.
void BM_FirstPaintLaidOut(benchmark::State& State)
{
    TFastPaths::InkGlyphs = false;
    BM_FirstPaint(State);
    TFastPaths::InkGlyphs = true;
}

// And with each character drawn and measured alone.
void BM_FirstPaintApart(benchmark::State& State)
{
    TFastPaths::InkTogether = false;
    BM_FirstPaint(State);
    TFastPaths::InkTogether = true;
}

void ModuleWidths(benchmark::internal::Benchmark* B)
{
    for (int M : {1, 3, 5, 8})
        B->Arg(M);
    B->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_OursFont)->Apply(ModuleWidths);
BENCHMARK(BM_OursOutlines)->Apply(ModuleWidths);
BENCHMARK(BM_Zint)->Apply(ModuleWidths);
BENCHMARK(BM_ZXing)->Apply(ModuleWidths);
BENCHMARK(BM_PlainFillArea)->Apply(ModuleWidths);
BENCHMARK(BM_CanvasPerCall)->Apply(ModuleWidths);
BENCHMARK(BM_PainterFillPerCall)->Apply(ModuleWidths);
BENCHMARK(BM_FirstPaint)->DenseRange(1, 12)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FirstPaintLaidOut)->Apply(ModuleWidths);
BENCHMARK(BM_FirstPaintApart)->Apply(ModuleWidths);

} // namespace
