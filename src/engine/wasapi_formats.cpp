#include "engine/wasapi_formats.h"

namespace qv {

namespace {

// Block align, bytes per second and valid bits after a change of channels or bits.
void Derive(WaveFormatRecord& f) {
    f.blockAlign = uint16_t(f.channels * f.bitsPerSample / 8);
    f.avgBytesPerSec = f.sampleRate * f.blockAlign;
    f.validBits = f.bitsPerSample;
}

// IEEE-float samples: tag 3, or the extensible form with the float sub-format.
bool HoldsFloat(const WaveFormatRecord& f) {
    return f.formatTag == kFormatTagFloat ||
           (f.formatTag == kFormatTagExtensible && f.subFormat == kSubFormatFloat);
}

} // namespace

SampleCode StreamSampleCode(const WaveFormatRecord& format, uint32_t floatBits) {
    if (floatBits != 0 || (HoldsFloat(format) && format.bitsPerSample == 32))
        return SampleCode::F32;
    switch (format.bitsPerSample) {
    case 8:
        return SampleCode::U8;
    case 16:
        return SampleCode::S16;
    case 24:
        return SampleCode::S24;
    default:
        return SampleCode::S32;
    }
}

SampleCode DeviceSampleCode(const WaveFormatRecord& format) {
    return StreamSampleCode(format, 0);
}

WaveFormatRecord FirstDeviceFormat(const WaveFormatRecord& stream, bool monoAsStereo) {
    WaveFormatRecord f = ToExtensible(stream);
    FillValidBits(f);
    if (monoAsStereo && f.channels == 1) {
        f.channels = 2;
        f.channelMask = ChannelMaskFor(2);
    }
    if (f.bitsPerSample == 8)
        f.bitsPerSample = 16;
    Derive(f);
    return f;
}

bool NextDeviceFormat(WaveFormatRecord& offered) {
    if (HoldsFloat(offered)) {
        offered.subFormat = kSubFormatPcm;
        offered.bitsPerSample = 24;
    } else if (offered.bitsPerSample > 8 && offered.bitsPerSample < 32) {
        offered.bitsPerSample = uint16_t(offered.bitsPerSample + 8);
    } else {
        return false;
    }
    Derive(offered);
    return true;
}

} // namespace qv
