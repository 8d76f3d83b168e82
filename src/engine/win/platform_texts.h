// Texts of the engine's start-up tests.
#pragma once

namespace qv {

inline constexpr const char* kErrLoadAvrt = "Unable to load 'Avrt.dll'. \n\n  (LoadLibrary: %d)";
inline constexpr const char* kErrAvrtSetEntry =
    "Unable to find DLL entry \"AvSetMmThreadCharacteristics()\". \n\n  (GetProcAddress: %d)";
inline constexpr const char* kErrAvrtRevertEntry =
    "Unable to find DLL entry \"AvRevertMmThreadCharacteristics()\". \n\n  (GetProcAddress: %d)";
inline constexpr const char* kMsgFreeAvrt = "Unable to free 'Avrt.dll'. \n\n  (FreeLibrary: %d)";
inline constexpr const char* kEngineCaption = "WavePlayRec";

inline constexpr const char* kErrNeedDirectX7 = "DirectX 7 or later required";
inline constexpr const char* kErrNeedVistaSp1 = "Windows Vista SP1 or later required";

} // namespace qv
