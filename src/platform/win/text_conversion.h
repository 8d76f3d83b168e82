// Texts for the wide-character Windows functions: the core keeps UTF-8 (messages, hints) and
// Shift-JIS (items and labels as the files hold them); windows take UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace qv {

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
// Code page 932 (Shift-JIS); ASCII passes through unchanged.
std::wstring ShiftJisToWide(std::string_view text);
std::string WideToShiftJis(std::wstring_view text);

} // namespace qv
