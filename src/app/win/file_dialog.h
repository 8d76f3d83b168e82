// The platform's open and save dialogs for one kind of file.
#pragma once

#include <windows.h>

#include <string>

namespace qv {

struct FileKind {
    const wchar_t* description;         // "Wave file (*.WAV)"
    const wchar_t* pattern;             // "*.WAV"
    const wchar_t* extension;           // added to a name typed without one
    const wchar_t* allFiles = nullptr;  // a second kind offered when given: "All files (*.*)"
    const wchar_t* allPattern = L"*.*"; // or another with its own pattern
};

// Asks for a file to open (it must exist) or to save (an existing one is confirmed), starting in
// directory. path holds the offered name and receives the chosen one; both names are UTF-8.
// False when the user cancelled.
bool AskFile(HWND owner, bool save, const wchar_t* title, const FileKind& kind,
             const std::string& directory, std::string& path);

} // namespace qv
