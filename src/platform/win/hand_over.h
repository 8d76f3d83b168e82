// The hand-over of a command line from a second start of the program to the running one: a
// WM_COPYDATA message to the running instance's main window, wParam the sending window (0 here).
//
// Two records are understood:
//   dwData 0                 the documented record: lpData the command line in the system code
//                            page, terminated by a zero byte, cbData its length + 1; at most 359
//                            bytes of it are taken.
//   dwData kHandOverUtf16    the command line in UTF-16, cbData its size in bytes (a terminating
//                            zero may follow); at most 359 characters of it are taken.
// SendHandOver sends the documented record when it carries the text without loss (the code
// page spells every character and the text fits its 359 bytes), so that a running instance that
// knows only that record still understands it; otherwise the UTF-16 record.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace qv {

// "QVUW": the UTF-16 hand-over record.
inline constexpr ULONG_PTR kHandOverUtf16 = 0x51565557;

// The longest command line handed over or kept, in characters.
inline constexpr size_t kCommandLineLimit = 359;

// The record SendHandOver sends for a UTF-8 command line, with the text it points to.
class HandOverRecord {
public:
    explicit HandOverRecord(const std::string& utf8CommandLine);
    HandOverRecord(const HandOverRecord&) = delete;
    HandOverRecord& operator=(const HandOverRecord&) = delete;
    const COPYDATASTRUCT& Data() const { return data_; }

private:
    std::string ansi_;
    std::wstring wide_;
    COPYDATASTRUCT data_{};
};

// Sends the UTF-8 command line to target; the receiver's answer.
LRESULT SendHandOver(HWND target, const std::string& utf8CommandLine);

// The command line of a received record as UTF-8; "" for a record of another kind.
std::string ReadHandOver(const COPYDATASTRUCT& data);

// A process's command line without the program's name and the blanks after it, cut to
// kCommandLineLimit characters (a character outside the basic plane is not split), as UTF-8.
std::string CommandLineArguments(std::wstring_view commandLine);

} // namespace qv
