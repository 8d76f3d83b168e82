#include "engine/win/direct_sound_path.h"

#include "engine/win/ds_device.h"
#include "engine/win/ds_device_list.h"

namespace qv {

namespace {

// DirectSound: the enumerated devices, entry 0 the primary driver. The format test has a
// device of its own, so that it never touches the one a playback uses.
class DirectSoundPath final : public DriverPath {
public:
    bool Enumerate(ErrorText& text) override { return list_.Enumerate(text); }
    int Count(bool input) const override { return list_.Count(input); }
    std::string Name(int entry, bool input) const override { return list_.Name(entry, input); }
    Device* Open() override { return &device_; }
    void Release() override {
        device_.Release();
        tester_.Release();
        list_ = DsDeviceList{};
    }

    // Shift's query-only test means nothing to DirectSound: each format gets a trial buffer.
    bool BeginFormatTest(int entry, const StreamSetup&) override {
        ErrorText text;
        return tester_.OpenForFormatTest(entry, text);
    }
    bool TestFormat(int, const WaveFormatRecord& format, bool) override {
        return tester_.TryFormat(format);
    }
    void EndFormatTest() override { tester_.Release(); }

private:
    DsDeviceList list_;
    DsDevice device_{list_};
    DsDevice tester_{list_};
};

} // namespace

std::unique_ptr<DriverPath> MakeDirectSoundPath(Ui&) {
    return std::make_unique<DirectSoundPath>();
}

} // namespace qv
