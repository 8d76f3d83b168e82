// Scratch folders, sample streams and whole-file reads for the file tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace qv::test {

class ScratchDir {
public:
    ScratchDir() {
        // ctest runs tests in parallel processes: the name must not repeat across them.
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("qv_text_" + std::to_string(random()) + "_" + std::to_string(random()) + "_" +
                 std::to_string(counter_++));
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string File(const char* name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
    static inline int counter_ = 0;
};

// Raw sample bytes handed out block by block, as the renderer would; stops early after limit.
struct SampleStream {
    std::vector<uint8_t> bytes;
    size_t position = 0;
    size_t limit = SIZE_MAX;
    uint32_t Fill(uint8_t* out, uint32_t wanted) {
        const size_t left = std::min(bytes.size(), limit) - position;
        const uint32_t n = static_cast<uint32_t>(std::min<size_t>(wanted, left));
        std::memcpy(out, bytes.data() + position, n);
        position += n;
        return n;
    }
};

// Pseudo-random bytes with the extreme values of each sample size up front.
inline std::vector<uint8_t> PatternBytes(size_t count, uint32_t seed = 12345) {
    std::vector<uint8_t> b(count);
    for (size_t i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        b[i] = static_cast<uint8_t>(seed >> 16);
    }
    const uint8_t head[] = {0x00, 0x00, 0x00, 0x80, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0};
    std::copy_n(head, std::min(count, sizeof head), b.begin());
    return b;
}

inline std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace qv::test
