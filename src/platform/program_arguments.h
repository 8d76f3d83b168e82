// The program's command-line arguments as UTF-8 texts (argv[0] first).
#pragma once

#include <string>
#include <vector>

namespace qv {

// Away from Windows argv as given; on Windows the wide command line, so that a name the system
// code page cannot spell arrives whole.
std::vector<std::string> ProgramArguments(int argc, char** argv);

} // namespace qv
