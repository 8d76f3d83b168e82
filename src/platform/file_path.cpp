#include "platform/file_path.h"

#include <exception>

namespace qv {

std::filesystem::path FsPath(std::string_view utf8) {
    // Away from Windows the bytes are the name as they are; on Windows the library converts
    // UTF-8 to UTF-16 and refuses bytes that are not UTF-8.
    try {
        return std::filesystem::path(
            std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
    } catch (const std::exception&) {
        return {};
    }
}

std::string Utf8Of(const std::filesystem::path& path) {
    try {
        const std::u8string text = path.u8string();
        return std::string(reinterpret_cast<const char*>(text.data()), text.size());
    } catch (const std::exception&) {
        return {};
    }
}

} // namespace qv
