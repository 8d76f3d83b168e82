// The main window's wave and format controls without the window: what each control shows
// (texts, selected items, unit labels, item lists, hints, colours), when it is enabled or shown,
// and what its change does to the generator. The Win32 window forwards every control event to
// one handler here and then shows the state it reads back; tests, qvrender and the parameter
// files use the same interface.
#pragma once

#include "app/control_changes.h"
#include "files/param_file.h"
#include "filter/filter_design.h"
#include "generator/live_controls.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qv {

class Generator;
struct WaveSlot;

// A master's gate period text (waves) as half waves: trunc(2 x), below 0 as 0.
uint32_t GateHalfWaves(std::string_view text);
// A master's delay text as samples: its integer, within ±2147483647.
int32_t DelaySamples(std::string_view text);

class MainControls {
public:
    MainControls(Generator& generator, int languageIndex);

    int Language() const { return language_; }

    // --- Handlers: what the control delivers. i is the slot (the control's tag); m a master.
    void OnWaveform(int i, int itemIndex);
    void OnFrequencyText(int i, std::string_view text);
    void OnAmplitudeText(int i, std::string_view text);
    void OnOffsetText(int i, std::string_view text);
    void OnOutCh(int i, int itemIndex);
    void OnBandLimit(int m, int itemIndex);
    void OnDelayText(int m, std::string_view text);
    void OnPhaseText(int m, std::string_view text);
    void OnFreqUnit(int i, int unit);
    void OnAmpUnit(int i, int unit);
    void OnOffsetUnit(int i, int unit);
    void OnGateOnText(int m, std::string_view text);
    void OnGateOffText(int m, std::string_view text);
    void OnFollowerGate(int i, bool on);
    void OnModulation(int m, bool on, int type, int signalSlot);
    // The modulation check box: on or off with the type and signal the menu chose.
    void OnModulationBox(int m, bool on);
    void OnSweep(int m, bool on);
    void OnSweepMenu(int m, bool freqLog, bool ampLog, int phaseMode, uint32_t stepRate);
    // The frequency menu (unit Hz only): the FFT sample count, FFT fit, and a follower at k
    // times its master.
    void SetFitSampleCount(int32_t count);
    void OnFitToFft(int i);
    void OnMultipleOfMaster(int follower, int k);
    // Double-clicks on the unit labels: Hz -> samples -> Hz; dB -> value -> percent -> dB.
    void CycleFreqUnit(int i);
    void CycleAmpUnit(int i);
    void CycleOffsetUnit(int i);
    // Up/down buttons and the mouse wheel on a master's frequency or amplitude: delta > 0 up,
    // |delta| / 120 notches; the value glides (a transition) while playing.
    void OnFreqStep(int m, int delta);
    // The frequency bar moves Wave1 to hz over seconds (Wave5 follows while synchronised).
    void OnBarFrequency(double hz, double seconds, bool log);
    void OnAmpStep(int m, int delta);
    // The tool bar's format and file controls. A typed sample rate is taken when the entry is
    // committed (below); a rate chosen from the list at once.
    void OnSampleRateText(std::string_view text);
    void OnSampleRateItem(int itemIndex);
    void OnBitLen(int itemIndex);
    void OnChannels(int itemIndex);
    void OnFileLengthText(std::string_view text);
    void OnCommentText(std::string_view text);
    void OnFilterOn(bool on);
    // The step and sync settings windows, and the frequency bar's Wave5 sync box.
    void SetLiveSettings(const LiveSettings& settings);
    void SetFreqBarSync(bool on);
    // The masters' user waves were registered again: their waveform hints follow.
    void UserWavesChanged();
    // Disables (false) or re-enables (true) what must not change during Play or Write.
    void SetControlsForRun(bool enabled);
    // A file write locks the file length as well (a playback reads it only for a sweep).
    void SetControlsForWrite(bool enabled);

    // --- Typed entries. A number typed into a box is taken at each keystroke when the control
    // can use it: a finite number in the box's notation. A text it cannot use is shown as typed
    // while the value in force stays (a frequency box turns red), until the entry is committed:
    // Enter, the box losing the focus, Play, Write or Save. Committing beeps for such a text and
    // shows the value in force again, and takes a typed sample rate, with its limit.
    void CommitEntries();

    // A whole parameter set into the controls and the generator, in the fixed order.
    void ApplyParamTable(const ParamSet& set);
    // The current controls as a parameter set's texts (for saving).
    void CaptureParamTable(ParamSet& set) const;

