// The seven entry points of the library and its only state, the slot table.
#include "fftlib/fft_context.h"
#include "fftlib/kt54.h"

#include <cmath>
#include <new>

namespace {

qv::FftContext* g_slots[qv::kFftSlotCount] = {};

bool InTable(int32_t slot) {
    return slot >= 0 && slot < qv::kFftSlotCount;
}

// The context of a slot; nullptr for a number outside the table or a slot with no context, which
// the calls below answer with 0 and without touching their arrays.
qv::FftContext* Slot(int32_t slot) {
    return InTable(slot) ? g_slots[slot] : nullptr;
}

} // namespace

extern "C" {

void* KT54_CALL Create_FFT(int32_t slot, int32_t size, int32_t realInput, int32_t createWindows) {
    if (!InTable(slot))
        return nullptr;
    auto* context = new (std::nothrow) qv::FftContext;
    if (!context)
        return nullptr;
    if (!qv::BuildFftContext(*context, size, (realInput & 0xFF) != 0,
                             (createWindows & 0xFF) != 0)) {
        delete context;
        return nullptr;
    }
    // An occupied slot is released first: the old context would otherwise be lost for good.
    delete g_slots[slot];
    g_slots[slot] = context;
    return context;
}

void KT54_CALL Release_FFT(int32_t slot) {
    if (!InTable(slot))
        return;
    delete g_slots[slot];
    g_slots[slot] = nullptr;
}

int32_t KT54_CALL FFT_CreateKaiserWindow(int32_t slot, int32_t length, double alpha) {
    qv::FftContext* context = Slot(slot);
    if (!context)
        return 0;
    qv::FftContext& c = *context;
    if (length == c.kaiserLength && alpha == c.kaiserAlpha)
        return 0;
    c.kaiserLength = length;
    c.kaiserAlpha = alpha;
    qv::FillKaiserWindow(c.kaiserWindow, length, alpha);
    return length;
}

int32_t KT54_CALL FFT_WeightWindow(int32_t slot, double* data, int32_t windowCode) {
    const qv::FftContext* context = Slot(slot);
    if (!context)
        return 0;
    const qv::FftContext& c = *context;
    const double* window = nullptr;
    int32_t count = 0;
    if (windowCode >= 1 && windowCode <= qv::kFixedWindowCount) {
        if (!c.createWindows)
            return 0;
        window = c.windows[windowCode - 1].data();
        count = c.size;
    } else if (windowCode == 7) {
        if (c.kaiserWindow.empty())
            return 0;
        window = c.kaiserWindow.data();
        count = c.kaiserLength;
    } else {
        return c.size;
    }
    for (int32_t i = 0; i < count; ++i) {
        if (c.realInput) {
            data[i] *= window[i];
        } else {
            data[2 * i] *= window[i];
            data[2 * i + 1] = 0.0;
        }
    }
    return count;
}

void KT54_CALL FFT_PostProcess(int32_t slot, double* data, int32_t toDecibels, int32_t normalise) {
    const qv::FftContext* context = Slot(slot);
    if (!context)
        return;
    const qv::FftContext& c = *context;
    const int32_t last = c.transformSize / 2;
    if (toDecibels & 0xFF) {
        for (int32_t i = 0; i <= last; ++i) {
            double magnitude =
                std::sqrt(data[2 * i] * data[2 * i] + data[2 * i + 1] * data[2 * i + 1]);
            if (magnitude == 0.0)
                magnitude = 1e-38;
            data[2 * i] = 20.0 * std::log10(magnitude);
            data[2 * i + 1] = 0.0;
        }
    }
    if (normalise & 0xFF) {
        double peak = data[0];
        for (int32_t i = 1; i <= last; ++i)
            peak = data[2 * i] > peak ? data[2 * i] : peak;
        for (int32_t i = 0; i <= last; ++i)
            data[2 * i] -= peak;
    }
}

int32_t KT54_CALL FFT_fft(int32_t slot, double* data, intptr_t inverse) {
    if (qv::FftContext* context = Slot(slot))
        qv::RunTransform(*context, data, inverse != 0);
    return 0;
}

void KT54_CALL DLL_PrepareCoordinatesSub(int32_t* count, qv::ScreenPoint* points,
                                         qv::ScreenPoint* copyA, qv::ScreenPoint* copyB,
                                         int32_t* runCount, int32_t* runLengths,
                                         int32_t perRunLimit) {
    *runCount = 0;
    if (*count <= 0) {
        *count = 0;
        return;
    }
    int32_t out = 0, k = 0;
    int32_t previous = 0;
    for (int32_t n = 0; n < *count; ++n) {
        const int32_t x = points[n].x;
        if (n > 0 && x == previous) {
            ++k;
        } else {
            if (k > 0)
                runLengths[*runCount - 1] = k + 1;
            runLengths[*runCount] = 1;
            ++*runCount;
            k = 0;
        }
        previous = x;
        if (k < perRunLimit) {
            points[out].x = x;
            if (copyA)
                copyA[out].x = x;
            if (copyB)
                copyB[out].x = x;
            ++out;
        }
    }
    if (k > 0)
        runLengths[*runCount - 1] = k + 1;
    *count = out;
}

} // extern "C"
