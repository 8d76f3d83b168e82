// Writing a rendered signal into a RIFF/WAVE file, block by block, with a provisional header
// patched at the end so that a cancelled or shortened write still leaves a valid file.
#pragma once

#include "files/write_blocks.h"
#include "generator/output_format.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

struct WaveWriteJob {
    std::string& lastWaveFile; // the target; an extension fault corrects it for the next try
    OutputFormat format;
    uint32_t rateFactor = 1; // oversampled write: declared rate x factor
    uint64_t dataBytes = 0;
    BlockWriteJob blocks; // progress: file position, data bytes
};

// 0 when the file was written completely or the user cancelled, -1 after a reported error.
int WriteWaveFile(WaveWriteJob& job);

// The name ends in "." and the letters, in either case.
bool HasExtension(std::string_view path, std::string_view letters);

// The name cut at the last "." of its file-name part (not a leading one), plus the extension.
std::string ReplaceExtension(std::string_view path, std::string_view dotExtension);

} // namespace qv
