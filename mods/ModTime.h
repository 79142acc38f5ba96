#pragma once
// A mod's last-write time on disk, and writing a load order as times.

#include <optional>
#include <string>
#include <vector>

#include "base/FileTime.h"
#include "mods/ChangeRecord.h"
#include "mods/FileFailure.h"
#include "mods/StepProgress.h"

namespace platform { class FileSystem; }

namespace mods {

// The times a folder's file system is known to keep: those read from it.
// Its dates end somewhere (2038 on some, 2446 on ext4), so a time between
// two it kept is kept too, to its precision, and need not be read back.
class KnownKeptTimes {
public:
    void Add(FileTime time)
    {
        earliest_ = time < earliest_ ? time : earliest_;
        latest_ = time > latest_ ? time : latest_;
    }
    bool Covers(FileTime time) const { return earliest_ <= time && time <= latest_; }

private:
    FileTime earliest_ = ~FileTime{0};
    FileTime latest_ = 0;
};

// Writes the time and reads it back: a time the file system does not keep
// (past its last date, say) is a failure, platform::TimeNotKeptStatus(),
// never taken for written. Within two seconds counts as kept: FAT keeps
// even seconds. `kept`, when given, is set to the time on disk. With
// `known`, a time it covers is not read back, and one read back adds to it.
platform::FsStatus WriteTimeKept(platform::FileSystem& fileSystem, const std::wstring& path, FileTime time,
                                 FileTime* kept = nullptr, KnownKeptTimes* known = nullptr);

std::optional<FileTime> GetModFileTime(platform::FileSystem& fileSystem, const std::wstring& folder,
                                       const std::wstring& name);

// Writes the time to the pak, then to its companion (a missing companion is
// skipped). Each file that could not be re-timed is appended to `failures`.
void SetModFileTime(platform::FileSystem& fileSystem, const std::wstring& folder, const std::wstring& name,
                    FileTime time, std::vector<FileFailure>& failures, KnownKeptTimes* known = nullptr);

struct ListedMod {
    std::wstring name;
    bool marked = false;  // moved since the last refill
};

// The smart sort on the folder's files, for the mods in the order shown.
// Returns the files whose time could not be written.
// `progress` is told of each time read and written. `state`, when given,
// is the folder as read whole just before, under its lock: a mod's time in
// it stands for a read of the file (a mod not in it is read).
std::vector<FileFailure> WriteLoadOrder(platform::FileSystem& fileSystem, const std::wstring& folder,
                                        const std::vector<ListedMod>& mods, FileTime now,
                                        const StepProgress& progress = {},
                                        const std::vector<RecordedMod>* state = nullptr);

}  // namespace mods
