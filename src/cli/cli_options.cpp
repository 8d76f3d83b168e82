#include "cli/cli_options.h"

#include "platform/language.h"

#include <cstdlib>

namespace qv {

const char kUsage[] =
    "usage: qvrender [PARAMFILE.QV] OUTPUT.wav|OUTPUT.QVT [--set Section.Key=Value ...]\n"
    "                [--lang en|ja] [--oversampled] [--allow-missing-waves]\n"
    "                [--filter FILTER.QVF]\n"
    "       qvrender [PARAMFILE.QV] --play [--driver TYPE] [--device N] [--ms M]\n"
#ifdef _WIN32
    "                [--restart-after M] [--latency M] [--wasapi-event on|off]\n"
    "                [--asio-channel C] [--set ...]\n"
#else
    "                [--restart-after M] [--latency M] [--set ...]\n"
#endif
    "       qvrender --list-devices [--driver TYPE]\n"
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
    "                           A value must be an item of its key's list (in the --lang\n"
    "                           language) or one number as the program reads it (decimal;\n"
    "                           a level in unit value or an up/down step also 0x hex);\n"
    "                           comments and file names are free text. A number the\n"
    "                           program limits is used as limited, with a warning. The\n"
    "                           parameter file is read as the program reads it, with a\n"
    "                           warning for each of its values that matches no item, is\n"
    "                           not a number or is limited\n"
    "  --lang en|ja             the interface language whose item texts the parameter file\n"
    "                           and --set values are matched in (default en; Japanese\n"
    "                           items are Shift-JIS bytes)\n"
    "  --oversampled            with the filter on and OverSampleRate above 1, write the WAV\n"
    "                           at the oversampled rate (the Write command with Ctrl held)\n"
    "  --filter FILTER.QVF      switch the filter on with the design of a filter file (as\n"
    "                           the filter editor opens it; a file drawn at another rate\n"
    "                           keeps its points' frequencies)\n"
    "  --allow-missing-waves    render a user wave that cannot be loaded as silence (after\n"
    "                           its message) instead of failing\n"
    "  --play                   play the set through a sound device instead (the Windows\n"
    "                           build, or a Linux build with PortAudio), as the Play button\n"
    "                           does: File.Length sets only a sweep's length; playback ends\n"
    "                           after --ms M milliseconds, at the end of a sweep, or when\n"
    "                           Enter (or, on Linux, Ctrl-C) is pressed\n"
#ifdef _WIN32
    "  --driver TYPE            the driver type: MME (the default), DirectSound, ASIO or\n"
    "                           WASAPI\n"
#else
    "  --driver TYPE            the driver type, one of PortAudio's host APIs: ALSA (the\n"
    "                           default), JACK, PulseAudio (also Pulse) or OSS\n"
#endif
#ifdef _WIN32
    "  --device N               the device list entry (default 0: MME's Wave Mapper,\n"
    "                           DirectSound's primary driver, the first ASIO driver or\n"
    "                           WASAPI endpoint)\n"
    "  --asio-channel C         ASIO: the driver output the stream's first channel goes to\n"
    "                           (default 0), as the device dialog's channel list\n"
#else
    "  --device N               the device list entry (default 0: the host API's default\n"
    "                           output)\n"
#endif
    "  --restart-after M        restart the stream once after M milliseconds of playing, as\n"
    "                           an edit while playing does (for test rigs)\n"
#ifdef _WIN32
    "  --wasapi-event on|off    WASAPI: event-driven (on, the program's default) or\n"
    "                           timer-driven buffering, as the device dialog's check box\n"
    "  --wasapi-latency M       WASAPI: the device buffer in milliseconds, 1 to 200 (default\n"
    "                           20), as the device dialog's latency\n"
    "  --latency M              the same\n"
#else
    "  --latency M              the suggested output latency, 1 to 200 ms (default: the\n"
    "                           device's default high latency)\n"
#endif
#ifdef _WIN32
    "  --list-devices           print the output devices of the driver type (default MME)\n"
    "                           with their device list entry numbers (ASIO: with each\n"
    "                           driver's output channels)\n"
#else
    "  --list-devices           print the output devices of the driver type (default ALSA)\n"
    "                           with their device list entry numbers\n"
#endif
    "  --help                   this text\n"
    "\n"
    "Exit status: 0 written (or played to a clean end), 1 the render, the write or the\n"
    "playback failed or a user wave could not be loaded (the message is printed), 2 bad\n"
    "arguments (an unknown key, a --set value that matches no item or is not a number:\n"
    "nothing is written) or playback not available, 128 + N when signal N (Ctrl-C: 2)\n"
    "stopped the write (the file then holds what was written, with a header that says so)\n"
    "or the playback.\n";

namespace {

CliParse Fail(std::string& error, std::string message) {
    error = std::move(message);
    return CliParse::Error;
}

} // namespace

CliParse ParseCli(int argc, char** argv, CliOptions& o, std::string& error) {
    std::vector<std::string> positional;
    bool playOption = false; // --device, --ms, --restart-after, --latency, --asio-channel or a
                             // --wasapi option
    bool driverOption = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            return CliParse::Help;
        } else if (arg == "--set" || arg == "--lang") {
            if (i + 1 >= argc)
                return Fail(error, arg + " needs a value");
            const std::string value = argv[++i];
            if (arg == "--set") {
                o.sets.push_back(value);
            } else if (value == "en" || value == "ja") {
                o.languageIndex = value == "en" ? kEnglish : kJapanese;
            } else {
                return Fail(error, "--lang takes en or ja");
            }
        } else if (arg == "--filter") {
            if (i + 1 >= argc)
                return Fail(error, arg + " needs a value");
            o.filterFile = argv[++i];
        } else if (arg == "--oversampled") {
            o.oversampled = true;
        } else if (arg == "--allow-missing-waves") {
            o.allowMissingWaves = true;
        } else if (arg == "--play") {
            o.play = true;
        } else if (arg == "--list-devices") {
            o.listDevices = true;
        } else if (arg == "--wasapi-event") {
            if (i + 1 >= argc)
                return Fail(error, arg + " needs a value");
            const std::string value = argv[++i];
            if (value != "on" && value != "off")
                return Fail(error, "--wasapi-event takes on or off");
            o.playOptions.wasEventMode = value == "on" ? 1 : 0;
            playOption = true;
        } else if (arg == "--driver" || arg == "--device" || arg == "--ms" ||
                   arg == "--restart-after" || arg == "--wasapi-latency" || arg == "--latency" ||
                   arg == "--asio-channel") {
            if (i + 1 >= argc)
                return Fail(error, arg + " needs a value");
            const std::string value = argv[++i];
            if (arg == "--driver") {
                driverOption = true;
                if (!DriverTypeFromName(value, o.playOptions.driver))
                    return Fail(error, "--driver takes " + DriverNameList());
                continue;
            }
            playOption = true;
            char* end = nullptr;
            const long long number = std::strtoll(value.c_str(), &end, 10);
            if (value.empty() || *end != '\0' || number < 0 || (arg == "--device" && number > 1000))
                return Fail(error, arg + " takes a number of 0 or more");
            if ((arg == "--wasapi-latency" || arg == "--latency") && (number < 1 || number > 200))
                return Fail(error, arg + " takes 1 to 200 milliseconds");
            if (arg == "--asio-channel" && number > 31)
                return Fail(error, "--asio-channel takes 0 to 31");
            if (arg == "--asio-channel")
                o.playOptions.asioChannel = static_cast<int>(number);
            else if (arg == "--wasapi-latency" || arg == "--latency")
                o.playOptions.wasLatencyMs = static_cast<int>(number);
            else if (arg == "--device")
                o.playOptions.deviceIndex = static_cast<int>(number);
            else if (arg == "--ms")
                o.playOptions.ms = static_cast<int64_t>(number);
            else
                o.playOptions.restartAfterMs = static_cast<int64_t>(number);
        } else if (arg.rfind("--set=", 0) == 0) {
            o.sets.push_back(arg.substr(6));
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            return Fail(error, "unknown option " + arg);
        } else if (positional.size() < 2) {
            positional.push_back(arg);
        } else {
            return Fail(error, "unexpected argument " + arg);
        }
    }
    if (o.listDevices && (o.play || playOption || !positional.empty() || !o.sets.empty()))
        return Fail(error, "--list-devices takes only --driver");
    if (o.listDevices)
        return CliParse::Run;
    if ((playOption || driverOption) && !o.play)
        return Fail(error, "--driver, --device, --ms, --restart-after, --latency, --asio-channel "
                           "and the --wasapi options go with --play");
    if (o.play && positional.size() > 1)
        return Fail(error, "--play takes no output file");
    if (positional.empty() && !o.play)
        return Fail(error, "no output file given");
    if (!o.play)
        o.output = positional.back();
    if (positional.size() == (o.play ? 1u : 2u))
        o.paramFile = positional.front();
    return CliParse::Run;
}

} // namespace qv
