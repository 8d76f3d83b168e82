// The font of the program's windows.
#pragma once

#include <windows.h>

namespace qv {

// The font the windows are laid out for, a 6 x 12 pixel cell at 96 DPI: the Japanese interface
// takes the system's UI Gothic, the English one a fixed-pitch face of that cell (the first one
// installed of a short list).
HFONT CreateUiFont(int languageIndex, UINT dpi);
// The same font as base at another DPI.
HFONT ScaledFont(HFONT base, UINT fromDpi, UINT toDpi);

} // namespace qv
