#include "platform/win/text_conversion.h"

#include <windows.h>

namespace qv {

namespace {

std::wstring ToWide(UINT codePage, std::string_view text) {
    if (text.empty())
        return {};
    const int n =
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                            n);
    return wide;
}

// usedDefault (code pages other than UTF-8 only): set when a character had no spelling.
std::string FromWide(UINT codePage, std::wstring_view text, DWORD flags = 0,
                     BOOL* usedDefault = nullptr) {
    if (text.empty())
        return {};
    const int n = WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, usedDefault);
    std::string bytes(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()),
                            bytes.data(), n, nullptr, usedDefault);
    return bytes;
}

} // namespace

std::wstring Utf8ToWide(std::string_view text) {
    return ToWide(CP_UTF8, text);
}

std::string WideToUtf8(std::wstring_view text) {
    return FromWide(CP_UTF8, text);
}

std::wstring ShiftJisToWide(std::string_view text) {
    return ToWide(932, text);
}

std::string WideToShiftJis(std::wstring_view text) {
    return FromWide(932, text);
}

std::wstring AnsiToWide(std::string_view text) {
    return ToWide(CP_ACP, text);
}

std::string WideToAnsi(std::wstring_view text) {
    return FromWide(CP_ACP, text);
}

std::optional<std::string> WideToAnsiExactly(std::wstring_view text) {
    BOOL usedDefault = FALSE;
    std::string bytes = FromWide(CP_ACP, text, WC_NO_BEST_FIT_CHARS, &usedDefault);
    if (usedDefault || (bytes.empty() && !text.empty()))
        return std::nullopt;
    return bytes;
}

bool IsUtf8(std::string_view text) {
    return text.empty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                               static_cast<int>(text.size()), nullptr, 0) > 0;
}

} // namespace qv
