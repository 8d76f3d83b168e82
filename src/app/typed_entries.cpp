// The main window's typed entries: which boxes take a typed text at once, which hold it until the
// entry is committed, and what the commit does.
#include "app/main_controls.h"
#include "generator/generator.h"
#include "generator/number_text.h"
#include "generator/unit_conversion.h"
#include "platform/ui.h"

#include <utility>

namespace qv {

namespace {

// How a box's text is read: frequencies, phases and gate periods as decimals, delays as
// integers, levels in their unit's notation.
Notation NotationOf(const WaveSlot& s, SlotControl c) {
    switch (c) {
    case SlotControl::Amp:
        return LevelNotation(s.ampUnit);
    case SlotControl::Offset:
        return LevelNotation(s.offsetUnit);
    case SlotControl::Delay:
        return Notation::Integer;
    default:
        return Notation::Decimal;
    }
}

} // namespace

bool MainControls::TakeTyped(int i, SlotControl c, std::string_view text) {
    auto& held = typed_[static_cast<size_t>(i)][static_cast<size_t>(c)];
    if (HasUsableNumber(text, NotationOf(g_.slots[i], c))) {
        held.reset();
        return true;
    }
    held = std::string(text);
    Mark(i, {c});
    return false;
}

void MainControls::CommitEntries() {
    bool refused = false;
    for (int i = 0; i < kSlotCount; ++i) {
        for (size_t c = 0; c < typed_[i].size(); ++c) {
            if (!typed_[i][c])
                continue;
            typed_[i][c].reset();
            refused = true;
            Mark(i, {static_cast<SlotControl>(c)});
        }
        UpdateFreqColour(i);
    }
    if (typedLength_) {
        typedLength_.reset();
        refused = true;
        Mark(ToolbarControl::FileLength);
    }
    if (typedRate_) {
        const std::string text = *std::exchange(typedRate_, std::nullopt);
        Mark(ToolbarControl::SampleRate);
        if (HasUsableNumber(text, Notation::Integer)) {
            g_.texts.sampleRate = text; // limited, with its beep, as the format is made
            FormatChanged();
        } else {
            refused = true;
        }
    }
    if (refused && g_.ui)
        g_.ui->Beep();
}

} // namespace qv
