// The Windows backend: the private-profile routines themselves.
#include "files/ini_file.h"

#include <windows.h>

#include <vector>

namespace qv {
namespace {

// The largest value read back (in bytes); the routines hold a file in memory anyway.
constexpr DWORD kMaxValueBuffer = 1u << 24;

// A bare file name would be looked up in the Windows directory; callers (and the portable
// backend) mean the current one.
std::string ProfilePath(const std::string& path) {
    if (path.find_first_of("\\/:") == std::string::npos)
        return ".\\" + path;
    return path;
}

class Win32IniFile final : public IniFile {
public:
    explicit Win32IniFile(const std::string& path) : path_(ProfilePath(path)) {}

    std::string Read(std::string_view section, std::string_view key) const override {
        const std::string sectionText(section), keyText(key);
        std::vector<char> buffer(1024);
        for (;;) {
            const DWORD size = static_cast<DWORD>(buffer.size());
            const DWORD length = GetPrivateProfileStringA(sectionText.c_str(), keyText.c_str(), "",
                                                          buffer.data(), size, path_.c_str());
            // A value that (nearly) fills the buffer may have been cut, and a cut value that was
            // quoted comes back one character short: read it again with more room.
            if (length + 2 < size || size >= kMaxValueBuffer)
                return std::string(buffer.data(), length < size ? length : size - 1);
            buffer.resize(buffer.size() * 2);
        }
    }

    bool Write(std::string_view section, std::string_view key, std::string_view value) override {
        const std::string sectionText(section), keyText(key), valueText(value);
        return WritePrivateProfileStringA(sectionText.c_str(), keyText.c_str(), valueText.c_str(),
                                          path_.c_str()) != 0;
    }

private:
    std::string path_;
};

} // namespace

std::unique_ptr<IniFile> OpenIniFile(const std::string& path) {
    return std::make_unique<Win32IniFile>(path);
}

} // namespace qv
