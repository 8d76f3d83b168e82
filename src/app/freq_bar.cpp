#include "app/freq_bar.h"

#include "app/main_controls.h"
#include "generator/number_text.h"

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

constexpr double kPositionsPerDecade = 50000;
constexpr double kLogMinFreq = 10;
constexpr double kSweepStepSeconds = 0.124; // two ticks: each step glides into the next
constexpr double kSpeedFactors[FreqBar::kSpeedCount] = {1.0 / 3, 0.4, 0.5, 2.0 / 3, 1,
                                                        1.5,     2,   2.5, 3};

} // namespace

void FreqBar::SetBand(uint32_t sampleRate, bool logScale) {
    log_ = logScale;
    minFreq_ = logScale ? kLogMinFreq : 0;
    maxFreq_ = static_cast<double>(sampleRate / 2);
}

int32_t FreqBar::LowestPosition() const {
    return PositionOf(minFreq_);
}

int32_t FreqBar::HighestPosition() const {
    return log_ ? static_cast<int32_t>(std::trunc(kPositionsPerDecade * std::log10(maxFreq_) + 1))
                : static_cast<int32_t>(std::trunc(maxFreq_));
}

int32_t FreqBar::PositionOf(double hz) const {
    if (!log_)
        return static_cast<int32_t>(std::trunc(std::clamp(hz, 0.0, maxFreq_)));
    // A frequency read back from its text lands on the position it came from.
    return static_cast<int32_t>(
        std::trunc(kPositionsPerDecade * std::log10(std::max(hz, minFreq_)) + 1e-6));
}

double FreqBar::FrequencyAt(int32_t position) const {
    const double hz = log_ ? std::pow(10.0, position / kPositionsPerDecade) : position;
    return std::clamp(hz, minFreq_, maxFreq_);
}

double FreqBar::Wave1Frequency() const {
    const double hz = std::fabs(ReadDecimal(controls_.Text(0, SlotControl::Freq)));
    return std::isfinite(hz) ? hz : 0;
}

int32_t FreqBar::Wave1Position() const {
    return PositionOf(Wave1Frequency());
}

void FreqBar::SliderMoved(int32_t position) {
    const UpDownSettings& step = controls_.Live().freq;
    controls_.OnBarFrequency(FrequencyAt(position), step.transition, log_);
}

void FreqBar::PressSweep(bool up) {
    const bool wasDown = sweeping_ && up_ == up;
    sweeping_ = !wasDown;
    up_ = up;
}

void FreqBar::SetSpeed(int position) {
    speed_ = std::clamp(position, 0, kSpeedCount - 1);
}

double FreqBar::TicksPerSweep(int speed) {
    return 120.0 * 16 / kSpeedFactors[std::clamp(speed, 0, kSpeedCount - 1)];
}

bool FreqBar::Tick() {
    if (!sweeping_)
        return false;
    const double n = TicksPerSweep(speed_);
    const double f = Wave1Frequency();
    bool ended = false;
    if ((up_ && f >= maxFreq_) || (!up_ && f <= minFreq_)) {
        sweeping_ = false;
        ended = true;
    }
    double next;
    if (log_) {
        const double r = std::pow(maxFreq_ / minFreq_, 1 / n);
        next = up_ ? f * r : f / r;
    } else {
        const double d = (maxFreq_ - minFreq_) / n;
        next = up_ ? f + d : f - d;
    }
    controls_.OnBarFrequency(std::clamp(next, minFreq_, maxFreq_), kSweepStepSeconds, log_);
    return ended;
}

bool FreqBar::Wheel(int delta) {
    if (++wheelTurns_ % 2 != 0)
        return false;
    controls_.OnFreqStep(0, delta);
    return true;
}

void FreqBar::ApplyWave5Sync() {
    controls_.OnFrequencyText(
        4, FormatNumber15(Wave5SyncFrequency(controls_.Live().sync, Wave1Frequency())));
}

AxisScale FreqBar::Scale(int32_t offset, int32_t width) const {
    return FrequencyScale(offset, width, log_, maxFreq_, minFreq_);
}

} // namespace qv
