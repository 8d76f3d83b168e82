// A whole file read into memory, with the message a reader shows when that fails.
#pragma once

#include <string>

namespace qv {

// Reads every byte of the file at path (UTF-8) into bytes. Returns "" on success, else the message
// to show: the file cannot be opened or read (each followed by the path), or memory ran out.
std::string ReadWholeFile(const std::string& path, int languageIndex, std::string& bytes);

} // namespace qv
