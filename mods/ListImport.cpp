#include "mods/ListImport.h"

#include <algorithm>
#include <unordered_map>

#include "mods/ChangeRecord.h"
#include "mods/ModFile.h"
#include "platform/LetterCase.h"

namespace mods {

ImportEffect PlanImport(const std::vector<ArrangedMod>& rows, const std::vector<ModListEntry>& list)
{
    std::unordered_map<std::wstring, int> listIndex;
    listIndex.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i)
        listIndex.emplace(platform::FoldedCase(list[i].name), static_cast<int>(i));

    // The rows the list names, in the rows' order, and the list's place of each.
    std::vector<int> slots, named;
    std::vector<int> placeInList(rows.size(), -1);
    std::vector<bool> listed(list.size(), false);
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const auto found = listIndex.find(ModKey(rows[row].name));
        if (found == listIndex.end())
            continue;
        placeInList[row] = found->second;
        listed[static_cast<std::size_t>(found->second)] = true;
        slots.push_back(static_cast<int>(row));
    }
    named = slots;
    std::stable_sort(named.begin(), named.end(), [&](int a, int b) { return placeInList[a] < placeInList[b]; });

    ImportEffect effect;
    effect.order.resize(rows.size());
    for (std::size_t row = 0; row < rows.size(); ++row)
        effect.order[row] = static_cast<int>(row);
    for (std::size_t i = 0; i < slots.size(); ++i)
        effect.order[static_cast<std::size_t>(slots[i])] = named[i];

    for (std::size_t row = 0; row < rows.size(); ++row) {
        const int from = effect.order[row];
        if (from != static_cast<int>(row))
            effect.moved.push_back(static_cast<int>(row));
        if (placeInList[from] < 0)
            continue;
        const bool enabled = !IsDisabledModName(rows[from].name);
        const bool wanted = list[static_cast<std::size_t>(placeInList[from])].enabled;
        if (enabled != wanted)
            effect.switches.push_back(StateChange{rows[from].name, wanted});
    }
    for (std::size_t i = 0; i < list.size(); ++i)
        if (!listed[i])
            effect.missing.push_back(list[i].name);
    return effect;
}

}  // namespace mods
