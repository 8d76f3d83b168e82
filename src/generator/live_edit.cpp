// Edits of a slot while the generator may be playing: the restart path through the pending
// record, and phase-continuous transitions of a master's frequency and amplitude.
#include "generator/generator.h"
#include "generator/unit_conversion.h"

#include <cmath>

namespace qv {

namespace {

enum TransitionKind { kFreqTransition = 0, kAmpTransition = 1 };

int RequestIndex(int slotIndex, int kind) {
    return (slotIndex / 4) * 2 + kind;
}

// Sets up the step fields for a transition to target over steps samples. A logarithmic path
// needs a start and a target of the same sign, both non-zero; otherwise the path is linear (a
// log frequency path from 0 Hz is linear by definition, and a level stepping through or onto
// 0 would otherwise go NaN or jump at the first step). A log amplitude path from 0 keeps 0
// until the last step sets the target. The path chosen is also the next sweep's.
void BeginTransition(WaveSlot& m, int kind, double target, int32_t steps, bool log) {
    const double q = steps - 1 > 0 ? steps - 1 : 1;
    if (kind == kFreqTransition) {
        const double from = m.curFreq;
        m.freq = target;
        m.freqStepsLog = log && RatioStepsPossible(from, target);
        m.sweepFreqLog = m.freqStepsLog;
        m.freqStepLin = (target - from) / q;
        m.freqStepRatio = m.freqStepsLog ? std::pow(target / from, 1.0 / q) : 1.0;
        m.ampStepRatio = 1.0;
        m.ampStepLin = 0.0;
    } else {
        const double from = m.curAmp;
        m.amp = target;
        m.ampStepsLog = log && (from == 0.0 || RatioStepsPossible(from, target));
        m.sweepAmpLog = m.ampStepsLog;
        m.ampStepLin = (target - from) / q;
        m.ampStepRatio = m.ampStepsLog && from != 0.0 ? std::pow(target / from, 1.0 / q) : 1.0;
        m.freqStepRatio = 1.0;
        m.freqStepLin = 0.0;
    }
    m.phaseStep = 0.0;
    m.stepsLeft = steps;
    m.samplesPerStep = 1;
    m.stepCountdown = 1;
    m.transition.Publish(true);
}

} // namespace

bool Generator::Playing() const {
    return engine != nullptr && engine->State() == PlayState::Playing;
}

void Generator::SetFrequency(int i, double hz, bool bySync) {
    WaveSlot& s = slots[i];
    if (!Playing()) {
        s.freq = s.curFreq = hz;
        s.blitLastFreq = hz;
        s.transition = false;
        return;
    }
    // The typed value replaces a transition that has been asked for but not started yet.
    if (IsMaster(i))
        transitionFlags.FetchAnd(~(1u << RequestIndex(i, kFreqTransition)));
    PendingChange& p = pending[i];
    if (bySync) {
        p.wave5Freq = hz;
        p.bits.FetchAnd(~kPendingFreq);
        p.bits.FetchOr(kPendingWave5Freq);
    } else {
        p.freq = hz;
        p.bits.FetchAnd(~kPendingWave5Freq);
        p.bits.FetchOr(kPendingFreq);
    }
}

void Generator::SetAmplitude(int i, double level) {
    WaveSlot& s = slots[i];
    if (!Playing()) {
        s.amp = s.curAmp = level;
        return;
    }
    if (IsMaster(i))
        transitionFlags.FetchAnd(~(1u << RequestIndex(i, kAmpTransition)));
    pending[i].amp = level;
    pending[i].bits.FetchOr(kPendingAmp);
}

void Generator::SetOffset(int i, double level) {
    if (!Playing()) {
        slots[i].offset = level;
        return;
    }
    pending[i].offset = level;
    pending[i].bits.FetchOr(kPendingOffset);
}

void Generator::SetPhase(int i, double radians) {
    WaveSlot& s = slots[i];
    if (!Playing()) {
        s.phase = radians;
        s.curPhase = radians;
        return;
    }
    pending[i].phase = radians;
    pending[i].bits.FetchOr(kPendingPhase);
}

void Generator::RequestRestart(int i, bool always) {
    if (engine != nullptr && (always || slots[i].waveform != kOff))
        engine->Restart();
}

// Render thread, first buffer of a restarted stream: every slot's recorded edits in the order
// frequency, Wave5 frequency, amplitude, offset, phase.
void Generator::ApplyPendingChanges() {
    for (WaveSlot& s : slots) {
        PendingChange& p = pending[s.slotIndex];
        const uint32_t bits = p.bits.Exchange(0);
        if (bits == 0)
            continue;
        if (bits & (kPendingFreq | kPendingWave5Freq)) {
            const double f = (bits & kPendingWave5Freq) ? p.wave5Freq : p.freq;
            s.freq = s.curFreq = f;
            s.blitLastFreq = f;
            s.transition = false;
        }
        if (bits & kPendingAmp) {
            s.amp = s.curAmp = p.amp;
            s.transition = false;
        }
        if (bits & kPendingOffset)
            s.offset = p.offset;
        if (bits & kPendingPhase) {
            s.phase = p.phase;
            s.curPhase = p.phase;
        }
    }
}

int32_t Generator::TransitionSteps(int delta, double seconds) const {
    // A high-resolution wheel sends less than one notch; it counts as one.
    int notches = (delta < 0 ? -delta : delta) / 120;
    if (notches < 1)
        notches = 1;
    if (seconds == 0.0)
        return 1;
    const double steps = std::trunc(seconds * effectiveRate / notches);
    return steps < 1.0 ? 1 : steps > 2147483647.0 ? 2147483647 : static_cast<int32_t>(steps);
}

void Generator::RequestTransition(int i, int kind, double target, int32_t steps, bool log) {
    if (!Playing()) {
        BeginTransition(slots[i], kind, target, steps, log);
        return;
    }
    // A recorded edit of the same quantity that has not reached the slot yet is superseded.
    pending[i].bits.FetchAnd(kind == kFreqTransition ? ~(kPendingFreq | kPendingWave5Freq)
                                                     : ~uint32_t{kPendingAmp});
    const int index = RequestIndex(i, kind);
    TransitionRequest& r = transitionRequests[index];
    r.target = target;
    r.steps = steps;
    r.log = log;
    r.order = ++transitionOrder;
    transitionFlags.FetchOr(1u << index);
}

void Generator::StartFreqTransition(int i, int delta, bool writeText, double seconds, bool log,
                                    double hz) {
    if (!IsMaster(i))
        return;
    if (writeText)
        texts.slot[i].freq = FreqToText(hz, slots[i].freqUnit, format.sampleRate);
    RequestTransition(i, kFreqTransition, hz, TransitionSteps(delta, seconds), log);
}

void Generator::StartAmpTransition(int i, int delta, double seconds, bool log, double level) {
    if (!IsMaster(i))
        return;
    RequestTransition(i, kAmpTransition, level, TransitionSteps(delta, seconds), log);
}

// Render thread, at the start of each block a master renders: starts the transitions asked for
// since the last block, in the order they were asked for.
void Generator::InstallTransitions(WaveSlot& m) {
    const int shift = (m.slotIndex / 4) * 2;
    const uint32_t mine = 3u << shift;
    if ((transitionFlags.Get() & mine) == 0)
        return;
    const uint32_t flags = transitionFlags.FetchAnd(~mine, std::memory_order_acquire) >> shift;
    TransitionRequest* r = &transitionRequests[shift];
    int first = kFreqTransition;
    if ((flags & 3) == 3 && r[kAmpTransition].order.Get() - r[kFreqTransition].order.Get() >
                                (1u << 31)) { // the amplitude was asked for first
        first = kAmpTransition;
    }
    for (int kind : {first, 1 - first}) {
        if (flags >> kind & 1)
            BeginTransition(m, kind, r[kind].target, r[kind].steps, r[kind].log);
    }
}

} // namespace qv
