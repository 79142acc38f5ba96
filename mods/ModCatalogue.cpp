#include "mods/ModCatalogue.h"

#include <algorithm>

#include "mods/FolderScan.h"
#include "mods/ModFile.h"
#include "platform/FileSystem.h"

namespace mods {

void OrderByLoadTime(std::vector<ModEntry>& entries)
{
    std::reverse(entries.begin(), entries.end());
    std::stable_sort(entries.begin(), entries.end(),
                     [](const ModEntry& a, const ModEntry& b) { return a.lastWriteTime < b.lastWriteTime; });
}

std::vector<ScannedFile> ListMods(platform::FileSystem& fileSystem, const std::wstring& folder)
{
    std::vector<ScannedFile> files;
    ScanFolder(fileSystem, folder, kModExtensions, kGameDataNames, &files);
    return files;
}

std::vector<ModEntry> ReadModCatalogue(platform::FileSystem& fileSystem, const std::wstring& folder,
                                       std::vector<ScannedFile>* listing)
{
    std::vector<ScannedFile> files = ListMods(fileSystem, folder);
    if (listing)
        *listing = files;

    std::vector<std::wstring> names;
    std::vector<FileTime> times;  // the enumeration's, kept where a time cannot be read
    names.reserve(files.size());
    times.reserve(files.size());
    for (ScannedFile& file : files) {
        names.push_back(std::move(file.name));
        times.push_back(file.enumeratedTime);
    }
    fileSystem.ReadLastWriteTimes(folder, names, times);

    std::vector<ModEntry> entries;
    entries.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        entries.push_back(ModEntry{std::move(names[i]), times[i], FormatFileDate(times[i])});
    OrderByLoadTime(entries);
    return entries;
}

}  // namespace mods
