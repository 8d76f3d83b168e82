// The program as one object: it owns the generator, the controls model, the settings, the
// transform library's binding, the device engine with its driver catalog, and runs the
// commands. Every window is a view of it: a view forwards what the user does to the session (or
// to its controls model) and shows what the session tells every attached view has changed, so a
// window beside the main one hears of each change too. No window writes a generator field.
#pragma once

#include "app/help_topics.h"

#include "app/control_changes.h"
#include "app/main_keys.h"
#include "app/open_param_file.h"
#include "engine/engine_owner.h"
#include "fftlib/fft_api.h"
#include "files/settings_file.h"
#include "generator/generator.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qv {

class DriverTable;
class FilterEditor;
class FreqBar;
class IniFile;
class KeyState;
class MainControls;
class PlayCommand;
class Ui;
class UserWaveDialog;
class WavePlayRec;

// What changed since the views were last told.
struct SessionChanges {
    bool all = false; // everything: the start, a new language
    ControlChanges controls{};
    bool caption = false;       // the main window's caption
    bool buttons = false;       // Play and Stop enabled or not
    bool run = false;           // a run (playback or write) began or ended
    bool progress = false;      // the write's progress
    bool displayLayout = false; // the display's format, length or rate
    bool clearTrace = false;    // the trace goes blank (a run starts, or ends without Ctrl)
    bool clearLevels = false;   // the meters go blank (every run's end)
    bool startLevels = false;   // the meters' reading before anything has played
    bool displayChannel = false;
    bool magnification = false;
    bool filter = false;  // the drawn filter, its response or the editor's controls
    bool freqBar = false; // the frequency bar's sweep buttons

    bool Any() const;
    void Merge(const SessionChanges& other);
};

class SessionView {
public:
    virtual ~SessionView() = default;
    virtual void SessionChanged(const SessionChanges& changes) = 0;
    // A block has been rendered (by the playback or a write): the display may show it.
    virtual void BlockRendered() {}
};

// What the session needs from the platform it runs on.
class SessionHost {
public:
    virtual ~SessionHost() = default;
    // The device engine's synchronous steps on the main thread, its two notifications (they
    // come back through OnPlaybackBegins and OnPlaybackEnds) and the message pump of long waits.
    virtual void RunOnMainThread(WavePlayRec& engine, MainStep step) = 0;
    virtual void PostNotification(EngineNotification notification) = 0;
    virtual void PumpMessages() = 0;
    // A "/P" open asks for playback once it has finished (it comes back through Play).
    virtual void PostAutoPlay() = 0;
    // The timer that ends a "/P" playback: ms > 0 starts it (it comes back through
    // OnAutoPlayTimer), 0 stops it.
    virtual void SetAutoPlayTimer(long ms) = 0;
    virtual void OpenHelp(const std::string& path, unsigned long context) = 0;
    // Shows the user-wave window of a master (0 or 4), which starts as the set's registerRequest
    // says; false where there is no such window (the session then loads the file itself).
    virtual bool ShowUserWaveWindow(int master) {
        (void)master;
        return false;
    }
    // A modal window of the program is up (a file dialog, a message box, a settings window): a
    // file that arrives now opens once it has closed, when the host calls OpenPending again.
    virtual bool ModalShown() const { return false; }
    virtual void RetryOpenPending() {}
};

struct SessionPlatform {
    Ui& ui;
    const KeyState& keys;
    SessionHost& host;
    std::function<bool(const std::string& path)> fileExists;
    std::function<bool(const std::string& folder)> canListFiles;
    std::function<std::unique_ptr<IniFile>(const std::string& path)> openIni;
    // Binds the transform library; false after its message (the program then ends).
    std::function<bool(const std::string& programDir, FftApi& api)> bindFftLibrary;
    bool systemIsJapanese = false;
};

class ProgramSession final : private EngineOwner {
public:
    explicit ProgramSession(SessionPlatform platform);
    ~ProgramSession() override;
    ProgramSession(const ProgramSession&) = delete;
    ProgramSession& operator=(const ProgramSession&) = delete;

