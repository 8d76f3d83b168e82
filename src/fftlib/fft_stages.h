// The stages of the Stockham transform, shared by the portable code and the AVX2 code.
//
// A stage with g groups of q points each turns the g·4q values of src into dst: group i reads
// x_r = src[4iq + rq + k] (r = 0 … 3, k < q), multiplies x_r by W^(r·i·q) and writes its
// four-point transform to dst[iq + k + M/4·{0, 2, 1, 3}]. Starting with g = 1 (g = 2 after one
// radix-2 stage when log2(M) is odd) and ending with q = 1, the output is in natural order.
#pragma once

#include "fftlib/fft_context.h"

#include <cstddef>
#include <cstdint>

namespace qv {

// The twiddles of group i of a stage: W1 at [0], W2 at [2], W3 at [4].
inline const double* GroupTwiddles(const double* stage, int32_t i) {
    return stage + 6 * static_cast<size_t>(i);
}

// Whether this processor runs the AVX2 + FMA code (decided once).
bool UseAvx2();

// All stages of the AVX2 code; returns the buffer holding the result (data or work).
double* AvxStages(const FftContext& c, double* data, double* work, bool inverse, double scale);

} // namespace qv
