// "--set Section.Key=Value": one key of the parameter file, with the file's own value texts.
#pragma once

#include <string>
#include <string_view>

namespace qv {

class ParamTextTable;

// Stores the value in the table; false with a message for a malformed or unknown key.
bool ApplySetOption(ParamTextTable& table, std::string_view option, std::string& error);

} // namespace qv
