// The driver types' device lists and the switch between types.
#include "engine/wave_play_rec.h"

namespace qv {

void WavePlayRec::AttachCatalog(DriverCatalog* catalog) {
    catalog_ = catalog;
    if (EnumerateDevices(true)) {
        settings_.driverType = PlayDriverType::Mme;
        EnumerateDevices(true);
    }
}

bool WavePlayRec::EnumerateDevices(bool clearFlags) {
    if (clearFlags) {
        errorText.Clear();
        driverFailed_ = false;
    }
    if (catalog_ == nullptr)
        return driverFailed_;
    if (catalog_->Enumerate(settings_.driverType, errorText))
        driverFailed_ = true;
    device_ = catalog_->DeviceFor(settings_.driverType);
    return driverFailed_;
}

int WavePlayRec::GetDeviceCount(bool input) const {
    return catalog_ ? catalog_->Count(settings_.driverType, input) : 0;
}

std::string WavePlayRec::GetDeviceName(int entry, bool input) const {
    return catalog_ ? catalog_->Name(settings_.driverType, entry, input) : std::string();
}

bool WavePlayRec::SetDriverType(PlayDriverType type) {
    if (type == settings_.driverType || static_cast<int>(type) < 0)
        return false;
    if (PlaybackRunning() || catalog_ == nullptr)
        return true;
    catalog_->Release(settings_.driverType);
    ringBlock_.reset(); // the next preparation sizes it for the new type's device
    const PlayDriverType old = settings_.driverType;
    settings_.driverType = type;
    if (!EnumerateDevices(true))
        return false;
    catalog_->Release(type);
    settings_.driverType = old;
    EnumerateDevices(false); // the failed attempt's text stays
    return true;
}

} // namespace qv
