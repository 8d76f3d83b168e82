// Texts of the WAV/RF64 reader. The error texts are the engine's one-line English error texts
// (the caller shows them); only the not-playable warning is shown by the reader, in both
// languages.
#pragma once

#include "platform/language.h"

namespace qv {

inline constexpr const char* kWaveErrFileNotFound = "file not found";
inline constexpr const char* kWaveErrSeekError = "file seek error";
inline constexpr const char* kWaveErrHeader = "Unable to read file.  (header)";
inline constexpr const char* kWaveErrNotRiff = "Not RIFF/RF64 file";
inline constexpr const char* kWaveErrNoData = "Unknown file format.  (No data)";
inline constexpr const char* kWaveErrTableFull = "Chunk table full.";
inline constexpr const char* kWaveErrNoMemory = "Unable to read file.  (No memory)";
inline constexpr const char* kWaveErrList = "Unknown Wave format.  (LIST)";
inline constexpr const char* kWaveErrCannotSeek = "Unable to seek file.";
inline constexpr const char* kWaveErrNesting = "Sub chunk nesting level over.  (LIST)";
inline constexpr const char* kWaveErrDs64Junk = "Unable to read file.  (ds64/JUNK)";
// printf form: the padded chunk size, then the RIFF size field, both as signed 32-bit values.
inline constexpr const char* kWaveErrFmtSize = "Unknown Wave format.  (fmtsize=%d, fizesize=%d)";
inline constexpr const char* kWaveErrFmt = "Unable to read file.  (fmt)";
inline constexpr const char* kWaveErrFact = "Unknown Wave format.  (fact)";
inline constexpr const char* kWaveErrCue = "Unknown Wave format.  (cue)";
inline constexpr const char* kWaveErrData = "Unknown Wave format.  (data)";
inline constexpr const char* kWaveErrOther = "Unable to read file.  (other)";
inline constexpr const char* kWaveErrBext = "Unable to read file.  (bext)";

inline constexpr Text2 kMsgNotValidPcm{"このファイルは有効なPCMファイルではありません",
                                       "This file is not valid PCM wave file."};

} // namespace qv
