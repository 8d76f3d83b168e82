// The benchmarks' signal: Wave1 a 1 kHz sine on both channels of a stereo output, the FFT of
// the portable library attached. The caller sets what it measures, then prepares the generator.
#pragma once

#include "fftlib/fft_api.h"
#include "generator/generator.h"

#include <string>

namespace qv::bench {

inline const FftApi& Fft() {
    static const FftApi fft = DirectFftApi();
    return fft;
}

inline void SetUpTone(Generator& g, const std::string& rate, const char* bitLen, const char* amp) {
    g.AttachFft(&Fft());
    g.texts.sampleRate = rate;
    g.texts.bitLen = bitLen;
    g.texts.channelIndex = 1;
    g.slots[0].waveform = kSine;
    g.slots[0].outChMask = 3;
    g.texts.slot[0].freq = "1000";
    g.texts.slot[0].amp = amp;
}

} // namespace qv::bench
