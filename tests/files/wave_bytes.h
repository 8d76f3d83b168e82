// Building RIFF/RF64 files byte by byte for the reader tests, and reading them back through the
// reader from memory.
#pragma once

#include "files/wave_byte_source.h"
#include "files/wave_reader.h"
#include "generator/output_format.h"
#include "platform/key_state.h"
#include "support/fake_ui.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qv::test {

using Bytes = std::vector<uint8_t>;

inline void Put(Bytes& b, std::string_view text) {
    b.insert(b.end(), text.begin(), text.end());
}
inline void Put16(Bytes& b, uint16_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
inline void Put64(Bytes& b, uint64_t v) {
    for (int i = 0; i < 8; ++i)
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
inline void Append(Bytes& b, const Bytes& more) {
    b.insert(b.end(), more.begin(), more.end());
}

// A chunk with its true size and a pad byte when odd.
inline Bytes Chunk(std::string_view id, const Bytes& content) {
    Bytes b;
    Put(b, id);
    Put32(b, static_cast<uint32_t>(content.size()));
    Append(b, content);
    if (content.size() & 1)
        b.push_back(0);
    return b;
}

// A chunk header claiming sizeField, followed by content as it is (no padding).
inline Bytes ChunkClaiming(std::string_view id, uint32_t sizeField, const Bytes& content = {}) {
    Bytes b;
    Put(b, id);
    Put32(b, sizeField);
    Append(b, content);
    return b;
}

inline Bytes List(std::string_view type, const Bytes& subChunks) {
    Bytes content;
    Put(content, type);
    Append(content, subChunks);
    return Chunk("LIST", content);
}

// The 16-byte fmt content (block align and byte rate derived unless given).
inline Bytes FmtContent(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                        int blockAlign = -1) {
    const uint16_t align = blockAlign >= 0 ? static_cast<uint16_t>(blockAlign)
                                           : static_cast<uint16_t>(channels * (bits / 8));
    Bytes b;
    Put16(b, tag);
    Put16(b, channels);
    Put32(b, rate);
    Put32(b, rate * align);
    Put16(b, align);
    Put16(b, bits);
    return b;
}

// The 40-byte extensible fmt content.
inline Bytes ExtensibleFmtContent(uint16_t channels, uint32_t rate, uint16_t bits,
                                  const std::array<uint8_t, 16>& subFormat) {
    Bytes b = FmtContent(kFormatTagExtensible, channels, rate, bits);
    Put16(b, 22);
    Put16(b, bits);
    Put32(b, ChannelMaskFor(channels));
    b.insert(b.end(), subFormat.begin(), subFormat.end());
    return b;
}

// "RIFF", the size field (the true size unless given), the form type and the chunks.
inline Bytes Riff(const Bytes& chunks, std::string_view form = "WAVE", int64_t sizeField = -1) {
    Bytes b;
    Put(b, "RIFF");
    Put32(b, sizeField >= 0 ? static_cast<uint32_t>(sizeField)
                            : static_cast<uint32_t>(chunks.size() + 4));
    Put(b, form);
    Append(b, chunks);
    return b;
}

inline Bytes Ds64Content(uint64_t riffSize, uint64_t dataSize, uint64_t sampleCount) {
    Bytes b;
    Put64(b, riffSize);
    Put64(b, dataSize);
    Put64(b, sampleCount);
    Put32(b, 0); // no table entries
    return b;
}

// "RF64", 0xFFFFFFFF, "WAVE", then the chunks (ds64 among them, made by the caller).
inline Bytes Rf64(const Bytes& chunks) {
    Bytes b;
    Put(b, "RF64");
    Put32(b, 0xFFFFFFFFu);
    Put(b, "WAVE");
    Append(b, chunks);
    return b;
}

// A reader over bytes in memory (the name "mem.wav"; other names are not found), with a
// recording Ui and Ctrl up or held.
struct MemoryWave {
    explicit MemoryWave(Bytes fileBytes, bool ctrlDown = false, int languageIndex = 1)
        : bytes(std::move(fileBytes)),
          reader(WaveReaderEnvironment{
              ui, ctrlDown ? static_cast<const KeyState&>(ctrl) : none, languageIndex, "Quorvale",
              [this](const std::string& name) -> std::unique_ptr<WaveByteSource> {
                  if (name != "mem.wav")
                      return nullptr;
                  return MakeMemoryWaveSource(bytes.data(), bytes.size());
              }}) {}

    // SetSource's result: true = failed.
    bool Set() { return reader.SetSource("mem.wav", format, playable, floatBits); }

    // After SetSource: the data read in pieces of whole frames until a piece comes back short.
    Bytes ReadData(size_t pieceFrames = 3) {
        Bytes out;
        if (!reader.OpenWaveFile(false))
            return out;
        Bytes piece(pieceFrames * reader.Parsed().format.blockAlign);
        for (;;) {
            const size_t got = reader.ReadWaveData(piece.data(), piece.size());
            out.insert(out.end(), piece.begin(), piece.begin() + static_cast<ptrdiff_t>(got));
            if (got < piece.size())
                break;
        }
        reader.CloseWaveFile();
        return out;
    }

    RecordingUi ui;
    NoKeysDown none;
    CtrlHeld ctrl;
    Bytes bytes;
    WaveReader reader;
    WaveFormatRecord format{};
    bool playable = false;
    uint32_t floatBits = 0xDEAD;
};

// A 16-bit file of silent frames at 44100 Hz.
inline void WriteSilentWave(const std::string& path, uint16_t channels, uint32_t frames) {
    Bytes chunks = Chunk("fmt ", FmtContent(1, channels, 44100, 16));
    Append(chunks, Chunk("data", Bytes(size_t{frames} * channels * 2, 0)));
    const Bytes bytes = Riff(chunks);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

} // namespace qv::test
