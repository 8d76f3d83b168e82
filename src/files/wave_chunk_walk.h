// The chunk walk of a RIFF/WAVE or RF64 file: the format, where the sample data lie and how many
// bytes they hold, the cue points and a record of every chunk, read through a byte source.
#pragma once

#include "files/wave_byte_source.h"
#include "files/wave_chunk_record.h"
#include "generator/output_format.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

struct WaveParse : WaveFileSummary {
    uint32_t floatBits = 0;  // bits per sample of IEEE-float samples, else 0
    uint8_t silenceByte = 0; // 0x80 for 8-bit samples
    uint64_t dataOffset = 0; // file position of the first sample byte
    uint64_t dataSize = 0;   // sample bytes, never more than the file holds after dataOffset
    std::vector<CuePoint> cues;
    ChunkRecord record;
};

// Walks the chunks of source into out (which should start empty). anyRiffForm accepts RIFF files
// of any form type (the Ctrl key held). Returns the empty text on success, else the error text;
// what was found before a failure stays in out, with formatPlayable false.
std::string WalkWaveChunks(WaveByteSource& source, bool anyRiffForm, WaveParse& out);

} // namespace qv
