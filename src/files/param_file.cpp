#include "files/param_file.h"

#include "files/file_messages.h"
#include "files/ini_file.h"
#include "generator/number_text.h"
#include "platform/ui.h"

#include <cstdio>
#include <cstdlib>
#include <initializer_list>

namespace qv {

namespace {

constexpr size_t kSavedWidth = 99;

// The leading number of a text, or nothing when the text does not start with one.
std::optional<double> LeadingNumber(const std::string& text) {
    if (!HasLeadingNumber(text, Notation::Decimal))
        return std::nullopt;
    return ReadDecimal(text);
}

int32_t RangedInt(const std::string& text, int32_t lo, int32_t hi, int32_t fallback) {
    const std::optional<double> v = LeadingNumber(text);
    if (!v || !(*v >= lo && *v <= hi))
        return fallback;
    return static_cast<int32_t>(ReadInteger(text));
}

int32_t OneOf(int32_t v, std::initializer_list<int32_t> allowed, int32_t fallback) {
    for (int32_t a : allowed) {
        if (v == a)
            return v;
    }
    return fallback;
}

} // namespace

void ValidateFilterTexts(ParamSet& set) {
    ParamTextTable& t = set.texts;
    FilterDesign& d = set.filter;
    const int32_t over =
        OneOf(RangedInt(t.Get(ParamField::OverSampleRate), 1, 16, 1), {1, 2, 4, 8, 16}, 1);
    const int32_t size = OneOf(RangedInt(t.Get(ParamField::Size1), 1024, 16384, 4096),
                               {1024, 2048, 4096, 8192, 16384}, 4096);
    d.responseRate = OneOf(RangedInt(t.Get(ParamField::ResponseRate), 4, 16, 8), {4, 16}, 8);
    d.ampScaleMaxDb = RangedInt(t.Get(ParamField::AmpScaleDbMax), 0, 40, 20);
    d.ampScaleMinDb = RangedInt(t.Get(ParamField::AmpScaleDbMin), -160, -20, -100);
    const std::optional<double> alpha = LeadingNumber(t.Get(ParamField::KaiserAlpha));
    d.kaiserAlpha = alpha && *alpha >= 0 && *alpha <= 10 ? *alpha : 6.0;
    d.pointCount = RangedInt(t.Get(ParamField::Points), 2, kMaxFilterPoints, 0);
    d.comment = t.Get(ParamField::FilterComment);
    t.Set(ParamField::OverSampleRate, std::to_string(over));
    t.Set(ParamField::Size1, std::to_string(size));
    t.Set(ParamField::ResponseRate, std::to_string(d.responseRate));
    t.Set(ParamField::AmpScaleDbMax, std::to_string(d.ampScaleMaxDb));
    t.Set(ParamField::AmpScaleDbMin, std::to_string(d.ampScaleMinDb));
    t.Set(ParamField::KaiserAlpha, FormatNumber15(d.kaiserAlpha));
}

namespace {

void ReadPoints(const IniFile& ini, ParamSet& set) {
    FilterDesign& d = set.filter;
    const int32_t size = static_cast<int32_t>(ReadInteger(set.texts.Get(ParamField::Size1)));
    long long rateValue = ReadInteger(set.texts.Get(ParamField::SamplingFreq));
    const double rate = static_cast<double>(rateValue < 0 ? -rateValue : rateValue);
    for (int i = 0; i < d.pointCount; ++i) {
        const std::string text = ini.Read("Filter", "P" + std::to_string(i + 1));
        if (text.empty()) {
            d.pointCount = 0;
            break;
        }
        // The bin is the leading integer; the gain starts one character after it, whatever
        // that character is.
        const char* begin = text.c_str();
        char* end = nullptr;
        const long bin = std::strtol(begin, &end, 10);
        FilterPoint& p = d.points[i];
        p.binIndex = static_cast<int32_t>(bin < -2147483647L  ? -2147483647L
                                          : bin > 2147483647L ? 2147483647L
                                                              : bin);
        p.gainDb = *end != '\0' ? std::strtod(end + 1, nullptr) : 0.0;
        p.frequency = p.binIndex * rate / size;
    }
    // A table the filter file would refuse (bins not rising from 0, a gain that is no number)
    // loads as the flat response, as a missing one does, and the loader says so.
    set.invalidFilterPoints = d.pointCount != 0 && !FilterPointsUsable(d);
    if (d.pointCount == 0 || set.invalidFilterPoints) {
        const std::string comment = d.comment;
        ResetFilterPoints(d, size, rate);
        d.comment = comment;
    } else {
        RescalePoints(d, size, rate, true);
    }
    set.texts.Set(ParamField::Points, std::to_string(d.pointCount));
}

} // namespace

void LoadParamFile(const IniFile& ini, ParamSet& set) {
    for (const ParamKey& k : ParamTextTable::Keys()) {
        const std::string value = ini.Read(k.section, k.key);
        set.texts.Set(k.field, k.slot, value.empty() ? set.texts.DefaultText(k) : value);
    }
    ValidateFilterTexts(set);
    ReadPoints(ini, set);
}

void ReportInvalidFilterPoints(const ParamSet& set, const std::string& path, Ui& ui,
                               int languageIndex, const std::string& caption) {
    if (set.invalidFilterPoints)
        ui.Message(std::string(kMsgBadPoints(languageIndex)) + "\n\n" + path, caption,
                   MsgIcon::Warning);
}

std::string FilterPointText(const FilterPoint& p) {
    char bin[16];
    std::snprintf(bin, sizeof bin, "%4d,", static_cast<int>(p.binIndex));
    return bin + FormatGeneral(p.gainDb, 10);
}

bool SaveParamFile(IniFile& ini, const ParamSet& set, std::optional<std::string> comment) {
    for (const ParamKey& k : ParamTextTable::Keys()) {
        std::string value = set.texts.Get(k.field, k.slot);
        switch (k.field) {
        case ParamField::Comment:
            if (!comment)
                continue;
            value = *comment;
            break;
        case ParamField::ResponseRate:
            continue;
        case ParamField::Points:
            value = std::to_string(set.filter.pointCount);
            break;
        case ParamField::FilterComment:
            value = set.filter.comment;
            break;
        default:
            break;
        }
        if (!ini.Write(k.section, k.key, std::string_view(value).substr(0, kSavedWidth)))
            return false;
        if (k.field != ParamField::Points)
            continue;
        for (int i = 0; i < set.filter.pointCount; ++i) {
            if (!ini.Write("Filter", "P" + std::to_string(i + 1),
                           FilterPointText(set.filter.points[i]))) {
                return false;
            }
        }
    }
    return true;
}

} // namespace qv
