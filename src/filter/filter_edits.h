// Edits of the drawn filter that the editor, the filter files and a sample-rate change share:
// snapping a frequency to the grid, the question on a new sample rate, the Kaiser alpha as the
// editor takes it.
#pragma once

#include "filter/filter_design.h"

#include <cstdint>
#include <string>

namespace qv {

class Ui;

// The bin of a frequency on the N-point grid (clamped to 0 ... rate/2; rounded, or with +0.3
// instead of +0.5 on a logarithmic axis), moved by step bins (then clamped to 0 ... N/2);
// frequency becomes the bin's frequency.
int32_t FrequencyToBin(double& frequency, int32_t step, int32_t filterSize, double sampleRate,
                       bool logAxis = false);

// Keeps every point's frequency at a new sample rate (the "Yes" of the question): the last point
// on the new Nyquist bin, the interior ones snapped to the new grid, duplicates separated.
void KeepPointFrequencies(FilterDesign& design, int32_t filterSize, double oldRate,
                          int32_t newRate);
// Keeps every point's bin: the frequencies move by the ratio of the rates (the "No").
void ShiftPointFrequencies(FilterDesign& design, int32_t filterSize, double newRate);

// The sample rate changed while the filter is on: with more than two points the user chooses
// (Yes keep frequencies, No shift, Cancel reset); two points are simply reset to flat. The
// caption is the editor window's.
void AskSampleRateChange(FilterDesign& design, int32_t filterSize, int32_t oldRate, int32_t newRate,
                         Ui& ui, int languageIndex, const std::string& caption);

// A typed Kaiser alpha: 0 ... 10, below 1e-10 counting as 0, as its "%.4g" text; the value is
// the text read back.
double KaiserAlphaFromTyped(double typed, std::string& text);

} // namespace qv
