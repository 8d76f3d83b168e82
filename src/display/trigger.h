// The oscilloscope's rising-edge trigger over the captured samples of the first displayed
// channel (16-bit scale).
#pragma once

#include <cstdint>
#include <span>

namespace qv {

// The first sample j that starts a rise steeper than the tolerance l = max(1, trunc(8 /
// yDispRate + 0.5)) through the middle of the range of the first pointCount samples, or
// starting just above zero or ending just below it; tried for j below min(n/2 - 1, 8191). When
// none qualifies, the position after the last one tried.
int32_t FindTriggerStart(std::span<const int32_t> samples, int32_t pointCount, int32_t yDispRate);

} // namespace qv
