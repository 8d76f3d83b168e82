// The window's side of the device engine: it runs the playback thread's synchronous steps on
// the main thread, receives the begin/end notifications and owns the Play and Stop buttons.
// The Win32 main window implements it; HeadlessOwner runs everything in place; tests fake it.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

class WavePlayRec;

// The steps of the playback thread that run on the main thread.
enum class MainStep { Start, AfterFill, EndOfPass, EndOfPlayback };

// Posted to the owner when the playback thread begins and when it has finished (the window
// receives them as the messages of platform/win/window_messages.h).
enum class EngineNotification { PlaybackBegins, PlaybackEnds };

class EngineOwner {
public:
    virtual ~EngineOwner() = default;
    // Called on the playback thread: runs engine.RunMainStep(step) on the main thread and
    // returns once it has run. Must not allocate (it runs after the ring is prepared).
    virtual void RunOnMainThread(WavePlayRec& engine, MainStep step) = 0;
    // Posts a notification (no arguments) and returns at once.
    virtual void PostNotification(EngineNotification notification) = 0;
    // The display update after every step of the playback loop (main thread).
    virtual void AfterFill() = 0;
    virtual void EnablePlayButton(bool enabled) = 0;
    virtual void EnableStopButton(bool enabled) = 0;
    // The application title: the caption of the engine's message boxes.
    virtual std::string CaptionText() const = 0;
    // Lets window messages run while the main thread waits for the playback thread, whose
    // synchronous steps need the main thread.
    virtual void PumpMessages() = 0;
};

} // namespace qv
