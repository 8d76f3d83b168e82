#include "display/scope_capture.h"

#include "display/channel_texts.h"
#include "generator/generator.h"

#include <algorithm>

namespace qv {

void ReadScopeCapture(const Generator& g, int32_t n, int channels, ScopeCapture& out) {
    out.block = g.displayBlocks.Acquire();
    const auto count = static_cast<size_t>(std::clamp<int32_t>(n, 0, kCaptureLength));
    out.a.resize(count);
    out.b.resize(count);
    for (size_t i = 0; i < count; ++i) {
        out.a[i] = g.dispSamplesA[i];
        out.b[i] = g.dispSamplesB[i];
    }
    const double ref = g.levelRef;
    for (int c = 0; c < kMaxChannels; ++c) {
        const bool used = c < channels;
        out.meters[c] = used ? MeterText(g.peakMax[c], g.peakMin[c], ref) : std::string();
        out.clipped[c] = used && g.clipped[c];
    }
}

} // namespace qv
