#include "app/filter_editor.h"

#include "app/filter_editor_texts.h"
#include "app/main_controls.h"
#include "app/program_session.h"
#include "files/filter_file.h"
#include "filter/filter_edits.h"
#include "generator/generator.h"
#include "generator/number_text.h"
#include "platform/app_title.h"
#include "platform/ui.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qv {

namespace {

constexpr const char* kSizeTexts[] = {" 1023", " 2047", " 4095", " 8191", "16383"};
constexpr const char* kAlphaItems[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
constexpr int32_t kOverSampleRates[] = {1, 2, 4, 8, 16};

std::string Printf(const char* format, double value) {
    char text[48];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

} // namespace

FilterEditor::FilterEditor(ProgramSession& session, Generator& generator)
    : session_(session), g_(generator) {}

int32_t FilterEditor::Rate() const {
    return static_cast<int32_t>(g_.format.sampleRate);
}

int32_t FilterEditor::Size() const {
    return static_cast<int32_t>(g_.filterSize);
}

std::string FilterEditor::Caption() const {
    return std::string(kAppTitle) + " - " + kFilterEditorTitle(session_.Language());
}

bool FilterEditor::Editable() const {
    return !session_.Busy();
}

void FilterEditor::Changed() {
    session_.Changed({.filter = true});
}

// --- Showing and closing.

void FilterEditor::Showing() {
    if (!shownBefore_) {
        shownBefore_ = true;
        logScale_ = true;
        if (editorRate_ == 0)
            editorRate_ = Rate();
    }
    hover_ = -1;
    dragging_ = false;
    readout_ = {};
    SampleRateChanged();
    Layout();
    Changed();
}

void FilterEditor::Close() {
    hover_ = -1;
    dragging_ = false;
    readout_ = {};
    session_.Controls().OnFilterOn(false);
    session_.Publish();
}

void FilterEditor::Loaded() {
    editorRate_ = Rate();
    Layout();
}

void FilterEditor::SampleRateChanged() {
    const int32_t rate = Rate();
    if (editorRate_ == rate || editorRate_ == 0) {
        editorRate_ = rate;
        return;
    }
    const int32_t old = editorRate_;
    editorRate_ = rate;
    AskSampleRateChange(g_.filterDesign, Size(), old, rate, session_.UserInterface(),
                        session_.Language(), Caption());
    Layout();
    Changed();
}

// --- The plot.

void FilterEditor::Resize(int32_t width, int32_t height) {
    width_ = std::max(width, 2);
    height_ = std::max(height, 2);
    Layout();
}

void FilterEditor::Layout() {
    RebuildScales();
    Refresh();
}

void FilterEditor::RebuildScales() {
    const FilterDesign& d = g_.filterDesign;
    plot_.Layout(width_, height_, logScale_, editorRate_ > 0 ? editorRate_ : Rate(), Size(),
                 d.ampScaleMaxDb, d.ampScaleMinDb);
    frequencyAxis_ = plot_.FrequencyAxis(0);
    dbAxis_ = plot_.DbAxis();
    // The response bins' x: bin k at k x rate / (N x R); bin 0 (0 Hz) just off the left edge.
    const int32_t bins = Size() * d.responseRate / 2 + 1;
    const double step = plot_.BinWidth() / d.responseRate;
    LayoutPlotPointsAt(
        bins, [&](int32_t k) { return k == 0 ? -1 : plot_.FreqToX(k * step); }, session_.Fft(),
        responseX_);
}

void FilterEditor::Refresh() {
    FilterDesign& d = g_.filterDesign;
    marks_.resize(static_cast<size_t>(std::max(d.pointCount, 0)));
    // The design may cut the table; marks follow what remains.
    kernelPending_ = !g_.filterDesigner.Design(d, Size(), static_cast<int32_t>(g_.overSampleRate),
                                               true, session_.Busy()) &&
                     session_.Busy();
    marks_.resize(static_cast<size_t>(d.pointCount));
    for (int i = 0; i < d.pointCount; ++i)
        marks_[i] = {plot_.FreqToX(d.points[i].frequency), plot_.DbToY(d.points[i].gainDb, true)};
    const std::vector<double>& r = g_.filterDesigner.DisplayResponse();
    const size_t bins = r.size() / 2;
    FillPlotY(
        responseX_,
        [&](size_t k) {
            if (k >= bins)
                return plot_.Height();
            const double m = std::hypot(r[2 * k], r[2 * k + 1]);
            return plot_.DbToY(20 * std::log10(std::max(m, 1e-38)), false);
        },
        responseY_);
    responseCount_ = static_cast<size_t>(std::max(responseX_.count, 0));
}

void FilterEditor::RetryKernel() {
    if (kernelPending_ && session_.Busy())
        Refresh();
}

// --- The mouse.

void FilterEditor::SetReadoutAt(int32_t x, int32_t y) {
    readout_ = {};
    const FilterDesign& d = g_.filterDesign;
    if (hover_ >= 0 && hover_ < d.pointCount) {
        const FilterPoint& p = d.points[hover_];
        readout_ = {{FrequencyReadout(p.frequency), GainReadout(p.gainDb)}, true};
        return;
    }
    if (x < 0 || y < 0 || x >= plot_.Width() || y >= plot_.Height())
        return;
    // The response where the mouse is, on its grid of N x R points.
    const FilterDesign& design = g_.filterDesign;
    const double step = plot_.BinWidth() / design.responseRate;
    const double f =
        plot_.LogScale()
            ? std::pow(10.0, std::log10(plot_.MinFreq()) +
                                 x * (std::log10(plot_.MaxFreq()) - std::log10(plot_.MinFreq())) /
                                     (plot_.Width() - 1))
            : x * plot_.MaxFreq() / (plot_.Width() - 1);
    const std::vector<double>& r = g_.filterDesigner.DisplayResponse();
    const size_t bins = r.size() / 2;
    if (bins == 0)
        return;
    const size_t k =
        std::min(static_cast<size_t>(std::max(std::trunc(f / step + 0.5), 0.0)), bins - 1);
    const double level = 20 * std::log10(std::max(std::hypot(r[2 * k], r[2 * k + 1]), 1e-38));
    readout_ = {{FrequencyReadout(k * step), GainReadout(level)}, false};
}

void FilterEditor::MouseMove(int32_t x, int32_t y) {
    FilterDesign& d = g_.filterDesign;
    if (dragging_ && hover_ >= 0 && hover_ < d.pointCount) {
        const FrequencyRange range = DragRange(d, hover_, plot_.BinWidth());
        const FilterPlot::Spot s = plot_.PointFromMouse(x, y, range.lowest, range.highest);
        FilterPoint& p = d.points[hover_];
        if (hover_ > 0 && hover_ < d.pointCount - 1)
            p.binIndex = s.bin, p.frequency = s.frequency;
        p.gainDb = s.gainDb;
        Refresh();
        SetReadoutAt(x, y);
        Changed();
        return;
    }
    hover_ = HitPoint(marks_, x, y);
    SetReadoutAt(x, y);
    Changed();
}

void FilterEditor::MouseDown(int32_t x, int32_t y) {
    FilterDesign& d = g_.filterDesign;
    hover_ = HitPoint(marks_, x, y); // the marks may have moved since the mouse did
    if (hover_ < 0) {
        if (d.pointCount >= kMaxFilterPoints) {
            session_.UserInterface().Message(kTooManyPoints(session_.Language()), kAppTitle,
                                             MsgIcon::Warning);
            return;
        }
        const FilterPlot::Spot s =
            plot_.PointFromMouse(x, y, d.points[0].frequency, d.points[d.pointCount - 1].frequency);
        const int at = InsertionIndex(d, s.frequency);
        if (at >= 1 && InsertPoint(d, at, {s.bin, s.frequency, s.gainDb})) {
            hover_ = at;
            Refresh();
        }
    }
    dragging_ = true;
    SetReadoutAt(x, y);
    Changed();
}

void FilterEditor::MouseUp() {
    if (!dragging_)
        return;
    dragging_ = false;
    Refresh();
    Changed();
}

void FilterEditor::MouseLeave() {
    if (dragging_)
        return;
    hover_ = -1;
    readout_ = {};
    Changed();
}

Menu FilterEditor::PointMenu(int index, std::function<void()> edit) {
    const int lang = session_.Language();
    const FilterDesign& d = g_.filterDesign;
    const bool first = index == 0, last = index == d.pointCount - 1;
    auto slopes = [&](int neighbour) {
        Menu sub;
        for (const SlopeItem& item : SlopeItems()) {
            sub.push_back({item.caption, [this, index, neighbour, s = item.dbPerDecade] {
                               SlopeToNeighbour(g_.filterDesign, index, neighbour, s);
                               Refresh();
                               Changed();
                           }});
        }
        return sub;
    };
    return {
        {kMenuEdit(lang), std::move(edit)},
        {kMenuDelete(lang),
         [this, index] {
             if (DeletePoint(g_.filterDesign, index)) {
                 hover_ = -1;
                 Refresh();
                 Changed();
             }
         },
         false, !first && !last},
        {kMenuToNext(lang), {}, false, !last, slopes(index + 1)},
        {kMenuToPrev(lang), {}, false, !first, slopes(index - 1)},
    };
}

bool FilterEditor::AmpScaleMenuOffered() const {
    return !session_.Busy();
}

Menu FilterEditor::AmpScaleMenu() {
    const FilterDesign& d = g_.filterDesign;
    auto item = [&](int32_t db, bool top) {
        const std::string text = db == 0 ? " 0dB" : Printf(top ? "%+3.0fdB" : "%3.0fdB", db);
        return MenuItem{text,
                        [this, db, top] {
                            (top ? g_.filterDesign.ampScaleMaxDb : g_.filterDesign.ampScaleMinDb) =
                                db;
                            Layout();
                            Changed();
                        },
                        (top ? d.ampScaleMaxDb : d.ampScaleMinDb) == db};
    };
    Menu top, bottom;
    for (int32_t db : {40, 20, 0})
        top.push_back(item(db, true));
    for (int32_t db = -20; db >= -160; db -= 20)
        bottom.push_back(item(db, false));
    const int lang = session_.Language();
    return {{kMenuDbMax(lang), {}, false, true, top}, {kMenuDbMin(lang), {}, false, true, bottom}};
}

// --- The point window.

FilterEditor::PointEdit FilterEditor::BeginPointEdit(int index) const {
    const FilterDesign& d = g_.filterDesign;
    PointEdit e;
    e.index = std::clamp(index, 0, std::max(d.pointCount - 1, 0));
    e.frequencyEditable = e.index > 0 && e.index < d.pointCount - 1;
    e.bins = EditBinRange(d, e.index, Size());
    e.frequencyText = Printf("%.7g", d.points[e.index].frequency);
    e.gainText = Printf("%.6g", d.points[e.index].gainDb);
    return e;
}

std::string FilterEditor::SnapFrequencyText(const PointEdit& e, const std::string& typed,
                                            int step) const {
    // A text that is no frequency gives the point's own back, with the beep.
    const std::optional<double> usable = UsableNumber(typed, Notation::Decimal);
    if (!usable)
        session_.UserInterface().Beep();
    double f = usable.value_or(g_.filterDesign.points[e.index].frequency);
    int32_t bin = FrequencyToBin(f, step, Size(), editorRate_);
    bin = std::clamp(bin, e.bins.lowest, std::max(e.bins.lowest, e.bins.highest));
    return Printf("%.7g", bin * (static_cast<double>(editorRate_) / Size()));
}

std::string FilterEditor::StepGainText(const std::string& typed, int step) const {
    const double g = ReadDecimal(typed);
    return Printf("%.6g", (std::isfinite(g) ? g : 0) + step);
}

void FilterEditor::ApplyPointEdit(const PointEdit& e, const std::string& frequencyText,
                                  const std::string& gainText) {
    FilterDesign& d = g_.filterDesign;
    if (e.index < 0 || e.index >= d.pointCount)
        return;
    FilterPoint& p = d.points[e.index];
    if (e.frequencyEditable) {
        // Held between the neighbours however fast Enter follows the typing.
        double f = ReadDecimal(SnapFrequencyText(e, frequencyText, 0));
        p.binIndex = FrequencyToBin(f, 0, Size(), editorRate_);
        p.frequency = f;
    }
    if (const std::optional<double> g = UsableNumber(gainText, Notation::Decimal))
        p.gainDb = std::clamp(*g, -1000.0, 1000.0);
    else
        session_.UserInterface().Beep(); // the gain in force stays
    Refresh();
    Changed();
}

// --- The controls.

std::span<const char* const> FilterEditor::FilterSizeItems() const {
    return kSizeTexts;
}

int FilterEditor::FilterSizeItem() const {
    for (int k = 0; k < kSizeItems; ++k) {
        if (Size() == (1024 << k))
            return k;
    }
    return 2;
}

void FilterEditor::SetFilterSizeItem(int item) {
    const int32_t n = 1024 << std::clamp(item, 0, kSizeItems - 1);
    if (n == Size() || !Editable())
        return; // a run's buffers are sized for its N
    g_.filterSize = static_cast<uint32_t>(n);
    RescalePoints(g_.filterDesign, n, editorRate_, true);
    Layout();
    session_.Changed({.displayLayout = true, .filter = true});
}

std::span<const char* const> FilterEditor::KaiserAlphaItems() const {
    return kAlphaItems;
}

std::string FilterEditor::KaiserAlphaText() const {
    return Printf("%.4g", g_.filterDesign.kaiserAlpha);
}

std::string FilterEditor::SetKaiserAlphaText(const std::string& typed, bool committed) {
    std::string shown;
    const std::optional<double> typedValue = UsableNumber(typed, Notation::Decimal);
    if (!typedValue) {
        if (committed)
            session_.UserInterface().Beep();
        return KaiserAlphaText();
    }
    const double alpha = KaiserAlphaFromTyped(*typedValue, shown);
    if (alpha != g_.filterDesign.kaiserAlpha) {
        g_.filterDesign.kaiserAlpha = alpha;
        Refresh();
        Changed();
    }
    return shown;
}

std::string FilterEditor::StepKaiserAlpha(int direction) {
    return SetKaiserAlphaText(Printf("%.4g", g_.filterDesign.kaiserAlpha + 0.1 * direction));
}

std::vector<std::string> FilterEditor::OverSampleItems() const {
    return {kOverSampleNone(session_.Language()), "x2", "x4", "x8", "x16"};
}

int FilterEditor::OverSampleItem() const {
    for (int k = 0; k < 5; ++k) {
        if (static_cast<int32_t>(g_.overSampleRate) == kOverSampleRates[k])
            return k;
    }
    return 0;
}

void FilterEditor::SetOverSampleItem(int item) {
    if (!Editable())
        return;
    g_.overSampleRate = static_cast<uint32_t>(kOverSampleRates[std::clamp(item, 0, 4)]);
    Changed();
}

void FilterEditor::SetLogScale(bool on) {
    if (on == logScale_)
        return;
    logScale_ = on;
    Layout();
    Changed();
}

void FilterEditor::Reset() {
    ResetFilterPoints(g_.filterDesign, Size(), editorRate_);
    hover_ = -1;
    Refresh();
    Changed();
}

const std::string& FilterEditor::Comment() const {
    return g_.filterDesign.comment;
}

void FilterEditor::SetComment(const std::string& text) {
    g_.filterDesign.comment = text.substr(0, 100);
}

std::string FilterEditor::PointCountText() const {
    char text[32];
    std::snprintf(text, sizeof text, kPointCountFormat(session_.Language()),
                  g_.filterDesign.pointCount);
    return text;
}

// --- Filter files.

const std::string& FilterEditor::FilterFile() const {
    return session_.Settings().filterParamFile;
}

void FilterEditor::NameFileInCaption(const std::string& path) {
    std::string name = path.substr(path.find_last_of("/\\") + 1);
    if (const size_t dot = name.rfind('.'); dot != std::string::npos)
        name.resize(dot);
    session_.SetCaption(Caption() + " - " + name);
}

bool FilterEditor::OpenFile(const std::string& path) {
    if (!Editable())
        return false;
    std::string name = path;
    session_.Settings().filterParamFile = path;
    // A file that fails to read leaves the drawing as it was: the user's unsaved points are not
    // lost to someone else's bad file. Only a cancel at the rate question resets, as it says.
    const FilterDesign before = g_.filterDesign;
    const FilterEditorState was{static_cast<int32_t>(g_.overSampleRate), Size(), editorRate_};
    FilterEditorState state = was;
    const FilterFileEnvironment env{session_.UserInterface(), session_.Language(), Caption()};
    bool cancelled = false;
    const bool good = ReadFilterFile(name, g_.filterDesign, state, env, &cancelled);
    if (!good && !cancelled) {
        g_.filterDesign = before;
        state = was;
    }
    g_.overSampleRate = static_cast<uint32_t>(state.overSampleRate);
    const bool resized = state.filterSize != Size();
    g_.filterSize = static_cast<uint32_t>(state.filterSize);
    if (cancelled)
        ResetFilterPoints(g_.filterDesign, Size(), editorRate_);
    else if (good)
        NameFileInCaption(path);
    hover_ = -1;
    Layout();
    session_.Changed({.displayLayout = resized, .filter = true});
    return good;
}

bool FilterEditor::SaveFile(const std::string& path) {
    if (!Editable())
        return false;
    std::string name = path;
    const FilterEditorState state{static_cast<int32_t>(g_.overSampleRate), Size(), editorRate_};
    const FilterFileEnvironment env{session_.UserInterface(), session_.Language(), Caption()};
    NameFileInCaption(path);
    const bool good = WriteFilterFile(name, g_.filterDesign, state, env);
    // A wrong extension is corrected in the name the next save proposes.
    session_.Settings().filterParamFile = name;
    return good;
}

} // namespace qv
