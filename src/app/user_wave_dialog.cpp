#include "app/user_wave_dialog.h"

#include "app/user_wave_layout.h"

namespace qv {

namespace {

// The stored text when the list holds it and may keep it, else the first item.
int Selection(const std::vector<UserWaveItem>& items, const std::string& stored, bool keep) {
    if (items.empty())
        return -1;
    for (size_t i = 0; keep && i < items.size(); ++i) {
        if (items[i].text == stored)
            return static_cast<int>(i);
    }
    return 0;
}

} // namespace

UserWaveDialog::UserWaveDialog(UserWaveSet& set, int master, int languageIndex)
    : set_(set), master_(master), language_(languageIndex) {
    modSignals_.visible = master_ == 4;
}

std::string UserWaveDialog::Caption(const std::string& appTitle) const {
    return appTitle + " - " + kUserWaveTitle(language_) + " " + std::to_string(master_ + 1);
}

void UserWaveDialog::Show(const UserWaveLoadEnvironment& env) {
    const auto request = static_cast<UserWaveRequest>(set_.registerRequest);
    requested_ = request == UserWaveRequest::Deferred || request == UserWaveRequest::FromParamFile;
    if (request != UserWaveRequest::Chosen)
        Load(request, env);
    else
        FillLists();
}

void UserWaveDialog::Choose(const std::string& path, const UserWaveLoadEnvironment& env) {
    set_.userWavePath = path;
    requested_ = false;
    Load(UserWaveRequest::Chosen, env);
}

void UserWaveDialog::Load(UserWaveRequest request, const UserWaveLoadEnvironment& env) {
    loading_ = true;
    if (request != UserWaveRequest::Chosen) {
        channels_.items.clear();
        modSignals_.items.clear();
    }
    newFile_ = LoadUserWave(set_, request, env);
    loading_ = false;
    FillLists();
    countdown_ = request == UserWaveRequest::FromParamFile ? 2 : 0;
}

void UserWaveDialog::FillLists() {
    const bool registered = set_.userWaveFrames > 0;
    const int channels = registered ? set_.userWaveChannels : 0;
    // After a new file the first items, unless a requested registration keeps what the set
    // chose.
    const bool keep = !newFile_ || requested_;
    channels_.items = registered ? ChannelSelectionItems(channels) : std::vector<UserWaveItem>{};
    channels_.selected = Selection(channels_.items, set_.channelSelectionText, keep);
    channels_.enabled = registered && channels > 1;
    modSignals_.items =
        registered && master_ == 4 ? ModSignalItems(channels) : std::vector<UserWaveItem>{};
    modSignals_.selected = Selection(modSignals_.items, set_.modSignalSelectionText, keep);
    modSignals_.enabled = !modSignals_.items.empty();
}

void UserWaveDialog::SelectChannel(int index) {
    if (index >= 0 && index < static_cast<int>(channels_.items.size()))
        channels_.selected = index;
}

void UserWaveDialog::SelectModSignal(int index) {
    if (index >= 0 && index < static_cast<int>(modSignals_.items.size()))
        modSignals_.selected = index;
}

bool UserWaveDialog::Tick() {
    if (countdown_ <= 0)
        return false;
    return --countdown_ == 0;
}

void UserWaveDialog::Close() {
    countdown_ = 0;
    const auto store = [](const List& list, std::string& text, int32_t& code) {
        if (list.selected < 0)
            return;
        text = list.items[static_cast<size_t>(list.selected)].text;
        code = list.items[static_cast<size_t>(list.selected)].code;
    };
    store(channels_, set_.channelSelectionText, set_.channelSelection);
    if (master_ == 4)
        store(modSignals_, set_.modSignalSelectionText, set_.modSignalSelection);
}

std::string UserWaveDialog::InfoLine() const {
    return UserWaveInfoLine(set_, language_);
}

} // namespace qv
