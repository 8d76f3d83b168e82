// The device dialog's format list: which sample rates, bit lengths and channel counts a device
// of a driver type accepts, as a table of 11 rates by 5 bit codes. Each cell holds a bit per
// channel count that works (bit n - 1 for n channels) and bit 15 for the device's own bit
// length; its text is "    -" when nothing works, else the channel digits, "*" first for the
// device's own length, padded on the left.
#pragma once

#include "engine/device.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace qv {

class DriverPath;

inline constexpr std::array<uint32_t, 11> kFormatRates = {
    11025, 22050, 32000, 44100, 48000, 88200, 96000, 176400, 192000, 352800, 384000};
inline constexpr std::array<int32_t, 5> kFormatBitCodes = {8, 16, 24, 32, -32};
// Row and column headers ("%7S" of the rates, "%6S" of the bit labels).
inline constexpr std::array<const char*, 5> kFormatBitLabels = {" 8 ", "16 ", "24 ", "32 ", "F32"};
inline constexpr uint16_t kOwnBitLength = 0x8000;

using FormatTable = std::array<std::array<uint16_t, 5>, 11>;

struct FormatQuery {
    PlayDriverType type;
    int entry = 0;              // the device list's entry
    bool queryOnly = false;     // Shift: only ask the driver where it can ask
    bool allChannels = false;   // Ctrl: 1 to 8 channels, not only 1, 2 and the stream's
    WaveFormatRecord stream{};  // the current stream format
    bool useExtensible = false; // one and two channels in the extensible form as well
    StreamSetup setup{};        // how the engine would open the device (direct, event mode ...)
    // After each cell (row, column, its flags): true stops the test.
    std::function<bool(int row, int column, uint16_t flags)> progress = {};
};

// Runs the driver's format test cell by cell; untested cells stay 0. With WASAPI, a format the
// device takes also marks the cells the engine's widening carries to it.
FormatTable QueryPlayFormats(DriverPath& path, const FormatQuery& query);

std::string FormatCellText(uint16_t flags);
// The cell of a format in the table, or {-1, -1} when the table has none.
std::pair<int, int> FormatCell(uint32_t sampleRate, int32_t bitCode);

} // namespace qv
