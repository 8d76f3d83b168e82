// The render format shared by the generator, the device engine, the file writers and the
// display, and the 40-byte stream format record in which it is handed on.
#pragma once

#include <array>
#include <cstdint>

namespace qv {

constexpr uint16_t kFormatTagPcm = 1;
constexpr uint16_t kFormatTagFloat = 3;
constexpr uint16_t kFormatTagExtensible = 0xFFFE;

// Laid out like the platform's extensible wave format (little-endian, no padding).
#pragma pack(push, 1)
struct WaveFormatRecord {
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    uint16_t extensionSize = 0;
    uint16_t validBits = 0;
    uint32_t channelMask = 0;
    std::array<uint8_t, 16> subFormat{};
};
#pragma pack(pop)
static_assert(sizeof(WaveFormatRecord) == 40);

// KSDATAFORMAT_SUBTYPE_PCM / _IEEE_FLOAT in their stored byte order.
extern const std::array<uint8_t, 16> kSubFormatPcm;
extern const std::array<uint8_t, 16> kSubFormatFloat;

// The lowest n speaker bits (8 channels give 0xFF, not a 7.1 layout).
uint32_t ChannelMaskFor(uint16_t channels);

// An extensible record that leaves its valid bits at 0 gets every bit of its samples as valid.
void FillValidBits(WaveFormatRecord& format);

// Extensible form of a plain record; a record already extensible is returned unchanged.
WaveFormatRecord ToExtensible(const WaveFormatRecord& plain);

struct OutputFormat {
    uint32_t sampleRate = 44100;
    uint16_t channels = 2;
    int32_t bitCode = 16; // 8, 16, 24, 32; -32 for 32-bit float
    uint16_t bitsPerSample = 16;
    uint16_t formatTag = kFormatTagPcm;
    uint16_t blockAlign = 4;
    uint32_t avgBytesPerSec = 176400;
    double fullScale = 32767.0;
};

// Fills the derived fields from rate, bit code and channel count.
OutputFormat MakeOutputFormat(uint32_t sampleRate, int32_t bitCode, uint16_t channels);

// Full scale of a bit code: 127, 32767, 8388607 (24-bit and F32), 2147483647.
double FullScaleFor(int32_t bitCode);

// The stream record of a format: plain for one or two channels, extensible above.
WaveFormatRecord ToFormatRecord(const OutputFormat& format);

} // namespace qv
