// The allocation counter of the test binary: no_allocation_test.cpp replaces the global
// operator new for the whole binary and counts there while countingAllocations is set.
#pragma once

#include <atomic>

namespace qv::test {

inline std::atomic<bool> countingAllocations{false};
inline std::atomic<long> allocationCount{0};

} // namespace qv::test
