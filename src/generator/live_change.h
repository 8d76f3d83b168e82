// How edits reach a playing stream: the pending-change record of the restart path, the
// transition requests of the up/down buttons, and the device engine's side of a restart.
#pragma once

#include "generator/shared_value.h"

#include <cstdint>

namespace qv {

// The device engine's play state, written by the engine and read by the generator and the window.
enum class PlayState : int {
    Idle = 0,
    Playing = 1,
    Held = 2, // the stream is prepared but held at its start
};

// What the generator needs of the device engine.
class PlaybackControl {
public:
    virtual ~PlaybackControl() = default;
    virtual PlayState State() const = 0;
    // Asks for the stream to be flushed and refilled from block 0; ignored unless playing.
    virtual void Restart() = 0;
};

// Bits of the pending-change record.
enum PendingBit : uint32_t {
    kPendingFreq = 1,
    kPendingWave5Freq = 2, // Wave5's frequency rewritten by the Wave5 sync
    kPendingAmp = 4,
    kPendingOffset = 8,
    kPendingPhase = 16,
};

// Edits of one slot recorded while playing, applied by the first buffer of the restarted
// stream. Each slot has its own record and each quantity its own value, so edits of several
// slots or of amplitude and offset between two restarts are all applied to the right place.
// The values are written before the bit that publishes them.
struct PendingChange {
    Shared<uint32_t> bits = 0;
    Shared<double> freq, wave5Freq, amp, offset, phase;
};

// A frequency or amplitude transition asked for by the main thread while playing. The render
// thread installs it before the master's next block, so the step fields have one writer and
// the path starts from the value that is actually playing.
struct TransitionRequest {
    Shared<double> target;
    Shared<int32_t> steps;
    Shared<bool> log;
    Shared<uint32_t> order; // when it was asked for, relative to the master's other request
};

} // namespace qv
