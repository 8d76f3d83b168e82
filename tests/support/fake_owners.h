// Owners of the engine for the tests: one runs the synchronous steps in place (as a program
// without a window does), the other hands them to the test's main thread, as the window does.
#pragma once

#include "engine/engine_owner.h"
#include "engine/headless_owner.h"
#include "engine/wave_play_rec.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace qv::test {

// Counts what the engine tells its owner.
class CountingOwner : public HeadlessOwner {
public:
    void PostNotification(EngineNotification n) override {
        (n == EngineNotification::PlaybackBegins ? begins
         : n == EngineNotification::PlaybackEnds ? ends
                                                 : others)
            .fetch_add(1);
    }
    void AfterFill() override { afterFills.fetch_add(1); }
    void EnablePlayButton(bool enabled) override { playEnabled = enabled; }
    void EnableStopButton(bool enabled) override { stopEnabled = enabled; }
    std::string CaptionText() const override { return "Quorvale"; }
    void PumpMessages() override { pumps.fetch_add(1); }

    std::atomic<int> begins{0}, ends{0}, others{0}, afterFills{0}, pumps{0};
    std::atomic<bool> playEnabled{false}, stopEnabled{false};
};

// Runs the steps on the thread that calls PumpMessages, like the window's message loop.
class MainThreadOwner : public CountingOwner {
public:
    void RunOnMainThread(WavePlayRec& engine, MainStep step) override {
        std::unique_lock lock(m_);
        engine_ = &engine;
        step_ = step;
        pending_ = true;
        cv_.notify_all();
        cv_.wait(lock, [&] { return !pending_; });
    }
    void PumpMessages() override {
        CountingOwner::PumpMessages();
        std::unique_lock lock(m_);
        if (!pending_)
            return;
        WavePlayRec* engine = engine_;
        const MainStep step = step_;
        lock.unlock();
        if (std::this_thread::get_id() != mainThread)
            offMainThread.fetch_add(1);
        engine->RunMainStep(step);
        lock.lock();
        pending_ = false;
        cv_.notify_all();
    }

    std::thread::id mainThread = std::this_thread::get_id();
    std::atomic<int> offMainThread{0};

private:
    std::mutex m_;
    std::condition_variable cv_;
    WavePlayRec* engine_ = nullptr;
    MainStep step_ = MainStep::Start;
    bool pending_ = false;
};

} // namespace qv::test
