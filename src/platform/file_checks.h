// What the program asks about files and folders before it opens them. Paths are UTF-8.
#pragma once

#include <string>

namespace qv {

// True when path names an existing file (a folder is not one).
bool FileExists(const std::string& path);

// True when the folder (with or without its trailing separator) can be listed: on Windows its
// "*.*" finds an entry, as for the settings file's remembered folder.
bool CanListFolder(const std::string& folder);

} // namespace qv
