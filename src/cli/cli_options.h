// qvrender's command line: what to render or play, and how.
#pragma once

#include "cli/play_mode.h"

#include <string>
#include <vector>

namespace qv {

struct CliOptions {
    std::string paramFile; // "" for the default set
    std::string output;    // the WAV or .QVT file; "" with --play or --list-devices
    std::vector<std::string> sets;
    std::string filterFile; // a .QVF drawn in the filter editor: the output passes through it
    int languageIndex = 1;  // English
    bool oversampled = false;
    bool allowMissingWaves = false;
    bool play = false;
    bool listDevices = false;
    PlayOptions playOptions;
};

enum class [[nodiscard]] CliParse{
    Run,
    Help, // the usage text was asked for
    Error // the message is in error
};

CliParse ParseCli(int argc, char** argv, CliOptions& options, std::string& error);

extern const char kUsage[];

} // namespace qv
