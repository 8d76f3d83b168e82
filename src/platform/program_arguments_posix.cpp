#include "platform/program_arguments.h"

namespace qv {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

} // namespace qv
