#include "mods/FolderScan.h"

#include "mods/ModFile.h"
#include "platform/FileSystem.h"

namespace mods {

int ScanFolder(platform::FileSystem& fileSystem, const std::wstring& folder, std::wstring_view extensions,
               std::optional<std::wstring_view> excludedNames, std::vector<ScannedFile>* found)
{
    std::vector<platform::FolderEntry> entries;
    if (!fileSystem.ListFolder(folder, entries).ok())
        return 0;

    int count = 0;
    for (platform::FolderEntry& entry : entries) {
        // A link, a pipe or a device is no mod, whatever its name.
        if (entry.isFolder || entry.isSpecial || !HasExtensionIn(entry.name, extensions))
            continue;
        if (excludedNames && IsOneOfNames(entry.name, *excludedNames))
            continue;
        ++count;
        if (found)
            found->push_back(ScannedFile{std::move(entry.name), entry.lastWriteTime});
    }
    return count;
}

}  // namespace mods
