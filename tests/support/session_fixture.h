// A program session as the program starts it, over files in a scratch folder, the linked
// transform library and a scripted device: its engine's main-thread steps and notifications are
// handed over when the test lets its "message loop" run, as the window's loop would.
#pragma once

#include "app/main_controls.h"
#include "app/program_session.h"
#include "engine/driver_table.h"
#include "engine/wave_play_rec.h"
#include "files/ini_file.h"
#include "files/text_file_helpers.h"
#include "platform/file_checks.h"
#include "platform/file_path.h"
#include "support/fake_device.h"
#include "support/fake_ui.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <thread>

namespace qv::test {

class HeldKeys final : public KeyState {
public:
    bool ShiftDown() const override { return false; }
    bool CtrlDown() const override { return ctrl; }
    bool EscapeDown() const override { return false; }
    bool ctrl = false;
};

class TestHost final : public SessionHost {
public:
    void RunOnMainThread(WavePlayRec& engine, MainStep step) override {
        std::unique_lock lock(m_);
        steps_.emplace_back(&engine, step);
        cv_.wait(lock, [&] { return steps_.empty(); });
    }
    void PostNotification(EngineNotification n) override {
        std::lock_guard lock(m_);
        posted_.push_back(n);
    }
    void PumpMessages() override {
        std::unique_lock lock(m_);
        while (!steps_.empty()) {
            const auto [engine, step] = steps_.front();
            lock.unlock();
            engine->RunMainStep(step);
            lock.lock();
            steps_.pop_front();
            cv_.notify_all();
        }
    }
    void PostAutoPlay() override { ++autoPlays; }
    void SetAutoPlayTimer(long ms) override { timerMs = ms; }
    void OpenHelp(const std::string&, unsigned long context) override {
        helpContexts.push_back(context);
    }
    bool ShowUserWaveWindow(int master) override {
        return userWaveWindow && userWaveWindow(master);
    }
    bool ModalShown() const override { return modal; }
    void RetryOpenPending() override { ++retries; }
    // The window's message loop until done() holds: the engine's steps run, its notifications
    // reach the session.
    template <typename Done> bool Loop(ProgramSession& session, Done done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!done() && std::chrono::steady_clock::now() < deadline) {
            PumpMessages();
            std::unique_lock lock(m_);
            if (posted_.empty()) {
                lock.unlock();
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                continue;
            }
            const EngineNotification n = posted_.front();
            posted_.pop_front();
            lock.unlock();
            if (n == EngineNotification::PlaybackBegins) {
                ++begun;
                session.OnPlaybackBegins();
            } else {
                ++ended;
                session.OnPlaybackEnds();
            }
        }
        return done();
    }

    int autoPlays = 0;
    long timerMs = 0;
    int begun = 0, ended = 0; // notifications delivered
    std::vector<unsigned long> helpContexts;
    std::function<bool(int master)> userWaveWindow; // none: the session loads by itself
    bool modal = false;                             // a window of the program's is up
    int retries = 0;

private:
    std::mutex m_;
    std::condition_variable cv_;
    std::deque<std::pair<WavePlayRec*, MainStep>> steps_;
    std::deque<EngineNotification> posted_;
};

class RecordingView final : public SessionView {
public:
    void SessionChanged(const SessionChanges& c) override {
        seen.push_back(c);
        if (onChange)
            onChange(c);
    }
    void BlockRendered() override {
        ++blocks;
        if (onBlock)
            onBlock();
    }
    bool Saw(bool SessionChanges::*flag) const {
        for (const SessionChanges& c : seen)
            if (c.*flag)
                return true;
        return false;
    }
    std::vector<SessionChanges> seen;
    int blocks = 0;
    std::function<void(const SessionChanges&)> onChange;
    std::function<void()> onBlock;
};

// MME as the only row, played by a scripted device.
class FakeMmePath final : public DriverPath {
public:
    explicit FakeMmePath(FakeDevice& device) : device_(device) {}
    bool Enumerate(ErrorText&) override { return false; }
    int Count(bool) const override { return 1; }
    std::string Name(int, bool) const override { return "Fake"; }
    Device* Open() override { return &device_; }
    void Release() override {}

private:
    FakeDevice& device_;
};

// How far the start goes: up to its first activation (a program that has run before, so no
// start notice), or only up to the window's construction.
enum class Start { Activated, Constructed };

struct SessionFixture {
    // The program's folder holds QV.INI with these lines (English unless they say otherwise).
    explicit SessionFixture(const std::string& ini = "", std::function<void(FftApi&)> fftHook = {},
                            Start start = Start::Activated)
        : adjustFft(std::move(fftHook)) {
        const char* settled = "[Window]\r\nDispHelp=1\r\n[Version]\r\nVer=1.5\r\n";
        Put("QV.INI",
            "[Special]\r\nEnglishMode=1\r\n" + ini + (start == Start::Activated ? settled : ""));
        device.record = false;
        EXPECT_TRUE(session.Open(dir));
        std::vector<DriverRow> rows;
        rows.push_back({PlayDriverType::Mme, {}, std::make_unique<FakeMmePath>(device), true});
        session.StartEngine(std::make_unique<DriverTable>(std::move(rows)));
        session.Attach(view);
        session.ApplyStartSet();
        if (start == Start::Activated)
            session.FirstActivation();
    }
    ~SessionFixture() { session.Shutdown(); }
    void Put(const std::string& name, const std::string& bytes) const {
        std::ofstream(FsPath(dir + name), std::ios::binary) << bytes;
    }
    // The loop until the playback thread has begun, or has ended, as the window would see it.
    bool Begun() {
        const int before = host.begun;
        return host.Loop(session, [&] { return host.begun > before; });
    }
    bool Ended() {
        const int before = host.ended;
        return host.Loop(session, [&] { return host.ended > before; });
    }

    std::function<void(FftApi&)> adjustFft; // the library as bound, for a test to watch
    ScratchDir scratch;
    std::string dir = scratch.File("");
    RecordingUi ui;
    HeldKeys keys;
    TestHost host;
    FakeDevice device{0};
    ProgramSession session{
        {.ui = ui,
         .keys = keys,
         .host = host,
         .fileExists = [](const std::string& p) { return std::filesystem::exists(p); },
         .canListFiles = [](const std::string&) { return true; },
         .openIni = [](const std::string& p) { return OpenIniFile(p); },
         .bindFftLibrary =
             [this](const std::string&, FftApi& api) {
                 api = DirectFftApi();
                 if (adjustFft)
                     adjustFft(api);
                 return true;
             },
         .systemIsJapanese = false}};
    RecordingView view;
};

} // namespace qv::test
