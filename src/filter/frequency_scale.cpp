#include "filter/frequency_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qv {

namespace {

constexpr size_t kMaxFrequencyLines = 70;
constexpr size_t kMaxDbLines = 30;

std::string Format(const char* format, double value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string LogLabel(double f) {
    if (f < 0.1)
        return Format("%1.2f", f);
    if (f < 1)
        return Format("%1.1f", f);
    if (f < 1000)
        return Format("%1.0f", f);
    if (f < 1e6)
        return Format("%1.0fk", f / 1000);
    return Format("%1.0fM", f / 1e6);
}

std::string LinearLabel(double f) {
    if (f == 0)
        return "0";
    if (f < 1000)
        return Format(f == std::trunc(f) ? "%1.0f" : "%1.1f", f); // the finest steps label halves
    const bool kilo = f < 1e6;
    const double v = kilo ? f / 1000 : f / 1e6;
    const bool whole = v == std::trunc(v);
    return Format(kilo ? (whole ? "%1.0fk" : "%1.1fk") : (whole ? "%1.0fM" : "%1.1fM"), v);
}

void AddLine(AxisScale& scale, int32_t x, const std::string* label) {
    if (scale.grid.size() < kMaxFrequencyLines)
        scale.grid.push_back(x);
    if (label && scale.labels.size() < kMaxFrequencyLines)
        scale.labels.push_back({*label, x});
}

} // namespace

AxisScale FrequencyScale(int32_t offset, int32_t width, bool logScale, double maxFreq,
                         double minFreq) {
    AxisScale scale;
    const double span = width - 1;
    if (!(maxFreq > 0) || width < 2)
        return scale;
    if (logScale) {
        if (!(minFreq > 0) || !(minFreq < maxFreq))
            return scale;
        const double logMin = std::log10(minFreq), logMax = std::log10(maxFreq);
        // Decade by decade (upper bound v, step v/10); line j of a decade lies at j x step,
        // so the labels (the decade's start and its half) need no rounding of sums.
        for (double v = 0.1; v < 1e9; v *= 10) {
            const double step = v / 10;
            if (!(minFreq < v))
                continue;
            int first = minFreq == step ? 1 : static_cast<int>(std::floor(minFreq / step)) + 1;
            if (first < 1)
                first = 1;
            for (int j = first; j < 10; ++j) {
                const double f = j * step;
                if (f > maxFreq)
                    return scale;
                const int32_t x = static_cast<int32_t>(std::trunc(
                                      (std::log10(f) - logMin) * span / (logMax - logMin) + 0.5)) +
                                  offset;
                const std::string label = LogLabel(f);
                AddLine(scale, x, j == 1 || j == 5 ? &label : nullptr);
            }
        }
        return scale;
    }
    static constexpr double kSteps[] = {0.1, 0.2, 0.5, 1,   2,   5,   10,  20,  50,  100, 200, 500,
                                        1e3, 2e3, 5e3, 1e4, 2e4, 5e4, 1e5, 2e5, 5e5, 1e6, 2e6, 5e6};
    double step = kSteps[23];
    for (double s : kSteps) {
        if (std::trunc(maxFreq / s) < 30) {
            step = s;
            break;
        }
    }
    const int lines = static_cast<int>(std::trunc(maxFreq / step));
    for (int k = 0; k <= lines; ++k) {
        const double f = k * step;
        const int32_t x = static_cast<int32_t>(std::trunc(span * f / maxFreq + 0.5)) + offset;
        const std::string label = LinearLabel(f);
        AddLine(scale, x, k % 5 == 0 ? &label : nullptr);
    }
    return scale;
}

AxisScale DbScale(int32_t bottomDb, int32_t topDb, int32_t height) {
    AxisScale scale;
    if (topDb <= bottomDb || height < 2)
        return scale;
    const double perDb = (height - 1) / static_cast<double>(topDb - bottomDb);
    // The first multiple of 10 at or below the top.
    int32_t db = topDb >= 0 ? topDb / 10 * 10 : -((-topDb + 9) / 10 * 10);
    for (; db >= bottomDb && scale.grid.size() < kMaxDbLines; db -= 10) {
        const int32_t y = static_cast<int32_t>(std::trunc((topDb - db) * perDb + 0.5));
        scale.grid.push_back(y);
        if (db % 20 != 0)
            continue;
        if (db == 0)
            scale.zeroLine = static_cast<int32_t>(scale.grid.size()) - 1;
        char text[16];
        std::snprintf(text, sizeof text, db == 0 ? "0dB" : db > 0 ? "+%d" : "%d", db);
        scale.labels.push_back({text, y});
    }
    return scale;
}

bool AxisScale::Labelled(int32_t pos) const {
    return std::any_of(labels.begin(), labels.end(),
                       [pos](const AxisLabel& l) { return l.pos == pos; });
}

} // namespace qv
