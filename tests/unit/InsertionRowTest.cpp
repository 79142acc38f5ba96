// Where rows dragged in a list land, for pointers over, between, above and
// below the rows in view.

#include <gtest/gtest.h>

#include "app/InsertionRow.h"

namespace {

struct Case {
    int line;
    int y;
    RowsInView rows;
    int expected;
};

TEST(InsertionRow, TheRowTheDraggedRowsLandBefore)
{
    const RowsInView top{0, 24, 20, 10};       // rows 0 to 9, row 0's top at 24
    const RowsInView scrolled{30, 24, 20, 50};  // row 30 at the top, 30 rows above it
    const Case cases[] = {
        {__LINE__, 24, top, 0},          // row 0's upper half: before it
        {__LINE__, 33, top, 0},
        {__LINE__, 34, top, 1},          // its middle and below: after it
        {__LINE__, 53, top, 1},
        {__LINE__, 14, top, 0},          // over the header, within half a row
        {__LINE__, 13, top, 0},          // above that: still the first row
        {__LINE__, 223, top, 10},        // the last row's lower half: after it
        {__LINE__, 900, top, 10},        // below the rows
        {__LINE__, 24, scrolled, 30},
        {__LINE__, 13, scrolled, 29},    // above the view: one row up, the scroll does the rest
        {__LINE__, -400, scrolled, 29},
        {__LINE__, 75, scrolled, 33},
        {__LINE__, 900, scrolled, 50},
        {__LINE__, 30, RowsInView{0, 24, 20, 0}, 0},   // no rows
        {__LINE__, 30, RowsInView{0, 24, 0, 10}, 0},   // no height known
    };
    for (const Case& c : cases)
        EXPECT_EQ(InsertionRow(c.y, c.rows), c.expected) << "line " << c.line;
}

}  // namespace
