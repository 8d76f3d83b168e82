// The user-wave window in this process: a stereo wave dropped on the main window while the page
// "Wave 5,6,7,8" is shown opens Wave5's window with the wave's info line and lists, and a mono
// wave dropped on that window offers "ALL" disabled and "uL"; the Japanese button opens Wave1's
// window empty. Every text fits its control. The window is read by a second thread while the
// modal loop runs, and closed with Esc.
#include "app/main_layout.h"
#include "app/user_wave_layout.h"
#include "files/wave_bytes.h"
#include "support/main_form_program.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

namespace qv {
namespace {

using I = UserWaveIds;

std::string WaveFile(test::ScratchDir& dir, uint16_t channels, uint32_t frames) {
    test::Bytes chunks = test::Chunk("fmt ", test::FmtContent(1, channels, 44100, 16));
    test::Append(chunks, test::Chunk("data", test::Bytes(size_t{frames} * channels * 2, 0)));
    const test::Bytes bytes = test::Riff(chunks);
    const std::string path = dir.File((std::to_string(channels) + "ch.wav").c_str());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
}

// What the window shows once its info line reads as wanted.
struct Seen {
    std::wstring info;
    std::vector<std::wstring> channels, modSignals, cut;
    bool channelEnabled = false, modVisible = false;
};

// Runs steps on the window captioned title from a second thread while the modal loop runs, then
// presses Esc in it.
struct WindowDriver {
    WindowDriver(const wchar_t* title, std::function<void(HWND)> steps)
        : thread([title, steps = std::move(steps)] {
              const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
              while (std::chrono::steady_clock::now() < end) {
                  if (const HWND w = FindWindowW(nullptr, title); w && IsWindowVisible(w)) {
                      steps(w);
                      PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 0);
                      return;
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
              }
          }) {}
    ~WindowDriver() { thread.join(); }
    std::thread thread;
};

Seen Read(HWND w, const std::wstring& infoPart) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (Text(GetDlgItem(w, I::kInfo)).find(infoPart) == std::wstring::npos &&
           std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    Seen s;
    s.info = Text(GetDlgItem(w, I::kInfo));
    const auto items = [](HWND box) {
        std::vector<std::wstring> texts;
        for (LRESULT i = 0; i < SendMessageW(box, CB_GETCOUNT, 0, 0); ++i) {
            wchar_t item[64] = {};
            SendMessageW(box, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
            texts.push_back(item);
        }
        return texts;
    };
    s.channels = items(GetDlgItem(w, I::kChannel));
    s.modSignals = items(GetDlgItem(w, I::kModSignal));
    s.channelEnabled = IsWindowEnabled(GetDlgItem(w, I::kChannel)) != FALSE;
    s.modVisible = Shown(GetDlgItem(w, I::kModSignal)) && Shown(GetDlgItem(w, I::kModLabel));
    s.cut = CutTexts(w);
    return s;
}

TEST(UserWaveDialogWindowTest, AWaveDroppedOnThePageOfWave5BecomesItsOwn) {
    Program p(1, "[Window]\r\nDispHelp=1\r\n[Version]\r\nVer=1.5\r\n");
    ASSERT_TRUE(p.created);
    const HWND main = p.form.Window();
    const std::string stereo = WaveFile(p.scratch, 2, 44100), mono = WaveFile(p.scratch, 1, 100);
    int tabsId = 0;
    for (const LayoutRow& r : MainLayout())
        tabsId = r.role == RowRole::Tabs ? r.id : tabsId;
    const HWND tabs = Child(main, tabsId);
    SendMessageW(tabs, TCM_SETCURSEL, 1, 0);
    NMHDR change{tabs, static_cast<UINT_PTR>(tabsId), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(main, WM_NOTIFY, change.idFrom, reinterpret_cast<LPARAM>(&change));

    Seen first, second;
    {
        WindowDriver driver(L"Quorvale - User wave 5", [&](HWND w) {
            first = Read(w, L"sec");
            DropFile(w, mono);
            second = Read(w, L"1ch");
        });
        DropFile(main, stereo);
    }
    EXPECT_EQ(first.info, L"Samples: 44100  (44100s/s 16bit 2ch)  1.00sec");
    EXPECT_EQ(first.channels, (std::vector<std::wstring>{L"ALL", L"uL", L"uR", L"uL + uR",
                                                         L"uL - uR", L"uR - uL"}));
    EXPECT_TRUE(first.channelEnabled);
    EXPECT_TRUE(first.modVisible);
    EXPECT_EQ(first.cut, std::vector<std::wstring>{});
    EXPECT_EQ(second.channels, std::vector<std::wstring>{L"ALL"});
    EXPECT_FALSE(second.channelEnabled);
    EXPECT_EQ(second.modSignals, std::vector<std::wstring>{L"uL"});
}

TEST(UserWaveDialogWindowTest, TheJapaneseButtonOpensWave1sWindowEmpty) {
    Program p(0, "[Window]\r\nDispHelp=1\r\n[Version]\r\nVer=1.5\r\n");
    ASSERT_TRUE(p.created);
    const HWND main = p.form.Window();
    const HWND waveform = Child(main, SlotId(0, SlotControl::Waveform));
    SendMessageW(waveform, CB_SETCURSEL, 10, 0); // user wave
    Notify(waveform, CBN_SELCHANGE);
    const HWND button = Child(main, SlotId(0, SlotControl::UserWaveButton));
    ASSERT_TRUE(Shown(button));
    Seen shown;
    std::wstring open, close;
    {
        WindowDriver driver(L"Quorvale - ユーザー波形 1", [&](HWND w) {
            shown = Read(w, L"");
            open = Text(GetDlgItem(w, I::kOpen));
            close = Text(GetDlgItem(w, I::kClose));
        });
        Notify(button, BN_CLICKED);
    }
    EXPECT_EQ(open + L"|" + close, L"開く|閉じる");
    EXPECT_EQ(shown.info, L"");
    EXPECT_TRUE(shown.channels.empty());
    EXPECT_FALSE(shown.channelEnabled);
    EXPECT_FALSE(shown.modVisible);
    EXPECT_EQ(shown.cut, std::vector<std::wstring>{});
}

} // namespace
} // namespace qv
