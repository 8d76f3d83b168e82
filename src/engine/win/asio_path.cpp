#include "engine/win/asio_path.h"

#include "engine/asio_rules.h"
#include "engine/win/asio_device.h"
#include "engine/win/asio_driver_list.h"
#include "engine/win/asio_texts.h"
#include "platform/win/gdi.h"

#include <algorithm>

namespace qv {

namespace {

class AsioPath final : public DriverPath {
public:
    bool Enumerate(ErrorText& text) override {
        list_.Build();
        names_.clear();
        for (int i = 0; i < std::min(list_.Count(), kMostAsioDrivers); ++i)
            names_.push_back(AsioListName(list_.At(i).name));
        if (names_.empty()) {
            text.Set(kErrNoAsioDriver);
            return true;
        }
        return false;
    }
    int Count(bool input) const override { return input ? 0 : static_cast<int>(names_.size()); }
    std::string Name(int entry, bool input) const override {
        return !input && entry >= 0 && entry < Count(false) ? names_[size_t(entry)] : std::string();
    }
    Device* Open() override { return &device_; }
    void Release() override {
        device_.Unload();
        list_.Clear();
        names_.clear();
    }

    std::vector<std::string> ChannelNames(int entry) override {
        if (device_.Busy()) // a playback holds the driver: what it has read stays true
            return device_.LoadedEntry() == entry ? device_.ChannelNames()
                                                  : std::vector<std::string>{};
        ErrorText ignored;
        if (!device_.Load(entry, ignored))
            return {};
        std::vector<std::string> names = device_.ChannelNames();
        device_.Unload();
        return names;
    }
    bool ControlPanel(int entry) override {
        if (device_.Busy())
            return device_.LoadedEntry() == entry && device_.ControlPanel();
        ErrorText ignored;
        if (!device_.Load(entry, ignored))
            return false;
        const bool shown = device_.ControlPanel();
        device_.Unload();
        return shown;
    }
    // The driver opened for the current stream from the dialog's channel, as Play would open
    // it but for the bit-length and rate checks.
    std::string InfoText(int entry, const StreamSetup& setup, bool) override {
        if (device_.Busy())
            return {};
        ErrorText text;
        AsioInfo info;
        const bool ok = device_.Load(entry, text) && device_.Info(setup, info, text);
        device_.Unload();
        return ok ? AsioInfoText(info) : text.Str();
    }

    bool BeginFormatTest(int entry, const StreamSetup&) override {
        ErrorText ignored;
        return !device_.Busy() && device_.Load(entry, ignored);
    }
    // The stream's bits fit the driver's and the driver takes the rate.
    bool TestFormat(int, const WaveFormatRecord& format, bool) override {
        const bool isFloat =
            format.formatTag == kFormatTagFloat ||
            (format.formatTag == kFormatTagExtensible && format.subFormat == kSubFormatFloat);
        return AsioBitLengthRefusal(format.bitsPerSample, isFloat, device_.Bits()).empty() &&
               device_.CanSampleRate(format.sampleRate);
    }
    void EndFormatTest() override { device_.Unload(); }
    int OwnBitCode() const override { return device_.Bits(); }

private:
    ComScope com_; // the drivers are apartment-threaded COM objects of this thread
    AsioDriverList list_;
    std::vector<std::string> names_;
    AsioDevice device_{list_};
};

} // namespace

std::unique_ptr<DriverPath> MakeAsioPath() {
    return std::make_unique<AsioPath>();
}

} // namespace qv
