#include "engine/win/win_driver_catalog.h"

#include "engine/win/platform_texts.h"

namespace qv {

const char* DriverTypeName(PlayDriverType type) {
    switch (type) {
    case PlayDriverType::Mme:
        return "MME";
    case PlayDriverType::DirectSound:
        return "DirectSound";
    case PlayDriverType::Asio:
        return "ASIO";
    case PlayDriverType::Wasapi:
        return "WASAPI";
    }
    return "";
}

WinDriverCatalog::WinDriverCatalog(Ui& ui)
    : hasDirectX7_(ProbeDirectX7()), osHasWasapi_(ProbeOsHasWasapi()), avrt_(ui) {
    if (osHasWasapi_)
        avrt_.Load(avrtMessage_);
}

bool WinDriverCatalog::Enumerate(PlayDriverType type, ErrorText& text) {
    switch (type) {
    case PlayDriverType::Mme:
        return mmeList_.Enumerate(text);
    case PlayDriverType::DirectSound:
        if (!hasDirectX7_) {
            text.Set(kErrNeedDirectX7);
            return true;
        }
        break;
    case PlayDriverType::Wasapi:
        if (!osHasWasapi_) {
            text.Set(kErrNeedVistaSp1);
            return true;
        }
        if (!avrt_.Loaded()) {
            text.Set(avrtMessage_.Get());
            return true;
        }
        break;
    case PlayDriverType::Asio:
        break;
    }
    text.Format(kErrDriverNotBuilt, DriverTypeName(type));
    return true;
}

int WinDriverCatalog::Count(PlayDriverType type, bool input) const {
    return type == PlayDriverType::Mme ? mmeList_.Count(input) : 0;
}

std::string WinDriverCatalog::Name(PlayDriverType type, int entry, bool input) const {
    return type == PlayDriverType::Mme ? mmeList_.NameUtf8(entry, input) : std::string();
}

Device* WinDriverCatalog::DeviceFor(PlayDriverType type) {
    return type == PlayDriverType::Mme ? &mme_ : nullptr;
}

void WinDriverCatalog::Release(PlayDriverType type) {
    if (type == PlayDriverType::Mme)
        mmeList_ = MmeDeviceList{};
}

} // namespace qv
