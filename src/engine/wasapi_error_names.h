// The names of the audio-client error codes that the WASAPI path puts into its messages
// ("Unable to initialize. (AUDCLNT_E_DEVICE_IN_USE)"). Plain numbers, so that the table is
// checked without the platform.
#pragma once

#include <cstdint>

namespace qv {

// The code's name, or "" for a code the table does not hold.
const char* WasapiErrorName(uint32_t code);

} // namespace qv
