// Texts of the DirectSound path: one line of English each, shown inside the engine's own
// messages. The unsupported-format and device-caps lines are the MME path's (mme_texts.h).
#pragma once

namespace qv {

inline constexpr const char* kErrNoDsOutput = "No DSound Output device";
inline constexpr const char* kErrNoDsInput = "No DSound Input device";
inline constexpr const char* kErrNoDsInOut = "No DSound Input/Output device";

inline constexpr const char* kErrCreateDs = "Unable to create DirectSound.";
inline constexpr const char* kErrInitializeDs = "Unable to initialize DirectSound.";
inline constexpr const char* kErrCooperativeLevel = "Unable to set Cooperative Level";
inline constexpr const char* kErrCreatePrimary = "Unable to create Primary buffer";
inline constexpr const char* kErrPrimaryFormat = "Unable to set Primary buffer format";

inline constexpr const char* kErrNoBuffer = "No buffer";
inline constexpr const char* kErrRestoreBuffer = "Unable to restore buffer";
inline constexpr const char* kErrLockBuffer = "Unable to lock buffer";

} // namespace qv
