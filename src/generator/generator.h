// The eight wave slots, the output format and everything needed to render them into blocks of
// output samples: the one source of audio for playback and for file writing.
#pragma once

#include "filter/filter_design.h"
#include "filter/filter_designer.h"
#include "generator/control_texts.h"
#include "generator/live_change.h"
#include "generator/noise_sources.h"
#include "generator/output_format.h"
#include "generator/shared_value.h"
#include "generator/user_wave_set.h"
#include "generator/wave_slot.h"

#include <array>
#include <cstdint>
#include <vector>

namespace qv {

class Ui;
struct FftApi;

constexpr int kMaxChannels = 8;
constexpr int kCaptureLength = 16384;
// Frames a plain slot computes at a time: its samples stay in the first-level cache until mixed.
constexpr uint32_t kRunFrames = 256;

// Where a master's user wave is being read.
struct UserWavePlayPosition {
    uint32_t frameIndex = 0;
    size_t readPos = 0;
};

// The sampling frequency a typed number gives: its absolute value, from 1000 Hz up to the rate
// whose byte rates still fit 32 bits (8388607 Hz).
long long LimitSampleRate(long long typed);

class Generator {
public:
    Generator();

    // Reads the three format controls, re-derives every slot's level and frequency from its
    // texts and sizes the block buffers. A rate outside LimitSampleRate's beeps and takes it.
    void ApplyOutputFormat();

    // Turns the parameters into start state; runs before every playback and file write.
    void PrepareGenerator();

    // The one fill operation: renders byteCount / blockAlign frames into buffer in the output
    // format and returns the bytes produced (fewer at the end of a sweep, then 0). No allocation.
    uint32_t FillOutputBuffer(uint8_t* buffer, uint32_t byteCount, uint32_t blockIndex);

    // Frames produced into the mix buffer.
    uint32_t RenderBlock(uint32_t frameCount, uint32_t blockIndex);

    // Mixes frameCount frames into destination (channels doubles per frame); returns the frames
    // rendered, fewer when a master's sweep ended.
    uint32_t RenderFrames(uint32_t frameCount, double* destination);

    // One sample of one slot into its out/modOut (user waves add into frame directly). True only
    // for a master whose sweep has ended.
    bool GenerateSample(int slotIndex, double* frame);

    // Rewinds every oscillator for a restarted stream (block 0 while playing).
    void RestartGenerator();

    // Live changes, main thread. While the engine plays, frequency, amplitude, offset and phase
    // edits go into the pending record and reach the slot with the restarted stream; otherwise
    // they are written into the slot at once. bySync marks Wave5's frequency set by the sync.
    bool Playing() const;
    void SetFrequency(int slotIndex, double hz, bool bySync = false);
    void SetAmplitude(int slotIndex, double level);
    void SetOffset(int slotIndex, double level);
    void SetPhase(int slotIndex, double radians);
    // Asks the engine for a restart when the slot sounds (always: for phase and flag edits).
    void RequestRestart(int slotIndex, bool always = false);
    // Phase-continuous moves of a master's frequency or amplitude to a new value over seconds
    // (divided by the |delta| / 120 notches of a wheel event), on a log or linear path.
    void StartFreqTransition(int slotIndex, int delta, bool writeText, double seconds, bool log,
                             double hz);
    void StartAmpTransition(int slotIndex, int delta, double seconds, bool log, double level);

    // Sweep length in seconds from the file-length text (at least 0.01).
    double SweepLengthSeconds() const;

    // The transform library, for pink noise and the output filter.
    void AttachFft(const FftApi* api);
    // The output filter takes part in rendering: switched on, and a transform library there.
    bool FilterActive() const { return filterOn && fft_ != nullptr; }

    // Read-only views for the writers, the engine and the display. An oversampled file write
    // has blocks of O times the frames.
    const OutputFormat& Format() const { return format; }
    uint32_t BlockFrames() const { return blockFrames * WriteFactor(); }
    uint32_t BlockBytes() const { return BlockFrames() * format.blockAlign; }
    int DeviceBuffers() const { return deviceBufferCount; }
    const double* MixBuffer() const { return mixBuffer.data(); }

    // User parameters and their texts.
    std::array<WaveSlot, kSlotCount> slots;
    ControlTexts texts;
    std::array<UserWaveSet, 2> userWaves; // Wave1's and Wave5's
    bool filterOn = false;
    uint32_t overSampleRate = 1;
    uint32_t filterSize = 4096;
    bool oversampledWrite = false; // a file written at the oversampled rate, not decimated
    FilterDesign filterDesign;
    FilterDesigner filterDesigner;
    int32_t fitSampleCount = 4096;
    int playBufferMs = 500;
    Shared<int> dispChannel = 0;       // the first displayed channel, chosen while a stream plays
    PlaybackControl* engine = nullptr; // the device engine, when there is one
    Ui* ui = nullptr;                  // for the beep of a too-low sample rate

