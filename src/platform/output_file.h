// A file written from start to end by the writers: created replacing any old file, written in
// pieces whose short writes are reported (never retried forever), and rewound once to patch a
// header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qv {

class OutputFile {
public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile() { Close(); }

    // Replaces an existing file; write access, not shared with other writers.
    bool Create(const std::string& path);
    // Bytes actually written; fewer than size means the medium refused the rest.
    size_t Write(const void* data, size_t size);
    bool SeekToStart();
    void Close();
    bool IsOpen() const { return handle_ != kInvalid; }

private:
    // Hands the bytes on in pieces until all are written or a piece writes nothing; writePiece
    // (p, n) returns the bytes it wrote, 0 when the medium refused them.
    template <typename WritePiece>
    size_t WriteInPieces(const void* data, size_t size, WritePiece writePiece) {
        if (!IsOpen())
            return 0;
        const char* p = static_cast<const char*>(data);
        size_t done = 0;
        while (done < size) {
            const size_t n = writePiece(p + done, size - done);
            if (n == 0)
                break;
            done += n;
        }
        return done;
    }

    static constexpr intptr_t kInvalid = -1;
    intptr_t handle_ = kInvalid;
};

bool RemoveFile(const std::string& path);

// Bytes available to the current user on the volume that holds directory; 0 when unknown.
uint64_t FreeBytesForUser(const std::string& directory);

} // namespace qv
