// What the engine finds out about the system when it is built: whether DirectX 7 is there,
// whether the system is new enough for WASAPI, and the MMCSS entry points of Avrt.dll that the
// WASAPI path needs for its thread.
#pragma once

#include "engine/error_text.h"

namespace qv {

class Ui;

// DDRAW.DLL creates a DirectDraw 7 object (released at once); the library is freed either way.
bool ProbeDirectX7();

// Windows Vista SP1 or later: major version above 5, but not 6.0 without a service pack.
bool OsHasWasapi(unsigned major, unsigned minor, unsigned servicePackMajor);
// The same for the running system, from the kernel's own version record (the compatibility
// layer of the ordinary version call would lie to a program without a manifest).
bool ProbeOsHasWasapi();

// Avrt.dll with its two entry points. Load leaves the message of a failure in text and keeps
// nothing; the library is freed at destruction, where a failure is shown through ui (a box
// without owner, caption "WavePlayRec").
class AvrtLibrary {
public:
    using SetCharacteristics = void*(__stdcall*)(const char* task, unsigned long* taskIndex);
    using RevertCharacteristics = int(__stdcall*)(void* handle);

    explicit AvrtLibrary(Ui& ui) : ui_(ui) {}
    ~AvrtLibrary();
    AvrtLibrary(const AvrtLibrary&) = delete;
    AvrtLibrary& operator=(const AvrtLibrary&) = delete;

    bool Load(ErrorText& text);
    bool Loaded() const { return module_ != nullptr; }
    SetCharacteristics setCharacteristics = nullptr;
    RevertCharacteristics revertCharacteristics = nullptr;

private:
    Ui& ui_;
    void* module_ = nullptr;
};

} // namespace qv
