// The formats a WASAPI exclusive stream offers its device, and the sample types the ring and the
// device meet in. The device may take a wider sample type than the stream's: the path then
// converts while it copies (ring_copy.h). No platform types, so that the rules are tested
// natively.
#pragma once

#include "generator/output_format.h"

#include <cstdint>

namespace qv {

// How samples are stored: 8-bit unsigned, 16/24 (packed)/32-bit signed, 32-bit IEEE float.
enum class SampleCode : uint8_t { U8, S16, S24, S32, F32 };

// The stream's sample code: float when the source marks float bits or the record says float,
// else by the bits per sample.
SampleCode StreamSampleCode(const WaveFormatRecord& format, uint32_t floatBits);
// The device's sample code from the format it was initialised with.
SampleCode DeviceSampleCode(const WaveFormatRecord& format);

// The first format offered for a stream: always the extensible form (exclusive mode takes
// nothing else reliably); one channel on two when monoAsStereo; 8 bits as 16, since devices
// take 8-bit samples seldom and the copy widens them exactly.
WaveFormatRecord FirstDeviceFormat(const WaveFormatRecord& stream, bool monoAsStereo);

// After the device refused `offered`: the next format to try, widened in place. Integer
// samples grow by 8 bits up to 32 (every narrower value is exact in a wider sample); a float
// stream falls back once to 24-bit integers, which carry the generator's float samples
// exactly, and then widens as integers do. False when nothing is left to offer.
bool NextDeviceFormat(WaveFormatRecord& offered);

} // namespace qv
