#include "generator/frequency_shortcuts.h"

#include <cmath>

namespace qv {

double FitFrequencyToFft(double freq, uint32_t sampleRate, int32_t fitSampleCount) {
    if (fitSampleCount <= 0)
        return freq;
    const double bin = static_cast<double>(sampleRate) / fitSampleCount;
    return bin * std::trunc(freq / bin + 0.5);
}

double MultipleOfMaster(double masterFreq, int k) {
    return k * masterFreq;
}

} // namespace qv
