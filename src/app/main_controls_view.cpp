// What the main window's controls show, read from the controls model: texts and items are the
// bytes the parameter files hold (ASCII, or Shift-JIS for the Japanese items and labels); hints
// are UTF-8.
#include "app/main_controls.h"

#include "generator/generator.h"
#include "generator/item_lists.h"
#include "platform/language.h"

namespace qv {

namespace {

using C = SlotControl;

bool MasterOnly(C c) {
    switch (c) {
    case C::BandLimit:
    case C::UserWaveButton:
    case C::Delay:
    case C::Phase:
    case C::Sweep:
    case C::Modulation:
    case C::GateOn:
    case C::GateOff:
        return true;
    default:
        return false;
    }
}

// The hints of the slot controls; the sweep, modulation and follower-gate hints name their
// group (Wave1's or Wave5's).
Text2 SlotHint(int i, C c) {
    const bool first = i < 4;
    switch (c) {
    case C::Waveform:
        return {"波形", "Waveform"};
    case C::Freq:
        return {"周波数/周期", "Freq./Period"};
    case C::Amp:
        return {"振幅", "Amplitude"};
    case C::Offset:
        return {"ｵﾌｾｯﾄ", "Offset"};
    case C::OutCh:
        return {"出力ﾁｬﾝﾈﾙ", "Output channel"};
    case C::BandLimit:
        return {"帯域制限の方式", "Band limit type"};
    case C::UserWaveButton:
        return {"ﾕｰｻﾞｰ波形の登録", "Reg. UserWave"};
    case C::Delay:
        return {"ﾃﾞｨﾚｲｻﾝﾌﾟﾙ数", "Delay samples"};
    case C::Phase:
        return {"位相", "Phase"};
    case C::Sweep:
        return first ? Text2{"ｽｲｰﾌﾟ (Wave1 --> Wave2) On/Off", "Sweep (Wave1 --> Wave2) On/Off"}
                     : Text2{"ｽｲｰﾌﾟ (Wave5 --> Wave6) On/Off", "Sweep (Wave5 --> Wave6) On/Off"};
    case C::Modulation:
        return first
                   ? Text2{"変調 (変調信号: Wave3/5) On/Off", "Modulation (signal: Wave3/5) On/Off"}
                   : Text2{"変調 (変調信号: Wave7) On/Off", "Modulation (signal: Wave7) On/Off"};
    case C::GateOn:
        return {"ｹﾞｰﾄOn周期 (波数)", "Gate on period (wave)"};
    case C::GateOff:
        return {"ｹﾞｰﾄOff周期 (波数)", "Gate off period (wave)"};
    case C::FollowerGate:
        return first ? Text2{"Wave1のｹﾞｰﾄと同期", "Synchronize to Wave1 gate"}
                     : Text2{"Wave5のｹﾞｰﾄと同期", "Synchronize to Wave5 gate"};
    case C::FreqBarButton:
        return {"周波数ﾊﾞｰ", "Frequency bar"};
    case C::Count:
        break;
    }
    return {"", ""};
}

} // namespace

std::string MainControls::Text(int i, C c) const {
    if (const auto& held = Typed(i, c))
        return *held;
    const ControlTexts& t = g_.texts;
    switch (c) {
    case C::Freq:
        return t.slot[i].freq;
    case C::Amp:
        return t.slot[i].amp;
    case C::Offset:
        return t.slot[i].offset;
    case C::Phase:
        return t.slot[i].phase;
    case C::Delay:
        return slot_[i].delayText;
    case C::GateOn:
        return slot_[i].gateOnText;
    case C::GateOff:
        return slot_[i].gateOffText;
    default: {
        const int selected = Selected(i, c);
        const auto items = Items(i, c);
        return selected >= 0 && selected < static_cast<int>(items.size()) ? items[selected] : "";
    }
    }
}

std::span<const char* const> MainControls::Items(int i, C c) const {
    const WaveSlot& s = g_.slots[i];
    switch (c) {
    case C::Waveform:
        return SlotWaveformItems(i, language_);
    case C::Freq:
        return FreqItems(s.freqUnit);
    case C::Amp:
        return LevelItems(s.ampUnit);
    case C::Offset:
        return LevelItems(s.offsetUnit);
    case C::OutCh:
        return OutChTexts(g_.format.channels);
    case C::BandLimit:
        return BandLimitItems(language_);
    case C::Delay:
        return DelayItems();
    case C::Phase:
        return PhaseItems();
    case C::GateOn:
        return GateOnItems();
    case C::GateOff:
        return GateOffItems();
    default:
        return {};
    }
}

int MainControls::Selected(int i, C c) const {
    switch (c) {
    case C::Waveform:
        return g_.slots[i].waveform;
    case C::OutCh:
        return slot_[i].outChIndex;
    case C::BandLimit:
        return slot_[i].bandLimitIndex;
    default:
        return -1;
    }
}

bool MainControls::Checked(int i, C c) const {
    const WaveSlot& s = g_.slots[i];
    switch (c) {
    case C::Sweep:
        return s.sweep;
    case C::Modulation:
        return s.modulation;
    case C::FollowerGate:
        return !IsMaster(i) && s.gate;
    default:
        return false;
    }
}

bool MainControls::Enabled(int i, C c) const {
    const SlotState& s = slot_[i];
    switch (c) {
    case C::Freq:
        return s.freqEnabled;
    case C::UserWaveButton:
    case C::GateOn:
    case C::GateOff:
        return !running_;
    case C::Delay:
        return s.delayEnabled;
    case C::Phase:
        return s.phaseEnabled;
    case C::Sweep:
        return s.sweepEnabled;
    case C::Modulation:
        return s.modulationEnabled;
    case C::FollowerGate:
        return s.followerGateEnabled;
    case C::FreqBarButton:
        return g_.slots[0].freqUnit == kHz;
    default:
        return true;
    }
}

bool MainControls::Visible(int i, C c) const {
    if (MasterOnly(c) && !IsMaster(i))
        return false;
    switch (c) {
    case C::BandLimit:
        return slot_[i].bandLimitVisible;
    case C::UserWaveButton:
        return !slot_[i].bandLimitVisible;
    case C::FollowerGate:
        return !IsMaster(i);
    case C::FreqBarButton:
        return i == 0;
    default:
        return true;
    }
}

bool MainControls::HasFreqMenu(int i) const {
    return g_.slots[i].freqUnit == kHz;
}

bool MainControls::Red(int i, C c) const {
    return c == C::Freq && slot_[i].freqRed;
}

std::string MainControls::Hint(int i, C c) const {
    if (c == C::Waveform && !slot_[i].waveformHint.empty())
        return slot_[i].waveformHint;
    return SlotHint(i, c)(language_);
}

std::string MainControls::UnitLabel(int i, C c) const {
    const WaveSlot& s = g_.slots[i];
    switch (c) {
    case C::Freq:
        return FreqUnitLabel(s.freqUnit);
    case C::Amp:
        return LevelUnitLabel(s.ampUnit, language_);
    case C::Offset:
        return LevelUnitLabel(s.offsetUnit, language_);
    case C::Delay:
        return "Sa";
    case C::Phase:
        return language_ == kJapanese ? "\x81\x42" /* 。 */ : "deg";
    default:
        return "";
    }
}

std::string MainControls::ToolbarText(ToolbarControl c) const {
    const ControlTexts& t = g_.texts;
    switch (c) {
    case ToolbarControl::FileLength:
        return typedLength_ ? *typedLength_ : t.fileLength;
    case ToolbarControl::Comment:
        return comment_;
    case ToolbarControl::SampleRate:
        return typedRate_ ? *typedRate_ : t.sampleRate;
    case ToolbarControl::BitLen:
        return t.bitLen;
    case ToolbarControl::Channels:
        return ChannelCountItems()[ToolbarSelected(c)];
    case ToolbarControl::FitSampleCount:
        return fitItem_;
    default:
        return "";
    }
}

std::span<const char* const> MainControls::ToolbarItems(ToolbarControl c) const {
    switch (c) {
    case ToolbarControl::FileLength:
        return FileLengthItems();
    case ToolbarControl::SampleRate:
        return SampleRateItems();
    case ToolbarControl::BitLen:
        return BitLenItems();
    case ToolbarControl::Channels:
        return ChannelCountItems();
    default:
        return {};
    }
}

int MainControls::ToolbarSelected(ToolbarControl c) const {
    switch (c) {
    case ToolbarControl::BitLen:
        return FindItem(BitLenItems(), g_.texts.bitLen);
    case ToolbarControl::Channels:
        return g_.texts.channelIndex < 0 || g_.texts.channelIndex >= 8 ? 1 : g_.texts.channelIndex;
    default:
        return -1;
    }
}

bool MainControls::ToolbarEnabled(ToolbarControl c) const {
    switch (c) {
    case ToolbarControl::SampleRate:
    case ToolbarControl::BitLen:
    case ToolbarControl::Channels:
    case ToolbarControl::FilterOn:
    case ToolbarControl::Load:
    case ToolbarControl::Save:
    case ToolbarControl::Write:
    case ToolbarControl::Device:
        return !running_;
    case ToolbarControl::FileLength:
        return !writing_;
    case ToolbarControl::FreqBarSync:
        return g_.slots[4].freqUnit == kHz;
    default:
        return true;
    }
}

bool MainControls::ToolbarChecked(ToolbarControl c) const {
    switch (c) {
    case ToolbarControl::FilterOn:
        return g_.filterOn;
    case ToolbarControl::FreqBarSync:
        return live_.freqBarSync;
    default:
        return false;
    }
}

} // namespace qv
