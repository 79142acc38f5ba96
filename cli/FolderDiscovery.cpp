#include "cli/FolderDiscovery.h"

#include "base/FormatText.h"
#include "cli/Session.h"
#include "cli/System.h"
#include "cli/Texts.h"
#include "mods/GameFolder.h"
#include "mods/SteamGame.h"
#include "platform/Paths.h"
#include "platform/ReusedListing.h"

namespace cli {

namespace {

// The folder's listing when it qualifies; kept for the next read of it.
bool Qualifies(platform::FileSystem& fileSystem, const std::wstring& folder, ReusedListing* keep)
{
    std::vector<platform::FolderEntry> entries;
    if (!fileSystem.FolderExists(folder) || !fileSystem.ListFolder(folder, entries).ok() || !mods::ListingHoldsPaks(entries))
        return false;
    if (keep)
        keep->Keep(folder, std::move(entries));
    return true;
}

}  // namespace

std::optional<std::wstring> PaksFolderAt(platform::FileSystem& fileSystem, const std::wstring& path, ReusedListing* keep)
{
    if (Qualifies(fileSystem, path, keep))
        return path;
    const std::optional<std::wstring> paks = mods::PaksSubfolder(fileSystem, path);
    if (paks && Qualifies(fileSystem, *paks, keep))
        return paks;
    return std::nullopt;
}

std::optional<std::wstring> FindPaksFolder(Context& context, ReusedListing& files, const std::optional<std::wstring>& named,
                                           std::wstring& whyNot)
{
    std::optional<std::wstring> found;
    if (named) {
        found = PaksFolderAt(files, context.system.FullPath(*named), &files);
        if (!found)
            whyNot = fw::FormatText(texts::kNotAGameFolder, *named);
    } else {
        found = PaksFolderAt(files, context.system.CurrentFolder(), &files);
        if (!found)
            found = FindInstalledGame(context.system, files);
        if (!found)
            whyNot = texts::kNoGameFound;
    }
    if (!found)
        return std::nullopt;
    // The same folder reached by other paths keeps one history.
    return platform::WithTrailingSeparator(context.system.FullPath(*found));
}

}  // namespace cli
