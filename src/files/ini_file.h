// Key=value files in the platform's private-profile format ("[Section]" lines, "Key=Value"
// lines, CR LF), read and written key by key. Section and key names compare without regard to
// letter case; writing a key replaces its value in place and keeps every other line; a new key
// goes to the end of its section, a new section to the end of the file. Values are bytes
// (Shift-JIS texts pass through unchanged).
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace qv {

class IniFile {
public:
    virtual ~IniFile() = default;
    // The key's value, or "" when the file, the section or the key is missing.
    virtual std::string Read(std::string_view section, std::string_view key) const = 0;
    // Stores the value (the file is created when missing); false when it cannot be written.
    virtual bool Write(std::string_view section, std::string_view key, std::string_view value) = 0;
};

// The platform's own backend: the private-profile routines on Windows, the portable one
// elsewhere.
std::unique_ptr<IniFile> OpenIniFile(const std::string& path);

// The portable backend, on every platform (it follows the same rules as the Windows one).
std::unique_ptr<IniFile> OpenPortableIniFile(const std::string& path);

} // namespace qv
