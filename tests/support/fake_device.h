// A scripted device path for the engine tests: buffers are queued MME-style and consumed in
// order on the device's own thread once it is started; it records the bytes of every buffer it
// plays, the flushes, and the calls it was given.
#pragma once

#include "engine/device.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

namespace qv::test {

class FakeDevice final : public Device {
public:
    explicit FakeDevice(size_t recordCapacity = 1 << 20) {
        received.reserve(recordCapacity);
        flushMarks.reserve(4096);
    }
    ~FakeDevice() override { StopThread(); }

    // Script.
    int failQueueAt = -1;                  // the Queue call (from 0) that fails
    std::chrono::microseconds pace{100};   // time one buffer takes to play
    bool record = true;                    // keep the played bytes (reserved capacity only)
    std::atomic<bool> wantsRestart{false}; // asks to be set up again, until the next Flush

    bool Open(const DeviceLink& link, int deviceNumber, const StreamSetup& setup) override {
        bufferDone_ = &link.bufferDone;
        errorText_ = &link.errorText;
        openedNumber = deviceNumber;
        openedSetup = setup;
        opens.fetch_add(1);
        quit_ = false;
        thread_ = std::thread([this] { Run(); });
        return true;
    }
    bool Prepare(std::span<const RingBuffer> ring) override {
        ring_ = ring;
        prepares.fetch_add(1);
        return true;
    }
    bool QueuesBuffers() const override { return true; }
    bool Queue(int ringIndex) override {
        if (queueCalls.fetch_add(1) == failQueueAt) {
            errorText_->Set("Fake device: write failed");
            return false;
        }
        std::lock_guard lock(m_);
        queue_[tail_++ % kSlots] = ringIndex;
        cv_.notify_all();
        return true;
    }
    bool Start() override {
        starts.fetch_add(1);
        std::lock_guard lock(m_);
        running_ = true;
        cv_.notify_all();
        return true;
    }
    uint64_t Position() override { return position_.load(); }
    bool RestartRequested() override { return wantsRestart.load(); }
    bool Flush() override {
        flushes.fetch_add(1);
        wantsRestart = false;
        std::lock_guard lock(m_);
        Drop();
        if (record && flushMarks.size() < flushMarks.capacity())
            flushMarks.push_back(received.size());
        return true;
    }
    void Reset(int written) override {
        resets.fetch_add(1);
        resetWritten = written;
        std::lock_guard lock(m_);
        Drop();
    }
    bool Close() override {
        closes.fetch_add(1);
        StopThread();
        return true;
    }
    void Release() override { releases.fetch_add(1); }

    // What the device was given (read after the playback has ended).
    std::vector<uint8_t> received;
    std::vector<size_t> flushMarks; // received.size() at each flush
    int openedNumber = 0;
    StreamSetup openedSetup;
    int resetWritten = -1;
    std::atomic<int> opens{0}, prepares{0}, queueCalls{0}, starts{0}, flushes{0}, resets{0},
        closes{0}, releases{0}, played{0};

private:
    static constexpr uint32_t kSlots = 256;

    // Forgets what is queued and stops; a buffer being played is not completed.
    void Drop() {
        head_ = tail_;
        running_ = false;
        ++generation_;
    }

    void StopThread() {
        {
            std::lock_guard lock(m_);
            quit_ = true;
            cv_.notify_all();
        }
        if (thread_.joinable())
            thread_.join();
    }

    void Run() {
        std::unique_lock lock(m_);
        for (;;) {
            cv_.wait(lock, [&] { return quit_ || (running_ && head_ != tail_); });
            if (quit_)
                return;
            const int index = queue_[head_ % kSlots];
            const uint64_t generation = generation_;
            lock.unlock();
            std::this_thread::sleep_for(pace);
            lock.lock();
            if (generation != generation_ || quit_)
                continue; // flushed or reset while it played
            ++head_;
            const RingBuffer& buffer = ring_[size_t(index)];
            if (record && received.size() + buffer.bytes <= received.capacity())
                received.insert(received.end(), buffer.data, buffer.data + buffer.bytes);
            position_.fetch_add(buffer.bytes / openedSetup.format.blockAlign);
            played.fetch_add(1);
            bufferDone_->Signal();
        }
    }

    BufferDoneSignal* bufferDone_ = nullptr;
    ErrorText* errorText_ = nullptr;
    std::span<const RingBuffer> ring_;
    std::mutex m_;
    std::condition_variable cv_;
    int queue_[kSlots] = {};
    uint32_t head_ = 0, tail_ = 0;
    uint64_t generation_ = 0;
    bool running_ = false, quit_ = false;
    std::atomic<uint64_t> position_{0};
    std::thread thread_;
};

} // namespace qv::test