    // --- The start, in the program's order (a window is made between Open and StartEngine).
    // The settings (and with them the language), the transform library with the pink-noise
    // context, and the last run's parameter set read; false when the library cannot be bound.
    bool Open(const std::string& programDir);
    // The device engine over the catalog: a driver type the system cannot run falls back to
    // MME, a device number the list does not hold to 0.
    void StartEngine(std::unique_ptr<DriverTable> catalog);
    // The last run's set applied, INIT.QV made when missing, the format offered to the engine.
    void ApplyStartSet();
    // The window is up: the start's command line opened, or else the last run's user waves
    // registered again; the first-start or new-version notice.
    void FirstActivation();
    bool Activated() const { return activated_; }

    // --- The end. Writes QV.INI and the set (once, and only after a good start): on closing,
    // and when the system ends the session with the program open.
    void SaveSettingsAndSet();
    // Stops playback, saves, then lets go of the engine and the library's contexts.
    void Shutdown();
    bool EngineAlive() const { return engine_ != nullptr; }

    // --- Views.
    void Attach(SessionView& view);
    void Detach(SessionView& view);
    // Tells every view what has changed (after a handler of the controls model ran).
    void Publish();

    // --- State.
    int Language() const { return settings_.languageIndex; }
    const std::string& ProgramDir() const { return programDir_; }
    AppSettings& Settings() { return settings_; }
    MainControls& Controls() { return *controls_; }
    const MainControls& Controls() const { return *controls_; }
    const Generator& Gen() const { return generator_; }
    const FftApi& Fft() const { return fft_; }
    WavePlayRec& Engine() { return *engine_; }
    DriverTable& Catalog() { return *catalog_; }
    Ui& UserInterface() { return p_.ui; }
    const KeyState& Keys() const { return p_.keys; }
    FilterEditor& Filter() { return *filter_; }
    FreqBar& Bar() { return *bar_; }
    const std::string& Caption() const { return caption_; }
    // Play is enabled while nothing runs, Stop while a playback runs (as the engine says).
    bool PlayEnabled() const { return playEnabled_ && !writing_; }
    bool StopEnabled() const { return stopEnabled_; }
    bool Busy() const;
    bool Writing() const { return writing_; }
    bool Playing() const;
    int WriteProgress() const { return progress_; } // percent
    // The first displayed channel (the display-channel box's item); back to 0 whenever the
    // channel count changes, so the box and the trace show the same pair.
    int DisplayChannel() const { return generator_.dispChannel; }
    void SetDisplayChannel(int item);
    // The rate of the captured frames: an oversampled write keeps the filter's rate.
    double DisplayRate() const;
    // The magnifications the display shows, kept with the settings.
    int32_t& XMagnification() { return settings_.waveXMag; }
    int32_t& YMagnification() { return settings_.waveYMag; }
    // The window's place, kept with the settings.
    void SetWindowPlace(int32_t x, int32_t y, int32_t height);

