// The up/down buttons' settings window in this process, driven by its controls' notifications:
// every change is handed on at once, the options follow the transition time, and a time out of
// range is written back corrected.
#include "app/win/up_down_form.h"
#include "platform/language.h"

#include <gtest/gtest.h>

#include <vector>

namespace qv {
namespace {

void Notify(const UpDownForm& form, int id, int code) {
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
    EXPECT_STREQ(text, L"100");
    EXPECT_EQ(seen.back().transition, 100.0);

    SendMessageW(form.Control(F::kPercentRadio), BM_SETCHECK, BST_CHECKED, 0);
    Notify(form, F::kPercentRadio, BN_CLICKED);
    SetWindowTextW(form.Control(F::kPercentBox), L"5.94630943592953");
    Notify(form, F::kPercentBox, CBN_EDITCHANGE);
    EXPECT_TRUE(seen.back().percentMode);
    EXPECT_DOUBLE_EQ(seen.back().percent, 5.94630943592953);
}

} // namespace
} // namespace qv
