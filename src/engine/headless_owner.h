// An owner without a window: the synchronous steps run on the calling thread, notifications
// and buttons go nowhere. For playback from a program without a message loop.
#pragma once

#include "engine/engine_owner.h"
#include "platform/app_title.h"

#include <functional>

namespace qv {

class HeadlessOwner : public EngineOwner {
public:
    explicit HeadlessOwner(std::function<void()> afterFill = {})
        : afterFill_(std::move(afterFill)) {}
    void RunOnMainThread(WavePlayRec& engine, MainStep step) override;
    void PostNotification(EngineNotification) override {}
    void AfterFill() override {
        if (afterFill_)
            afterFill_();
    }
    void EnablePlayButton(bool) override {}
    void EnableStopButton(bool) override {}
    std::string CaptionText() const override { return kAppTitle; }
    void PumpMessages() override {}

private:
    std::function<void()> afterFill_;
};

} // namespace qv
