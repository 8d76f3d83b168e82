// An IniFile kept in memory, for testing what is read and written key by key (in order).
#pragma once

#include "files/ini_file.h"
#include "files/param_text_table.h"

#include <string>
#include <vector>

namespace qv::test {

class MemoryIni final : public IniFile {
public:
    struct Entry {
        std::string section, key, value;
    };
    std::string Read(std::string_view section, std::string_view key) const override {
        for (const Entry& e : entries) {
            if (EqualsNoCase(e.section, section) && EqualsNoCase(e.key, key))
                return e.value;
        }
        return "";
    }
    bool Write(std::string_view section, std::string_view key, std::string_view value) override {
        if (writesLeft-- == 0)
            return false;
        written.push_back({std::string(section), std::string(key), std::string(value)});
        for (Entry& e : entries) {
            if (EqualsNoCase(e.section, section) && EqualsNoCase(e.key, key)) {
                e.value = value;
                return true;
            }
        }
        entries.push_back(written.back());
        return true;
    }
    void Set(const std::string& section, const std::string& key, const std::string& value) {
        entries.push_back({section, key, value});
    }
    std::vector<Entry> entries;
    std::vector<Entry> written; // every write, in order
    int writesLeft = -1;        // a write fails once this many have succeeded
};

} // namespace qv::test
