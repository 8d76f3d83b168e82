#include "display/display_panel_layout.h"

#include "display/channel_texts.h"

namespace qv {

namespace {

WindowLayout MakeLayout() {
    WindowLayout layout{"Display panel", {0, 0, 556, kDisplayStripHeight}, {}, {}};
    layout.cells.push_back(
        {0, ControlKind::RightLabel, 0, {2, 6, 84, 14}, {"表示ﾁｬﾝﾈﾙ", "Disp.Channel"}});
    layout.cells.push_back({kDisplayChannelBoxId,
                            ControlKind::DropList,
                            0,
                            {88, 2, 88, 20},
                            {"", ""},
                            0,
                            kDisplayChannelPairs});
    static constexpr const char* kReadings[] = {"-90.0", "-----", " 0.0"};
    for (int c = 0; c < 8; ++c)
        layout.cells.push_back({kFirstMeterId + c,
                                ControlKind::Meter,
                                0,
                                {180 + c * 46, 3, 44, 18},
                                {"", ""},
                                0,
                                kReadings});
    return layout;
}

} // namespace

const WindowLayout& DisplayStripLayout() {
    static const WindowLayout layout = MakeLayout();
    return layout;
}

} // namespace qv
