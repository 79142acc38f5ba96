#include "mods/FolderState.h"

#include <unordered_map>

#include "mods/ModFile.h"
#include "mods/ModSwitch.h"
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

std::vector<std::wstring> OtherStateNames(const std::wstring& pakName)
{
    if (IsDisabledModName(pakName))
        return {EnabledModName(pakName), pakName.substr(0, pakName.size() - 3) + L"pak"};
    return {DisabledModName(pakName)};
}

platform::FsStatus ReadFolderState(platform::FileSystem& fileSystem, const std::wstring& paksFolder,
                                   std::vector<RecordedMod>& mods)
{
    mods.clear();
    std::vector<platform::FolderEntry> entries;
    if (const platform::FsStatus listed = fileSystem.ListFolder(paksFolder, entries); !listed.ok())
        return listed;

    std::unordered_map<std::wstring, std::size_t> files;  // lookup name -> entry
    files.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!entries[i].isFolder && !entries[i].isSpecial)
            files.emplace(LookupName(entries[i].name), i);
    }
    const auto find = [&](const std::wstring& name) -> const platform::FolderEntry* {
        const auto found = files.find(LookupName(name));
        return found == files.end() ? nullptr : &entries[found->second];
    };

    for (const platform::FolderEntry& entry : entries) {
        if (entry.isFolder || entry.isSpecial || !IsModFileName(entry.name))
            continue;
        RecordedMod mod;
        mod.pak = RecordedFile{entry.name, entry.lastWriteTime};
        const platform::FolderEntry* companion = find(CompanionName(entry.name));
        for (const std::wstring& other : companion ? std::vector<std::wstring>{} : OtherStateNames(entry.name)) {
            if (!find(other) && (companion = find(CompanionName(other))) != nullptr)
                break;
        }
        if (companion)
            mod.companion = RecordedFile{companion->name, companion->lastWriteTime};
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
    if (!names.empty()) {
        if (const platform::FsStatus read = fileSystem.ReadLastWriteTimes(paksFolder, names, times); !read.ok()) {
            mods.clear();
            return read;
        }
    }
    for (std::size_t i = 0; i < unreported.size(); ++i)
        *unreported[i] = times[i];
    return {};
}

}  // namespace mods
