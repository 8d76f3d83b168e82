// The filter editor without its window: the plot of the drawn points and of the designed
// response, what the mouse, the point menu and the controls do to the design, the filter files,
// and the question when the sample rate has changed. The window draws what it reads here and
// hands every mouse move, click and control change to it; the session owns it and tells every
// view when the design has changed.
#pragma once

#include "display/plot_points.h"
#include "filter/filter_plot.h"
#include "filter/point_edits.h"
#include "platform/menu_item.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace qv {

class Generator;
class ProgramSession;

class FilterEditor {
public:
    FilterEditor(ProgramSession& session, Generator& generator);

    // --- The window's life. Shown exactly while the filter is on.
    // Every showing: the first one switches the log axis on; a sample rate other than the one
    // the editor last worked at asks what becomes of the points.
    void Showing();
    // The editor closed itself (its close box, Close, Escape): the filter goes off.
    void Close();
    // The parameter set (or the start) brought points drawn at the current rate.
    void Loaded();
    // The main window's rate changed while the filter is on.
    void SampleRateChanged();
    std::string Caption() const; // "<title> - Filter configuration"

    // --- The plot.
    void Resize(int32_t width, int32_t height);
    const FilterPlot& Plot() const { return plot_; }
    const AxisScale& FrequencyAxis() const { return frequencyAxis_; }
    const AxisScale& DbAxis() const { return dbAxis_; }
    const std::vector<PointMark>& Marks() const { return marks_; }
    // The designed response as a polyline (thinned to four points per pixel column).
    std::span<const ScreenPoint> Response() const { return {responseY_.data(), responseCount_}; }

    // --- The mouse over the plot (plot coordinates).
    struct Readout {
        std::vector<std::string> lines; // empty: nothing to show
        bool ofPoint = false;           // in the points' colour, else the response's
    };
    void MouseMove(int32_t x, int32_t y);
    // The left button: a point is added where none lies (with 100 points: the warning and
    // nothing more); dragging starts.
    void MouseDown(int32_t x, int32_t y);
    void MouseUp();
    void MouseLeave();
    int Hover() const { return hover_; }
    bool Dragging() const { return dragging_; }
    const Readout& CurrentReadout() const { return readout_; }
    // The menu of the point under the mouse; edit opens the point window.
    Menu PointMenu(int index, std::function<void()> edit);
    // The dB range menu (left of the plot), while nothing runs.
    Menu AmpScaleMenu();
    bool AmpScaleMenuOffered() const;

    // --- The point window.
    struct PointEdit {
        int index = 0;
        bool frequencyEditable = true; // not for the first and the last point
        BinRange bins;
        std::string frequencyText, gainText;
    };
    PointEdit BeginPointEdit(int index) const;
    // A typed frequency snapped to the grid and held to the point's bins (step: the arrow
    // buttons' +-1 bin), as the text the field shows.
    std::string SnapFrequencyText(const PointEdit& edit, const std::string& typed, int step) const;
    std::string StepGainText(const std::string& typed, int step) const;
    void ApplyPointEdit(const PointEdit& edit, const std::string& frequencyText,
                        const std::string& gainText);

    // --- The controls.
    static constexpr int kSizeItems = 5; // " 1023" ... "16383"
    std::span<const char* const> FilterSizeItems() const;
    int FilterSizeItem() const;
    void SetFilterSizeItem(int item);
    std::span<const char* const> KaiserAlphaItems() const; // "0" ... "10"
    std::string KaiserAlphaText() const;
    // A typed alpha (or an item): held to 0 ... 10; the text the field shows afterwards. A text
    // that is no number keeps the alpha in force (with the beep once the entry is committed).
    std::string SetKaiserAlphaText(const std::string& typed, bool committed = true);
    std::string StepKaiserAlpha(int direction); // +-0.1
    std::vector<std::string> OverSampleItems() const;
    int OverSampleItem() const;
    void SetOverSampleItem(int item);
    bool LogScale() const { return logScale_; }
    void SetLogScale(bool on);
    void Reset();
    const std::string& Comment() const;
    void SetComment(const std::string& text);
    std::string PointCountText() const;
    // Open, Save, the comment, the size, the oversampling and Close wait while a run goes on.
    bool Editable() const;

    // --- Filter files (.QVF).
    const std::string& FilterFile() const;
    // Reads a file (Open, or a file dropped on the editor); a failed or cancelled read leaves
    // the flat response. The main window's caption names the file after a good read.
    bool OpenFile(const std::string& path);
    bool SaveFile(const std::string& path);

    // --- While output runs every edit designs a new kernel for the running filter; one that
    // could not be handed over yet (the last one still waits) is designed again here.
    void RetryKernel();

    // The design after an edit: point marks, the display response, the kernel while busy.
    void Refresh();

private:
    void RebuildScales();
    void Layout();
    int32_t Rate() const;
    int32_t Size() const;
    void Changed();
    void SetReadoutAt(int32_t x, int32_t y);
    void NameFileInCaption(const std::string& path);

    ProgramSession& session_;
    Generator& g_;
    FilterPlot plot_;
    int32_t width_ = 515, height_ = 300;
    bool logScale_ = true;
    bool shownBefore_ = false;
    int32_t editorRate_ = 0;
    AxisScale frequencyAxis_, dbAxis_;
    std::vector<PointMark> marks_;
    PlotPoints responseX_;
    std::vector<ScreenPoint> responseY_;
    size_t responseCount_ = 0;
    int hover_ = -1;
    bool dragging_ = false;
    bool kernelPending_ = false;
    Readout readout_;
};

} // namespace qv
