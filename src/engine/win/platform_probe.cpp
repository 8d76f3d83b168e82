#include "engine/win/platform_probe.h"

#include "engine/win/platform_texts.h"
#include "platform/ui.h"

#include <windows.h>
// IUnknown, which WIN32_LEAN_AND_MEAN leaves out.
#include <unknwn.h>

namespace qv {

namespace {

// {15E65EC0-3B9C-11D2-B92F-00609797EA5B}: the DirectDraw 7 interface.
constexpr GUID kIidDirectDraw7 = {
    0x15E65EC0, 0x3B9C, 0x11D2, {0xB9, 0x2F, 0x00, 0x60, 0x97, 0x97, 0xEA, 0x5B}};

using DirectDrawCreateExFn = HRESULT(WINAPI*)(GUID*, void**, REFIID, IUnknown*);
using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);

template <typename F> F Entry(HMODULE module, const char* name) {
    // The entry's real type is F; the cast goes through the generic procedure type.
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

} // namespace

bool ProbeDirectX7() {
    HMODULE ddraw = LoadLibraryW(L"DDRAW.DLL");
    if (ddraw == nullptr)
        return false;
    bool found = false;
    if (auto create = Entry<DirectDrawCreateExFn>(ddraw, "DirectDrawCreateEx")) {
        void* object = nullptr;
        if (SUCCEEDED(create(nullptr, &object, kIidDirectDraw7, nullptr)) && object != nullptr) {
            static_cast<IUnknown*>(object)->Release();
            found = true;
        }
    }
    FreeLibrary(ddraw);
    return found;
}

bool OsHasWasapi(unsigned major, unsigned minor, unsigned servicePackMajor) {
    if (major <= 5)
        return false;
    return !(major == 6 && minor == 0 && servicePackMajor == 0);
}

bool ProbeOsHasWasapi() {
    OSVERSIONINFOEXW info{};
    info.dwOSVersionInfoSize = sizeof info;
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    auto getVersion = ntdll ? Entry<RtlGetVersionFn>(ntdll, "RtlGetVersion") : nullptr;
    if (getVersion == nullptr || getVersion(&info) != 0)
        return false;
    return OsHasWasapi(info.dwMajorVersion, info.dwMinorVersion, info.wServicePackMajor);
}

bool AvrtLibrary::Load(ErrorText& text) {
    HMODULE module = LoadLibraryW(L"Avrt.dll");
    if (module == nullptr) {
        text.Format(kErrLoadAvrt, int(GetLastError()));
        return false;
    }
    setCharacteristics = Entry<SetCharacteristics>(module, "AvSetMmThreadCharacteristicsA");
    if (setCharacteristics == nullptr) {
        text.Format(kErrAvrtSetEntry, int(GetLastError()));
        FreeLibrary(module);
        return false;
    }
    revertCharacteristics = Entry<RevertCharacteristics>(module, "AvRevertMmThreadCharacteristics");
    if (revertCharacteristics == nullptr) {
        text.Format(kErrAvrtRevertEntry, int(GetLastError()));
        setCharacteristics = nullptr;
        FreeLibrary(module);
        return false;
    }
    module_ = module;
    return true;
}

AvrtLibrary::~AvrtLibrary() {
    if (module_ == nullptr)
        return;
    if (!FreeLibrary(static_cast<HMODULE>(module_))) {
        ErrorText text;
        text.Format(kMsgFreeAvrt, int(GetLastError()));
        ui_.Message(text.Get(), kEngineCaption, MsgIcon::Warning, MsgButtons::Ok, false);
    }
}

} // namespace qv
