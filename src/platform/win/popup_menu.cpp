#include "platform/win/popup_menu.h"

#include "platform/win/text_conversion.h"

#include <string>
#include <vector>

namespace qv {

namespace {

void AppendItems(HMENU menu, const Menu& items, std::vector<const MenuItem*>& ids) {
    for (const MenuItem& item : items) {
        const std::wstring text = Utf8ToWide(item.text);
        const UINT state = (item.checked ? MF_CHECKED : 0) | (item.enabled ? 0 : MF_GRAYED);
        if (item.sub.empty()) {
            ids.push_back(&item);
            AppendMenuW(menu, MF_STRING | state, ids.size(), text.c_str());
        } else {
            const HMENU sub = CreatePopupMenu();
            AppendItems(sub, item.sub, ids);
            AppendMenuW(menu, MF_POPUP | state, reinterpret_cast<UINT_PTR>(sub), text.c_str());
        }
    }
}

} // namespace

bool RunPopupMenu(HWND owner, const Menu& items, POINT screen) {
    if (items.empty())
        return false;
    // The items' commands are their places in the table: 1, 2, ... in the order shown.
    std::vector<const MenuItem*> ids;
    const HMENU menu = CreatePopupMenu();
    AppendItems(menu, items, ids);
    const auto chosen =
        static_cast<size_t>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                           screen.x, screen.y, 0, owner, nullptr));
    DestroyMenu(menu);
    if (chosen == 0 || chosen > ids.size() || !ids[chosen - 1]->action)
        return false;
    ids[chosen - 1]->action();
    return true;
}

} // namespace qv
