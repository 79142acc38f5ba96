#include "mods/ModCatalogue.h"

#include <algorithm>

#include "mods/FolderScan.h"
#include "mods/ModFile.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace mods {

void OrderByLoadTime(std::vector<ModEntry>& entries)
{
    std::reverse(entries.begin(), entries.end());
    std::stable_sort(entries.begin(), entries.end(),
                     [](const ModEntry& a, const ModEntry& b) { return a.lastWriteTime < b.lastWriteTime; });
}

std::vector<ModEntry> ReadModCatalogue(platform::FileSystem& fileSystem, const std::wstring& folder)
{
    std::vector<ScannedFile> files;
    ScanFolder(fileSystem, folder, kModExtensions, kGameDataNames, &files);

    std::vector<ModEntry> entries;
    entries.reserve(files.size());
    for (ScannedFile& file : files) {
        FileTime time = file.enumeratedTime;
        fileSystem.ReadLastWriteTime(platform::JoinPath(folder, file.name), time);  // keeps the fallback on failure
        entries.push_back(ModEntry{std::move(file.name), time, FormatFileDate(time)});
    }
    OrderByLoadTime(entries);
    return entries;
}

}  // namespace mods
