// The WASAPI device lists: the active render endpoints in the system's order (friendly name and
// identifier each, at most 30) and the number of capture endpoints, which are counted for the
// messages and never opened.
#pragma once

#include "engine/error_text.h"
#include "platform/win/gdi.h"

#include <mmdeviceapi.h>

#include <string>
#include <vector>

namespace qv {

class WasapiEndpoints {
public:
    static constexpr int kMaxListed = 30;

    // COM on the building thread for the lists' life: the renderer has no other reason to start
    // it, and the window's own initialisation is only counted once more.
    WasapiEndpoints() = default;
    WasapiEndpoints(const WasapiEndpoints&) = delete;
    WasapiEndpoints& operator=(const WasapiEndpoints&) = delete;

    // Rebuilds both lists, leaving the message of a missing direction in text (each overwrites
    // the last). True ("failed") when there is no enumerator or neither direction has one.
    bool Enumerate(ErrorText& text);
    // Lets go of the enumerator and the lists.
    void Release();

    // As the system counts them (the lists hold at most kMaxListed).
    int Count(bool input) const { return input ? inCount_ : outCount_; }
    // The friendly name of a render entry, in UTF-8; "" outside the list.
    std::string Name(int entry) const;
    bool HasEnumerator() const { return bool(enumerator_); }
    // The endpoint of a render entry; false when the entry is outside the list or the system
    // no longer finds it.
    bool Get(int entry, ComPtr<IMMDevice>& endpoint) const;

private:
    // Lists one direction; false when the listing failed or found nothing.
    bool List(EDataFlow flow, int& count, bool keep);

    ComScope com_;
    ComPtr<IMMDeviceEnumerator> enumerator_;
    int outCount_ = 0;
    int inCount_ = 0;
    std::vector<std::string> names_;
    std::vector<std::wstring> ids_;
};

} // namespace qv
