#include "files/wave_writer.h"

#include "files/disk_space.h"
#include "files/file_messages.h"
#include "files/wave_header.h"
#include "files/write_report.h"
#include "platform/ascii.h"
#include "platform/output_file.h"
#include "platform/ui.h"

namespace qv {

bool HasExtension(std::string_view path, std::string_view letters) {
    const size_t n = letters.size();
    if (path.size() < n + 1 || path[path.size() - n - 1] != '.')
        return false;
    return AsciiEqualNoCase(path.substr(path.size() - n), letters);
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
    const BlockWriteJob& blocks = job.blocks;
    const WriteReporter report{blocks.ui, blocks.caption, blocks.languageIndex};
    const uint32_t dataBytes =
        static_cast<uint32_t>(job.dataBytes > 0xFFFFFF00u ? 0xFFFFFF00u : job.dataBytes);
    std::vector<uint8_t> header = BuildWaveHeader(job.format, job.rateFactor, dataBytes);
    const size_t headerSize = header.size();

    if (!report.ExtensionFits(job.lastWaveFile, "WAV", kMsgNotWavExtension))
        return -1;
    if (!CheckDiskSpace(job.lastWaveFile, nullptr, blocks.caption, blocks.languageIndex,
                        uint64_t{dataBytes} + 44, blocks.ui)) {
        return -1;
    }
    const std::string path = job.lastWaveFile;
    OutputFile file;
    if (!report.Create(file, path))
        return -1;
    if (file.Write(header.data(), headerSize) != headerSize)
        return report.FailWrite(file, path);

    const BlocksResult blocksDone = WriteBlocks(
        blocks, dataBytes,
        [&](uint64_t written) {
            if (blocks.progress)
                blocks.progress(headerSize + written, dataBytes);
        },
        [&](const uint8_t* block, uint32_t size) { return file.Write(block, size) == size; });
    if (blocksDone.end == BlocksEnd::WriteFailed)
        return report.FailWrite(file, path);

    header = BuildWaveHeader(job.format, job.rateFactor, static_cast<uint32_t>(blocksDone.written));
    if (!file.SeekToStart() || file.Write(header.data(), headerSize) != headerSize) {
        return report.FailWrite(file, path);
    }
    return report.Finish(file, blocksDone.end == BlocksEnd::Cancelled, path);
}

} // namespace qv
