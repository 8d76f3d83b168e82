#include "app/write_command.h"

#include "files/wave_writer.h"
#include "files/write_length.h"
#include "generator/generator.h"

#include <vector>

namespace qv {

int RunWaveWrite(Generator& generator, std::string& lastWaveFile, const WriteEnvironment& env) {
    generator.PrepareGenerator();
    const uint32_t blockBytes = generator.BlockBytes();
    std::vector<uint8_t> buffer(blockBytes);

    const WriteLength length = ComputeWriteLength(generator.texts.fileLength, generator.format, 1);
    if (!length.write)
        return 0;

    WaveWriteJob job{.lastWaveFile = lastWaveFile,
                     .format = generator.format,
                     .rateFactor = 1,
                     .buffer = buffer.data(),
                     .writeBlockBytes = blockBytes,
                     .dataBytes = length.dataBytes,
                     .fill =
                         [&generator](uint8_t* out, uint32_t bytes, uint32_t blockIndex) {
                             return generator.FillOutputBuffer(out, bytes, blockIndex);
                         },
                     .afterBlock = env.afterBlock,
                     .progress = env.progress,
                     .ui = env.ui,
                     .keys = env.keys,
                     .languageIndex = env.languageIndex,
                     .caption = env.appTitle + " - " + lastWaveFile};
    return WriteWaveFile(job);
}

} // namespace qv
