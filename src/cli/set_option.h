// "--set Section.Key=Value": one key of the parameter file, with the file's own value texts; and
// the check of the values given by --set and by the parameter file.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class IniFile;
class ParamTextTable;
struct ParamKey;

// Stores the value in the table; false with a message for a malformed or unknown key. The key
// stored goes to *key when key is given.
bool ApplySetOption(ParamTextTable& table, std::string_view option, std::string& error,
                    const ParamKey** key = nullptr);

// A value a parameter file gives a key (a missing or empty key takes its default instead).
struct FileValue {
    const ParamKey* key;
    std::string value; // cut to the key's width, as the table holds it
};
std::vector<FileValue> FileValues(const IniFile& ini);

struct ValueReport {
    std::vector<std::string> errors, warnings;
};

// The values of the --set options (setKeys) and of the parameter file fileName, checked in the
// set they made. A --set value that matches no item or is not a number is an error, one the
// program limits a warning; every file value that is not as it says is a warning (the file keeps
// its tolerant reading). A file value that a --set replaced is not checked.
ValueReport CheckGivenValues(const ParamTextTable& set, const std::string& fileName,
                             std::span<const FileValue> fileValues,
                             std::span<const ParamKey* const> setKeys);

} // namespace qv
