#pragma once
// What importing a mod list does to the rows shown: the mods it names that
// are present take the list's relative order within the rows they occupy
// now; every other row keeps its place.

#include <string>
#include <vector>

#include "mods/Arrangement.h"
#include "mods/ModList.h"

namespace mods {

// A mod whose state the list wants otherwise.
struct StateChange {
    std::wstring name;  // the pak's name now
    bool enable = true;
};

struct ImportEffect {
    // The rows afterwards: row i is the row order[i] of now.
    std::vector<int> order;
    // The rows (afterwards, ascending) whose place changed.
    std::vector<int> moved;
    // In the order of the rows afterwards.
    std::vector<StateChange> switches;
    // The list's names that no row has, in the list's order.
    std::vector<std::wstring> missing;
};

// A list name matches a row by its name without the extension, compared as
// Windows compares names; rows that share a name (a.pak beside a.G1O) keep
// their order among themselves.
ImportEffect PlanImport(const std::vector<ArrangedMod>& rows, const std::vector<ModListEntry>& list);

}  // namespace mods
