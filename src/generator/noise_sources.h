// The three noise sources shared by all slots: Gaussian white noise, pink noise made in
// independent 4096-sample blocks by spectral shaping, and a 31-bit maximum-length sequence.
// Each gives one value per frame; every slot asking in the same frame gets the same value.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace qv {

struct FftApi;

constexpr int kPinkFftSlot = 10;
constexpr int32_t kPinkBlock = 4096;
constexpr uint32_t kMlsSeed = 3589781;

class NoiseSources {
public:
    NoiseSources();

    // The transform library for pink noise; creates its context in slot 10. Without it pink
    // noise is silent.
    void AttachFft(const FftApi* api);

    // The fixed start of every run: seed 1, no stored Gaussian pair, the MLS seed.
    void Reset();
    // A restarted stream counts frames from 0 again: cached values belong to the old count.
    void ForgetFrames();

    double White(uint32_t frame);
    double Pink(uint32_t frame);
    double Mls(uint32_t frame);

    // The raw sources, in the order the values above consume them.
    uint32_t NextUniform31();
    double NextGaussian();
    double NextMls();

    static const std::array<double, kPinkBlock / 2 + 1>& PinkGains();

private:
    struct Cache {
        int64_t frame = -1;
        double value = 0.0;
    };
    void MakePinkTable();

    uint64_t lcgState_ = 0;
    bool gaussToggle_ = false;
    double u1_ = 0.0, u2_ = 0.0;
    uint32_t mlsState_ = kMlsSeed;
    std::vector<double> pinkTable_; // 4096 complex values
    int32_t pinkIndex_ = 0;
    const FftApi* fft_ = nullptr;
    Cache white_, pink_, mls_;
};

} // namespace qv
