#include "files/wave_chunk_walk.h"

#include "files/little_endian.h"
#include "files/wave_format_info.h"
#include "files/wave_reader_messages.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>

namespace qv {

namespace {

constexpr uint64_t kUint64Max = std::numeric_limits<uint64_t>::max();
constexpr int64_t kInt64Max = std::numeric_limits<int64_t>::max();

bool Is(const uint8_t* p, const char* id) {
    return std::memcmp(p, id, 4) == 0;
}

uint64_t SaturatingAdd(uint64_t a, uint64_t b) {
    return b > kUint64Max - a ? kUint64Max : a + b;
}

struct ChunkHeader {
    uint8_t id[4];
    uint32_t size;
    uint64_t padded; // size + 1 when odd; 0xFFFFFFFF stays as it is
    uint64_t position;
    int level;
};

class ChunkWalker {
public:
    ChunkWalker(WaveByteSource& source, WaveParse& out)
        : source_(source), out_(out), fileSize_(source.Size()) {}

    std::string Run(bool anyRiffForm) {
        out_.record.fileSize = fileSize_;
        uint8_t header[12];
        if (Read(header, sizeof header) < sizeof header)
            return kWaveErrHeader;
        std::memcpy(out_.record.header.data(), header, sizeof header);
        riffSizeField_ = ReadLe32(header + 4);
        if (Is(header, "RIFF") && (Is(header + 8, "WAVE") || anyRiffForm)) {
            out_.isRf64 = false;
        } else if (Is(header, "RF64") && riffSizeField_ == 0xFFFFFFFFu && Is(header + 8, "WAVE")) {
            out_.isRf64 = true;
        } else {
            return kWaveErrNotRiff;
        }
        // The remaining byte count of each nesting level; level 1 is the RIFF form's content.
        levels_.assign(1, int64_t{riffSizeField_} - 4);
        for (;;) {
            while (!levels_.empty() && levels_.back() <= 0)
                levels_.pop_back();
            if (levels_.empty())
                break;
            ChunkHeader chunk{};
            chunk.position = position_;
            chunk.level = static_cast<int>(levels_.size());
            uint8_t raw[8];
            if (Read(raw, sizeof raw) < sizeof raw) {
                if (dataSeen_)
                    break; // trailing bytes after the data are no chunk
                return kWaveErrNoData;
            }
            std::memcpy(chunk.id, raw, 4);
            chunk.size = ReadLe32(raw + 4);
            chunk.padded = uint64_t{chunk.size} + ((chunk.size & 1u) && chunk.size != 0xFFFFFFFFu);
            if (chunk.padded == 0)
                break;
            if (const char* error = Handle(chunk))
                return error;
        }
        Finish();
        return {};
    }

private:
    size_t Read(void* destination, size_t size) {
        const size_t got = source_.Read(destination, size);
        position_ += got;
        return got;
    }

    bool SeekTo(uint64_t position) {
        if (!source_.Seek(position))
            return false;
        position_ = position;
        return true;
    }

    // Takes bytes from the current level, which is left once nothing remains.
    void Consume(int level, uint64_t bytes) {
        int64_t& remaining = levels_[static_cast<size_t>(level - 1)];
        remaining = remaining > 0 && bytes < static_cast<uint64_t>(remaining)
                        ? remaining - static_cast<int64_t>(bytes)
                        : 0;
    }

    // Nullptr when the record already holds its 400 entries.
    ChunkEntry* NewEntry(const ChunkHeader& chunk) {
        std::vector<ChunkEntry>& entries = out_.record.entries;
        if (entries.size() >= kMaxChunkEntries)
            return nullptr;
        ChunkEntry& entry = entries.emplace_back();
        entry.number = static_cast<uint32_t>(entries.size());
        entry.level = chunk.level;
        entry.position = chunk.position;
        std::memcpy(entry.identifier.data(), chunk.id, 4);
        entry.sizeField = chunk.size;
        return &entry;
    }

    // Reads size bytes into the entry. The buffer never exceeds what the file still holds, so a
    // size field cannot make us allocate more than the file justifies. False on a short read.
    bool ReadContent(ChunkEntry& entry, uint64_t size) {
        const uint64_t available = position_ < fileSize_ ? fileSize_ - position_ : 0;
        entry.content.resize(static_cast<size_t>(std::min(size, available)));
        entry.bytesRead = Read(entry.content.data(), entry.content.size());
        entry.content.resize(static_cast<size_t>(entry.bytesRead));
        return entry.bytesRead == size;
    }

