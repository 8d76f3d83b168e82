// The "Sound device" dialog over the real ASIO path and the test driver, registered in this
// process's prefix: the device list shows the driver's 40-character description cut and leaves
// out a class without its server file; the channel list shows the driver's eight outputs; Info
// shows what the driver reports for the stream from the chosen channel; Panel reaches the
// driver and warns when it refuses; the format list through the driver marks its own 24 bits.
#include "engine/device_dialog.h"
#include "engine/headless_owner.h"
#include "engine/wave_play_rec.h"
#include "engine/win/select_device_dlg.h"
#include "engine/win/win_driver_catalog.h"
#include "platform/win/text_conversion.h"
#include "platform/win/ui_font.h"
#include "support/asio_registry.h"
#include "support/fake_ui.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

namespace qv {
namespace {

std::string ItemText(HWND box, int item) {
    wchar_t text[128] = {};
    SendMessageW(box, CB_GETLBTEXT, WPARAM(item), reinterpret_cast<LPARAM>(text));
    return WideToUtf8(text);
}

void Click(const SettingsWindow& w, int id, int code) {
    SendMessageW(w.Window(), WM_COMMAND, MAKEWPARAM(id, code),
                 reinterpret_cast<LPARAM>(w.Control(id)));
}

TEST(AsioDialogWindowTest, TheDialogListsTheDriverItsOutputsInfoPanelAndFormats) {
    const std::wstring driver = test::AsioRegistry::DriverPath();
    if (driver.empty())
        GTEST_SKIP() << "no test driver in this build";
    char log[MAX_PATH];
    GetTempPathA(MAX_PATH, log);
    std::strcat(log, "qv_asio_dialog.log");
    DeleteFileA(log);
    SetEnvironmentVariableA("QV_ASIO_TEST_LOG", log);
    SetEnvironmentVariableA("QV_ASIO_TEST_OUTPUTS", "8");
    SetEnvironmentVariableA("QV_ASIO_TEST_TYPE", "17");
    test::AsioRegistry registry;
    registry.Add(L"No server", L"{6F1D2E3C-0000-4000-8000-00000000A501}",
                 L"Z:\\no\\such\\driver.dll");
    registry.Add(L"QV Test", L"{6F1D2E3C-0000-4000-8000-00000000A502}", driver,
                 L"QV Test Driver with a long description");

    test::RecordingUi ui;
    WinDriverCatalog catalog(ui);
    HeadlessOwner owner;
    WavePlayRec engine(owner, ui, [](uint8_t*, uint32_t, uint32_t) { return 0u; }, {});
    engine.AttachCatalog(&catalog);
    (void)engine.SetSource(ToFormatRecord(MakeOutputFormat(48000, 16, 2)));
    AppSettings settings;
    DeviceDialog model(engine, catalog, settings, ui, kEnglish);
    const NoKeysDown keys;
    const Font font{CreateUiFont(kEnglish, 96)};
    SelectDeviceDlg dialog(GetModuleHandleW(nullptr), nullptr, font, kEnglish, model, ui, keys, {});
    using D = SelectDeviceDlg;
    SendMessageW(dialog.Control(D::kDriverBox), CB_SETCURSEL, 2, 0);
    Click(dialog, D::kDriverBox, CBN_SELCHANGE);
    ASSERT_EQ(settings.playDriverType, 2) << (ui.messages.empty() ? "" : ui.messages[0].text);
    ASSERT_EQ(SendMessageW(dialog.Control(D::kDeviceBox), CB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(ItemText(dialog.Control(D::kDeviceBox), 0), "QV Test Driver with a long d...");
    const HWND channels = dialog.Control(D::kChannelBox);
    ASSERT_EQ(SendMessageW(channels, CB_GETCOUNT, 0, 0), 8);
    EXPECT_EQ(ItemText(channels, 7), "Test Out 8");
    EXPECT_TRUE(IsWindowEnabled(channels) &&
                (GetWindowLongW(dialog.Control(D::kPanel), GWL_STYLE) & WS_VISIBLE));
    SendMessageW(channels, CB_SETCURSEL, 6, 0);
    Click(dialog, D::kChannelBox, CBN_SELCHANGE);
    EXPECT_EQ(settings.asioPlayChNum, 6);

    Click(dialog, D::kInfo, BN_CLICKED);
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().text,
              "========= ASIO Information =========\n[ QV Test Driver ]\n\n"
              "Input Channels:\t 2\nOutput Channels:\t 8\nSample Rate:\t 44100\n"
              "Bits/Sample:\t 24  (type:17)\nBuffer size min:\t 64\n               max:\t 4096\n"
              "        preferred:\t 256\n       granuarity:\t -1\n"
              "Input Latency:\t 256  (5.8ms)\nOutput Latency:\t 288  (6.5ms)\n"
              "OutputReady support:  yes");
    Click(dialog, D::kPanel, BN_CLICKED);
    SetEnvironmentVariableA("QV_ASIO_TEST_PANEL", "-1000");
    Click(dialog, D::kPanel, BN_CLICKED);
    SetEnvironmentVariableA("QV_ASIO_TEST_PANEL", nullptr);
    EXPECT_EQ(ui.messages.back().text, "Unable to open Control Panel");
    std::stringstream lines;
    lines << std::ifstream(log).rdbuf();
    EXPECT_NE(lines.str().find("createBuffers 2 256 6"), std::string::npos) << lines.str();
    EXPECT_NE(lines.str().find("panel"), std::string::npos) << lines.str();

    const FormatTable table = QueryPlayFormats(*model.Path(), model.Query(false, false));
    for (const auto& [row, texts] :
         {std::pair{0, std::array<const char*, 5>{"    -", "    -", "    -", "    -", "    -"}},
          {4, {"   12", "   12", "   *12", "    -", "   12"}}}) // 11025 Hz; 48000 Hz
        for (size_t c = 0; c < 5; ++c)
            EXPECT_EQ(FormatCellText(table[size_t(row)][c]), texts[c]) << row << " " << c;
    SetEnvironmentVariableA("QV_ASIO_TEST_OUTPUTS", nullptr);
    SetEnvironmentVariableA("QV_ASIO_TEST_TYPE", nullptr);
    SetEnvironmentVariableA("QV_ASIO_TEST_LOG", nullptr);
}

} // namespace
} // namespace qv
