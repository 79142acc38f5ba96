// libFuzzer target: any bytes given to the mod list reader are either a
// list or refused, without a crash, a read past them or a hang; a list it
// accepts is written back as text that reads as the same list (its
// intended overlaps too), and an import of it into rows of its own names,
// reversed, puts every row back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "mods/ListImport.h"
#include "mods/ModList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    mods::ModListProblem problem;
    const auto contents = mods::ParseModListContents(std::vector<unsigned char>(data, data + size), problem);
    if (!contents)
        return 0;
    const std::vector<mods::ModListEntry>* list = &contents->mods;
    std::vector<std::wstring> leftOut;
    const std::string text = mods::FormatModList(*list, contents->intended, &leftOut);
    const auto again = mods::ParseModListContents(std::vector<unsigned char>(text.begin(), text.end()), problem);
    if (!leftOut.empty() || !again || again->mods != *list || again->intended != contents->intended)
        std::abort();

    std::vector<mods::ArrangedMod> rows;
    for (auto mod = list->rbegin(); mod != list->rend(); ++mod)
        rows.push_back(mods::ArrangedMod{mod->name + (mod->enabled ? L".pak" : L".G1O"), 0, false});
    const mods::ImportEffect effect = mods::PlanImport(rows, *list);
    if (effect.order.size() != rows.size() || !effect.missing.empty() || !effect.switches.empty())
        std::abort();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (effect.order[i] != static_cast<int>(rows.size() - 1 - i))
            std::abort();
    return 0;
}
