#include "mods/Arrangement.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace mods {
namespace {

// Far more than a player makes between two writes; the oldest go first.
constexpr std::size_t kMaxMoveSteps = 1000;

}  // namespace

void Arrangement::Reset(const std::vector<ModEntry>& catalogue)
{
    rows_.clear();
    rows_.reserve(catalogue.size());
    for (const ModEntry& entry : catalogue)
        rows_.push_back(ArrangedMod{entry.fileName, entry.lastWriteTime, false});
    moves_.clear();
}

int Arrangement::MarkedCount() const
{
    return static_cast<int>(std::count_if(rows_.begin(), rows_.end(), [](const ArrangedMod& row) { return row.marked; }));
}

std::optional<int> Arrangement::Move(const std::vector<int>& selected, ReorderCommand command)
{
    const std::optional<int> target = ReorderTarget(static_cast<int>(rows_.size()), selected, command);
    return target ? MoveTo(selected, *target) : std::nullopt;
}

std::optional<int> Arrangement::MoveBefore(const std::vector<int>& selected, int insertBefore)
{
    const std::optional<int> target = DropTarget(static_cast<int>(rows_.size()), selected, insertBefore);
    return target ? MoveTo(selected, *target) : std::nullopt;
}

std::optional<int> Arrangement::MoveNextTo(const std::vector<int>& selected, int anchor, bool after)
{
    const std::optional<int> target = PlacementTarget(static_cast<int>(rows_.size()), selected, anchor, after);
    return target ? MoveTo(selected, *target) : std::nullopt;
}

std::optional<int> Arrangement::MoveTo(const std::vector<int>& selected, int target)
{
    const int count = static_cast<int>(rows_.size());
    if (selected.empty() || target < 0 || target > count - static_cast<int>(selected.size()) ||
        !std::is_sorted(selected.begin(), selected.end()) ||
        std::adjacent_find(selected.begin(), selected.end()) != selected.end() || selected.front() < 0 ||
        selected.back() >= count)
        return std::nullopt;
    MoveStep step{selected, target, {}, {}};
    for (int row : selected)
        step.wasMarked.push_back(rows_[row].marked);
    rows_ = ApplyReorder(rows_, selected, target);
    for (std::size_t i = 0; i < selected.size(); ++i)
        rows_[target + i].marked = true;
    PushStep(std::move(step));
    return target;
}

std::vector<int> Arrangement::Rearrange(const std::vector<int>& order)
{
    std::vector<bool> taken(rows_.size(), false);
    if (order.size() != rows_.size())
        return {};
    for (const int from : order) {
        if (from < 0 || from >= static_cast<int>(taken.size()) || taken[static_cast<std::size_t>(from)])
            return {};  // not a permutation
        taken[static_cast<std::size_t>(from)] = true;
    }
    MoveStep step;
    std::vector<int> moved;
    std::vector<ArrangedMod> rearranged;
    rearranged.reserve(rows_.size());
    for (std::size_t row = 0; row < order.size(); ++row) {
        rearranged.push_back(rows_[static_cast<std::size_t>(order[row])]);
        if (order[row] != static_cast<int>(row)) {
            rearranged.back().marked = true;
            moved.push_back(static_cast<int>(row));
            step.from.push_back(order[row]);
        }
    }
    if (moved.empty())
        return moved;
    std::sort(step.from.begin(), step.from.end());
    step.rowsBefore = std::exchange(rows_, std::move(rearranged));
    PushStep(std::move(step));
    return moved;
}

void Arrangement::PushStep(MoveStep step)
{
    if (moves_.size() == kMaxMoveSteps)
        moves_.erase(moves_.begin());
    moves_.push_back(std::move(step));
}

std::optional<std::vector<int>> Arrangement::UndoMove()
{
    if (moves_.empty())
        return std::nullopt;
    MoveStep step = std::move(moves_.back());
    moves_.pop_back();
    if (!step.rowsBefore.empty()) {
        rows_ = std::move(step.rowsBefore);
        return step.from;
    }
    // The block leaves its place; each of its rows goes back to the index it
    // came from, in ascending order, so the rows between keep theirs.
    const auto blockBegin = rows_.begin() + step.target;
    std::vector<ArrangedMod> block(blockBegin, blockBegin + step.from.size());
    rows_.erase(blockBegin, blockBegin + step.from.size());
    for (std::size_t i = 0; i < step.from.size(); ++i) {
        block[i].marked = step.wasMarked[i];
        rows_.insert(rows_.begin() + step.from[i], std::move(block[i]));
    }
    return step.from;
}

void Arrangement::Follow(const std::vector<ModEntry>& catalogue, const std::vector<std::wstring>& retimed)
{
    std::unordered_map<std::wstring, FileTime> onDisk;
    onDisk.reserve(catalogue.size());
    for (const ModEntry& entry : catalogue)
        onDisk.emplace(entry.fileName, entry.lastWriteTime);
    const std::unordered_set<std::wstring> moved(retimed.begin(), retimed.end());

    std::vector<ArrangedMod> kept;
    kept.reserve(catalogue.size());
    std::unordered_set<std::wstring> keptNames;
    for (ArrangedMod& row : rows_) {
        const auto found = onDisk.find(row.name);
        if (found == onDisk.end() || moved.count(row.name) || !keptNames.insert(row.name).second)
            continue;
        row.time = found->second;
        kept.push_back(std::move(row));
    }

    // The catalogue is in load order, and so are the unmarked rows kept: one
    // merge places every new row before the first unmarked row loaded later.
    std::vector<ArrangedMod> merged;
    merged.reserve(catalogue.size());
    auto next = kept.begin();
    for (const ModEntry& entry : catalogue) {
        if (keptNames.count(entry.fileName))
            continue;
        while (next != kept.end() && (next->marked || next->time <= entry.lastWriteTime))
            merged.push_back(std::move(*next++));
        merged.push_back(ArrangedMod{entry.fileName, entry.lastWriteTime, false});
    }
    merged.insert(merged.end(), std::make_move_iterator(next), std::make_move_iterator(kept.end()));
    rows_ = std::move(merged);
    moves_.clear();
}

std::vector<ListedMod> Arrangement::Listed() const
{
    std::vector<ListedMod> listed;
    listed.reserve(rows_.size());
    for (const ArrangedMod& row : rows_)
        listed.push_back(ListedMod{row.name, row.marked});
    return listed;
}

std::vector<std::wstring> Arrangement::MarkedNames() const
{
    std::vector<std::wstring> names;
    for (const ArrangedMod& row : rows_)
        if (row.marked)
            names.push_back(row.name);
    return names;
}

void Arrangement::Rename(const std::wstring& name, const std::wstring& newName)
{
    const auto follow = [&](std::vector<ArrangedMod>& rows) {
        for (ArrangedMod& row : rows) {
            if (row.name == name)
                row.name = newName;
        }
    };
    follow(rows_);
    for (MoveStep& step : moves_)
        follow(step.rowsBefore);
}

bool Arrangement::Matches(const std::vector<ModEntry>& catalogue) const
{
    if (catalogue.size() != rows_.size())
        return false;
    std::unordered_map<std::wstring, FileTime> shown;
    shown.reserve(rows_.size());
    for (const ArrangedMod& row : rows_)
        shown.emplace(row.name, row.time);
    return std::all_of(catalogue.begin(), catalogue.end(), [&](const ModEntry& entry) {
        const auto found = shown.find(entry.fileName);
        return found != shown.end() && found->second == entry.lastWriteTime;
    });
}

}  // namespace mods
