#include "generator/unit_conversion.h"

#include "generator/number_text.h"
#include "generator/wave_slot.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qv {

double LimitFreqNumber(double typed, int freqUnit) {
    if (freqUnit == kSamplesPerPeriod)
        return typed <= 1.0 ? 1.0 : typed;
    return std::fabs(typed);
}

double FreqTextToHz(std::string_view text, int freqUnit, uint32_t sampleRate) {
    // A number too large to hold reads as one that does not parse.
    const double typed = ReadDecimal(text);
    const double x = LimitFreqNumber(std::isfinite(typed) ? typed : 0.0, freqUnit);
    return freqUnit == kSamplesPerPeriod ? sampleRate / x : x;
}

double PhaseTextToRadians(std::string_view text) {
    const double degrees = ReadDecimal(text);
    return std::isfinite(degrees) ? std::fmod(degrees, 360.0) * 2.0 * std::numbers::pi / 360.0
                                  : 0.0;
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
    const double typed = ReadNumber(text, LevelNotation(levelUnit));
    const double x = LimitLevelNumber(std::isnan(typed) ? 0.0 : typed, levelUnit);
    double level = 0;
    switch (levelUnit) {
    case kValue:
        level = x * ValueScale(format.bitCode);
        break;
    case kPercent:
        level = format.fullScale * x / 100.0;
        break;
    default:
        level = format.fullScale * std::pow(10.0, x / 20.0);
        break;
    }
    // Every unit is held to the +1000 dB of the dB unit, so no level is beyond a double.
    const double most = format.fullScale * 1e50;
    return std::clamp(level, -most, most);
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
