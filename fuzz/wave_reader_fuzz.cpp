// Arbitrary bytes as a WAV/RF64 file, read the way the user-wave dialog reads it: SetSource, the
// frame count, the data opened again and read in pieces. Failures must be clean (a text, no open
// data); a success must keep every size inside the input and deliver exactly dataSize bytes.
#include "files/wave_byte_source.h"
#include "files/wave_reader.h"
#include "fuzz_ui.h"
#include "platform/key_state.h"
#include "platform/ui.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using SilentUi = qv::fuzz::CountingUi;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SilentUi ui;
    qv::NoKeysDown noKeys;
    qv::CtrlHeld ctrl;
    // The last byte's low bit holds Ctrl down, so other form types are walked too.
    const bool ctrlDown = size > 0 && (data[size - 1] & 1) != 0;
    qv::WaveReader reader(qv::WaveReaderEnvironment{
        ui, ctrlDown ? static_cast<const qv::KeyState&>(ctrl) : noKeys, 1, "Quorvale",
        [&](const std::string&) { return qv::MakeMemoryWaveSource(data, size); }});

    qv::WaveFormatRecord format{};
    bool playable = false;
    uint32_t floatBits = 0;
    if (reader.SetSource("fuzz.wav", format, playable, floatBits)) {
        Check(!reader.GetErrorText().empty() && !reader.DataFileOpen() && ui.messages == 0);
        return 0;
    }
    const qv::WaveParse& parse = reader.Parsed();
    Check(reader.GetErrorText().empty() && !reader.DataFileOpen());
    Check(parse.dataOffset + parse.dataSize <= size || parse.dataSize == 0);
    Check(parse.record.entries.size() <= qv::kMaxChunkEntries);
    Check(parse.cues.size() <= qv::kMaxCuePoints);
    uint64_t recorded = 0;
    for (const qv::ChunkEntry& entry : parse.record.entries) {
        Check(entry.content.size() == entry.bytesRead && entry.bytesRead <= size);
        recorded += entry.bytesRead;
    }
    // Each byte is copied once per list around it at most.
    Check(recorded <= 6 * uint64_t{size});
    for (const qv::CuePoint& cue : parse.cues)
        Check(cue.label.size() <= qv::kMaxCueLabel);
    if (!playable) {
        Check(ui.messages == 1 && !reader.OpenWaveFile(false));
        return 0;
    }
    Check(ui.messages == 0 && format.blockAlign > 0);
    Check(reader.GetDataFrameCount() == parse.dataSize / format.blockAlign);

    Check(reader.OpenWaveFile(false));
    std::vector<uint8_t> piece(static_cast<size_t>(format.blockAlign) * 3);
    uint64_t delivered = 0;
    for (;;) {
        const size_t got = reader.ReadWaveData(piece.data(), piece.size());
        Check(got <= piece.size());
        for (size_t i = got; i < piece.size(); ++i)
            Check(piece[i] == parse.silenceByte);
        for (size_t i = 0; i < got; ++i)
            Check(piece[i] == data[parse.dataOffset + delivered + i]);
        delivered += got;
        if (got < piece.size())
            break;
    }
    Check(delivered == parse.dataSize);
    reader.CloseWaveFile();
    return 0;
}
