#include <gtest/gtest.h>

#include <numeric>

#include "mods/Reorder.h"

using namespace mods;

namespace {

struct Case {
    int line;
    std::vector<int> selected;
    ReorderCommand command;
    std::vector<int> expected;  // empty: the command does nothing
};

TEST(Reorder, TenRows)
{
    using C = ReorderCommand;
    const Case cases[] = {
        {__LINE__, {}, C::Top, {}},
        {__LINE__, {}, C::Up, {}},
        {__LINE__, {}, C::Down, {}},
        {__LINE__, {}, C::Bottom, {}},
        {__LINE__, {0, 5}, C::Top, {}},
        {__LINE__, {0, 5}, C::Up, {}},
        {__LINE__, {2, 5}, C::Up, {0, 2, 5, 1, 3, 4, 6, 7, 8, 9}},
        {__LINE__, {2, 5}, C::Down, {0, 1, 3, 4, 6, 2, 5, 7, 8, 9}},
        {__LINE__, {3, 4}, C::Down, {0, 1, 2, 5, 3, 4, 6, 7, 8, 9}},
        {__LINE__, {3, 4}, C::Up, {0, 1, 3, 4, 2, 5, 6, 7, 8, 9}},
        {__LINE__, {3, 9}, C::Down, {0, 1, 2, 4, 5, 6, 7, 8, 3, 9}},
        {__LINE__, {8, 9}, C::Down, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {__LINE__, {8, 9}, C::Bottom, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {__LINE__, {3, 7}, C::Top, {3, 7, 0, 1, 2, 4, 5, 6, 8, 9}},
        {__LINE__, {3, 7}, C::Bottom, {0, 1, 2, 4, 5, 6, 8, 9, 3, 7}},
        {__LINE__, {0, 5}, C::Down, {1, 2, 3, 4, 6, 0, 5, 7, 8, 9}},
        {__LINE__, {9}, C::Up, {0, 1, 2, 3, 4, 5, 6, 7, 9, 8}},
    };
    std::vector<int> rows(10);
    std::iota(rows.begin(), rows.end(), 0);
    for (const Case& c : cases) {
        const std::optional<int> target = ReorderTarget(10, c.selected, c.command);
        if (c.expected.empty()) {
            EXPECT_FALSE(target) << "line " << c.line;
            continue;
        }
        ASSERT_TRUE(target) << "line " << c.line;
        EXPECT_EQ(ApplyReorder(rows, c.selected, *target), c.expected) << "line " << c.line;
    }
}

TEST(Reorder, DroppedBeforeARow)
{
    struct DropCase {
        int line;
        std::vector<int> selected;
        int insertBefore;
        std::vector<int> expected;  // empty: the drop changes nothing
    };
    const DropCase cases[] = {
        {__LINE__, {}, 3, {}},
        {__LINE__, {3, 4}, 3, {}},   // onto its own place
        {__LINE__, {3, 4}, 5, {}},   // just below itself
        {__LINE__, {3, 4}, 11, {}},  // past the end
        {__LINE__, {3, 4}, 0, {3, 4, 0, 1, 2, 5, 6, 7, 8, 9}},
        {__LINE__, {3, 4}, 7, {0, 1, 2, 5, 6, 3, 4, 7, 8, 9}},
        {__LINE__, {3, 4}, 10, {0, 1, 2, 5, 6, 7, 8, 9, 3, 4}},
        {__LINE__, {1, 6}, 4, {0, 2, 3, 1, 6, 4, 5, 7, 8, 9}},  // gathered around the gap
        {__LINE__, {1, 6}, 2, {0, 1, 6, 2, 3, 4, 5, 7, 8, 9}},
    };
    std::vector<int> rows(10);
    std::iota(rows.begin(), rows.end(), 0);
    for (const DropCase& c : cases) {
        const std::optional<int> target = DropTarget(10, c.selected, c.insertBefore);
        if (c.expected.empty()) {
            EXPECT_FALSE(target) << "line " << c.line;
            continue;
        }
        ASSERT_TRUE(target) << "line " << c.line;
        EXPECT_EQ(ApplyReorder(rows, c.selected, *target), c.expected) << "line " << c.line;
    }
}

}  // namespace
