// What a parse of a WAV/RF64 file leaves behind besides the format: the cue points with their
// labels, the ds64 values and a record of every chunk met, in file order.
#pragma once

#include "generator/output_format.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

constexpr size_t kMaxChunkEntries = 400;
constexpr size_t kMaxCuePoints = 100;
constexpr size_t kMaxCueLabel = 40;
constexpr size_t kDataSampleBytes = 512; // bytes kept from each end of the data chunk
constexpr int kMaxChunkLevel = 6;        // a LIST met at this level is one level too deep

struct CuePoint {
    uint32_t identifier = 0;
    uint32_t position = 0;
    std::string label;   // from "labl", at most kMaxCueLabel bytes
    uint32_t length = 0; // from "ltxt"
};

struct Ds64Values {
    uint64_t riffSize = 0;
    uint64_t dataSize = 0;
    uint64_t sampleCount = 0;
};

struct ChunkEntry {
    uint32_t number = 0;   // from 1, in file order
    int level = 1;         // 1 = top level, +1 inside each LIST
    uint64_t position = 0; // of the chunk's header
    std::array<char, 4> identifier{};
    uint32_t sizeField = 0;         // the header's size field
    std::array<char, 4> listType{}; // LIST chunks only
    std::vector<uint8_t> content;   // the bytes read (of "data": the first ones only)
    uint64_t bytesRead = 0;
};

// The last bytes of the data chunk and where they start.
struct DataTailEntry {
    uint64_t position = 0;
    std::vector<uint8_t> content;
};

// What the walk concludes about the file as a whole: both the parse and its record carry it.
struct WaveFileSummary {
    WaveFormatRecord format{}; // the first at most 40 bytes of "fmt ", zero where it has none
    bool formatPlayable = false;
    bool isRf64 = false;
    bool hasBext = false;
};

struct ChunkRecord : WaveFileSummary {
    uint64_t fileSize = 0;
    std::array<uint8_t, 12> header{}; // "RIFF"/"RF64", size field, form type
    std::vector<ChunkEntry> entries;
    DataTailEntry dataTail;
    Ds64Values ds64;
    uint64_t bytesBeforeData = 0;
};

} // namespace qv
