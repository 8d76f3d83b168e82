#include "files/wave_reader.h"

#include "files/wave_reader_messages.h"
#include "platform/key_state.h"
#include "platform/ui.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace qv {

WaveReader::WaveReader(WaveReaderEnvironment env) : env_(std::move(env)) {}

bool WaveReader::Parse(const std::string& fileName) {
    errorText_.clear();
    // Everything of the previous file goes, its format included: a file without "fmt " must not
    // hand out the format of the file before it.
    parse_ = WaveParse{};
    if (fileName.empty())
        return false;
    std::unique_ptr<WaveByteSource> source = env_.opener(fileName);
    if (source == nullptr) {
        errorText_ = kWaveErrFileNotFound;
        return false;
    }
    errorText_ = WalkWaveChunks(*source, env_.keys.CtrlDown(), parse_);
    return errorText_.empty();
}

bool WaveReader::OpenWaveFile(bool showMessage) {
    return OpenWaveFile(std::string(fileName_), showMessage);
}

bool WaveReader::OpenWaveFile(const std::string& fileName, bool showMessage) {
    CloseWaveFile();
    if (!Parse(fileName))
        return false;
    dataRemaining_ = parse_.dataSize;
    if (!parse_.formatPlayable) {
        if (!showMessage)
            return false;
        env_.ui.Message(kMsgNotValidPcm(env_.languageIndex), env_.appTitle, MsgIcon::Warning);
        return true;
    }
    dataFile_ = env_.opener(fileName);
    if (dataFile_ == nullptr) {
        errorText_ = kWaveErrFileNotFound;
        return false;
    }
    if (!dataFile_->Seek(parse_.dataOffset)) {
        dataFile_.reset();
        errorText_ = kWaveErrSeekError;
        return false;
    }
    return true;
}

bool WaveReader::SetSource(const std::string& fileName, WaveFormatRecord& format,
                           bool& formatPlayable, uint32_t& floatBits) {
    errorText_.clear();
    fileName_ = fileName;
    if (!OpenWaveFile(fileName_, true)) {
        failed_ = true;
        return true;
    }
    CloseWaveFile();
    failed_ = false;
    format = parse_.format;
    formatPlayable = parse_.formatPlayable;
    floatBits = parse_.floatBits;
    fileMode_ = true;
    formatSet_ = true;
    return false;
}

size_t WaveReader::ReadWaveData(void* buffer, size_t byteCount) {
    if (dataFile_ == nullptr)
        return 0;
    const size_t m = static_cast<size_t>(std::min<uint64_t>(byteCount, dataRemaining_));
    dataRemaining_ -= m;
    if (dataFile_->Read(buffer, m) < m) {
        CloseWaveFile();
        return 0;
    }
    if (m < byteCount)
        std::memset(static_cast<uint8_t*>(buffer) + m, parse_.silenceByte, byteCount - m);
    return m;
}

uint64_t WaveReader::GetDataFrameCount() const {
    const uint16_t blockAlign = parse_.format.blockAlign;
    return blockAlign == 0 ? 0 : parse_.dataSize / blockAlign;
}

void WaveReader::CloseWaveFile() {
    dataFile_.reset();
}

} // namespace qv
