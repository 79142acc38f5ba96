#include "mods/Reorder.h"

namespace mods {

std::optional<int> ReorderTarget(int rowCount, const std::vector<int>& selected, ReorderCommand command)
{
    if (selected.empty())
        return std::nullopt;
    const int first = selected.front();
    const int last = selected.back();
    const int count = static_cast<int>(selected.size());
    switch (command) {
    case ReorderCommand::Top:
        return first == 0 ? std::nullopt : std::optional<int>(0);
    case ReorderCommand::Up:
        return first == 0 ? std::nullopt : std::optional<int>(first - 1);
    case ReorderCommand::Down:
        return last + 1 < rowCount ? last + 2 - count : rowCount - count;
    case ReorderCommand::Bottom:
        return rowCount - count;
    }
    return std::nullopt;
}

std::optional<int> DropTarget(int rowCount, const std::vector<int>& selected, int insertBefore)
{
    if (selected.empty() || insertBefore < 0 || insertBefore > rowCount)
        return std::nullopt;
    // The rows of the block above the gap leave it: the gap moves up by as many.
    int target = insertBefore;
    for (int row : selected)
        target -= row < insertBefore ? 1 : 0;
    const bool contiguous = selected.back() - selected.front() + 1 == static_cast<int>(selected.size());
    if (contiguous && target == selected.front())
        return std::nullopt;
    return target;
}

}  // namespace mods