    // Steps over the pad byte of an odd chunk that was read completely.
    void SkipPad(const ChunkHeader& chunk, const ChunkEntry& entry) {
        if (chunk.padded > chunk.size && entry.bytesRead == chunk.size) {
            uint8_t pad;
            Read(&pad, 1);
        }
    }

    const char* Handle(const ChunkHeader& chunk) {
        const uint8_t* id = chunk.id;
        if (Is(id, "LIST") && chunk.size >= 4)
            return List(chunk);
        if (Is(id, "data") && !dataSeen_)
            return Data(chunk);
        ChunkEntry* entry = NewEntry(chunk);
        if (entry == nullptr)
            return kWaveErrTableFull;
        const char* error = nullptr;
        if (Is(id, "ds64") && out_.isRf64) {
            error = Ds64(chunk, *entry);
        } else if (Is(id, "JUNK") && !out_.isRf64) {
            error = ReadContent(*entry, chunk.size) ? nullptr : kWaveErrDs64Junk;
        } else if (Is(id, "fmt ")) {
            error = Fmt(chunk, *entry);
        } else if (Is(id, "fact") && chunk.size == 4) {
            error = ReadContent(*entry, chunk.size) ? nullptr : kWaveErrFact;
        } else if (Is(id, "cue ") && chunk.size != 4) {
            error = Cue(chunk, *entry);
        } else if (Is(id, "bext")) {
            out_.hasBext = true;
            error = ReadContent(*entry, chunk.size) ? nullptr : kWaveErrBext;
        } else if (!ReadContent(*entry, chunk.size) && !dataSeen_) {
            // After the data, a chunk cut off by the end of the file is simply the end.
            error = kWaveErrOther;
        }
        if (error != nullptr)
            return error;
        SkipPad(chunk, *entry);
        Consume(chunk.level, chunk.padded + 8);
        return nullptr;
    }

    const char* List(const ChunkHeader& chunk) {
        if (chunk.level >= kMaxChunkLevel)
            return kWaveErrNesting;
        ChunkEntry* entry = NewEntry(chunk);
        if (entry == nullptr)
            return kWaveErrTableFull;
        const uint64_t payload = position_;
        if (!ReadContent(*entry, chunk.size))
            return kWaveErrList;
        std::memcpy(entry->listType.data(), entry->content.data(), 4);
        const uint64_t subChunkBytes = chunk.size - 4u;
        if (!out_.cues.empty() && Is(entry->content.data(), "adtl") && subChunkBytes >= 8)
            ReadAssociatedData(entry->content.data() + 4, subChunkBytes);
        if (!SeekTo(payload + 4))
            return kWaveErrCannotSeek;
        // The parent gives up the whole list at once, so that after the list its count matches
        // the file position again and the walk stops at the end of the RIFF form.
        Consume(chunk.level, chunk.padded + 8);
        levels_.push_back(static_cast<int64_t>(subChunkBytes));
        return nullptr;
    }

    // "labl" and "ltxt" of an "adtl" list name and size the cue points met before it.
    void ReadAssociatedData(const uint8_t* p, uint64_t length) {
        uint64_t at = 0;
        while (length - at >= 8) {
            const uint8_t* id = p + at;
            const uint32_t size = ReadLe32(p + at + 4);
            const uint64_t body = at + 8;
            const uint64_t available = length - body;
            if (Is(id, "labl") && size >= 4 && available >= 4) {
                const uint64_t textBytes =
                    std::min<uint64_t>({size - 4u, kMaxCueLabel, available - 4});
                // The text ends at its NUL or at the byte limit, whichever comes first.
                const uint8_t* text = p + body + 4;
                const uint8_t* end = std::find(text, text + textBytes, uint8_t{0});
                const std::string label(text, end);
                for (CuePoint& cue : out_.cues) {
                    if (cue.identifier == ReadLe32(p + body))
                        cue.label = label;
                }
            } else if (Is(id, "ltxt") && available >= 8) {
                for (CuePoint& cue : out_.cues) {
                    if (cue.identifier == ReadLe32(p + body))
                        cue.length = ReadLe32(p + body + 4);
                }
            }
            const uint64_t padded = uint64_t{size} + (size & 1u);
            if (padded > available)
                break;
            at = body + padded;
        }
    }

    const char* Ds64(const ChunkHeader& chunk, ChunkEntry& entry) {
        if (!ReadContent(entry, chunk.size) || chunk.size < 24)
            return kWaveErrDs64Junk;
        Ds64Values& ds64 = out_.record.ds64;
        ds64.riffSize = ReadLe64(entry.content.data());
        ds64.dataSize = ReadLe64(entry.content.data() + 8);
        ds64.sampleCount = ReadLe64(entry.content.data() + 16);
        ds64Seen_ = true;
        levels_[0] = ds64.riffSize > static_cast<uint64_t>(kInt64Max)
                         ? kInt64Max
                         : static_cast<int64_t>(ds64.riffSize) - 4;
        return nullptr;
    }

