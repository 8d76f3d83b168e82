#include "app/window_layouts.h"

#include "app/filter_editor_layout.h"
#include "app/freq_bar_layout.h"
#include "app/live_settings_layouts.h"
#include "app/main_layout.h"
#include "app/user_wave_layout.h"
#include "display/display_panel_layout.h"
#include "engine/device_dialog_layout.h"

namespace qv {

std::vector<const WindowLayout*> ProgramWindowLayouts() {
    return {&MainWindowLayout(), &DisplayStripLayout(), &UpDownLayout(true), &UpDownLayout(false),
            &Wave5SyncLayout(),  &DeviceDialogLayout(), &FormatListLayout(), &FilterEditorLayout(),
            &EditPointLayout(),  &UserWaveLayout(),     &FreqBarLayout()};
}

} // namespace qv
