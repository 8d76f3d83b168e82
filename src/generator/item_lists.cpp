#include "generator/item_lists.h"

#include "generator/number_text.h"
#include "generator/wave_slot.h"
#include "platform/ascii.h"
#include "platform/language.h"

#include <array>

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
const char* const kFreqHz[] = {"10",    "12.5",  "16",    "20",    "25",    "31.5",  "40",
                               "50",    "63",    "80",    "100",   "125",   "160",   "200",
                               "250",   "315",   "400",   "500",   "630",   "800",   "1000",
                               "1250",  "1600",  "2000",  "2500",  "3150",  "4000",  "5000",
                               "6300",  "8000",  "10000", "12500", "16000", "20000", "25000",
                               "31500", "40000", "50000", "63000", "80000", "100000"};
const char* const kFreqSamples[] = {"131072", "65536", "32768", "16384", "8192", "4096", "2048",
                                    "1024",   "512",   "256",   "128",   "64",   "32",   "16",
                                    "8",      "4",     "2",     "2205",  "882",  "441",  "220",
                                    "88",     "44",    "22",    "10",    "5",    "3"};
const char* const kLevelDb[] = {"0",   "-3",  "-6",  "-10", "-15", "-16", "-18",
                                "-20", "-30", "-40", "-60", "-80", "-90"};
const char* const kLevelValue[] = {"32767",  "23197",  "0x3FFF", "10362",  "0x1FFF", "0x0FFF",
                                   "3276.7", "327.67", "32.767", "3.2767", "1",      "0"};
const char* const kLevelPercent[] = {"100", "70", "50",  "30",   "25",      "20",
                                     "10",  "1",  "0.1", "0.01", "0.00305", "0"};
const char* const kDelay[] = {"0", "1", "2", "5", "10", "20", "50", "100"};
const char* const kPhase[] = {"0", "45", "90", "135", "180", "225", "270", "315"};
const char* const kGateOn[] = {"0", "1", "2", "4", "8", "10", "20", "100"};
const char* const kGateOff[] = {"0", "1", "2", "4", "8", "12", "24", "100", "190", "480", "1900"};

} // namespace

std::span<const char* const> WaveformItems(int languageIndex) {
    return languageIndex == kJapanese ? std::span<const char* const>(kWaveformJa)
                                      : std::span<const char* const>(kWaveformEn);
}

std::span<const char* const> SlotWaveformItems(int slotIndex, int languageIndex) {
    const auto all = WaveformItems(languageIndex);
    return IsMaster(slotIndex) ? all : all.first(10);
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
std::span<const char* const> SampleRateItems() {
    static const char* const items[] = {"11025", "22050",  "32000",  "44100",  "48000", "88200",
                                        "96000", "176400", "192000", "352800", "384000"};
    return items;
}
std::span<const char* const> FileLengthItems() {
    static const char* const items[] = {"0.1", "0.5", "1",  "2",   "5",   "10",
                                        "20",  "30",  "60", "120", "300", "600"};
    return items;
}
std::span<const char* const> FreqUnitKeywords() {
    return kFreqUnits;
}
std::span<const char* const> LevelUnitKeywords() {
    return kLevelUnits;
}
std::span<const char* const> SweepPhaseKeywords() {
    static const char* const words[] = {"Off", "Up", "Down"};
    return words;
}
std::span<const char* const> SweepStepKeywords() {
    static const char* const words[] = {"Smooth", "1", "2", "3", "4"};
    return words;
}
std::span<const char* const> ModulationKeywords() {
    static const char* const words[] = {"AM", "DSB", "FM", "PM", "PWM"};
    return words;
}
std::span<const char* const> ModulatingSignalKeywords() {
    static const char* const words[] = {"3", "5"};
    return words;
}
std::span<const char* const> FilterOnKeywords() {
    static const char* const words[] = {"Off", "On"};
    return words;
}
std::span<const char* const> StepTypeKeywords() {
    static const char* const words[] = {"value", "percent"};
    return words;
}
std::span<const char* const> SyncTypeKeywords() {
    static const char* const words[] = {"ratio", "diff"};
    return words;
}

uint32_t SweepStepRate(std::string_view text) {
    const long long step = ReadInteger(text);
    return step >= 1 && step <= 4 ? static_cast<uint32_t>(step) : kSmoothSweep;
}

std::span<const char* const> FreqItems(int freqUnit) {
    return freqUnit == 1 ? std::span<const char* const>(kFreqSamples)
                         : std::span<const char* const>(kFreqHz);
}

std::span<const char* const> LevelItems(int levelUnit) {
    switch (levelUnit) {
    case 1:
        return kLevelValue;
    case 2:
        return kLevelPercent;
    default:
        return kLevelDb;
    }
}

const char* FreqUnitLabel(int freqUnit) {
    return freqUnit == 1 ? "Sa" : "Hz";
}

const char* LevelUnitLabel(int levelUnit, int languageIndex) {
    switch (levelUnit) {
    case 1:
        return languageIndex == kJapanese ? "\x92\x6C" /* 値 */ : "val";
    case 2:
        return "%";
    default:
        return "dB";
    }
}

std::span<const char* const> DelayItems() {
    return kDelay;
}
std::span<const char* const> PhaseItems() {
    return kPhase;
}
std::span<const char* const> GateOnItems() {
    return kGateOn;
}
std::span<const char* const> GateOffItems() {
    return kGateOff;
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

int MatchItem(std::span<const char* const> items, std::string_view text) {
    for (size_t i = 0; i < items.size(); ++i) {
        if (text == items[i])
            return static_cast<int>(i);
    }
    return -1;
}

int MatchItemNoCase(std::span<const char* const> items, std::string_view text) {
    for (size_t i = 0; i < items.size(); ++i) {
        if (AsciiEqualNoCase(text, items[i]))
            return static_cast<int>(i);
    }
    return -1;
}

int FindItem(std::span<const char* const> items, std::string_view text) {
    const int i = MatchItem(items, text);
    return i < 0 ? 0 : i;
}

std::span<const char* const> OutChTexts(int channels) {
    constexpr int kMaxOutChannels = 8;
    static const auto tables = [] {
        struct Table {
            std::vector<std::string> texts;
            std::vector<const char*> pointers;
        };
        std::array<Table, kMaxOutChannels + 1> t;
        for (int c = 1; c <= kMaxOutChannels; ++c) {
            for (const OutChItem& item : OutChItems(c))
                t[c].texts.push_back(item.text);
            for (const std::string& text : t[c].texts)
                t[c].pointers.push_back(text.c_str());
        }
        return t;
    }();
    const int c = channels < 1 ? 1 : channels > kMaxOutChannels ? kMaxOutChannels : channels;
    return tables[c].pointers;
}

} // namespace qv
