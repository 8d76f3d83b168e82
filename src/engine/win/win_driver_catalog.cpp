#include "engine/win/win_driver_catalog.h"

#include "engine/win/asio_path.h"
#include "engine/win/direct_sound_path.h"
#include "engine/win/mme_device.h"
#include "engine/win/mme_device_list.h"
#include "engine/win/platform_texts.h"
#include "engine/win/wasapi_path.h"

#include <windows.h>

#include <mmsystem.h>

namespace qv {

namespace {

// MME: the waveOut devices, entry 0 the mapper.
class MmePath final : public DriverPath {
public:
    bool Enumerate(ErrorText& text) override { return list_.Enumerate(text); }
    int Count(bool input) const override { return list_.Count(input); }
    std::string Name(int entry, bool input) const override { return list_.NameUtf8(entry, input); }
    Device* Open() override { return &device_; }
    void Release() override { list_ = MmeDeviceList{}; }
    bool BeginFormatTest(int, const StreamSetup& setup) override {
        direct_ = setup.useWfDirect;
        return list_.OutCount() > 0;
    }
    // The device of the entry (0: the mapper) opened with the format and closed again, or only
    // asked.
    bool TestFormat(int entry, const WaveFormatRecord& format, bool queryOnly) override {
        const UINT id = entry <= 0 ? WAVE_MAPPER : static_cast<UINT>(entry - 1);
        const DWORD flags = CALLBACK_NULL | (direct_ ? WAVE_FORMAT_DIRECT : 0) |
                            (queryOnly ? WAVE_FORMAT_QUERY : 0);
        HWAVEOUT handle = nullptr;
        if (waveOutOpen(queryOnly ? nullptr : &handle, id,
                        reinterpret_cast<const WAVEFORMATEX*>(&format), 0, 0,
                        flags) != MMSYSERR_NOERROR)
            return false;
        if (handle)
            waveOutClose(handle);
        return true;
    }

private:
    MmeDeviceList list_;
    MmeDevice device_{list_};
    bool direct_ = false;
};

} // namespace

WinDriverCatalog::WinDriverCatalog(Ui& ui)
    : WinDriverCatalog(ui, ProbeDirectX7(), ProbeOsHasWasapi()) {}

WinDriverCatalog::WinDriverCatalog(Ui& ui, bool hasDirectX7, bool osHasWasapi)
    : ui_(ui), hasDirectX7_(hasDirectX7), osHasWasapi_(osHasWasapi), avrt_(ui) {
    if (osHasWasapi_)
        avrt_.Load(avrtMessage_);
    SetRows(Rows());
}

std::vector<DriverRow> WinDriverCatalog::Rows() {
    std::vector<DriverRow> rows;
    rows.push_back({PlayDriverType::Mme, {}, std::make_unique<MmePath>(), true});
    rows.push_back({PlayDriverType::DirectSound,
                    [this] { return std::string(hasDirectX7_ ? "" : kErrNeedDirectX7); },
                    MakeDirectSoundPath(ui_), true});
    rows.push_back({PlayDriverType::Asio, {}, MakeAsioPath()});
    rows.push_back({PlayDriverType::Wasapi,
                    [this] {
                        return std::string(!osHasWasapi_     ? kErrNeedVistaSp1
                                           : !avrt_.Loaded() ? avrtMessage_.Get()
                                                             : "");
                    },
                    MakeWasapiPath(ui_, avrt_)});
    return rows;
}

} // namespace qv
