#include "platform/path_text.h"

#include "platform/win/text_conversion.h"

#include <algorithm>

namespace qv {

namespace {

bool HasNonAscii(const std::string& text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

} // namespace

std::string PathToFileText(const std::string& path) {
    if (!HasNonAscii(path) || !IsUtf8(path))
        return path;
    // The code page's spelling is kept only when it reads back as this path: a code-page text
    // that happens to be valid UTF-8 would be read as UTF-8.
    if (const std::optional<std::string> ansi = WideToAnsiExactly(Utf8ToWide(path))) {
        if (PathFromFileText(*ansi) == path)
            return *ansi;
    }
    return path;
}

std::string PathFromFileText(const std::string& text) {
    if (!HasNonAscii(text) || IsUtf8(text))
        return text;
    return WideToUtf8(AnsiToWide(text));
}

} // namespace qv