    // Running state.
    OutputFormat format;
    double effectiveRate = 44100.0;
    double invRate = 1.0 / 44100.0;
    double rateOver2Pi = 0.0;
    double twoPiOverRate = 0.0;
    uint64_t frameCounter = 0; // frames rendered at the effective rate since the (re)start
    std::array<UserWavePlayPosition, 2> userWavePos;
    NoiseSources noise;

    // Level data and display capture of the most recent fill. The render thread writes them
    // while the window reads them (a picture may mix two blocks); displayBlocks counts the
    // blocks, published after each block's values.
    std::array<Shared<int32_t>, kMaxChannels> peakMax{};
    std::array<Shared<int32_t>, kMaxChannels> peakMin{};
    std::array<Shared<bool>, kMaxChannels> clipped{};
    Shared<double> levelRef = 32767.0;
    std::vector<Shared<int32_t>> dispSamplesA;
    std::vector<Shared<int32_t>> dispSamplesB;
    Shared<uint64_t> displayBlocks = 0;

private:
    void ResetSlotsForStart();
    void SizeBuffers();
    uint32_t MixCapacityFrames() const;
    uint32_t WriteFactor() const { return FilterActive() && oversampledWrite ? overSampleRate : 1; }
    void SizeFilterBuffers();
    uint32_t RenderFilteredBlock(uint32_t frameCount, uint32_t blockIndex);
    void FilterSubBlock(int argument);
    // Channel c and, where there is one, channel c + 1 in one complex transform: the kernel is
    // real, so the real and the imaginary parts filter independently.
    void FilterChannelPair(uint32_t c, int argument);
    // A master's sweep has run its steps: the plain render stops, the filtered one only drains.
    bool SweepEnded() const {
        return (slots[0].sweep && slots[0].stepsLeft == 0) ||
               (slots[4].sweep && slots[4].stepsLeft == 0);
    }
    void PlayUserWave(WaveSlot& slot, double amplitude, double* frame);
    double PeriodicValue(WaveSlot& slot, double amplitude, double duty, double phaseOffset);
    void ConvertFrames(uint8_t* buffer, uint32_t frames);
    // A slot whose next frameCount samples are a plain periodic wave: no delay, noise, user
    // wave, modulation, gate, band limit, sweep or transition, which RenderPlainRun computes.
    bool PlainSlot(int slotIndex, int32_t waveform, uint32_t frameCount) const;
    void RenderPlainRun(int slotIndex, int32_t waveform, double* out, uint32_t frames);
    void MixPlainRuns(const uint32_t* channelSlots, double* destination, uint32_t frames);

    // Stages filled in by the noise, band-limit, sweep, modulation and gate code.
    void ResetNoise();
    double NoiseValue(int32_t waveform); // pink already x1.5
    double BandLimitedValue(WaveSlot& slot, double amplitude, double duty, double phase01,
                            double increment);
    void SetupSweep(WaveSlot& master, double seconds);
    void ApplyModulation(WaveSlot& master, double& amplitude, double& duty, double& phaseOffset);
    void ApplyStep(WaveSlot& master);
    void AdvanceGate(WaveSlot& master);
    void StartGate(WaveSlot& master);
    void ApplyPendingChanges();
    void InstallTransitions(WaveSlot& master);
    int32_t TransitionSteps(int delta, double seconds) const;
    void RequestTransition(int slotIndex, int kind, double target, int32_t steps, bool log);

    std::array<PendingChange, kSlotCount> pending;
    // Index: master (0 for Wave1, 1 for Wave5) x 2 + kind (0 frequency, 1 amplitude); the bit of
    // the same index in transitionFlags publishes the request.
    std::array<TransitionRequest, 4> transitionRequests;
    Shared<uint32_t> transitionFlags = 0;
    uint32_t transitionOrder = 0;

    // The output filter's stage.
    const FftApi* fft_ = nullptr;
    std::vector<double> filterInput;   // channels x F, frame-major: the older and the newer half
    std::vector<double> filterScratch; // F + 1 complex values
    std::vector<double> liveKernel;    // F + 1 complex values: the kernel spectrum in use
    uint32_t filterSlotSize = 0, filterSlotChannels = 0;
    uint64_t subBlockCount = 0;
    uint64_t deliveredFrames = 0;

    std::vector<double> mixBuffer;
    // Per-slot samples and per-channel sums of one run of plain slots (kRunFrames each).
    std::vector<double> runBuffer;
    uint32_t blockFrames = 4096;
    int deviceBufferCount = 1;
};

} // namespace qv
