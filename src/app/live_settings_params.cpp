#include "app/live_settings_params.h"

#include "files/param_text_table.h"
#include "generator/number_text.h"

#include <string>

namespace qv {

namespace {

void ReadUpDown(const ParamTextTable& t, const char* prefix, UpDownSettings& u) {
    const std::string p = prefix;
    u.percentMode = EqualsNoCase(t.Get("Misc", p + "Type"), "percent");
    u.value = StepValue(t.Get("Misc", p + "Value"));
    u.percent = StepValue(t.Get("Misc", p + "Percent"));
    u.transition = ClampTransitionTime(ReadDecimal(t.Get("Misc", p + "Transition")));
    u.resetBuffer = ReadInteger(t.Get("Misc", p + "ResetBuffer")) != 0;
    u.log = ReadInteger(t.Get("Misc", p + "Log")) != 0;
}

void WriteUpDown(const UpDownSettings& u, const char* prefix, ParamTextTable& t) {
    const std::string p = prefix;
    t.Set("Misc", p + "Type", u.percentMode ? "percent" : "value");
    t.Set("Misc", p + "Value", FormatNumber15(u.value));
    t.Set("Misc", p + "Percent", FormatNumber15(u.percent));
    t.Set("Misc", p + "Transition", TransitionTimeText(u.transition));
    t.Set("Misc", p + "ResetBuffer", u.resetBuffer ? "1" : "0");
    t.Set("Misc", p + "Log", u.log ? "1" : "0");
}

} // namespace

void ReadLiveSettings(const ParamTextTable& t, LiveSettings& s) {
    ReadUpDown(t, "FreqUpDown", s.freq);
    ReadUpDown(t, "AmpUpDown", s.amp);
    s.sync.ratioMode = !EqualsNoCase(t.Get("Misc", "Wave5SyncType"), "diff");
    s.sync.diff = ReadDecimal(t.Get("Misc", "Wave5SyncDiff"));
    s.sync.ratio = SyncRatio(ReadDecimal(t.Get("Misc", "Wave5SyncRatio")));
}

void WriteLiveSettings(const LiveSettings& s, ParamTextTable& t) {
    WriteUpDown(s.freq, "FreqUpDown", t);
    WriteUpDown(s.amp, "AmpUpDown", t);
    t.Set("Misc", "Wave5SyncType", s.sync.ratioMode ? "ratio" : "diff");
    t.Set("Misc", "Wave5SyncDiff", FormatNumber15(s.sync.diff));
    t.Set("Misc", "Wave5SyncRatio", FormatNumber15(s.sync.ratio));
}

} // namespace qv
