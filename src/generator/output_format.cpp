#include "generator/output_format.h"

namespace qv {

const std::array<uint8_t, 16> kSubFormatPcm = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                               0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
const std::array<uint8_t, 16> kSubFormatFloat = {0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                                 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

uint32_t ChannelMaskFor(uint16_t channels) {
    if (channels >= 32)
        return 0xFFFFFFFFu;
    return (1u << channels) - 1u;
}

void FillValidBits(WaveFormatRecord& format) {
    if (format.formatTag == kFormatTagExtensible && format.validBits == 0)
        format.validBits = format.bitsPerSample;
}

WaveFormatRecord ToExtensible(const WaveFormatRecord& plain) {
    if (plain.formatTag == kFormatTagExtensible)
        return plain;
    WaveFormatRecord ext{}; // the first 18 bytes (the plain record) carry over
    ext.channels = plain.channels;
    ext.sampleRate = plain.sampleRate;
    ext.avgBytesPerSec = plain.avgBytesPerSec;
    ext.blockAlign = plain.blockAlign;
    ext.bitsPerSample = plain.bitsPerSample;
    ext.formatTag = kFormatTagExtensible;
    ext.extensionSize = 22;
    ext.validBits = plain.bitsPerSample;
    ext.channelMask = ChannelMaskFor(plain.channels);
    ext.subFormat = plain.formatTag == kFormatTagFloat ? kSubFormatFloat : kSubFormatPcm;
    return ext;
}

double FullScaleFor(int32_t bitCode) {
    switch (bitCode) {
    case 8:
        return 127.0;
    case 24:
        return 8388607.0;
    case 32:
        return 2147483647.0;
    case -32:
        return 8388607.0; // float is rendered on the 24-bit scale
    default:
        return 32767.0;
    }
}

OutputFormat MakeOutputFormat(uint32_t sampleRate, int32_t bitCode, uint16_t channels) {
    OutputFormat f;
    f.sampleRate = sampleRate;
    f.channels = channels;
    f.bitCode = bitCode;
    f.bitsPerSample = static_cast<uint16_t>(bitCode < 0 ? -bitCode : bitCode);
    f.formatTag = bitCode == -32 ? kFormatTagFloat : kFormatTagPcm;
    f.blockAlign = static_cast<uint16_t>(channels * f.bitsPerSample / 8);
    f.avgBytesPerSec = f.blockAlign * sampleRate;
    f.fullScale = FullScaleFor(bitCode);
    return f;
}

WaveFormatRecord ToFormatRecord(const OutputFormat& format) {
    WaveFormatRecord r{};
    r.formatTag = format.formatTag;
    r.channels = format.channels;
    r.sampleRate = format.sampleRate;
    r.avgBytesPerSec = format.avgBytesPerSec;
    r.blockAlign = format.blockAlign;
    r.bitsPerSample = format.bitsPerSample;
    return format.channels > 2 ? ToExtensible(r) : r;
}

} // namespace qv
