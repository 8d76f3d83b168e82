// Opening a parameter file as the Load command, a dropped file or the command line does:
// checks, load, apply, the user waveforms of the masters, the caption and remembered names;
// and saving the current set as the Save command does.
#pragma once

#include "platform/app_title.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

namespace qv {

class Generator;
class IniFile;
struct ParamSet;
class MainControls;
class Ui;

struct OpenParamEnvironment {
    Ui& ui;
    std::string appTitle = kAppTitle;
    std::function<bool(const std::string& path)> fileExists;
    std::function<std::unique_ptr<IniFile>(const std::string& path)> openIni;
    // Registers the user wave of a master (0 or 4) from path again (the program shows the
    // user-wave registration for it); true when it loaded.
    std::function<bool(int master, const std::string& path)> reregisterUserWave;
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

// CheckParamFilePath, then the file read into set (in the set's language), with the message
// of a refused filter point table.
bool LoadParamSet(const std::string& path, ParamSet& set, const OpenParamEnvironment& env);

// What became of a master's user wave after a set was applied.
enum class UserWaveStatus {
    NotUsed,    // the master plays something else: its wave is released, its path cleared
    Registered, // loaded from its path
    Failed,     // its path did not load (the loader has said why)
    NoFile,     // the user wave is chosen but no file is named: it plays nothing
};

// The user waves of Wave1 and Wave5 registered again through reg, or released.
[[nodiscard]] std::array<UserWaveStatus, 2>
RegisterUserWaves(Generator& generator, const std::function<bool(int, const std::string&)>& reg);

// LoadParamSet, the set applied, the user waves registered again or released, and the names
// derived from the file's.
bool OpenParamFile(const std::string& path, Generator& generator, MainControls& controls,
                   const OpenParamEnvironment& env, OpenedNames& names);

// Saves the current set with the comment box's text and derives the names from the file's (no
// extension check on save). False after "Unable to write file." when a key cannot be written.
bool SaveParamSet(const std::string& path, const MainControls& controls,
                  const OpenParamEnvironment& env, OpenedNames& names);

// At start: when programDirectory holds no INIT.QV, saves the current set-up there as the
// factory set-up and puts the notice into the comment box; true when it did.
bool CreateInitParamFile(const std::string& programDirectory, MainControls& controls,
                         const OpenParamEnvironment& env);

// The file name without folder and without its last extension.
std::string BaseName(const std::string& path);

} // namespace qv
