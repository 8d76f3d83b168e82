// Forward complex transforms of the library against FFTW's best plan (FFTW is a comparator in
// this benchmark only; nothing of the product links it).
#include "fftlib/fft_api.h"

#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cmath>
#include <vector>

namespace {

void Fill(double* data, int n) {
    for (int i = 0; i < 2 * n; ++i)
        data[i] = std::sin(0.001 * i * i);
}

void BM_Kt54Forward(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const qv::FftApi api = qv::DirectFftApi();
    api.createFft(0, n, 0, 0);
    std::vector<double> data(2 * n);
    Fill(data.data(), n);
    for (auto _ : state) {
        api.fft(0, data.data(), 0);
        benchmark::ClobberMemory();
    }
    api.releaseFft(0);
}

void BM_FftwForward(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    auto* in = fftw_alloc_complex(n);
    auto* out = fftw_alloc_complex(n);
    fftw_plan plan = fftw_plan_dft_1d(n, in, out, FFTW_FORWARD, FFTW_PATIENT);
    Fill(reinterpret_cast<double*>(in), n);
    for (auto _ : state) {
        fftw_execute(plan);
        benchmark::ClobberMemory();
    }
    fftw_destroy_plan(plan);
    fftw_free(in);
    fftw_free(out);
}

BENCHMARK(BM_Kt54Forward)->Arg(4096)->Arg(65536);
BENCHMARK(BM_FftwForward)->Arg(4096)->Arg(65536);

} // namespace
