// The channel-selection and modulation-signal lists of a user wave, by its channel count, with
// the code each item stands for.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

struct UserWaveItem {
    std::string text;
    int32_t code;
};

// "Channel sel.": "ALL" alone for one channel; "ALL", "uL", "uR", "uL + uR", "uL - uR",
// "uR - uL" for two; "ALL", "u1ch" ... "uCch" (codes 2^(k-1)) above.
std::vector<UserWaveItem> ChannelSelectionItems(int channels);
// "Wave1 Mod. signal" (Wave5): the same lists without "ALL"; "uL" for one channel.
std::vector<UserWaveItem> ModSignalItems(int channels);

// The code of text in items; first is true when the text is not there and the first item's code
// is taken. An empty list gives nothing (code 0, first false).
int32_t SelectionCode(const std::vector<UserWaveItem>& items, std::string_view text,
                      bool* fellBack = nullptr);

} // namespace qv
