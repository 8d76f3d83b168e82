// The portable INI rules on arbitrary file bytes. Input: one byte choosing the section and key,
// one byte giving the value's length, the value's bytes, then the file's bytes.
// Checked: reads never fail; after a write the key reads back as written; writing the key again
// with another value changes that one line and nothing else; writing the same value again
// changes nothing; other keys read as before.
#include "files/ini_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using qv::ReadIniText;
using qv::WriteIniText;

constexpr std::string_view kSections[] = {"File", "file", "Wave1", "MISC", "New section", "A"};
constexpr std::string_view kKeys[] = {"Name", "name", "Freq", "x", "Key with blanks", "y"};

bool IsBlank(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 0x09 && u <= 0x0D) || u == 0x1A || u == ' ';
}

// A value that reads back as written: one line, no NUL, no blanks at either end and not
// wrapped in quotes (reading drops those).
std::string MakeValue(std::string_view bytes) {
    std::string value;
    for (char c : bytes)
        value += (c == '\r' || c == '\n' || c == '\0') ? '_' : c;
    while (!value.empty() && IsBlank(value.front()))
        value.erase(value.begin());
    while (!value.empty() && IsBlank(value.back()))
        value.pop_back();
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value += '_';
    }
    return value;
}

// The file's non-empty lines (an entry whose name is cut to nothing by a NUL is written as an
// empty line, which the next read drops).
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find("\r\n", pos);
        if (end == std::string_view::npos)
            end = text.size();
        if (end > pos)
            lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

void Check(bool condition) {
    if (!condition)
        std::abort();
}

bool HasUnnamedSection(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        while (!line.empty() && IsBlank(line.front()))
            line.remove_prefix(1);
        const size_t close = line.rfind(']');
        if (line.empty() || line.front() != '[' || close == std::string_view::npos)
            continue;
        std::string_view name = line.substr(1, close - 1);
        while (!name.empty() && IsBlank(name.front()))
            name.remove_prefix(1);
        if (name.empty())
            return true;
    }
    return false;
}

// A file that starts with the bytes of a UTF-8 byte-order mark is read as marked, so a first
// line that only begins with them (an entry, not a mark) is taken apart differently next time.
bool GainsMark(std::string_view before, std::string_view after) {
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    return !before.starts_with(kMark) && after.starts_with(kMark);
}

// `after` is `before` with one line changed to end in "=value".
void CheckOneLineChanged(std::string_view before, std::string_view after,
                         const std::string& value) {
    const auto linesBefore = Lines(before), linesAfter = Lines(after);
    Check(linesBefore.size() == linesAfter.size());
    size_t differing = 0;
    for (size_t i = 0; i < linesBefore.size(); ++i) {
        if (linesBefore[i] != linesAfter[i]) {
            ++differing;
            Check(linesAfter[i].ends_with("=" + value));
        }
    }
    Check(differing == 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string_view section = kSections[data[0] % std::size(kSections)];
    const std::string_view key = kKeys[(data[0] / std::size(kSections)) % std::size(kKeys)];
    const size_t valueLength = std::min<size_t>(data[1], size - 2);
    const std::string value = MakeValue(input.substr(2, valueLength));
    const std::string_view raw = input.substr(2 + valueLength);
    std::string_view text = raw;

    for (std::string_view s : kSections) {
        for (std::string_view k : kKeys)
            (void)ReadIniText(text, s, k);
    }
    (void)ReadIniText(text, "", "");

    // A name or value cut short by a NUL byte may end in blanks, which the next read drops: such
    // a file means what it says only once it has been written again.
    std::string settled;
    if (text.find('\0') != std::string_view::npos) {
        const std::optional<std::string> once = WriteIniText(text, "Settle", "k", "1");
        if (!once || GainsMark(text, *once))
            return 0;
        settled = *once;
        text = settled;
    }

    const std::optional<std::string> written = WriteIniText(text, section, key, value);
    if (!written) {
        Check(ReadIniText(text, section, key) == value);
        return 0;
    }
    // Only a file that starts with a mark has one, so a first line that begins with the mark's
    // bytes after blank lines becomes a mark (and maybe a section header) once the blank lines
    // are gone: such a file means something else after the write, as with the Windows routines.
    if (GainsMark(text, *written))
        return 0;
    Check(ReadIniText(*written, section, key) == value);
    Check(!WriteIniText(*written, section, key, value));

    // Another value replaces the first in place: one line differs, the rest stay byte for byte.
    // (Not yet after the first write when the file had a section without a name: its entries,
    // written without the "[ ]", join the section before, where an entry with an empty name
    // right after another one is dropped.)
    const std::string other = value + "2";
    const std::optional<std::string> rewritten = WriteIniText(*written, section, key, other);
    Check(rewritten.has_value());
    Check(ReadIniText(*rewritten, section, key) == other);
    if (!HasUnnamedSection(raw))
        CheckOneLineChanged(*written, *rewritten, other);
    const std::optional<std::string> restored = WriteIniText(*rewritten, section, key, value);
    Check(restored.has_value());
    if (!GainsMark(*written, *rewritten))
        CheckOneLineChanged(*rewritten, *restored, value);
    for (std::string_view s : kSections) {
        for (std::string_view k : kKeys) {
            if (ReadIniText(*rewritten, s, k) != ReadIniText(*restored, s, k))
                Check(ReadIniText(*restored, s, k) == value);
        }
    }
    return 0;
}
