// qvrender: renders a parameter set to a file exactly as the program's Write command does, or
// (Windows build) plays it through a sound device.
#include "app/main_controls.h"
#include "app/open_param_file.h"
#include "app/user_wave_loader.h"
#include "app/write_command.h"
#include "cli/cli_options.h"
#include "cli/console_ui.h"
#include "cli/interrupt.h"
#include "cli/play_mode.h"
#include "cli/progress_bar.h"
#include "cli/set_option.h"
#include "fftlib/fft_api.h"
#include "files/filter_file.h"
#include "files/ini_file.h"
#include "files/param_file.h"
#include "files/wave_writer.h"
#include "generator/generator.h"
#include "platform/app_title.h"
#include "platform/file_checks.h"
#include "platform/key_state.h"
#include "platform/program_arguments.h"
#include "platform/ui.h"

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

namespace {

int UsageError(const std::string& message) {
    std::fprintf(stderr, "qvrender: %s\n\n%s", message.c_str(), qv::kUsage);
    return 2;
}

// Warnings, then errors, one a line; false when there were errors.
bool ReportValues(const qv::ValueReport& report) {
    for (const std::string& w : report.warnings)
        std::fprintf(stderr, "qvrender: warning: %s\n", w.c_str());
    for (const std::string& e : report.errors)
        std::fprintf(stderr, "qvrender: %s\n", e.c_str());
    return report.errors.empty();
}

// The user waves of the set, registered as opening the file in the program registers them. A
// wave that does not load would play as silence: false unless the script asked for that.
// The filter editor's read of a .QVF: its parameters and points; the filter goes on.
bool ReadFilter(qv::Generator& g, qv::Ui& ui, int lang, std::string path) {
    qv::FilterEditorState state{static_cast<int32_t>(g.overSampleRate),
                                static_cast<int32_t>(g.filterSize),
                                static_cast<int32_t>(g.format.sampleRate)};
    if (!qv::ReadFilterFile(path, g.filterDesign, state, {ui, lang, qv::kAppTitle}))
        return false;
    g.overSampleRate = static_cast<uint32_t>(state.overSampleRate);
    g.filterSize = static_cast<uint32_t>(state.filterSize);
    g.filterOn = true;
    return true;
}

bool RegisterWaves(qv::Generator& generator, qv::Ui& ui, int lang, bool allowMissing) {
    const qv::NoKeysDown noKeys;
    const qv::UserWaveLoadEnvironment env{
        .ui = ui, .keys = noKeys, .languageIndex = lang, .appTitle = qv::kAppTitle, .progress = {}};
    const auto status = qv::RegisterUserWaves(generator, [&](int m, const std::string&) {
        return qv::RegisterUserWave(generator.userWaves[m / 4], m == 4,
                                    qv::UserWaveRequest::FromParamFile, env);
    });
    bool missing = false;
    for (int k = 0; k < 2; ++k) {
        if (status[k] == qv::UserWaveStatus::NoFile) {
            ui.Message(std::string(k == 0 ? "Wave1: " : "Wave5: ") +
                           qv::kUserWaveNotRegistered(lang),
                       qv::kAppTitle, qv::MsgIcon::Warning, qv::MsgButtons::Ok, true);
        }
        missing |=
            status[k] == qv::UserWaveStatus::NoFile || status[k] == qv::UserWaveStatus::Failed;
    }
    return !missing || allowMissing;
}

} // namespace

int main(int argc, char** argv) {
#ifdef SIGXFSZ
    // Past a file-size limit a write must fail and be reported, not kill the process.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    // Names on the command line are UTF-8, as every path in the program.
    std::vector<std::string> arguments = qv::ProgramArguments(argc, argv);
    std::vector<char*> pointers;
    for (std::string& a : arguments)
        pointers.push_back(a.data());
    pointers.push_back(nullptr);
    qv::CliOptions options;
    std::string error;
    switch (qv::ParseCli(static_cast<int>(arguments.size()), pointers.data(), options, error)) {
    case qv::CliParse::Help:
        std::fputs(qv::kUsage, stdout);
        return 0;
    case qv::CliParse::Error:
        return UsageError(error);
    case qv::CliParse::Run:
        break;
    }
    const int lang = options.languageIndex;
    qv::ConsoleUi ui;
    if (options.listDevices)
        return qv::ListDevices(ui, options.playOptions.driver);
    if (options.play && !qv::kPlaybackBuilt)
        return qv::PlaybackNotBuilt();

    qv::ParamSet set(lang);
    const qv::OpenParamEnvironment openEnv{
        .ui = ui,
        .appTitle = qv::kAppTitle,
        .fileExists = qv::FileExists,
        .openIni = [](const std::string& p) { return qv::OpenIniFile(p); },
        .reregisterUserWave = {}};
    std::vector<qv::FileValue> fileValues;
    if (!options.paramFile.empty()) {
        if (!qv::LoadParamSet(options.paramFile, set, openEnv))
            return 1;
        fileValues = qv::FileValues(*qv::OpenIniFile(options.paramFile));
    }
    std::vector<const qv::ParamKey*> setKeys;
    for (const std::string& s : options.sets) {
        const qv::ParamKey* key = nullptr;
        if (!qv::ApplySetOption(set.texts, s, error, &key))
            return UsageError(error);
        setKeys.push_back(key);
    }
    if (!ReportValues(qv::CheckGivenValues(set.texts, options.paramFile, fileValues, setKeys)))
        return 2;
    qv::ValidateFilterTexts(set);

    qv::Generator generator;
    generator.ui = &ui;
    // The transform library is linked in: the renderer needs no DLL beside it.
    static const qv::FftApi fft = qv::DirectFftApi();
    generator.AttachFft(&fft);
    qv::MainControls controls(generator, lang);
    controls.ApplyParamTable(set);
    if (!RegisterWaves(generator, ui, lang, options.allowMissingWaves))
        return 1;
    // A --set of the filter size or rate moves the file's points onto the new grid.
    qv::RescalePoints(generator.filterDesign, static_cast<int32_t>(generator.filterSize),
                      generator.format.sampleRate, true);
    if (!options.filterFile.empty() && !ReadFilter(generator, ui, lang, options.filterFile))
        return 1;
    if (options.play)
        return qv::PlayGenerator(generator, controls, ui, options.playOptions);

    const qv::NoKeysDown noKeys;
    const qv::CtrlHeld ctrlHeld;
    const qv::InterruptibleKeys keys(
        options.oversampled ? static_cast<const qv::KeyState&>(ctrlHeld) : noKeys);
    qv::CatchInterrupts();
    qv::ProgressBar progress;
    const qv::WriteEnvironment env{
        .ui = ui,
        .keys = keys,
        .languageIndex = lang,
        .appTitle = qv::kAppTitle,
        .progress = [&](uint64_t position,
                        uint64_t maximum) { progress.Update(position, maximum); },
        .afterBlock = {}};
    std::string remembered = options.output;
    const int result = qv::HasExtension(options.output, "QVT")
                           ? qv::RunTextWrite(generator, remembered, env)
                           : qv::RunWaveWrite(generator, remembered, env);
    progress.Finish();
    if (result == 0 && qv::InterruptSignal() != 0)
        return 128 + qv::InterruptSignal();
    return result == 0 ? 0 : 1;
}
