// Little-endian fields and samples read from bytes, as RIFF files store them: assembled byte by
// byte, so the host's byte order and alignment never matter.
#pragma once

#include <cstdint>

namespace qv {

constexpr uint16_t ReadLe16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

constexpr uint32_t ReadLe24(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16;
}

constexpr uint32_t ReadLe32(const uint8_t* p) {
    return ReadLe24(p) | static_cast<uint32_t>(p[3]) << 24;
}

constexpr uint64_t ReadLe64(const uint8_t* p) {
    return ReadLe32(p) | uint64_t{ReadLe32(p + 4)} << 32;
}

} // namespace qv
