#include "engine/error_text.h"

#include <cstdarg>
#include <cstdio>

namespace qv {

void ErrorText::Set(const char* text) {
    std::snprintf(text_, sizeof text_, "%s", text ? text : "");
}

void ErrorText::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vsnprintf(text_, sizeof text_, format, args);
    va_end(args);
}

} // namespace qv
