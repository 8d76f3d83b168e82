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

std::string FromWide(UINT codePage, std::wstring_view text) {
    if (text.empty())
        return {};
    const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                            n, nullptr, nullptr);
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

} // namespace qv
