// The texts of one parameter set, key by key, as a parameter file holds them: every value is
// the text its control shows, so the same set means the same thing wherever it is applied.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

struct ParamKey {
    std::string section;
    std::string key;
    std::string defaultText; // as a file without the key is read
    size_t width;            // characters kept of a value
};

class ParamTextTable {
public:
    // Every key in file order (File, Misc, Wave1 … Wave8, Filter).
    static std::span<const ParamKey> Keys();

    // The default set. Item texts that depend on the language (Wave1's waveform, the band
    // limits) are given in that language, so the default set selects sine in either interface.
    explicit ParamTextTable(int languageIndex);

    // Section and key compare without regard to letter case; an unknown key gives "".
    const std::string& Get(std::string_view section, std::string_view key) const;
    bool Has(std::string_view section, std::string_view key) const;
    // Stores value cut to the key's width; false for an unknown key.
    bool Set(std::string_view section, std::string_view key, std::string_view value);

private:
    int IndexOf(std::string_view section, std::string_view key) const;
    std::vector<std::string> values_;
};

bool EqualsNoCase(std::string_view a, std::string_view b);

} // namespace qv
