// The live-change settings windows in this process, driven by their controls' notifications:
// every change is handed on at once; the up/down options follow the transition time and a time
// out of range is written back corrected when the box is left; a Wave5 ratio of 0 becomes 1, a
// negative one positive, and a text that is no number leaves the ratio as it was.
#include "app/win/up_down_form.h"
#include "app/win/wave5_sync_form.h"
#include "platform/language.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace qv {
namespace {

void Notify(const SettingsWindow& form, int id, int code) {
    SendMessageW(form.Window(), WM_COMMAND, MAKEWPARAM(id, code),
                 reinterpret_cast<LPARAM>(form.Control(id)));
}

TEST(UpDownFormTest, ChangesHoldAtOnceAndTheOptionsFollowTheTransition) {
    std::vector<UpDownSettings> seen;
    UpDownForm form(GetModuleHandleW(nullptr), nullptr,
                    static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), kEnglish, true,
                    UpDownSettings{}, {0, 0}, [&](const UpDownSettings& s) { seen.push_back(s); });
    using F = UpDownForm;
    EXPECT_FALSE(IsWindowEnabled(form.Control(F::kResetBuffer))); // 0.2 s: a transition
    EXPECT_TRUE(IsWindowEnabled(form.Control(F::kLog)));

    SendMessageW(form.Control(F::kTransitionBox), CB_SETCURSEL, 0, 0); // "0"
    Notify(form, F::kTransitionBox, CBN_SELCHANGE);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen.back().transition, 0.0);
    EXPECT_TRUE(IsWindowEnabled(form.Control(F::kResetBuffer)));
    EXPECT_FALSE(IsWindowEnabled(form.Control(F::kLog)));

    SetWindowTextW(form.Control(F::kTransitionBox), L"250");
    Notify(form, F::kTransitionBox, CBN_EDITCHANGE);
    wchar_t text[16] = {};
    GetWindowTextW(form.Control(F::kTransitionBox), text, 16);
    EXPECT_STREQ(text, L"250"); // not under the caret
    EXPECT_EQ(seen.back().transition, 100.0);
    Notify(form, F::kTransitionBox, CBN_KILLFOCUS);
    GetWindowTextW(form.Control(F::kTransitionBox), text, 16);
    EXPECT_STREQ(text, L"100");

    SendMessageW(form.Control(F::kPercentRadio), BM_SETCHECK, BST_CHECKED, 0);
    Notify(form, F::kPercentRadio, BN_CLICKED);
    SetWindowTextW(form.Control(F::kPercentBox), L"5.94630943592953");
    Notify(form, F::kPercentBox, CBN_EDITCHANGE);
    EXPECT_TRUE(seen.back().percentMode);
    EXPECT_DOUBLE_EQ(seen.back().percent, 5.94630943592953);
}

TEST(Wave5SyncFormTest, DifferenceOrRatioAndTheRatioRules) {
    std::vector<Wave5SyncSettings> seen;
    Wave5SyncForm form(GetModuleHandleW(nullptr), nullptr,
                       static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), kJapanese,
                       Wave5SyncSettings{}, {0, 0},
                       [&](const Wave5SyncSettings& s) { seen.push_back(s); });
    using F = Wave5SyncForm;
    // The ratio as typed, then as shown once the box is left.
    for (const auto& [typed, ratio, shown] :
         {std::tuple{L"0", 1.0, L"1"},
          {L"-1.5", 1.5, L"1.5"},
          {L"1.498307076876681", 1.498307076876681, L"1.498307076876681"},
          {L"1e999", 1.498307076876681, L"1.49830707687668"}}) { // in force, 15 digits
        SetWindowTextW(form.Control(F::kRatioBox), typed);
        Notify(form, F::kRatioBox, CBN_EDITCHANGE);
        EXPECT_DOUBLE_EQ(form.Settings().ratio, ratio);
        Notify(form, F::kRatioBox, CBN_KILLFOCUS);
        wchar_t text[32] = {};
        GetWindowTextW(form.Control(F::kRatioBox), text, 32);
        EXPECT_STREQ(text, shown);
    }
    SendMessageW(form.Control(F::kDiffRadio), BM_SETCHECK, BST_CHECKED, 0);
    Notify(form, F::kDiffRadio, BN_CLICKED);
    SendMessageW(form.Control(F::kDiffBox), CB_SETCURSEL, 4, 0); // "-5"
    Notify(form, F::kDiffBox, CBN_SELCHANGE);
    EXPECT_FALSE(seen.back().ratioMode);
    EXPECT_EQ(seen.back().diff, -5.0);
}

} // namespace
} // namespace qv
