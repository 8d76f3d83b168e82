// The test driver object (see asio_test_driver.cpp for what it does and how the environment
// configures it) and the module's count of live objects, which DllCanUnloadNow reads.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include <windows.h>

#include "engine/win/asio_interface.h"

namespace qv::asio_test {

// Objects and server locks alive in this module.
extern std::atomic<long> g_moduleRefs;

// What the environment asked for when the object was created.
struct Settings {
    int32_t sampleType = asio::kInt32Lsb;
    int32_t outputs = 2;
    int32_t inputs = 2;
    int32_t bufferSize = 256;
    std::vector<double> rates;
    std::string initFailure;
    bool outputReady = true;
    asio::Error panelResult = asio::kOk;
    std::string logPath;
    std::string recordPrefix;
    int64_t resetAfter = 0; // 0: never
    int32_t resetBufferSize = 0;

    static Settings FromEnvironment();
};

int BytesPerSample(int32_t sampleType);

inline int64_t Counter() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    int64_t value;
    std::memcpy(&value, &now, sizeof value);
    return value;
}

inline int64_t CounterFrequency() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    int64_t value;
    std::memcpy(&value, &frequency, sizeof value);
    return value;
}

inline int64_t Nanoseconds(int64_t counts, int64_t frequency) {
    return counts / frequency * 1000000000 + counts % frequency * 1000000000 / frequency;
}

inline asio::Int64Halves Halves(int64_t value) {
    auto v = static_cast<uint64_t>(value);
    return {static_cast<uint32_t>(v >> 32), static_cast<uint32_t>(v)};
}

class TestDriver final : public asio::Driver {
public:
    explicit TestDriver(const CLSID& clsid);
    ~TestDriver();
    TestDriver(const TestDriver&) = delete;
    TestDriver& operator=(const TestDriver&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    asio::Bool STDMETHODCALLTYPE init(void* sysHandle) override;
    void STDMETHODCALLTYPE getDriverName(char* name) override;
    int32_t STDMETHODCALLTYPE getDriverVersion() override;
    void STDMETHODCALLTYPE getErrorMessage(char* text) override;
    asio::Error STDMETHODCALLTYPE start() override;
    asio::Error STDMETHODCALLTYPE stop() override;
    asio::Error STDMETHODCALLTYPE getChannels(int32_t* inputs, int32_t* outputs) override;
    asio::Error STDMETHODCALLTYPE getLatencies(int32_t* input, int32_t* output) override;
    asio::Error STDMETHODCALLTYPE getBufferSize(int32_t* minSize, int32_t* maxSize,
                                                int32_t* preferredSize,
                                                int32_t* granularity) override;
    asio::Error STDMETHODCALLTYPE canSampleRate(asio::SampleRate rate) override;
    asio::Error STDMETHODCALLTYPE getSampleRate(asio::SampleRate* rate) override;
    asio::Error STDMETHODCALLTYPE setSampleRate(asio::SampleRate rate) override;
    asio::Error STDMETHODCALLTYPE getClockSources(asio::ClockSource* clocks,
                                                  int32_t* count) override;
    asio::Error STDMETHODCALLTYPE setClockSource(int32_t reference) override;
    asio::Error STDMETHODCALLTYPE getSamplePosition(asio::Samples* position,
                                                    asio::TimeStamp* stamp) override;
    asio::Error STDMETHODCALLTYPE getChannelInfo(asio::ChannelInfo* info) override;
    asio::Error STDMETHODCALLTYPE createBuffers(asio::BufferInfo* infos, int32_t count,
                                                int32_t bufferSize,
                                                asio::Callbacks* callbacks) override;
    asio::Error STDMETHODCALLTYPE disposeBuffers() override;
    asio::Error STDMETHODCALLTYPE controlPanel() override;
    asio::Error STDMETHODCALLTYPE future(int32_t selector, void* opt) override;
    asio::Error STDMETHODCALLTYPE outputReady() override;

private:
    struct Channel {
        bool isInput = false;
        int32_t number = 0;
        std::vector<uint8_t> halves[2];
        std::FILE* record = nullptr; // outputs only, when recording
    };

    void Log(const std::string& line);
    void Run(int64_t begin);
    void Switch(int32_t half, int64_t switchIndex);
    void StopThread();
    void FreeBuffers();
    int32_t CurrentBufferSize() const;

    const CLSID clsid_;
    const Settings settings_;
    std::atomic<ULONG> refs_{1};
    std::mutex logMutex_;

    // Host-thread state; the thread reads it only while it runs (between start and stop).
    std::atomic<double> rate_;
    std::atomic<int32_t> preferredSize_;
    std::vector<Channel> channels_;
    int32_t bufferSize_ = 0;
    asio::Callbacks callbacks_{};
    bool timeInfo_ = false;
    bool resetRequested_ = false; // once per object

    std::thread thread_;
    HANDLE wake_ = nullptr; // set by stop() to end the thread's wait early
    std::atomic<bool> stopping_{false};
    std::atomic<bool> idle_{false}; // waiting for its reset, switching no more

    // Written by the thread at each switch, read by getSamplePosition on the host's thread.
    std::mutex positionMutex_;
    int64_t framesSwitched_ = 0;
    int64_t switchTimeNs_ = 0;
};

} // namespace qv::asio_test
