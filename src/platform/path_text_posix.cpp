// Linux file names are UTF-8 bytes: a path is kept in a file as it is.
#include "platform/path_text.h"

namespace qv {

std::string PathToFileText(const std::string& path) {
    return path;
}

std::string PathFromFileText(const std::string& text) {
    return text;
}

} // namespace qv
