#include "generator/unit_conversion.h"

#include "generator/number_text.h"
#include "generator/wave_slot.h"

#include <cmath>
#include <numbers>

namespace qv {

double FreqTextToHz(std::string_view text, int freqUnit, uint32_t sampleRate) {
    double x = ReadDecimal(text);
    if (freqUnit == kSamplesPerPeriod)
        return sampleRate / (x <= 1.0 ? 1.0 : x);
    return std::fabs(x);
}

double PhaseTextToRadians(std::string_view text) {
    return std::fmod(ReadDecimal(text), 360.0) * 2.0 * std::numbers::pi / 360.0;
}

double ValueScale(int32_t bitCode) {
    if (bitCode == 24 || bitCode == -32)
        return 256.0;
    if (bitCode == 32)
        return 65536.0;
    return 1.0;
}

double LevelTextToInternal(std::string_view text, int levelUnit, const OutputFormat& format) {
    switch (levelUnit) {
    case kValue:
        return ParseValueText(text) * ValueScale(format.bitCode);
    case kPercent:
        return format.fullScale * ReadDecimal(text) / 100.0;
    default: {
        double x = ReadDecimal(text);
        if (x > 1000.0)
            x = 1000.0;
        return format.fullScale * std::pow(10.0, x / 20.0);
    }
    }
}

std::string LevelToText(double value, int levelUnit, const OutputFormat& format) {
    switch (levelUnit) {
    case kValue:
        return FormatNumber15(value / ValueScale(format.bitCode));
    case kPercent:
        return FormatNumber15(value / format.fullScale * 100.0);
    default: {
        double ratio = std::fabs(value) / format.fullScale;
        return FormatNumber15(20.0 * std::log10(ratio == 0.0 ? 1e-15 : ratio));
    }
    }
}

std::string FreqToText(double freq, int freqUnit, uint32_t sampleRate) {
    if (freqUnit == kSamplesPerPeriod)
        return FormatNumber15(sampleRate / (freq == 0.0 ? 1.0 : freq));
    return FormatNumber15(freq);
}

} // namespace qv
