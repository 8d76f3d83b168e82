// Band-limited square, triangle, sawtooth and pulses of the masters: additive synthesis (a
// Fourier series cut below half the effective rate) or BLIT (a band-limited impulse train,
// integrated for the step-like shapes).
#include "generator/band_limit.h"
#include "generator/generator.h"

#include <cmath>
#include <numbers>

namespace qv {

namespace {
constexpr double kPi = std::numbers::pi;
constexpr double kLongestHalfPeriod = 0x1p40; // samples; 2^41 + 1 harmonics are still exact
} // namespace

double BlitKernel(double m, double x) {
    const double b = kPi * std::fmod(x, 1.0);
    if (b == 0.0)
        return 1.0;
    const double v = std::sin(m * b) / (m * std::sin(b));
    return v > 1.0 ? 1.0 : v;
}

double BlitStartAverage(double r, double m, double x0, double period) {
    if (period > kExactStartPeriod) {
        // The kernel is then one narrow peak of area period x r, at the fraction q of the period
        // where g + x0 reaches a whole number: the running sum steps up there and falls by r a
        // sample, so its mean is period x r x (1/2 - q), less half a sample's r.
        const double f = x0 - std::floor(x0);
        const double q = f == 0.0 ? 0.0 : 1.0 - f;
        return period * r * (0.5 - q) - 0.5 * r;
    }
    double running = 0.0, total = 0.0;
    long long count = 0;
    for (long long j = 0;; ++j) {
        const double g = j / period;
        if (!(g < 1.0))
            break;
        running += BlitKernel(m, g + x0) - r;
        total += running;
        ++count;
    }
    return count ? total / count : 0.0;
}

namespace {

// Σ weight(k) · (sin kθ, cos kθ) for k = 1, 1 + step, … ≤ n, by rotating e^{ikθ} instead of
// calling sin and cos for every harmonic (the direct sum costs up to 1000 sines per sample).
// Four interleaved rotations keep the multiplications independent of each other; the rounding
// error grows with k but stays near 1e-13 for 1000 harmonics.
template <typename Weight>
void HarmonicSums(int n, int step, double theta, Weight weight, double& sinSum, double& cosSum) {
    constexpr int kChains = 4;
    double c[kChains], s[kChains], sinPart[kChains] = {}, cosPart[kChains] = {};
    for (int j = 0; j < kChains; ++j) {
        c[j] = std::cos((1 + j * step) * theta);
        s[j] = std::sin((1 + j * step) * theta);
    }
    const double rotCos = std::cos(kChains * step * theta),
                 rotSin = std::sin(kChains * step * theta);
    int k = 1;
    for (; k + (kChains - 1) * step <= n; k += kChains * step) {
        for (int j = 0; j < kChains; ++j) {
            const double w = weight(k + j * step);
            sinPart[j] += s[j] * w;
            cosPart[j] += c[j] * w;
            const double nextC = c[j] * rotCos - s[j] * rotSin;
            s[j] = s[j] * rotCos + c[j] * rotSin;
            c[j] = nextC;
        }
    }
    for (int j = 0; k <= n; k += step, ++j) { // the last few terms
        const double w = weight(k);
        sinPart[j] += s[j] * w;
        cosPart[j] += c[j] * w;
    }
    sinSum = (sinPart[0] + sinPart[1]) + (sinPart[2] + sinPart[3]);
    cosSum = (cosPart[0] + cosPart[1]) + (cosPart[2] + cosPart[3]);
}

} // namespace

double AdditiveSample(int32_t waveform, double effectiveRate, double freq, double A, double I) {
    double harmonics = std::floor(effectiveRate / freq * 0.5 - 1.0 / freq);
    if (!(harmonics > 0))
        harmonics = 0;
    const int n = harmonics > 1000 ? 1000 : static_cast<int>(harmonics);
    const double theta = 2.0 * kPi * I;
    double sinSum, cosSum;
    switch (waveform) {
    case kSquare:
        HarmonicSums(
            n, 2, theta, [](int k) { return 1.0 / k; }, sinSum, cosSum);
        return A * 4.0 / kPi * sinSum;
    case kTriangle:
        HarmonicSums(
            n, 2, theta, [](int k) { return 1.0 / (static_cast<double>(k) * k); }, sinSum, cosSum);
        return A * (-8.0 / (kPi * kPi)) * cosSum;
    case kSawtooth:
        HarmonicSums(
            n, 1, theta, [](int k) { return 1.0 / k; }, sinSum, cosSum);
        return A * (-2.0 / kPi) * sinSum;
    case kPulse:
        if (n == 0)
            return 0.0;
        HarmonicSums(
            n, 1, theta, [](int) { return 1.0; }, sinSum, cosSum);
        return A * cosSum / n;
    case kPulsePm:
        if (n == 0)
            return 0.0;
        HarmonicSums(
            n, 2, theta, [](int) { return 1.0; }, sinSum, cosSum);
        return A * cosSum / ((n + 1) / 2);
    default:
        return 0.0;
    }
}

namespace {

// One leaky integrator with its DC blocker; started at the first sample of a run.
double Integrate(double impulse, double gain, double e1, double d1, double m, double& integ,
                 double& hp) {
    double i1 = impulse * gain + integ * e1;
    double o1;
    if (m == 1) {
        o1 = impulse * 0.45;
        i1 = o1;
    } else {
        o1 = (i1 - integ) + hp * d1;
    }
    integ = i1;
    hp = o1;
    return o1;
}

} // namespace

double BlitSample(WaveSlot& s, double effectiveRate, double D, double A, double I) {
    const double f = s.curFreq;
    double P = effectiveRate / f;
    double h = 0.5 * P - 1.0 / f;
    // Far below 1 Hz the period outgrows every integer (and below about 1e-300 Hz even a
    // double): such a tone is constant over any run, so it is shaped with the longest period
    // whose harmonic count stays exact.
    if (!(h <= kLongestHalfPeriod)) {
        h = kLongestHalfPeriod;
        P = 2.0 * kLongestHalfPeriod;
    }
    const double m = std::floor(h);
    const double M = 2.0 * m + 1.0;
    const double r = 1.0 / M;
    const bool first = s.sampleCount == 0;
    const double b1 = BlitKernel(M, I) - r;
    // Within 1 Hz of half the rate only one "harmonic" is left (M = 1): the pulse
    // normalisations would divide by zero there, so the pulses are silent like their additive
    // counterparts.
    if (s.waveform == kPulse)
        return m == 0 ? 0.0 : A * b1 / (1.0 - r);
    const double w = 1.0 - D;
    const double b2 = s.waveform == kSawtooth ? 0.0 : BlitKernel(M, I + w) - r;
    if (s.waveform == kPulsePm) {
        if (m == 0)
            return 0.0;
        return A * (b1 - b2) * (std::fmod(m, 2.0) != 0.0 ? 1.0 / (1.0 + r) : 1.0 / (1.0 - r));
    }

    const double c = -2.0 * kPi / P;
    double e1 = 1.0, d1 = 1.0;
    if (f != s.blitLastFreq) { // leak only while the frequency moves
        s.blitLastFreq = f;
        e1 = std::exp(0.02 * c);
        d1 = std::exp(0.05 * c);
    }
    if (s.phase != 0.0)
        e1 = std::exp(0.01 * c);
    const double G = 1.0 - (1.45 / M) * (h - m);

    if (first) {
        s.blitInteg1 = I == 0.0 ? -b1 * G * 0.5 : -G * BlitStartAverage(r, M, I, P);
        s.blitHp1 = s.blitInteg1;
    }
    const double o1 = Integrate(b1, G, e1, d1, m, s.blitInteg1, s.blitHp1);
    if (s.waveform == kSawtooth)
        return -2.0 * A * o1;

    if (first) {
        s.blitInteg2 = I == 0.0 && w == 0.5 ? -b2 * G * 0.5 : -G * BlitStartAverage(r, M, I + w, P);
        s.blitHp2 = s.blitInteg2;
    }
    const double o2 = Integrate(b2, G, e1, d1, m, s.blitInteg2, s.blitHp2);
    double rect = o1 - o2; // high from the start of the cycle to the duty point
    if (s.waveform == kSquare) {
        rect = m == 1 ? 0.95 * rect : rect + (D - 0.5);
        return 2.0 * A * rect;
    }
    if (s.waveform != kTriangle)
        return 0.0;

    const double ea = std::exp(0.05 * c), na = std::exp(0.02 * c);
    if (first)
        s.triInteg = G * (I < D ? I / D - 0.5 : 0.5 - (I - D) / (1.0 - D));
    const double scaled = rect * 0.25 / ((1.0 - w) * w);
    s.triInteg = m == 1 ? 0.72 * scaled : 4.0 * scaled / P + s.triInteg * ea;
    if (first) {
        s.triPrevIn = s.triInteg * na;
        s.triHp = s.triPrevIn;
    }
    const double out = (s.triInteg - s.triPrevIn) + s.triHp * na;
    s.triPrevIn = s.triInteg;
    s.triHp = out;
    return 2.0 * A * out;
}

double Generator::BandLimitedValue(WaveSlot& slot, double amplitude, double duty, double phase01,
                                   double increment) {
    (void)increment;
    if (slot.bandLimitType == 1)
        return AdditiveSample(slot.waveform, effectiveRate, slot.curFreq, amplitude, phase01);
    return BlitSample(slot, effectiveRate, duty, amplitude, phase01);
}

} // namespace qv
