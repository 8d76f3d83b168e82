#include "files/text_format_reader.h"

#include "files/quoted_key_reader.h"
#include "files/text_format.h"
#include "files/wave_writer.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace qv {

namespace {

constexpr double kMaxChannels = 8;

TextReadStatus Fail(TextReadStatus status, TextFormatData& data) {
    data = TextFormatData{};
    return status;
}

} // namespace

TextReadStatus ReadTextFormat(std::string_view name, std::string fileBytes, Ui& ui,
                              int languageIndex, const std::string& caption, TextFormatData& data) {
    data = TextFormatData{};
    if (!HasExtension(name, "QVT"))
        return TextReadStatus::NotQvtExtension;

    const auto budget = static_cast<int64_t>(fileBytes.size());
    QuotedKeyReader reader(std::move(fileBytes), ui, languageIndex, caption);
    // Every key is searched for from the start of the file: the header lines may come in any
    // order, and the line after the Data line starts the samples.
    auto search = [&](const char* key, double& value) {
        reader.SetCursor(0);
        return reader.SearchNumber(key, value, budget);
    };
    double version = 0, channels = 0, samples = 0, max = 0, count = 0;
    search(kTextKeyFormat, version);
    search(kTextKeyRate, data.sampleRate);
    search(kTextKeyBits, data.bits);
    for (auto [key, value] : {std::pair{kTextKeyChannels, &channels},
                              {kTextKeySamples, &samples},
                              {kTextKeyMax, &max},
                              {kTextKeyData, &count}}) {
        using R = QuotedKeyReader::SearchResult;
        const R result = search(key, *value);
        if (result == R::Failed)
            return Fail(TextReadStatus::KeyLineError, data);
        if (result != R::Found) // the end of the text, or the whole file searched
            return Fail(TextReadStatus::MissingKey, data);
    }

    // Only the integer parts of Channels and Samples count. Comparing the doubles first keeps a
    // huge or infinite value away from the integer conversions.
    if (!(channels >= 1 && channels < kMaxChannels + 1) || !(samples >= 1) ||
        !(max > 0 && std::isfinite(max))) {
        return Fail(TextReadStatus::BadHeader, data);
    }
    // Every value takes at least one byte (its separator): a header that asks for more values
    // than bytes remain describes a truncated file, and nothing is allocated for it.
    const double remaining = static_cast<double>(reader.Size() - reader.Cursor());
    const double wanted = std::trunc(samples) * std::trunc(channels);
    if (wanted > remaining)
        return Fail(TextReadStatus::Truncated, data);

    data.channels = static_cast<uint16_t>(channels);
    data.frames = static_cast<uint64_t>(samples);
    data.max = max;
    data.samples.resize(static_cast<size_t>(wanted));
    for (double& sample : data.samples) {
        double value = 0;
        // A file that ends early fails rather than being padded: zeros would become a silent
        // stretch of the looped waveform that nothing in the file asked for.
        if (!reader.ReadFreeNumber(value))
            return Fail(TextReadStatus::Truncated, data);
        sample = std::clamp(value / max, -1.0, 1.0);
    }
    return TextReadStatus::Ok;
}

} // namespace qv
