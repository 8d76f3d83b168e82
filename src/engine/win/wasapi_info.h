// The device dialog's Info text for a WASAPI endpoint.
#pragma once

#include "engine/device.h"
#include "engine/win/wasapi_endpoints.h"

#include <string>

namespace qv {

// Opens the endpoint and prepares the stream exactly as Play would, without starting it, and
// describes what the device gave: channels, rate and bits after any widening, the periods, the
// buffer and the latency, the mode; detailed adds the endpoint volume. Everything is released
// again. When the preparation fails the text ends with its error; when the endpoint cannot be
// opened it is only the open's message.
std::string WasapiInfoText(const WasapiEndpoints& endpoints, int entry, const StreamSetup& setup,
                           bool detailed);

} // namespace qv
