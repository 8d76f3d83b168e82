// Loading KT54DLL.DLL from the program's directory (UTF-8) and binding its exports (Windows
// program).
#pragma once

#include "fftlib/fft_api.h"

#include <string>

namespace qv {

class Ui;

// On failure shows "Unable to load 'KT54DLL.DLL'. …" or "Unable to find DLL entry. …" (no
// owner window, the given caption) and returns false.
bool LoadFftLibrary(const std::string& programDir, FftApi& api, Ui& ui, const std::string& caption);

} // namespace qv
