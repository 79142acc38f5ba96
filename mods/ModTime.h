#pragma once
// A mod's last-write time on disk, and writing a load order as times.

#include <optional>
#include <string>
#include <vector>

#include "mods/FileFailure.h"
#include "mods/FileTime.h"
#include "mods/StepProgress.h"

namespace platform { class FileSystem; }

namespace mods {

// Writes the time and reads it back: a time the file system does not keep
// (past its last date, say) is a failure, platform::TimeNotKeptStatus(),
// never taken for written. Within two seconds counts as kept: FAT keeps
// even seconds. `kept`, when given, is set to the time on disk.
platform::FsStatus WriteTimeKept(platform::FileSystem& fileSystem, const std::wstring& path, FileTime time,
                                 FileTime* kept = nullptr);

std::optional<FileTime> GetModFileTime(platform::FileSystem& fileSystem, const std::wstring& folder,
                                       const std::wstring& name);

// Writes the time to the pak, then to its companion (a missing companion is
// skipped). Each file that could not be re-timed is appended to `failures`.
void SetModFileTime(platform::FileSystem& fileSystem, const std::wstring& folder, const std::wstring& name,
                    FileTime time, std::vector<FileFailure>& failures);

struct ListedMod {
    std::wstring name;
    bool marked = false;  // moved since the last refill
};

// The smart sort on the folder's files, for the mods in the order shown.
// Returns the files whose time could not be written.
// `progress` is told of each time read and written.
std::vector<FileFailure> WriteLoadOrder(platform::FileSystem& fileSystem, const std::wstring& folder,
                                        const std::vector<ListedMod>& mods, FileTime now,
                                        const StepProgress& progress = {});

}  // namespace mods
