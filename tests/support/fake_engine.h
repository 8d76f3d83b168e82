// A stand-in for the device engine: a play state the test sets and a count of restart requests.
#pragma once

#include "generator/live_change.h"

#include <atomic>

namespace qv::test {

class FakeEngine : public PlaybackControl {
public:
    explicit FakeEngine(PlayState state = PlayState::Playing) : state(state) {}
    PlayState State() const override { return state.load(); }
    void Restart() override {
        if (state.load() == PlayState::Playing)
            restarts.fetch_add(1);
    }
    std::atomic<PlayState> state;
    std::atomic<int> restarts{0};
};

} // namespace qv::test
