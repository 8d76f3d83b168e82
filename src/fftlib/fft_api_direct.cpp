#include "fftlib/fft_api.h"

namespace qv {

FftApi DirectFftApi() {
    return FftApi{&Create_FFT,      &Release_FFT, &FFT_CreateKaiserWindow,   &FFT_WeightWindow,
                  &FFT_PostProcess, &FFT_fft,     &DLL_PrepareCoordinatesSub};
}

} // namespace qv
