#include "generator/user_wave_lists.h"

#include "generator/user_wave_set.h"

namespace qv {

namespace {

const UserWaveItem kStereo[] = {{"uL", kUserSelL},
                                {"uR", kUserSelR},
                                {"uL + uR", kUserSelLPlusR},
                                {"uL - uR", kUserSelLMinusR},
                                {"uR - uL", kUserSelRMinusL}};

std::vector<UserWaveItem> Channels(int channels) {
    if (channels <= 1)
        return {{"uL", kUserSelL}};
    if (channels == 2)
        return {std::begin(kStereo), std::end(kStereo)};
    std::vector<UserWaveItem> items;
    for (int k = 1; k <= channels && k <= 8; ++k)
        items.push_back({"u" + std::to_string(k) + "ch", 1 << (k - 1)});
    return items;
}

} // namespace

std::vector<UserWaveItem> ChannelSelectionItems(int channels) {
    std::vector<UserWaveItem> items{{"ALL", kUserSelAll}};
    if (channels >= 2) {
        const auto rest = Channels(channels);
        items.insert(items.end(), rest.begin(), rest.end());
    }
    return items;
}

std::vector<UserWaveItem> ModSignalItems(int channels) {
    return Channels(channels);
}

int32_t SelectionCode(const std::vector<UserWaveItem>& items, std::string_view text,
                      bool* fellBack) {
    if (fellBack)
        *fellBack = false;
    if (items.empty())
        return 0;
    for (const UserWaveItem& item : items) {
        if (item.text == text)
            return item.code;
    }
    if (fellBack)
        *fellBack = true;
    return items.front().code;
}

} // namespace qv
