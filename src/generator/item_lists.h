// Item lists of the wave and format controls, per language, and the fixed keywords that
// parameter files use. Japanese items are Shift-JIS bytes: that is how they enter files.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Waveform items in code order (11; followers offer the first 10).
std::span<const char* const> WaveformItems(int languageIndex);
// The waveform items slot slotIndex offers: all for a master, the first 10 for a follower.
std::span<const char* const> SlotWaveformItems(int slotIndex, int languageIndex);
std::span<const char* const> BandLimitItems(int languageIndex);
std::span<const char* const> BitLenItems();       // "8" "16" "24" "32" "F32"
std::span<const char* const> ChannelCountItems(); // "Mono" "Stereo" "3ch" … "8ch"
std::span<const char* const> SampleRateItems();   // "11025" … "384000"
std::span<const char* const> FileLengthItems();   // seconds

struct OutChItem {
    std::string text;
    uint32_t mask;
};
// "OFF" "L+R" "L" "R" for one or two channels; "OFF" "ALL" "1ch" … "Nch" above.
std::vector<OutChItem> OutChItems(int channels);
// The texts of OutChItems, kept for the life of the program.
std::span<const char* const> OutChTexts(int channels);

std::span<const char* const> FreqUnitKeywords();  // "Hz" "Samples"
std::span<const char* const> LevelUnitKeywords(); // "dB" "value" "percent"
// The masters' sweep and modulation settings, in the order of their codes.
std::span<const char* const> SweepPhaseKeywords();       // "Off" "Up" "Down"
std::span<const char* const> SweepStepKeywords();        // "Smooth" "1" … "4" (steps a second)
std::span<const char* const> ModulationKeywords();       // "AM" "DSB" "FM" "PM" "PWM"
std::span<const char* const> ModulatingSignalKeywords(); // "3" "5": Wave1's modulator
std::span<const char* const> FilterOnKeywords();         // "Off" "On"
// The up/down step types and the Wave5 sync types; these match in any letter case.
std::span<const char* const> StepTypeKeywords(); // "value" "percent"
std::span<const char* const> SyncTypeKeywords(); // "ratio" "diff"

// The sweep step rate a SweepStep text selects: an integer 1 … 4, anything else smooth.
uint32_t SweepStepRate(std::string_view text);

// The number lists of the frequency and level controls by unit, and their unit labels.
std::span<const char* const> FreqItems(int freqUnit);         // Hz: 41 third-octave values; Sa: 27
std::span<const char* const> LevelItems(int levelUnit);       // dB, value, percent
const char* FreqUnitLabel(int freqUnit);                      // "Hz", "Sa"
const char* LevelUnitLabel(int levelUnit, int languageIndex); // "dB", "値"/"val", "%"
std::span<const char* const> DelayItems();
std::span<const char* const> PhaseItems();
std::span<const char* const> GateOnItems();
std::span<const char* const> GateOffItems();

// Index of the item that equals text exactly (MatchItemNoCase: in any ASCII letter case), -1
// when none does.
int MatchItem(std::span<const char* const> items, std::string_view text);
int MatchItemNoCase(std::span<const char* const> items, std::string_view text);
// MatchItem, no match giving 0 (the first item): how a control takes an item text.
int FindItem(std::span<const char* const> items, std::string_view text);

} // namespace qv