    // --- What a window shows, per control.
    std::string Text(int i, SlotControl c) const;
    std::span<const char* const> Items(int i, SlotControl c) const;
    int Selected(int i, SlotControl c) const; // -1 for a control without an item choice
    bool Checked(int i, SlotControl c) const;
    bool Enabled(int i, SlotControl c) const;
    bool Visible(int i, SlotControl c) const;
    bool Red(int i, SlotControl c) const; // the frequency above half the sample rate
    std::string Hint(int i, SlotControl c) const;
    std::string UnitLabel(int i, SlotControl c) const; // Freq, Amp, Offset: "Hz", "dB", ...

    std::string ToolbarText(ToolbarControl c) const;
    std::span<const char* const> ToolbarItems(ToolbarControl c) const;
    int ToolbarSelected(ToolbarControl c) const;
    bool ToolbarEnabled(ToolbarControl c) const;
    bool ToolbarChecked(ToolbarControl c) const;

    // The frequency menu (FFT fit, multiples) is attached only in unit Hz.
    bool HasFreqMenu(int i) const;
    // The sweep menu's frequency and phase items.
    bool SweepFreqItemsEnabled(int m) const { return slot_[m].sweepFreqMenuEnabled; }

    const LiveSettings& Live() const { return live_; }
    // A slot's settings as the controls show them (the menus tick what they hold).
    const WaveSlot& Slot(int i) const;
    const std::string& FitItem() const { return fitItem_; } // the ticked FFT sample count item
    bool Running() const { return running_; }

    // What changed since the last call (handlers and loads mark it); the record starts empty.
    ControlChanges TakeChanges();

    // The item lists as the slot's controls offer them now (shortcuts of Items).
    std::span<const char* const> WaveformList(int i) const {
        return Items(i, SlotControl::Waveform);
    }
    std::span<const char* const> FreqList(int i) const { return Items(i, SlotControl::Freq); }
    std::span<const char* const> AmpList(int i) const { return Items(i, SlotControl::Amp); }
    std::string FreqLabel(int i) const { return UnitLabel(i, SlotControl::Freq); }
    std::string AmpLabel(int i) const { return UnitLabel(i, SlotControl::Amp); }

private:
    struct SlotState {
        int outChIndex = 0;
        int bandLimitIndex = 0;
        std::string delayText = "0";
        std::string gateOnText = "0", gateOffText = "0";
        bool freqEnabled = true;
        bool phaseEnabled = true;
        bool modulationEnabled = true;
        bool sweepEnabled = true;
        bool sweepFreqMenuEnabled = true; // the sweep menu's frequency and phase items
        bool delayEnabled = true;
        bool bandLimitVisible = true; // otherwise the user-wave button is shown
        bool followerGateEnabled = false;
        bool freqRed = false; // the frequency lies above half the sample rate
        std::string waveformHint;
    };

    void UpdateMasterEnabling(int m);
    void UpdateFollowerEnabling(int i);
    void UpdateFreqColour(int i);
    void ApplyFrequencyText(int i);
    void FrequencyChanged(int i);
    void ApplyGatePeriods(int m);
    void ApplyDelay(int m);
    void SelectOutChannels(bool keepIndexes);
    void FormatChanged();
    // The steps of ApplyParamTable, in their order.
    void ApplyFormatTexts(const ParamTextTable& t);
    void ApplyFilterAndFit(const ParamSet& set);
    void ApplyLiveTexts(const ParamTextTable& t);
    void ApplySlotTexts(const ParamTextTable& t);
    void RunWaveformHandlers();
    void ApplyUnits(const ParamTextTable& t);
    void ReapplyFormat();
    void ForceUnitControls();
    void ApplyDelaysAndPhases();
    void ApplySweeps(const ParamTextTable& t);
    void ApplyModulations(const ParamTextTable& t);
    void ApplyGates(const ParamTextTable& t);
    void ClearLevels();
    // The text a key takes from the controls; nothing for the keys of the live settings.
    std::optional<std::string> CapturedText(const ParamKey& key) const;

    void Mark(int i, std::initializer_list<SlotControl> controls);
    void Mark(ToolbarControl c);
    // A typed text the control can use (true) or holds as typed until the commit (false).
    bool TakeTyped(int i, SlotControl c, std::string_view text);
    const std::optional<std::string>& Typed(int i, SlotControl c) const {
        return typed_[static_cast<size_t>(i)][static_cast<size_t>(c)];
    }

    Generator& g_;
    int language_;
    LiveSettings live_;
    std::string comment_;          // the comment box (80 characters)
    std::string fitItem_ = "4096"; // the ticked FFT sample count item
    bool running_ = false;         // Play or Write in progress
    bool writing_ = false;
    std::array<SlotState, 8> slot_;
    // The texts typed but not taken, per slot control; the sample rate and file length ones.
    std::array<std::array<std::optional<std::string>, static_cast<size_t>(SlotControl::Count)>, 8>
        typed_;
    std::optional<std::string> typedRate_, typedLength_;
    ControlChanges changes_;
};

} // namespace qv
