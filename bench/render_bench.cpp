// Render throughput of the block renderer, in frames per second of output.
#include "generator/generator.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

void SetUp(qv::Generator& g, int slots, int channels, const char* bits) {
    g.texts.sampleRate = "48000";
    g.texts.bitLen = bits;
    g.texts.channelIndex = channels - 1;
    const int shapes[] = {qv::kSine,     qv::kSquare, qv::kTriangle,
                          qv::kSawtooth, qv::kPulse,  qv::kPulsePm};
    for (int i = 0; i < qv::kSlotCount; ++i) {
        g.slots[i].waveform = i < slots ? shapes[i % 6] : qv::kOff;
        g.slots[i].outChMask = channels > 2 ? 255 : 3;
        g.texts.slot[i].freq = std::to_string(1000 + 111 * i);
        g.texts.slot[i].amp = "-20";
    }
    g.PrepareGenerator();
}

void Render(benchmark::State& state, int slots, int channels, const char* bits) {
    qv::Generator g;
    SetUp(g, slots, channels, bits);
    std::vector<uint8_t> block(g.BlockBytes());
    uint32_t index = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(g.FillOutputBuffer(block.data(), g.BlockBytes(), index++));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * g.BlockFrames());
    state.counters["x_realtime"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * g.BlockFrames() / 48000.0,
                           benchmark::Counter::kIsRate);
}

void BM_OneSineSlotTwoChannels24Bit(benchmark::State& s) {
    Render(s, 1, 2, "24");
}
void BM_EightSlotsEightChannels24Bit(benchmark::State& s) {
    Render(s, 8, 8, "24");
}
void BM_EightSlotsEightChannelsFloat(benchmark::State& s) {
    Render(s, 8, 8, "F32");
}

BENCHMARK(BM_OneSineSlotTwoChannels24Bit);
BENCHMARK(BM_EightSlotsEightChannels24Bit);
BENCHMARK(BM_EightSlotsEightChannelsFloat);

} // namespace

BENCHMARK_MAIN();
