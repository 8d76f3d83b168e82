#include "engine/win/asio_driver_list.h"

#include "engine/asio_rules.h"
#include "platform/win/text_conversion.h"

#include <objbase.h>

namespace qv {

namespace {

// A string value of an open key ("" when it is missing or not a string).
std::wstring StringValue(HKEY key, const wchar_t* name) {
    wchar_t text[520] = {};
    DWORD type = 0, bytes = sizeof text - sizeof(wchar_t);
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &bytes) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    std::wstring value(text, bytes / sizeof(wchar_t));
    while (!value.empty() && value.back() == L'\0')
        value.pop_back();
    if (type == REG_EXPAND_SZ) {
        wchar_t expanded[1024];
        const DWORD n = ExpandEnvironmentStringsW(value.c_str(), expanded, 1024);
        if (n > 0 && n <= 1024)
            value = expanded;
    }
    return value;
}

// The class is registered with an in-process server file that exists.
bool ServerFileExists(const std::wstring& clsid) {
    HKEY key = nullptr;
    const std::wstring path = L"CLSID\\" + clsid + L"\\InprocServer32";
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    const std::wstring file = StringValue(key, nullptr);
    RegCloseKey(key);
    return !file.empty() && GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

void AsioDriverList::Build() {
    entries_.clear();
    HKEY root = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"software\\asio", 0, KEY_READ, &root) != ERROR_SUCCESS)
        return;
    wchar_t keyName[129];
    for (DWORD i = 0;; ++i) {
        DWORD length = 129;
        if (RegEnumKeyExW(root, i, keyName, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        HKEY driver = nullptr;
        if (RegOpenKeyExW(root, keyName, 0, KEY_READ, &driver) != ERROR_SUCCESS)
            continue;
        const std::wstring clsid = StringValue(driver, L"clsid");
        std::wstring description = StringValue(driver, L"description");
        RegCloseKey(driver);
        if (clsid.empty() || !ServerFileExists(clsid))
            continue;
        Entry entry;
        if (FAILED(CLSIDFromString(clsid.c_str(), &entry.clsid)))
            entry.clsid = CLSID{};
        if (description.empty())
            description = keyName;
        entry.name = WideToUtf8(description.substr(0, kAsioNameChars));
        entries_.push_back(std::move(entry));
    }
    RegCloseKey(root);
}

asio::Driver* AsioDriverList::Create(int i) const {
    if (i < 0 || i >= Count())
        return nullptr;
    void* object = nullptr;
    const CLSID& clsid = At(i).clsid;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, clsid, &object)))
        return nullptr;
    return static_cast<asio::Driver*>(object);
}

} // namespace qv
