// The oscilloscope's data over a generator that renders: meters, trigger, throttle, freeze and
// the mono trace.
#include "display/scope_view.h"
#include "fftlib/fft_api.h"
#include "generator/generator_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace qv {
namespace {

struct Scope {
    explicit Scope(int channels) {
        test::SetFormat(g, 48000, "16", channels);
        test::SetSlot(g, 0, kSine, "1000", "-10", kDb, channels == 1 ? 1 : 3);
        g.slots[0].phase = 90; // the block starts at the crest
        g.PrepareGenerator();
        view.Layout(556, 200, 4096, 48000, false, api);
    }
    void Render(uint32_t frames) { (void)test::FillBytes(g, frames); }

    FftApi api = DirectFftApi();
    Generator g;
    ScopeView view;
};

TEST(ScopeViewTest, MetersTriggerAndTenPicturesASecond) {
    Scope s(2);
    s.Render(4096);
    ASSERT_TRUE(s.view.Update(s.g, 2, true, false));
    EXPECT_EQ(s.view.Capture().meters[0], "-10.0");
    EXPECT_EQ(s.view.Capture().meters[1], "-10.0");
    EXPECT_EQ(s.view.Capture().meters[2], "");
    // Triggered on the rising middle: the trace starts within one sample's rise of the 0 line.
    const int32_t middle = s.view.PlotHeight() / 2;
    EXPECT_LE(std::abs(s.view.PointsA()[0].y - middle), 4);
    EXPECT_LT(s.view.PointsA()[2].y, s.view.PointsA()[0].y); // rising: upwards on the screen
    EXPECT_EQ(s.view.PointsB().size(), s.view.PointsA().size());

    EXPECT_FALSE(s.view.Update(s.g, 2, true, false)); // within the tenth of a second
    s.Render(4800);
    EXPECT_TRUE(s.view.Update(s.g, 2, true, false));
    s.Render(4800);
    EXPECT_FALSE(s.view.Update(s.g, 2, true, true)); // Ctrl keeps the picture
}

TEST(ScopeViewTest, UntriggeredAtX1AndOneTraceForMono) {
    Scope s(1);
    s.view.xDispRate = 1;
    s.view.Layout(556, 200, 4096, 48000, false, s.api);
    s.Render(4096);
    ASSERT_TRUE(s.view.Update(s.g, 1, true, false));
    EXPECT_EQ(s.view.PointsA()[0].y, PlotY(s.view.Capture().a[0], s.view.PlotHeight(), 1));
    EXPECT_TRUE(s.view.PointsB().empty());
    s.view.Clear();
    EXPECT_EQ(s.view.Capture().meters[0], "");
}

} // namespace
} // namespace qv
