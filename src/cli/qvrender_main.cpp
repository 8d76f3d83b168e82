// qvrender: renders a parameter set to a file exactly as the program's Write command does, or
// (Windows build) plays it through a sound device.
#include "app/main_controls.h"
#include "app/open_param_file.h"
#include "app/user_wave_loader.h"
#include "app/write_command.h"
#include "cli/console_ui.h"
#include "cli/interrupt.h"
#include "cli/play_mode.h"
#include "cli/progress_bar.h"
#include "cli/set_option.h"
#include "fftlib/fft_api.h"
#include "files/ini_file.h"
#include "files/param_file.h"
#include "files/wave_writer.h"
#include "generator/generator.h"
#include "platform/key_state.h"
#include "platform/language.h"

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const char kUsage[] =
    "usage: qvrender [PARAMFILE.QV] OUTPUT.wav|OUTPUT.QVT [--set Section.Key=Value ...]\n"
    "                [--lang en|ja] [--oversampled] [--allow-missing-waves]\n"
    "       qvrender [PARAMFILE.QV] --play [--driver MME] [--device N] [--ms M]\n"
    "                [--restart-after M] [--set ...]\n"
    "       qvrender --list-devices [--driver MME]\n"
    "\n"
    "Renders a parameter set to a WAV file, byte for byte as the Write command of the\n"
    "program writes it; an output name ending in .QVT (any letter case) gives a text-format\n"
    "file instead, as the Write command with Shift held writes it. The set is the parameter\n"
    "file given (length from its File.Length, its filter and user waves included), or else the\n"
    "default set: Wave1, a 1000 Hz sine at -10 dB on L+R, 44100 Hz, 16 bit, stereo, 10 s.\n"
    "\n"
    "  --set Section.Key=Value  one key of the parameter file, with its own value texts, e.g.\n"
    "                           --set File.Length=2 --set Misc.SamplingFreq=48000\n"
    "                           --set Misc.BitLen=F32 --set Misc.Ch=4ch\n"
    "                           --set Wave2.Waveform=square --set Wave2.OutCh=ALL\n"
    "                           --set Wave2.Amp=50 --set Wave2.AmpUnit=percent\n"
    "  --lang en|ja             the interface language whose item texts the parameter file\n"
    "                           and --set values are matched in (default en; Japanese\n"
    "                           items are Shift-JIS bytes)\n"
    "  --oversampled            with the filter on and OverSampleRate above 1, write the WAV\n"
    "                           at the oversampled rate (the Write command with Ctrl held)\n"
    "  --allow-missing-waves    render a user wave that cannot be loaded as silence (after\n"
    "                           its message) instead of failing\n"
    "  --play                   play the set through a sound device instead (Windows build),\n"
    "                           as the Play button does: File.Length sets only a sweep's\n"
    "                           length; playback ends after --ms M milliseconds, at the end\n"
    "                           of a sweep, or when Enter is pressed\n"
    "  --driver MME             the driver type: MME, DirectSound, ASIO or WASAPI (this\n"
    "                           version plays through MME; the others say why they cannot)\n"
    "  --device N               the device list entry (default 0, the Wave Mapper)\n"
    "  --restart-after M        restart the stream once after M milliseconds of playing, as\n"
    "                           an edit while playing does (for test rigs)\n"
    "  --list-devices           print the output devices of the driver type (default MME)\n"
    "                           with their device list entry numbers\n"
    "  --help                   this text\n"
    "\n"
    "Exit status: 0 written (or played to a clean end), 1 the render, the write or the\n"
    "playback failed or a user wave could not be loaded (the message is printed), 2 bad\n"
    "arguments or playback not available, 128 + N when signal N (Ctrl-C: 2) stopped the\n"
    "write: the file then holds what was written, with a header that says so.\n";