    const char* Fmt(const ChunkHeader& chunk, ChunkEntry& entry) {
        if (chunk.padded < 16 || chunk.padded > 50 || riffSizeField_ == 0) {
            std::snprintf(fmtError_, sizeof fmtError_, kWaveErrFmtSize,
                          static_cast<int>(static_cast<int32_t>(chunk.padded)),
                          static_cast<int>(static_cast<int32_t>(riffSizeField_)));
            return fmtError_;
        }
        if (!ReadContent(entry, chunk.size))
            return kWaveErrFmt;
        out_.format = WaveFormatRecord{};
        std::memcpy(&out_.format, entry.content.data(),
                    std::min<size_t>(entry.content.size(), sizeof(WaveFormatRecord)));
        out_.floatBits = FloatBitsOf(out_.format);
        fmtSeen_ = true;
        return nullptr;
    }

    const char* Cue(const ChunkHeader& chunk, ChunkEntry& entry) {
        if (!ReadContent(entry, chunk.size))
            return kWaveErrCue;
        out_.cues.clear();
        if (chunk.size < 4)
            return nullptr;
        const uint8_t* p = entry.content.data();
        const uint64_t count =
            std::min<uint64_t>({ReadLe32(p), kMaxCuePoints, (uint64_t{chunk.size} - 4) / 24});
        for (uint64_t i = 0; i < count; ++i) {
            const uint8_t* point = p + 4 + 24 * i;
            out_.cues.push_back({ReadLe32(point), ReadLe32(point + 4), {}, 0});
        }
        return nullptr;
    }

    // The first data chunk: its size (from ds64 in an RF64 file), cut to what the file holds;
    // its first and last bytes go into the record and the walk goes on after it.
    const char* Data(const ChunkHeader& chunk) {
        ChunkEntry* entry = NewEntry(chunk);
        if (entry == nullptr)
            return kWaveErrTableFull;
        const uint64_t payload = position_;
        uint64_t chunkSize = chunk.size;
        uint64_t padded = chunk.padded;
        if (out_.isRf64 && chunk.size == 0xFFFFFFFFu && ds64Seen_) {
            chunkSize = out_.record.ds64.dataSize;
            padded = SaturatingAdd(chunkSize, chunkSize & 1u);
        }
        out_.dataOffset = payload;
        out_.dataSize = std::min(chunkSize, payload < fileSize_ ? fileSize_ - payload : 0);
        out_.record.bytesBeforeData = payload;
        dataSeen_ = true;

        const uint64_t ends = std::min<uint64_t>(kDataSampleBytes, out_.dataSize);
        if (!ReadContent(*entry, ends))
            return kWaveErrData;
        DataTailEntry& tail = out_.record.dataTail;
        tail.position = payload + out_.dataSize - ends;
        if (!SeekTo(tail.position))
            return kWaveErrCannotSeek;
        tail.content.resize(static_cast<size_t>(ends));
        if (Read(tail.content.data(), tail.content.size()) != ends)
            return kWaveErrOther;
        // Past the end of the file the next header read comes back short and ends the walk.
        if (!SeekTo(SaturatingAdd(payload, padded)))
            return kWaveErrCannotSeek;
        Consume(chunk.level, SaturatingAdd(padded, 8));
        return nullptr;
    }

    void Finish() {
        out_.formatPlayable = fmtSeen_ && dataSeen_ && IsPlayableFormat(out_.format);
        out_.silenceByte = out_.format.bitsPerSample == 8 ? 0x80 : 0;
        static_cast<WaveFileSummary&>(out_.record) = out_;
    }

    WaveByteSource& source_;
    WaveParse& out_;
    const uint64_t fileSize_;
    uint64_t position_ = 0;
    uint32_t riffSizeField_ = 0;
    std::vector<int64_t> levels_;
    bool dataSeen_ = false;
    bool fmtSeen_ = false;
    bool ds64Seen_ = false;
    char fmtError_[96] = {};
};

} // namespace

std::string WalkWaveChunks(WaveByteSource& source, bool anyRiffForm, WaveParse& out) {
    try {
        ChunkWalker walker(source, out);
        return walker.Run(anyRiffForm);
    } catch (const std::bad_alloc&) {
        out.formatPlayable = false;
        return kWaveErrNoMemory;
    }
}

} // namespace qv
