#include "files/file_bytes.h"

#include "files/file_messages.h"
#include "platform/file_path.h"

#include <exception>
#include <fstream>
#include <iterator>
#include <new>

namespace qv {

std::string ReadWholeFile(const std::string& path, int languageIndex, std::string& bytes) {
    std::ifstream in(FsPath(path), std::ios::binary);
    if (!in)
        return std::string(kMsgCannotOpen(languageIndex)) + "\n\n" + path;
    try {
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } catch (const std::bad_alloc&) {
        return kMsgNoMemory(languageIndex);
    } catch (const std::exception&) {
        in.setstate(std::ios::badbit);
    }
    if (in.bad())
        return std::string(kMsgCannotRead(languageIndex)) + "\n\n" + path;
    return {};
}

} // namespace qv
