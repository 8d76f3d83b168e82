// The exports that address a context by slot number answer 0 and leave their arrays alone when
// the number lies outside the table or the slot holds no context.
#include "fftlib/kt54.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace qv {
namespace {

constexpr int32_t kEmptySlot = 18;

struct SlotCall {
    const char* name;
    int32_t (*call)(int32_t slot, double* data); // the export's answer, 0 for one that has none
};

const SlotCall kSlotCalls[] = {
    {"FFT_CreateKaiserWindow",
     [](int32_t slot, double*) { return FFT_CreateKaiserWindow(slot, 64, 6.0); }},
    {"FFT_WeightWindow fixed",
     [](int32_t slot, double* d) { return FFT_WeightWindow(slot, d, 3); }},
    {"FFT_WeightWindow Kaiser",
     [](int32_t slot, double* d) { return FFT_WeightWindow(slot, d, 7); }},
    {"FFT_WeightWindow none", [](int32_t slot, double* d) { return FFT_WeightWindow(slot, d, 0); }},
    {"FFT_PostProcess",
     [](int32_t slot, double* d) {
         FFT_PostProcess(slot, d, 1, 1);
         return int32_t{0};
     }},
    {"FFT_fft forward", [](int32_t slot, double* d) { return FFT_fft(slot, d, 0); }},
    {"FFT_fft inverse", [](int32_t slot, double* d) { return FFT_fft(slot, d, 1); }},
};

TEST(Kt54SlotGuardTest, NoContextAnswersZeroAndTouchesNothing) {
    Release_FFT(kEmptySlot);
    for (const int32_t slot : {-1, kFftSlotCount, kEmptySlot}) {
        for (const SlotCall& c : kSlotCalls) {
            SCOPED_TRACE(testing::Message() << c.name << " slot " << slot);
            std::vector<double> data(2 * 64 + 2);
            std::iota(data.begin(), data.end(), 1.0);
            const std::vector<double> before = data;
            EXPECT_EQ(c.call(slot, data.data()), 0);
            EXPECT_EQ(data, before);
        }
    }
}

} // namespace
} // namespace qv
