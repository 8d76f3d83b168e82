#include "app/user_wave_loader.h"

#include "files/file_messages.h"
#include "files/wave_reader.h"
#include "generator/user_wave_lists.h"
#include "platform/file_checks.h"
#include "platform/language.h"
#include "platform/ui.h"

#include <algorithm>
#include <new>
#include <vector>

namespace qv {

namespace {

// The WAV path: true when the reader took the file (whatever happens after), with loaded telling
// whether samples were registered.
bool LoadWav(UserWaveSet& set, const UserWaveLoadEnvironment& env, bool& loaded) {
    loaded = false;
    WaveReader reader(WaveReaderEnvironment{.ui = env.ui,
                                            .keys = env.keys,
                                            .languageIndex = env.languageIndex,
                                            .appTitle = env.appTitle,
                                            .opener = OpenWaveFileSource});
    WaveFormatRecord format{};
    bool playable = false;
    uint32_t floatBits = 0;
    if (reader.SetSource(set.userWavePath, format, playable, floatBits))
        return false; // not a WAV file the reader can walk: the text format is tried
    const uint64_t frames = reader.GetDataFrameCount();
    const uint16_t channels = format.channels;
    if (frames == 0 || channels == 0)
        return true;
    if (frames * channels > kMaxUserWaveValues) {
        env.ui.Message(kMsgNoMemory(env.languageIndex), env.appTitle, MsgIcon::Warning);
        return true;
    }
    std::vector<double> samples;
    std::vector<uint8_t> chunk;
    // One second a chunk (the sample rate's frames), at least one frame, at most the data.
    const uint64_t chunkFrames = std::clamp<uint64_t>(format.sampleRate, 1, frames);
    try {
        samples.assign(static_cast<size_t>(frames * channels), 0.0);
        chunk.resize(static_cast<size_t>(chunkFrames * format.blockAlign));
    } catch (const std::bad_alloc&) {
        env.ui.Message(kMsgNoMemory(env.languageIndex), env.appTitle, MsgIcon::Warning);
        return true;
    }
    if (!reader.OpenWaveFile(false))
        return true;
    uint64_t done = 0;
    while (done < frames) {
        const uint64_t want = std::min(chunkFrames, frames - done);
        const size_t bytes = static_cast<size_t>(want * format.blockAlign);
        const size_t got = reader.ReadWaveData(chunk.data(), bytes);
        const uint64_t whole = got / format.blockAlign;
        ConvertUserWaveFrames(chunk.data(), static_cast<size_t>(whole), format,
                              samples.data() + done * channels);
        done += whole;
        if (env.progress)
            env.progress(done, frames);
        if (got < bytes)
            break; // a short read ends the data; the rest stays zero
    }
    reader.CloseWaveFile();
    set.userWaveFormat = format;
    set.userWaveChannels = channels;
    set.userWaveFrames = static_cast<uint32_t>(frames);
    set.userWaveSamples = std::move(samples);
    loaded = true;
    return true;
}

} // namespace

bool LoadUserWave(UserWaveSet& set, UserWaveRequest request, const UserWaveLoadEnvironment& env) {
    bool loaded = false;
    if (request != UserWaveRequest::NoFile && !set.userWavePath.empty()) {
        // A file that is not there is said to be missing, not to have a wrong extension.
        if (!FileExists(set.userWavePath))
            env.ui.Message(std::string(kMsgCannotOpen(env.languageIndex)) + "\n\n" +
                               set.userWavePath,
                           env.appTitle, MsgIcon::Warning);
        else if (!LoadWav(set, env, loaded)) {
            set.userWaveFormat = WaveFormatRecord{};
            loaded = LoadUserWaveTextFile(set, env);
        }
    }
    if (!loaded) {
        ClearUserWave(set);
        set.userWavePath.clear();
    }
    return loaded;
}

bool RegisterUserWave(UserWaveSet& set, bool modSignalList, UserWaveRequest request,
                      const UserWaveLoadEnvironment& env) {
    const bool loaded = LoadUserWave(set, request, env);
    const int channels = loaded ? set.userWaveChannels : 0;
    const auto select = [&](const std::vector<UserWaveItem>& items, int32_t& code,
                            std::string& text) {
        if (items.empty())
            return; // an empty list stores nothing
        bool fellBack = false;
        code = SelectionCode(items, text, &fellBack);
        if (fellBack)
            text = items.front().text;
    };
    if (loaded) {
        select(ChannelSelectionItems(channels), set.channelSelection, set.channelSelectionText);
        if (modSignalList)
            select(ModSignalItems(channels), set.modSignalSelection, set.modSignalSelectionText);
    }
    return loaded;
}

} // namespace qv
