#include "app/command_line.h"

#include "generator/number_text.h"

#include <cctype>

namespace qv {

CommandLineRequest ParseCommandLine(const std::string& line, const std::string& programDir) {
    CommandLineRequest r;
    size_t rest = 0;
    std::string file;
    if (!line.empty() && line[0] == '"') {
        const size_t close = line.find('"', 1);
        file = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
        rest = close == std::string::npos ? line.size() : close + 1;
    } else {
        const size_t blank = line.find(' ');
        file = line.substr(0, blank);
        rest = blank == std::string::npos ? line.size() : blank;
    }
    if (file.empty())
        return r;
    const bool absolute = file[0] == '\\' || (file.size() > 1 && file[1] == ':');
    r.path = absolute ? file : programDir + file;
    const size_t start = line.find_first_not_of(' ', rest);
    const std::string option =
        start == std::string::npos ? "" : line.substr(start, line.find(' ', start) - start);
    r.autoPlay = option.size() >= 2 && option[0] == '/' &&
                 std::toupper(static_cast<unsigned char>(option[1])) == 'P';
    if (r.autoPlay) {
        const long long ms = ReadInteger(std::string_view(option).substr(2));
        r.playMs = ms > 0 && ms < 2000000000 ? static_cast<long>(ms) : 0;
    }
    return r;
}

long AutoPlayMilliseconds(const CommandLineRequest& request, double fileLengthSeconds) {
    if (request.playMs != 0)
        return request.playMs;
    const double ms = fileLengthSeconds * 1000.0;
    return ms > 0 && ms < 2e9 ? static_cast<long>(ms) : 0;
}

} // namespace qv
