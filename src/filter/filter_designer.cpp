#include "filter/filter_designer.h"

#include "fftlib/fft_api.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace qv {

namespace {

constexpr int kKaiserWindowCode = 7;

// Gains are held to +-1000 dB (as typed levels are), so no drawn value can overflow the
// transforms.
double FromDb(double db) {
    return std::pow(10.0, std::clamp(db, -1000.0, 1000.0) / 20.0);
}

void SwapHalves(double* values, int32_t count, double factor) {
    const int32_t half = count / 2;
    for (int32_t k = 0; k < half; ++k) {
        for (int part = 0; part < 2; ++part) {
            double& a = values[2 * k + part];
            double& b = values[2 * (half + k) + part];
            std::swap(a, b);
            a *= factor;
            b *= factor;
        }
    }
}

} // namespace

void FilterDesigner::PrepareSlots(int32_t n, int32_t r, int32_t a) {
    if (n != baseSize_) {
        api_->createFft(kBaseSlot, n, 0, 0);
        baseSize_ = n;
    }
    if (mailbox.spectrum.size() != 2 * (2 * static_cast<size_t>(a) + 1)) {
        mailbox.spectrum.assign(2 * (2 * static_cast<size_t>(a) + 1), 0.0);
        kernelSize_ = 0; // the kernel slots follow with the next full design
    }
    if (n * r != displaySize_) {
        displayResponse_.assign(2 * (static_cast<size_t>(n / 2) * r + 1), 0.0);
        api_->createFft(kDisplaySlot, n * r, 1, 0);
        displaySize_ = n * r;
    }
}

// Bins 0 ... N/2 of the drawn response, linear in dB over log frequency between the points
// (bin 0 counting as half a bin), into the real parts of the spectrum buffer.
void FilterDesigner::SampleMagnitude(FilterDesign& d, int32_t n) {
    const int32_t nyquist = n / 2;
    for (int i = 0; i < d.pointCount; ++i) {
        if (d.points[i].binIndex >= nyquist) {
            d.pointCount = i + 1;
            break;
        }
    }
    double* m = mailbox.spectrum.data();
    for (int32_t k = 0; k <= nyquist; ++k)
        m[2 * k] = m[2 * k + 1] = 0.0;
    magnitudeSteps_ = 0;
    // Bins the table does not reach (a malformed table from a hand-edited file) hold the value
    // before them, so the response never has holes.
    int32_t written = -1;
    auto put = [&](int32_t k, double value) {
        if (k < 0 || k > nyquist || k <= written || !std::isfinite(value))
            return;
        for (int32_t j = written + 1; j < k; ++j)
            m[2 * j] = value;
        m[2 * k] = value;
        written = k;
    };
    for (int i = 0; i < d.pointCount; ++i) {
        const FilterPoint& p = d.points[i];
        if (i == d.pointCount - 1) {
            put(p.binIndex, FromDb(p.gainDb));
            break;
        }
        const FilterPoint& next = d.points[i + 1];
        const int32_t lo = p.binIndex, hi = next.binIndex;
        const int64_t span = int64_t{hi} - lo;
        if (span == 1) {
            put(lo, FromDb(p.gainDb));
            continue;
        }
        if (span < 1 || lo < 0)
            continue;
        const double rho = lo == 0 ? 2.0 * span : static_cast<double>(hi) / lo;
        const double slope = (next.gainDb - p.gainDb) / std::log10(rho);
        // Only the bins of this filter are visited, however far the table's bins reach.
        const int32_t end = hi <= nyquist ? hi : nyquist + 1;
        for (int32_t k = std::max(lo, written + 1); k < end; ++k) {
            ++magnitudeSteps_;
            const double r = lo == 0 ? (k == 0 ? 1.0 : 2.0 * k) : static_cast<double>(k) / lo;
            put(k, FromDb(slope * std::log10(r) + p.gainDb));
        }
    }
    const double last = written >= 0 ? m[2 * written] : 1.0;
    for (int32_t j = written + 1; j <= nyquist; ++j)
        m[2 * j] = last;
}

void FilterDesigner::DisplayResponseFromMagnitude(const FilterDesign& d, int32_t n, int32_t r) {
    const double* m = mailbox.spectrum.data();
    double* v = displayResponse_.data();
    // A real, even spectrum of N points.
    v[0] = m[0], v[1] = 0.0;
    for (int32_t k = 1; k <= n / 2; ++k) {
        v[2 * k] = v[2 * (n - k)] = m[2 * k];
        v[2 * k + 1] = v[2 * (n - k) + 1] = 0.0;
    }
    api_->fft(kBaseSlot, v, 1);
    SwapHalves(v, n, 1.0);
    api_->createKaiserWindow(kBaseSlot, n, d.kaiserAlpha);
    api_->weightWindow(kBaseSlot, v, kKaiserWindowCode);
    for (int32_t k = 0; k < n; ++k)
        v[k] = v[2 * k] * r;
    for (size_t k = n; k < static_cast<size_t>(n) * r; ++k)
        v[k] = 0.0;
    api_->fft(kDisplaySlot, v, 0);
}

void FilterDesigner::KernelFromMagnitude(const FilterDesign& d, int32_t n, int32_t a) {
    if (a != kernelSize_) {
        api_->createFft(kOverSlot, a, 0, 0);
        api_->createFft(kSpectrumSlot, 2 * a, 0, 0);
        kernelSize_ = a;
    }
    double* m = mailbox.spectrum.data();
    for (int32_t k = 1; k <= n / 2; ++k) {
        m[2 * (a - k)] = m[2 * k];
        m[2 * (a - k) + 1] = 0.0;
    }
    if (a != n) {
        for (int32_t k = n / 2; k < n / 2 + a - n; ++k)
            m[2 * k] = m[2 * k + 1] = 0.0;
    }
    api_->fft(kOverSlot, m, 1);
    SwapHalves(m, a, 2.0);
    api_->createKaiserWindow(kOverSlot, a, d.kaiserAlpha);
    api_->weightWindow(kOverSlot, m, kKaiserWindowCode);
    for (size_t k = 2 * static_cast<size_t>(a); k < 4 * static_cast<size_t>(a); ++k)
        m[k] = 0.0;
    api_->fft(kSpectrumSlot, m, 0);
}

bool FilterDesigner::Design(FilterDesign& d, int32_t n, int32_t o, bool displayOnly, bool busy) {
    if (api_ == nullptr || mailbox.ready.Acquire())
        return false;
    const int32_t r = d.responseRate;
    const int32_t a = n * o;
    PrepareSlots(n, r, a);
    SampleMagnitude(d, n);
    DisplayResponseFromMagnitude(d, n, r);
    if (displayOnly && !busy)
        return true;
    KernelFromMagnitude(d, n, a);
    mailbox.ready.Publish(true);
    return true;
}

} // namespace qv
