// Opening a parameter file as the Load command, a dropped file or the command line does:
// checks, load, apply, the user waveforms of the masters, the caption and remembered names.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace qv {

class Generator;
class IniFile;
class MainControls;
class Ui;

struct OpenParamEnvironment {
    Ui& ui;
    std::string appTitle = "Quorvale";
    std::function<bool(const std::string& path)> fileExists;
    std::function<std::unique_ptr<IniFile>(const std::string& path)> openIni;
    // Shows the user-wave registration for a master (0 or 4) that plays a user wave from path.
    std::function<void(int master, const std::string& path)> reregisterUserWave;
};

// What an open changes besides the parameters.
struct OpenedNames {
    std::string caption;      // "Quorvale - base"
    std::string lastWaveFile; // base + ".WAV"
    std::string lastTextFile; // base + ".QVT"
};

// False (after the message) when the name does not end in ".QV" or the file does not exist.
bool CheckParamFilePath(const std::string& path, int languageIndex,
                        const OpenParamEnvironment& env);

// CheckParamFilePath, then the file loaded and applied, the user waves re-registered or
// released, and the names derived from the file's.
bool OpenParamFile(const std::string& path, Generator& generator, MainControls& controls,
                   const OpenParamEnvironment& env, OpenedNames& names);

// At start: when programDirectory holds no INIT.QV, saves the current set-up there as the
// factory set-up and puts the notice into the comment box; true when it did.
bool CreateInitParamFile(const std::string& programDirectory, MainControls& controls,
                         const OpenParamEnvironment& env);

// The file name without folder and without its last extension.
std::string BaseName(const std::string& path);

} // namespace qv
