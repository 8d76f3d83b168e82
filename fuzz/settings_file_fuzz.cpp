// Arbitrary bytes as QV.INI: read with every selector, written back and read again.
#include "files/ini_file.h"
#include "files/settings_file.h"
#include "fuzz_ui.h"
#include "platform/ui.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace qv;
    IniDocument ini(std::string(reinterpret_cast<const char*>(data), size));
    fuzz::CountingUi ui;
    SettingsEnvironment env;
    env.programDirectory = "C:\\Quorvale\\";
    env.canListFiles = [](const std::string& dir) { return dir.size() % 2 == 0; };
    env.systemIsJapanese = size % 2 == 1;
    env.ui = &ui;
    AppSettings s;
    for (SettingsPart part : {SettingsPart::PosX, SettingsPart::PosY, SettingsPart::Height})
        ReadSettings(ini, s, part, env);
    ReadSettings(ini, s, SettingsPart::All, env);
    if (s.lastDirectory.empty() || s.lastDirectory.back() != '\\')
        std::abort();
    if (ui.messages > 9) // at most one message per colour key
        std::abort();
    IniDocument out("");
    WriteSettings(out, s);
    AppSettings back;
    fuzz::CountingUi quiet;
    env.ui = &quiet;
    ReadSettings(out, back, SettingsPart::All, env);
    // Written numbers read back as themselves (texts may lose blanks at their ends, as the
    // private-profile routines trim them).
    if (quiet.messages != 0 || back.backColor != s.backColor || back.wasLatency != s.wasLatency ||
        back.version != 1.5)
        std::abort();
    return 0;
}
