// The settings file QV.INI: window places, remembered names, the version that wrote it, plot
// colours and zoom, the device choice and a few hand-edit-only settings.
#pragma once

#include "platform/app_title.h"

#include <cstdint>
#include <functional>
#include <string>

namespace qv {

class IniFile;
class Ui;

struct AppSettings {
    int32_t posX = 0, posY = 0, height = 0; // height default: set by the caller (frame metrics)
    int32_t dispHelp = -1;                  // -1 first start, -2 new version, 1 normal, 0 help off
    int32_t freqBarX = 0, freqBarY = 0, freqBarWidth = 0;
    int32_t filterX = 0, filterY = 0, filterWidth = 0, filterHeight = 0;
    // Folder and file names in UTF-8 (in the file: path_text.h).
    std::string lastDirectory; // default: the program directory
    std::string lastWaveFile = "WAVE.WAV";
    std::string lastTextFile = "TEXT.QVT";
    std::string filterParamFile = "FILTERPARAM.QVF";
    double version = 0;
    int32_t waveXMag = 4, waveYMag = 1;
    uint32_t backColor = 0, diagramBackColor = 0, frameColor = 0x2020D0, scaleColor = 0x202090,
             lineColorL = 0xFF00, lineColorR = 0xFF00FF, charColor = 0x40FF40,
             filterPointColor = 0x40FFFF, filterResponseColor = 0xC0C0C0;
    int32_t playDriverType = 0;
    bool useWfExtensible = false, useWfDirect = false;
    int32_t playBufferMs = 500;
    int32_t playDeviceNum = 0, asioPlayChNum = 0;
    bool playWithFullVol = false;
    int32_t dsPlayLatency = 0, dsRecLatency = 0, wasLatency = 20;
    bool wasEventMode = true;
    int32_t englishMode = -1;
    std::string fileFontName;
    int32_t fileFontCharset = -1, fileFontSize = 0;
    int32_t playThreadPriority = 2;
    int languageIndex = 0; // derived: 0 Japanese, 1 English
};

// What reading needs from its surroundings.
struct SettingsEnvironment {
    std::string programDirectory;                         // UTF-8, with a trailing backslash
    std::function<bool(const std::string&)> canListFiles; // Dir + "*.*" finds something
    bool systemIsJapanese = false;                        // user default language 0x0411
    Ui* ui = nullptr;                                     // for the bad-colour message
    std::string appTitle = kAppTitle;
    int messageLanguage = 1; // language of that message
};

// What ReadSettings reads.
enum class SettingsPart : int {
    All = 0,    // every key, with the after-read rules; returns 0
    PosX = 1,   // only the window's PosX, returned
    PosY = 2,   // only PosY
    Height = 4, // only Height
};

int ReadSettings(const IniFile& ini, AppSettings& settings, SettingsPart part,
                 const SettingsEnvironment& env);

// Writes the keys that are written back, in table order; false at the first key that cannot be
// written. A missing trailing backslash is added to lastDirectory first.
bool WriteSettings(IniFile& ini, AppSettings& settings);

// A colour text: decimal, or hexadecimal after "0x" or "$", as a whole; nothing on failure.
bool ParseColour(const std::string& text, int64_t& value);

} // namespace qv
