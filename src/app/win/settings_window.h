// A small modal settings window built from a table of controls (96-DPI pixels of its client
// area, captions in both languages), placed at a screen point inside the work area. Esc, the
// close box or the derived window's own Close end it; every change is the derived window's.
#pragma once

#include "platform/language.h"

#include <windows.h>

#include <functional>
#include <span>
#include <string>

namespace qv {

struct SettingsRow {
    int id;
    const wchar_t* cls;
    DWORD style;
    RECT rect; // left, top, width, height
    Text2 caption;
};

class SettingsWindow {
public:
    SettingsWindow(HINSTANCE instance, HWND owner, HFONT font, int languageIndex,
                   const wchar_t* caption, SIZE client, std::span<const SettingsRow> rows,
                   POINT at);
    virtual ~SettingsWindow();
    SettingsWindow(const SettingsWindow&) = delete;
    SettingsWindow& operator=(const SettingsWindow&) = delete;

    // Shows the window with its owner disabled until it is closed.
    void RunModal();
    HWND Window() const { return hwnd_; }
    HWND Control(int id) const { return GetDlgItem(hwnd_, id); }
    static constexpr int kCloseId = IDOK; // the Close button (Enter as well)

protected:
    // A control's notification, once the derived window is built (Ready) and not while it
    // writes into its own controls (Showing); true when it changed a setting.
    virtual bool OnCommand(int id, int code) = 0;
    // After a change: the window shows it and hands it on.
    virtual void AfterChange() = 0;
    void Ready() { ready_ = true; }
    void Close() { closed_ = true; }
    // The item chosen in a drop-down list with a field (on a selection change) or its text.
    std::string ChosenText(int box, int code) const;
    // Fills a drop-down list and sets its field, without notifications reaching OnCommand.
    void Fill(int box, std::span<const char* const> items, const std::string& text);
    void SetText(int box, const std::string& text);

    struct Showing { // writes into the controls that are not the user's edits
        explicit Showing(SettingsWindow& w) : w(w), was(w.showing_) { w.showing_ = true; }
        ~Showing() { w.showing_ = was; }
        SettingsWindow& w;
        bool was;
    };

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM w, LPARAM l);

    HWND owner_;
    HWND hwnd_ = nullptr;
    bool ready_ = false, showing_ = false, closed_ = false;
};

// A settings window over one settings record, handed to changed after every change.
template <typename Record> class RecordWindow : public SettingsWindow {
public:
    using Changed = std::function<void(const Record&)>;
    const Record& Settings() const { return settings_; }

protected:
    RecordWindow(HINSTANCE instance, HWND owner, HFONT font, int languageIndex,
                 const wchar_t* caption, SIZE client, std::span<const SettingsRow> rows, POINT at,
                 const Record& settings, Changed changed)
        : SettingsWindow(instance, owner, font, languageIndex, caption, client, rows, at),
          settings_(settings), changed_(std::move(changed)) {}
    // Puts the record into the controls that follow it.
    virtual void ShowState() = 0;
    void AfterChange() override {
        ShowState();
        if (changed_)
            changed_(settings_);
    }

    Record settings_;

private:
    Changed changed_;
};

} // namespace qv
