// The test driver's buffers and the thread that switches them at the device's pace.
#include <cmath>
#include <set>
#include <utility>

#include "test_driver.h"

namespace qv::asio_test {
asio::Error STDMETHODCALLTYPE TestDriver::createBuffers(asio::BufferInfo* infos, int32_t count,
                                                        int32_t bufferSize,
                                                        asio::Callbacks* callbacks) {
    Log("createBuffers " + std::to_string(count) + " " + std::to_string(bufferSize) + " " +
        std::to_string(infos != nullptr && count > 0 ? infos[0].channelNum : -1));
    // From inside a callback the thread that runs it would free what it is using.
    if (thread_.joinable() && std::this_thread::get_id() == thread_.get_id())
        return asio::kInvalidMode;
    if (!channels_.empty())
        return asio::kInvalidMode;
    if (infos == nullptr || count <= 0 || bufferSize <= 0 || callbacks == nullptr)
        return asio::kInvalidParameter;
    std::set<std::pair<bool, int32_t>> seen;
    for (int32_t i = 0; i < count; ++i) {
        const bool input = infos[i].isInput != 0;
        const int32_t n = input ? settings_.inputs : settings_.outputs;
        if (infos[i].channelNum < 0 || infos[i].channelNum >= n ||
            !seen.insert({input, infos[i].channelNum}).second)
            return asio::kInvalidParameter;
    }
    auto ask = [callbacks](int32_t selector, int32_t value) {
        return callbacks->asioMessage != nullptr
                   ? callbacks->asioMessage(selector, value, nullptr, nullptr)
                   : 0;
    };
    const bool timeInfo = ask(asio::kSelectorSupported, asio::kSupportsTimeInfo) == 1 &&
                          ask(asio::kSupportsTimeInfo, 0) == 1;
    if (timeInfo ? callbacks->bufferSwitchTimeInfo == nullptr : callbacks->bufferSwitch == nullptr)
        return asio::kInvalidParameter;
    Log(timeInfo ? "callbacks bufferSwitchTimeInfo" : "callbacks bufferSwitch");

    const size_t bytes = static_cast<size_t>(bufferSize) * BytesPerSample(settings_.sampleType);
    channels_.resize(count);
    for (int32_t i = 0; i < count; ++i) {
        Channel& c = channels_[i];
        c.isInput = infos[i].isInput != 0;
        c.number = infos[i].channelNum;
        for (int h = 0; h < 2; ++h) {
            c.halves[h].assign(bytes, 0);
            infos[i].buffers[h] = c.halves[h].data();
        }
        if (!c.isInput && !settings_.recordPrefix.empty()) {
            // Appended to, so that what a host plays across a reset lands in one file.
            const std::string path =
                settings_.recordPrefix + "." + std::to_string(c.number) + ".raw";
            c.record = std::fopen(path.c_str(), "ab");
            if (c.record == nullptr) {
                Log("cannot record to " + path);
                FreeBuffers();
                return asio::kHwMalfunction;
            }
        }
    }
    bufferSize_ = bufferSize;
    callbacks_ = *callbacks;
    timeInfo_ = timeInfo;
    return asio::kOk;
}

asio::Error STDMETHODCALLTYPE TestDriver::disposeBuffers() {
    Log("disposeBuffers");
    if (thread_.joinable() && std::this_thread::get_id() == thread_.get_id())
        return asio::kInvalidMode;
    if (channels_.empty())
        return asio::kInvalidMode;
    StopThread();
    FreeBuffers();
    return asio::kOk;
}

void TestDriver::FreeBuffers() {
    for (Channel& c : channels_)
        if (c.record != nullptr)
            std::fclose(c.record);
    channels_.clear();
    bufferSize_ = 0;
    callbacks_ = asio::Callbacks{};
    timeInfo_ = false;
}

void TestDriver::StopThread() {
    if (!thread_.joinable())
        return;
    stopping_ = true;
    SetEvent(wake_);
    // A host that stops from inside a callback: the thread ends when the callback returns, and
    // the next start or the destructor joins it.
    if (std::this_thread::get_id() == thread_.get_id())
        return;
    thread_.join();
}

void TestDriver::Run(int64_t begin) {
    const int64_t frequency = CounterFrequency();
    const double period = bufferSize_ * static_cast<double>(frequency) / rate_;
    // Each switch waits for its own deadline counted from the start, so the late wake-ups of
    // the waits never add up: the average rate is the device's whatever the timer's grain.
    auto waitUntil = [&](int64_t deadline) {
        for (;;) {
            if (stopping_)
                return false;
            const int64_t now = Counter();
            if (now >= deadline)
                return true;
            const auto ms = static_cast<DWORD>(
                std::ceil(static_cast<double>(deadline - now) * 1000 / frequency));
            WaitForSingleObject(wake_, ms);
        }
    };
    for (int64_t n = 0;; ++n) {
        const int64_t deadline = begin + std::llround(static_cast<double>(n + 1) * period);
        if (!waitUntil(deadline))
            return;
        const int32_t half = static_cast<int32_t>(n % 2);
        const int64_t when = Nanoseconds(Counter(), frequency);
        {
            std::lock_guard<std::mutex> lock(positionMutex_);
            framesSwitched_ = n * bufferSize_;
            switchTimeNs_ = when;
        }
        if (timeInfo_) {
            asio::Time time{};
            time.timeInfo.sampleRate = rate_;
            time.timeInfo.samplePosition = Halves(n * bufferSize_);
            time.timeInfo.systemTime = Halves(when);
            time.timeInfo.flags = 0x7; // system time, sample position and sample rate valid
            callbacks_.bufferSwitchTimeInfo(&time, half, 1);
        } else {
            callbacks_.bufferSwitch(half, 1);
        }
        for (Channel& c : channels_)
            if (c.record != nullptr)
                std::fwrite(c.halves[half].data(), 1, c.halves[half].size(), c.record);

        if (settings_.resetAfter > 0 && !resetRequested_ && n + 1 == settings_.resetAfter) {
            resetRequested_ = true;
            if (settings_.resetBufferSize > 0)
                preferredSize_ = settings_.resetBufferSize;
            if (callbacks_.asioMessage != nullptr &&
                callbacks_.asioMessage(asio::kSelectorSupported, asio::kResetRequest, nullptr,
                                       nullptr) == 1) {
                Log("reset request");
                callbacks_.asioMessage(asio::kResetRequest, 0, nullptr, nullptr);
                // A driver waiting for its reset plays nothing more: idle until stopped.
                idle_ = true;
                while (!stopping_)
                    WaitForSingleObject(wake_, INFINITE);
                return;
            }
            Log("reset unsupported");
        }
    }
}

} // namespace qv::asio_test
