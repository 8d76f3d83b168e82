// The application title: message captions, and the main window's caption before a file name.
#pragma once

namespace qv {

inline constexpr const char* kAppTitle = "Quorvale";

} // namespace qv
