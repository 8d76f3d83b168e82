// The portable private-profile backend. It follows the Windows routines as Wine implements them
// (our Windows tests run against Wine): the file is taken apart into sections of entries, and a
// write that changes a value writes the whole file again from them. So a key is replaced in
// place and every other entry keeps its place and text, but in the layout those routines write:
//  - a line ends at CR or LF (a run of them ends one line); blanks (HT LF VT FF CR, ^Z, space)
//    around a line are dropped and blank lines vanish;
//  - "[name]" starts a section: the name runs to the last ']' of the line, without surrounding
//    blanks; anything after that ']' is dropped; a '[' line without ']' is an entry;
//  - every other line is an entry: "name=value" split at the first '=' with the blanks around
//    it dropped, or a bare name (comments ";..." and lines without '=' are entries too, so they
//    stay where they are); of consecutive entries with an empty name only the first is kept;
//  - names and values end at a NUL byte; lines before the first section form a section without
//    a header;
//  - the file is written as "[name]" CR LF and "name=value" (or "name") CR LF lines, without
//    blank lines; a UTF-8 byte-order mark stays.
// Lookups take the first matching section and, in it, the first matching key, comparing ASCII
// letters without regard to case; a value read loses one pair of surrounding quotes (" or ').
#include "files/ini_file.h"
#include "platform/ascii.h"
#include "platform/file_path.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace qv {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 0x09 && u <= 0x0D) || u == 0x1A || u == ' ';
}

std::string_view TrimLeft(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && IsBlank(s[i]))
        ++i;
    return s.substr(i);
}

std::string_view TrimRight(std::string_view s) {
    size_t n = s.size();
    while (n > 0 && IsBlank(s[n - 1]))
        --n;
    return s.substr(0, n);
}

std::string_view Trim(std::string_view s) {
    return TrimRight(TrimLeft(s));
}

// Names and values are C strings to the Windows routines.
std::string_view UpToNul(std::string_view s) {
    return s.substr(0, s.find('\0'));
}

struct Entry {
    std::string name;
    std::optional<std::string> value; // none for a line without '='
};

struct Section {
    std::string name; // empty for the lines before the first header
    std::vector<Entry> entries;
};

struct Profile {
    bool utf8Bom = false;
    std::vector<Section> sections;
};

Profile Parse(std::string_view text) {
    Profile profile;
    if (text.starts_with(kUtf8Bom)) {
        profile.utf8Bom = true;
        text.remove_prefix(kUtf8Bom.size());
    }
    if (text.empty())
        return profile;
    profile.sections.emplace_back();
    bool previousNameEmpty = false; // of the section's last entry, when it has one
    bool sectionHasEntry = false;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
        const std::string_view line = Trim(text.substr(pos, end - pos));
        pos = std::min(text.find_first_not_of("\r\n", end), text.size());
        if (line.empty())
            continue;
        if (line.front() == '[') {
            const size_t close = line.rfind(']');
            if (close != std::string_view::npos) {
                profile.sections.push_back(
                    {std::string(UpToNul(Trim(line.substr(1, close - 1)))), {}});
                sectionHasEntry = false;
                continue;
            }
        }
        std::string_view name = line;
        std::optional<std::string_view> value;
        if (const size_t eq = line.find('='); eq != std::string_view::npos) {
            name = TrimRight(line.substr(0, eq));
            value = TrimLeft(line.substr(eq + 1));
        }
        if (name.empty() && sectionHasEntry && previousNameEmpty)
            continue;
        Entry entry{std::string(UpToNul(name)), std::nullopt};
        if (value)
            entry.value = std::string(UpToNul(*value));
        previousNameEmpty = entry.name.empty();
        sectionHasEntry = true;
        profile.sections.back().entries.push_back(std::move(entry));
    }
    return profile;
}

std::string Serialize(const Profile& profile) {
    std::string out;
    if (profile.utf8Bom)
        out += kUtf8Bom;
    for (const Section& section : profile.sections) {
        if (!section.name.empty())
            out += "[" + section.name + "]\r\n";
        for (const Entry& entry : section.entries) {
            out += entry.name;
            if (entry.value)
                out += "=" + *entry.value;
            out += "\r\n";
        }
    }
    return out;
}

Section* FindSection(Profile& profile, std::string_view name) {
    for (Section& section : profile.sections) {
        if (AsciiEqualNoCase(section.name, name))
            return &section;
    }
    return nullptr;
}

Entry* FindEntry(Section& section, std::string_view name) {
    for (Entry& entry : section.entries) {
        if (AsciiEqualNoCase(entry.name, name))
            return &entry;
    }
    return nullptr;
}

std::string Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

// Reads a regular file whole (the stream library may throw on a read error, e.g. on a folder).
bool ReadWholeFile(std::fstream& file, std::string& text) {
    try {
        text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        return !file.bad();
    } catch (const std::exception&) {
        return false;
    }
}

bool WriteWholeFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    return !out.fail();
}

