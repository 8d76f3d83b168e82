// qv_asio_test_driver.dll: an ASIO driver of our own, for the tests only. Under Wine no ASIO
// driver exists; this one plays nowhere but paces buffer switches like a device, records what the
// host wrote, and can be told to misbehave, so that the program's ASIO path is checked for real.
//
// Configured by the host process's environment, read when the object is created:
//   QV_ASIO_TEST_TYPE          sample type number of every channel (default 18, 32-bit int LSB)
//   QV_ASIO_TEST_OUTPUTS       output channels "Test Out 1".. (default 2)
//   QV_ASIO_TEST_INPUTS        input channels "Test In 1".. (default 2)
//   QV_ASIO_TEST_BUFFER        preferred buffer size in frames (default 256; the reported minimum
//                              is 64, maximum 4096, granularity -1). Latencies: input = the
//                              current buffer size, output = that + 32.
//   QV_ASIO_TEST_RATES         accepted sample rates, comma-separated (default
//                              "44100,48000,96000"); the first is the rate at creation
//   QV_ASIO_TEST_INIT_FAIL     when non-empty, init fails and getErrorMessage gives this text
//   QV_ASIO_TEST_OUTPUT_READY  "0": outputReady answers kNotPresent (default kOk)
//   QV_ASIO_TEST_PANEL         the result of controlPanel (default 0)
//   QV_ASIO_TEST_LOG           a Windows path; the driver appends a line per call it is given:
//                              "init", "start", "stop", "createBuffers <count> <size> <channelNum
//                              of the first BufferInfo>", then "callbacks bufferSwitchTimeInfo"
//                              or "callbacks bufferSwitch" (the one it will call),
//                              "disposeBuffers", "panel", "reset request" (or "reset unsupported"
//                              when the host does not take it), "cannot record to <path>"
//   QV_ASIO_TEST_RECORD        a Windows path prefix: after each buffer switch the half the host
//                              just filled is appended, per created output, to
//                              "<prefix>.<channelNum>.raw" in the channel's sample type (the files
//                              are appended to across createBuffers calls, so give each test a
//                              fresh prefix; one that cannot be opened fails createBuffers)
//   QV_ASIO_TEST_RESET_AFTER   after this many switches since start the driver asks for a reset
//                              (once per object) and switches no more until the host restarts it
//   QV_ASIO_TEST_RESET_BUFFER  the preferred buffer size reported from that moment on
//
// The switches run on the driver's own thread, switch n (from 0) one buffer period after switch
// n-1 and the first one period after start, half 0 first, directProcess 1. getSamplePosition and
// the time record give n × size for switch n and the moment of that switch (QueryPerformanceCounter
// in nanoseconds). The driver is strict where a host could get away with sloppiness on a real
// one: createBuffers refuses channels out of range or named twice and a second set of buffers
// before disposeBuffers, and nothing that would free the running thread's buffers is done from
// inside a callback (kInvalidMode).
#include <cmath>

#include "test_driver.h"

