#include "fftlib/fft_library.h"

#include "platform/ui.h"
#include "platform/win/text_conversion.h"

#include <windows.h>

#include <cstdio>

namespace qv {

bool LoadFftLibrary(const std::string& programDir, FftApi& api, Ui& ui,
                    const std::string& caption) {
    std::string path = programDir;
    if (!path.empty() && path.back() != '\\' && path.back() != '/')
        path += '\\';
    path += "KT54DLL.DLL";
    HMODULE library = LoadLibraryW(Utf8ToWide(path).c_str());
    char text[512];
    if (!library) {
        std::snprintf(text, sizeof text, "Unable to load 'KT54DLL.DLL'. \n\n  (LoadLibrary: %lu)",
                      static_cast<unsigned long>(GetLastError()));
        ui.Message(text, caption, MsgIcon::Warning, MsgButtons::Ok, false);
        return false;
    }
    const std::string missing = BindFftEntries(
        [library](const char* name) {
            return reinterpret_cast<void*>(GetProcAddress(library, name));
        },
        api);
    if (!missing.empty()) {
        const std::string message = "Unable to find DLL entry. \n " + missing +
                                    "\n\n (GetProcAddress: " + std::to_string(GetLastError()) + ")";
        ui.Message(message, caption, MsgIcon::Warning, MsgButtons::Ok, false);
        return false; // the library stays loaded for the life of the process
    }
    return true;
}

} // namespace qv
