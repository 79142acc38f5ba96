#pragma once
// Where rows dragged inside a list land, from the pointer's height over the
// rows in view. No window in it: the drag asks it at every move.

// The rows in view: the index of the top one and where its top edge is, the
// height of each row, and how many rows the list holds.
struct RowsInView {
    int topRow = 0;
    int topRowEdge = 0;
    int rowHeight = 0;
    int count = 0;
};

// The row the dragged rows would land before, with the pointer at height
// `y` (the row count: after the last row). Above a row's middle they land
// before it, below it after it; past either end, at that end.
int InsertionRow(int y, const RowsInView& rows);
