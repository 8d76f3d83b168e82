#include "generator/generator.h"

#include "generator/block_geometry.h"
#include "generator/number_text.h"
#include "generator/unit_conversion.h"
#include "platform/ui.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

namespace qv {

namespace {
// Keeps every byte rate (8 channels x 4 bytes, x16 when oversampled) within 32 bits.
constexpr long long kMaxSampleRate = 0xFFFFFFFFLL / (32 * 16);
} // namespace

long long LimitSampleRate(long long typed) {
    const long long rate = std::llabs(typed);
    return rate < 1000 ? 1000 : rate > kMaxSampleRate ? kMaxSampleRate : rate;
}

Generator::Generator()
    : dispSamplesA(kCaptureLength, 0), dispSamplesB(kCaptureLength, 0),
      runBuffer(static_cast<size_t>(kSlotCount + kMaxChannels) * kRunFrames, 0.0) {
    for (int i = 0; i < kSlotCount; ++i)
        slots[i].slotIndex = i;
    slots[0].waveform = kSine;
    slots[0].outChMask = 3;
    for (auto& set : userWaves)
        ClearUserWave(set);
    ApplyOutputFormat();
}

void Generator::ApplyOutputFormat() {
    const std::string& bits = texts.bitLen;
    int32_t bitCode = (!bits.empty() && (bits[0] == 'F' || bits[0] == 'f'))
                          ? -32
                          : static_cast<int32_t>(ReadInteger(bits));
    if (bitCode != 8 && bitCode != 16 && bitCode != 24 && bitCode != 32 && bitCode != -32) {
        bitCode = 16; // only the list's items reach here; anything else keeps a sane format
    }
    int channels = texts.channelIndex + 1;
    if (channels < 1 || channels > kMaxChannels)
        channels = 2;
    const long long typed = ReadInteger(texts.sampleRate);
    const long long rate = LimitSampleRate(typed);
    // The text takes the limit too, so the saved set, the generator and the header agree.
    if (rate != std::llabs(typed)) {
        if (ui)
            ui->Beep();
        texts.sampleRate = std::to_string(rate);
    }
    format =
        MakeOutputFormat(static_cast<uint32_t>(rate), bitCode, static_cast<uint16_t>(channels));

    for (int i = 0; i < kSlotCount; ++i) {
        WaveSlot& s = slots[i];
        s.amp = LevelTextToInternal(texts.slot[i].amp, s.ampUnit, format);
        s.offset = LevelTextToInternal(texts.slot[i].offset, s.offsetUnit, format);
    }
    for (int i = 0; i < kSlotCount; ++i) {
        slots[i].freq = FreqTextToHz(texts.slot[i].freq, slots[i].freqUnit, format.sampleRate);
    }
    SizeBuffers();
}

uint32_t Generator::MixCapacityFrames() const {
    return (blockFrames + filterSize / 2) * WriteFactor();
}

void Generator::SizeBuffers() {
    blockFrames = BlockFramesFor(format.sampleRate, filterSize);
    deviceBufferCount = DeviceBufferCount(format.sampleRate, playBufferMs, blockFrames);
    mixBuffer.assign(static_cast<size_t>(MixCapacityFrames()) * format.channels + 9, 0.0);
    SizeFilterBuffers();
}

double Generator::SweepLengthSeconds() const {
    const double seconds = ReadDecimal(texts.fileLength);
    return seconds < 0.01 || !std::isfinite(seconds) ? 0.01 : seconds;
}

void Generator::StartGate(WaveSlot& master) {
    master.gateOpen = true;
    if (master.gate) {
        master.gateOpen = false;
        master.gateCount = 0;
        master.gateArmed = true;
    }
}

// Start phase of every oscillator, shared by the preparation step and a stream restart.
void Generator::ResetSlotsForStart() {
    for (int i = 0; i < kSlotCount; ++i) {
        WaveSlot& s = slots[i];
        s.slotIndex = i;
        s.sampleCount = 0;
        s.pulseState = 1;
        s.phaseAcc = 0.0;
    }
    const double factor = FilterActive() ? overSampleRate : 1;
    for (int m : {0, 4}) {
        WaveSlot& s = slots[m];
        if (s.delay > 0) {
            s.sampleCount = static_cast<int32_t>(-static_cast<double>(s.delay) * factor);
        } else if (s.delay < 0) {
            s.phaseAcc = s.freq * factor * std::fabs(static_cast<double>(s.delay));
            s.pulseState = 0;
        }
        if (s.phase > 0)
            s.pulseState = 0;
    }
}

void Generator::PrepareGenerator() {
    ApplyOutputFormat();
    effectiveRate = static_cast<double>(format.sampleRate) * (FilterActive() ? overSampleRate : 1);
    const double seconds = SweepLengthSeconds();
    for (int m : {0, 4}) {
        WaveSlot& s = slots[m];
        s.transition = false;
        s.stepsLeft = 0;
        s.samplesPerStep = 0;
        s.stepCountdown = 0;
        s.freqStepLin = s.ampStepLin = s.phaseStep = 0.0;
        s.freqStepRatio = s.ampStepRatio = 1.0;
        if (s.sweep)
            SetupSweep(s, seconds);
    }
    for (int m : {0, 4})
        StartGate(slots[m]);
    for (PendingChange& p : pending)
        p.bits = 0;
    transitionFlags = 0;
    frameCounter = 0;
    for (auto& pos : userWavePos)
        pos = {};
    for (WaveSlot& s : slots) {
        s.curFreq = s.blitLastFreq = s.freq;
        s.curAmp = s.amp;
        s.curPhase = s.phase;
    }
    ResetSlotsForStart();
    subBlockCount = 0;
    deliveredFrames = 0;
    if (FilterActive()) {
        filterDesigner.mailbox.ready = false;
        filterDesigner.Design(filterDesign, static_cast<int32_t>(filterSize),
                              static_cast<int32_t>(overSampleRate), false, false);
    }
    invRate = 1.0 / effectiveRate;
    rateOver2Pi = effectiveRate / (2.0 * std::numbers::pi);
    twoPiOverRate = 2.0 * std::numbers::pi / effectiveRate;
    ResetNoise();
}

void Generator::RestartGenerator() {
    noise.ForgetFrames(); // the sequences run on; the frame count starts again
    for (int m : {0, 4})
        StartGate(slots[m]);
    frameCounter = 0;
    ResetSlotsForStart();
}

} // namespace qv
