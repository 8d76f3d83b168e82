// Edits of the slots' numbers as the controls make them: typed texts (restart path), the up/down
// buttons and the mouse wheel on the masters' frequency and amplitude (transitions), and the
// Wave5 synchronisation, with the settings of the buttons.
#pragma once

#include "generator/number_text.h"

#include <optional>
#include <string>
#include <string_view>

namespace qv {

class Generator;

// One button pair's settings ("variation" and "transition time" of its settings window).
struct UpDownSettings {
    bool percentMode = false; // multiply/divide by 1 + percent/100 instead of adding value
    double value = 10.0;
    double percent = 5.0;
    double transition = 0.2;  // seconds, 0 ... 100
    bool resetBuffer = false; // with transition 0: restart the stream instead
    bool log = true;          // logarithmic transition path
};

struct Wave5SyncSettings {
    bool ratioMode = true; // Wave5 = Wave1 x ratio; otherwise Wave1 + difference
    double diff = 0.0;
    double ratio = 1.0; // never 0
};

struct LiveSettings {
    UpDownSettings freq;
    UpDownSettings amp{false, 1.0, 5.0, 0.2, false, true};
    Wave5SyncSettings sync;
    // The frequency bar is open and its Wave5 sync box is enabled and ticked: frequency edits
    // of Wave1 move Wave5 too.
    bool freqBarSync = false;
};

// Wave5's frequency for Wave1 at f.
double Wave5SyncFrequency(const Wave5SyncSettings& sync, double f);

// A transition time as the settings window keeps it: 0 ... 100 s.
double ClampTransitionTime(double seconds);
// The text written back into the transition control ("%.3g").
std::string TransitionTimeText(double seconds);
// A typed sync ratio: its absolute value, 0 becoming 1.
double SyncRatio(double typed);
// A typed step value: decimal, or hexadecimal with a 0x prefix (the amplitude list has "0xFF");
// one too large to hold steps nothing.
double StepValue(std::string_view text);
// A typed sync difference; one too large to hold is none.
double SyncDifference(std::string_view text);

// A settings box's entry once it is committed (the box loses the focus): nothing when the typed
// text reads as the value in force, else that value's text to show again, with the program's
// beep (a text that is no number, or a number the setting limits).
std::optional<std::string> EntryToShowAgain(std::string_view typed, Notation notation,
                                            double inForce, const std::string& inForceText);

// Typed edits of a slot's frequency, amplitude and offset texts (already stored in the
// generator's texts): converted, written or recorded, and the restart asked for. A Wave1
// frequency also moves Wave5 while the frequency bar's sync is on.
void EditFrequencyText(Generator& g, const LiveSettings& settings, int slotIndex);
void EditAmplitudeText(Generator& g, int slotIndex);
void EditOffsetText(Generator& g, int slotIndex);
void EditPhaseText(Generator& g, int slotIndex);

// One click or wheel event on a master's frequency or amplitude (slot 0 or 4): delta > 0 up,
// < 0 down, |delta| / 120 notches. Rewrites the control text and moves the value.
void StepFrequency(Generator& g, const LiveSettings& settings, int slotIndex, int delta);
// The frequency bar: Wave1 glides to hz in seconds (its text written), Wave5 following while the
// bar's sync is on.
void GlideWave1(Generator& g, const LiveSettings& settings, double hz, double seconds, bool log);
void StepAmplitude(Generator& g, const LiveSettings& settings, int slotIndex, int delta);

} // namespace qv
