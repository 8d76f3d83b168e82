// Texts of the MME path: one line of English each, shown inside the engine's own messages.
#pragma once

namespace qv {

inline constexpr const char* kMmeMapperName = "Wave Mapper";

inline constexpr const char* kErrNoWaveOutput = "No Wave Output device";
inline constexpr const char* kErrNoWaveInput = "No Wave Input device";
inline constexpr const char* kErrNoWaveInOut = "No Wave Input/Output device";

inline constexpr const char* kErrDeviceAlreadyOpened = "Device already opened";
inline constexpr const char* kErrUnsupportedFormat = "Unsupported format:  %5dHz %s%dbit %dch";
inline constexpr const char* kErrUnableToOpen = "Unable to open Wave device";
inline constexpr const char* kErrNoDeviceId = "Unable to get device ID";
inline constexpr const char* kErrNoDeviceCaps = "Unable to get device caps";

inline constexpr const char* kErrPrepareHeader = "Error: waveOutPrepareHeader()";
inline constexpr const char* kErrWrite = "Error: waveOutWrite()";
inline constexpr const char* kErrReset = "Error: waveOutReset()";
inline constexpr const char* kErrPause = "Error: waveOutPause()";
inline constexpr const char* kErrUnprepareHeader = "Error: waveOutUnprepareHeader()";
inline constexpr const char* kErrClose = "Error: waveOutClose()";

} // namespace qv
