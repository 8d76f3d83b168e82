// What the file writers show and do when a write cannot go on or was cancelled: a warning with
// the path, and no half-written file left behind after a failure.
#pragma once

#include "platform/language.h"

#include <string>
#include <string_view>

namespace qv {

class OutputFile;
class Ui;

struct WriteReporter {
    Ui& ui;
    const std::string& caption;
    int languageIndex;

    // "%s\n\n%s": the message and the path.
    void Report(const Text2& message, const std::string& path) const;
    // True when target ends in "." and letters (either case); otherwise shows wrongExtension
    // and gives target that extension for the next attempt.
    bool ExtensionFits(std::string& target, std::string_view letters,
                       const Text2& wrongExtension) const;
    // Creates the file; shows "Unable to create file." when it cannot.
    bool Create(OutputFile& file, const std::string& path) const;
    // Closes the file, shows "Unable to write file." and deletes the file; returns -1.
    int FailWrite(OutputFile& file, const std::string& path) const;
    // Closes the file; after a cancel, lets pending messages run and shows "Stop file
    // writing." (the shortened file stays); returns 0.
    int Finish(OutputFile& file, bool cancelled, const std::string& path) const;
};

} // namespace qv
