#pragma once
// Finding the folder whose paks the program manages.

#include <functional>
#include <string>
#include <vector>

namespace platform {
class FileSystem;
struct FolderEntry;
}

namespace mods {

// A folder that holds at least two ".PAK"/".pak" files (the game's own data
// counts, disabled mods do not).
bool FolderHoldsPaks(platform::FileSystem& fileSystem, const std::wstring& folder);
// The same test on the folder's listing.
bool ListingHoldsPaks(const std::vector<platform::FolderEntry>& entries);

struct PaksFolderChoice {
    std::wstring folder;  // always ends with exactly one separator
    bool qualifies = false;  // false: nothing qualified, the user must be told
};

// Tries the program's folder, then its PAKS subfolder, then the folder the
// user picks (empty when the user cancelled). When none qualifies, the
// picked folder is kept all the same.
PaksFolderChoice FindPaksFolder(platform::FileSystem& fileSystem, const std::wstring& programFolder,
                                const std::function<std::wstring()>& askForFolder);

}  // namespace mods
