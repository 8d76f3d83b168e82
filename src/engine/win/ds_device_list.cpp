#include "engine/win/ds_device_list.h"

#include "engine/win/ds_texts.h"

#include <windows.h>
// mmsystem.h needs the types of windows.h.
#include <mmsystem.h>
// dsound.h takes WAVEFORMATEX from mmsystem.h.
#include <dsound.h>

#include <cstring>

namespace qv {

namespace {

// The description cut at 70 UTF-16 units (never inside a surrogate pair), in UTF-8.
std::string CutName(const wchar_t* text) {
    if (text == nullptr)
        return {};
    int n = int(wcslen(text));
    if (n > DsDeviceList::kMaxNameChars) {
        n = DsDeviceList::kMaxNameChars;
        if (text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF)
            --n;
    }
    if (n == 0)
        return {};
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, n, nullptr, 0, nullptr, nullptr);
    std::string name(size_t(bytes > 0 ? bytes : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, n, name.data(), bytes, nullptr, nullptr);
    return name;
}

// One call per device; the enumeration may go on past the 30th, which is neither stored nor
// counted.
BOOL CALLBACK AddDevice(GUID* guid, const wchar_t* description, const wchar_t*, void* context) {
    auto& list = *static_cast<std::vector<DsDeviceList::Entry>*>(context);
    if (int(list.size()) >= DsDeviceList::kMaxDevices)
        return TRUE;
    DsDeviceList::Entry entry;
    if (guid != nullptr)
        std::memcpy(entry.guid.data(), guid, sizeof(GUID));
    entry.name = CutName(description);
    list.push_back(std::move(entry));
    return TRUE;
}

} // namespace

bool DsDeviceList::Enumerate(ErrorText& errorText) {
    out_.clear();
    in_.clear();
    out_.reserve(kMaxDevices);
    in_.reserve(kMaxDevices);
    // The wide calls: a description the system code page cannot spell keeps its characters.
    if (FAILED(DirectSoundEnumerateW(&AddDevice, &out_)) || out_.empty()) {
        out_.clear();
        errorText.Set(kErrNoDsOutput);
    }
    if (FAILED(DirectSoundCaptureEnumerateW(&AddDevice, &in_)) || in_.empty()) {
        in_.clear();
        errorText.Set(kErrNoDsInput);
    }
    if (out_.empty() && in_.empty()) {
        errorText.Set(kErrNoDsInOut);
        return true;
    }
    return false;
}

std::string DsDeviceList::Name(int entry, bool input) const {
    const std::vector<Entry>& list = input ? in_ : out_;
    return entry >= 0 && entry < int(list.size()) ? list[size_t(entry)].name : std::string();
}

const std::array<uint8_t, 16>* DsDeviceList::Guid(int entry) const {
    return entry >= 0 && entry < int(out_.size()) ? &out_[size_t(entry)].guid : nullptr;
}

} // namespace qv
