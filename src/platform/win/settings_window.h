// A small modal settings window built from its layout table (96-DPI pixels of its client area,
// captions in both languages, list items), placed at a screen point inside the work area. Esc,
// the close box or the Close button end it; every change is the derived window's.
#pragma once

#include "platform/language.h"
#include "platform/win/gdi.h"
#include "platform/win/hints.h"
#include "platform/win/layout_controls.h"
#include "platform/win/window.h"

#include <windows.h>

#include <functional>
#include <string>

namespace qv {

class SettingsWindow : public WindowBase {
public:
    SettingsWindow(HINSTANCE instance, HWND owner, HFONT font, int languageIndex, Text2 caption,
                   const WindowLayout& layout, POINT at);
    ~SettingsWindow() override = default;

    // Shows the window with its owner disabled until it is closed.
    void RunModal();
    HWND Window() const { return Hwnd(); }
    HWND Control(int id) const { return controls_.Find(id); }
    // The window was closed by Esc, its close box or a Cancel button (IDCANCEL), not by Enter.
    bool Cancelled() const { return cancelled_; }
    static constexpr int kCloseId = kCloseButtonId; // IDOK: Enter as well

protected:
    // A control's notification, once the derived window is built (Ready) and not while it
    // writes into its own controls (Showing); true when it changed a setting.
    virtual bool OnCommand(int id, int code) = 0;
    // After a change: the window shows it and hands it on.
    virtual void AfterChange() = 0;
    // Esc, the close box or the Close button: true lets the window close.
    virtual bool OnClose() { return true; }
    // The place of a table cell the window makes itself (a custom control), in pixels.
    RECT CellRect(int id) const;
    // A control's tooltip (UTF-8).
    void SetHint(int id, const std::string& text);
    HFONT ShownFont() const { return scaledFont_ ? scaledFont_.Get() : baseFont_; }
    void Ready() { ready_ = true; }
    void Close() { closed_ = true; }
    // The item chosen in a drop-down list with a field (on a selection change) or its text.
    std::string ChosenText(int box, int code) const;
    void SetText(int box, const std::string& text);

    struct Showing { // writes into the controls that are not the user's edits
        explicit Showing(SettingsWindow& w) : w(w), was(w.showing_) { w.showing_ = true; }
        ~Showing() { w.showing_ = was; }
        SettingsWindow& w;
        bool was;
    };

private:
    void DpiChanged() override;
    SIZE FrameSize() const;

    HWND owner_;
    Hints hints_;
    const WindowLayout& layout_;
    LayoutControls controls_;
    HFONT baseFont_;
    UINT fontDpi_;
    Font scaledFont_; // the owner's font at this window's DPI, once it differs
    bool ready_ = false, showing_ = false, closed_ = false, cancelled_ = false;
};

// A settings window over one settings record, handed to changed after every change.
template <typename Record> class RecordWindow : public SettingsWindow {
public:
    using Changed = std::function<void(const Record&)>;
    const Record& Settings() const { return settings_; }

protected:
    RecordWindow(HINSTANCE instance, HWND owner, HFONT font, int languageIndex, Text2 caption,
                 const WindowLayout& layout, POINT at, const Record& settings, Changed changed)
        : SettingsWindow(instance, owner, font, languageIndex, caption, layout, at),
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
