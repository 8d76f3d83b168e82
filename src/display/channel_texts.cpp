#include "display/channel_texts.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace qv {

std::string MeterText(int32_t peakMax, int32_t peakMin, double levelRef) {
    const int64_t p = std::max<int64_t>(peakMax, -int64_t{peakMin});
    if (p <= 0)
        return "-----";
    const auto tenths = static_cast<int64_t>(std::floor(200.0 * std::log10(p / levelRef) + 0.5));
    const int64_t a = tenths < 0 ? -tenths : tenths;
    std::string text =
        (tenths < 0 ? "-" : "") + std::to_string(a / 10) + "." + std::to_string(a % 10);
    if (text.size() < 4)
        text.insert(0, 4 - text.size(), ' ');
    return text;
}

std::vector<std::string> DisplayChannelItems(int channels) {
    if (channels < 3)
        return {kDisplayChannelPairs[0]};
    return {std::begin(kDisplayChannelPairs) + 1,
            std::begin(kDisplayChannelPairs) + std::min(channels, 8)};
}

} // namespace qv
