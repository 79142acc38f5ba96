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
    // Where the listing reported a time (Windows reads it from the folder
    // entry), it is the file's own; the others are read in one batch.
    std::vector<std::wstring> names;
    std::vector<FileTime> times;
    std::vector<FileTime*> unreported;
    for (RecordedMod& mod : mods) {
        for (RecordedFile* file : {&mod.pak, mod.companion ? &*mod.companion : nullptr}) {
            if (file && file->time == 0) {
                names.push_back(file->name);
                times.push_back(0);
                unreported.push_back(&file->time);
            }
        }
    }
    if (!names.empty())
        fileSystem.ReadLastWriteTimes(paksFolder, names, times);
    for (std::size_t i = 0; i < unreported.size(); ++i)
        *unreported[i] = times[i];
    return mods;
}

}  // namespace mods
