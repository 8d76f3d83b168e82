// "TFilterConfigForm": the filter editor's window, a view of the session's filter editor. Its
// plot shows the drawn points over the designed response; the mouse adds, drags and (from the
// point menu) deletes points or sets slopes; the controls above set the filter's length, window
// and oversampling, and open and save filter files (a .QVF dropped on the window opens too).
#pragma once

#include "app/filter_editor.h"
#include "app/program_session.h"
#include "app/win/float_form.h"
#include "platform/win/gdi.h"
#include "platform/win/hints.h"
#include "platform/win/layout_controls.h"
#include "platform/win/window.h"

#include <shellapi.h>

#include <memory>

namespace qv {

class FilterConfigForm final : public WindowBase, private SessionView {
public:
    // defaultAt: the top-left of the client area on the first showing when QV.INI keeps no
    // place for it.
    FilterConfigForm(HINSTANCE instance, HWND mainWindow, HFONT font, ProgramSession& session,
                     POINT defaultAt);
    ~FilterConfigForm() override;

    HWND Window() const { return Hwnd(); }
    HWND PlotWindow() const { return plot_.Hwnd(); }
    const FloatForm& Readout() const { return *float_; }
    // Every showing: the editor asks about a new sample rate and shows the design; the window
    // comes up where it was last (inside the work area).
    void Show();
    // Keeps its place and the comment, and goes out of sight (the filter went off).
    void Hide();
    // Escape closes the editor, F1 opens the help, Tab moves between its controls; true when
    // the message was taken.
    bool PreTranslate(const MSG& msg);
    // Its place and the comment go to the settings while it is shown (the program is ending).
    void KeepPlace();
    // Saves its place, and lets the filter go off (the close box, Close, Escape).
    void CloseByUser();

private:
    class Plot final : public WindowBase {
    public:
        explicit Plot(FilterConfigForm& form) : form_(form) {}
        void Create(HINSTANCE instance, HWND parent);
        void Paint();

    private:
        FilterConfigForm& form_;
        bool tracking_ = false;
    };

    void SessionChanged(const SessionChanges& changes) override;
    void BuildControls();
    void DpiChanged() override;
    void PlaceFirst(POINT defaultAt);
    void Relayout();
    RECT PlotRect() const; // the plot's panel in client pixels
    void ShowState();
    void ShowEnabled();
    void OnCommand(int id, int code);
    void PaintAxes(HDC dc);
    void ShowReadout();
    void OpenFile();
    void SaveFile();
    void OnDrop(HDROP drop);
    void RecordPlace();
    std::string FieldText(int id) const;
    // Escape or F1: handled, true.
    bool OwnKey(WPARAM key);

    HINSTANCE instance_;
    HWND main_;
    ProgramSession& session_;
    FilterEditor& editor_;
    HFONT baseFont_;
    UINT fontDpi_;
    Font scaledFont_;
    LayoutControls controls_;
    Hints hints_;
    Plot plot_{*this};
    std::unique_ptr<FloatForm> float_;
    Brush panelBrush_;
    bool showing_ = false; // writing into its own controls
    bool closing_ = false;
};

} // namespace qv
