// The session's life: its start in the program's order, its views, the engine's owner, and its
// orderly end.
#include "app/program_session.h"

#include "app/engine_settings.h"
#include "app/filter_editor.h"
#include "app/freq_bar.h"
#include "app/main_controls.h"
#include "app/main_texts.h"
#include "app/play_command.h"
#include "app/user_wave_dialog.h"
#include "app/user_wave_loader.h"
#include "engine/driver_table.h"
#include "engine/wave_play_rec.h"
#include "files/ini_file.h"
#include "files/param_file.h"
#include "platform/app_title.h"
#include "platform/key_state.h"
#include "platform/ui.h"

#include <algorithm>
#include <utility>

namespace qv {

namespace {

// The caption's version and, after it, which build of the program this is.
constexpr char kVersion[] = "Ver. 1.50";
constexpr char kCaptionNotice[] = "(x64)";
constexpr int32_t kPinkNoiseSlot = 10;

} // namespace

bool SessionChanges::Any() const {
    return all || controls.Any() || caption || buttons || run || progress || displayLayout ||
           clearTrace || clearLevels || startLevels || displayChannel || magnification || filter ||
           freqBar;
}

void SessionChanges::Merge(const SessionChanges& o) {
    for (size_t i = 0; i < controls.slot.size(); ++i)
        controls.slot[i] |= o.controls.slot[i];
    controls.toolbar |= o.controls.toolbar;
    all |= o.all;
    caption |= o.caption;
    buttons |= o.buttons;
    run |= o.run;
    progress |= o.progress;
    displayLayout |= o.displayLayout;
    clearTrace |= o.clearTrace;
    clearLevels |= o.clearLevels;
    startLevels |= o.startLevels;
    filter |= o.filter;
    displayChannel |= o.displayChannel;
    magnification |= o.magnification;
    freqBar |= o.freqBar;
}

ProgramSession::ProgramSession(SessionPlatform platform)
    : p_(std::move(platform)), openEnv_{
                                   .ui = p_.ui,
                                   .appTitle = kAppTitle,
                                   .fileExists = p_.fileExists,
                                   .openIni = p_.openIni,
                                   .reregisterUserWave = [this](int master, const std::string&) {
                                       Publish(); // the set shows behind the window
                                       return RegisterUserWaveOf(
                                           master,
                                           static_cast<int>(UserWaveRequest::FromParamFile));
                                   }} {}

ProgramSession::~ProgramSession() {
    Shutdown();
}

bool ProgramSession::Open(const std::string& programDir) {
    programDir_ = programDir;
    settingsPath_ = programDir_ + "QV.INI";
    helpPath_ = programDir_ + "QV.chm";
    SettingsEnvironment env;
    env.programDirectory = programDir_;
    env.canListFiles = p_.canListFiles;
    env.systemIsJapanese = p_.systemIsJapanese;
    env.ui = &p_.ui;
    const auto settingsFile = p_.openIni(settingsPath_);
    (void)ReadSettings(*settingsFile, settings_, SettingsPart::All, env);
    const int lang = settings_.languageIndex;

    if (!p_.bindFftLibrary(programDir_, fft_))
        return false;
    fftBound_ = true;
    generator_.AttachFft(&fft_);
    generator_.ui = &p_.ui;
    fft_.createFft(kPinkNoiseSlot, 4096, 0, 0);

    controls_ = std::make_unique<MainControls>(generator_, lang);
    filter_ = std::make_unique<FilterEditor>(*this, generator_);
    bar_ = std::make_unique<FreqBar>(*controls_);
    caption_ =
        std::string(kAppTitle) + "  " + kVersion + kCaptionLanguageMark(lang) + kCaptionNotice;
    return true;
}

void ProgramSession::StartEngine(std::unique_ptr<DriverTable> catalog) {
    catalog_ = std::move(catalog);
    // A driver type this system cannot run falls back to MME.
    if (!catalog_->SystemOffers(static_cast<PlayDriverType>(settings_.playDriverType)))
        settings_.playDriverType = 0;
    engine_ = std::make_unique<WavePlayRec>(
        static_cast<EngineOwner&>(*this), p_.ui,
        [this](uint8_t* buffer, uint32_t bytes, uint32_t block) {
            return generator_.FillOutputBuffer(buffer, bytes, block);
        },
        EngineSettingsFrom(settings_));
    engine_->AttachCatalog(catalog_.get());
    engine_->SetFullVolume(settings_.playWithFullVol);
    if (settings_.playDeviceNum >= engine_->GetDeviceCount(false))
        settings_.playDeviceNum = 0;
    play_ = std::make_unique<PlayCommand>(generator_, *controls_, *engine_);
}

void ProgramSession::ApplyStartSet() {
    ParamSet set(Language());
    LoadParamFile(*p_.openIni(settingsPath_), set);
    ReportInvalidFilterPoints(set, settingsPath_, p_.ui, Language(), kAppTitle);
    controls_->ApplyParamTable(set);
    filter_->Loaded();
    (void)CreateInitParamFile(programDir_, *controls_, openEnv_);
    OfferFormat();
    startGood_ = true;
    SessionChanges all;
    all.all = true;
    all.controls.SetAll();
    all.caption = all.buttons = all.run = all.displayLayout = all.displayChannel = true;
    all.startLevels = true;
    Changed(all);
}

void ProgramSession::FirstActivation() {
    if (activated_)
        return; // later activations do nothing
    p_.host.PumpMessages();
    activated_ = true;
    // A set the start's command line names comes with its own user waves; the last run's are
    // registered again only when there is none, or it did not open.
    const bool startSet = !pendingOpen_.empty() && !pendingIsUserWave_;
    if ((!startSet || !OpenArrivals()) && !Playing()) {
        (void)RegisterUserWaves(generator_, [this](int master, const std::string&) {
            return RegisterUserWaveOf(master, static_cast<int>(UserWaveRequest::Deferred));
        });
        controls_->UserWavesChanged();
        OfferFormat();
    }
    if (settings_.dispHelp < 0) {
        p_.ui.Message((settings_.dispHelp == -2 ? kMsgNewVersion : kMsgFirstStart)(Language()),
                      kAppTitle, MsgIcon::Warning);
        p_.host.OpenHelp(helpPath_, HelpContext(static_cast<unsigned long>(helpContext_)));
        settings_.dispHelp = 1;
    }
    Publish();
    OpenPending();
}

bool ProgramSession::RegisterUserWaveOf(int master, int request) {
    const Hold hold(*this);
    UserWaveSet& set = generator_.userWaves[master / 4];
    set.registerRequest = request;
    bool loaded = false;
    if (p_.host.ShowUserWaveWindow(master)) {
        loaded = set.userWaveFrames > 0;
    } else {
        const NoKeysDown noKeys;
        const UserWaveLoadEnvironment env{.ui = p_.ui,
                                          .keys = noKeys,
                                          .languageIndex = Language(),
                                          .appTitle = kAppTitle,
                                          .progress = {}};
        loaded = RegisterUserWave(set, master == 4, static_cast<UserWaveRequest>(request), env);
    }
    set.registerRequest = 0;
    return loaded;
}

void ProgramSession::UserWaveButton(int master) {
    if ((master != 0 && master != 4) || !controls_->Visible(master, SlotControl::UserWaveButton) ||
        !controls_->Enabled(master, SlotControl::UserWaveButton) || Busy() || Playing())
        return;
    UserWaveSet& set = generator_.userWaves[master / 4];
    set.registerRequest = static_cast<int>(set.userWavePath.empty() ? UserWaveRequest::NoFile
                                                                    : UserWaveRequest::Chosen);
    bool shown = false;
    {
        const Hold hold(*this);
        shown = p_.host.ShowUserWaveWindow(master);
    }
    set.registerRequest = 0;
    if (shown)
        UserWavesShown();
    OpenPending();
}

UserWaveDialog ProgramSession::UserWaveDialogOf(int master) {
    return UserWaveDialog(generator_.userWaves[master / 4], master, Language());
}

void ProgramSession::UserWavesShown() {
    controls_->UserWavesChanged();
    OfferFormat();
    Publish();
}

void ProgramSession::SaveSettingsAndSet() {
    if (!startGood_ || saved_)
        return;
    saved_ = true;
    const auto ini = p_.openIni(settingsPath_);
    (void)WriteSettings(*ini, settings_);
    ParamSet set(Language());
    controls_->CaptureParamTable(set);
    (void)qv::SaveParamFile(*ini, set, std::nullopt);
}

void ProgramSession::Shutdown() {
    if (engine_)
        engine_->Stop();
    SaveSettingsAndSet();
    // The engine goes first (its threads use the generator), then the library's contexts.
    play_.reset();
    engine_.reset();
    catalog_.reset();
    if (fftBound_) {
        fft_.releaseFft(kPinkNoiseSlot);
        fftBound_ = false;
    }
}

void ProgramSession::Attach(SessionView& view) {
    views_.push_back(&view);
}

void ProgramSession::Detach(SessionView& view) {
    std::erase(views_, &view);
}

void ProgramSession::Changed(SessionChanges changes) {
    pending_.Merge(changes);
    Publish();
}

void ProgramSession::Publish() {
    if (publishing_)
        return; // the loop below takes what a view's own change adds
    publishing_ = true;
    for (;;) {
        SessionChanges changes = std::exchange(pending_, SessionChanges{});
        if (controls_)
            changes.controls = [&] {
                ControlChanges c = controls_->TakeChanges();
                for (size_t i = 0; i < c.slot.size(); ++i)
                    c.slot[i] |= changes.controls.slot[i];
                c.toolbar |= changes.controls.toolbar;
                return c;
            }();
        // A new channel count shows the first pair again; a new format lays the display out
        // again and is offered to the engine while nothing runs.
        const OutputFormat& f = generator_.format;
        if (f.channels != shown_.channels) {
            generator_.dispChannel = 0;
            changes.displayChannel = changes.displayLayout = true;
        }
        if (f.sampleRate != shown_.sampleRate || f.bitCode != shown_.bitCode)
            changes.displayLayout = true;
        // A new rate while the filter is on asks what becomes of the drawn points.
        const bool newRate = f.sampleRate != shown_.sampleRate && shown_.sampleRate != 0;
        shown_ = f;
        if (newRate && generator_.filterOn && filter_)
            filter_->SampleRateChanged();
        if ((f.sampleRate != offered_.sampleRate || f.bitCode != offered_.bitCode ||
             f.channels != offered_.channels) &&
            !Busy() && !Playing())
            OfferFormat();
        if (!changes.Any())
            break;
        for (SessionView* view : std::vector<SessionView*>(views_))
            view->SessionChanged(changes);
    }
    publishing_ = false;
}

bool ProgramSession::Busy() const {
    return writing_ || (play_ && play_->Busy());
}

bool ProgramSession::Playing() const {
    return engine_ && engine_->PlaybackRunning();
}

void ProgramSession::SetDisplayChannel(int item) {
    const int pairs = std::max(static_cast<int>(generator_.format.channels) - 1, 1);
    generator_.dispChannel = std::clamp(item, 0, pairs - 1);
    Changed({.displayChannel = true});
}

double ProgramSession::DisplayRate() const {
    return static_cast<double>(generator_.format.sampleRate) *
           (generator_.oversampledWrite ? generator_.overSampleRate : 1);
}

void ProgramSession::SetWindowPlace(int32_t x, int32_t y, int32_t height) {
    settings_.posX = x;
    settings_.posY = y;
    settings_.height = height;
}

void ProgramSession::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    Changed({.caption = true});
}

bool ProgramSession::OfferFormat() {
    if (!play_)
        return false;
    offered_ = generator_.format;
    return play_->OfferFormat();
}

// --- The engine's owner.

void ProgramSession::RunOnMainThread(WavePlayRec& engine, MainStep step) {
    p_.host.RunOnMainThread(engine, step);
}

void ProgramSession::PostNotification(EngineNotification notification) {
    p_.host.PostNotification(notification);
}

void ProgramSession::AfterFill() {
    BlockRendered();
}

void ProgramSession::BlockRendered() {
    if (filter_)
        filter_->RetryKernel();
    for (SessionView* view : views_)
        view->BlockRendered();
}

void ProgramSession::EnablePlayButton(bool enabled) {
    playEnabled_ = enabled;
    Changed({.buttons = true});
}

void ProgramSession::EnableStopButton(bool enabled) {
    stopEnabled_ = enabled;
    Changed({.buttons = true});
}

std::string ProgramSession::CaptionText() const {
    return kAppTitle;
}

void ProgramSession::PumpMessages() {
    p_.host.PumpMessages();
}

} // namespace qv
