// qvrender: renders a parameter set to a file exactly as the program's Write command does.
#include "app/apply_param_table.h"
#include "app/write_command.h"
#include "cli/console_ui.h"
#include "cli/progress_bar.h"
#include "cli/set_option.h"
#include "fftlib/fft_api.h"
#include "files/param_text_table.h"
#include "files/wave_writer.h"
#include "generator/generator.h"
#include "platform/key_state.h"
#include "platform/language.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char kUsage[] =
    "usage: qvrender OUTPUT.wav|OUTPUT.QVT [--set Section.Key=Value ...] [--lang en|ja]\n"
    "\n"
    "Renders a parameter set to a WAV file, byte for byte as the Write command of the\n"
    "program writes it; an output name ending in .QVT (any letter case) gives a text-format\n"
    "file instead, as the Write command with Shift held writes it. Without --set the default\n"
    "set is rendered: Wave1, a 1000 Hz sine at -10 dB on L+R, 44100 Hz, 16 bit, stereo,\n"
    "10 seconds.\n"
    "\n"
    "  --set Section.Key=Value  one key of the parameter file, with its own value texts, e.g.\n"
    "                           --set File.Length=2 --set Misc.SamplingFreq=48000\n"
    "                           --set Misc.BitLen=F32 --set Misc.Ch=4ch\n"
    "                           --set Wave2.Waveform=square --set Wave2.OutCh=ALL\n"
    "                           --set Wave2.Amp=50 --set Wave2.AmpUnit=percent\n"
    "  --lang en|ja             the interface language whose item texts --set values use\n"
    "                           (default en; Japanese items are Shift-JIS bytes)\n"
    "  --help                   this text\n"
    "\n"
    "Exit status: 0 written, 1 the render or the write failed (the message is printed),\n"
    "2 bad arguments.\n";

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
    std::string output;
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
        } else if (arg.rfind("--set=", 0) == 0) {
            sets.push_back(arg.substr(6));
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            return UsageError("unknown option " + arg);
        } else if (output.empty()) {
            output = arg;
        } else {
            return UsageError("unexpected argument " + arg);
        }
    }
    if (output.empty())
        return UsageError("no output file given");

    qv::ParamTextTable table(lang);
    for (const std::string& s : sets) {
        std::string error;
        if (!qv::ApplySetOption(table, s, error))
            return UsageError(error);
    }

    qv::ConsoleUi ui;
    qv::NoKeysDown keys;
    qv::ProgressBar progress;
    qv::Generator generator;
    generator.ui = &ui;
    // The transform library is linked in: the renderer needs no DLL beside it.
    static const qv::FftApi fft = qv::DirectFftApi();
    generator.noise.AttachFft(&fft);
    qv::ApplyParamTable(table, generator, lang);

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
    return result == 0 ? 0 : 1;
}
