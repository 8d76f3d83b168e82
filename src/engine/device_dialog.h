// The "Sound device" dialog without its window: the driver type, the device list and the ASIO
// channel list, which options each type shows, the latency's limits, and what each choice does:
// it is kept in the settings at once and handed to the engine. The format list's test of the
// chosen device is built here too.
#pragma once

#include "engine/format_query.h"
#include "files/settings_file.h"

#include <string>
#include <string_view>
#include <vector>

namespace qv {

class DriverPath;
class DriverTable;
class Ui;
class WavePlayRec;

class DeviceDialog {
public:
    DeviceDialog(WavePlayRec& engine, DriverTable& catalog, AppSettings& settings, Ui& ui,
                 int languageIndex);

    // --- What the window shows.
    static constexpr const char* kDriverItems[] = {"MME", "DirectSound", "ASIO", "WASAPI"};
    int DriverItem() const { return settings_.playDriverType; }
    // The device list: at most 30 names, or "No Device" alone.
    const std::vector<std::string>& DeviceItems() const { return devices_; }
    int DeviceItem() const { return settings_.playDeviceNum; }
    bool HasDevice() const { return deviceCount_ > 0; }
    // The ASIO output channels: at most 32 names, "Not available" when the driver has none,
    // nothing for the other types.
    const std::vector<std::string>& ChannelItems() const { return channels_; }
    int ChannelItem() const { return settings_.asioPlayChNum; }
    bool ChannelsEnabled() const { return channelCount_ > 0; }
    struct Shown {
        bool licence, eventMode, latency, extensible, info, panel, fullVolume;
    };
    Shown Visible() const;
    bool InfoEnabled() const;
    int Latency() const { return settings_.wasLatency; }
    bool Extensible() const { return settings_.useWfExtensible; }
    bool EventMode() const { return settings_.wasEventMode; }
    bool FullVolume() const { return settings_.playWithFullVol; }

    // --- What the user does.
    // Another driver type: false after the "Unable to load selected driver." message, the
    // type then stays; otherwise device and channel go back to their first entries.
    bool SelectDriver(int type);
    void SelectDevice(int item);
    void SelectChannel(int item);
    void SetExtensible(bool on);
    void SetEventMode(bool on);
    void SetFullVolume(bool on);
    // The latency as typed: 1 ... 200 ms (the text then shows the value kept).
    int SetLatencyText(std::string_view text);
    std::string InfoText(bool detailed);
    // The Panel button: ASIO asks the driver for its control panel and reads the channels again
    // (or warns that it could not); true when the system's sound panel is to be opened instead.
    bool PressPanel();

    // --- The format list of the chosen device.
    std::string DeviceName() const;
    // The test of the chosen entry; null path when the type has none.
    DriverPath* Path();
    FormatQuery Query(bool queryOnly, bool allChannels) const;
    // The stream's cell (sample rate and bit code, -32 for float), the bottom-right one when the
    // table has no such format.
    std::pair<int, int> CurrentCell() const;

private:
    void Refresh(bool reset);
    void RefreshDevice(bool reset);
    PlayDriverType Type() const { return static_cast<PlayDriverType>(settings_.playDriverType); }

    WavePlayRec& engine_;
    DriverTable& catalog_;
    AppSettings& settings_;
    Ui& ui_;
    int language_;
    int deviceCount_ = 0, channelCount_ = 0;
    std::vector<std::string> devices_, channels_;
};

} // namespace qv
