// The main window's layout table: every control inside its parent, no two that can be seen
// together overlapping, every caption and list item fitting its control in the 6 x 12 font.
#include "app/main_controls.h"
#include "app/main_layout.h"
#include "generator/generator.h"
#include "generator/item_lists.h"

#include <gtest/gtest.h>

#include <set>

namespace qv {
namespace {

bool Inside(const LayoutRect& a, const LayoutRect& outer) {
    return a.x >= outer.x && a.y >= outer.y && a.x + a.w <= outer.x + outer.w &&
           a.y + a.h <= outer.y + outer.h;
}

bool Overlap(const LayoutRect& a, const LayoutRect& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

// The room a text has in a control of the 6 x 12 font, in pixels.
int Room(const LayoutRow& r) {
    switch (r.kind) {
    case ControlKind::Button:
        return r.rect.w - 8;
    case ControlKind::CheckBox:
        return r.rect.w - 16;
    case ControlKind::DropList:
    case ControlKind::DropEdit:
        return r.rect.w - 23; // the arrow and the borders
    default:
        return r.rect.w;
    }
}

TEST(MainLayoutTest, ControlsStayInsideTheirParentsAndApart) {
    const auto rows = MainLayout();
    std::set<int> ids;
    for (const LayoutRow& r : rows) {
        EXPECT_TRUE(ids.insert(r.id).second) << r.id;
        const LayoutRect parent = r.parent == LayoutParent::Window
                                      ? kMainClientArea
                                      : LayoutRect{0, 0, kPageArea.w, kPageArea.h};
        EXPECT_TRUE(Inside(r.rect, parent)) << r.id;
    }
    EXPECT_TRUE(Inside(kPageArea, kMainClientArea));
    for (const LayoutRow& a : rows) {
        for (const LayoutRow& b : rows) {
            if (&a >= &b || a.parent != b.parent || !Overlap(a.rect, b.rect))
                continue;
            const bool together = a.exclusion == 0 || a.exclusion != b.exclusion;
            const bool contained = ((a.kind == ControlKind::GroupBox ||
                                     a.kind == ControlKind::Panel || a.kind == ControlKind::Tab) &&
                                    Inside(b.rect, a.rect)) ||
                                   ((b.kind == ControlKind::GroupBox ||
                                     b.kind == ControlKind::Panel || b.kind == ControlKind::Tab) &&
                                    Inside(a.rect, b.rect));
            EXPECT_TRUE(!together || contained) << a.id << " overlaps " << b.id;
        }
    }
}

TEST(MainLayoutTest, EveryCaptionAndItemFitsInBothLanguages) {
    for (int lang : {kJapanese, kEnglish}) {
        Generator g;
        MainControls c(g, lang);
        for (const LayoutRow& r : MainLayout()) {
            if (r.kind != ControlKind::Tab && r.kind != ControlKind::GroupBox) {
                EXPECT_LE(6 * TextCellsUtf8(r.caption(lang)), Room(r)) << r.id << " " << lang;
            }
            std::vector<const char*> texts;
            if (r.role == RowRole::Slot) {
                for (const char* item : c.Items(r.slot, r.slotControl))
                    texts.push_back(item);
            } else if (r.role == RowRole::Toolbar) {
                for (const char* item : c.ToolbarItems(r.toolbarControl))
                    texts.push_back(item);
            }
            // Every unit's list and label, by switching the units through.
            if (r.role == RowRole::FreqUnit || r.slotControl == SlotControl::Freq) {
                for (int unit : {0, 1}) {
                    for (const char* item : FreqItems(unit))
                        texts.push_back(item);
                    if (r.role == RowRole::FreqUnit) {
                        EXPECT_LE(6 * TextCellsShiftJis(FreqUnitLabel(unit)), r.rect.w);
                    }
                }
            }
            if (r.role == RowRole::AmpUnit || r.role == RowRole::OffsetUnit ||
                r.slotControl == SlotControl::Amp || r.slotControl == SlotControl::Offset) {
                for (int unit : {0, 1, 2}) {
                    for (const char* item : LevelItems(unit))
                        texts.push_back(item);
                    if (r.kind == ControlKind::UnitLabel) {
                        EXPECT_LE(6 * TextCellsShiftJis(LevelUnitLabel(unit, lang)), r.rect.w);
                    }
                }
            }
            if (r.slotControl == SlotControl::OutCh) {
                for (int channels = 1; channels <= 8; ++channels)
                    for (const char* item : OutChTexts(channels))
                        texts.push_back(item);
            }
            if (r.kind != ControlKind::DropList && r.kind != ControlKind::DropEdit)
                continue;
            for (const char* text : texts)
                EXPECT_LE(6 * TextCellsShiftJis(text), Room(r)) << r.id << " " << text;
        }
    }
}

} // namespace
} // namespace qv
