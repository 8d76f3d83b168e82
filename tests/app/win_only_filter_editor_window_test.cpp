// The filter editor in this process: the Filter box shows it with every text fitting its control,
// and a filter file dropped on it at another sample rate asks; Yes keeps the points' frequencies,
// No their bins, Cancel leaves the flat response. The point is read back from the read-out the
// mouse over it shows.
#include "app/filter_editor_layout.h"
#include "app/win/filter_config_form.h"
#include "filter/filter_plot.h"
#include "filter/point_edits.h"
#include "platform/win/text_conversion.h"
#include "platform/win/window_messages.h"
#include "support/main_form_program.h"
#include "support/modal_answer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <tuple>

namespace qv {
namespace {

int FilterBoxId() {
    for (const LayoutRow& r : MainLayout()) {
        if (r.role == RowRole::Toolbar && r.toolbarControl == ToolbarControl::FilterOn)
            return r.id;
    }
    return 0;
}

TEST(FilterEditorWindowTest, TheFilterBoxShowsItAndADroppedFileAtAnotherRateAsks) {
    Program p(1, "[Window]\r\nDispHelp=1\r\n[Version]\r\nVer=1.5\r\n");
    ASSERT_TRUE(p.created);
    const HWND main = p.form.Window();
    SendMessageW(main, kMsgFirstActivation, 0, 0);
    const HWND box = Child(main, FilterBoxId());
    SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
    Notify(box, BN_CLICKED);
    ASSERT_NE(p.form.FilterEditorWindow(), nullptr);
    const FilterConfigForm& editor = *p.form.FilterEditorWindow();
    ASSERT_TRUE(IsWindowVisible(editor.Window()));
    EXPECT_EQ(CutTexts(editor.Window()), std::vector<std::wstring>{});
    // A key that lands on the window itself (not one of its controls) is left alone; it once
    // went round through the dialog navigation until the stack ran out.
    SendMessageW(editor.Window(), WM_KEYDOWN, 'O', 0);
    EXPECT_TRUE(IsWindowVisible(editor.Window()));

    // Drawn at 48000 Hz, N = 1024: -10 dB at bin 21 (984.375 Hz); the editor works at 44100 Hz.
    const std::string file = p.scratch.File("drawn48.QVF");
    std::ofstream(file, std::ios::binary)
        << ("\"Quorvale Filter Parameter\",1.00\r\n\"Comment\",\"\"\r\n\"Size1\",1024\r\n"
            "\"Sampling Frequency\",48000\r\n\"Points\",3\r\n"
            "1,0,0,0\r\n2,21,984.375,-10\r\n3,512,24000,-20\r\n");
    RECT plot{};
    GetClientRect(editor.PlotWindow(), &plot);
    FilterPlot mapping;
    mapping.Layout(plot.right, plot.bottom, true, 44100, 1024, 20, -100);
    const double bin = 44100.0 / 1024;
    for (const auto& [button, points, frequency] :
         {std::tuple{IDYES, L"Points:   3", 23 * bin}, std::tuple{IDNO, L"Points:   3", 21 * bin},
          std::tuple{IDCANCEL, L"Points:   2", 0.0}}) {
        {
            ModalAnswer answer(button);
            DropFile(editor.Window(), file);
            answer.Wait();
            EXPECT_NE(answer.text.find(L"differs from the current value (44100)"),
                      std::wstring::npos);
        }
        EXPECT_EQ(Text(Child(editor.Window(), FilterEditorIds::kPointCount)), points);
        if (frequency == 0)
            continue;
        SendMessageW(editor.PlotWindow(), WM_MOUSEMOVE, 0,
                     MAKELPARAM(mapping.FreqToX(frequency), mapping.DbToY(-10, true)));
        EXPECT_EQ(editor.Readout().Lines(),
                  (std::vector<std::wstring>{Utf8ToWide(FrequencyReadout(frequency)),
                                             Utf8ToWide(GainReadout(-10))}));
    }
}

} // namespace
} // namespace qv
