#include "display/plot_scale.h"

namespace qv {

namespace {

// The tick step: the first of 1-2-5 steps up to 2 s whose tenfold exceeds the span.
int32_t TickStepFor(double span) {
    if (span <= 10)
        return 1;
    int32_t step = 2;
    for (int32_t decade = 1; decade <= 10000000; decade *= 10) {
        for (int32_t m : {2, 5, 10}) {
            step = m * decade;
            if (step > 20000000)
                return 20000000;
            if (span < 10.0 * step)
                return step;
        }
    }
    return step;
}

// value shown with one decimal ("%d.%d") or as an integer.
std::string Shown(int64_t value, bool tenths) {
    if (!tenths)
        return std::to_string(value);
    return std::to_string(value / 10) + "." + std::to_string(value % 10);
}

} // namespace

PlotScale LayoutPlotScale(int32_t n, int32_t xDispRate, double rate, int32_t plotWidth,
                          int32_t plotHeight, bool eightBit) {
    PlotScale s;
    s.displaySampleCount = n / (xDispRate > 0 ? xDispRate : 1);
    s.span = rate > 0 ? (s.displaySampleCount - 1) / rate * 10000000.0 : 0;
    s.tickStep = TickStepFor(s.span);
    for (int64_t t = s.tickStep; t <= s.span && s.tickCount < kMaxTicks; t += s.tickStep)
        s.tickX[s.tickCount++] =
            static_cast<int32_t>(static_cast<double>(t) * (plotWidth - 1) / s.span);
    const int32_t h = plotHeight / 2;
    const int32_t g = eightBit ? h * 100 / 128 : static_cast<int32_t>(int64_t{h} * 30000 / 32768);
    s.gridY = {h - g, h, h + g};
    return s;
}

std::string TickLabel(int32_t k, int32_t tickStep) {
    const int64_t v = int64_t{k} * tickStep;
    if (tickStep <= 9)
        return Shown(v, true);
    if (tickStep <= 999)
        return Shown(v / 10, false);
    if (tickStep <= 9999)
        return Shown(v / 1000, true);
    if (tickStep <= 999999)
        return Shown(v / 10000, false);
    if (tickStep <= 9999999)
        return Shown(v / 1000000, true);
    return Shown(v / 10000000, false);
}

const char* TickUnit(int32_t tickStep) {
    return tickStep <= 999 ? "us" : tickStep <= 999999 ? "ms" : "sec";
}

std::array<std::string, 3> LevelLabels(bool eightBit, int32_t yDispRate) {
    const int32_t level = (eightBit ? 100 : 30000) / (yDispRate > 0 ? yDispRate : 1);
    return {std::to_string(level), "0", std::to_string(-level)};
}

} // namespace qv
