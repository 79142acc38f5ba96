#include "mods/OverlapMarking.h"

#include <string_view>

#include "platform/Paths.h"

namespace mods {

namespace {

bool WholeFileFault(const std::vector<OverlapsProblem>& problems)
{
    for (const OverlapsProblem& problem : problems) {
        if (problem.fault == OverlapsFault::NotOverlapsFile || problem.fault == OverlapsFault::OtherVersion ||
            problem.fault == OverlapsFault::TooLarge)
            return true;
    }
    return false;
}

}  // namespace

OverlapMarkOutcome MarkIntendedOverlap(platform::FileSystem& fileSystem, FolderWriter& writer,
                                       const std::wstring& recordsFolder, const IntendedOverlap& pair, bool intended)
{
    OverlapMarkOutcome outcome;
    outcome.path = IntendedOverlapsPath(recordsFolder);
    const std::unique_ptr<platform::FileLock> lock = writer.Lock(outcome.write);
    if (!outcome.write.Ran()) {
        outcome.result = OverlapMarkResult::Refused;
        return outcome;
    }

    std::vector<unsigned char> bytes;
    const platform::FsStatus read = fileSystem.ReadWholeFile(outcome.path, kMaxIntendedOverlapsBytes, bytes);
    if (platform::IsTooLarge(read)) {
        outcome.problems.push_back(OverlapsProblem{OverlapsFault::TooLarge, 0, {}});
    } else if (!read.ok() && !platform::IsNotFound(read)) {
        outcome.result = OverlapMarkResult::CannotRead;
        outcome.status = read;
        return outcome;
    }
    // No file yet is a file without pairs.
    const std::vector<IntendedOverlap> pairs =
        read.ok() ? ParseIntendedOverlaps(bytes, outcome.problems) : std::vector<IntendedOverlap>();
    if (WholeFileFault(outcome.problems)) {
        outcome.result = OverlapMarkResult::FileAtFault;
        return outcome;
    }
    bool marked = false;
    for (const IntendedOverlap& p : pairs)
        marked = marked || SameOverlap(p, pair);
    if (marked == intended) {
        outcome.result = intended ? OverlapMarkResult::AlreadyMarked : OverlapMarkResult::NotMarked;
        return outcome;
    }

    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    platform::FsStatus written = fileSystem.CreateFolders(platform::GetFolderOfPath(outcome.path));
    if (written.ok())
        written = fileSystem.WriteFileDurably(outcome.path, intended ? WithOverlapAdded(text, pair)
                                                                     : WithOverlapRemoved(text, pair));
    outcome.result = written.ok() ? OverlapMarkResult::Changed : OverlapMarkResult::CannotWrite;
    outcome.status = written;
    return outcome;
}

}  // namespace mods
