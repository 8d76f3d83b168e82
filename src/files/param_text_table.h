// The texts of one parameter set, key by key, as a parameter file holds them: every value is
// the text its control shows, so the same set means the same thing wherever it is applied. The
// key table here is the only list of the file's keys: loading, saving, applying a set to the
// controls and capturing it back all address a key by its field (and slot).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// What a key holds. The Wave keys exist per slot (see ParamKey::slot).
enum class ParamField : uint8_t {
    // [File]
    Length,
    Comment,
    // [Misc]
    SamplingFreq,
    BitLen,
    Ch,
    SampleNforFit,
    FreqUpDownType,
    FreqUpDownValue,
    FreqUpDownPercent,
    FreqUpDownTransition,
    FreqUpDownResetBuffer,
    FreqUpDownLog,
    AmpUpDownType,
    AmpUpDownValue,
    AmpUpDownPercent,
    AmpUpDownTransition,
    AmpUpDownResetBuffer,
    AmpUpDownLog,
    Wave5SyncType,
    Wave5SyncDiff,
    Wave5SyncRatio,
    // [Wave1] ... [Wave8]
    Waveform,
    Freq,
    FreqUnit,
    Amp,
    AmpUnit,
    Offset,
    OffsetUnit,
    OutCh,
    Gate, // followers
    BandLimitType,
    Delay,
    Phase,
    Sweep,
    SweepFreqLog,
    SweepAmpLog,
    SweepPhase,
    SweepStep,
    Modulation,
    ModulationType,
    ModulatingSignal, // Wave1
    GateOnPeriod,
    GateOffPeriod,
    UserWave,
    UserWaveChSel,
    UserWaveModSig, // Wave5
    // [Filter]
    FilterOn,
    FilterComment,
    OverSampleRate,
    Size1,
    ResponseRate,
    AmpScaleDbMax,
    AmpScaleDbMin,
    KaiserAlpha,
    Points,
    Count
};

struct ParamKey {
    std::string section;
    std::string key;
    std::string defaultText; // as a file without the key is read
    size_t width;            // characters kept of a value
    ParamField field;
    int slot; // 0 ... 7 for the Wave sections, -1 elsewhere
};

class ParamTextTable {
public:
    // Every key in file order (File, Misc, Wave1 … Wave8, Filter).
    static std::span<const ParamKey> Keys();
    // The key by name (section and key in any letter case); nullptr for an unknown one.
    static const ParamKey* FindKey(std::string_view section, std::string_view key);

    // The default set. Item texts that depend on the language (Wave1's waveform, the band
    // limits) are given in that language, so the default set selects sine in either interface.
    explicit ParamTextTable(int languageIndex);
    // The interface language whose item texts the set is matched in.
    int Language() const { return language_; }
    // What a key holds in the default set (and when a file lacks it): its default text, or the
    // language's own item for the keys whose items depend on the language.
    std::string DefaultText(const ParamKey& key) const;

    // By field; slot for the Wave keys. A key the slot does not have gives "".
    const std::string& Get(ParamField field, int slot = -1) const;
    // Stores value cut to the key's width; false for a key the slot does not have.
    bool Set(ParamField field, int slot, std::string_view value);
    bool Set(ParamField field, std::string_view value) { return Set(field, -1, value); }

    // By name: section and key compare without regard to letter case; an unknown key gives "".
    const std::string& Get(std::string_view section, std::string_view key) const;
    bool Has(std::string_view section, std::string_view key) const;
    bool Set(std::string_view section, std::string_view key, std::string_view value);

private:
    static int IndexOf(std::string_view section, std::string_view key);
    std::vector<std::string> values_;
    int language_;
};

bool EqualsNoCase(std::string_view a, std::string_view b);

} // namespace qv
