#include "engine/win/wasapi_path.h"

#include "engine/win/wasapi_device.h"
#include "engine/win/wasapi_endpoints.h"
#include "engine/win/wasapi_info.h"
#include "engine/win/wasapi_stream.h"

namespace qv {

namespace {

// WASAPI: the active render endpoints, played through in exclusive mode.
class WasapiPath final : public DriverPath {
public:
    explicit WasapiPath(const AvrtLibrary& avrt) : device_(endpoints_, avrt) {}

    bool Enumerate(ErrorText& text) override { return endpoints_.Enumerate(text); }
    int Count(bool input) const override { return endpoints_.Count(input); }
    std::string Name(int entry, bool input) const override {
        return input ? std::string() : endpoints_.Name(entry);
    }
    Device* Open() override { return &device_; }
    void Release() override {
        device_.Release();
        endpoints_.Release();
    }

    bool BeginFormatTest(int entry, const StreamSetup& setup) override {
        eventMode_ = setup.wasEventMode;
        return entry >= 0 && entry < endpoints_.Count(false);
    }
    // Each format on a client of its own: a client initialised once cannot be tried again.
    bool TestFormat(int entry, const WaveFormatRecord& format, bool queryOnly) override {
        WasapiStream stream;
        ErrorText ignored;
        if (!stream.Open(endpoints_, entry, ignored))
            return false;
        WaveFormatRecord f = ToExtensible(format);
        FillValidBits(f);
        return stream.Supports(f, queryOnly, eventMode_);
    }
    std::string InfoText(int entry, const StreamSetup& setup, bool detailed) override {
        return WasapiInfoText(endpoints_, entry, setup, detailed);
    }

private:
    WasapiEndpoints endpoints_; // first: the device uses it, and COM outlives everything else
    WasapiDevice device_;
    bool eventMode_ = false;
};

} // namespace

std::unique_ptr<DriverPath> MakeWasapiPath(Ui&, const AvrtLibrary& avrt) {
    return std::make_unique<WasapiPath>(avrt);
}

} // namespace qv
