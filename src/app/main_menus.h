// The main window's popup menus as tables built from the controls model: the unit labels', the
// frequency field's (FFT fit and sample count, multiples of the master), the sweep box's and the
// modulation box's. Texts in the window's language; choosing an item runs the model's handler.
#pragma once

#include "platform/menu_item.h"

namespace qv {

class MainControls;

Menu FreqUnitMenu(MainControls& controls, int slot);
Menu LevelUnitMenu(MainControls& controls, int slot, bool amplitude);
// Empty outside unit Hz, where the field has no menu.
Menu FreqMenu(MainControls& controls, int slot);
// Empty while the sweep box is disabled; the frequency and phase items only for a periodic
// waveform.
Menu SweepMenu(MainControls& controls, int master);
// Empty while the modulation box is disabled; Wave1 also chooses its modulating signal.
Menu ModulationMenu(MainControls& controls, int master);

} // namespace qv
