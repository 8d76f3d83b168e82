// One of the eight wave generators: what the user set, and the running state of the oscillator.
#pragma once

#include "generator/shared_value.h"

#include <cstdint>

namespace qv {

enum Waveform : int32_t {
    kOff = 0,
    kSine = 1,
    kSquare = 2,
    kTriangle = 3,
    kSawtooth = 4,
    kPulse = 5,
    kPulsePm = 6,
    kWhiteNoise = 7,
    kPinkNoise = 8,
    kMlsNoise = 9,
    kUserWave = 10,
};

enum FreqUnit : int32_t { kHz = 0, kSamplesPerPeriod = 1 };
enum LevelUnit : int32_t { kDb = 0, kValue = 1, kPercent = 2 };

constexpr int kSlotCount = 8;
constexpr uint32_t kSmoothSweep = 0; // sweepStepRate value meaning one step per sample

// Fields of type Shared are the ones an edit may touch while the render thread plays the slot
// (direct edits take effect from the next sample) or that the main thread reads meanwhile.
struct WaveSlot {
    // User parameters.
    Shared<int32_t> waveform = kOff;
    Shared<int32_t> bandLimitType = 0; // 0 none, 1 additive, 2 BLIT (masters)
    Shared<double> freq = 1000.0;
    int32_t freqUnit = kHz;
    Shared<double> amp = 0.0;
    int32_t ampUnit = kDb;
    Shared<double> offset = 0.0;
    int32_t offsetUnit = kPercent;
    Shared<uint32_t> outChMask = 0;
    int32_t delay = 0;
    Shared<double> phase = 0.0;
    Shared<bool> gate = false;
    bool sweep = false;
    Shared<bool> sweepFreqLog = true;
    Shared<bool> sweepAmpLog = true;
    int32_t sweepPhase = 0;
    uint32_t sweepStepRate = kSmoothSweep;
    Shared<bool> modulation = false;
    Shared<int32_t> modulationType = 0;
    Shared<int32_t> modulatingSignal = 2;
    uint32_t gateOnHalfWaves = 0;
    uint32_t gateOffHalfWaves = 0;

    // Running state.
    int32_t slotIndex = 0;
    double out = 0.0;
    double modOut = 0.0;
    int32_t sampleCount = 0;
    int32_t pulseState = 1;
    double phaseAcc = 0.0;
    Shared<double> curFreq = 0.0;
    double blitLastFreq = 0.0;
    Shared<double> curAmp = 0.0;
    double curPhase = 0.0;
    Shared<bool> transition = false;
    Shared<int32_t> stepsLeft = 0;
    uint32_t samplesPerStep = 0;
    int32_t stepCountdown = 0;
    double freqStepLin = 0.0, freqStepRatio = 1.0;
    double ampStepLin = 0.0, ampStepRatio = 1.0;
    // The paths the running steps take: the log flags as far as the two ends allow.
    bool freqStepsLog = true, ampStepsLog = true;
    double phaseStep = 0.0;
    bool gateOpen = true, gateArmed = false;
    int32_t gateCount = 0;
    double blitInteg1 = 0, blitHp1 = 0, blitInteg2 = 0, blitHp2 = 0;
    double triPrevIn = 0, triHp = 0, triInteg = 0;
};

// Steps from one value to another can go by equal ratios only between two non-zero values of
// one sign: otherwise the ratio is 0, negative or NaN, and the steps go linearly.
inline bool RatioStepsPossible(double from, double to) {
    return from != 0.0 && to / from > 0.0;
}

inline bool IsMaster(int slotIndex) {
    return slotIndex == 0 || slotIndex == 4;
}

} // namespace qv
