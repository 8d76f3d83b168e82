// Test ASIO drivers registered in this process's Wine prefix for a test's life: each under
// HKEY_LOCAL_MACHINE\Software\ASIO with its class, the class's in-process server being the test
// driver DLL (QV_ASIO_TEST_DRIVER, a Unix path) or a file that does not exist. The registry's
// ASIO key is one for all tests (ctest's wine_asio lock keeps them apart); it starts and ends
// empty.
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include <windows.h>

namespace qv::test {

class AsioRegistry {
public:
    AsioRegistry() { Clear(); }
    ~AsioRegistry() { Clear(); }
    AsioRegistry(const AsioRegistry&) = delete;
    AsioRegistry& operator=(const AsioRegistry&) = delete;

    // The test driver's Windows path, or "" when the build has none.
    static std::wstring DriverPath() {
        const char* unix = std::getenv("QV_ASIO_TEST_DRIVER");
        if (unix == nullptr || *unix == '\0')
            return {};
        std::wstring path = L"Z:";
        for (const char* c = unix; *c; ++c)
            path += *c == '/' ? L'\\' : wchar_t(static_cast<unsigned char>(*c));
        return path;
    }

    void Add(const std::wstring& key, const std::wstring& clsid, const std::wstring& server,
             const std::wstring& description = {}) {
        const std::wstring driver = L"Software\\ASIO\\" + key;
        Set(HKEY_LOCAL_MACHINE, driver, L"CLSID", clsid);
        if (!description.empty())
            Set(HKEY_LOCAL_MACHINE, driver, L"Description", description);
        const std::wstring server32 = L"CLSID\\" + clsid + L"\\InprocServer32";
        Set(HKEY_CLASSES_ROOT, server32, nullptr, server);
        Set(HKEY_CLASSES_ROOT, server32, L"ThreadingModel", L"Apartment");
        classes_.push_back(clsid);
    }

private:
    static void Set(HKEY root, const std::wstring& key, const wchar_t* name,
                    const std::wstring& value) {
        RegSetKeyValueW(root, key.c_str(), name, REG_SZ, value.c_str(),
                        DWORD((value.size() + 1) * sizeof(wchar_t)));
    }
    void Clear() {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\ASIO");
        for (const std::wstring& clsid : classes_)
            RegDeleteTreeW(HKEY_CLASSES_ROOT, (L"CLSID\\" + clsid).c_str());
        classes_.clear();
    }
    std::vector<std::wstring> classes_;
};

} // namespace qv::test
