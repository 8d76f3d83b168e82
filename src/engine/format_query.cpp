#include "engine/format_query.h"

#include "engine/driver_table.h"

#include <algorithm>
#include <vector>

namespace qv {

namespace {

WaveFormatRecord TestedFormat(uint32_t rate, int32_t bitCode, int channels, bool extensible) {
    WaveFormatRecord f{};
    f.formatTag = bitCode < 0 ? kFormatTagFloat : kFormatTagPcm;
    f.channels = static_cast<uint16_t>(channels);
    f.sampleRate = rate;
    f.bitsPerSample = static_cast<uint16_t>(bitCode < 0 ? -bitCode : bitCode);
    f.blockAlign = static_cast<uint16_t>(channels * f.bitsPerSample / 8);
    f.avgBytesPerSec = rate * f.blockAlign;
    f = extensible ? ToExtensible(f) : f;
    FillValidBits(f);
    return f;
}

// The columns a working WASAPI format carries besides its own: 16-bit carries 8; 24 and 32
// carry 8 and F32 and the narrower integer lengths unless the device takes those itself.
void MarkWidened(std::array<uint16_t, 5>& row, int column, uint16_t channelBit) {
    const auto mark = [&](int c, bool unlessOwn) {
        if (!unlessOwn || !(row[c] & kOwnBitLength))
            row[c] |= channelBit;
    };
    switch (kFormatBitCodes[column]) {
    case 16:
        mark(0, false);
        break;
    case 24:
        mark(0, false), mark(4, false), mark(1, true);
        break;
    case 32:
        mark(0, false), mark(4, false), mark(1, true), mark(2, true);
        break;
    default:
        break;
    }
}

} // namespace

FormatTable QueryPlayFormats(DriverPath& path, const FormatQuery& q) {
    FormatTable table{};
    if (!path.BeginFormatTest(q.entry, q.setup))
        return table;
    std::vector<int> counts = {1, 2};
    if (q.allChannels)
        counts = {1, 2, 3, 4, 5, 6, 7, 8};
    else if (q.stream.formatTag == kFormatTagExtensible && q.stream.channels > 2)
        counts.push_back(q.stream.channels);
    const bool wasapi = q.type == PlayDriverType::Wasapi;
    for (size_t r = 0; r < kFormatRates.size(); ++r) {
        for (size_t c = 0; c < kFormatBitCodes.size(); ++c) {
            for (int n : counts) {
                const bool extensible = wasapi || n > 2 || q.useExtensible;
                const WaveFormatRecord f =
                    TestedFormat(kFormatRates[r], kFormatBitCodes[c], n, extensible);
                if (!path.TestFormat(q.entry, f, q.queryOnly))
                    continue;
                const auto bit = static_cast<uint16_t>(1u << (n - 1));
                table[r][c] |= bit;
                if (path.OwnBitCode() != 0 && path.OwnBitCode() == kFormatBitCodes[c])
                    table[r][c] |= kOwnBitLength;
                if (wasapi) {
                    table[r][c] |= kOwnBitLength;
                    MarkWidened(table[r], static_cast<int>(c), bit);
                }
            }
            if (q.progress && q.progress(static_cast<int>(r), static_cast<int>(c), table[r][c])) {
                path.EndFormatTest();
                return table;
            }
        }
    }
    path.EndFormatTest();
    return table;
}

std::string FormatCellText(uint16_t flags) {
    std::string text = flags & kOwnBitLength ? "*" : "";
    for (int n = 1; n <= 8; ++n) {
        if (flags & (1u << (n - 1)))
            text += static_cast<char>('0' + n);
    }
    if (text.empty() || text == "*")
        return "    -";
    // Padded to the width the characters need: 1 -> 4 blanks, 2 and 3 -> 3, 4 and 5 -> 2,
    // 6 to 8 -> 1, 9 -> none.
    constexpr int kPad[] = {0, 4, 3, 3, 2, 2, 1, 1, 1, 0};
    return std::string(static_cast<size_t>(kPad[std::min<size_t>(text.size(), 9)]), ' ') + text;
}

std::pair<int, int> FormatCell(uint32_t sampleRate, int32_t bitCode) {
    const auto r = std::find(kFormatRates.begin(), kFormatRates.end(), sampleRate);
    const auto c = std::find(kFormatBitCodes.begin(), kFormatBitCodes.end(), bitCode);
    if (r == kFormatRates.end() || c == kFormatBitCodes.end())
        return {-1, -1};
    return {static_cast<int>(r - kFormatRates.begin()),
            static_cast<int>(c - kFormatBitCodes.begin())};
}

} // namespace qv
