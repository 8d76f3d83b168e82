#include "engine/win/mme_device_list.h"

#include "engine/win/mme_texts.h"

#include <windows.h>
// mmsystem.h needs the types of windows.h.
#include <mmsystem.h>

namespace qv {

namespace {

std::wstring Widen(const char* text, UINT codePage) {
    const int n = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    if (n <= 1)
        return {};
    std::wstring wide(size_t(n), L'\0');
    MultiByteToWideChar(codePage, 0, text, -1, wide.data(), n);
    wide.resize(size_t(n - 1));
    return wide;
}

std::string ToUtf8(const std::wstring& wide) {
    if (wide.empty())
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string text(size_t(n > 0 ? n : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), text.data(), n, nullptr,
                        nullptr);
    return text;
}

} // namespace

bool MmeDeviceList::Enumerate(ErrorText& errorText) {
    outCount_ = int(waveOutGetNumDevs());
    if (outCount_ == 0)
        errorText.Set(kErrNoWaveOutput);
    inCount_ = int(waveInGetNumDevs());
    if (inCount_ == 0)
        errorText.Set(kErrNoWaveInput);
    if (outCount_ == 0 && inCount_ == 0) {
        errorText.Set(kErrNoWaveInOut);
        return true;
    }
    return false;
}

std::wstring MmeDeviceList::Name(int index, bool input) const {
    if (index == 0)
        return Widen(kMmeMapperName, CP_ACP);
    if (index < 0 || index > Count(input))
        return {};
    const UINT device = UINT(index - 1);
    // The capabilities record's name is ANSI, in the system's code page.
    if (input) {
        WAVEINCAPSA caps{};
        if (waveInGetDevCapsA(device, &caps, sizeof caps) != MMSYSERR_NOERROR)
            return {};
        return Widen(caps.szPname, CP_ACP);
    }
    WAVEOUTCAPSA caps{};
    if (waveOutGetDevCapsA(device, &caps, sizeof caps) != MMSYSERR_NOERROR)
        return {};
    return Widen(caps.szPname, CP_ACP);
}

std::string MmeDeviceList::NameUtf8(int index, bool input) const {
    return ToUtf8(Name(index, input));
}

} // namespace qv
