#include "files/settings_file.h"

#include "files/ini_file.h"
#include "generator/number_text.h"
#include "platform/app_title.h"
#include "platform/language.h"
#include "platform/path_text.h"
#include "platform/ui.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <variant>
#include <vector>

namespace qv {

namespace {

struct Colour {
    uint32_t AppSettings::*field;
};
// A folder or file name: UTF-8 in memory, the file's own text in the file (path_text.h).
struct Path {
    std::string AppSettings::*field;
};
using Field = std::variant<int32_t AppSettings::*, bool AppSettings::*, double AppSettings::*,
                           std::string AppSettings::*, Colour, Path>;

struct SettingKey {
    const char* section;
    const char* key;
    Field field;
    double lo, hi;
    bool writtenBack;
};

constexpr double kColourMin = -2147483647.0, kColourMax = 2147483647.0;

// Every key in file order; the defaults are the values an AppSettings holds before reading.
const std::vector<SettingKey>& Keys() {
    using S = AppSettings;
    static const std::vector<SettingKey> keys = {
        {"Window", "PosX", &S::posX, 0, 5000, true},
        {"Window", "PosY", &S::posY, 0, 5000, true},
        {"Window", "Height", &S::height, 0, 5000, true},
        {"Window", "DispHelp", &S::dispHelp, 0, 1, true},
        {"FreqBarWindow", "PosX", &S::freqBarX, 0, 4000, true},
        {"FreqBarWindow", "PosY", &S::freqBarY, 0, 4000, true},
        {"FreqBarWindow", "Width", &S::freqBarWidth, 0, 2000, true},
        {"FilterConfigWindow", "PosX", &S::filterX, 0, 4000, true},
        {"FilterConfigWindow", "PosY", &S::filterY, 0, 4000, true},
        {"FilterConfigWindow", "Width", &S::filterWidth, 0, 2000, true},
        {"FilterConfigWindow", "Height", &S::filterHeight, 0, 2000, true},
        {"File", "Dir", Path{&S::lastDirectory}, 0, 0, true},
        {"File", "Name", Path{&S::lastWaveFile}, 0, 0, true},
        {"File", "Text", Path{&S::lastTextFile}, 0, 0, true},
        {"File", "FilterParam", Path{&S::filterParamFile}, 0, 0, true},
        {"Version", "Ver", &S::version, 0, 10, true},
        {"Diagram", "WaveXDispMagRate", &S::waveXMag, 1, 20, true},
        {"Diagram", "WaveYDispMagRate", &S::waveYMag, 1, 100, true},
        {"Diagram", "BackColor", Colour{&S::backColor}, kColourMin, kColourMax, true},
        {"Diagram", "DiagramBackColor", Colour{&S::diagramBackColor}, kColourMin, kColourMax, true},
        {"Diagram", "FrameColor", Colour{&S::frameColor}, kColourMin, kColourMax, true},
        {"Diagram", "ScaleColor", Colour{&S::scaleColor}, kColourMin, kColourMax, true},
        {"Diagram", "LineColor_L", Colour{&S::lineColorL}, kColourMin, kColourMax, true},
        {"Diagram", "LineColor_R", Colour{&S::lineColorR}, kColourMin, kColourMax, true},
        {"Diagram", "CharColor", Colour{&S::charColor}, kColourMin, kColourMax, true},
        {"Diagram", "FilterPointColor", Colour{&S::filterPointColor}, kColourMin, kColourMax, true},
        {"Diagram", "FilterResponseColor", Colour{&S::filterResponseColor}, kColourMin, kColourMax,
         true},
        {"Misc", "PlayDriverType", &S::playDriverType, 0, 3, true},
        {"Misc", "Use_WF_EXTENSIBLE", &S::useWfExtensible, 0, 1, true},
        {"Misc", "Use_WF_DIRECT", &S::useWfDirect, 0, 1, false},
        {"Misc", "PlayBuffer_ms", &S::playBufferMs, 10, 2000, false},
        {"Misc", "PlayDeviceNum", &S::playDeviceNum, 0, 30, true},
        {"Misc", "ASIO_PlayChNum", &S::asioPlayChNum, 0, 32, true},
        {"Misc", "PlayWithFullVol", &S::playWithFullVol, 0, 1, true},
        {"Misc", "DS_PlayLatency", &S::dsPlayLatency, 0, 200, false},
        {"Misc", "DS_RecLatency", &S::dsRecLatency, 0, 200, false},
        {"Misc", "WAS_Latency", &S::wasLatency, 1, 200, true},
        {"Misc", "WAS_EventMode", &S::wasEventMode, 0, 1, true},
        {"Special", "EnglishMode", &S::englishMode, 0, 2147483647, false},
        {"Special", "FileFontName", &S::fileFontName, 0, 0, false},
        {"Special", "FileFontCharset", &S::fileFontCharset, -1, 255, false},
        {"Special", "FileFontSize", &S::fileFontSize, -1000, 1000, false},
        {"Special", "PlayThreadPriority", &S::playThreadPriority, -2, 2, false},
    };
    return keys;
}

constexpr Text2 kMsgIllegalColour{
    "QV.INI 中に無効な16進数があったので\nデフォールト値として処理しました",
    "Illegal hex value found in QV.INI.\nIt has processed as default value."};

// The number a text begins with (after blanks, optional sign); 0 when there is none.
double LeadingValue(const std::string& text, bool integer) {
    return integer ? static_cast<double>(ReadInteger(text)) : ReadDecimal(text);
}

void ReadKey(const IniFile& ini, const SettingKey& k, AppSettings& s,
             const SettingsEnvironment& env) {
    const std::string text = ini.Read(k.section, k.key);
    if (text.empty())
        return; // the default stays
    std::visit(
        [&](auto&& f) {
            using F = std::decay_t<decltype(f)>;
            if constexpr (std::is_same_v<F, std::string AppSettings::*>) {
                s.*f = text;
            } else if constexpr (std::is_same_v<F, Path>) {
                s.*(f.field) = PathFromFileText(text);
            } else if constexpr (std::is_same_v<F, Colour>) {
                int64_t v = 0;
                if (!ParseColour(text, v)) {
                    if (env.ui) {
                        env.ui->Message(std::string(kMsgIllegalColour(env.messageLanguage)) +
                                            "\n\n " + text,
                                        env.appTitle, MsgIcon::Warning);
                    }
                } else if (v >= k.lo && v <= k.hi) {
                    s.*(f.field) = static_cast<uint32_t>(v);
                }
            } else {
                constexpr bool integer = !std::is_same_v<F, double AppSettings::*>;
                const double v = LeadingValue(text, integer);
                if (v < k.lo || v > k.hi)
                    return;
                if constexpr (std::is_same_v<F, bool AppSettings::*>)
                    s.*f = v != 0;
                else if constexpr (std::is_same_v<F, double AppSettings::*>)
                    s.*f = v;
                else
                    s.*f = static_cast<int32_t>(v);
            }
        },
        k.field);
}

std::string KeyText(const SettingKey& k, const AppSettings& s) {
    return std::visit(
        [&](auto&& f) -> std::string {
            using F = std::decay_t<decltype(f)>;
            if constexpr (std::is_same_v<F, std::string AppSettings::*>) {
                return (s.*f).substr(0, 99);
            } else if constexpr (std::is_same_v<F, Path>) {
                return PathToFileText(s.*(f.field)).substr(0, 99);
            } else if constexpr (std::is_same_v<F, Colour>) {
                char text[16];
                std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(s.*(f.field)));
                return text;
            } else if constexpr (std::is_same_v<F, bool AppSettings::*>) {
                return s.*f ? "1" : "0";
            } else if constexpr (std::is_same_v<F, double AppSettings::*>) {
                return FormatNumber15(s.*f);
            } else {
                return std::to_string(s.*f);
            }
        },
        k.field);
}

void EnsureTrailingBackslash(std::string& dir) {
    if (dir.empty() || dir.back() != '\\')
        dir += '\\';
}

} // namespace

