#include "engine/sample_convert.h"

#include <cstring>

namespace qv {

int BytesOf(SampleCode code) {
    switch (code) {
    case SampleCode::U8:
        return 1;
    case SampleCode::S16:
        return 2;
    case SampleCode::S24:
        return 3;
    case SampleCode::S32:
    case SampleCode::F32:
        return 4;
    }
    return 2;
}

int32_t ReadTopAligned(const uint8_t* p, SampleCode code) {
    switch (code) {
    case SampleCode::U8:
        return int32_t(uint32_t(p[0] ^ 0x80u) << 24);
    case SampleCode::S16:
        return int32_t((uint32_t(p[0]) | uint32_t(p[1]) << 8) << 16);
    case SampleCode::S24:
        return int32_t(uint32_t(p[0]) << 8 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 24);
    case SampleCode::S32: {
        int32_t v;
        std::memcpy(&v, p, 4);
        return v;
    }
    case SampleCode::F32: {
        float x;
        std::memcpy(&x, p, 4);
        double v = double(x) * 8388608.0;
        if (v != v)
            v = 0.0; // NaN
        const int32_t s = v >= 8388607.0 ? 8388607 : v <= -8388608.0 ? -8388608 : int32_t(v);
        return int32_t(uint32_t(s) << 8);
    }
    }
    return 0;
}

void WriteTopAligned(uint8_t* p, int32_t v, SampleCode code) {
    const uint32_t u = uint32_t(v);
    switch (code) {
    case SampleCode::U8: // never a device type: 8-bit streams are offered as 16
        p[0] = uint8_t((u >> 24) ^ 0x80u);
        break;
    case SampleCode::S16:
        p[0] = uint8_t(u >> 16), p[1] = uint8_t(u >> 24);
        break;
    case SampleCode::S24:
        p[0] = uint8_t(u >> 8), p[1] = uint8_t(u >> 16), p[2] = uint8_t(u >> 24);
        break;
    case SampleCode::S32:
    case SampleCode::F32:
        std::memcpy(p, &u, 4);
        break;
    }
}

} // namespace qv
