#include "files/text_writer.h"

#include "files/file_messages.h"
#include "files/little_endian.h"
#include "files/text_format.h"
#include "files/write_report.h"
#include "platform/output_file.h"
#include "platform/ui.h"

#include <charconv>
#include <cstring>

namespace qv {

namespace {

constexpr int kValuesPerLine = 10;
// The longest value text: a float near its largest magnitude with seven decimals, a sign and
// a comma fit easily.
constexpr size_t kMaxValueText = 64;

std::string HeaderLine(const char* key, const std::string& value) {
    return std::string("\"") + key + "\"," + value + "\r\n";
}

std::string BuildHeader(const OutputFormat& format, uint64_t frames) {
    const bool isFloat = format.bitCode == -32;
    const uint32_t max = isFloat ? 1u : 1u << (format.bitsPerSample - 1);
    return HeaderLine(kTextKeyFormat, "1.00") +
           HeaderLine(kTextKeyRate, std::to_string(format.sampleRate)) +
           HeaderLine(kTextKeyBits, (isFloat ? "-" : "") + std::to_string(format.bitsPerSample)) +
           HeaderLine(kTextKeyChannels, std::to_string(format.channels)) +
           HeaderLine(kTextKeySamples, std::to_string(frames)) +
           HeaderLine(kTextKeyMax, std::to_string(max)) +
           HeaderLine(kTextKeyData, std::to_string(frames * format.channels));
}

// Appends one sample as text followed by a comma; returns the new end. Integers as stored
// (8-bit without its offset of 128), floats in fixed point with seven decimals. to_chars
// rounds exactly and ignores the locale, so both C runtimes write the same text.
char* AppendValue(char* out, const uint8_t* p, int32_t bitCode) {
    char* const end = out + kMaxValueText - 1;
    std::to_chars_result r{};
    switch (bitCode) {
    case 8:
        r = std::to_chars(out, end, int{p[0]} - 128);
        break;
    case 16:
        r = std::to_chars(out, end, static_cast<int16_t>(ReadLe16(p)));
        break;
    case 24: {
        int32_t v = static_cast<int32_t>(ReadLe24(p));
        if (v & 0x800000)
            v -= 0x1000000;
        r = std::to_chars(out, end, v);
        break;
    }
    case 32:
        r = std::to_chars(out, end, static_cast<int32_t>(ReadLe32(p)));
        break;
    default: {
        float f;
        std::memcpy(&f, p, sizeof f);
        r = std::to_chars(out, end, static_cast<double>(f), std::chars_format::fixed, 7);
        break;
    }
    }
    *r.ptr = ',';
    return r.ptr + 1;
}

} // namespace

int WriteTextFile(TextWriteJob& job) {
    const BlockWriteJob& blocks = job.blocks;
    const WriteReporter report{blocks.ui, blocks.caption, blocks.languageIndex};
    if (!report.ExtensionFits(job.lastTextFile, "QVT", kMsgNotQvtExtension))
        return -1;
    // Text files get no disk-space check: their size depends on the values.
    const std::string path = job.lastTextFile;
    OutputFile file;
    if (!report.Create(file, path))
        return -1;
    const std::string header = BuildHeader(job.format, job.frames);
    if (file.Write(header.data(), header.size()) != header.size())
        return report.FailWrite(file, path);

    const uint32_t sampleBytes = job.format.bitsPerSample / 8u;
    const uint32_t blockAlign = job.format.blockAlign;
    char line[kValuesPerLine * kMaxValueText + 1];
    char* lineEnd = line;
    int lineValues = 0;
    // The line's last comma becomes CR LF.
    auto writeLine = [&] {
        lineEnd[-1] = '\r';
        *lineEnd++ = '\n';
        const auto size = static_cast<size_t>(lineEnd - line);
        lineEnd = line;
        lineValues = 0;
        return file.Write(line, size) == size;
    };

    // The text of a block is made on the writer's thread; the progress counts on the caller's.
    const BlocksEnd end =
        WriteBlocks(
            blocks, job.frames * blockAlign,
            [&](uint64_t written) {
                if (blocks.progress)
                    blocks.progress(written / blockAlign, job.frames);
            },
            [&](const uint8_t* p, uint32_t size) {
                for (uint32_t n = size / sampleBytes; n > 0; --n, p += sampleBytes) {
                    lineEnd = AppendValue(lineEnd, p, job.format.bitCode);
                    if (++lineValues == kValuesPerLine && !writeLine())
                        return false;
                }
                return true;
            })
            .end;
    if (end == BlocksEnd::WriteFailed || (lineValues > 0 && !writeLine()))
        return report.FailWrite(file, path);

    return report.Finish(file, end == BlocksEnd::Cancelled, path);
}

} // namespace qv
