// The user-wave window in this process: a stereo wave dropped on the main window while the page
// "Wave 5,6,7,8" is shown opens Wave5's window with the wave's info line (every text fitting), a
// mono wave dropped on that window offers "ALL" disabled and "uL", a parameter file handed over
// shows the window counting down from 2 until it closes by itself, and Wave1's button opens its
// window empty. A second thread reads the window while the modal loop runs.
#include "app/main_layout.h"
#include "app/user_wave_layout.h"
#include "files/wave_bytes.h"
#include "platform/win/hand_over.h"
#include "platform/win/window_messages.h"
#include "support/main_form_program.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

namespace qv {
namespace {

using I = UserWaveIds;

// Lets act show the window captioned title, reads it from a second thread once its info line
// holds infoPart, then presses Esc in it unless it closes by itself. "" when it never came.
std::wstring ReadWindow(const wchar_t* title, const wchar_t* infoPart,
                        const std::function<std::wstring(HWND)>& read,
                        const std::function<void()>& act, bool escape = true) {
    std::wstring seen;
    std::thread reader([&] {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        HWND w = nullptr;
        while (!(w = FindWindowW(nullptr, title)) && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        while (w && Text(GetDlgItem(w, I::kInfo)).find(infoPart) == std::wstring::npos &&
               std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (!w)
            return;
        seen = read(w);
        if (escape)
            PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    act();
    reader.join();
    return seen;
}

// The info line, the lists' items ("-" marks a disabled list) and every text cut.
std::wstring State(HWND w) {
    std::wstring s = Text(GetDlgItem(w, I::kInfo));
    for (int id : {I::kChannel, I::kModSignal}) {
        const HWND box = GetDlgItem(w, id);
        s += IsWindowEnabled(box) ? L" |" : L" -";
        for (LRESULT i = 0; Shown(box) && i < SendMessageW(box, CB_GETCOUNT, 0, 0); ++i) {
            wchar_t item[64] = {};
            SendMessageW(box, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
            s += std::wstring(L" ") + item;
        }
    }
    for (const std::wstring& cut : CutTexts(w))
        s += L" cut: " + cut;
    return s;
}

TEST(UserWaveDialogWindowTest, DroppedRequestedAndButtonRegistrations) {
    Program p(1, "[Window]\r\nDispHelp=1\r\n[Version]\r\nVer=1.5\r\n");
    ASSERT_TRUE(p.created);
    const HWND main = p.form.Window();
    const std::string stereo = p.scratch.File("2ch.wav"), mono = p.scratch.File("1ch.wav");
    test::WriteSilentWave(stereo, 2, 44100);
    test::WriteSilentWave(mono, 1, 100);
    int tabsId = 0;
    for (const LayoutRow& r : MainLayout())
        tabsId = r.role == RowRole::Tabs ? r.id : tabsId;
    const HWND tabs = Child(main, tabsId);
    SendMessageW(tabs, TCM_SETCURSEL, 1, 0);
    NMHDR change{tabs, static_cast<UINT_PTR>(tabsId), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(main, WM_NOTIFY, change.idFrom, reinterpret_cast<LPARAM>(&change));

    std::wstring first;
    const auto both = [&](HWND w) {
        first = State(w);
        DropFile(w, mono);
        return State(w);
    };
    EXPECT_EQ(ReadWindow(L"Quorvale - User wave 5", L"sec", both, [&] { DropFile(main, stereo); }),
              L"Samples: 100  (44100s/s 16bit 1ch)  0.00sec - ALL | uL");
    EXPECT_EQ(first, L"Samples: 44100  (44100s/s 16bit 2ch)  1.00sec | ALL uL uR uL + uR uL - uR "
                     L"uR - uL | uL uR uL + uR uL - uR uR - uL");

    std::ofstream(p.scratch.File("set.QV"))
        << "[Wave1]\r\nWaveform=user wave\r\n[Wave5]\r\nWaveform=user wave\r\nUserWave=" << stereo
        << "\r\n";
    const HandOverRecord record("\"" + p.scratch.File("set.QV") + "\"");
    // The countdown shows just after the info line (a moment for it, read from this thread).
    const auto countdown = [](HWND w) {
        for (int i = 0; i < 100 && Text(GetDlgItem(w, I::kCountdown)).empty(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return Text(GetDlgItem(w, I::kCountdown));
    };
    const auto handed = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadWindow(
                  L"Quorvale - User wave 5", L"sec", countdown,
                  [&] {
                      // The second start's SendMessage returns at once; the open follows.
                      SendMessageW(main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record.Data()));
                      MSG msg;
                      while (PeekMessageW(&msg, main, kMsgHandedOver, kMsgHandedOver, PM_REMOVE))
                          DispatchMessageW(&msg);
                  },
                  false),
              L"2");
    EXPECT_GE(std::chrono::steady_clock::now() - handed, std::chrono::seconds(2));

    const HWND button = Child(main, SlotId(0, SlotControl::UserWaveButton));
    EXPECT_EQ(
        ReadWindow(L"Quorvale - User wave 1", L"", State, [&] { Notify(button, BN_CLICKED); }),
        L" - -");
}

} // namespace
} // namespace qv
