// The band-limited waveforms of the masters, and the BLIT building blocks they share.
#pragma once

#include "generator/wave_slot.h"

#include <cstdint>

namespace qv {

// Normalised Dirichlet kernel: one peak of 1 per cycle at x = 0, mean 1/m over a cycle (m odd).
// m is a whole number held in a double: very low tones need more harmonics than 32 bits hold.
double BlitKernel(double m, double x);

// Mean over one period (steps of 1/period from 0) of the running sum of kernel(m, g + x0) - r:
// the start value that lets an integrator begin without a DC offset. Periods longer than
// kExactStartPeriod samples take the sum's limit for long periods instead of visiting every
// sample: they differ by less than 1e-3 there (at most where the peak falls within a few hundred
// samples of the start), about what the sum itself moves between neighbouring periods.
double BlitStartAverage(double r, double m, double x0, double period);
constexpr double kExactStartPeriod = 1 << 20;

// Fourier series of the waveform up to the harmonics at least 1 Hz below half the rate
// (1000 at most); I is the phase fraction.
double AdditiveSample(int32_t waveform, double effectiveRate, double freq, double A, double I);

// BLIT waveform value for the slot's waveform; keeps the slot's integrator state.
double BlitSample(WaveSlot& slot, double effectiveRate, double D, double A, double I);

} // namespace qv
