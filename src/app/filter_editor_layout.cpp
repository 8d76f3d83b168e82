#include "app/filter_editor_layout.h"

namespace qv {

namespace {

using K = ControlKind;

constexpr const char* kNoItems[] = {" 1023", " 2047", " 4095", " 8191", "16383"};
constexpr const char* kOverSampleTexts[] = {"x16"};

WindowLayout MakeFilterEditor() {
    using I = FilterEditorIds;
    constexpr int width = 515, height = 360;
    return {
        "Filter configuration",
        {0, 0, width, height},
        {},
        {
            {0, K::GroupBox, 0, {4, 0, 112, 52}, {"設定ﾌｧｲﾙ", "Config. file"}},
            {I::kOpen, K::Button, 0, {10, 20, 48, 24}, {"開く", "Open"}},
            {I::kSave, K::Button, 0, {62, 20, 48, 24}, {"保存", "Save"}},
            {I::kCommentLabel, K::Label, 0, {122, 9, 40, 14}, {"ｺﾒﾝﾄ:", "Comnt:"}},
            {I::kComment, K::Edit, 0, {164, 6, 248, 20}},
            {I::kReset, K::Button, 0, {418, 5, 46, 22}, {"ﾘｾｯﾄ", "Reset"}},
            {I::kClose, K::Button, 0, {466, 5, 46, 22}, {"閉じる", "Close"}},
            {I::kSizeLabel, K::Label, 0, {122, 33, 72, 14}, {"ﾌｨﾙﾀｰ長:", "Filter size:"}},
            {I::kSize, K::DropList, 0, {196, 30, 58, 20}, {"", ""}, 0, kNoItems},
            {I::kAlphaLabel, K::Label, 0, {262, 33, 60, 14}, {"窓ﾊﾟﾗﾒｰﾀ:", "Wnd.param:"}},
            {I::kAlpha, K::DropEdit, 0, {324, 30, 46, 20}},
            {I::kAlphaUpDown, K::UpDown, 0, {370, 30, 12, 20}},
            {I::kOverSampleLabel, K::Label, 0, {122, 59, 72, 14}, {"ｵｰﾊﾞｰｻﾝﾌﾟﾙ", "OverSampling"}},
            {I::kOverSample, K::DropList, 0, {196, 56, 58, 20}, {"", ""}, 0, kOverSampleTexts},
            {I::kLog, K::CheckBox, 0, {262, 58, 44, 16}, {"Log", "Log"}},
            {I::kPointCount, K::Label, 0, {324, 59, 80, 14}, {"ﾎﾟｲﾝﾄ数:100", "Points: 100"}},
            {I::kPlot,
             K::Custom,
             0,
             {kFilterPlotLeft, kFilterPlotTop, width - kFilterPlotLeft - kFilterPlotRightMargin,
              height - kFilterPlotTop - kFilterPlotBottomMargin}},
        }};
}

WindowLayout MakeEditPoint() {
    using I = EditPointIds;
    return {"Edit point",
            {0, 0, 196, 106},
            {},
            {
                {I::kGroup, K::GroupBox, 0, {6, 2, 184, 66}, {"No.100", "No.100"}},
                {0, K::Label, 0, {14, 21, 44, 14}, {"周波数:", "Freq:"}},
                {I::kFrequency, K::Edit, 0, {60, 18, 90, 20}, {"", ""}, 0, {}, true},
                {I::kFrequencyUpDown, K::UpDown, 0, {150, 18, 12, 20}},
                {0, K::Label, 0, {166, 21, 18, 14}, {"Hz", "Hz"}},
                {0, K::Label, 0, {14, 45, 44, 14}, {"ゲイン:", "Gain:"}},
                {I::kGain, K::Edit, 0, {60, 42, 90, 20}, {"", ""}, 0, {}, true},
                {I::kGainUpDown, K::UpDown, 0, {150, 42, 12, 20}},
                {0, K::Label, 0, {166, 45, 18, 14}, {"dB", "dB"}},
                {I::kApply, K::DefaultButton, 0, {16, 76, 80, 24}, {"適用", "Apply"}, 0, {}, true},
                {I::kCancel, K::Button, 0, {100, 76, 80, 24}, {"ｷｬﾝｾﾙ", "Cancel"}},
            }};
}

} // namespace

const WindowLayout& FilterEditorLayout() {
    static const WindowLayout layout = MakeFilterEditor();
    return layout;
}

const WindowLayout& EditPointLayout() {
    static const WindowLayout layout = MakeEditPoint();
    return layout;
}

} // namespace qv
