// The filter editor's redraw while a point is dragged: one mouse step of one pixel (the display
// response designed again, the point marks and the response polyline of a 515 x 300 plot) next to
// its peer, the display-response design alone, at 48 kHz for N = 4096 and 16384.
#include "app/filter_editor.h"
#include "app/main_controls.h"
#include "app/program_session.h"
#include "bench_tone.h"
#include "cli/console_ui.h"
#include "files/ini_file.h"
#include "filter/filter_designer.h"
#include "platform/key_state.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

class NoHost final : public qv::SessionHost {
public:
    void RunOnMainThread(qv::WavePlayRec&, qv::MainStep) override {}
    void PostNotification(qv::EngineNotification) override {}
    void PumpMessages() override {}
    void PostAutoPlay() override {}
    void SetAutoPlayTimer(long) override {}
    void OpenHelp(const std::string&, unsigned long) override {}
};

// A session without an engine (nothing runs), its editor at 48 kHz showing a few points.
struct Editor {
    explicit Editor(int64_t n) {
        session.Open((std::filesystem::temp_directory_path() / "qv_bench_none").string() + "/");
        session.Controls().OnSampleRateText("48000");
        qv::FilterEditor& e = E();
        e.Loaded();
        e.SetFilterSizeItem(n == 16384 ? 4 : 2);
        e.Resize(515, 300);
        e.Reset();
        for (const int32_t x : {120, 250, 380})
            e.MouseMove(x, 100 + x / 4), e.MouseDown(x, 100 + x / 4), e.MouseUp();
    }
    qv::ConsoleUi ui; // a message would show on standard error
    qv::NoKeysDown keys;
    NoHost host;
    qv::ProgramSession session{{.ui = ui,
                                .keys = keys,
                                .host = host,
                                .fileExists = [](const std::string&) { return false; },
                                .canListFiles = [](const std::string&) { return false; },
                                .openIni = [](const std::string& p) { return qv::OpenIniFile(p); },
                                .bindFftLibrary =
                                    [](const std::string&, qv::FftApi& api) {
                                        api = qv::DirectFftApi();
                                        return true;
                                    }}};
    qv::FilterEditor& E() { return session.Filter(); } // made by Open
};

void BM_DragStep(benchmark::State& state) {
    Editor t(state.range(0));
    if (t.E().Marks().size() != 5)
        return state.SkipWithError("the points were not drawn");
    const qv::PointMark mark = t.E().Marks()[2];
    t.E().MouseMove(mark.x, mark.y), t.E().MouseDown(mark.x, mark.y);
    int32_t step = 0;
    for (auto _ : state) // one pixel right, then back
        t.E().MouseMove(mark.x + (++step & 1), mark.y);
}

// The peer: the same points' display response designed on its own.
void BM_DisplayDesign(benchmark::State& state) {
    Editor t(state.range(0));
    qv::FilterDesign d = t.session.Gen().filterDesign;
    qv::FilterDesigner designer;
    designer.Attach(&qv::bench::Fft());
    const auto n = static_cast<int32_t>(state.range(0));
    const auto o = static_cast<int32_t>(t.session.Gen().overSampleRate);
    for (auto _ : state)
        benchmark::DoNotOptimize(designer.Design(d, n, o, true, false));
}

} // namespace

BENCHMARK(BM_DragStep)->Arg(4096)->Arg(16384)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DisplayDesign)->Arg(4096)->Arg(16384)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
