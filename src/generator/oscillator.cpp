// One sample of one slot, in the fixed order: sweep end, delay, modulation, waveform, gate,
// sweep or transition step, phase advance.
#include "generator/generator.h"
#include "generator/remainder.h"

#include <cmath>

namespace qv {

bool Generator::GenerateSample(int slotIndex, double* frame) {
    WaveSlot& s = slots[slotIndex];
    s.out = s.modOut = 0.0;
    double duty = 0.5;
    double amplitude = s.curAmp;
    double phaseOffset = s.curPhase;
    const bool master = IsMaster(slotIndex);

    if (master && s.sweep && s.stepsLeft == 0)
        return true;
    if (s.waveform == kOff || s.sampleCount < 0) {
        s.out = s.modOut = s.offset;
        ++s.sampleCount;
        return false;
    }
    if (master && s.modulation)
        ApplyModulation(s, amplitude, duty, phaseOffset);

    double value;
    if (s.curFreq == 0.0) {
        value = amplitude;
    } else if (s.waveform >= kWhiteNoise && s.waveform <= kMlsNoise) {
        value = amplitude * NoiseValue(s.waveform);
    } else if (s.waveform == kUserWave) {
        if (master)
            PlayUserWave(s, amplitude, frame);
        ++s.sampleCount;
        return false;
    } else {
        value = PeriodicValue(s, amplitude, duty, phaseOffset);
    }

    if (master && (s.sweep || s.transition.Acquire()))
        ApplyStep(s);
    s.phaseAcc += s.curFreq;
    s.out = s.modOut = s.offset + value;
    ++s.sampleCount;
    return false;
}

double Generator::PeriodicValue(WaveSlot& s, double A, double D, double P) {
    const bool master = IsMaster(s.slotIndex);
    const double E = effectiveRate;
    const bool bandLimited = master && s.bandLimitType != 0;
    double value = 0.0;
    if (!(bandLimited && s.curFreq > E / 2)) {
        double x = PhaseRemainder(P * rateOver2Pi + s.phaseAcc, E, invRate);
        if (E - x < 1e-10) { // the accumulator landed a hair below a whole number of cycles
            s.phaseAcc = 0.0;
            x = 0.0;
        }
        double I = x * invRate;
        if (I < 0)
            I += 1.0;
        const double inc = s.curFreq * invRate;
        if (s.waveform == kSine) {
            value = A * std::sin(P + twoPiOverRate * s.phaseAcc);
        } else if (bandLimited) {
            value = BandLimitedValue(s, A, D, I, inc);
        } else {
            switch (s.waveform) {
            case kSquare:
                value = (I < D && I < 1.0 - inc - 1e-15) ? A : -A;
                break;
            case kTriangle:
                value = I < D ? A * (2.0 * I / D - 1.0) : A * (1.0 - 2.0 * (I - D) / (1.0 - D));
                break;
            case kSawtooth:
                value = A * (2.0 * I - 1.0);
                break;
            case kPulse:
                if (I >= 0.5) {
                    s.pulseState = 1;
                } else if (s.pulseState != 0) {
                    s.pulseState = 0;
                    value = A;
                }
                break;
            case kPulsePm:
                if (s.pulseState > 0 && I < D) {
                    value = A;
                    s.pulseState = -1;
                } else if (s.pulseState < 0 && (I >= D || I >= 1.0 - inc - 1e-15)) {
                    value = -A;
                    s.pulseState = 1;
                } else if (s.pulseState == 0 && I >= D) {
                    // Started inside a period (start phase or negative delay): its positive
                    // pulse is already past, so stay silent and start cleanly at the wrap.
                    s.pulseState = 1;
                }
                break;
            default:
                break;
            }
        }
    }
    if (s.gate)
        AdvanceGate(s);
    if (master && !s.gateOpen) {
        value = 0.0;
        for (int f = s.slotIndex + 1; f <= s.slotIndex + 3; ++f) {
            if (slots[f].gate)
                slots[f].out = 0.0;
        }
    }
    return value;
}

namespace {

// (l, r) of a two-channel frame under a selection code; unknown codes play as "ALL".
void SelectPair(int32_t code, double L, double R, double& l, double& r) {
    switch (code) {
    case kUserSelL:
        l = r = L;
        break;
    case kUserSelR:
        l = r = R;
        break;
    case kUserSelLPlusR:
        l = r = L + R;
        break;
    case kUserSelLMinusR:
        l = r = L - R;
        break;
    case kUserSelRMinusL:
        l = r = R - L;
        break;
    default:
        l = L, r = R;
        break;
    }
}

double SelectModSignal(int32_t code, double L, double R) {
    switch (code) {
    case kUserSelL:
        return L;
    case kUserSelR:
        return R;
    case kUserSelLPlusR:
        return L + R;
    case kUserSelLMinusR:
        return L - R;
    case kUserSelRMinusL:
        return R - L;
    default:
        return 0.0;
    }
}

} // namespace

void Generator::PlayUserWave(WaveSlot& s, double A, double* frame) {
    const int set = s.slotIndex == 0 ? 0 : 1;
    const UserWaveSet& u = userWaves[set];
    UserWavePlayPosition& pos = userWavePos[set];
    const uint32_t userChannels = u.userWaveChannels;
    if (u.userWaveFrames == 0 || userChannels == 0)
        return;
    if (static_cast<uint64_t>(u.userWaveFrames) * userChannels > u.userWaveSamples.size())
        return;
    if (s.sampleCount == 0 || pos.frameIndex >= u.userWaveFrames)
        pos = {};

    // With oversampling, frames between the original ones are zero (the filter interpolates),
    // and the original ones are scaled up by the factor to keep their level.
    const uint32_t O = FilterActive() ? overSampleRate : 1;
    const bool inBetween = O > 1 && frameCounter % O != 0;
    const double* in = u.userWaveSamples.data() + pos.readPos;
    auto sample = [&](uint32_t ch) { return inBetween ? 0.0 : in[ch] * O; };
    const uint32_t channels = format.channels;
    const bool wave5 = set == 1;

    if (userChannels == 1) {
        const double v = s.offset + A * sample(0);
        for (uint32_t c = 0; c < channels; ++c) {
            if (s.outChMask >> c & 1)
                frame[c] += v;
        }
        if (wave5)
            s.modOut = v;
    } else if (userChannels == 2) {
        double l, r;
        SelectPair(u.channelSelection, sample(0), sample(1), l, r);
        if ((s.outChMask & 1) && channels > 0)
            frame[0] += s.offset + A * l;
        if ((s.outChMask & 2) && channels > 1)
            frame[1] += s.offset + A * r;
        if (wave5)
            s.modOut = s.offset + A * SelectModSignal(u.modSignalSelection, sample(0), sample(1));
    } else {
        if (u.channelSelection == kUserSelAll) {
            const uint32_t n = userChannels < channels ? userChannels : channels;
            for (uint32_t i = 0; i < n; ++i) {
                if (s.outChMask >> i & 1)
                    frame[i] += s.offset + A * sample(i);
            }
        } else {
            double v = s.offset;
            for (uint32_t k = 0; k < userChannels && k < 32; ++k) {
                if (u.channelSelection >> k & 1) {
                    v = s.offset + A * sample(k);
                    break;
                }
            }
            for (uint32_t c = 0; c < channels; ++c) {
                if (s.outChMask >> c & 1)
                    frame[c] += v;
            }
        }
        if (wave5) {
            for (uint32_t k = userChannels < 32 ? userChannels : 32; k-- > 0;) {
                if (u.modSignalSelection >> k & 1) {
                    s.modOut = s.offset + A * sample(k);
                    break;
                }
            }
        }
    }
    if (!inBetween) {
        pos.readPos += userChannels;
        ++pos.frameIndex;
    }
}

} // namespace qv
