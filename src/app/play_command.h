// The tool bar's Play and Stop without their buttons: the format check, the preparation, the
// engine started on the chosen device, the "Unable to play." message, the lock of the controls
// that must not change during a run, and their release (with an open that waited for the
// playback to end) when the engine says the playback has finished.
#pragma once

#include "platform/app_title.h"

#include <string>

namespace qv {

class Generator;
class MainControls;
class Ui;
class WavePlayRec;

struct PlayEnvironment {
    Ui& ui;
    int languageIndex;
    std::string appTitle = kAppTitle;
    int deviceIndex = 0;      // the device dialog's entry (0: the MME mapper)
    int asioFirstChannel = 0; // the first ASIO output channel
};

enum class [[nodiscard]] PlayResult{
    Started,
    FormatNotSupported, // nothing happened
    Refused,            // the engine's reason has been shown
};

class PlayCommand {
public:
    PlayCommand(Generator& generator, MainControls& controls, WavePlayRec& engine);

    // Hands the current format and buffer plan to the engine; whenever the format or the user
    // waves change. True when the engine takes the format.
    bool OfferFormat();
    bool FormatSupported() const { return formatSupported_; }

    PlayResult Play(const PlayEnvironment& env);
    // Returns when the playback has ended; the release follows with Stopped.
    void Stop();
    // The engine's notification that the playback thread has finished: the controls are
    // released, and a parameter file whose open waited for the playback is returned ("" when
    // none waits).
    std::string Stopped();

    // A run (playback or file write) is in progress.
    bool Busy() const { return busy_; }
    // An open that arrives while playing: the playback is stopped and the file opened after.
    void DeferOpen(const std::string& path);

private:
    Generator& g_;
    MainControls& controls_;
    WavePlayRec& engine_;
    bool formatSupported_ = false;
    bool busy_ = false;
    std::string deferredOpen_;
};

} // namespace qv
