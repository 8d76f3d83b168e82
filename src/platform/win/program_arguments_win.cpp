#include "platform/program_arguments.h"

#include "platform/win/text_conversion.h"

#include <windows.h>

#include <shellapi.h>

namespace qv {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr)
        return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i)
        arguments.push_back(WideToUtf8(wide[i]));
    LocalFree(wide);
    return arguments;
}

} // namespace qv
