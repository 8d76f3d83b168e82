#include "generator/noise_sources.h"

#include "fftlib/fft_api.h"

#include <cmath>
#include <numbers>

namespace qv {

const std::array<double, kPinkBlock / 2 + 1>& NoiseSources::PinkGains() {
    static const std::array<double, kPinkBlock / 2 + 1> gains = [] {
        std::array<double, kPinkBlock / 2 + 1> g{};
        g[0] = std::sqrt(4096.0) * 0.1 * std::sqrt(2.0);
        for (int k = 1; k <= kPinkBlock / 2; ++k)
            g[k] = g[0] / std::sqrt(k) / std::sqrt(2.0);
        return g;
    }();
    return gains;
}

NoiseSources::NoiseSources() : pinkTable_(2 * kPinkBlock, 0.0) {
    Reset();
}

void NoiseSources::AttachFft(const FftApi* api) {
    fft_ = api;
    if (fft_)
        fft_->createFft(kPinkFftSlot, kPinkBlock, 0, 0);
}

void NoiseSources::Reset() {
    // Seed 1 in the low word, advanced once by the 32-bit step.
    const uint32_t low = 1u * 22695477u + 1u;
    lcgState_ = low;
    gaussToggle_ = false;
    mlsState_ = kMlsSeed;
    ForgetFrames();
}

void NoiseSources::ForgetFrames() {
    white_ = pink_ = mls_ = Cache{};
}

uint32_t NoiseSources::NextUniform31() {
    lcgState_ = lcgState_ * 22695477u + 1u;
    return static_cast<uint32_t>(lcgState_ >> 32) & 0x7FFFFFFFu;
}

double NoiseSources::NextGaussian() {
    constexpr double kMax = 2147483647.0;
    double value;
    if (!gaussToggle_) {
        do {
            u1_ = NextUniform31() / kMax;
        } while (u1_ == 0.0);
        u2_ = NextUniform31() / kMax;
        value =
            std::sqrt(-2.0 * std::log(u1_)) * std::cos(2.0 * std::numbers::pi * u2_) * 2.0 / 7.0;
    } else {
        value =
            std::sqrt(-2.0 * std::log(u1_)) * std::sin(2.0 * std::numbers::pi * u2_) * 2.0 / 7.0;
    }
    gaussToggle_ = !gaussToggle_;
    return value < -1.0 ? -1.0 : value > 1.0 ? 1.0 : value;
}

double NoiseSources::NextMls() {
    const uint32_t b = (mlsState_ ^ (mlsState_ >> 3)) & 1u;
    mlsState_ = (mlsState_ >> 1) | (b << 30);
    return (mlsState_ & 1u) ? 1.0 : -1.0;
}

double NoiseSources::White(uint32_t frame) {
    if (white_.frame != frame)
        white_ = {frame, NextGaussian()};
    return white_.value;
}

double NoiseSources::Mls(uint32_t frame) {
    if (mls_.frame != frame)
        mls_ = {frame, NextMls()};
    return mls_.value;
}

void NoiseSources::MakePinkTable() {
    double* t = pinkTable_.data();
    for (int i = 0; i < kPinkBlock; ++i) {
        t[2 * i] = NextGaussian();
        t[2 * i + 1] = 0.0;
    }
    if (!fft_) { // no transform library: silence rather than unshaped noise
        for (double& v : pinkTable_)
            v = 0.0;
        return;
    }
    fft_->fft(kPinkFftSlot, t, 0);
    const auto& g = PinkGains();
    // The mirror of k is 4095 - k: bin 2048 is scaled twice and DC keeps its gain.
    for (int k = 0; k < kPinkBlock / 2; ++k) {
        for (int part = 0; part < 2; ++part) {
            t[2 * k + part] *= g[k];
            t[2 * (kPinkBlock - 1 - k) + part] *= g[k];
        }
    }
    t[2 * (kPinkBlock / 2)] *= g[kPinkBlock / 2];
    t[2 * (kPinkBlock / 2) + 1] *= g[kPinkBlock / 2];
    fft_->fft(kPinkFftSlot, t, 1);
}

double NoiseSources::Pink(uint32_t frame) {
    if (pink_.frame == frame)
        return pink_.value;
    if (frame == 0)
        pinkIndex_ = 0;
    if (pinkIndex_ == 0)
        MakePinkTable();
    const double value = pinkTable_[2 * pinkIndex_];
    pinkIndex_ = pinkIndex_ == kPinkBlock - 1 ? 0 : pinkIndex_ + 1;
    pink_ = {frame, value};
    return value;
}

} // namespace qv
