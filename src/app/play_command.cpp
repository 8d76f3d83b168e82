#include "app/play_command.h"

#include "app/main_controls.h"
#include "engine/engine_messages.h"
#include "engine/wave_play_rec.h"
#include "generator/generator.h"
#include "platform/ui.h"

#include <cstdio>
#include <utility>

namespace qv {

PlayCommand::PlayCommand(Generator& generator, MainControls& controls, WavePlayRec& engine)
    : g_(generator), controls_(controls), engine_(engine) {}

bool PlayCommand::OfferFormat() {
    // Blocks of the render size covering the play-buffer time.
    engine_.SetPlayBuffers(g_.DeviceBuffers(), static_cast<int>(g_.BlockBytes()), 0, 0, 0);
    formatSupported_ = engine_.SetSource(ToFormatRecord(g_.format)) == EngineOutcome::Done;
    return formatSupported_;
}

PlayResult PlayCommand::Play(const PlayEnvironment& env) {
    if (!formatSupported_)
        return PlayResult::FormatNotSupported;
    controls_.SetControlsForRun(false);
    g_.oversampledWrite = false;
    g_.PrepareGenerator();
    g_.engine = &engine_;
    if (engine_.Play(env.deviceIndex, false, env.asioFirstChannel, true)) {
        busy_ = true;
        return PlayResult::Started;
    }
    g_.engine = nullptr;
    const std::string reason = engine_.GetErrorText();
    if (!reason.empty()) {
        char text[1024];
        std::snprintf(text, sizeof text, kUnableToPlayFormat, kMsgUnableToPlay(env.languageIndex),
                      reason.c_str());
        env.ui.Message(text, env.appTitle, MsgIcon::Warning);
    }
    controls_.SetControlsForRun(true);
    return PlayResult::Refused;
}

void PlayCommand::Stop() {
    engine_.Stop();
}

std::string PlayCommand::Stopped() {
    busy_ = false;
    g_.engine = nullptr;
    g_.filterDesigner.mailbox.ready = false; // a kernel designed during the run is not taken over
    controls_.SetControlsForRun(true);
    return std::exchange(deferredOpen_, std::string());
}

void PlayCommand::DeferOpen(const std::string& path) {
    deferredOpen_ = path;
    Stop();
}

} // namespace qv