    // --- Commands.
    void Play();
    // Stops the playback; a sweep of the frequency bar stops with it.
    void Stop();
    // One tick of the frequency bar's sweep: a sweep that reaches the band's edge ends, and the
    // playback with it.
    void TickBar();
    // The file a write offers (the remembered one) and its folder.
    const std::string& WriteFile(bool text) const;
    // Writes the current set to path, a text-format file when text; progress and the display
    // reach the views block by block; Escape (or a close request) ends it with a whole file.
    void Write(bool text, const std::string& path);
    // Asks the program to close: false while a write runs (it closes when the write ends).
    bool RequestClose();
    bool CloseRequested() const { return closeRequested_; }
    // The parameter file offered by the Load and Save dialogs.
    const std::string& ParamFilePath() const { return paramFilePath_; }
    void OpenParamFile(const std::string& path);
    void SaveParamFile(const std::string& path);
    // A command line of this start or of a second start: a parameter file, "/P" to play it.
    void ProcessCommandLine(const std::string& line);
    // A file dropped on the main window: a parameter file opens, any other becomes the user
    // wave of the master of the page shown.
    void DropFile(const std::string& path, int masterOfPage);
    // The user-wave button of a master: its window, while the master plays the user wave and
    // nothing runs; it starts empty when no file is registered.
    void UserWaveButton(int master);
    // What the user-wave window of a master shows and changes (the window lives while the
    // registration runs, inside ShowUserWaveWindow).
    UserWaveDialog UserWaveDialogOf(int master);
    // A file that arrived (command line, hand-over, drop) opens once the window is up and no
    // playback, write or window of the program holds it back; the newest arrival wins.
    void OpenPending();
    void OnPlaybackBegins();
    void OnPlaybackEnds();
    void OnAutoPlayTimer();
    // A key the main window saw first; what the window must do with it.
    KeyCommand OnKey(const KeyPress& key);
    void Help();
    // F1 in a window with a page of its own: that page, in the interface's language.
    void HelpOn(HelpPage page);
    // Hands the current format (and the buffers for it) to the engine, which may refuse it; the
    // Play command does nothing until a format is taken.
    bool OfferFormat();

private:
    friend class FilterEditor;

    // EngineOwner
    void RunOnMainThread(WavePlayRec& engine, MainStep step) override;
    void PostNotification(EngineNotification notification) override;
    void AfterFill() override;
    void EnablePlayButton(bool enabled) override;
    void EnableStopButton(bool enabled) override;
    std::string CaptionText() const override;
    void PumpMessages() override;

    // Arrivals wait while a command that may show windows of its own runs.
    struct Hold {
        explicit Hold(ProgramSession& s) : s(s) { ++s.holding_; }
        ~Hold() { --s.holding_; }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
        ProgramSession& s;
    };

    void BlockRendered();
    void RunEnded();
    // OpenPending's work: true when a parameter file opened.
    bool OpenArrivals();
    bool OpenFile(const std::string& path);
    bool RegisterUserWaveOf(int master, int request);
    // After a registration: the engine's format back, the waveform hints, the views told.
    void UserWavesShown();
    void SetCaption(std::string caption);
    void Changed(SessionChanges changes);

    SessionPlatform p_;
    OpenParamEnvironment openEnv_;
    std::string programDir_, settingsPath_, helpPath_;
    AppSettings settings_;
    FftApi fft_{};
    bool fftBound_ = false;
    Generator generator_;
    std::unique_ptr<MainControls> controls_;
    std::unique_ptr<DriverTable> catalog_;
    std::unique_ptr<WavePlayRec> engine_;
    std::unique_ptr<PlayCommand> play_;
    std::unique_ptr<FilterEditor> filter_;
    std::unique_ptr<FreqBar> bar_;
    std::vector<SessionView*> views_;
    SessionChanges pending_;
    bool publishing_ = false;
    OutputFormat shown_{};   // the format the views last showed
    OutputFormat offered_{}; // the format the engine was last offered

    std::string caption_;
    std::string paramFilePath_;
    std::string pendingOpen_; // a file whose open waits for the playback or write to end
    bool pendingIsUserWave_ = false;
    int pendingMaster_ = 0;
    bool pendingAutoPlay_ = false; // the waiting file came with "/P"
    long pendingPlayMs_ = 0;
    bool autoPlay_ = false; // the set last opened came with "/P" and has not played yet
    long autoPlayMs_ = 0;   // the "/P" option's milliseconds; 0: the file length's
    bool playEnabled_ = true, stopEnabled_ = false;
    bool writing_ = false;
    bool closeRequested_ = false;
    int progress_ = 0;
    bool startGood_ = false, saved_ = false;
    bool activated_ = false;
    int holding_ = 0;     // Holds in force
    int helpContext_ = 2; // the first F1 opens the help's start page, later ones its index
    // The help holds both languages: a Japanese page's context is its English one's + 1000.
    unsigned long HelpContext(unsigned long english) const;
    int f1Count_ = 0;
};

} // namespace qv
