// What the user-wave window shows and does, without the window: the caption, the file and its
// info line, the channel lists with their selection, the load a showing starts with, the
// countdown of a registration that closes by itself, and what closing stores.
#pragma once

#include "app/user_wave_loader.h"
#include "generator/user_wave_lists.h"
#include "generator/user_wave_set.h"

#include <string>
#include <vector>

namespace qv {

class UserWaveDialog {
public:
    // master: 0 (Wave1) or 4 (Wave5); the set's registerRequest says how the showing starts.
    UserWaveDialog(UserWaveSet& set, int master, int languageIndex);

    // "Quorvale - User wave 5".
    std::string Caption(const std::string& appTitle) const;

    // The showing: a requested registration loads the set's path, otherwise the registered
    // file is shown as it is.
    void Show(const UserWaveLoadEnvironment& env);
    // A file chosen with "Open" or dropped on the window.
    void Choose(const std::string& path, const UserWaveLoadEnvironment& env);
    void SelectChannel(int index);
    void SelectModSignal(int index);
    // One second of the countdown; true when it has run out and the window closes.
    bool Tick();
    // The window closes: the chosen texts and their codes go into the set (an empty list
    // stores nothing).
    void Close();

    const std::string& Path() const { return set_.userWavePath; }
    // "" when nothing is registered.
    std::string InfoLine() const;
    bool Loading() const { return loading_; }
    // The seconds left before the window closes by itself; 0 when it stays.
    int Countdown() const { return countdown_; }

    struct List {
        std::vector<UserWaveItem> items;
        int selected = -1;
        bool enabled = false;
        bool visible = true;
    };
    const List& Channels() const { return channels_; }
    const List& ModSignals() const { return modSignals_; }

private:
    void Load(UserWaveRequest request, const UserWaveLoadEnvironment& env);
    void FillLists();

    UserWaveSet& set_;
    int master_;
    int language_;
    bool requested_ = false; // the showing loads what it was asked to
    bool newFile_ = false;
    bool loading_ = false;
    int countdown_ = 0;
    List channels_, modSignals_;
};

} // namespace qv
