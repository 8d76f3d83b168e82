// The frequency shortcuts of the frequency controls' menus.
#pragma once

#include <cstdint>

namespace qv {

// The nearest frequency with a whole number of periods in one FFT frame of fitSampleCount
// samples: bin x trunc(freq / bin + 0.5), bin = sampleRate / fitSampleCount.
double FitFrequencyToFft(double freq, uint32_t sampleRate, int32_t fitSampleCount);

// k times the master's frequency (k is one of 2, 3, 4, 5, 6, 8, 10).
double MultipleOfMaster(double masterFreq, int k);

} // namespace qv
