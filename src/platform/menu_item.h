// A popup menu as data: items with their text in the window's language, what choosing them does,
// and their checked and enabled state read from the model when the menu is built. A window shows
// the items and runs the chosen one's action; tests find items by their text and run them.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

struct MenuItem {
    std::string text; // UTF-8
    std::function<void()> action = {};
    bool checked = false;
    bool enabled = true;
    std::vector<MenuItem> sub = {}; // a sub-menu (its own action is unused)
};

using Menu = std::vector<MenuItem>;

// The item reached by following texts through sub-menus; null when there is none.
inline const MenuItem* FindMenuItem(const Menu& menu,
                                    std::initializer_list<std::string_view> path) {
    const Menu* level = &menu;
    const MenuItem* found = nullptr;
    for (std::string_view text : path) {
        found = nullptr;
        for (const MenuItem& item : *level) {
            if (item.text == text)
                found = &item;
        }
        if (!found)
            return nullptr;
        level = &found->sub;
    }
    return found;
}

} // namespace qv
