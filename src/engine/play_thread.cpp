// PlayThread: the playback loop. It fills the ring from the generator, hands the buffers to
// the device path, starts the device once the ring is full, refills every completed buffer
// and ends at the end of the signal, on Stop or on a device error. From the start of the pass
// on it allocates nothing, takes no lock and makes no call but the device path's and sleeps.
#include "engine/wave_play_rec.h"
#include "platform/thread_priority.h"

#include <algorithm>
#include <cstring>

namespace qv {

namespace {

constexpr auto kCompletionPoll = std::chrono::milliseconds(5);
constexpr auto kPositionPoll = std::chrono::milliseconds(1);
constexpr auto kPositionWaitLimit = std::chrono::milliseconds(400);

} // namespace

void WavePlayRec::PlayThread() {
    SetCurrentThreadPriority(settings_.playPriority);
    owner_.RunOnMainThread(*this, MainStep::Start);
    owner_.PostNotification(EngineNotification::PlaybackBegins);

    // The pass (the generator plays one).
    holdAll = startPaused;
    fillIndex = doneIndex = queuedCount = fillCount = totalWritten = 0;
    startTarget = prefillTarget;
    doneCount.store(0, std::memory_order_release);
    longestAfterFillUs_.store(0, std::memory_order_relaxed);
    bool fillNext = true;
    for (;;) {
        const FillOutcome step = FillStep(fillNext);
        if (step.result == FillResult::End)
            break;
        // A fill that produced nothing (or a device that refused) asks for no more signal.
        fillNext = step.result == FillResult::Prefilling || step.bytes != 0;
        const auto sent = std::chrono::steady_clock::now();
        owner_.RunOnMainThread(*this, MainStep::AfterFill);
        const int64_t waited = std::chrono::duration_cast<std::chrono::microseconds>(
                                   std::chrono::steady_clock::now() - sent)
                                   .count();
        if (waited > longestAfterFillUs_.load(std::memory_order_relaxed))
            longestAfterFillUs_.store(waited, std::memory_order_relaxed);
        if (step.result != FillResult::Prefilling) {
            WaitForCompletion();
            if (queuedCount == 0)
                break;
        }
    }
    if (deviceActive)
        device_->Reset(std::min(totalWritten, bufferCount));
    owner_.RunOnMainThread(*this, MainStep::EndOfPass);

    owner_.RunOnMainThread(*this, MainStep::EndOfPlayback);
    owner_.PostNotification(EngineNotification::PlaybackEnds);
    threadRunning_.store(false, std::memory_order_release);
}

// Waits for one completed buffer, or for Stop, which ends the loop, or for a Restart, which
// sends the loop back to FillStep without a completion.
void WavePlayRec::WaitForCompletion() {
    for (;;) {
        if (doneCount.load(std::memory_order_acquire) > 0)
            break;
        if (stopRequest.load(std::memory_order_acquire)) {
            queuedCount = 1;
            break;
        }
        if (restartPending.load(std::memory_order_acquire))
            return; // nothing completed: FillStep flushes and counts afresh
        if (deviceActive && device_->RestartRequested()) {
            restartStream = true; // a driver that asked for it may call back no more
            return;
        }
        std::this_thread::sleep_for(kCompletionPoll);
    }
    if (doneCount.load(std::memory_order_acquire) > 0)
        doneCount.fetch_sub(1, std::memory_order_acq_rel); // only this thread takes
    if (deviceActive)
        if (const char* callbackError = device_->CallbackError())
            errorText.Set(callbackError);
    doneIndex = (doneIndex + 1) % bufferCount;
    if (!errorText.Empty() || stopRequest.load(std::memory_order_acquire))
        queuedCount = 1;
    queuedCount -= 1;
}

WavePlayRec::FillOutcome WavePlayRec::FillStep(bool fillNext) {
    if (restartPending.exchange(false, std::memory_order_acq_rel))
        restartStream = true;
    if (restartStream) {
        fillCount = queuedCount = doneIndex = fillIndex = 0;
        startTarget = prefillTarget;
        if (deviceActive && !device_->Flush())
            return {FillResult::Queued, 0};
        if (startPaused)
            playState_.store(PlayState::Held, std::memory_order_release);
        fillNext = true;
    }

    const RingBuffer& buffer = ring[size_t(fillIndex)];
    int n = 0;
    if (fillNext) {
        n = int(std::min<uint32_t>(fill_(buffer.data, uint32_t(bufferBytes), uint32_t(fillCount)),
                                   uint32_t(bufferBytes)));
        restartStream = false;
    }
    if (n < bufferBytes)
        std::memset(buffer.data + n, silenceByte, size_t(bufferBytes - n));
    if (holdAll)
        n = bufferBytes;
    if (deviceActive && n > 0 && device_->QueuesBuffers() && !device_->Queue(fillIndex))
        return {FillResult::Queued, 0};
    if (n > 0) {
        totalWritten += 1;
        queuedCount += 1;
    }
    fillIndex = (fillIndex + 1) % bufferCount;
    fillCount += 1;
    if (n == 0 && fillCount < prefillTarget && startTarget == prefillTarget)
        startTarget = fillCount; // start with what has been filled

    if (fillCount == startTarget) { // the start point
        bufferDone_.Reset();
        doneCount.store(0, std::memory_order_release);
        longestAfterFillUs_.store(0, std::memory_order_relaxed);
        if (startPaused) {
            startPaused = false;
        } else if (deviceActive) {
            if (queuedCount <= minQueuedToStart)
                return {FillResult::End, 0};
            const uint64_t before = device_->Position();
            if (!device_->Start())
                return {FillResult::End, 0};
            WaitForPositionToMove(before);
            startTime = std::chrono::steady_clock::now();
            playState_.store(PlayState::Playing, std::memory_order_release);
        } else {
            playState_.store(PlayState::Playing, std::memory_order_release);
        }
    }
    if (fillCount < startTarget)
        return {FillResult::Prefilling, n};
    if (n == 0 && queuedCount <= minQueuedToContinue)
        return {FillResult::End, 0};
    return {FillResult::Queued, n};
}

// The play state turns 1 only once the device really plays, or after 400 ms.
void WavePlayRec::WaitForPositionToMove(uint64_t before) {
    const auto limit = std::chrono::steady_clock::now() + kPositionWaitLimit;
    while (device_->Position() <= before && std::chrono::steady_clock::now() < limit)
        std::this_thread::sleep_for(kPositionPoll);
}

} // namespace qv
