// The main window's wave and format controls without the window: what each control shows
// (texts, selected items, unit labels, item lists, hints), when it is enabled or shown, and
// what its change does to the generator. The Win32 window mirrors this state; tests, qvrender
// and the parameter files use it directly.
#pragma once

#include "files/param_file.h"
#include "filter/filter_design.h"
#include "generator/live_controls.h"

#include <array>
#include <span>
#include <string>

namespace qv {

class Generator;

struct SlotControls {
    int outChIndex = 0;
    int bandLimitIndex = 0;
    std::string delayText = "0";
    std::string gateOnText = "0", gateOffText = "0";
    // Enabling and visibility.
    bool freqEnabled = true;
    bool phaseEnabled = true;
    bool modulationEnabled = true;
    bool sweepEnabled = true;
    bool sweepFreqMenuEnabled = true; // the sweep menu's frequency and phase items
    bool delayEnabled = true;
    bool bandLimitVisible = true; // otherwise the user-wave button is shown
    bool followerGateEnabled = false;
    bool freqPopup = true; // the frequency menu (FFT fit, multiples): only in Hz
    bool freqRed = false;  // the frequency lies above half the sample rate
    std::string waveformHint;
};

class MainControls {
public:
    MainControls(Generator& generator, int languageIndex);

    // Change handlers, one per kind of control; i is the slot (its tag).
    void OnWaveform(int i, int itemIndex);
    void OnFrequency(int i);
    void OnAmplitude(int i);
    void OnOffset(int i);
    void OnOutCh(int i, int itemIndex);
    void OnBandLimit(int master, int itemIndex);
    void OnDelay(int master);
    void OnPhase(int master);
    void OnFreqUnit(int i, int unit);
    void OnAmpUnit(int i, int unit);
    void OnOffsetUnit(int i, int unit);
    void OnGatePeriods(int master);
    void OnFollowerGate(int i, bool on);
    void OnModulation(int master, bool on, int type, int signalSlot);
    void OnSweep(int master, bool on);
    void SetFitSampleCount(int32_t count);
    // The frequency menu (unit Hz only): FFT fit, and a follower at k times its master.
    void OnFitToFft(int i);
    void OnMultipleOfMaster(int follower, int k);
    // Double-clicks on the unit labels: Hz -> samples -> Hz; dB -> value -> percent -> dB.
    void CycleFreqUnit(int i);
    void CycleAmpUnit(int i);
    void CycleOffsetUnit(int i);
    // Disables (false) or re-enables (true) what must not change during Play or Write.
    void SetControlsForRun(bool enabled);

    // A whole parameter set into the controls and the generator, in the fixed order.
    void ApplyParamTable(const ParamSet& set);
    // The current controls as a parameter set's texts (for saving).
    void CaptureParamTable(ParamSet& set) const;

    // Item lists as the controls offer them now.
    std::span<const char* const> WaveformList(int i) const;
    std::span<const char* const> FreqList(int i) const;
    std::span<const char* const> AmpList(int i) const;
    std::span<const char* const> OffsetList(int i) const;
    std::string FreqLabel(int i) const;
    std::string AmpLabel(int i) const;
    std::string OffsetLabel(int i) const;

    Generator& g;
    int language;
    LiveSettings live;
    std::string comment;          // the comment box (80 characters)
    std::string fitItem = "4096"; // the ticked FFT sample count item
    bool running = false;         // Play or Write in progress
    bool controlsForRunEnabled = true;
    bool freqBarButtonEnabled = true; // Wave1's frequency bar button: only in Hz
    bool freqBarSyncEnabled = true;   // the bar's Wave5 sync box: only while Wave5 is in Hz
    std::array<SlotControls, 8> slot;

private:
    void UpdateMasterEnabling(int master);
    void UpdateFreqColour(int i);
};

} // namespace qv