bool ParseColour(const std::string& text, int64_t& value) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    int base = 10;
    if (text.compare(i, 2, "0x") == 0 || text.compare(i, 2, "0X") == 0) {
        base = 16, i += 2;
    } else if (i < text.size() && text[i] == '$') {
        base = 16, i += 1;
    }
    if (i >= text.size())
        return false;
    int64_t v = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int d = c >= '0' && c <= '9'   ? c - '0'
                : c >= 'a' && c <= 'f' ? c - 'a' + 10
                : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                       : 99;
        if (d >= base)
            return false;
        v = v * base + d;
        if (v > 0xFFFFFFFFLL)
            return false; // beyond 32 bits
    }
    // Hexadecimal text is a 32-bit pattern: 0xFFFFFFFB is -5, as the writer's "0x%08X" puts a
    // negative value, so that every value written reads back as itself.
    if (base == 16 && v > 0x7FFFFFFFLL)
        v -= 0x100000000LL;
    value = negative ? -v : v;
    return true;
}

int ReadSettings(const IniFile& ini, AppSettings& s, SettingsPart part,
                 const SettingsEnvironment& env) {
    if (part != SettingsPart::All) {
        const char* key = part == SettingsPart::PosX   ? "PosX"
                          : part == SettingsPart::PosY ? "PosY"
                                                       : "Height";
        for (const SettingKey& k : Keys()) {
            if (std::string_view(k.section) == "Window" && std::string_view(k.key) == key) {
                ReadKey(ini, k, s, env);
                return part == SettingsPart::PosX   ? s.posX
                       : part == SettingsPart::PosY ? s.posY
                                                    : s.height;
            }
        }
        return 0;
    }
    for (const SettingKey& k : Keys())
        ReadKey(ini, k, s, env);

    // No folder remembered is the program's (not the root its lone "\" would name).
    if (s.lastDirectory.empty())
        s.lastDirectory = env.programDirectory;
    EnsureTrailingBackslash(s.lastDirectory);
    if (!env.canListFiles || !env.canListFiles(s.lastDirectory))
        s.lastDirectory = env.programDirectory;
    if (s.dispHelp != -1 && (s.version == 0 || s.version < std::strtod(kProgramVersion, nullptr)))
        s.dispHelp = -2;
    s.languageIndex = kJapanese;
    if (s.englishMode != 0 && (!env.systemIsJapanese || s.englishMode > 0))
        s.languageIndex = kEnglish;
    return 0;
}

bool WriteSettings(IniFile& ini, AppSettings& s) {
    EnsureTrailingBackslash(s.lastDirectory);
    for (const SettingKey& k : Keys()) {
        if (!k.writtenBack)
            continue;
        const std::string text =
            std::string_view(k.key) == "Ver" ? std::string(kProgramVersion) : KeyText(k, s);
        if (!ini.Write(k.section, k.key, text))
            return false;
    }
    return true;
}

} // namespace qv
