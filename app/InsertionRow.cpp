#include "app/InsertionRow.h"

int InsertionRow(int y, const RowsInView& rows)
{
    if (rows.count <= 0 || rows.rowHeight <= 0)
        return 0;
    const int offset = y - rows.topRowEdge + rows.rowHeight / 2;
    const int row = rows.topRow + (offset < 0 ? -1 : offset / rows.rowHeight);
    return row < 0 ? 0 : (row > rows.count ? rows.count : row);
}
