#include "files/wave_format_info.h"

namespace qv {

bool IsFloatFormat(const WaveFormatRecord& format) {
    return format.formatTag == kFormatTagFloat ||
           (format.formatTag == kFormatTagExtensible && format.subFormat == kSubFormatFloat);
}

uint32_t FloatBitsOf(const WaveFormatRecord& format) {
    return IsFloatFormat(format) ? format.bitsPerSample : 0;
}

bool IsPlayableFormat(const WaveFormatRecord& format) {
    const uint16_t bits = format.bitsPerSample;
    switch (format.formatTag) {
    case kFormatTagPcm:
        break;
    case kFormatTagFloat:
        break;
    case kFormatTagExtensible:
        // Another sub-format (compressed, or none in a short record) is not sample data.
        if (format.subFormat != kSubFormatPcm && format.subFormat != kSubFormatFloat)
            return false;
        break;
    default:
        return false;
    }
    const bool bitsOk =
        IsFloatFormat(format) ? bits == 32 : (bits == 8 || bits == 16 || bits == 24 || bits == 32);
    if (!bitsOk || format.channels == 0 || format.sampleRate == 0)
        return false;
    // A frame must be exactly one sample per channel: callers step through the data by the
    // block align and convert each channel's sample by its bit length.
    return format.blockAlign == uint32_t{format.channels} * (bits / 8u);
}

} // namespace qv
