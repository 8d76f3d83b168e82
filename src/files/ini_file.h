// Key=value files in the platform's private-profile format ("[Section]" lines, "Key=Value"
// lines, CR LF), read and written key by key. Section and key names compare without regard to
// letter case; writing a key replaces its value in place and keeps every other line; a new key
// goes to the end of its section, a new section to the end of the file. Values are bytes
// (Shift-JIS texts pass through unchanged). A write that changes a value writes the whole file
// in the routines' own layout: blank lines, blanks around lines and around '=', and text after a
// section's ']' do not survive it (ini_file_portable.cpp gives the rules in full).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
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
// elsewhere. Paths are UTF-8.
std::unique_ptr<IniFile> OpenIniFile(const std::string& path);

// The portable backend, on every platform (it follows the same rules as the Windows one). A
// handle parses its file once and again only after the file's time or size changed.
std::unique_ptr<IniFile> OpenPortableIniFile(const std::string& path);
// How many times the portable backend has parsed a file in this process.
uint64_t PortableIniParses();

// The portable backend's rules applied to a file's bytes held in memory ("" stands for a missing
// file). WriteIniText gives the file's new bytes, or nothing when the key already holds the value
// (the file is then left as it is).
std::string ReadIniText(std::string_view text, std::string_view section, std::string_view key);
std::optional<std::string> WriteIniText(std::string_view text, std::string_view section,
                                        std::string_view key, std::string_view value);

// The portable rules over bytes parsed once: many reads and writes without a file (the parsed
// form is written out by Text; a file written key by key settles to the same layout).
class IniDocument final : public IniFile {
public:
    explicit IniDocument(std::string_view text);
    ~IniDocument() override;
    std::string Read(std::string_view section, std::string_view key) const override;
    bool Write(std::string_view section, std::string_view key, std::string_view value) override;
    std::string Text() const;

private:
    struct Parsed;
    std::unique_ptr<Parsed> parsed_;
};

} // namespace qv
