// One sample of the ring in another sample type: read as a 32-bit integer with its bits at the
// top, so that every widening is a shift and exact by construction. The device paths that
// convert while they copy (WASAPI's widening, ASIO's per-channel buffers) share it.
#pragma once

#include "engine/wasapi_formats.h"

#include <cstdint>

namespace qv {

int BytesOf(SampleCode code);
// Float samples come on the 24-bit scale (x * 2^23 truncated and held to 24 bits), as the
// generator renders them.
int32_t ReadTopAligned(const uint8_t* p, SampleCode code);
void WriteTopAligned(uint8_t* p, int32_t v, SampleCode code);

} // namespace qv
