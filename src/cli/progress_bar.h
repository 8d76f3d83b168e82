// A one-line progress bar on standard error, drawn only when it is a terminal.
#pragma once

#include <cstdint>

namespace qv {

class ProgressBar {
public:
    ProgressBar();
    void Update(uint64_t position, uint64_t maximum);
    void Finish();

private:
    bool terminal_;
    int lastPermille_ = -1;
};

} // namespace qv
