// The frequency bar without its window: a long slider over the whole band, logarithmic from
// 10 Hz or linear from 0 Hz up to half the sample rate, that glides Wave1 (and Wave5 with it
// while synchronised), and sweeps up or down at one of nine speeds on a 62 ms tick, stopping at
// the band's edge.
#pragma once

#include "filter/frequency_scale.h"

#include <cstdint>
#include <string>

namespace qv {

class MainControls;

class FreqBar {
public:
    static constexpr int kTickMs = 62;
    static constexpr int kSpeedCount = 9; // the speed slider's positions 0 ... 8
    static constexpr int kDefaultSpeed = 4;
    static constexpr int32_t kPageSize = 10;

    explicit FreqBar(MainControls& controls) : controls_(controls) {}

    // The band for a sample rate: 10 Hz (log) or 0 Hz (linear) up to half the rate.
    void SetBand(uint32_t sampleRate, bool logScale);
    bool LogScale() const { return log_; }
    double MinFreq() const { return minFreq_; }
    double MaxFreq() const { return maxFreq_; }

    // Slider positions: 50000 per decade in log mode, 1 Hz a step in linear mode.
    int32_t LowestPosition() const;
    int32_t HighestPosition() const;
    int32_t PositionOf(double hz) const;
    double FrequencyAt(int32_t position) const;
    // Where Wave1's frequency puts the slider (its text's absolute value, at least 10 Hz on the
    // log scale).
    int32_t Wave1Position() const;

    // The user moved the slider: Wave1 glides there in the up/down transition time.
    void SliderMoved(int32_t position);

    // Sweeping: a press on a sweep button that is up starts the sweep that way; on one that is
    // down, stops it.
    void PressSweep(bool up);
    void StopSweep() { sweeping_ = false; }
    bool Sweeping() const { return sweeping_; }
    bool SweepingUp() const { return sweeping_ && up_; }
    bool SweepingDown() const { return sweeping_ && !up_; }
    int Speed() const { return speed_; }
    void SetSpeed(int position);
    // Ticks a whole sweep across the band takes at a speed: 1920 / the speed's factor.
    static double TicksPerSweep(int speed);
    // One tick of a running sweep: Wave1 moves one step on (in 0.124 s). At the band's edge the
    // sweep ends; true then, so that a running playback stops.
    bool Tick();

    // The mouse wheel over the bar: every second turn steps Wave1's frequency as the main
    // window's wheel does. True when this one did.
    bool Wheel(int delta);
    // The Wave5 sync window has closed: Wave5's frequency becomes Wave1's through the sync rule,
    // as if typed.
    void ApplyWave5Sync();

    // The scale above the slider: its lowest position's x is offset, its highest offset + width.
    AxisScale Scale(int32_t offset, int32_t width) const;

private:
    double Wave1Frequency() const;

    MainControls& controls_;
    bool log_ = true;
    double minFreq_ = 10, maxFreq_ = 22050;
    bool sweeping_ = false, up_ = true;
    int speed_ = kDefaultSpeed;
    unsigned wheelTurns_ = 0;
};

} // namespace qv
