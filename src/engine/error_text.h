// The engine's one line of error text. A fixed buffer, so that the playback thread can set it
// without allocating.
#pragma once

#include <string>

namespace qv {

class ErrorText {
public:
    void Clear() { text_[0] = '\0'; }
    bool Empty() const { return text_[0] == '\0'; }
    const char* Get() const { return text_; }
    std::string Str() const { return text_; }
    void Set(const char* text);
    // printf-style; longer texts are cut at the buffer's end.
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));

private:
    char text_[256] = {};
};

} // namespace qv
