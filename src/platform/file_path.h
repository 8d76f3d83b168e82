// Paths in memory are UTF-8 texts in a std::string, on every platform. These turn such a text
// into the path the C++ library opens, tests and lists files by, and back: on Windows the
// library then takes the wide (UTF-16) names, so a name beyond ASCII means the same file whatever
// the system code page.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qv {

// The library path of a UTF-8 path; an empty path (which opens nothing) when the text cannot be
// converted (it is not UTF-8).
std::filesystem::path FsPath(std::string_view utf8);

// The UTF-8 text of a library path; "" when it cannot be converted.
std::string Utf8Of(const std::filesystem::path& path);

} // namespace qv
