// The session's commands: Play and Stop, Write, Load and Save, files that arrive by command
// line, hand-over or drop (opened only once no playback or write runs), the "/P" timer, the keys
// and the help.
#include "app/command_line.h"
#include "app/filter_editor.h"
#include "app/freq_bar.h"
#include "app/main_controls.h"
#include "app/main_texts.h"
#include "app/play_command.h"
#include "app/program_session.h"
#include "app/user_wave_loader.h"
#include "app/write_command.h"
#include "engine/wave_play_rec.h"
#include "files/wave_writer.h"
#include "generator/number_text.h"
#include "platform/app_title.h"
#include "platform/key_state.h"
#include "platform/ui.h"

#include <utility>

namespace qv {

namespace {

// The write's keys: Escape, or a close request, ends it with a whole file.
class WriteKeys final : public KeyState {
public:
    WriteKeys(const KeyState& keys, const bool& closing) : keys_(keys), closing_(closing) {}
    bool ShiftDown() const override { return keys_.ShiftDown(); }
    bool CtrlDown() const override { return keys_.CtrlDown(); }
    bool EscapeDown() const override { return closing_ || keys_.EscapeDown(); }

private:
    const KeyState& keys_;
    const bool& closing_;
};

} // namespace

void ProgramSession::Play() {
    controls_->CommitEntries();
    Publish(); // a committed rate is offered to the engine before Play asks about it
    const PlayEnvironment env{.ui = p_.ui,
                              .languageIndex = Language(),
                              .deviceIndex = settings_.playDeviceNum,
                              .asioFirstChannel = settings_.asioPlayChNum};
    // An unsupported format changes nothing; otherwise the controls lock and the display
    // clears as the run starts, and come back if the engine refuses.
    if (!play_->FormatSupported())
        return;
    Changed({.run = true, .clearTrace = true});
    if (play_->Play(env) == PlayResult::Refused)
        Changed({.run = true, .clearTrace = !p_.keys.CtrlDown()});
    else
        Publish();
}

void ProgramSession::Stop() {
    p_.host.SetAutoPlayTimer(0);
    play_->Stop();
    if (bar_->Sweeping()) {
        bar_->StopSweep();
        SessionChanges released;
        released.freqBar = true;
        Changed(released);
    }
}

void ProgramSession::TickBar() {
    if (!bar_->Sweeping())
        return;
    SessionChanges changes;
    if (bar_->Tick()) {
        changes.freqBar = true;
        if (Playing())
            Stop();
    }
    Changed(changes);
}

const std::string& ProgramSession::WriteFile(bool text) const {
    return text ? settings_.lastTextFile : settings_.lastWaveFile;
}

void ProgramSession::Write(bool text, const std::string& path) {
    controls_->CommitEntries();
    Publish();
    const WriteKeys keys(p_.keys, closeRequested_);
    std::string& remembered = text ? settings_.lastTextFile : settings_.lastWaveFile;
    const size_t slash = path.find_last_of('\\');
    if (slash != std::string::npos)
        settings_.lastDirectory = path.substr(0, slash == 2 ? 3 : slash); // "C:\" keeps its "\"
    remembered = path;
    paramFilePath_ = BaseName(path) + ".QV";
    const std::string savedCaption = caption_;
    caption_ = std::string(kAppTitle) + " - " + path;
    controls_->SetControlsForWrite(false);
    writing_ = true;
    progress_ = 0;
    Changed({.caption = true, .buttons = true, .run = true, .progress = true, .clearTrace = true});
    const WriteEnvironment env{.ui = p_.ui,
                               .keys = keys,
                               .languageIndex = Language(),
                               .appTitle = kAppTitle,
                               .progress =
                                   [this](uint64_t position, uint64_t maximum) {
                                       progress_ =
                                           maximum ? static_cast<int>(position * 100 / maximum) : 0;
                                       Changed({.progress = true});
                                   },
                               .afterBlock = [this] { BlockRendered(); }};
    (void)(text ? RunTextWrite(generator_, remembered, env)
                : RunWaveWrite(generator_, remembered, env));
    writing_ = false;
    progress_ = 0;
    controls_->SetControlsForWrite(true);
    caption_ = savedCaption;
    // Back at the output rate after an oversampled write.
    Changed(
        {.caption = true, .buttons = true, .run = true, .progress = true, .displayLayout = true});
    RunEnded();
    OpenPending();
}

// The end of every run: the meters go blank; the trace too, unless Ctrl keeps the picture.
void ProgramSession::RunEnded() {
    Changed({.run = true, .clearTrace = !p_.keys.CtrlDown(), .clearLevels = true});
}

bool ProgramSession::RequestClose() {
    if (writing_) {
        closeRequested_ = true;
        return false;
    }
    return true;
}

void ProgramSession::OpenParamFile(const std::string& path) {
    OpenFile(path);
    OpenPending();
}

bool ProgramSession::OpenFile(const std::string& path) {
    const Hold hold(*this);
    OpenedNames names;
    if (qv::OpenParamFile(path, generator_, *controls_, openEnv_, names)) {
        paramFilePath_ = path;
        settings_.lastWaveFile = names.lastWaveFile;
        settings_.lastTextFile = names.lastTextFile;
        filter_->Loaded(); // the set's points are drawn at its own rate
        pending_.filter = true;
        OfferFormat();
        SetCaption(names.caption);
        return true;
    }
    Publish();
    return false;
}

void ProgramSession::SaveParamFile(const std::string& path) {
    controls_->CommitEntries();
    paramFilePath_ = path;
    OpenedNames names;
    if (SaveParamSet(path, *controls_, openEnv_, names)) {
        settings_.lastWaveFile = names.lastWaveFile;
        settings_.lastTextFile = names.lastTextFile;
        SetCaption(names.caption);
    }
}

void ProgramSession::ProcessCommandLine(const std::string& line) {
    const CommandLineRequest request = ParseCommandLine(line, programDir_);
    if (request.path.empty())
        return;
    paramFilePath_ = request.path;
    pendingAutoPlay_ = request.autoPlay;
    pendingPlayMs_ = request.playMs;
    // Whatever its name, a file of the command line is a parameter file.
    pendingOpen_ = request.path;
    pendingIsUserWave_ = false;
    if (Playing())
        Stop(); // the open follows when the playback has ended
    else
        OpenPending();
}

void ProgramSession::DropFile(const std::string& path, int masterOfPage) {
    pendingOpen_ = path;
    pendingAutoPlay_ = false;
    pendingIsUserWave_ = !HasExtension(path, "QV");
    pendingMaster_ = masterOfPage;
    if (!pendingIsUserWave_)
        paramFilePath_ = path;
    if (Playing())
        Stop();
    else
        OpenPending();
}

void ProgramSession::OpenPending() {
    (void)OpenArrivals();
}

bool ProgramSession::OpenArrivals() {
    bool opened = false;
    while (!pendingOpen_.empty() && activated_ && holding_ == 0 && !Playing() && !writing_) {
        if (p_.host.ModalShown()) {
            p_.host.RetryOpenPending();
            break;
        }
        const std::string path = std::exchange(pendingOpen_, std::string());
        if (pendingIsUserWave_) {
            // The window loads the dropped file as a requested registration of that master.
            generator_.userWaves[pendingMaster_ / 4].userWavePath = path;
            (void)RegisterUserWaveOf(pendingMaster_, static_cast<int>(UserWaveRequest::Deferred));
            UserWavesShown();
            continue;
        }
        // "/P" plays what was opened; after an open that failed, nothing.
        const bool play = std::exchange(pendingAutoPlay_, false);
        opened = OpenFile(path);
        autoPlay_ = opened && play;
        autoPlayMs_ = pendingPlayMs_;
        if (autoPlay_ && !Playing())
            p_.host.PostAutoPlay();
    }
    return opened;
}

void ProgramSession::OnPlaybackBegins() {
    p_.host.SetAutoPlayTimer(0);
    if (autoPlay_) {
        // The length of the set that was opened, read now.
        const long ms = AutoPlayMilliseconds({.path = {}, .autoPlay = true, .playMs = autoPlayMs_},
                                             ReadDecimal(generator_.texts.fileLength));
        if (ms > 0)
            p_.host.SetAutoPlayTimer(ms);
    }
    autoPlay_ = false;
}

void ProgramSession::OnPlaybackEnds() {
    const std::string deferred = play_->Stopped();
    RunEnded();
    if (!deferred.empty())
        pendingOpen_ = deferred;
    OpenPending();
}

void ProgramSession::OnAutoPlayTimer() {
    p_.host.SetAutoPlayTimer(0);
    if (Playing())
        Stop();
}

KeyCommand ProgramSession::OnKey(const KeyPress& key) {
    const KeyCommand command = MainKeyCommand(key);
    switch (command) {
    case KeyCommand::PlayOrStop:
        if (PlayEnabled())
            Play();
        else if (StopEnabled())
            Stop();
        return KeyCommand::Handled;
    case KeyCommand::Help:
        Help();
        return KeyCommand::Handled;
    case KeyCommand::Device:
    case KeyCommand::Load:
    case KeyCommand::Save:
    case KeyCommand::Write: {
        // Each clicks its button, only while that is enabled.
        constexpr ToolbarControl kButtons[] = {ToolbarControl::Device, ToolbarControl::Load,
                                               ToolbarControl::Save, ToolbarControl::Write};
        const ToolbarControl button =
            kButtons[static_cast<int>(command) - static_cast<int>(KeyCommand::Device)];
        return controls_->ToolbarEnabled(button) ? command : KeyCommand::Handled;
    }
    default:
        return command;
    }
}

unsigned long ProgramSession::HelpContext(unsigned long english) const {
    return english + (Language() == kJapanese ? 1000 : 0);
}

void ProgramSession::HelpOn(HelpPage page) {
    if (settings_.dispHelp != 0)
        p_.host.OpenHelp(helpPath_, HelpContext(static_cast<unsigned long>(page)));
}

void ProgramSession::Help() {
    // Until the window has been activated only the very first F1 counts.
    if (activated_ || f1Count_ == 0) {
        if (settings_.dispHelp != 0)
            p_.host.OpenHelp(helpPath_, HelpContext(static_cast<unsigned long>(helpContext_)));
        if (helpContext_ == 2)
            helpContext_ = 8;
    }
    ++f1Count_;
}

} // namespace qv
