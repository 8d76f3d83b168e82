// The ASIO path's messages.
#pragma once

namespace qv {

inline constexpr const char* kErrNoAsioDriver = "No ASIO driver";
inline constexpr const char* kErrAsioLoad = "Unable to load: %s";
inline constexpr const char* kErrAsioInit = "Unable to initialize: %s";
inline constexpr const char* kErrAsioCaps = "Unable to get device caps";
inline constexpr const char* kErrAsioChannelInfo = "Unable to get channel info.";
inline constexpr const char* kErrAsioRate = "Unsupported sampling freq. [%d]";
inline constexpr const char* kErrAsioSetRate = "Unable to set sampling freq. to [%d]";
inline constexpr const char* kErrAsioBuffer = "Unable to create ASIO buffer";
inline constexpr const char* kErrAsioInactive = "Buffer is not active";
inline constexpr const char* kErrAsioSampleType = "ASIO Error: Unsupported sample type %d";
inline constexpr const char* kAsioNoDriverName = "No ASIO Driver";

} // namespace qv
