// What a command line (or a second instance's hand-over) asks for: a parameter file to open, and
// with "/P" to play it, for the given milliseconds or the file length.
#pragma once

#include <string>

namespace qv {

struct CommandLineRequest {
    std::string path;      // "" when the line names no file
    bool autoPlay = false; // the option begins with "/P" (any letter case)
    long playMs = 0;       // the number after "/P"; 0: play for the file-length control's time
};

// The file token is the text between the first two double quotes when the line starts with one,
// else the text up to the first blank; the option is the next blank-delimited token. A name
// that does not start with "\" and has no ":" as its second character is taken relative to
// programDir (which ends with "\").
CommandLineRequest ParseCommandLine(const std::string& line, const std::string& programDir);

// How long a "/P" run plays: its milliseconds, or the file length in seconds when they are 0.
long AutoPlayMilliseconds(const CommandLineRequest& request, double fileLengthSeconds);

} // namespace qv
