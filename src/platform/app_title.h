// The application title (message captions, and the main window's caption before a file name)
// and the version.
#pragma once

namespace qv {

inline constexpr const char* kAppTitle = "Quorvale";
// The program's version: QV.INI's "Ver" and the release package's name (tools/release).
inline constexpr const char* kProgramVersion = "1.5";

} // namespace qv
