// The exported interface of KT54DLL: transform contexts addressed by slot number, windows, the
// spectrum post-processing and the plot-coordinate thinning. Standard-call functions exported
// under decorated names ("_Create_FFT@16" …, see kt54.def); native builds link them directly.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define KT54_CALL __stdcall
#else
#define KT54_CALL
#endif

namespace qv {

constexpr int kFftSlotCount = 20;

// A screen point as the platform lays it out: x then y, 32 bits each.
struct ScreenPoint {
    int32_t x;
    int32_t y;
};

} // namespace qv

extern "C" {

// Booleans are read from their low byte; inverse is pointer-sized (non-zero = inverse).
void* KT54_CALL Create_FFT(int32_t slot, int32_t size, int32_t realInput, int32_t createWindows);
void KT54_CALL Release_FFT(int32_t slot);
int32_t KT54_CALL FFT_CreateKaiserWindow(int32_t slot, int32_t length, double alpha);
int32_t KT54_CALL FFT_WeightWindow(int32_t slot, double* data, int32_t windowCode);
void KT54_CALL FFT_PostProcess(int32_t slot, double* data, int32_t toDecibels, int32_t normalise);
int32_t KT54_CALL FFT_fft(int32_t slot, double* data, intptr_t inverse);
void KT54_CALL DLL_PrepareCoordinatesSub(int32_t* count, qv::ScreenPoint* points,
                                         qv::ScreenPoint* copyA, qv::ScreenPoint* copyB,
                                         int32_t* runCount, int32_t* runLengths,
                                         int32_t perRunLimit);
}
