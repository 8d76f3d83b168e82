// A stand-in for the device engine: a play state the test sets and a count of restart requests.
#pragma once

#include "generator/live_change.h"

#include <atomic>

namespace qv::test {

class FakeEngine : public PlaybackControl {
public:
    explicit FakeEngine(int state = 1) : state(state) {}
    int PlayState() const override { return state.load(); }
    void Restart() override {
        if (state.load() == 1)
            restarts.fetch_add(1);
    }
    std::atomic<int> state;
    std::atomic<int> restarts{0};
};

} // namespace qv::test
