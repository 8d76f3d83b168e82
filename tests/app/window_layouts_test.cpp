// Every window's table holds the layout rules, and the check finds each kind of fault.
#include "app/window_layouts.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(WindowLayoutsTest, EveryWindowsTableHolds) {
    for (const WindowLayout* layout : ProgramWindowLayouts())
        EXPECT_EQ(CheckLayout(*layout), std::vector<std::string>{}) << layout->name;
}

TEST(WindowLayoutsTest, TheCheckFindsEachFault) {
    constexpr const char* kLong[] = {"a list item too long"};
    const struct {
        LayoutCell second;
        const char* fault;
    } cases[] = {
        {{2, ControlKind::Button, 0, {30, 0, 40, 20}, {"", ""}}, "overlaps"},
        {{2, ControlKind::Button, 0, {90, 0, 40, 20}, {"", ""}}, "outside its area"},
        {{2, ControlKind::Button, 0, {50, 0, 40, 20}, {"", "Too wide"}}, "does not fit"},
        {{2, ControlKind::DropList, 0, {50, 0, 40, 20}, {"", ""}, 0, kLong}, "does not fit"},
        {{1, ControlKind::Label, 0, {50, 0, 40, 20}, {"", ""}}, "id used twice"},
        {{2, ControlKind::Label, 3, {0, 0, 10, 10}, {"", ""}}, "no such area"},
    };
    for (const auto& c : cases) {
        const WindowLayout layout{
            "test", {0, 0, 100, 50}, {}, {{1, ControlKind::Button, 0, {0, 0, 40, 20}}, c.second}};
        const auto faults = CheckLayout(layout);
        ASSERT_EQ(faults.size(), 1u) << c.fault;
        EXPECT_NE(faults[0].find(c.fault), std::string::npos) << faults[0];
    }
    // Cells that are never seen together may share their place.
    const WindowLayout shared{"test",
                              {0, 0, 100, 50},
                              {},
                              {{1, ControlKind::Button, 0, {0, 0, 40, 20}, {"", ""}, 7},
                               {2, ControlKind::Progress, 0, {0, 0, 40, 20}, {"", ""}, 7}}};
    EXPECT_TRUE(CheckLayout(shared).empty());
}

} // namespace
} // namespace qv
