#pragma once
// The mods of a PAKS folder in load order: what a refill of the list shows.

#include <cstddef>
#include <string>
#include <vector>

#include "base/FileTime.h"
#include "mods/FolderScan.h"

namespace platform { class FileSystem; }

namespace mods {

struct ModEntry {
    std::wstring fileName;
    FileTime lastWriteTime = 0;
    std::wstring dateText;  // FormatFileDate(lastWriteTime)
};

// Sorts by last-write time, earliest first (the game's load order). The
// input is in scan order; mods with equal times come out in the reverse of
// it, the one scanned later first.
void OrderByLoadTime(std::vector<ModEntry>& entries);

// Enabled mods with the very same last-write time: the game has no defined
// order among them (the rule above only decides how they are listed).
struct TiedTimes {
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::vector<std::vector<std::size_t>> groups;  // two or more mods each, in the mods' order
    std::vector<std::size_t> groupOf;              // per mod: its group, or kNone

    // The other mods tied with that one.
    std::vector<std::size_t> OthersOf(std::size_t mod) const;
};
TiedTimes FindTiedTimes(const std::vector<ModEntry>& mods);

// Scans the folder for mods, reads each one's last-write time (falling back
// to the time the enumeration reported when it cannot be read) and orders
// them for loading.
// `listing`, when given, gets what the listing alone said (ListMods).
std::vector<ModEntry> ReadModCatalogue(platform::FileSystem& fileSystem, const std::wstring& folder,
                                       std::vector<ScannedFile>* listing = nullptr);

// The mods as the folder's listing alone shows them, names and times, in
// listing order: one pass over the folder, where the catalogue opens each
// mod for its time. The same listing twice means no mod has come, gone or
// been given another time in between.
std::vector<ScannedFile> ListMods(platform::FileSystem& fileSystem, const std::wstring& folder);

}  // namespace mods
