// The program's binding of the transform library: seven function pointers, resolved by their
// decorated export names from KT54DLL.DLL on Windows and bound directly in native builds.
#pragma once

#include "fftlib/kt54.h"

#include <array>
#include <functional>
#include <string>

namespace qv {

struct FftApi {
    decltype(&Create_FFT) createFft = nullptr;
    decltype(&Release_FFT) releaseFft = nullptr;
    decltype(&FFT_CreateKaiserWindow) createKaiserWindow = nullptr;
    decltype(&FFT_WeightWindow) weightWindow = nullptr;
    decltype(&FFT_PostProcess) postProcess = nullptr;
    decltype(&FFT_fft) fft = nullptr;
    decltype(&DLL_PrepareCoordinatesSub) prepareCoordinates = nullptr;
};

// The export names in the order they are resolved.
extern const std::array<const char*, 7> kFftExportNames;

// Resolves the seven names in order through lookup; stops at the first one missing and returns
// its name ("" when all were found, and only then is api filled).
std::string BindFftEntries(const std::function<void*(const char*)>& lookup, FftApi& api);

// The library linked into this program (native builds and tests).
FftApi DirectFftApi();

} // namespace qv
