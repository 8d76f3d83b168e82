// Arbitrary bytes as a parameter file: loaded, applied to the controls and the generator,
// rendered for a moment (also with the filter on), saved and loaded again.
#include "app/main_controls.h"
#include "fftlib/fft_api.h"
#include "files/ini_file.h"
#include "files/param_file.h"
#include "generator/generator.h"
#include "platform/language.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
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

    // The same set through the filter, as float samples: however the points were written, the
    // design visits no more than the filter's own bins and nothing comes out as NaN.
    {
        static const FftApi fft = DirectFftApi();
        ParamSet filtered = set;
        filtered.texts.Set("Filter", "FilterOn", "On");
        filtered.texts.Set("Misc", "BitLen", "F32");
        Generator f;
        f.AttachFft(&fft);
        MainControls(f, lang).ApplyParamTable(filtered);
        f.PrepareGenerator();
        if (f.filterDesigner.MagnitudeSteps() > f.filterSize / 2 + 1)
            std::abort();
        for (double v : f.filterDesigner.mailbox.spectrum) {
            if (!std::isfinite(v))
                std::abort();
        }
        std::vector<uint8_t> out(16 * f.Format().blockAlign);
        const uint32_t got = f.FillOutputBuffer(out.data(), static_cast<uint32_t>(out.size()), 0);
        for (uint32_t i = 0; i + 4 <= got; i += 4) {
            float sample;
            std::memcpy(&sample, out.data() + i, 4);
            if (!std::isfinite(sample))
                std::abort();
        }
    }

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
