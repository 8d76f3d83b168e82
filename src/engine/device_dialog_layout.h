// The tables of the "Sound device" dialog and of its format list.
#pragma once

#include "platform/window_layout.h"

namespace qv {

struct DeviceDialogIds {
    enum : int {
        kDriverBox = 10,
        kExtensible,
        kEventMode,
        kLatencyEdit,
        kLatencyUpDown,
        kLicence,
        kDeviceBox,
        kChannelLabel,
        kChannelBox,
        kFormatList,
        kInfo,
        kPanel,
        kFullVolume,
        kLatencyLabel,
        kLatencyMs,
    };
};

struct FormatListIds {
    enum : int { kDeviceName = 10, kGrid, kComment };
};

const WindowLayout& DeviceDialogLayout();
const WindowLayout& FormatListLayout();
// The grid of the format list in 96-DPI pixels: the header column, the data columns and the
// rows (a header row and the 11 rates).
inline constexpr int kGridHeaderWidth = 58, kGridColumnWidth = 58, kGridRowHeight = 17;

} // namespace qv
