// The Write command without its dialogs: renders the current parameter set for the length in
// the file-length text into a WAV or a text-format file, block by block through the same fill
// operation that feeds the sound device.
#pragma once

#include "platform/app_title.h"

#include <cstdint>
#include <functional>
#include <string>

namespace qv {

class Generator;
class KeyState;
class Ui;

struct WriteEnvironment {
    Ui& ui;
    const KeyState& keys;
    int languageIndex;
    std::string appTitle = kAppTitle;
    std::function<void(uint64_t position, uint64_t maximum)> progress;
    std::function<void()> afterBlock; // the display refresh after each block
};

// Writes lastWaveFile (which an extension fault corrects for the next attempt). Returns 0 when
// the file was written or the user cancelled, -1 after a reported failure.
int RunWaveWrite(Generator& generator, std::string& lastWaveFile, const WriteEnvironment& env);

// The same for a text-format file (".QVT"), named by lastTextFile.
int RunTextWrite(Generator& generator, std::string& lastTextFile, const WriteEnvironment& env);

} // namespace qv
