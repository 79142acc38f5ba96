#include "mods/Conflicts.h"

#include "mods/ConflictIndex.h"

namespace mods {

std::wstring ConflictReport::PathOf(const FileConflict& conflict) const
{
    const auto text = [&](std::uint32_t at, std::uint16_t units) {
        return ManifestText{reinterpret_cast<const unsigned char*>(spellings.data()) + at, units};
    };
    return JoinedPath(text(conflict.folderAt, conflict.folderUnits), text(conflict.nameAt, conflict.nameUnits));
}

std::span<const std::uint32_t> ConflictReport::Overridden(const FileConflict& conflict) const
{
    return std::span<const std::uint32_t>(overridden).subspan(conflict.overriddenAt, conflict.overriddenCount);
}

ConflictReport FindConflicts(const std::vector<ModManifest>& mods)
{
    // Each mod is named by its row: the index knows no other name for it.
    ConflictIndex index;
    std::vector<ListedModToCheck> rows(mods.size());
    for (std::size_t m = 0; m < mods.size(); ++m) {
        rows[m] = ListedModToCheck{std::to_wstring(m), mods[m].enabled, mods[m].selected};
        if (mods[m].enabled && mods[m].manifest)
            index.Add(rows[m].name, *mods[m].manifest);
    }
    return index.Report(index.Analyse(rows));
}

ConflictReport CheckConflicts(platform::FileSystem& fileSystem, const std::wstring& folder,
                              const std::vector<ListedModToCheck>& rows, const StepProgress& progress)
{
    return CheckConflicts(fileSystem, folder, rows, {}, progress);
}

ConflictReport CheckConflicts(platform::FileSystem& fileSystem, const std::wstring& folder,
                              const std::vector<ListedModToCheck>& rows, const std::vector<IntendedOverlap>& intended,
                              const StepProgress& progress)
{
    // Only the enabled mods' manifests are read: the game loads no other.
    std::vector<std::wstring> enabled;
    std::vector<std::size_t> rowOf;
    for (std::size_t r = 0; r < rows.size(); ++r)
        if (rows[r].enabled) {
            enabled.push_back(rows[r].name);
            rowOf.push_back(r);
        }
    ConflictIndex index;
    StepProgress byRow;
    if (progress)
        byRow = [&](std::size_t done, std::size_t) { progress(rowOf[done], rows.size()); };
    index.Read(fileSystem, folder, enabled, byRow);
    return index.Report(index.Analyse(rows, intended));
}

}  // namespace mods
