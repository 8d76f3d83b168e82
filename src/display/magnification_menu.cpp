#include "display/magnification_menu.h"

#include <span>

namespace qv {

namespace {

struct Factor {
    const char* text;
    int32_t factor;
};
constexpr Factor kTimeFactors[] = {{" x1", 1}, {" x2", 2}, {" x4", 4}, {"x10", 10}, {"x20", 20}};
constexpr Factor kLevelFactors[] = {{" x1", 1},  {" x2", 2},  {" x4", 4},
                                    {"x10", 10}, {"x20", 20}, {"x100", 100}};

} // namespace

Menu MagnificationMenu(bool timeAxis, int32_t& rate) {
    Menu menu;
    for (const Factor& f : timeAxis ? std::span<const Factor>(kTimeFactors) : kLevelFactors)
        menu.push_back({f.text, [&rate, f] { rate = f.factor; }, f.factor == rate});
    return menu;
}

} // namespace qv
