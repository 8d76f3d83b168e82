#include "app/write_command.h"

#include "files/text_writer.h"
#include "files/wave_writer.h"
#include "files/write_length.h"
#include "generator/generator.h"

#include <vector>

namespace qv {

namespace {

// What both targets start from: the prepared generator, one render block of buffer, and the
// length typed in the file-length control.
struct PreparedWrite {
    std::vector<uint8_t> buffer;
    WriteLength length;
};

PreparedWrite PrepareWrite(Generator& generator) {
    generator.PrepareGenerator();
    return {std::vector<uint8_t>(generator.BlockBytes()),
            ComputeWriteLength(generator.texts.fileLength, generator.format, 1)};
}

FillFunction FillFrom(Generator& generator) {
    return [&generator](uint8_t* out, uint32_t bytes, uint32_t blockIndex) {
        return generator.FillOutputBuffer(out, bytes, blockIndex);
    };
}

std::string CaptionFor(const WriteEnvironment& env, const std::string& path) {
    return env.appTitle + " - " + path;
}

} // namespace

int RunWaveWrite(Generator& generator, std::string& lastWaveFile, const WriteEnvironment& env) {
    PreparedWrite prepared = PrepareWrite(generator);
    if (!prepared.length.write)
        return 0;
    WaveWriteJob job{.lastWaveFile = lastWaveFile,
                     .format = generator.format,
                     .rateFactor = 1,
                     .buffer = prepared.buffer.data(),
                     .writeBlockBytes = static_cast<uint32_t>(prepared.buffer.size()),
                     .dataBytes = prepared.length.dataBytes,
                     .fill = FillFrom(generator),
                     .afterBlock = env.afterBlock,
                     .progress = env.progress,
                     .ui = env.ui,
                     .keys = env.keys,
                     .languageIndex = env.languageIndex,
                     .caption = CaptionFor(env, lastWaveFile)};
    return WriteWaveFile(job);
}

int RunTextWrite(Generator& generator, std::string& lastTextFile, const WriteEnvironment& env) {
    PreparedWrite prepared = PrepareWrite(generator);
    if (!prepared.length.write)
        return 0;
    TextWriteJob job{.lastTextFile = lastTextFile,
                     .format = generator.format,
                     .buffer = prepared.buffer.data(),
                     .writeBlockBytes = static_cast<uint32_t>(prepared.buffer.size()),
                     .frames = prepared.length.frames,
                     .fill = FillFrom(generator),
                     .afterBlock = env.afterBlock,
                     .progress = env.progress,
                     .ui = env.ui,
                     .keys = env.keys,
                     .languageIndex = env.languageIndex,
                     .caption = CaptionFor(env, lastTextFile)};
    return WriteTextFile(job);
}

} // namespace qv
