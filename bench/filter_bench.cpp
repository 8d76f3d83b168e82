// Real-time factor of the output filter at 48 kHz stereo: whole blocks through FillOutputBuffer
// with the filter on, next to the same render at the oversampled rate without it (its peer, the
// cost of the input alone). The filter stage's own factor follows from the difference; the
// script bench/compare_filter.sh prints it.
#include "bench_tone.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

void SetUp(qv::Generator& g, uint32_t rate, bool filter, uint32_t n, uint32_t o) {
    qv::bench::SetUpTone(g, std::to_string(rate), "24", "-6");
    g.filterOn = filter;
    g.filterSize = n;
    g.overSampleRate = o;
    g.filterDesign.pointCount = 3;
    g.filterDesign.points[0] = {0, 0, 0};
    g.filterDesign.points[1] = {static_cast<int32_t>(n / 8), 0, -20};
    g.filterDesign.points[2] = {static_cast<int32_t>(n / 2), 0, -3};
    g.PrepareGenerator();
}

// Output seconds per second of processing, counted in 48 kHz frames.
void Run(benchmark::State& state, qv::Generator& g, double framesPerOutputFrame) {
    std::vector<uint8_t> block(g.BlockBytes());
    uint32_t index = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(g.FillOutputBuffer(block.data(), g.BlockBytes(), index++));
        benchmark::ClobberMemory();
    }
    const double seconds =
        static_cast<double>(state.iterations()) * g.BlockFrames() / framesPerOutputFrame / 48000.0;
    state.counters["x_realtime"] = benchmark::Counter(seconds, benchmark::Counter::kIsRate);
}

void BM_FilterOn(benchmark::State& state) {
    qv::Generator g;
    SetUp(g, 48000, true, static_cast<uint32_t>(state.range(0)),
          static_cast<uint32_t>(state.range(1)));
    Run(state, g, 1.0);
}

// The peer: the same slot rendered at the oversampled rate, unfiltered.
void BM_OversampledRenderOnly(benchmark::State& state) {
    qv::Generator g;
    const uint32_t o = static_cast<uint32_t>(state.range(1));
    SetUp(g, 48000 * o, false, static_cast<uint32_t>(state.range(0)), 1);
    Run(state, g, o);
}

BENCHMARK(BM_FilterOn)->Args({4096, 4})->Args({16384, 16})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OversampledRenderOnly)
    ->Args({4096, 4})
    ->Args({16384, 16})
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
