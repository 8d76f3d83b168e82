#include "engine/win/wasapi_endpoints.h"

#include "engine/win/wasapi_texts.h"
#include "platform/win/text_conversion.h"

#include <propsys.h>

namespace qv {

namespace {

// PKEY_Device_FriendlyName: {A45C254E-DF1C-4EFD-8020-67D146A850E0}, 14.
const PROPERTYKEY kFriendlyName = {
    {0xA45C254E, 0xDF1C, 0x4EFD, {0x80, 0x20, 0x67, 0xD1, 0x46, 0xA8, 0x50, 0xE0}}, 14};

constexpr size_t kMaxNameChars = 80;

// A string the system allocated with CoTaskMemAlloc.
struct TaskString {
    LPWSTR p = nullptr;
    ~TaskString() { CoTaskMemFree(p); }
};

struct ScopedPropVariant {
    PROPVARIANT v;
    ScopedPropVariant() { PropVariantInit(&v); }
    ~ScopedPropVariant() { PropVariantClear(&v); }
};

} // namespace

bool WasapiEndpoints::List(EDataFlow flow, int& count, bool keep) {
    count = 0;
    ComPtr<IMMDeviceCollection> collection;
    if (FAILED(enumerator_->EnumAudioEndpoints(flow, DEVICE_STATE_ACTIVE, collection.Out())))
        return false;
    UINT n = 0;
    if (FAILED(collection->GetCount(&n)))
        return false;
    count = int(n);
    if (n == 0)
        return false;
    for (UINT i = 0; i < n && i < UINT(kMaxListed); ++i) {
        ComPtr<IMMDevice> device;
        TaskString id;
        ComPtr<IPropertyStore> store;
        ScopedPropVariant name;
        if (FAILED(collection->Item(i, device.Out())) || FAILED(device->GetId(&id.p)) ||
            FAILED(device->OpenPropertyStore(STGM_READ, store.Out())) ||
            FAILED(store->GetValue(kFriendlyName, &name.v)))
            return false;
        if (!keep)
            continue;
        std::wstring wide = name.v.vt == VT_LPWSTR && name.v.pwszVal ? name.v.pwszVal : L"";
        if (wide.size() > kMaxNameChars)
            wide.resize(kMaxNameChars);
        names_.push_back(WideToUtf8(wide));
        // The identifier whole: it names the endpoint only as the system wrote it.
        ids_.emplace_back(id.p);
    }
    return true;
}

bool WasapiEndpoints::Enumerate(ErrorText& text) {
    Release();
    if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                                __uuidof(IMMDeviceEnumerator), enumerator_.OutVoid()))) {
        text.Set(kErrNoWasapiInOut);
        return true;
    }
    const bool outputs = List(eRender, outCount_, true);
    if (!outputs)
        text.Set(kErrNoWasapiOutput);
    const bool inputs = List(eCapture, inCount_, false);
    if (!inputs)
        text.Set(kErrNoWasapiInput);
    if (!outputs && !inputs) {
        text.Set(kErrNoWasapiInOut);
        return true;
    }
    return false;
}

void WasapiEndpoints::Release() {
    enumerator_.Reset();
    outCount_ = inCount_ = 0;
    names_.clear();
    ids_.clear();
}

std::string WasapiEndpoints::Name(int entry) const {
    return entry >= 0 && size_t(entry) < names_.size() ? names_[size_t(entry)] : std::string();
}

bool WasapiEndpoints::Get(int entry, ComPtr<IMMDevice>& endpoint) const {
    if (!enumerator_ || entry < 0 || size_t(entry) >= ids_.size())
        return false;
    return SUCCEEDED(enumerator_->GetDevice(ids_[size_t(entry)].c_str(), endpoint.Out()));
}

} // namespace qv
