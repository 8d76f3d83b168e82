// The controls of the main window as the controls model names them, and the record of which of
// them changed, so that a window refreshes only what a handler touched.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace qv {

// The controls of one slot's group box (the master-only ones exist for Wave1 and Wave5).
enum class SlotControl : uint8_t {
    Waveform,
    Freq,
    Amp,
    Offset,
    OutCh,
    BandLimit,
    UserWaveButton,
    Delay,
    Phase,
    Sweep,
    Modulation,
    GateOn,
    GateOff,
    FollowerGate,
    FreqBarButton, // Wave1 only
    Count
};

// The controls outside the slot groups: the tool bar, and the frequency bar's Wave5 sync box.
enum class ToolbarControl : uint8_t {
    FileLength,
    Comment,
    SampleRate,
    BitLen,
    Channels,
    FilterOn,
    Load,
    Save,
    Write,
    Device,
    FitSampleCount, // the ticked item of the FFT sample count menus
    FreqBarSync,
    Count
};

struct ControlChanges {
    std::array<uint32_t, 8> slot{}; // per slot, a bit per SlotControl
    uint32_t toolbar = 0;           // a bit per ToolbarControl

    bool Has(int i, SlotControl c) const {
        return (slot[static_cast<size_t>(i)] >> static_cast<int>(c)) & 1u;
    }
    bool Has(ToolbarControl c) const { return (toolbar >> static_cast<int>(c)) & 1u; }
    bool Any() const {
        uint32_t any = toolbar;
        for (uint32_t s : slot)
            any |= s;
        return any != 0;
    }
    void Set(int i, SlotControl c) { slot[static_cast<size_t>(i)] |= 1u << static_cast<int>(c); }
    void Set(ToolbarControl c) { toolbar |= 1u << static_cast<int>(c); }
    void SetAll() {
        slot.fill((1u << static_cast<int>(SlotControl::Count)) - 1);
        toolbar = (1u << static_cast<int>(ToolbarControl::Count)) - 1;
    }
};

} // namespace qv