// Windows never writes a file whose read-only attribute is set, whoever asks; here a file
// without any write permission stands for it (the system itself would let root write it).
bool IsReadOnly(std::filesystem::perms mode) {
    using std::filesystem::perms;
    return (mode & (perms::owner_write | perms::group_write | perms::others_write)) == perms::none;
}

std::string ReadProfile(Profile& profile, std::string_view section, std::string_view key) {
    Section* found = FindSection(profile, Trim(UpToNul(section)));
    if (!found)
        return {};
    const Entry* entry = FindEntry(*found, Trim(UpToNul(key)));
    return entry && entry->value ? Unquote(*entry->value) : std::string();
}

// False when the key already holds the value (nothing to write).
bool WriteProfile(Profile& profile, std::string_view section, std::string_view key,
                  std::string_view value) {
    section = UpToNul(section);
    key = UpToNul(key);
    value = TrimLeft(UpToNul(value));
    Entry* entry = nullptr;
    // New names are stored as given less their leading blanks (as the Windows routines do).
    if (Section* found = FindSection(profile, Trim(section))) {
        entry = FindEntry(*found, Trim(key));
        if (!entry)
            entry = &found->entries.emplace_back(Entry{std::string(TrimLeft(key)), std::nullopt});
    } else {
        Section& added = profile.sections.emplace_back(Section{std::string(TrimLeft(section)), {}});
        entry = &added.entries.emplace_back(Entry{std::string(TrimLeft(key)), std::nullopt});
    }
    if (entry->value && *entry->value == value)
        return false;
    entry->value = std::string(value);
    return true;
}

} // namespace

std::string ReadIniText(std::string_view text, std::string_view section, std::string_view key) {
    Profile profile = Parse(text);
    return ReadProfile(profile, section, key);
}

std::optional<std::string> WriteIniText(std::string_view text, std::string_view section,
                                        std::string_view key, std::string_view value) {
    Profile profile = Parse(text);
    if (!WriteProfile(profile, section, key, value))
        return std::nullopt;
    return Serialize(profile);
}

struct IniDocument::Parsed {
    Profile profile;
};

IniDocument::IniDocument(std::string_view text) : parsed_(std::make_unique<Parsed>()) {
    parsed_->profile = Parse(text);
}

IniDocument::~IniDocument() = default;

std::string IniDocument::Read(std::string_view section, std::string_view key) const {
    return ReadProfile(parsed_->profile, section, key);
}

bool IniDocument::Write(std::string_view section, std::string_view key, std::string_view value) {
    WriteProfile(parsed_->profile, section, key, value);
    return true;
}

std::string IniDocument::Text() const {
    return Serialize(parsed_->profile);
}

namespace {

// The file's time and size when it was last parsed: the Windows routines likewise keep the
// last file parsed and parse it again only when it has changed, so a whole parameter set is read
// from one parse instead of one per key.
struct FileStamp {
    std::filesystem::file_time_type time;
    uintmax_t size = 0;
    bool operator==(const FileStamp&) const = default;
};

std::atomic<uint64_t> parseCount{0};

class PortableIniFile final : public IniFile {
public:
    explicit PortableIniFile(const std::string& path) : path_(FsPath(path)) {}

    std::string Read(std::string_view section, std::string_view key) const override {
        namespace fs = std::filesystem;
        std::error_code error;
        if (!fs::is_regular_file(path_, error))
            return {};
        const FileStamp stamp{fs::last_write_time(path_, error), fs::file_size(path_, error)};
        if (error)
            return {};
        if (!cached_ || cachedStamp_ != stamp) {
            std::fstream file(path_, std::ios::in | std::ios::binary);
            std::string text;
            if (!file || !ReadWholeFile(file, text))
                return {};
            cached_ = Parse(text);
            cachedStamp_ = stamp;
            parseCount.fetch_add(1, std::memory_order_relaxed);
        }
        return ReadProfile(*cached_, section, key);
    }

    bool Write(std::string_view section, std::string_view key, std::string_view value) override {
        cached_.reset();
        namespace fs = std::filesystem;
        std::error_code error;
        const fs::file_status status = fs::status(path_, error);
        std::string text;
        if (fs::exists(status)) {
            // Opened for writing as the Windows routines do, so an unchanged value in a file
            // that cannot be written fails too.
            if (!fs::is_regular_file(status) || IsReadOnly(status.permissions()))
                return false;
            std::fstream file(path_, std::ios::in | std::ios::out | std::ios::binary);
            if (!file)
                return false;
            if (!ReadWholeFile(file, text))
                return false;
        }
        const std::optional<std::string> updated = WriteIniText(text, section, key, value);
        return !updated || WriteWholeFile(path_, *updated);
    }

private:
    std::filesystem::path path_;
    mutable std::optional<Profile> cached_;
    mutable FileStamp cachedStamp_;
};

} // namespace

std::unique_ptr<IniFile> OpenPortableIniFile(const std::string& path) {
    return std::make_unique<PortableIniFile>(path);
}

uint64_t PortableIniParses() {
    return parseCount.load(std::memory_order_relaxed);
}

} // namespace qv
