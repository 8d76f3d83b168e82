// The band-limited waveforms of the masters, and the BLIT building blocks they share.
#pragma once

#include "generator/wave_slot.h"

#include <cstdint>

namespace qv {

// Normalised Dirichlet kernel: one peak of 1 per cycle at x = 0, mean 1/m over a cycle (m odd).
double BlitKernel(int32_t m, double x);

// Mean over one period (steps of 1/period from 0) of the running sum of kernel(m, g + x0) - r:
// the start value that lets an integrator begin without a DC offset.
double BlitStartAverage(double r, int32_t m, double x0, double period);

// Fourier series of the waveform up to the harmonics at least 1 Hz below half the rate
// (1000 at most); I is the phase fraction.
double AdditiveSample(int32_t waveform, double effectiveRate, double freq, double A, double I);

// BLIT waveform value for the slot's waveform; keeps the slot's integrator state.
double BlitSample(WaveSlot& slot, double effectiveRate, double D, double A, double I);

} // namespace qv
