// Writing a rendered signal as a text-format sample file (".QVT"): seven quoted-key header
// lines, then every sample value as a decimal number, ten to a line, all lines ended by CR LF.
#pragma once

#include "files/wave_writer.h"
#include "files/write_blocks.h"
#include "generator/output_format.h"

#include <cstdint>
#include <string>

namespace qv {

struct TextWriteJob {
    std::string& lastTextFile; // the target; an extension fault corrects it for the next try
    OutputFormat format;
    uint64_t frames = 0;
    BlockWriteJob blocks; // progress: frames written, frames
};

// 0 when the file was written or the user cancelled, -1 after a reported error. A cancelled
// file keeps the lines written so far under a header that still states the requested length.
int WriteTextFile(TextWriteJob& job);

} // namespace qv
