#include "display/trigger.h"

#include <algorithm>
#include <cmath>

namespace qv {

int32_t FindTriggerStart(std::span<const int32_t> s, int32_t pointCount, int32_t yDispRate) {
    const auto n = static_cast<int32_t>(s.size());
    const int32_t counted = std::clamp(pointCount, 0, n);
    if (counted == 0)
        return 0;
    const auto [lo, hi] = std::minmax_element(s.begin(), s.begin() + counted);
    // The level is the middle of the range; its sum would miss a signal with an offset.
    const int64_t twiceMiddle = int64_t{*lo} + *hi;
    const auto l = std::max<int32_t>(
        1, static_cast<int32_t>(std::trunc(8.0 / (yDispRate > 0 ? yDispRate : 1) + 0.5)));
    const int32_t tries = std::max(0, std::min(n / 2 - 1, 8191));
    for (int32_t j = 0; j < tries; ++j) {
        const int32_t a = s[j], b = s[j + 1];
        if (b - a <= l)
            continue;
        const bool throughMiddle = 2 * int64_t{a} < twiceMiddle && twiceMiddle < 2 * int64_t{b};
        if (throughMiddle || (a >= 0 && a <= l) || (b >= -l && b <= 0))
            return j;
    }
    return tries;
}

} // namespace qv
