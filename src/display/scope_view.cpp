#include "display/scope_view.h"

#include "display/trigger.h"
#include "generator/generator.h"

#include <algorithm>

namespace qv {

namespace {

constexpr size_t kMostDrawnPoints = 16383;

// Frames rendered by the end of the first block; with the filter on, the convolution's first
// half-length windows as well.
uint64_t FirstBlockFrames(const Generator& g) {
    if (!g.FilterActive())
        return g.BlockFrames();
    const uint64_t half = std::max<uint32_t>(g.filterSize / 2, 1);
    const uint64_t frames = uint64_t{g.BlockFrames()} * g.overSampleRate;
    return (frames / half + 1) * half;
}

} // namespace

void ScopeView::Layout(int32_t paintWidth, int32_t paintHeight, int32_t n, double rate,
                       bool eightBit, const FftApi& api, int dpi) {
    const auto px = [dpi](int32_t v) { return static_cast<int32_t>(int64_t{v} * dpi / 96); };
    plotLeft_ = px(kPlotLeft);
    plotTop_ = px(kPlotTop);
    plotWidth_ = std::max(paintWidth - px(kPlotMarginX), 1);
    plotHeight_ = std::max(paintHeight - px(kPlotMarginY), 1);
    n_ = std::clamp<int32_t>(n, 1, kCaptureLength);
    eightBit_ = eightBit;
    scale_ = LayoutPlotScale(n_, xDispRate, rate, plotWidth_, plotHeight_, eightBit);
    LayoutPlotPoints(scale_.displaySampleCount, plotWidth_, api, layout_);
    a_.assign(layout_.points.begin(), layout_.points.end());
    b_ = a_;
    BuildPoints(channels_, false);
}

bool ScopeView::Update(const Generator& g, int channels, bool running, bool ctrlHeld) {
    const uint64_t frames = g.frameCounter;
    if (frames < lastFrames_) // a restart counts from 0 again
        nextUpdate_ = 0;
    lastFrames_ = frames;
    if (frames < nextUpdate_)
        return false;
    nextUpdate_ = frames + static_cast<uint64_t>(g.effectiveRate / 10);
    if (ctrlHeld && frames > FirstBlockFrames(g))
        return false;
    ReadScopeCapture(g, n_, channels, capture_);
    BuildPoints(channels, xDispRate > 1 && running && !ctrlHeld);
    return true;
}

void ScopeView::BuildPoints(int channels, bool trigger) {
    channels_ = channels;
    const size_t shown = static_cast<size_t>(scale_.displaySampleCount);
    const auto& a = capture_.a;
    const int32_t start =
        trigger && a.size() > 1 ? FindTriggerStart(a, layout_.count, yDispRate) : 0;
    const auto fill = [&](const std::vector<int32_t>& s, std::vector<ScreenPoint>& out) {
        FillPlotY(
            layout_,
            [&](size_t i) {
                const size_t k = static_cast<size_t>(start) + i;
                return PlotY(k < s.size() && i < shown ? s[k] : 0, plotHeight_, yDispRate);
            },
            out);
    };
    fill(a, a_);
    if (channels > 1)
        fill(capture_.b, b_);
}

void ScopeView::Clear() {
    std::fill(capture_.a.begin(), capture_.a.end(), 0);
    std::fill(capture_.b.begin(), capture_.b.end(), 0);
    ClearLevels();
    nextUpdate_ = 0;
    BuildPoints(channels_, false);
}

void ScopeView::ClearLevels() {
    for (std::string& m : capture_.meters)
        m.clear();
    capture_.clipped.fill(false);
}

void ScopeView::ShowStartLevels() {
    capture_.meters.fill("-90.0");
    capture_.clipped.fill(false);
    capture_.clipped[0] = true; // shown red
}

size_t ScopeView::Count() const {
    return std::min<size_t>(std::min<size_t>(static_cast<size_t>(layout_.count), a_.size()),
                            kMostDrawnPoints);
}

} // namespace qv
