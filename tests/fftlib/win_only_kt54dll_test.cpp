// The real KT54DLL.DLL, loaded by name the way the program loads it, with every export used.
#include "fftlib/fft_library.h"
#include "support/fake_ui.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace qv {
namespace {

TEST(Kt54DllTest, LoadsByNameAndEveryExportWorks) {
    test::RecordingUi ui;
    FftApi api;
    ASSERT_TRUE(LoadFftLibrary(QV_KT54DLL_DIR, api, ui, "Quorvale")) << ui.messages.at(0).text;
    EXPECT_TRUE(ui.messages.empty());
    // Not the copy linked into this test: the library's own slot table.
    EXPECT_NE(reinterpret_cast<void*>(api.createFft), reinterpret_cast<void*>(&Create_FFT));

    ASSERT_NE(api.createFft(10, 4096, 0, 1), nullptr);
    std::vector<double> d(2 * 4096, 0.0);
    d[2 * 3] = 1.0; // impulse at 3: bins of magnitude 1/M
    EXPECT_EQ(api.fft(10, d.data(), 0), 0);
    for (int k = 0; k < 4096; k += 511) {
        EXPECT_NEAR(std::hypot(d[2 * k], d[2 * k + 1]), 1.0 / 4096, 1e-15) << k;
    }
    EXPECT_EQ(api.fft(10, d.data(), 1), 0);
    EXPECT_NEAR(d[6], 1.0, 1e-12);
    EXPECT_EQ(api.createKaiserWindow(10, 4096, 6.0), 4096);
    EXPECT_EQ(api.createKaiserWindow(10, 4096, 6.0), 0);
    std::vector<double> w(2 * 4096, 1.0);
    EXPECT_EQ(api.weightWindow(10, w.data(), 7), 4096);
    EXPECT_EQ(w[0], 0.0);
    EXPECT_NEAR(w[2 * 2048], 1.0, 1e-15);
    EXPECT_EQ(api.weightWindow(10, w.data(), 3), 4096);
    std::vector<double> s(2 * 4096, 0.0);
    api.postProcess(10, s.data(), 1, 1);
    EXPECT_EQ(s[0], 0.0);
    std::vector<ScreenPoint> p = {{0, 0}, {0, 0}, {1, 0}};
    int32_t count = 3, runs = 0, lengths[3] = {};
    api.prepareCoordinates(&count, p.data(), nullptr, nullptr, &runs, lengths, 1);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(lengths[0], 2);
    EXPECT_EQ(api.createFft(20, 64, 0, 0), nullptr);
    api.releaseFft(10);
}

TEST(Kt54DllTest, AMissingLibraryIsReported) {
    test::RecordingUi ui;
    FftApi api;
    EXPECT_FALSE(LoadFftLibrary("C:\\no\\such\\folder", api, ui, "Quorvale"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.rfind("Unable to load 'KT54DLL.DLL'. \n\n  (LoadLibrary: ", 0),
              0u);
    EXPECT_EQ(ui.messages[0].caption, "Quorvale");
    EXPECT_FALSE(ui.messages[0].ownedByMain);
    EXPECT_EQ(api.createFft, nullptr);
}

} // namespace
} // namespace qv
