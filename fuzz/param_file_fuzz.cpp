// Arbitrary bytes as a parameter file: loaded, applied to the controls and the generator,
// rendered for a moment, saved and loaded again.
#include "app/main_controls.h"
#include "files/ini_file.h"
#include "files/param_file.h"
#include "generator/generator.h"
#include "platform/language.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace qv;
    const int lang = size > 0 && (data[0] & 1) ? kJapanese : kEnglish;
    IniDocument ini(std::string(reinterpret_cast<const char*>(data), size));
    ParamSet set(lang);
    LoadParamFile(ini, set);
    if (set.filter.pointCount < 2 || set.filter.pointCount > kMaxFilterPoints)
        std::abort(); // a loaded design always has a usable point table

    Generator g;
    MainControls controls(g, lang);
    controls.ApplyParamTable(set);
    g.PrepareGenerator();
    std::vector<uint8_t> block(64 * g.Format().blockAlign);
    g.FillOutputBuffer(block.data(), static_cast<uint32_t>(block.size()), 0);

    ParamSet captured(lang);
    controls.CaptureParamTable(captured);
    IniDocument saved("");
    SaveParamFile(saved, captured, std::nullopt);
    ParamSet again(lang);
    LoadParamFile(saved, again);
    // What was saved loads back as the same texts, but for the rules of the private-profile
    // routines: a value is a C string, saved cut to 99 characters and without the blanks ahead
    // of it, and read back without one pair of quotes (" or ') around it. (Blanks after it are
    // kept until the file is read again from disk.)
    for (const ParamKey& k : ParamTextTable::Keys()) {
        if (k.key == "ResponseRate" || k.key == "Comment" || k.key == "Points")
            continue;
        std::string expected = captured.texts.Get(k.section, k.key);
        expected = expected.substr(0, std::min(expected.find('\0'), size_t(99)));
        const auto blank = [](char c) {
            const auto u = static_cast<unsigned char>(c);
            return (u >= 0x09 && u <= 0x0D) || u == 0x1A || u == ' ';
        };
        expected.erase(expected.begin(), std::find_if_not(expected.begin(), expected.end(), blank));
        if (expected.size() >= 2 && (expected.front() == '"' || expected.front() == '\'') &&
            expected.back() == expected.front())
            expected = expected.substr(1, expected.size() - 2);
        // (An empty value reads as a missing key, which loads the key's default.)
        if (again.texts.Get(k.section, k.key) != expected && !expected.empty())
            std::abort();
    }
    return 0;
}
