#include "engine/device_dialog.h"

#include "engine/device_dialog_texts.h"
#include "engine/driver_table.h"
#include "engine/wave_play_rec.h"
#include "generator/number_text.h"
#include "platform/ui.h"

#include <algorithm>

namespace qv {

namespace {

constexpr int kMostDevicesShown = 30;
constexpr size_t kMostChannelsShown = 32;

} // namespace

DeviceDialog::DeviceDialog(WavePlayRec& engine, DriverTable& catalog, AppSettings& settings, Ui& ui,
                           int languageIndex)
    : engine_(engine), catalog_(catalog), settings_(settings), ui_(ui), language_(languageIndex) {
    settings_.playDriverType = static_cast<int>(engine_.DriverType());
    Refresh(false);
}

DeviceDialog::Shown DeviceDialog::Visible() const {
    const bool asio = Type() == PlayDriverType::Asio, wasapi = Type() == PlayDriverType::Wasapi;
    // The channel list's driver shows its information and panel; the others the volume option.
    const bool infoAndPanel = asio || wasapi;
    return {.licence = asio,
            .eventMode = wasapi,
            .latency = wasapi,
            .extensible = !asio && !wasapi,
            .info = infoAndPanel,
            .panel = infoAndPanel,
            .fullVolume = !infoAndPanel};
}

bool DeviceDialog::InfoEnabled() const {
    return channelCount_ > 0 || Type() == PlayDriverType::Wasapi;
}

// The device count: the engine's, with the mapper or primary driver ahead of the devices.
void DeviceDialog::Refresh(bool reset) {
    const DriverRow* row = catalog_.Row(Type());
    const int count = engine_.GetDeviceCount(false);
    deviceCount_ = count + (count > 0 && row && row->defaultEntry ? 1 : 0);
    devices_.clear();
    for (int i = 0; i < std::min(deviceCount_, kMostDevicesShown); ++i)
        devices_.push_back(engine_.GetDeviceName(i, false));
    if (devices_.empty())
        devices_.push_back(kNoDevice(language_));
    if (settings_.playDeviceNum >= static_cast<int>(devices_.size()) || settings_.playDeviceNum < 0)
        settings_.playDeviceNum = 0;
    RefreshDevice(reset);
}

void DeviceDialog::RefreshDevice(bool reset) {
    // Only ASIO has a channel list: its driver is loaded once to read it.
    channelCount_ = 0;
    channels_.clear();
    if (Type() != PlayDriverType::Asio)
        return;
    if (reset)
        settings_.asioPlayChNum = 0;
    DriverPath* path = Path();
    if (path != nullptr && HasDevice())
        channels_ = path->ChannelNames(settings_.playDeviceNum);
    channelCount_ = static_cast<int>(channels_.size());
    if (channels_.size() > kMostChannelsShown)
        channels_.resize(kMostChannelsShown);
    if (channels_.empty())
        channels_.push_back(kNoChannel(language_));
    if (settings_.asioPlayChNum >= static_cast<int>(channels_.size()))
        settings_.asioPlayChNum = 0;
}

bool DeviceDialog::SelectDriver(int type) {
    if (type == settings_.playDriverType)
        return true;
    if (engine_.SetDriverType(static_cast<PlayDriverType>(type)) == EngineOutcome::Failed) {
        ui_.Message(std::string(kMsgCannotLoadDriver(language_)) + "\n\n" + engine_.GetErrorText(),
                    kDriverLoadCaption(language_), MsgIcon::Warning);
        return false;
    }
    settings_.playDriverType = type;
    settings_.playDeviceNum = 0;
    settings_.asioPlayChNum = 0;
    Refresh(true);
    return true;
}

void DeviceDialog::SelectDevice(int item) {
    settings_.playDeviceNum = std::clamp(item, 0, static_cast<int>(devices_.size()) - 1);
    RefreshDevice(true);
}

void DeviceDialog::SelectChannel(int item) {
    settings_.asioPlayChNum = std::max(item, 0);
}

void DeviceDialog::SetExtensible(bool on) {
    settings_.useWfExtensible = on;
    engine_.SetUseExtensible(on);
}

void DeviceDialog::SetEventMode(bool on) {
    settings_.wasEventMode = on;
    engine_.SetWasapiEventMode(on);
}

void DeviceDialog::SetFullVolume(bool on) {
    settings_.playWithFullVol = on;
    engine_.SetFullVolume(on);
}

int DeviceDialog::SetLatencyText(std::string_view text) {
    const double typed = ReadDecimal(text);
    settings_.wasLatency = static_cast<int32_t>(std::clamp(typed, 1.0, 200.0));
    engine_.SetWasapiLatency(settings_.wasLatency);
    return settings_.wasLatency;
}

std::string DeviceDialog::InfoText(bool detailed) {
    DriverPath* path = Path();
    StreamSetup setup = engine_.CurrentStreamSetup();
    setup.asioFirstChannel = settings_.asioPlayChNum;
    return path ? path->InfoText(settings_.playDeviceNum, setup, detailed) : std::string();
}

bool DeviceDialog::PressPanel() {
    if (Type() != PlayDriverType::Asio)
        return Type() == PlayDriverType::Wasapi;
    DriverPath* path = Path();
    if (path != nullptr && path->ControlPanel(settings_.playDeviceNum))
        RefreshDevice(true); // the panel may have changed the driver's channels
    else
        ui_.Message(kMsgCannotOpenPanel(language_), kPanelCaption(language_), MsgIcon::Warning);
    return false;
}

std::string DeviceDialog::DeviceName() const {
    return devices_[static_cast<size_t>(
        std::clamp<int>(settings_.playDeviceNum, 0, static_cast<int>(devices_.size()) - 1))];
}

DriverPath* DeviceDialog::Path() {
    return catalog_.PathFor(Type());
}

FormatQuery DeviceDialog::Query(bool queryOnly, bool allChannels) const {
    FormatQuery q{.type = Type(),
                  .entry = settings_.playDeviceNum,
                  .queryOnly = queryOnly,
                  .allChannels = allChannels};
    uint32_t floatBits = 0;
    engine_.GetSourceFormat(floatBits, q.stream);
    q.useExtensible = settings_.useWfExtensible;
    q.setup = engine_.CurrentStreamSetup();
    return q;
}

std::pair<int, int> DeviceDialog::CurrentCell() const {
    uint32_t floatBits = 0;
    WaveFormatRecord stream;
    engine_.GetSourceFormat(floatBits, stream);
    const bool isFloat =
        floatBits != 0 || stream.formatTag == kFormatTagFloat ||
        (stream.formatTag == kFormatTagExtensible && stream.subFormat == kSubFormatFloat);
    const auto cell = FormatCell(stream.sampleRate, isFloat ? -32 : stream.bitsPerSample);
    return cell.first < 0 ? std::pair{10, 4} : cell;
}

} // namespace qv
