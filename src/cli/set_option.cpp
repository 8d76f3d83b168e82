#include "cli/set_option.h"

#include "app/param_value_check.h"
#include "files/ini_file.h"
#include "files/param_text_table.h"

#include <algorithm>

namespace qv {

bool ApplySetOption(ParamTextTable& table, std::string_view option, std::string& error,
                    const ParamKey** key) {
    const size_t eq = option.find('=');
    const size_t dot = option.find('.');
    if (eq == std::string_view::npos || dot == std::string_view::npos || dot > eq || dot == 0 ||
        dot + 1 == eq) {
        error = "--set expects Section.Key=Value, got \"" + std::string(option) + "\"";
        return false;
    }
    const std::string_view section = option.substr(0, dot);
    const std::string_view name = option.substr(dot + 1, eq - dot - 1);
    const ParamKey* found = ParamTextTable::FindKey(section, name);
    if (found == nullptr || !table.Set(found->field, found->slot, option.substr(eq + 1))) {
        error = "unknown parameter key \"" + std::string(option.substr(0, eq)) + "\"";
        return false;
    }
    if (key != nullptr)
        *key = found;
    return true;
}

std::vector<FileValue> FileValues(const IniFile& ini) {
    std::vector<FileValue> values;
    for (const ParamKey& k : ParamTextTable::Keys()) {
        const std::string value = ini.Read(k.section, k.key);
        if (!value.empty())
            values.push_back({&k, value.substr(0, k.width)});
    }
    return values;
}

ValueReport CheckGivenValues(const ParamTextTable& set, const std::string& fileName,
                             std::span<const FileValue> fileValues,
                             std::span<const ParamKey* const> setKeys) {
    ValueReport report;
    auto wasSet = [&](const ParamKey* k) {
        return std::find(setKeys.begin(), setKeys.end(), k) != setKeys.end();
    };
    for (const FileValue& v : fileValues) {
        const ParamCheck check = CheckParamValue(set, *v.key, v.value);
        if (check.verdict != ParamVerdict::Ok && !wasSet(v.key))
            report.warnings.push_back(fileName + ": " +
                                      ParamCheckMessage(*v.key, v.value, check, true));
    }
    for (size_t i = 0; i < setKeys.size(); ++i) {
        const ParamKey& k = *setKeys[i];
        const auto later = setKeys.subspan(i + 1);
        if (std::find(later.begin(), later.end(), &k) != later.end())
            continue; // a later --set of the key gave its value
        const std::string& value = set.Get(k.field, k.slot);
        const ParamCheck check = CheckParamValue(set, k, value);
        if (check.verdict == ParamVerdict::Limited)
            report.warnings.push_back(ParamCheckMessage(k, value, check, true));
        else if (check.verdict != ParamVerdict::Ok)
            report.errors.push_back(ParamCheckMessage(k, value, check, false));
    }
    return report;
}

} // namespace qv
