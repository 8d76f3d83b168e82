#include "fftlib/fft_api.h"

namespace qv {

const std::array<const char*, 7> kFftExportNames = {
    "_Create_FFT@16",      "_Release_FFT@4", "_FFT_CreateKaiserWindow@16",   "_FFT_WeightWindow@12",
    "_FFT_PostProcess@16", "_FFT_fft@12",    "_DLL_PrepareCoordinatesSub@28"};

namespace {
template <typename F> F As(void* p) {
    return reinterpret_cast<F>(p);
}
} // namespace

std::string BindFftEntries(const std::function<void*(const char*)>& lookup, FftApi& api) {
    void* found[7];
    for (size_t i = 0; i < kFftExportNames.size(); ++i) {
        found[i] = lookup(kFftExportNames[i]);
        if (!found[i])
            return kFftExportNames[i];
    }
    api.createFft = As<decltype(api.createFft)>(found[0]);
    api.releaseFft = As<decltype(api.releaseFft)>(found[1]);
    api.createKaiserWindow = As<decltype(api.createKaiserWindow)>(found[2]);
    api.weightWindow = As<decltype(api.weightWindow)>(found[3]);
    api.postProcess = As<decltype(api.postProcess)>(found[4]);
    api.fft = As<decltype(api.fft)>(found[5]);
    api.prepareCoordinates = As<decltype(api.prepareCoordinates)>(found[6]);
    return "";
}

} // namespace qv
