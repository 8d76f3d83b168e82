// Every private window message and timer of the program, in one place.
#pragma once

#include <windows.h>

namespace qv {

// The playback thread asks the main thread to run one of its steps (wParam: the step, lParam:
// the engine) and waits for it.
inline constexpr UINT kMsgRunMainStep = WM_APP + 1;
// A file opened with "/P" starts playing (a posted Space key-down, as it were).
inline constexpr UINT kMsgAutoPlay = WM_APP + 2;
// Posted by the main window's first activation, so the work runs once the window is up.
inline constexpr UINT kMsgFirstActivation = WM_APP + 3;
// Posted by the format list when it is shown: the format test runs once the window is up.
inline constexpr UINT kMsgRunFormatTest = WM_APP + 4;
// Posted by the user-wave window when it is shown: its first load runs once the window is up.
inline constexpr UINT kMsgUserWaveStart = WM_APP + 5;
// Posted by the main window to itself for a command line a second start handed over: the second
// start's SendMessage returns at once, whatever the open then shows.
inline constexpr UINT kMsgHandedOver = WM_APP + 6;
// Answered by the main window with the playback thread's longest wait for its display step in
// the current or last playback, in microseconds (read by the responsiveness probe).
inline constexpr UINT kMsgDisplayWaitQuery = WM_APP + 20;
// The device engine's notifications: its playback thread has begun, and has finished.
inline constexpr UINT kMsgPlaybackBegins = WM_APP + 0x64; // 0x8064
inline constexpr UINT kMsgPlaybackEnds = WM_APP + 0x65;   // 0x8065

// The main window's timer that ends a "/P" playback.
inline constexpr UINT_PTR kTimerAutoPlay = 1;
// The point window snaps a typed frequency a second after the last key.
inline constexpr UINT_PTR kTimerPointSnap = 2;
// The user-wave window's countdown before it closes by itself.
inline constexpr UINT_PTR kTimerUserWaveCountdown = 3;
// The main window looks again for a file that arrived while a modal window was up.
inline constexpr UINT_PTR kTimerOpenPending = 4;

} // namespace qv
