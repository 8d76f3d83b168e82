// Building generators in a known state for the tests.
#pragma once

#include "generator/generator.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace qv::test {

// A generator at the given format with every slot OFF.
inline void SetFormat(Generator& g, uint32_t rate, const char* bits, int channels) {
    g.texts.sampleRate = std::to_string(rate);
    g.texts.bitLen = bits;
    g.texts.channelIndex = channels - 1;
    for (auto& s : g.slots) {
        s.waveform = kOff;
        s.outChMask = 0;
    }
    g.ApplyOutputFormat();
}

// Slot i plays waveform at freq (Hz text) with an amplitude text in the given unit.
inline void SetSlot(Generator& g, int i, int waveform, const char* freq, const char* amp,
                    int ampUnit, uint32_t mask) {
    g.slots[i].waveform = waveform;
    g.slots[i].ampUnit = ampUnit;
    g.slots[i].outChMask = mask;
    g.texts.slot[i].freq = freq;
    g.texts.slot[i].amp = amp;
    g.ApplyOutputFormat();
}

// Renders frames of the prepared generator as doubles (the mix buffer, before conversion).
inline std::vector<double> RenderMixed(Generator& g, uint32_t frames) {
    std::vector<double> out(static_cast<size_t>(frames) * g.format.channels);
    uint32_t done = g.RenderFrames(frames, out.data());
    out.resize(static_cast<size_t>(done) * g.format.channels);
    return out;
}

// Fills whole blocks and returns the produced bytes.
inline std::vector<uint8_t> FillBytes(Generator& g, uint32_t frames) {
    std::vector<uint8_t> out;
    std::vector<uint8_t> block(g.BlockBytes());
    uint32_t index = 0;
    while (out.size() < static_cast<size_t>(frames) * g.format.blockAlign) {
        uint32_t want = static_cast<uint32_t>(
            std::min<size_t>(block.size(), frames * size_t{g.format.blockAlign} - out.size()));
        uint32_t got = g.FillOutputBuffer(block.data(), want, index++);
        out.insert(out.end(), block.begin(), block.begin() + got);
        if (got < want)
            break;
    }
    return out;
}

inline int16_t S16(const std::vector<uint8_t>& b, size_t sampleIndex) {
    return static_cast<int16_t>(b[2 * sampleIndex] | b[2 * sampleIndex + 1] << 8);
}

} // namespace qv::test
