#include "app/live_settings_params.h"

#include "files/param_text_table.h"
#include "generator/item_lists.h"
#include "generator/number_text.h"

#include <string>

namespace qv {

namespace {

// The six keys of one button pair, in the order of the key table.
struct UpDownFields {
    ParamField type, value, percent, transition, resetBuffer, log;
};
constexpr UpDownFields kFreqFields{
    ParamField::FreqUpDownType,        ParamField::FreqUpDownValue,
    ParamField::FreqUpDownPercent,     ParamField::FreqUpDownTransition,
    ParamField::FreqUpDownResetBuffer, ParamField::FreqUpDownLog};
constexpr UpDownFields kAmpFields{ParamField::AmpUpDownType,        ParamField::AmpUpDownValue,
                                  ParamField::AmpUpDownPercent,     ParamField::AmpUpDownTransition,
                                  ParamField::AmpUpDownResetBuffer, ParamField::AmpUpDownLog};

void ReadUpDown(const ParamTextTable& t, const UpDownFields& f, UpDownSettings& u) {
    u.percentMode = MatchItemNoCase(StepTypeKeywords(), t.Get(f.type)) == 1;
    u.value = StepValue(t.Get(f.value));
    u.percent = StepValue(t.Get(f.percent));
    u.transition = ClampTransitionTime(ReadDecimal(t.Get(f.transition)));
    u.resetBuffer = ReadInteger(t.Get(f.resetBuffer)) != 0;
    u.log = ReadInteger(t.Get(f.log)) != 0;
}

void WriteUpDown(const UpDownSettings& u, const UpDownFields& f, ParamTextTable& t) {
    t.Set(f.type, StepTypeKeywords()[u.percentMode]);
    t.Set(f.value, FormatNumber15(u.value));
    t.Set(f.percent, FormatNumber15(u.percent));
    t.Set(f.transition, TransitionTimeText(u.transition));
    t.Set(f.resetBuffer, u.resetBuffer ? "1" : "0");
    t.Set(f.log, u.log ? "1" : "0");
}

} // namespace

void ReadLiveSettings(const ParamTextTable& t, LiveSettings& s) {
    ReadUpDown(t, kFreqFields, s.freq);
    ReadUpDown(t, kAmpFields, s.amp);
    s.sync.ratioMode = MatchItemNoCase(SyncTypeKeywords(), t.Get(ParamField::Wave5SyncType)) != 1;
    s.sync.diff = SyncDifference(t.Get(ParamField::Wave5SyncDiff));
    s.sync.ratio = SyncRatio(ReadDecimal(t.Get(ParamField::Wave5SyncRatio)));
}

void WriteLiveSettings(const LiveSettings& s, ParamTextTable& t) {
    WriteUpDown(s.freq, kFreqFields, t);
    WriteUpDown(s.amp, kAmpFields, t);
    t.Set(ParamField::Wave5SyncType, SyncTypeKeywords()[s.sync.ratioMode ? 0 : 1]);
    t.Set(ParamField::Wave5SyncDiff, FormatNumber15(s.sync.diff));
    t.Set(ParamField::Wave5SyncRatio, FormatNumber15(s.sync.ratio));
}

} // namespace qv
