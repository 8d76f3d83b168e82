// The ASIO path's rules that need no driver: the bit codes of the driver's sample types, how
// the driver list shows long names, which outputs a stream uses, the answers to the driver's
// messages, the position between two buffer switches and the Info text. The path in win/ talks
// to the driver; everything it decides comes from here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

inline constexpr int kMostAsioDrivers = 10;
inline constexpr int kMostAsioChannels = 32;
inline constexpr size_t kAsioNameChars = 127; // a list entry's name
inline constexpr int kAsioUnhandledType = -999;

// The bit code of a driver sample type: 16, 24, 32, -32 (float), -64, or 0 for the big-endian
// types the engine cannot feed.
int AsioBitCode(int32_t sampleType);
// Bytes of one sample of a driver sample type in its buffer.
int AsioSampleBytes(int32_t sampleType);
// A driver's name as the device list shows it: at most 32 characters, a longer one cut to 28
// followed by "...".
std::string AsioListName(std::string_view name);
// The stream's bits against the driver's: a float stream counts as 24 bits. The refusal's
// text when it does not fit, else "".
std::string AsioBitLengthRefusal(int streamBits, bool streamFloat, int asioBits);
// The outputs a stream of channels takes from firstChannel on (two for one channel played as
// stereo), as many as the driver has.
int AsioUsedOutputs(int channels, bool monoAsStereo, int firstChannel, int outputs);
// The driver's message callback: which requests the engine says it takes.
int32_t AsioMessageAnswer(int32_t selector, int32_t value);
// Frames played: those delivered, plus the part of the next buffer the time since the last
// buffer switch stands for (at most a second's worth); 0 before the first switch.
uint64_t AsioPosition(uint64_t delivered, int bufferFrames, int64_t msSinceSwitch,
                      double sampleRate);

// What the Info button shows of a driver opened for the current stream.
struct AsioInfo {
    std::string driverName;
    int inputs = 0, outputs = 0;
    double sampleRate = 0;
    int bits = 0, firstType = 0;
    int bufferMin = 0, bufferMax = 0, bufferPreferred = 0, bufferGranularity = 0;
    int inputLatency = 0, outputLatency = 0;
    bool outputReady = false;
};
std::string AsioInfoText(const AsioInfo& info);

} // namespace qv
