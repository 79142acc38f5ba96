#include "mods/GameFolder.h"

#include "mods/FolderScan.h"
#include "mods/GameDiscovery.h"
#include "mods/ModFile.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace mods {

bool FolderHoldsPaks(platform::FileSystem& fileSystem, const std::wstring& folder)
{
    return fileSystem.FolderExists(folder) &&
           ScanFolder(fileSystem, folder, kEnabledPakExtensions, std::nullopt, nullptr) > 1;
}

bool ListingHoldsPaks(const std::vector<platform::FolderEntry>& entries)
{
    int paks = 0;
    for (const platform::FolderEntry& entry : entries)
        if (!entry.isFolder && !entry.isSpecial && HasExtensionIn(entry.name, kEnabledPakExtensions) && ++paks > 1)
            return true;
    return false;
}

PaksFolderChoice FindPaksFolder(platform::FileSystem& fileSystem, const std::wstring& programFolder,
                                const std::function<std::wstring()>& askForFolder)
{
    // The window's own place, in the order the command line uses too; the
    // installations come in where the window asks.
    if (const std::optional<std::wstring> own = SearchGamePlaces(fileSystem, GamePlaces{{programFolder}, {}, {}}).paks)
        return PaksFolderChoice{platform::WithTrailingSeparator(*own), true};
    const std::wstring folder = askForFolder();
    const bool qualifies = !folder.empty() && FolderHoldsPaks(fileSystem, folder);  // empty: the player cancelled
    return PaksFolderChoice{platform::WithTrailingSeparator(folder), qualifies};
}

}  // namespace mods
