#include "files/write_length.h"

#include "generator/number_text.h"

#include <cmath>

namespace qv {

WriteLength ComputeWriteLength(std::string_view lengthText, const OutputFormat& format,
                               uint32_t overSampleFactor) {
    WriteLength result;
    double seconds = ReadDecimal(lengthText);
    if (seconds < 0 || format.avgBytesPerSec == 0)
        return result;
    const uint32_t factor = overSampleFactor ? overSampleFactor : 1;
    const double maxSeconds = kMaxWaveDataBytes / format.avgBytesPerSec / factor;
    if (!(seconds <= maxSeconds))
        seconds = maxSeconds; // also catches a NaN
    result.write = true;
    result.frames = static_cast<uint64_t>(std::trunc(format.sampleRate * seconds + 0.5));
    result.dataBytes = result.frames * format.blockAlign * factor;
    return result;
}

std::string ParamNameFor(std::string_view writtenPath) {
    const size_t slash = writtenPath.find_last_of("/\\");
    std::string_view name =
        slash == std::string_view::npos ? writtenPath : writtenPath.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string_view::npos)
        name = name.substr(0, dot);
    return std::string(name) + ".QV";
}

} // namespace qv
