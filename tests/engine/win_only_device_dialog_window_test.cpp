// The "Sound device" dialog and its format list in this process, driven by their controls'
// messages over a scripted catalog: a driver switch starts at the first device and shows the
// latency, whose text keeps to 1 ... 200 ms; the format list of a device that takes only 24-bit
// integer samples marks only 24 with "*"; Stop leaves the untested cells "    -"; a
// double-click on a cell chooses its rate and bit length and closes the list; F1 in either asks
// for its own help page.
#include "engine/device_dialog.h"
#include "engine/driver_table.h"
#include "engine/headless_owner.h"
#include "engine/wave_play_rec.h"
#include "engine/win/format_list_form.h"
#include "engine/win/select_device_dlg.h"
#include "platform/win/text_conversion.h"
#include "platform/win/ui_font.h"
#include "support/fake_ui.h"

#include <gtest/gtest.h>

#include <optional>

namespace qv {
namespace {

// Devices that take only 24-bit integer samples; after stopAfter tests it clicks the window's
// Stop button, as a user would.
class Only24BitPath final : public DriverPath {
public:
    bool Enumerate(ErrorText&) override { return false; }
    int Count(bool) const override { return 2; }
    std::string Name(int entry, bool) const override { return "Device " + std::to_string(entry); }
    Device* Open() override { return nullptr; }
    void Release() override {}
    bool TestFormat(int, const WaveFormatRecord& f, bool) override {
        if (++tests == stopAfter)
            PostMessageW(stop, BM_CLICK, 0, 0);
        return f.bitsPerSample == 24 && f.subFormat != kSubFormatFloat;
    }
    int tests = 0, stopAfter = -1;
    HWND stop = nullptr;
};

struct Scripted {
    Scripted() {
        std::vector<DriverRow> rows;
        rows.push_back({PlayDriverType::Mme, {}, std::make_unique<Only24BitPath>(), true});
        rows.push_back({PlayDriverType::Wasapi, {}, std::make_unique<Only24BitPath>()});
        catalog = std::make_unique<DriverTable>(std::move(rows));
        engine.AttachCatalog(catalog.get());
        (void)engine.SetSource(ToFormatRecord(MakeOutputFormat(48000, 24, 2)));
        model.emplace(engine, *catalog, settings, ui, kEnglish);
    }
    Only24BitPath& Wasapi() {
        return static_cast<Only24BitPath&>(*catalog->PathFor(PlayDriverType::Wasapi));
    }
    test::RecordingUi ui;
    HeadlessOwner owner;
    std::unique_ptr<DriverTable> catalog;
    WavePlayRec engine{owner, ui, [](uint8_t*, uint32_t, uint32_t) { return 0u; }, {}};
    AppSettings settings;
    std::optional<DeviceDialog> model;
    const NoKeysDown keys;
    const Font font{CreateUiFont(kEnglish, 96)};
};

std::wstring Text(HWND h) {
    wchar_t text[64] = {};
    GetWindowTextW(h, text, 64);
    return text;
}

void Notify(const SettingsWindow& w, int id, int code) {
    SendMessageW(w.Window(), WM_COMMAND, MAKEWPARAM(id, code),
                 reinterpret_cast<LPARAM>(w.Control(id)));
}

TEST(DeviceDialogWindowTest, ADriverSwitchShowsTheLatencyWhichKeepsItsLimits) {
    Scripted s;
    SelectDeviceDlg dialog(GetModuleHandleW(nullptr), nullptr, s.font, kEnglish, *s.model, s.ui,
                           s.keys, {});
    using D = SelectDeviceDlg;
    EXPECT_EQ(SendMessageW(dialog.Control(D::kDriverBox), CB_GETCOUNT, 0, 0), 4); // this build's
    SendMessageW(dialog.Control(D::kDeviceBox), CB_SETCURSEL, 2, 0);
    Notify(dialog, D::kDeviceBox, CBN_SELCHANGE);
    EXPECT_EQ(s.settings.playDeviceNum, 2);
    EXPECT_FALSE(IsWindowVisible(dialog.Control(D::kLatencyEdit)));
    SendMessageW(dialog.Control(D::kDriverBox), CB_SETCURSEL, 3, 0); // WASAPI
    Notify(dialog, D::kDriverBox, CBN_SELCHANGE);
    EXPECT_EQ(s.settings.playDeviceNum, 0);
    EXPECT_EQ(SendMessageW(dialog.Control(D::kDeviceBox), CB_GETCOUNT, 0, 0), 2);
    EXPECT_TRUE(GetWindowLongW(dialog.Control(D::kLatencyEdit), GWL_STYLE) & WS_VISIBLE);
    for (const auto& [typed, shown] : {std::pair{L"0", L"1"}, {L"350", L"200"}, {L"35", L"35"}}) {
        SetWindowTextW(dialog.Control(D::kLatencyEdit), typed);
        Notify(dialog, D::kLatencyEdit, EN_CHANGE);
        EXPECT_EQ(Text(dialog.Control(D::kLatencyEdit)), shown);
    }
    EXPECT_EQ(s.engine.Settings().wasLatencyMs, 35);
    std::vector<DeviceHelp> helped;
    dialog.help = [&](DeviceHelp where) { helped.push_back(where); };
    SendMessageW(dialog.Window(), WM_HELP, 0, 0);
    EXPECT_EQ(helped, std::vector{DeviceHelp::Dialog});
}

TEST(DeviceDialogWindowTest, TheFormatListMarksTheDevicesOwnLengthStopsAndChooses) {
    for (const bool stop : {false, true}) {
        Scripted s;
        ASSERT_TRUE(s.model->SelectDriver(3));
        std::pair<int, int> chosen{-1, -1};
        FormatListForm list(GetModuleHandleW(nullptr), nullptr, s.font, kEnglish, *s.model, s.keys,
                            {0, 0}, [&](int row, int column) {
                                chosen = {row, column};
                            });
        s.Wasapi().stop = list.Control(SettingsWindow::kCloseId);
        s.Wasapi().stopAfter = stop ? 7 : -1;
        list.RunTest();
        FormatGrid& grid = list.Grid();
        EXPECT_EQ(grid.CellText(0, 2), "   *12");
        EXPECT_EQ(grid.CellText(10, 4), stop ? "    -" : "   12");
        EXPECT_EQ(grid.CellText(0, 1), "   12");
        EXPECT_EQ(grid.Selected(), (std::pair{4, 2})); // the stream's 48000 Hz, 24 bits
        EXPECT_EQ(Text(list.Control(SettingsWindow::kCloseId)), L"&Close");
        // A double-click on 96000 Hz, 16 bits.
        SendMessageW(grid.Hwnd(), WM_LBUTTONDBLCLK, 0,
                     MAKELPARAM(grid.Scale(58 + 58 + 20), grid.Scale(7 * 17 + 5)));
        EXPECT_EQ(chosen, (std::pair{6, 1}));
        bool helped = false;
        list.help = [&] { helped = true; };
        SendMessageW(list.Window(), WM_HELP, 0, 0);
        EXPECT_TRUE(helped);
    }
}

} // namespace
} // namespace qv
