// The playback thread's steps that run on the main thread: the buttons, the copy threads of
// DirectSound and WASAPI, the display update, and the end of playback with its message.
#include "engine/engine_messages.h"
#include "engine/wave_play_rec.h"
#include "platform/ui.h"

#include <cstdio>
#include <string>

namespace qv {

void WavePlayRec::RunMainStep(MainStep step) {
    switch (step) {
    case MainStep::Start:
        StartStep();
        break;
    case MainStep::AfterFill:
        owner_.AfterFill();
        break;
    case MainStep::EndOfPass: // a further pass exists only for a file playlist
        break;
    case MainStep::EndOfPlayback:
        EndOfPlayback();
        break;
    }
}

void WavePlayRec::StartStep() {
    if (deviceActive)
        device_->StartCopyThread();
    owner_.EnablePlayButton(false);
    owner_.EnableStopButton(true);
    if (deviceActive && fullVolume)
        device_->SetFullVolume(); // not restored afterwards
}

void WavePlayRec::EndOfPlayback() {
    if (deviceActive) {
        device_->StopCopyThread();
        device_->Close(); // a failing close leaves its text for the message below
        device_->Release();
    }
    owner_.EnablePlayButton(true);
    owner_.EnableStopButton(false);
    playState_.store(PlayState::Idle, std::memory_order_release);
    if (!errorText.Empty()) {
        const char* format = kMsgPlaybackStopped(settings_.languageIndex);
        const int size = std::snprintf(nullptr, 0, format, errorText.Get());
        std::string text(size_t(size > 0 ? size : 0), '\0');
        std::snprintf(text.data(), text.size() + 1, format, errorText.Get());
        ui_.Message(text, owner_.CaptionText(), MsgIcon::Warning);
    }
}

} // namespace qv
