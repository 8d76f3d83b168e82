#include "platform/win/hand_over.h"

#include "platform/win/text_conversion.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace qv {

namespace {

bool IsHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

// At most limit characters of text; a surrogate pair counts as one character.
std::wstring_view CutCharacters(std::wstring_view text, size_t limit) {
    size_t i = 0;
    for (size_t characters = 0; i < text.size() && characters < limit; ++characters)
        i += IsHighSurrogate(text[i]) && i + 1 < text.size() ? 2 : 1;
    return text.substr(0, i);
}

// At most limit bytes of a code-page text, without the first half of a double-byte character.
std::string_view CutAnsi(std::string_view text, size_t limit) {
    if (text.size() <= limit)
        return text;
    size_t i = 0;
    while (i < limit) {
        const size_t width = IsDBCSLeadByte(static_cast<BYTE>(text[i])) ? 2 : 1;
        if (i + width > limit)
            break;
        i += width;
    }
    return text.substr(0, i);
}

} // namespace

HandOverRecord::HandOverRecord(const std::string& utf8CommandLine)
    : wide_(Utf8ToWide(utf8CommandLine)) {
    if (std::optional<std::string> ansi = WideToAnsiExactly(wide_);
        ansi && ansi->size() <= kCommandLineLimit) {
        ansi_ = std::move(*ansi);
        data_.dwData = 0;
        data_.cbData = static_cast<DWORD>(ansi_.size() + 1);
        data_.lpData = ansi_.data();
    } else {
        data_.dwData = kHandOverUtf16;
        data_.cbData = static_cast<DWORD>((wide_.size() + 1) * sizeof(wchar_t));
        data_.lpData = wide_.data();
    }
}

LRESULT SendHandOver(HWND target, const std::string& utf8CommandLine) {
    const HandOverRecord record(utf8CommandLine);
    return SendMessageW(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record.Data()));
}

std::string ReadHandOver(const COPYDATASTRUCT& data) {
    if (data.lpData == nullptr || data.cbData == 0)
        return {};
    if (data.dwData == kHandOverUtf16) {
        std::wstring text(data.cbData / sizeof(wchar_t), L'\0');
        std::memcpy(text.data(), data.lpData, text.size() * sizeof(wchar_t));
        text.resize(std::min(text.find(L'\0'), text.size()));
        return WideToUtf8(CutCharacters(text, kCommandLineLimit));
    }
    if (data.dwData != 0)
        return {};
    const char* bytes = static_cast<const char*>(data.lpData);
    const std::string_view text(bytes, strnlen(bytes, data.cbData));
    return WideToUtf8(AnsiToWide(CutAnsi(text, kCommandLineLimit)));
}

std::string CommandLineArguments(std::wstring_view line) {
    size_t i = 0;
    if (i < line.size() && line[i] == L'"') {
        i = line.find(L'"', 1);
        i = i == std::wstring_view::npos ? line.size() : i + 1;
    } else {
        while (i < line.size() && line[i] != L' ' && line[i] != L'\t')
            ++i;
    }
    while (i < line.size() && (line[i] == L' ' || line[i] == L'\t'))
        ++i;
    return WideToUtf8(CutCharacters(line.substr(i), kCommandLineLimit));
}

} // namespace qv
