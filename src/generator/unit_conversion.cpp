#include "generator/unit_conversion.h"

#include "generator/number_text.h"
#include "generator/wave_slot.h"

#include <cmath>
#include <numbers>

namespace qv {

double LimitFreqNumber(double typed, int freqUnit) {
    if (freqUnit == kSamplesPerPeriod)
        return typed <= 1.0 ? 1.0 : typed;
    return std::fabs(typed);
}

double FreqTextToHz(std::string_view text, int freqUnit, uint32_t sampleRate) {
    const double x = LimitFreqNumber(ReadDecimal(text), freqUnit);
    return freqUnit == kSamplesPerPeriod ? sampleRate / x : x;
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

Notation LevelNotation(int levelUnit) {
    return levelUnit == kValue ? Notation::Value : Notation::Decimal;
}

double LimitLevelNumber(double typed, int levelUnit) {
    const bool db = levelUnit != kValue && levelUnit != kPercent;
    return db && typed > 1000.0 ? 1000.0 : typed;
}

double LevelTextToInternal(std::string_view text, int levelUnit, const OutputFormat& format) {
    const double x = LimitLevelNumber(ReadNumber(text, LevelNotation(levelUnit)), levelUnit);
    switch (levelUnit) {
    case kValue:
        return x * ValueScale(format.bitCode);
    case kPercent:
        return format.fullScale * x / 100.0;
    default:
        return format.fullScale * std::pow(10.0, x / 20.0);
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
