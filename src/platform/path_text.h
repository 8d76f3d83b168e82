// Paths inside the program's own files. Their texts are 8-bit strings of the system code page
// (that is how the parameter and settings files keep every text); a path that the code page
// cannot spell goes in as UTF-8 instead, so that no path is lost. Away from Windows file names
// are UTF-8 already and both directions keep the bytes as they are.
#pragma once

#include <string>

namespace qv {

// A UTF-8 path as the file keeps it: in the system code page when that spells every character
// (and the text cannot be taken for UTF-8 on the way back), else the UTF-8 itself.
std::string PathToFileText(const std::string& path);

// A path read from a file, as UTF-8: a text that is valid UTF-8 and holds a byte beyond ASCII is
// UTF-8; anything else is read in the system code page.
std::string PathFromFileText(const std::string& text);

} // namespace qv
