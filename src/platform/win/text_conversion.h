// Texts for the wide-character Windows functions: the core keeps UTF-8 (messages, hints, paths)
// and Shift-JIS (items and labels as the files hold them); windows take UTF-16.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv {

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
// Code page 932 (Shift-JIS); ASCII passes through unchanged.
std::wstring ShiftJisToWide(std::string_view text);
std::string WideToShiftJis(std::wstring_view text);
// The system code page (CP_ACP), converted as the "A" functions of the system convert.
std::wstring AnsiToWide(std::string_view text);
std::string WideToAnsi(std::wstring_view text);
// The text in the system code page only when that spells every character as it is (no
// best-fit look-alike, no default character); nothing otherwise.
std::optional<std::string> WideToAnsiExactly(std::wstring_view text);
// True when the bytes are valid UTF-8.
bool IsUtf8(std::string_view text);

} // namespace qv
