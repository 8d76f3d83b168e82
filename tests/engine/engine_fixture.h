// A fill operation that writes a running count of 32-bit words, and helpers to wait for the
// engine, for the engine tests.
#pragma once

#include "engine/wave_play_rec.h"
#include "generator/output_format.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <thread>
#include <vector>

namespace qv::test {

// How long a concurrency test runs: QV_STRESS_SECONDS (tools/test), else 3 s.
inline double StressSeconds() {
    const char* text = std::getenv("QV_STRESS_SECONDS");
    return text ? std::atof(text) : 3.0;
}

inline WaveFormatRecord StreamFormat(int32_t bitCode, uint16_t channels, uint32_t rate = 48000) {
    return ToFormatRecord(MakeOutputFormat(rate, bitCode, channels));
}

// Every word it writes is one more than the last; it produces limitBytes in all (the last
// buffer short), then 0. Per call it notes the block index and the first word written.
struct CounterFill {
    CounterFill() {
        blockIndices.reserve(1 << 16);
        firstWords.reserve(1 << 16);
    }

    uint32_t operator()(uint8_t* buffer, uint32_t bytes, uint32_t blockIndex) {
        const int call = calls.fetch_add(1);
        if (beforeFill)
            beforeFill(call);
        if (blockIndices.size() < blockIndices.capacity()) {
            blockIndices.push_back(blockIndex);
            firstWords.push_back(nextWord);
        }
        const uint64_t left = limitBytes - produced;
        const uint32_t n = uint32_t(std::min<uint64_t>(bytes, left)) / 4 * 4;
        for (uint32_t i = 0; i < n; i += 4) {
            std::memcpy(buffer + i, &nextWord, 4);
            ++nextWord;
        }
        produced += n;
        if (blockIndex == 0)
            zeroBlocks.fetch_add(1);
        return n;
    }

    FillFunction Bind() {
        return [this](uint8_t* b, uint32_t n, uint32_t i) { return (*this)(b, n, i); };
    }

    uint64_t limitBytes = std::numeric_limits<uint64_t>::max();
    std::function<void(int call)> beforeFill; // runs on the playback thread
    std::atomic<int> calls{0}, zeroBlocks{0};
    uint64_t produced = 0;
    uint32_t nextWord = 0;
    std::vector<uint32_t> blockIndices, firstWords;
};

inline uint32_t WordAt(const std::vector<uint8_t>& bytes, size_t wordIndex) {
    uint32_t w;
    std::memcpy(&w, bytes.data() + wordIndex * 4, 4);
    return w;
}

// Waits (at most 10 s) until the condition holds, running owner steps with pump when given.
template <typename Condition>
bool WaitUntil(Condition condition, const std::function<void()>& pump = {}) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        if (pump)
            pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

} // namespace qv::test
