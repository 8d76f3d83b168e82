// Turns the drawn response into the display response of the N-tap filter and into the spectrum
// of the oversampled convolution kernel (frequency sampling with a Kaiser window), on the
// transform library's slots 11 to 14. Runs on the main thread; the kernel goes to the render
// thread through a one-place mailbox.
#pragma once

#include "filter/filter_design.h"
#include "generator/shared_value.h"

#include <cstdint>
#include <vector>

namespace qv {

struct FftApi;

// The designer writes spectrum only while ready is clear and then publishes it; the filter
// stage reads it only while ready is set, copies it and clears the flag.
struct KernelMailbox {
    std::vector<double> spectrum; // 2A + 1 complex values, A = N x O
    Shared<bool> ready = false;
};

class FilterDesigner {
public:
    static constexpr int kBaseSlot = 11;     // N, complex: the base-rate impulse response
    static constexpr int kDisplaySlot = 12;  // N x R, real input: the displayed response
    static constexpr int kOverSlot = 13;     // A, complex: the oversampled impulse response
    static constexpr int kSpectrumSlot = 14; // 2A, complex: the kernel spectrum

    void Attach(const FftApi* api) { api_ = api; }

    // The display response, and the kernel unless displayOnly is set while nothing renders.
    // Does nothing (false) while a kernel waits in the mailbox. The table is cut after the first
    // point at or beyond N/2.
    bool Design(FilterDesign& design, int32_t filterSize, int32_t overSampleRate, bool displayOnly,
                bool busy);

    // Bins 0 ... (N/2) x R of the last display response (complex values).
    const std::vector<double>& DisplayResponse() const { return displayResponse_; }

    // Bins the last design interpolated: at most N/2 + 1, whatever the table holds.
    int64_t MagnitudeSteps() const { return magnitudeSteps_; }

    KernelMailbox mailbox;

private:
    void PrepareSlots(int32_t n, int32_t r, int32_t a);
    void SampleMagnitude(FilterDesign& design, int32_t n);
    void DisplayResponseFromMagnitude(const FilterDesign& design, int32_t n, int32_t r);
    void KernelFromMagnitude(const FilterDesign& design, int32_t n, int32_t a);

    const FftApi* api_ = nullptr;
    std::vector<double> displayResponse_;
    int32_t baseSize_ = 0, displaySize_ = 0, kernelSize_ = 0;
    int64_t magnitudeSteps_ = 0;
};

} // namespace qv
