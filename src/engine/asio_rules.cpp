#include "engine/asio_rules.h"

#include <algorithm>
#include <cstdio>

namespace qv {

int AsioBitCode(int32_t sampleType) {
    switch (sampleType) {
    case 16:
        return 16;
    case 17:
        return 24;
    case 18:
    case 24:
    case 25:
    case 26:
    case 27:
        return 32;
    case 19:
        return -32;
    case 20:
        return -64;
    default:
        return 0;
    }
}

int AsioSampleBytes(int32_t sampleType) {
    switch (sampleType) {
    case 0:
    case 16:
        return 2;
    case 1:
    case 17:
        return 3;
    case 4:
    case 20:
        return 8;
    default:
        return 4;
    }
}

std::string AsioListName(std::string_view name) {
    if (name.size() <= 32)
        return std::string(name);
    return std::string(name.substr(0, 28)) + "...";
}

std::string AsioBitLengthRefusal(int streamBits, bool streamFloat, int asioBits) {
    const int bits = streamFloat ? 24 : streamBits;
    if (bits <= std::abs(asioBits))
        return {};
    char text[64];
    std::snprintf(text, sizeof text, "Unsupported bit length. [%s%d]", streamFloat ? "F" : "",
                  streamBits);
    return text;
}

int AsioUsedOutputs(int channels, bool monoAsStereo, int firstChannel, int outputs) {
    const int c = channels == 1 && monoAsStereo ? 2 : channels;
    return std::max(0, std::min(c, outputs - firstChannel));
}

int32_t AsioMessageAnswer(int32_t selector, int32_t value) {
    switch (selector) {
    case 1: // is a selector supported
        return value >= 2 && value <= 9 ? 1 : 0;
    case 2: // the host's engine version
        return 2;
    case 3: // reset request
    case 4: // buffer size change
    case 5: // resync request
    case 6: // latencies changed
    case 7: // supports time information
    case 9:
        return 1;
    default: // 8: time code is not taken
        return 0;
    }
}

uint64_t AsioPosition(uint64_t delivered, int bufferFrames, int64_t msSinceSwitch,
                      double sampleRate) {
    if (delivered == 0)
        return 0;
    const int64_t bufferMs = std::max<int64_t>(1, int64_t(bufferFrames) * 1000 /
                                                      std::max<int64_t>(1, int64_t(sampleRate)));
    const int64_t ms = std::clamp<int64_t>(msSinceSwitch, 0, 1000);
    return delivered + uint64_t(int64_t(bufferFrames) * ms / bufferMs);
}

std::string AsioInfoText(const AsioInfo& i) {
    const double rate = i.sampleRate > 0 ? i.sampleRate : 1;
    char text[1024];
    std::snprintf(text, sizeof text,
                  "========= ASIO Information =========\n[ %s ]\n\n"
                  "Input Channels:\t %d\nOutput Channels:\t %d\n"
                  "Sample Rate:\t %d\nBits/Sample:\t %d  (type:%d)\n"
                  "Buffer size min:\t %d\n               max:\t %d\n        preferred:\t %d\n"
                  "       granuarity:\t %d\n"
                  "Input Latency:\t %d  (%3.1fms)\nOutput Latency:\t %d  (%3.1fms)\n"
                  "OutputReady support:  %s",
                  i.driverName.c_str(), i.inputs, i.outputs, int(i.sampleRate), i.bits, i.firstType,
                  i.bufferMin, i.bufferMax, i.bufferPreferred, i.bufferGranularity, i.inputLatency,
                  i.inputLatency / rate * 1000, i.outputLatency, i.outputLatency / rate * 1000,
                  i.outputReady ? "yes" : "no");
    return text;
}

} // namespace qv
