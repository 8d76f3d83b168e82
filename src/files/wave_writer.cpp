#include "files/wave_writer.h"

#include "files/disk_space.h"
#include "files/file_messages.h"
#include "files/wave_header.h"
#include "files/write_report.h"
#include "platform/key_state.h"
#include "platform/output_file.h"
#include "platform/ui.h"

namespace qv {

namespace {

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

bool HasExtension(std::string_view path, std::string_view letters) {
    const size_t n = letters.size();
    if (path.size() < n + 1 || path[path.size() - n - 1] != '.')
        return false;
    for (size_t i = 0; i < n; ++i) {
        if (Upper(path[path.size() - n + i]) != Upper(letters[i]))
            return false;
    }
    return true;
}

std::string ReplaceExtension(std::string_view path, std::string_view dotExtension) {
    const size_t nameStart = path.find_last_of("/\\");
    const size_t first = nameStart == std::string_view::npos ? 0 : nameStart + 1;
    const size_t dot = path.find_last_of('.');
    std::string_view base = path;
    if (dot != std::string_view::npos && dot > first)
        base = path.substr(0, dot);
    return std::string(base) + std::string(dotExtension);
}

int WriteWaveFile(WaveWriteJob& job) {
    const WriteReporter report{job.ui, job.caption, job.languageIndex};
    const uint32_t dataBytes =
        static_cast<uint32_t>(job.dataBytes > 0xFFFFFF00u ? 0xFFFFFF00u : job.dataBytes);
    std::vector<uint8_t> header = BuildWaveHeader(job.format, job.rateFactor, dataBytes);
    const size_t headerSize = header.size();

    if (!HasExtension(job.lastWaveFile, "WAV")) {
        report.Report(kMsgNotWavExtension, job.lastWaveFile);
        job.lastWaveFile = ReplaceExtension(job.lastWaveFile, ".WAV");
        return -1;
    }
    if (!CheckDiskSpace(job.lastWaveFile, nullptr, job.caption, job.languageIndex,
                        uint64_t{dataBytes} + 44, job.ui)) {
        return -1;
    }
    const std::string path = job.lastWaveFile;
    OutputFile file;
    if (!file.Create(path)) {
        report.Report(kMsgCannotCreate, path);
        return -1;
    }
    if (file.Write(header.data(), headerSize) != headerSize)
        return report.FailWrite(file, path);

    uint64_t written = headerSize;
    uint64_t remaining = dataBytes;
    uint32_t blockIndex = 0;
    bool cancelled = false;
    while (remaining > 0) {
        uint32_t chunk = static_cast<uint32_t>(
            remaining < job.writeBlockBytes ? remaining : job.writeBlockBytes);
        remaining -= chunk;
        if (job.progress)
            job.progress(written, dataBytes);
        job.ui.PumpMessages();
        const uint32_t produced = job.fill(job.buffer, chunk, blockIndex++);
        if (job.afterBlock)
            job.afterBlock();
        cancelled = job.keys.EscapeDown();
        if (produced != chunk || cancelled) {
            chunk = produced < chunk ? produced : chunk;
            remaining = 0;
        }
        written += chunk;
        if (file.Write(job.buffer, chunk) != chunk)
            return report.FailWrite(file, path);
    }

    header =
        BuildWaveHeader(job.format, job.rateFactor, static_cast<uint32_t>(written - headerSize));
    if (!file.SeekToStart() || file.Write(header.data(), headerSize) != headerSize) {
        return report.FailWrite(file, path);
    }
    return report.Finish(file, cancelled, path);
}

} // namespace qv
