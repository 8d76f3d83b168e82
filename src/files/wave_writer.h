// Writing a rendered signal into a RIFF/WAVE file, block by block, with a provisional header
// patched at the end so that a cancelled or shortened write still leaves a valid file.
#pragma once

#include "generator/output_format.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace qv {

class KeyState;
class Ui;

// Renders up to bytes into buffer for the given block index; returns the bytes produced.
using FillFunction = std::function<uint32_t(uint8_t* buffer, uint32_t bytes, uint32_t blockIndex)>;

struct WaveWriteJob {
    std::string& lastWaveFile; // the target; an extension fault corrects it for the next try
    OutputFormat format;
    uint32_t rateFactor = 1;   // oversampled write: declared rate x factor
    uint8_t* buffer = nullptr; // writeBlockBytes long
    uint32_t writeBlockBytes = 0;
    uint64_t dataBytes = 0;
    FillFunction fill;
    std::function<void()> afterBlock;                 // display refresh; may be empty
    std::function<void(uint64_t, uint64_t)> progress; // position, maximum; may be empty
    Ui& ui;
    const KeyState& keys;
    int languageIndex = 1;
    std::string caption; // of the messages: "Quorvale - path" during a write
};

// 0 when the file was written completely or the user cancelled, -1 after a reported error.
int WriteWaveFile(WaveWriteJob& job);

// The name ends in "." and the letters, in either case.
bool HasExtension(std::string_view path, std::string_view letters);

// The name cut at the last "." of its file-name part (not a leading one), plus the extension.
std::string ReplaceExtension(std::string_view path, std::string_view dotExtension);

} // namespace qv
