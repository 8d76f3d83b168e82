// Letter case of ASCII text: names, keys and extensions compare without regard to case, and
// only A-Z/a-z fold, whatever the locale, so a byte of a Shift-JIS text never changes.
#pragma once

#include <string>
#include <string_view>

namespace qv {

constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool AsciiEqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

// Appends text with its letters in lower case.
inline void AppendAsciiLower(std::string& out, std::string_view text) {
    for (const char c : text)
        out += AsciiLower(c);
}

inline std::string AsciiLowered(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    AppendAsciiLower(out, text);
    return out;
}

} // namespace qv
