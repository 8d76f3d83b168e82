// The filter editor as its window drives it: the mouse on a 500 x 300 plot, the point menu, the
// controls, the filter files and the question when a file was drawn at another rate.
#include "app/filter_editor.h"
#include "files/filter_file.h"
#include "filter/filter_edits.h"
#include "support/session_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace qv {
namespace {

struct Editor {
    Editor() {
        f.session.Controls().OnFilterOn(true);
        f.session.Publish();
        e.Showing();
        e.Resize(500, 300);
    }
    const FilterDesign& D() const { return f.session.Gen().filterDesign; }
    int32_t N() const { return static_cast<int32_t>(f.session.Gen().filterSize); }
    void Press(int32_t x, int32_t y) { e.MouseMove(x, y), e.MouseDown(x, y); }
    void Click(int32_t x, int32_t y) { Press(x, y), e.MouseUp(); }
    void PressPoint(int i) { Press(e.Marks()[i].x, e.Marks()[i].y); }
    test::SessionFixture f;
    FilterEditor& e = f.session.Filter();
};

TEST(FilterEditorTest, AClickAddsAPointThatDragsOnlyBetweenItsNeighbours) {
    for (const int32_t to : {0, 499}) {
        Editor t;
        t.Click(200, 150);
        t.Click(300, 100);
        ASSERT_EQ(t.D().pointCount, 4);
        const int32_t low = t.D().points[1].binIndex;
        EXPECT_GT(low, 0);
        EXPECT_GT(t.D().points[2].binIndex, low);
        t.PressPoint(2);
        t.e.MouseMove(to, 250);
        EXPECT_LT(t.D().points[2].gainDb, 0);
        // Held one bin inside the neighbours however far the mouse goes.
        EXPECT_EQ(t.D().points[2].binIndex, to == 0 ? low + 1 : t.N() / 2 - 1);
        t.e.MouseUp();
    }
}

TEST(FilterEditorTest, TheEndsOnlyMoveUpAndDown) {
    for (const int end : {0, 1}) {
        Editor t;
        const int32_t bin = t.D().points[end].binIndex;
        t.PressPoint(end);
        t.e.MouseMove(250, 250);
        EXPECT_EQ(t.D().points[end].binIndex, bin);
        EXPECT_LT(t.D().points[end].gainDb, 0);
    }
}

TEST(FilterEditorTest, AHundredPointsLeaveNoRoom) {
    Editor t;
    FilterDesign many;
    for (int i = 0; i < kMaxFilterPoints; ++i)
        many.points[many.pointCount++] = {i * (t.N() / 2) / (kMaxFilterPoints - 1), 0, -1};
    t.f.Put("many.QVF", FilterFileText(many, {1, t.N(), 44100}));
    ASSERT_TRUE(t.e.OpenFile(t.f.dir + "many.QVF"));
    t.Click(450, 280);
    EXPECT_EQ(t.f.ui.messages.back().text, "Unable to create new point.");
    EXPECT_EQ(t.D().pointCount, kMaxFilterPoints);
}

TEST(FilterEditorTest, ASlopedShapeSurvivesSaveResetAndOpen) {
    Editor t;
    t.Click(200, 150);
    t.Click(300, 150);
    FindMenuItem(t.e.PointMenu(1, {}), {"To next point", " -6dB/oct (-20dB/dec)"})->action();
    const FilterPoint a = t.D().points[1], b = t.D().points[2];
    EXPECT_NEAR(b.gainDb, a.gainDb - 20 * std::log10(double(b.binIndex) / a.binIndex), 1e-9);
    const FilterDesign saved = t.D();
    ASSERT_TRUE(t.e.SaveFile(t.f.dir + "slope.QVF"));
    t.e.Reset();
    ASSERT_TRUE(t.e.OpenFile(t.f.dir + "slope.QVF"));
    // Every bin and gain back (as far as the file's ten digits hold the gains).
    EXPECT_EQ(FilterFileText(t.D(), {}), FilterFileText(saved, {}));
    EXPECT_TRUE(t.f.session.Caption().ends_with(" - slope"));
}

TEST(FilterEditorTest, AFileDrawnAt48kHzAsksWhatBecomesOfItsPoints) {
    // The answer, then the points and the frequency of point 1 at 44.1 kHz.
    const std::tuple<MsgResult, int, double> cases[] = {
        {MsgResult::Yes, 3, 1000}, {MsgResult::No, 3, 918.75}, {MsgResult::Cancel, 2, 22050}};
    for (const auto& [answer, points, frequency] : cases) {
        Editor t;
        FilterDesign d = t.D();
        double f = 1000;
        d.points[1] = {FrequencyToBin(f, 0, t.N(), 48000), f, -6};
        d.points[2] = {t.N() / 2, 24000, 0};
        d.pointCount = 3;
        t.f.Put("at48k.QVF", FilterFileText(d, {1, t.N(), 48000}));
        t.f.ui.answer = answer;
        t.e.OpenFile(t.f.dir + "at48k.QVF");
        EXPECT_EQ(t.f.ui.messages.size(), 1u);
        ASSERT_EQ(t.D().pointCount, points);
        EXPECT_NEAR(t.D().points[1].frequency, frequency, 44100.0 / t.N());
    }
}

TEST(FilterEditorTest, AFileThatFailsToReadLeavesTheDrawingAsItWas) {
    const std::string head = "\"Quorvale Filter Parameter\",1.00\r\n\"Comment\",\"x\"\r\n"
                             "\"Size1\",8192\r\n\"Sampling Frequency\",44100\r\n";
    const std::pair<std::string, std::string> cases[] = {
        {head + "\"Points\",99999\r\n", "Invalid filter points."},
        {"\x8f\x03random bytes\r\n", "Format mismatch."},
        {head, ""}, // it ends before its points
    };
    for (const auto& [bytes, message] : cases) {
        Editor t;
        t.Click(200, 150);
        t.Click(300, 100);
        const std::string drawn = FilterFileText(t.D(), {1, t.N(), 44100});
        t.f.Put("bad.QVF", bytes);
        EXPECT_FALSE(t.e.OpenFile(t.f.dir + "bad.QVF"));
        EXPECT_EQ(t.f.ui.messages.empty() ? ""
                                          : t.f.ui.messages.back().text.substr(0, message.size()),
                  message);
        EXPECT_EQ(FilterFileText(t.D(), {1, t.N(), 44100}), drawn); // size 4096 and 4 points
    }
}

TEST(FilterEditorTest, ATypedKaiserAlphaIsHeldToTen) {
    Editor t;
    EXPECT_EQ(t.e.SetKaiserAlphaText("12"), "10");
    EXPECT_EQ(t.e.KaiserAlphaText(), "10");
    EXPECT_EQ(t.e.SetKaiserAlphaText("x"), "10"); // no number: the alpha in force, a beep
    EXPECT_EQ(t.f.ui.beeps, 1);
}

TEST(FilterEditorTest, TheResponseCurveSpansThePlotAtTheDesignedLevel) {
    Editor t; // flat: 0 dB everywhere
    const auto curve = t.e.Response();
    ASSERT_GT(curve.size(), 500u);
    EXPECT_EQ(curve.front().x, -1);
    EXPECT_EQ(curve.back().x, 499);
    const int32_t zero = t.e.Plot().DbToY(0, true);
    for (const ScreenPoint& p : curve)
        ASSERT_NEAR(p.y, zero, 1) << p.x;
}

} // namespace
} // namespace qv
