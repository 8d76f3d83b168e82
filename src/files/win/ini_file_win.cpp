// The Windows backend: the private-profile routines themselves, in their wide form so that the
// file's name (UTF-8 in memory) reaches the system whole whatever the code page.
#include "files/ini_file.h"

#include "platform/win/text_conversion.h"

#include <windows.h>

#include <vector>

namespace qv {
namespace {

// The largest value read back (in characters); the routines hold a file in memory anyway.
constexpr DWORD kMaxValueBuffer = 1u << 24;

// A bare file name would be looked up in the Windows directory; callers (and the portable
// backend) mean the current one.
std::string ProfilePath(const std::string& path) {
    if (path.find_first_of("\\/:") == std::string::npos)
        return ".\\" + path;
    return path;
}

// Sections, keys and values stay bytes of the system code page, exactly as the "A" routines
// keep them: those convert every text with the code page (CP_ACP) on the way in and out, and
// store the file in it. Doing the same conversions here around the wide routines leaves the
// same bytes in the file and gives the same bytes back (Shift-JIS item texts included), while
// only the file's name is taken as UTF-8.
class Win32IniFile final : public IniFile {
public:
    explicit Win32IniFile(const std::string& path) : path_(Utf8ToWide(ProfilePath(path))) {}

    std::string Read(std::string_view section, std::string_view key) const override {
        const std::wstring sectionText = AnsiToWide(section), keyText = AnsiToWide(key);
        std::vector<wchar_t> buffer(1024);
        for (;;) {
            const DWORD size = static_cast<DWORD>(buffer.size());
            const DWORD length = GetPrivateProfileStringW(sectionText.c_str(), keyText.c_str(), L"",
                                                          buffer.data(), size, path_.c_str());
            // A value that (nearly) fills the buffer may have been cut, and a cut value that was
            // quoted comes back one character short: read it again with more room.
            if (length + 2 < size || size >= kMaxValueBuffer)
                return WideToAnsi(
                    std::wstring_view(buffer.data(), length < size ? length : size - 1));
            buffer.resize(buffer.size() * 2);
        }
    }

    bool Write(std::string_view section, std::string_view key, std::string_view value) override {
        return WritePrivateProfileStringW(AnsiToWide(section).c_str(), AnsiToWide(key).c_str(),
                                          AnsiToWide(value).c_str(), path_.c_str()) != 0;
    }

private:
    std::wstring path_;
};

} // namespace

std::unique_ptr<IniFile> OpenIniFile(const std::string& path) {
    return std::make_unique<Win32IniFile>(path);
}

} // namespace qv
