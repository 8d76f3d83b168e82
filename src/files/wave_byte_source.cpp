#include "files/wave_byte_source.h"

#include "platform/file_path.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace qv {

namespace {

// 64-bit positions on both C runtimes (msvcrt's fseek/ftell are 32-bit).
bool SeekFile(std::FILE* file, uint64_t position, int origin) {
    if (position > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()))
        return false;
#ifdef _WIN32
    return _fseeki64(file, static_cast<__int64>(position), origin) == 0;
#else
    return fseeko(file, static_cast<off_t>(position), origin) == 0;
#endif
}

int64_t TellFile(std::FILE* file) {
#ifdef _WIN32
    return _ftelli64(file);
#else
    return ftello(file);
#endif
}

class FileSource final : public WaveByteSource {
public:
    FileSource(std::FILE* file, uint64_t size) : file_(file), size_(size) {}
    ~FileSource() override { std::fclose(file_); }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    uint64_t Size() const override { return size_; }

    size_t Read(void* destination, size_t size) override {
        const uint64_t left = position_ < size_ ? size_ - position_ : 0;
        const size_t wanted = static_cast<size_t>(std::min<uint64_t>(size, left));
        if (wanted == 0)
            return 0;
        const size_t got = std::fread(destination, 1, wanted, file_);
        position_ += got;
        return got;
    }

    bool Seek(uint64_t position) override {
        // Beyond the end nothing can be read anyway; the C runtime need not go there.
        if (!SeekFile(file_, std::min(position, size_), SEEK_SET))
            return false;
        position_ = position;
        return true;
    }

private:
    std::FILE* file_;
    uint64_t size_;
    uint64_t position_ = 0;
};

class MemorySource final : public WaveByteSource {
public:
    MemorySource(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    uint64_t Size() const override { return size_; }

    size_t Read(void* destination, size_t size) override {
        const uint64_t left = position_ < size_ ? size_ - position_ : 0;
        const size_t n = static_cast<size_t>(std::min<uint64_t>(size, left));
        if (n > 0)
            std::memcpy(destination, data_ + position_, n);
        position_ += n;
        return n;
    }

    bool Seek(uint64_t position) override {
        position_ = position;
        return true;
    }

private:
    const uint8_t* data_;
    uint64_t size_;
    uint64_t position_ = 0;
};

} // namespace

std::unique_ptr<WaveByteSource> OpenWaveFileSource(const std::string& path) {
    if (path.empty())
        return nullptr;
#ifndef _WIN32
    // Opening a FIFO would wait for a writer, a directory opens but reads nothing: only
    // regular files are files here.
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return nullptr;
#endif
#ifdef _WIN32
    // The C runtime's "rb" opens without denying other readers on Windows as well; the wide open
    // takes the name whatever the code page.
    std::FILE* file = _wfopen(FsPath(path).c_str(), L"rb");
#else
    std::FILE* file = std::fopen(path.c_str(), "rb");
#endif
    if (file == nullptr)
        return nullptr;
    // A file whose end cannot be found (a pipe, a device) is not a file we can read.
    int64_t size = -1;
    if (SeekFile(file, 0, SEEK_END))
        size = TellFile(file);
    if (size < 0 || !SeekFile(file, 0, SEEK_SET)) {
        std::fclose(file);
        return nullptr;
    }
    return std::make_unique<FileSource>(file, static_cast<uint64_t>(size));
}

std::unique_ptr<WaveByteSource> MakeMemoryWaveSource(const uint8_t* data, size_t size) {
    return std::make_unique<MemorySource>(data, size);
}

} // namespace qv