namespace qv::asio_test {
namespace {

bool Listed(const std::vector<double>& rates, double rate) {
    for (double r : rates)
        if (std::fabs(r - rate) < 1e-6)
            return true;
    return false;
}

} // namespace

TestDriver::TestDriver(const CLSID& clsid)
    : clsid_(clsid), settings_(Settings::FromEnvironment()), rate_(settings_.rates.front()),
      preferredSize_(settings_.bufferSize) {
    wake_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ++g_moduleRefs;
}

TestDriver::~TestDriver() {
    StopThread();
    FreeBuffers();
    if (wake_ != nullptr)
        CloseHandle(wake_);
    --g_moduleRefs;
}

HRESULT STDMETHODCALLTYPE TestDriver::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr)
        return E_POINTER;
    // A host asks for the driver's interface by its class id.
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, clsid_)) {
        *object = static_cast<asio::Driver*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE TestDriver::AddRef() {
    return ++refs_;
}

ULONG STDMETHODCALLTYPE TestDriver::Release() {
    ULONG left = --refs_;
    if (left == 0)
        delete this;
    return left;
}

asio::Bool STDMETHODCALLTYPE TestDriver::init(void*) {
    Log("init");
    return settings_.initFailure.empty() ? 1 : 0;
}

void STDMETHODCALLTYPE TestDriver::getDriverName(char* name) {
    if (name != nullptr)
        std::snprintf(name, 32, "%s", "QV Test Driver");
}

int32_t STDMETHODCALLTYPE TestDriver::getDriverVersion() {
    return 1;
}

void STDMETHODCALLTYPE TestDriver::getErrorMessage(char* text) {
    if (text != nullptr)
        std::snprintf(text, 124, "%s", settings_.initFailure.c_str());
}

asio::Error STDMETHODCALLTYPE TestDriver::start() {
    Log("start");
    if (channels_.empty())
        return asio::kInvalidMode;
    if (thread_.joinable()) {
        if (std::this_thread::get_id() == thread_.get_id())
            return asio::kInvalidMode; // from inside a callback
        if (!stopping_ && !idle_)
            return asio::kOk; // already running
        StopThread();         // idle after its reset request, or stopped from a callback
    }
    stopping_ = false;
    idle_ = false;
    ResetEvent(wake_);
    // The periods count from this call, not from whenever the new thread first runs.
    const int64_t begin = Counter();
    {
        std::lock_guard<std::mutex> lock(positionMutex_);
        framesSwitched_ = 0;
        switchTimeNs_ = Nanoseconds(begin, CounterFrequency());
    }
    try {
        thread_ = std::thread(&TestDriver::Run, this, begin);
    } catch (const std::system_error&) {
        return asio::kHwMalfunction;
    }
    return asio::kOk;
}

asio::Error STDMETHODCALLTYPE TestDriver::stop() {
    Log("stop");
    StopThread();
    return asio::kOk;
}

asio::Error STDMETHODCALLTYPE TestDriver::getChannels(int32_t* inputs, int32_t* outputs) {
    if (inputs == nullptr || outputs == nullptr)
        return asio::kInvalidParameter;
    *inputs = settings_.inputs;
    *outputs = settings_.outputs;
    return asio::kOk;
}

asio::Error STDMETHODCALLTYPE TestDriver::getLatencies(int32_t* input, int32_t* output) {
    if (input == nullptr || output == nullptr)
        return asio::kInvalidParameter;
    *input = CurrentBufferSize();
    *output = CurrentBufferSize() + 32;
    return asio::kOk;
}

asio::Error STDMETHODCALLTYPE TestDriver::getBufferSize(int32_t* minSize, int32_t* maxSize,
                                                        int32_t* preferredSize,
                                                        int32_t* granularity) {
    if (minSize == nullptr || maxSize == nullptr || preferredSize == nullptr ||
        granularity == nullptr)
        return asio::kInvalidParameter;
    *minSize = 64;
    *maxSize = 4096;
    *preferredSize = preferredSize_;
    *granularity = -1;
    return asio::kOk;
}

asio::Error STDMETHODCALLTYPE TestDriver::canSampleRate(asio::SampleRate rate) {
    return Listed(settings_.rates, rate) ? asio::kOk : asio::kNoClock;
}

asio::Error STDMETHODCALLTYPE TestDriver::getSampleRate(asio::SampleRate* rate) {
    if (rate == nullptr)
        return asio::kInvalidParameter;
    *rate = rate_;
    return asio::kOk;
}

asio::Error STDMETHODCALLTYPE TestDriver::setSampleRate(asio::SampleRate rate) {
    if (!Listed(settings_.rates, rate))
        return asio::kNoClock;
    rate_ = rate;
    return asio::kOk;
}

asio::Error STDMETHODCALLTYPE TestDriver::getClockSources(asio::ClockSource* clocks,
                                                          int32_t* count) {
    if (clocks == nullptr || count == nullptr || *count < 1)
        return asio::kInvalidParameter;
    clocks[0] = asio::ClockSource{};
    clocks[0].index = 0;
    clocks[0].associatedChannel = -1;
    clocks[0].associatedGroup = -1;
    clocks[0].isCurrentSource = 1;
    std::snprintf(clocks[0].name, sizeof clocks[0].name, "%s", "Internal");
    *count = 1;
    return asio::kOk;
}

asio::Error STDMETHODCALLTYPE TestDriver::setClockSource(int32_t reference) {
    return reference == 0 ? asio::kOk : asio::kInvalidParameter;
}

asio::Error STDMETHODCALLTYPE TestDriver::getSamplePosition(asio::Samples* position,
                                                            asio::TimeStamp* stamp) {
    if (position == nullptr || stamp == nullptr)
        return asio::kInvalidParameter;
    std::lock_guard<std::mutex> lock(positionMutex_);
    *position = Halves(framesSwitched_);
    *stamp = Halves(switchTimeNs_);
    return asio::kOk;
}

asio::Error STDMETHODCALLTYPE TestDriver::getChannelInfo(asio::ChannelInfo* info) {
    if (info == nullptr)
        return asio::kInvalidParameter;
    const int32_t n = info->isInput ? settings_.inputs : settings_.outputs;
    if (info->channel < 0 || info->channel >= n)
        return asio::kInvalidParameter;
    info->isActive = 0;
    for (const Channel& c : channels_)
        if (c.isInput == (info->isInput != 0) && c.number == info->channel)
            info->isActive = 1;
    info->channelGroup = 0;
    info->type = static_cast<asio::SampleType>(settings_.sampleType);
    std::snprintf(info->name, sizeof info->name, "Test %s %d", info->isInput ? "In" : "Out",
                  static_cast<int>(info->channel + 1));
    return asio::kOk;
}

asio::Error STDMETHODCALLTYPE TestDriver::controlPanel() {
    Log("panel");
    return settings_.panelResult;
}

asio::Error STDMETHODCALLTYPE TestDriver::future(int32_t, void*) {
    return asio::kNotPresent;
}

asio::Error STDMETHODCALLTYPE TestDriver::outputReady() {
    return settings_.outputReady ? asio::kOk : asio::kNotPresent;
}

int32_t TestDriver::CurrentBufferSize() const {
    return channels_.empty() ? preferredSize_.load() : bufferSize_;
}

void TestDriver::Log(const std::string& line) {
    if (settings_.logPath.empty())
        return;
    // Opened per line, so a test reads every line as soon as the call returned, and several
    // driver objects (or processes) can share one log.
    std::lock_guard<std::mutex> lock(logMutex_);
    if (std::FILE* f = std::fopen(settings_.logPath.c_str(), "ab")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

} // namespace qv::asio_test
