// The ASIO driver interface as its public description gives it: an in-process COM object whose
// methods follow IUnknown in the order below, with the result codes, sample types, message
// selectors and records a host and a driver exchange. Both sides are declared here: the engine
// calls a driver through it, and the tests build a driver of their own against it.
//
// On x86-64 the drivers' calling convention for these methods is the platform's one, so the
// methods are declared as an ordinary abstract class; the records use 32-bit integers where the
// description says "long" (32 bits on Windows).
#pragma once

#include <cstdint>

#include <unknwn.h>

namespace qv::asio {

using Bool = int32_t;  // 0 false, non-zero true
using Error = int32_t; // the result codes below
using SampleRate = double;

enum : Error {
    kOk = 0,
    kSuccess = 0x3f4847a0, // a future() call the driver understood
    kNotPresent = -1000,   // no driver or hardware
    kHwMalfunction = -999,
    kInvalidParameter = -998,
    kInvalidMode = -997,
    kSpNotAdvancing = -996,
    kNoClock = -995,
    kNoMemory = -994,
};

// A sample type: the layout of one channel's buffer.
enum SampleType : int32_t {
    kInt16Msb = 0,
    kInt24Msb = 1,
    kInt32Msb = 2,
    kFloat32Msb = 3,
    kFloat64Msb = 4,
    kInt32Msb16 = 8,
    kInt32Msb18 = 9,
    kInt32Msb20 = 10,
    kInt32Msb24 = 11,
    kInt16Lsb = 16,
    kInt24Lsb = 17, // packed in three bytes
    kInt32Lsb = 18,
    kFloat32Lsb = 19,
    kFloat64Lsb = 20,
    kInt32Lsb16 = 24, // 32-bit containers holding 16, 18, 20 or 24 valid bits
    kInt32Lsb18 = 25,
    kInt32Lsb20 = 26,
    kInt32Lsb24 = 27,
};

// A 64-bit count as two 32-bit halves.
struct Int64Halves {
    uint32_t hi;
    uint32_t lo;
};
using Samples = Int64Halves;
using TimeStamp = Int64Halves; // nanoseconds

struct ClockSource {
    int32_t index;
    int32_t associatedChannel;
    int32_t associatedGroup;
    Bool isCurrentSource;
    char name[32];
};

struct ChannelInfo {
    int32_t channel; // in: the channel asked for
    Bool isInput;    // in
    Bool isActive;   // out: part of the created buffers
    int32_t channelGroup;
    SampleType type;
    char name[32];
};

struct BufferInfo {
    Bool isInput;
    int32_t channelNum;
    void* buffers[2]; // out: the two halves
};

struct TimeInfo {
    double speed;
    TimeStamp systemTime;
    Samples samplePosition;
    SampleRate sampleRate;
    uint32_t flags;
    char reserved[12];
};

struct TimeCode {
    double speed;
    Samples timeCodeSamples;
    uint32_t flags;
    char future[64];
};

struct Time {
    int32_t reserved[4];
    TimeInfo timeInfo;
    TimeCode timeCode;
};

// The host's functions the driver calls, on its own thread.
struct Callbacks {
    void (*bufferSwitch)(int32_t doubleBufferIndex, Bool directProcess);
    void (*sampleRateDidChange)(SampleRate rate);
    int32_t (*asioMessage)(int32_t selector, int32_t value, void* message, double* opt);
    Time* (*bufferSwitchTimeInfo)(Time* params, int32_t doubleBufferIndex, Bool directProcess);
};

// The selectors of asioMessage.
enum : int32_t {
    kSelectorSupported = 1, // value: a selector; answer 1 when the host takes it
    kEngineVersion = 2,
    kResetRequest = 3, // the driver needs the host to set it up again
    kBufferSizeChange = 4,
    kResyncRequest = 5,
    kLatenciesChanged = 6,
    kSupportsTimeInfo = 7,
    kSupportsTimeCode = 8,
    kMmcCommand = 9,
};

// The driver object. Its class identifier doubles as the interface identifier.
class Driver : public IUnknown {
public:
    virtual Bool STDMETHODCALLTYPE init(void* sysHandle) = 0;
    virtual void STDMETHODCALLTYPE getDriverName(char* name) = 0; // 32 characters
    virtual int32_t STDMETHODCALLTYPE getDriverVersion() = 0;
    virtual void STDMETHODCALLTYPE getErrorMessage(char* text) = 0; // 124 characters
    virtual Error STDMETHODCALLTYPE start() = 0;
    virtual Error STDMETHODCALLTYPE stop() = 0;
    virtual Error STDMETHODCALLTYPE getChannels(int32_t* inputs, int32_t* outputs) = 0;
    virtual Error STDMETHODCALLTYPE getLatencies(int32_t* input, int32_t* output) = 0;
    virtual Error STDMETHODCALLTYPE getBufferSize(int32_t* minSize, int32_t* maxSize,
                                                  int32_t* preferredSize, int32_t* granularity) = 0;
    virtual Error STDMETHODCALLTYPE canSampleRate(SampleRate rate) = 0;
    virtual Error STDMETHODCALLTYPE getSampleRate(SampleRate* rate) = 0;
    virtual Error STDMETHODCALLTYPE setSampleRate(SampleRate rate) = 0;
    virtual Error STDMETHODCALLTYPE getClockSources(ClockSource* clocks, int32_t* count) = 0;
    virtual Error STDMETHODCALLTYPE setClockSource(int32_t reference) = 0;
    virtual Error STDMETHODCALLTYPE getSamplePosition(Samples* position, TimeStamp* stamp) = 0;
    virtual Error STDMETHODCALLTYPE getChannelInfo(ChannelInfo* info) = 0;
    virtual Error STDMETHODCALLTYPE createBuffers(BufferInfo* infos, int32_t count,
                                                  int32_t bufferSize, Callbacks* callbacks) = 0;
    virtual Error STDMETHODCALLTYPE disposeBuffers() = 0;
    virtual Error STDMETHODCALLTYPE controlPanel() = 0;
    virtual Error STDMETHODCALLTYPE future(int32_t selector, void* opt) = 0;
    virtual Error STDMETHODCALLTYPE outputReady() = 0;
};

} // namespace qv::asio
