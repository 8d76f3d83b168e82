// The WAV/RF64 file source of the device engine, used by the user-wave dialog: SetSource parses a
// file and hands out its format, then the sample bytes of its data chunk are read in pieces.
// Call order: SetSource, GetDataFrameCount, OpenWaveFile (current source, no message),
// ReadWaveData until all frames have come or fewer bytes than asked, CloseWaveFile.
#pragma once

#include "files/wave_byte_source.h"
#include "files/wave_chunk_walk.h"
#include "generator/output_format.h"
#include "platform/app_title.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace qv {

class KeyState;
class Ui;

struct WaveReaderEnvironment {
    Ui& ui;               // the not-playable warning
    const KeyState& keys; // Ctrl held: RIFF files of any form type are read
    int languageIndex = 1;
    std::string appTitle = kAppTitle;
    WaveSourceOpener opener = OpenWaveFileSource;
};

class WaveReader {
public:
    explicit WaveReader(WaveReaderEnvironment env);
    WaveReader(const WaveReader&) = delete;
    WaveReader& operator=(const WaveReader&) = delete;

    // File form of SetSource: parses fileName (showing the warning when it is not playable PCM).
    // True = failed, with the reason in GetErrorText(). Otherwise the file becomes the current
    // source and format, formatPlayable and floatBits are handed out (formatPlayable false for a
    // file that is not playable PCM).
    bool SetSource(const std::string& fileName, WaveFormatRecord& format, bool& formatPlayable,
                   uint32_t& floatBits);

    // Parses the current source (or fileName) and opens its data for ReadWaveData. A file that
    // is not playable PCM gives true after the warning when showMessage is set (with no data
    // open), false without it. False on a failure, with GetErrorText() set.
    bool OpenWaveFile(bool showMessage);
    bool OpenWaveFile(const std::string& fileName, bool showMessage);

    // Delivers up to byteCount sample bytes and fills the rest of buffer with the silence byte;
    // returns the sample bytes. 0 with no open data, and after a read error (the data is closed).
    size_t ReadWaveData(void* buffer, size_t byteCount);

    // Whole frames of data; 0 when the format has no block align.
    uint64_t GetDataFrameCount() const;

    void CloseWaveFile();

    const std::string& GetErrorText() const { return errorText_; }
    const std::string& FileName() const { return fileName_; }
    // The last parse: format, flags, data position and size, cue points, chunk record.
    const WaveParse& Parsed() const { return parse_; }
    uint64_t DataRemaining() const { return dataRemaining_; }
    bool DataFileOpen() const { return dataFile_ != nullptr; }
    // The last SetSource failed / a file is the current source / a format has been handed out.
    bool Failed() const { return failed_; }
    bool FileMode() const { return fileMode_; }
    bool FormatSet() const { return formatSet_; }

    // Frees the chunk record and the rest of the last parse (the engine does so at its end).
    void FreeParse() { parse_ = WaveParse{}; }

private:
    bool Parse(const std::string& fileName);

    WaveReaderEnvironment env_;
    std::string fileName_;
    std::string errorText_;
    WaveParse parse_;
    std::unique_ptr<WaveByteSource> dataFile_;
    uint64_t dataRemaining_ = 0;
    bool failed_ = false;
    bool fileMode_ = false;
    bool formatSet_ = false;
};

} // namespace qv
