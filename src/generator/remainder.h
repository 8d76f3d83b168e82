// The remainder of the phase accumulator by the effective rate, as std::fmod computes it, but
// without its slow generic path: the render loop needs one for every slot and sample.
#pragma once

#include <cmath>

namespace qv {

// floor(x) without a library call (the baseline x86-64 target has no rounding instruction).
inline double FloorExact(double x) {
    if (!(std::fabs(x) < 4503599627370496.0))
        return std::floor(x); // 2^52: already whole
    const double t = static_cast<double>(static_cast<long long>(x));
    return t > x ? t - 1.0 : t;
}

// Equals std::fmod(y, e) bit for bit; invE is 1 / e. For 0 <= y < 2^53 and a whole-number e > 0 the
// quotient q = floor(y x (1 / e)) is right up to one, q * e is an exact integer, and y - q * e lies
// on y's ulp grid below y, so the subtraction is exact; a quotient off by one is corrected by one
// exact step. Everything else (negative, huge or non-finite values, fractional e) takes std::fmod.
inline double PhaseRemainderWholeRate(double y, double e, double invE);

inline double PhaseRemainder(double y, double e, double invE) {
    if (!(e > 0.0) || e != std::floor(e))
        return std::fmod(y, e);
    return PhaseRemainderWholeRate(y, e, invE);
}

// PhaseRemainder for an e known to be a whole number > 0: a loop checks that once, since
// std::floor is a library call on the baseline target.
inline double PhaseRemainderWholeRate(double y, double e, double invE) {
    if (!(y > 0.0 && y < 9007199254740992.0))
        return std::fmod(y, e);
    const double q = FloorExact(y * invE); // may be one off either way; corrected below
    double r = y - q * e;
    if (r < 0.0)
        r += e;
    else if (r >= e)
        r -= e;
    return r;
}

} // namespace qv
