// Where the WAV reader gets its bytes: a file opened for shared reading, or bytes in memory (the
// fuzz target and tests). Every source knows its size when it is opened and never reads past it,
// so a header field can never make the reader go beyond what the file really holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace qv {

class WaveByteSource {
public:
    virtual ~WaveByteSource() = default;
    // The size noted when the source was opened.
    virtual uint64_t Size() const = 0;
    // Reads up to size bytes at the current position; fewer at the end or on a read error.
    virtual size_t Read(void* destination, size_t size) = 0;
    // A position beyond the end is allowed (reads there give nothing).
    virtual bool Seek(uint64_t position) = 0;
};

// Opens a source by path; nullptr when it cannot be opened.
using WaveSourceOpener = std::function<std::unique_ptr<WaveByteSource>(const std::string& path)>;

// A regular file (path in UTF-8), others may read it at the same time.
std::unique_ptr<WaveByteSource> OpenWaveFileSource(const std::string& path);

// A view of bytes the caller keeps alive for the life of the source.
std::unique_ptr<WaveByteSource> MakeMemoryWaveSource(const uint8_t* data, size_t size);

} // namespace qv
