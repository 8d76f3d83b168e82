#include "platform/win/dropped_file.h"

#include "platform/win/text_conversion.h"

namespace qv {

std::string TakeDroppedFile(HDROP drop, size_t maxLength) {
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring name(length + 1, L'\0');
    const bool got =
        length > 0 && length <= maxLength && DragQueryFileW(drop, 0, name.data(), length + 1) > 0;
    DragFinish(drop);
    if (!got)
        return {};
    name.resize(length);
    return WideToUtf8(name);
}

} // namespace qv
