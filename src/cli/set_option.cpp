#include "cli/set_option.h"

#include "files/param_text_table.h"

namespace qv {

bool ApplySetOption(ParamTextTable& table, std::string_view option, std::string& error) {
    const size_t eq = option.find('=');
    const size_t dot = option.find('.');
    if (eq == std::string_view::npos || dot == std::string_view::npos || dot > eq || dot == 0 ||
        dot + 1 == eq) {
        error = "--set expects Section.Key=Value, got \"" + std::string(option) + "\"";
        return false;
    }
    const std::string_view section = option.substr(0, dot);
    const std::string_view key = option.substr(dot + 1, eq - dot - 1);
    if (!table.Set(section, key, option.substr(eq + 1))) {
        error = "unknown parameter key \"" + std::string(option.substr(0, eq)) + "\"";
        return false;
    }
    return true;
}

} // namespace qv
