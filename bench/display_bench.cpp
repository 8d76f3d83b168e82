// The display's share of a block: reading the latest block and laying out its picture
// (ScopeView::Update with the trigger, the plot 509 x 800 pixels) next to its peer, rendering one
// block of the same output (48 kHz, 16 bit, stereo). The window's painting adds the GDI calls.
#include "bench_tone.h"
#include "display/scope_view.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

void SetUp(qv::Generator& g) {
    qv::bench::SetUpTone(g, "48000", "16", "-10");
    g.PrepareGenerator();
}

void BM_RenderBlock(benchmark::State& state) {
    qv::Generator g;
    SetUp(g);
    std::vector<uint8_t> block(g.BlockBytes());
    uint32_t index = 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(g.FillOutputBuffer(block.data(), g.BlockBytes(), index++));
}

void BM_DisplayUpdate(benchmark::State& state) {
    qv::Generator g;
    SetUp(g);
    g.filterSize = static_cast<uint32_t>(state.range(0));
    std::vector<uint8_t> block(g.BlockBytes());
    (void)g.FillOutputBuffer(block.data(), g.BlockBytes(), 1);
    qv::ScopeView view;
    view.xDispRate = 2;
    view.Layout(556, 800 + qv::kPlotMarginY, static_cast<int32_t>(g.filterSize), 48000, false,
                qv::bench::Fft());
    for (auto _ : state) {
        g.frameCounter += 4800; // a tenth of a second later: every call draws
        benchmark::DoNotOptimize(view.Update(g, 2, true, false));
    }
}

} // namespace

BENCHMARK(BM_RenderBlock)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DisplayUpdate)->Arg(4096)->Arg(16384)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
