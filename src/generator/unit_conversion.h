// Frequency and level texts to internal values, and internal values back into unit texts.
#pragma once

#include "generator/number_text.h"
#include "generator/output_format.h"

#include <string>
#include <string_view>

namespace qv {

// Hz: |x|. Samples per period: sampleRate / x, with x <= 1 counting as 1. Always the plain
// sampling frequency, never the oversampled rate.
double FreqTextToHz(std::string_view text, int freqUnit, uint32_t sampleRate);
// The number x of a frequency text as FreqTextToHz takes it in the unit.
double LimitFreqNumber(double typed, int freqUnit);

// dB: fullScale * 10^(x/20) (x at most 1000). Value: the value parser, scaled from the 16-bit
// scale (x256 for 24-bit and F32, x65536 for 32-bit). Percent: fullScale * x / 100.
double LevelTextToInternal(std::string_view text, int levelUnit, const OutputFormat& format);
// How a level is typed in its unit (the value parser for "value", else decimal) and the number
// x as LevelTextToInternal takes it.
Notation LevelNotation(int levelUnit);
double LimitLevelNumber(double typed, int levelUnit);

// The internal level re-expressed in a unit, 15 significant digits (0 shows as -300 dB).
std::string LevelToText(double value, int levelUnit, const OutputFormat& format);

// A frequency re-expressed in a unit (0 Hz counts as 1 Hz for samples per period).
std::string FreqToText(double freq, int freqUnit, uint32_t sampleRate);

// Degrees text to the start phase in radians: the remainder of degrees / 360, times 2π / 360.
double PhaseTextToRadians(std::string_view text);

// Factor between a "value" text and internal units.
double ValueScale(int32_t bitCode);

} // namespace qv
