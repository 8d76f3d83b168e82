#include "generator/item_lists.h"

#include "platform/language.h"

namespace qv {

namespace {

const char* const kWaveformJa[] = {
    "OFF",
    "\xBB\xB2\xDD\x94g",                // ｻｲﾝ波
    "\x8B\xE9\x8C`\x94g",               // 矩形波
    "\x8EO\x8Ap\x94g",                  // 三角波
    "\xC9\xBA\xB7\xDE\xD8\x94g",        // ﾉｺｷﾞﾘ波
    "\xCA\xDF\xD9\xBD",                 // ﾊﾟﾙｽ
    "\xCA\xDF\xD9\xBD(+-)",             // ﾊﾟﾙｽ(+-)
    "\xCE\xDC\xB2\xC4\xC9\xB2\xBD\xDE", // ﾎﾜｲﾄﾉｲｽﾞ
    "\xCB\xDF\xDD\xB8\xC9\xB2\xBD\xDE", // ﾋﾟﾝｸﾉｲｽﾞ
    "M\x8Cn\x97\xF1\xC9\xB2\xBD\xDE",   // M系列ﾉｲｽﾞ
    "\xD5\xB0\xBB\xDE\xB0\x94g\x8C`",   // ﾕｰｻﾞｰ波形
};
const char* const kWaveformEn[] = {"OFF",        "sine",  "square",    "triangle",
                                   "sawtooth",   "pulse", "pulse(+-)", "white noise",
                                   "pink noise", "MLS",   "user wave"};
const char* const kBandLimitJa[] = {"\x82\xC8\x82\xB5" /* なし */, "\x89\xC1\x8EZ" /* 加算 */,
                                    "BLIT"};
const char* const kBandLimitEn[] = {"None", "Add.", "BLIT"};
const char* const kBitLen[] = {"8", "16", "24", "32", "F32"};
const char* const kChannelCount[] = {"Mono", "Stereo", "3ch", "4ch", "5ch", "6ch", "7ch", "8ch"};
const char* const kFreqUnits[] = {"Hz", "Samples"};
const char* const kLevelUnits[] = {"dB", "value", "percent"};

} // namespace

std::span<const char* const> WaveformItems(int languageIndex) {
    return languageIndex == kJapanese ? std::span<const char* const>(kWaveformJa)
                                      : std::span<const char* const>(kWaveformEn);
}

std::span<const char* const> BandLimitItems(int languageIndex) {
    return languageIndex == kJapanese ? std::span<const char* const>(kBandLimitJa)
                                      : std::span<const char* const>(kBandLimitEn);
}

std::span<const char* const> BitLenItems() {
    return kBitLen;
}
std::span<const char* const> ChannelCountItems() {
    return kChannelCount;
}
std::span<const char* const> FreqUnitKeywords() {
    return kFreqUnits;
}
std::span<const char* const> LevelUnitKeywords() {
    return kLevelUnits;
}

std::vector<OutChItem> OutChItems(int channels) {
    if (channels <= 2)
        return {{"OFF", 0}, {"L+R", 3}, {"L", 1}, {"R", 2}};
    std::vector<OutChItem> items{{"OFF", 0}, {"ALL", 255}};
    for (int c = 1; c <= channels && c <= 8; ++c) {
        items.push_back({std::to_string(c) + "ch", 1u << (c - 1)});
    }
    return items;
}

int FindItem(std::span<const char* const> items, std::string_view text) {
    for (size_t i = 0; i < items.size(); ++i) {
        if (text == items[i])
            return static_cast<int>(i);
    }
    return 0;
}

} // namespace qv
