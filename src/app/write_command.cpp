#include "app/write_command.h"

#include "files/text_writer.h"
#include "files/wave_writer.h"
#include "files/write_length.h"
#include "generator/generator.h"
#include "platform/key_state.h"

#include <vector>

namespace qv {

namespace {

// What both targets start from: the prepared generator, its render block size, and the
// length typed in the file-length control.
struct PreparedWrite {
    uint32_t blockBytes;
    WriteLength length;
};

PreparedWrite PrepareWrite(Generator& generator, uint32_t factor) {
    generator.PrepareGenerator();
    return {generator.BlockBytes(),
            ComputeWriteLength(generator.texts.fileLength, generator.format, factor)};
}

// The blocks of a write to path, rendered by the generator.
BlockWriteJob BlocksFor(Generator& generator, PreparedWrite& prepared, const WriteEnvironment& env,
                        const std::string& path) {
    return {.writeBlockBytes = prepared.blockBytes,
            .fill =
                [&generator](uint8_t* out, uint32_t bytes, uint32_t blockIndex) {
                    return generator.FillOutputBuffer(out, bytes, blockIndex);
                },
            .afterBlock = env.afterBlock,
            .progress = env.progress,
            .ui = env.ui,
            .keys = env.keys,
            .languageIndex = env.languageIndex,
            .caption = env.appTitle + " - " + path};
}

} // namespace

int RunWaveWrite(Generator& generator, std::string& lastWaveFile, const WriteEnvironment& env) {
    // Ctrl held: the file keeps the filter's oversampled rate, every filtered frame of it.
    generator.oversampledWrite =
        generator.FilterActive() && generator.overSampleRate > 1 && env.keys.CtrlDown();
    const uint32_t factor = generator.oversampledWrite ? generator.overSampleRate : 1;
    PreparedWrite prepared = PrepareWrite(generator, factor);
    if (!prepared.length.write)
        return 0;
    WaveWriteJob job{.lastWaveFile = lastWaveFile,
                     .format = generator.format,
                     .rateFactor = factor,
                     .dataBytes = prepared.length.dataBytes,
                     .blocks = BlocksFor(generator, prepared, env, lastWaveFile)};
    const int result = WriteWaveFile(job);
    generator.oversampledWrite = false;
    return result;
}

int RunTextWrite(Generator& generator, std::string& lastTextFile, const WriteEnvironment& env) {
    generator.oversampledWrite = false;
    PreparedWrite prepared = PrepareWrite(generator, 1);
    if (!prepared.length.write)
        return 0;
    TextWriteJob job{.lastTextFile = lastTextFile,
                     .format = generator.format,
                     .frames = prepared.length.frames,
                     .blocks = BlocksFor(generator, prepared, env, lastTextFile)};
    return WriteTextFile(job);
}

} // namespace qv
