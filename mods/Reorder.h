#pragma once
// Moving the selected rows of the mod list as one block.

#include <optional>
#include <vector>

namespace mods {

enum class ReorderCommand { Top, Up, Down, Bottom };

// Where the block of selected rows (ascending indices, not necessarily
// adjacent) goes among `rowCount` rows: its first row's index in the new
// order. Empty when the command does nothing (no selection, or top and up
// with row 0 selected).
std::optional<int> ReorderTarget(int rowCount, const std::vector<int>& selected, ReorderCommand command);

// The same for a block dragged to land before row `insertBefore` of the
// current order (rowCount: after the last row). Empty when it lands where
// it already is.
std::optional<int> DropTarget(int rowCount, const std::vector<int>& selected, int insertBefore);

// The rows in their new order: the selected ones, in their order, as one
// block starting at `target`, the others around it in theirs.
template <class Row>
std::vector<Row> ApplyReorder(const std::vector<Row>& rows, const std::vector<int>& selected, int target)
{
    std::vector<Row> block, rest;
    std::size_t next = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (next < selected.size() && selected[next] == static_cast<int>(i)) {
            block.push_back(rows[i]);
            ++next;
        } else {
            rest.push_back(rows[i]);
        }
    }
    rest.insert(rest.begin() + target, block.begin(), block.end());
    return rest;
}

}  // namespace mods
