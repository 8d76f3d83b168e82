// The parts of a user-wave load that do not depend on the WAV reader: sample conversion, the
// text-format path, the info line.
#include "app/user_wave_loader.h"

#include "files/file_bytes.h"
#include "files/file_messages.h"
#include "files/little_endian.h"
#include "files/text_format.h"
#include "files/text_format_reader.h"
#include "files/wave_format_info.h"
#include "files/wave_writer.h"
#include "platform/language.h"
#include "platform/ui.h"

#include <cstdio>
#include <cstring>

namespace qv {

namespace {

constexpr Text2 kSamplesLabel{"ｻﾝﾌﾟﾙ数：", "Samples:"};

void Warn(const UserWaveLoadEnvironment& env, const std::string& text) {
    env.ui.Message(text, env.appTitle, MsgIcon::Warning);
}

} // namespace

bool LoadUserWaveTextFile(UserWaveSet& set, const UserWaveLoadEnvironment& env) {
    const int lang = env.languageIndex;
    const std::string& path = set.userWavePath;
    if (!HasExtension(path, "QVT")) {
        Warn(env, std::string(kMsgNotQvtExtension(lang)) + "\n\n" + path);
        return false;
    }
    std::string bytes;
    if (const std::string error = ReadWholeFile(path, lang, bytes); !error.empty()) {
        Warn(env, error);
        return false;
    }
    TextFormatData data;
    if (env.progress)
        env.progress(0, 200);
    const TextReadStatus status =
        ReadTextFormat(path, std::move(bytes), env.ui, lang, env.appTitle, data);
    if (env.progress)
        env.progress(200, 200);
    if (status != TextReadStatus::Ok) {
        // A key line's own problem has been reported by the reader; a missing key, a header
        // out of range or a file shorter than its header says is reported here.
        if (status != TextReadStatus::KeyLineError)
            Warn(env, std::string(kMsgCannotRead(lang)) + "\n\n" + path);
        return false;
    }
    if (data.frames * data.channels > kMaxUserWaveValues) {
        Warn(env, kMsgNoMemory(lang));
        return false;
    }
    set.userWaveFormat = WaveFormatRecord{};
    set.userWaveFormat.channels = data.channels;
    set.userWaveChannels = data.channels;
    set.userWaveFrames = static_cast<uint32_t>(data.frames);
    set.userWaveSamples = std::move(data.samples);
    return true;
}

void ConvertUserWaveFrames(const uint8_t* b, size_t frames, const WaveFormatRecord& f,
                           double* out) {
    const size_t count = frames * f.channels;
    const bool isFloat = IsFloatFormat(f);
    for (size_t i = 0; i < count; ++i) {
        switch (f.bitsPerSample) {
        case 8:
            out[i] = (b[i] - 128) * (1.0 / 128);
            break;
        case 16:
            out[i] = static_cast<int16_t>(ReadLe16(b + 2 * i)) * (1.0 / 32768);
            break;
        case 24: {
            // In the top three bytes, so the sign comes with the shift.
            const uint32_t u = ReadLe24(b + 3 * i) << 8;
            out[i] = static_cast<int32_t>(u) * (1.0 / 2147483648.0);
            break;
        }
        case 32: {
            const uint32_t u = ReadLe32(b + 4 * i);
            if (isFloat) {
                float v;
                std::memcpy(&v, &u, 4);
                out[i] = v;
            } else {
                out[i] = static_cast<int32_t>(u) * (1.0 / 2147483648.0);
            }
            break;
        }
        default:
            out[i] = 0.0;
            break;
        }
    }
}

std::string UserWaveInfoLine(const UserWaveSet& set, int lang) {
    if (set.userWaveFrames == 0)
        return "";
    char line[160];
    const WaveFormatRecord& f = set.userWaveFormat;
    if (f.sampleRate != 0) {
        std::snprintf(line, sizeof line, "%s %u  (%5us/s %s%2ubit %uch)  %.2fsec",
                      kSamplesLabel(lang), set.userWaveFrames, f.sampleRate,
                      IsFloatFormat(f) ? "F" : "", unsigned{f.bitsPerSample},
                      unsigned{set.userWaveChannels},
                      static_cast<double>(set.userWaveFrames) / f.sampleRate);
    } else {
        std::snprintf(line, sizeof line, "%s %u  (%uch)", kSamplesLabel(lang), set.userWaveFrames,
                      unsigned{set.userWaveChannels});
    }
    return line;
}

} // namespace qv
