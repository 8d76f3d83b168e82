// Texts of the WASAPI path: one line of English each (a %s takes the name of the failing call's
// code), shown inside the engine's own messages; and the Info button's text.
#pragma once

namespace qv {

inline constexpr const char* kErrNoWasapiOutput = "No WASAPI Output device";
inline constexpr const char* kErrNoWasapiInput = "No WASAPI Input device";
inline constexpr const char* kErrNoWasapiInOut = "No WASAPI Input/Output device";

inline constexpr const char* kErrGetDevice = "Unable to get device.";
inline constexpr const char* kErrActivateClient = "Unable to activate AudioClient.";
inline constexpr const char* kErrDevicePeriod = "Unable to get device period. (%s)";
inline constexpr const char* kErrAlignedSize = "Unable to get buffer size. (%s)";
inline constexpr const char* kErrInitialize = "Unable to initialize. (%s)";
inline constexpr const char* kErrSetEventHandle = "Unable to set event handle.";
inline constexpr const char* kErrBufferSize = "Unable to get buffer size.";
inline constexpr const char* kErrStreamLatency = "Unable to get stream latency.";
inline constexpr const char* kErrActivateClock = "Unable to activate AudioClock.";
inline constexpr const char* kErrRenderClient = "Unable to get render client.";

inline constexpr const char* kErrReleaseBuffer = "Error: ReleaseBuffer()";
inline constexpr const char* kErrClientStop = "Error: AudioClient Stop()";
inline constexpr const char* kErrMmcss = "Error: AvSetMmThreadCharacteristics()";
inline constexpr const char* kErrPadding = "Error: GetCurrentPadding()";

// The task the copy thread registers as with the multimedia class scheduler.
inline constexpr const char* kMmcssTask = "Pro Audio";

inline constexpr const char* kInfoHeader = "========== WASAPI Information ==========\n[ %s ]\n\n";
inline constexpr const char* kInfoChannels = "Output Channels:\t %d%c\n";
inline constexpr const char* kInfoRateBits = "Sample Rate:\t %d\nBits/Sample:\t %d\n";
inline constexpr const char* kInfoFailed = "%s\n\n Error: %s";
inline constexpr const char* kInfoBuffer = "Buffer size min:\t %d  (%3.1fms)\n"
                                           "\t default:\t %d  (%3.1fms)\n"
                                           "\t actual:\t %d  (%3.1fms)\n";
inline constexpr const char* kInfoLatency = "Stream latency:\t %d  (%3.1fms)\n\n";
inline constexpr const char* kInfoMode =
    "Mode:\t\t exclusive-mode\nBuffering:  \t %s\nMMCSS task:\t \"Pro Audio\"\n";
inline constexpr const char* kInfoEventDriven = "event-driven";
inline constexpr const char* kInfoTimerDriven = "timer-driven";
inline constexpr const char* kInfoMaster = "\nMaster Volume:\t %.2fdB  (%.2f)\n";
inline constexpr const char* kInfoChannel = "Ch.%d Volume:\t %.2fdB  (%.2f)\n";
inline constexpr const char* kInfoVolume = "Volume Min:\t %.2fdB\nVolume Max:\t %.2fdB\n"
                                           "Volume Incr:\t %.2fdB\nVolume Step:\t %d\n"
                                           "    Step count:\t %d\nMute:\t\t %s\n"
                                           "Hardware support:\n\t Volume:\t %s\n"
                                           "\t Mute:\t %s\n\t Meter:\t %s";

} // namespace qv
