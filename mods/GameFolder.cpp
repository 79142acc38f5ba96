#include "mods/GameFolder.h"

#include "mods/FolderScan.h"
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
    std::wstring folder = programFolder;
    bool qualifies = FolderHoldsPaks(fileSystem, folder);
    if (!qualifies) {
        folder = platform::JoinPath(programFolder, L"PAKS");
        qualifies = FolderHoldsPaks(fileSystem, folder);
    }
    if (!qualifies) {
        folder = askForFolder();
        qualifies = !folder.empty() && FolderHoldsPaks(fileSystem, folder);  // empty: the player cancelled
    }
    return PaksFolderChoice{platform::WithTrailingSeparator(folder), qualifies};
}

}  // namespace mods
