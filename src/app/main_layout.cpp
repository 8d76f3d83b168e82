#include "app/main_layout.h"

#include <string>
#include <vector>

namespace qv {

namespace {

using C = SlotControl;
using T = ToolbarControl;
using K = ControlKind;

constexpr int kNoExclusion = 0;
constexpr int kBandLimitOrUserWave = 1; // the band-limit controls give way to the user-wave button

// One row of a slot group, in the group's coordinates (the page's, shifted by the group's top).
struct SlotRowTemplate {
    K kind;
    LayoutRect rect;
    RowRole role;
    C control;
    Text2 caption;
    int exclusion;
    Text2 hint = {"", ""}; // a fixed hint (the model gives the slot controls theirs)
};

constexpr Text2 kNone{"", ""};

// The masters' two rows: the follower row's columns, then delay, phase, sweep, modulation, gate
// and band limit below.
constexpr SlotRowTemplate kMasterRows[] = {
    {K::DropList, {8, 14, 90, 20}, RowRole::Slot, C::Waveform, kNone, kNoExclusion},
    {K::DropEdit, {102, 14, 62, 20}, RowRole::Slot, C::Freq, kNone, kNoExclusion},
    {K::UnitLabel, {166, 17, 16, 14}, RowRole::FreqUnit, C::Freq, kNone, kNoExclusion},
    {K::UpDown, {182, 14, 12, 20}, RowRole::FreqUpDown, C::Freq, kNone, kNoExclusion},
    {K::DropEdit, {198, 14, 66, 20}, RowRole::Slot, C::Amp, kNone, kNoExclusion},
    {K::UnitLabel, {266, 17, 20, 14}, RowRole::AmpUnit, C::Amp, kNone, kNoExclusion},
    {K::UpDown, {286, 14, 12, 20}, RowRole::AmpUpDown, C::Amp, kNone, kNoExclusion},
    {K::DropEdit, {302, 14, 66, 20}, RowRole::Slot, C::Offset, kNone, kNoExclusion},
    {K::UnitLabel, {370, 17, 20, 14}, RowRole::OffsetUnit, C::Offset, kNone, kNoExclusion},
    {K::DropList, {394, 14, 48, 20}, RowRole::Slot, C::OutCh, kNone, kNoExclusion},
    {K::Label,
     {8, 41, 62, 14},
     RowRole::Caption,
     C::BandLimit,
     {"帯域制限:", "BandLimit:"},
     kBandLimitOrUserWave},
    {K::DropList, {70, 38, 56, 20}, RowRole::Slot, C::BandLimit, kNone, kBandLimitOrUserWave},
    {K::Button,
     {8, 38, 118, 20},
     RowRole::Slot,
     C::UserWaveButton,
     {"ﾕｰｻﾞｰ波形登録", "Reg. UserWave"},
     kBandLimitOrUserWave},
    {K::DropEdit, {130, 38, 44, 20}, RowRole::Slot, C::Delay, kNone, kNoExclusion},
    {K::Label, {176, 41, 14, 14}, RowRole::Caption, C::Delay, {"Sa", "Sa"}, kNoExclusion},
    {K::DropEdit, {194, 38, 44, 20}, RowRole::Slot, C::Phase, kNone, kNoExclusion},
    {K::Label, {240, 41, 20, 14}, RowRole::Caption, C::Phase, {"°", "deg"}, kNoExclusion},
    {K::CheckBox, {264, 40, 52, 16}, RowRole::Slot, C::Sweep, {"ｽｲｰﾌﾟ", "Sweep"}, kNoExclusion},
    {K::CheckBox, {320, 40, 52, 16}, RowRole::Slot, C::Modulation, {"変調", "Modul"}, kNoExclusion},
    {K::Label,
     {378, 41, 32, 14},
     RowRole::Caption,
     C::GateOn,
     {"ｹﾞｰﾄ:", "Gate:"},
     kNoExclusion,
     {"ﾄｰﾝﾊﾞｰｽﾄ用のｹﾞｰﾄ", "Gate for toneburst"}},
    {K::DropEdit, {410, 38, 44, 20}, RowRole::Slot, C::GateOn, kNone, kNoExclusion},
    {K::DropEdit, {458, 38, 48, 20}, RowRole::Slot, C::GateOff, kNone, kNoExclusion},
};

constexpr SlotRowTemplate kFollowerRows[] = {
    {K::DropList, {8, 10, 90, 20}, RowRole::Slot, C::Waveform, kNone, kNoExclusion},
    {K::DropEdit, {102, 10, 62, 20}, RowRole::Slot, C::Freq, kNone, kNoExclusion},
    {K::UnitLabel, {166, 13, 16, 14}, RowRole::FreqUnit, C::Freq, kNone, kNoExclusion},
    {K::DropEdit, {198, 10, 66, 20}, RowRole::Slot, C::Amp, kNone, kNoExclusion},
    {K::UnitLabel, {266, 13, 20, 14}, RowRole::AmpUnit, C::Amp, kNone, kNoExclusion},
    {K::DropEdit, {302, 10, 66, 20}, RowRole::Slot, C::Offset, kNone, kNoExclusion},
    {K::UnitLabel, {370, 13, 20, 14}, RowRole::OffsetUnit, C::Offset, kNone, kNoExclusion},
    {K::DropList, {394, 10, 48, 20}, RowRole::Slot, C::OutCh, kNone, kNoExclusion},
    {K::CheckBox,
     {446, 12, 54, 16},
     RowRole::Slot,
     C::FollowerGate,
     {"ｹﾞｰﾄ", "Gate"},
     kNoExclusion},
};

constexpr int kMasterHeight = 64;
constexpr int kFollowerHeight = 32;

int SlotId(int slot, int part) {
    return 1000 + slot * 40 + part;
}

std::vector<LayoutRow> Build() {
    std::vector<LayoutRow> rows;
    const auto tool = [&](int id, K kind, LayoutRect r, RowRole role, T control, Text2 caption,
                          Text2 hint, int exclusion = kNoExclusion) {
        rows.push_back({id, kind, LayoutParent::Window, r, role, -1, C::Count, control, caption,
                        exclusion, hint});
    };
    const auto toolbar = [&](K kind, LayoutRect r, T control, Text2 caption, Text2 hint,
                             int exclusion = kNoExclusion) {
        tool(2000 + static_cast<int>(control), kind, r, RowRole::Toolbar, control, caption, hint,
             exclusion);
    };
    // The tool bar: commands on the first row, the format and the comment on the second.
    toolbar(K::Button, {4, 3, 40, 22}, T::Load, {"読込", "Load"},
            {"ﾊﾟﾗﾒｰﾀの読込", "Load parameters"});
    toolbar(K::Button, {46, 3, 40, 22}, T::Save, {"保存", "Save"},
            {"ﾊﾟﾗﾒｰﾀの保存", "Save parameters"});
    tool(2100, K::Button, {92, 3, 40, 22}, RowRole::Play, T::Count, {"再生", "Play"},
         {"ｻｳﾝﾄﾞﾃﾞﾊﾞｲｽへ出力", "Output to sound device"});
    tool(2101, K::Button, {134, 3, 40, 22}, RowRole::Stop, T::Count, {"停止", "Stop"},
         {"停止", "Stop"});
    toolbar(K::Button, {180, 3, 44, 22}, T::Write, {"書込", "Write"},
            {"Waveﾌｧｲﾙに書込 (Shiftｷｰ併用でﾃｷｽﾄﾌｧｲﾙに書込)",
             "Write to wave file (w/shift key, write to text file)"});
    toolbar(K::Button, {226, 3, 50, 22}, T::Device, {"ﾃﾞﾊﾞｲｽ", "Device"},
            {"ｻｳﾝﾄﾞﾃﾞﾊﾞｲｽ", "Sound device"});
    tool(kFilterPanelId, K::Panel, {282, 3, 62, 22}, RowRole::Caption, T::Count, kNone, kNone,
         kFormatOrProgress);
    toolbar(K::CheckBox, {285, 6, 56, 16}, T::FilterOn, {"ﾌｨﾙﾀｰ", "Filter"},
            {"ﾌｨﾙﾀｰ On/Off", "Filter On/Off"}, kFormatOrProgress);
    toolbar(K::DropEdit, {350, 4, 52, 20}, T::FileLength, kNone,
            {"Waveﾌｧｲﾙの長さ / ｽｲｰﾌﾟ時間", "Wave file length / Sweep length"});
    tool(2103, K::Label, {404, 7, 20, 14}, RowRole::Caption, T::Count, {"秒", "sec"}, kNone);
    toolbar(K::DropEdit, {4, 28, 62, 20}, T::SampleRate, kNone,
            {"ｻﾝﾌﾟﾘﾝｸﾞ周波数", "Sampling freq."}, kFormatOrProgress);
    toolbar(K::DropList, {70, 28, 44, 20}, T::BitLen, kNone, {"ﾋﾞｯﾄ長", "Bit length"},
            kFormatOrProgress);
    toolbar(K::DropList, {118, 28, 64, 20}, T::Channels, kNone, {"ﾁｬﾝﾈﾙ数", "Num of channels"},
            kFormatOrProgress);
    tool(kProgressBarId, K::Progress, {4, 28, 178, 20}, RowRole::Caption, T::Count, kNone, kNone,
         kFormatOrProgress);
    toolbar(K::Edit, {186, 28, 366, 20}, T::Comment, kNone,
            {"ﾊﾟﾗﾒｰﾀﾌｧｲﾙのｺﾒﾝﾄ", "Comment for parameter file"});
    tool(2105, K::Tab, {0, 52, 556, 187}, RowRole::Tabs, T::Count, {"Wave 1,2,3,4", "Wave 5,6,7,8"},
         kNone);

    // The slot groups, four to a page: the master's two rows, then one row per follower, their
    // columns aligned.
    for (int slot = 0; slot < 8; ++slot) {
        const bool master = slot % 4 == 0;
        const LayoutParent page = slot < 4 ? LayoutParent::Page1 : LayoutParent::Page2;
        const int top = master ? 0 : kMasterHeight + (slot % 4 - 1) * kFollowerHeight;
        static const char* const kNames[] = {"Wave1", "Wave2", "Wave3", "Wave4",
                                             "Wave5", "Wave6", "Wave7", "Wave8"};
        rows.push_back({SlotId(slot, 39),
                        K::GroupBox,
                        page,
                        {2, top, 548, master ? kMasterHeight : kFollowerHeight},
                        RowRole::Caption,
                        slot,
                        C::Count,
                        T::Count,
                        {kNames[slot], kNames[slot]},
                        kNoExclusion});
        const std::span<const SlotRowTemplate> templ =
            master ? std::span<const SlotRowTemplate>(kMasterRows) : kFollowerRows;
        int part = 20;
        for (const SlotRowTemplate& t : templ) {
            const LayoutRect r{t.rect.x, top + t.rect.y, t.rect.w, t.rect.h};
            const int id = t.role == RowRole::Slot ? SlotId(slot, static_cast<int>(t.control))
                                                   : SlotId(slot, part++);
            rows.push_back({id, t.kind, page, r, t.role, slot, t.control, T::Count, t.caption,
                            t.exclusion, t.hint});
        }
        if (slot == 0) // the frequency bar belongs to Wave1
            rows.push_back({SlotId(0, static_cast<int>(C::FreqBarButton)),
                            K::Button,
                            page,
                            {446, 14, 30, 20},
                            RowRole::Slot,
                            0,
                            C::FreqBarButton,
                            T::Count,
                            {"ﾊﾞｰ", "Bar"},
                            kNoExclusion});
    }
    return rows;
}

} // namespace

std::span<const LayoutRow> MainLayout() {
    static const std::vector<LayoutRow> rows = Build();
    return rows;
}

const WindowLayout& MainWindowLayout() {
    static const WindowLayout layout = [] {
        WindowLayout w{"Main window", kMainClientArea, {kPageArea, kPageArea}, {}};
        for (const LayoutRow& r : MainLayout())
            w.cells.push_back(
                {r.id, r.kind, static_cast<int>(r.parent), r.rect, r.caption, r.exclusion});
        return w;
    }();
    return layout;
}

} // namespace qv
