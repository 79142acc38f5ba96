#include "mods/FolderState.h"

#include <unordered_map>

#include "mods/ModFile.h"
#include "platform/FileSystem.h"
#include "platform/LetterCase.h"

namespace mods {
namespace {

// The name a file is looked up by: where the system ignores case, so does the lookup.
std::wstring LookupName(const std::wstring& name)
{
#ifdef _WIN32
    return platform::FoldedCase(name);
#else
    return name;
#endif
}

}  // namespace

std::vector<RecordedMod> ReadFolderState(platform::FileSystem& fileSystem, const std::wstring& paksFolder)
{
    std::vector<platform::FolderEntry> entries;
    if (!fileSystem.ListFolder(paksFolder, entries))
        return {};

    std::unordered_map<std::wstring, std::size_t> files;  // lookup name -> entry
    files.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!entries[i].isFolder)
            files.emplace(LookupName(entries[i].name), i);
    }

    // One time read for all the paks and companions together.
    std::vector<std::wstring> names;
    std::vector<FileTime> times;
    std::vector<RecordedMod> mods;
    for (const platform::FolderEntry& entry : entries) {
        if (entry.isFolder || !IsModFileName(entry.name))
            continue;
        RecordedMod mod;
        mod.pak = RecordedFile{entry.name, entry.lastWriteTime};
        const auto companion = files.find(LookupName(CompanionName(entry.name)));
        if (companion != files.end()) {
            const platform::FolderEntry& found = entries[companion->second];
            mod.companion = RecordedFile{found.name, found.lastWriteTime};
        }
        mods.push_back(std::move(mod));
    }
    names.reserve(mods.size() * 2);
    for (const RecordedMod& mod : mods) {
        names.push_back(mod.pak.name);
        times.push_back(mod.pak.time);
        if (mod.companion) {
            names.push_back(mod.companion->name);
            times.push_back(mod.companion->time);
        }
    }
    fileSystem.ReadLastWriteTimes(paksFolder, names, times);
    std::size_t next = 0;
    for (RecordedMod& mod : mods) {
        mod.pak.time = times[next++];
        if (mod.companion)
            mod.companion->time = times[next++];
    }
    return mods;
}

}  // namespace mods
