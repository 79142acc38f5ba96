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

TiedTimes FindTiedTimes(const std::vector<ModEntry>& mods)
{
    std::vector<std::size_t> enabled;
    for (std::size_t m = 0; m < mods.size(); ++m)
        if (!IsDisabledModName(mods[m].fileName))
            enabled.push_back(m);
    std::stable_sort(enabled.begin(), enabled.end(),
                     [&](std::size_t a, std::size_t b) { return mods[a].lastWriteTime < mods[b].lastWriteTime; });
    TiedTimes tied;
    tied.groupOf.assign(mods.size(), TiedTimes::kNone);
    for (std::size_t i = 0; i < enabled.size();) {
        std::size_t end = i + 1;
        while (end < enabled.size() && mods[enabled[end]].lastWriteTime == mods[enabled[i]].lastWriteTime)
            ++end;
        if (end - i >= 2) {
            for (std::size_t k = i; k < end; ++k)
                tied.groupOf[enabled[k]] = tied.groups.size();
            tied.groups.emplace_back(enabled.begin() + static_cast<std::ptrdiff_t>(i), enabled.begin() + static_cast<std::ptrdiff_t>(end));
        }
        i = end;
    }
    return tied;
}

std::vector<std::size_t> TiedTimes::OthersOf(std::size_t mod) const
{
    std::vector<std::size_t> others;
    if (mod < groupOf.size() && groupOf[mod] != kNone)
        for (const std::size_t other : groups[groupOf[mod]])
            if (other != mod)
                others.push_back(other);
    return others;
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
