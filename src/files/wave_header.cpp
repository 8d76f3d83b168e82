#include "files/wave_header.h"

#include <cstring>

namespace qv {

namespace {

void Put16(std::vector<uint8_t>& b, uint16_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutTag(std::vector<uint8_t>& b, const char* tag) {
    b.insert(b.end(), tag, tag + 4);
}

} // namespace

size_t WaveHeaderSize(uint16_t channels) {
    return channels > 2 ? 68 : 44;
}

std::vector<uint8_t> BuildWaveHeader(const OutputFormat& format, uint32_t rateFactor,
                                     uint32_t dataBytes) {
    const bool extensible = format.channels > 2;
    std::vector<uint8_t> h;
    h.reserve(68);
    PutTag(h, "RIFF");
    Put32(h, dataBytes + (extensible ? 60 : 36));
    PutTag(h, "WAVE");
    PutTag(h, "fmt ");
    Put32(h, extensible ? 40 : 16);
    Put16(h, extensible ? kFormatTagExtensible : format.formatTag);
    Put16(h, format.channels);
    Put32(h, format.sampleRate * rateFactor);
    Put32(h, format.avgBytesPerSec * rateFactor);
    Put16(h, format.blockAlign);
    Put16(h, format.bitsPerSample);
    if (extensible) {
        Put16(h, 22);
        Put16(h, format.bitsPerSample);
        Put32(h, ChannelMaskFor(format.channels));
        const auto& guid = format.formatTag == kFormatTagFloat ? kSubFormatFloat : kSubFormatPcm;
        h.insert(h.end(), guid.begin(), guid.end());
    }
    PutTag(h, "data");
    Put32(h, dataBytes);
    return h;
}

} // namespace qv
