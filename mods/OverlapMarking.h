#pragma once
// Marking an overlap the player intends, or taking the mark back, in the
// file beside the folder's records, for the window and the command line
// alike: under the folder's lock, so that another PakOrder's edit in between
// is not lost, and changing only the pair's own line.

#include <string>
#include <vector>

#include "mods/FolderWriter.h"
#include "mods/IntendedOverlaps.h"
#include "platform/FileSystem.h"

namespace mods {

enum class OverlapMarkResult {
    Changed,
    AlreadyMarked,  // nothing to add
    NotMarked,      // nothing to take back
    Refused,        // the lock: `write` says why
    CannotRead,     // `status` says why
    FileAtFault,    // not a file of this format, or too large: never written over
    CannotWrite,    // `status` says why
};

struct OverlapMarkOutcome {
    OverlapMarkResult result = OverlapMarkResult::Changed;
    WriteOutcome write;
    platform::FsStatus status;
    std::wstring path;                      // the file
    std::vector<OverlapsProblem> problems;  // the file's faults, whatever the result
};

// `intended`: mark the pair; otherwise take the mark back.
OverlapMarkOutcome MarkIntendedOverlap(platform::FileSystem& fileSystem, FolderWriter& writer,
                                       const std::wstring& recordsFolder, const IntendedOverlap& pair, bool intended);

}  // namespace mods