int UsageError(const std::string& message) {
    std::fprintf(stderr, "qvrender: %s\n\n%s", message.c_str(), kUsage);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
#ifdef SIGXFSZ
    // Past a file-size limit a write must fail and be reported, not kill the process.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    std::vector<std::string> sets;
    std::vector<std::string> positional;
    bool oversampled = false;
    bool allowMissingWaves = false;
    bool play = false;
    bool listDevices = false;
    bool playOption = false; // --device, --ms or --restart-after given
    bool driverOption = false;
    qv::PlayOptions playOptions;
    int lang = qv::kEnglish;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--set" || arg == "--lang") {
            if (i + 1 >= argc)
                return UsageError(arg + " needs a value");
            const std::string value = argv[++i];
            if (arg == "--set") {
                sets.push_back(value);
            } else if (value == "en" || value == "ja") {
                lang = value == "en" ? qv::kEnglish : qv::kJapanese;
            } else {
                return UsageError("--lang takes en or ja");
            }
        } else if (arg == "--oversampled") {
            oversampled = true;
        } else if (arg == "--allow-missing-waves") {
            allowMissingWaves = true;
        } else if (arg == "--play") {
            play = true;
        } else if (arg == "--list-devices") {
            listDevices = true;
        } else if (arg == "--driver" || arg == "--device" || arg == "--ms" ||
                   arg == "--restart-after") {
            if (i + 1 >= argc)
                return UsageError(arg + " needs a value");
            const std::string value = argv[++i];
            if (arg == "--driver")
                driverOption = true;
            else
                playOption = true;
            if (arg == "--driver") {
                if (!qv::DriverTypeFromName(value, playOptions.driver))
                    return UsageError("--driver takes MME, DirectSound, ASIO or WASAPI");
            } else {
                char* end = nullptr;
                const long long number = std::strtoll(value.c_str(), &end, 10);
                if (value.empty() || *end != '\0' || number < 0 ||
                    (arg == "--device" && number > 1000))
                    return UsageError(arg + " takes a number of 0 or more");
                if (arg == "--device")
                    playOptions.deviceIndex = static_cast<int>(number);
                else if (arg == "--ms")
                    playOptions.ms = static_cast<int64_t>(number);
                else
                    playOptions.restartAfterMs = static_cast<int64_t>(number);
            }
        } else if (arg.rfind("--set=", 0) == 0) {
            sets.push_back(arg.substr(6));
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            return UsageError("unknown option " + arg);
        } else if (positional.size() < 2) {
            positional.push_back(arg);
        } else {
            return UsageError("unexpected argument " + arg);
        }
    }
    if (listDevices && (play || playOption || !positional.empty() || !sets.empty()))
        return UsageError("--list-devices takes only --driver");
    if (listDevices) {
        qv::ConsoleUi listUi;
        return qv::ListDevices(listUi, playOptions.driver);
    }
    if ((playOption || driverOption) && !play)
        return UsageError("--driver, --device, --ms and --restart-after go with --play");
    if (play && !qv::kPlaybackBuilt)
        return qv::PlaybackNotBuilt();
    if (play && positional.size() > 1)
        return UsageError("--play takes no output file");
    if (positional.empty() && !play)
        return UsageError("no output file given");
    const std::string output = play ? std::string() : positional.back();

    qv::ConsoleUi ui;
    qv::ParamSet set(lang);
    if (positional.size() == (play ? 1u : 2u)) {
        const std::string& paramFile = positional.front();
        const qv::OpenParamEnvironment openEnv{
            .ui = ui,
            .appTitle = "Quorvale",
            .fileExists = [](const std::string& p) { return std::filesystem::is_regular_file(p); },
            .openIni = [](const std::string& p) { return qv::OpenIniFile(p); },
            .reregisterUserWave = {}};
        if (!qv::CheckParamFilePath(paramFile, lang, openEnv))
            return 1;
        qv::LoadParamFile(*qv::OpenIniFile(paramFile), set);
        qv::ReportInvalidFilterPoints(set, paramFile, ui, lang, "Quorvale");
    }
    for (const std::string& s : sets) {
        std::string error;
        if (!qv::ApplySetOption(set.texts, s, error))
            return UsageError(error);
    }
    qv::ValidateFilterTexts(set);

    qv::ProgressBar progress;
    qv::Generator generator;
    generator.ui = &ui;
    // The transform library is linked in: the renderer needs no DLL beside it.
    static const qv::FftApi fft = qv::DirectFftApi();
    generator.AttachFft(&fft);
    qv::MainControls controls(generator, lang);
    controls.ApplyParamTable(set);
    const qv::NoKeysDown noKeys;
    // The user waves named in the set are registered as opening the file in the program does.
    const qv::UserWaveLoadEnvironment waveEnv{
        .ui = ui, .keys = noKeys, .languageIndex = lang, .appTitle = "Quorvale", .progress = {}};
    bool wavesMissing = false;
    for (int m : {0, 4}) {
        qv::UserWaveSet& wave = generator.userWaves[m / 4];
        if (generator.slots[m].waveform != qv::kUserWave) {
            qv::ClearUserWave(wave);
        } else if (wave.userWavePath.empty()) {
            qv::ClearUserWave(wave);
            ui.Message(std::string("Wave") + (m == 0 ? "1" : "5") + ": " +
                           qv::kUserWaveNotRegistered(lang),
                       "Quorvale", qv::MsgIcon::Warning, qv::MsgButtons::Ok, true);
            wavesMissing = true;
        } else if (!qv::RegisterUserWave(wave, m == 4, -1, waveEnv)) {
            wavesMissing = true;
        }
    }
    // A user wave that did not load would play as silence: a script gets a failure instead,
    // unless it asked for the silence.
    if (wavesMissing && !allowMissingWaves)
        return 1;
    // A --set of the filter size or rate moves the file's points onto the new grid.
    qv::RescalePoints(generator.filterDesign, static_cast<int32_t>(generator.filterSize),
                      generator.format.sampleRate, true);
    if (play)
        return qv::PlayGenerator(generator, ui, playOptions);
    const qv::CtrlHeld ctrlHeld;
    const qv::InterruptibleKeys keys(oversampled ? static_cast<const qv::KeyState&>(ctrlHeld)
                                                 : noKeys);
    qv::CatchInterrupts();

    const qv::WriteEnvironment env{
        .ui = ui,
        .keys = keys,
        .languageIndex = lang,
        .appTitle = "Quorvale",
        .progress = [&](uint64_t position,
                        uint64_t maximum) { progress.Update(position, maximum); },
        .afterBlock = {}};
    std::string remembered = output;
    const int result = qv::HasExtension(output, "QVT")
                           ? qv::RunTextWrite(generator, remembered, env)
                           : qv::RunWaveWrite(generator, remembered, env);
    progress.Finish();
    if (result == 0 && qv::InterruptSignal() != 0)
        return 128 + qv::InterruptSignal();
    return result == 0 ? 0 : 1;
}
