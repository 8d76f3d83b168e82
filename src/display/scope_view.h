// The oscilloscope of the main window's lower panel as data: the plot's size, scale and thinned
// points, when a new block is shown (ten times a second of output, frozen while Ctrl is held),
// the trigger, and the meters. The window paints what this holds.
#pragma once

#include "display/plot_points.h"
#include "display/plot_scale.h"
#include "display/scope_capture.h"

#include <cstdint>
#include <span>
#include <vector>

namespace qv {

struct FftApi;
class Generator;

// The plot inside the paint box, at 96 DPI: 40 pixels of level labels on the left, 7 on the
// right, 5 above and 15 of time labels below; scaled with the labels' font at other DPIs.
constexpr int32_t kPlotLeft = 40, kPlotTop = 5;
constexpr int32_t kPlotMarginX = 47, kPlotMarginY = 20;

class ScopeView {
public:
    int32_t xDispRate = 4; // 1, 2, 4, 10 or 20
    int32_t yDispRate = 1; // 1, 2, 4, 10, 20 or 100

    // A paint box of this size showing n captured frames at rate (the oversampled rate during
    // an oversampled write).
    void Layout(int32_t paintWidth, int32_t paintHeight, int32_t n, double rate, bool eightBit,
                const FftApi& api, int dpi = 96);
    // The display callback after a rendered block: reads it when a tenth of a second of output
    // has passed since the last picture, unless Ctrl freezes the picture after the first block.
    // True when there is a new picture.
    bool Update(const Generator& g, int channels, bool running, bool ctrlHeld);
    // The y of the points from the capture; the trigger only for a magnified, running, unfrozen
    // display.
    void BuildPoints(int channels, bool trigger);
    // A run starts or ends: an empty trace and blank meters.
    void Clear();
    // A run has ended: the meters go blank (the trace stays when Ctrl keeps the picture).
    void ClearLevels();
    // What the meters read before anything has played: -90.0 each, the first in red.
    void ShowStartLevels();

    int32_t PlotLeft() const { return plotLeft_; } // the plot's place in the paint box
    int32_t PlotTop() const { return plotTop_; }
    int32_t PlotWidth() const { return plotWidth_; }
    int32_t PlotHeight() const { return plotHeight_; }
    const PlotScale& Scale() const { return scale_; }
    bool EightBit() const { return eightBit_; }
    std::span<const ScreenPoint> PointsA() const { return {a_.data(), Count()}; }
    std::span<const ScreenPoint> PointsB() const {
        return {b_.data(), channels_ > 1 ? Count() : 0};
    }
    const ScopeCapture& Capture() const { return capture_; }

private:
    size_t Count() const;

    int32_t plotLeft_ = kPlotLeft, plotTop_ = kPlotTop;
    int32_t plotWidth_ = 1, plotHeight_ = 1, n_ = 0;
    bool eightBit_ = false;
    int channels_ = 2;
    PlotScale scale_;
    PlotPoints layout_;
    std::vector<ScreenPoint> a_, b_;
    ScopeCapture capture_;
    uint64_t nextUpdate_ = 0, lastFrames_ = 0;
};

} // namespace qv
