// Writing a rendered signal as a text-format sample file (".QVT"): seven quoted-key header
// lines, then every sample value as a decimal number, ten to a line, all lines ended by CR LF.
#pragma once

#include "files/wave_writer.h"
#include "generator/output_format.h"

#include <cstdint>
#include <functional>
#include <string>

namespace qv {

class KeyState;
class Ui;

struct TextWriteJob {
    std::string& lastTextFile; // the target; an extension fault corrects it for the next try
    OutputFormat format;
    uint8_t* buffer = nullptr; // writeBlockBytes long
    uint32_t writeBlockBytes = 0;
    uint64_t frames = 0;
    FillFunction fill;
    std::function<void()> afterBlock;                 // display refresh; may be empty
    std::function<void(uint64_t, uint64_t)> progress; // frames written, frames; may be empty
    Ui& ui;
    const KeyState& keys;
    int languageIndex = 1;
    std::string caption; // of the messages: "Quorvale - path" during a write
};

// 0 when the file was written or the user cancelled, -1 after a reported error. A cancelled
// file keeps the lines written so far under a header that still states the requested length.
int WriteTextFile(TextWriteJob& job);

} // namespace qv
