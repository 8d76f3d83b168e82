// Loading a user wave for Wave1 or Wave5 from a WAV file or a text-format sample file: the
// conversion to doubles in -1 ... 1, the messages, and the texts the registration shows.
#pragma once

#include "generator/output_format.h"
#include "generator/user_wave_set.h"
#include "platform/app_title.h"
#include "platform/language.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace qv {

class KeyState;
class Ui;

// The hint of a user-wave slot with no file registered.
inline constexpr Text2 kUserWaveNotRegistered{"ユーザー波形 未登録", "User wave not registered"};

// Why a registration runs (the dialog's registration request).
enum class UserWaveRequest : int {
    FromParamFile = -1, // opening a parameter file: the dialog closes by itself afterwards
    Chosen = 0,         // a file chosen with "Open" or dropped onto the dialog
    Deferred = 1,       // the registration deferred at start-up
    NoFile = 2,         // the button, with no file registered: nothing is loaded
};

struct UserWaveLoadEnvironment {
    Ui& ui;
    const KeyState& keys; // Ctrl: the WAV reader accepts other RIFF form types
    int languageIndex = 1;
    std::string appTitle = kAppTitle;
    std::function<void(uint64_t position, uint64_t maximum)> progress; // may be empty
};

// Loads set.userWavePath: as a WAV file through the WAV reader (converted in chunks of one
// second), or, when the reader rejects it, as a text-format file. NoFile loads nothing. On
// failure the set is cleared and its path emptied. True when a file was registered.
bool LoadUserWave(UserWaveSet& set, UserWaveRequest request, const UserWaveLoadEnvironment& env);

// A requested registration (a parameter file opened, the deferred start-up registration, or
// the renderer): LoadUserWave, then the stored selection texts are kept when the new file's
// lists hold them, else the first items are taken; the codes follow the texts. Wave5 has the
// modulation-signal list too.
bool RegisterUserWave(UserWaveSet& set, bool modSignalList, UserWaveRequest request,
                      const UserWaveLoadEnvironment& env);

// The text-format path of a load: set.userWavePath read as a ".QVT" sample file into the set
// (format record all zero but the channel count). Messages for a wrong extension, an open,
// memory or read failure; false without touching the set on any failure.
bool LoadUserWaveTextFile(UserWaveSet& set, const UserWaveLoadEnvironment& env);

// The most values a user wave may hold (frames x channels).
constexpr uint64_t kMaxUserWaveValues = 536870910;

// Frames of a source format converted to doubles: 8-bit (b - 128) / 2^7, 16-bit / 2^15, 24-bit
// in the upper bits of an int32 / 2^31, 32-bit / 2^31, float unchanged. Other formats give
// zeros.
void ConvertUserWaveFrames(const uint8_t* bytes, size_t frames, const WaveFormatRecord& format,
                           double* out);

// "Samples: 44100  (44100s/s 16bit 2ch)  1.00sec", or "Samples: N  (Cch)" without a rate; ""
// when nothing is registered.
std::string UserWaveInfoLine(const UserWaveSet& set, int languageIndex);

} // namespace qv
