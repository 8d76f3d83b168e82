#include "engine/win/format_list_form.h"

#include "engine/device_dialog_layout.h"
#include "engine/device_dialog_texts.h"
#include "platform/key_state.h"
#include "platform/win/text_conversion.h"
#include "platform/win/win_ui.h"
#include "platform/win/window_messages.h"

namespace qv {

FormatListForm::FormatListForm(HINSTANCE instance, HWND owner, HFONT font, int languageIndex,
                               DeviceDialog& dialog, const KeyState& keys, POINT at,
                               std::function<void(int, int)> chosen)
    : SettingsWindow(instance, owner, font, languageIndex, kFormatListTitle, FormatListLayout(),
                     at),
      dialog_(dialog), keys_(keys), language_(languageIndex) {
    const std::string name = dialog_.DeviceName();
    SetText(FormatListIds::kDeviceName, name);
    SetHint(FormatListIds::kDeviceName, name);
    grid_ = std::make_unique<FormatGrid>(instance, Hwnd(), CellRect(FormatListIds::kGrid),
                                         ShownFont(), kFormatListCorner(languageIndex));
    grid_->chosen = [this, chosen = std::move(chosen)](int row, int column) {
        if (running_)
            return;
        chosen(row, column);
        Close();
    };
    // The test runs once the window is up, so its cells fill in as they are tested.
    On(WM_SHOWWINDOW, [this](const WindowMessage& m) {
        if (m.w && !tested_)
            PostMessageW(Hwnd(), kMsgRunFormatTest, 0, 0);
        return Default(m);
    });
    On(kMsgRunFormatTest, [this](const WindowMessage&) {
        RunTest();
        return LRESULT{0};
    });
    On(WM_HELP, [this](const WindowMessage&) {
        if (help)
            help();
        return LRESULT{TRUE};
    });
    Ready();
}

void FormatListForm::RunTest() {
    if (tested_)
        return;
    tested_ = true;
    PumpWindowMessages();
    grid_->Enable(false);
    const HWND close = Control(kCloseId);
    SetWindowTextW(close, Utf8ToWide(kFormatListStop(language_)).c_str());
    running_ = true;
    FormatQuery query = dialog_.Query(keys_.ShiftDown(), keys_.CtrlDown());
    query.progress = [this](int row, int column, uint16_t flags) {
        grid_->Select(row, column);
        grid_->SetCell(row, column, FormatCellText(flags));
        PumpWindowMessages();
        return stop_;
    };
    FormatTable table{};
    if (DriverPath* path = dialog_.Path())
        table = QueryPlayFormats(*path, query);
    running_ = false;
    SetWindowTextW(close, Utf8ToWide(kFormatListClose(language_)).c_str());
    for (int r = 0; r < 11; ++r) {
        for (int c = 0; c < 5; ++c)
            grid_->SetCell(r, c, FormatCellText(table[r][c]));
    }
    const auto [row, column] = dialog_.CurrentCell();
    grid_->Select(row, column);
    grid_->Enable(true);
}

// During the test Esc and Stop stop it; otherwise they close the window.
bool FormatListForm::OnClose() {
    if (!running_)
        return true;
    stop_ = true;
    return false;
}

} // namespace qv
