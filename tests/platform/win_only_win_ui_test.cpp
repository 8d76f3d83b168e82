#include "platform/win/text_conversion.h"
#include "platform/win/win_ui.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(WinTextTest, ItemsAndMessagesReachTheWideFunctionsIntact) {
    EXPECT_EQ(ShiftJisToWide("\xBB\xB2\xDD\x94g"), L"\uFF7B\uFF72\uFF9D\u6CE2"); // ｻｲﾝ波
    EXPECT_EQ(WideToShiftJis(L"\u77E9\u5F62\u6CE2"), "\x8B\xE9\x8C`\x94g");      // 矩形波
    EXPECT_EQ(Utf8ToWide("再生できません"), L"\u518D\u751F\u3067\u304D\u307E\u305B\u3093");
    EXPECT_EQ(WideToUtf8(Utf8ToWide("Unable to play.")), "Unable to play.");
}

LRESULT CALLBACK CountingProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_APP)
        ++*reinterpret_cast<int*>(GetWindowLongPtrW(w, GWLP_USERDATA));
    return DefWindowProcW(w, m, wp, lp);
}

TEST(WinUiTest, ThePumpRunsQueuedMessagesAndKeepsAQuitForTheLoop) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QvPumpTest";
    RegisterClassW(&wc);
    const HWND w = CreateWindowW(L"QvPumpTest", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 wc.hInstance, nullptr);
    ASSERT_NE(w, nullptr);
    int count = 0;
    SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&count));
    PostMessageW(w, WM_APP, 0, 0);
    PostMessageW(w, WM_APP, 0, 0);
    WinUi().PumpMessages();
    EXPECT_EQ(count, 2);
    PostQuitMessage(3);
    PumpWindowMessages();
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
    DestroyWindow(w);
}

} // namespace
} // namespace qv
