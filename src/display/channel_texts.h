// The texts of the display's per-channel controls: the level meters and the channel pairs the
// trace can show.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// A meter's text for a block's extremes: "-----" for silence, else the peak in dB re levelRef
// rounded to tenths, right-aligned in four characters (" 0.0", "-6.0", "-90.0").
std::string MeterText(int32_t peakMax, int32_t peakMin, double levelRef);

// Every display-channel item there is.
inline constexpr const char* kDisplayChannelPairs[] = {"Lch + Rch", "1ch + 2ch", "2ch + 3ch",
                                                       "3ch + 4ch", "4ch + 5ch", "5ch + 6ch",
                                                       "6ch + 7ch", "7ch + 8ch"};

// The display-channel items: "Lch + Rch" below three channels, else "1ch + 2ch" ... up to the
// last pair.
std::vector<std::string> DisplayChannelItems(int channels);

} // namespace qv
