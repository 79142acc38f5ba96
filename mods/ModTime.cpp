#include "mods/ModTime.h"

#include <algorithm>
#include <unordered_map>

#include "mods/ModFile.h"
#include "mods/SmartSort.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace mods {
namespace {

// Within this, a time read back is the one written: FAT keeps even seconds.
constexpr FileTime kTimeGrain = 2 * kTicksPerSecond;

}  // namespace

platform::FsStatus WriteTimeKept(platform::FileSystem& fileSystem, const std::wstring& path, FileTime time,
                                 FileTime* kept, KnownKeptTimes* known)
{
    const platform::FsStatus written = fileSystem.WriteLastWriteTime(path, time);
    if (!written.ok())
        return written;
    FileTime onDisk = time;
    if (!known || !known->Covers(time)) {
        const platform::FsStatus read = fileSystem.ReadLastWriteTime(path, onDisk);
        if (!read.ok())
            return read;
        if (known)
            known->Add(onDisk);
    }
    if (kept)
        *kept = onDisk;
    const FileTime apart = onDisk > time ? onDisk - time : time - onDisk;
    return apart < kTimeGrain ? platform::FsStatus{} : platform::TimeNotKeptStatus();
}

std::optional<FileTime> GetModFileTime(platform::FileSystem& fileSystem, const std::wstring& folder,
                                       const std::wstring& name)
{
    FileTime time = 0;
    if (!fileSystem.ReadLastWriteTime(platform::JoinPath(folder, name), time).ok())
        return std::nullopt;
    return time;
}

void SetModFileTime(platform::FileSystem& fileSystem, const std::wstring& folder, const std::wstring& name,
                    FileTime time, std::vector<FileFailure>& failures, KnownKeptTimes* known)
{
    const platform::FsStatus pak = WriteTimeKept(fileSystem, platform::JoinPath(folder, name), time, nullptr, known);
    if (!pak.ok())
        failures.push_back(FileFailure{name, pak});
    const std::wstring companion = CompanionName(name);
    const platform::FsStatus man = WriteTimeKept(fileSystem, platform::JoinPath(folder, companion), time, nullptr, known);
    if (!man.ok() && !platform::IsNotFound(man))
        failures.push_back(FileFailure{companion, man});
}

namespace {

// The last time the folder's file system keeps, as far as the smart sort
// goes: the far time written to one of its files and read back (a file
// system whose dates end in 2038 keeps its last second instead), then the
// file's own time put back.
FileTime LatestTimeKept(platform::FileSystem& fileSystem, const std::wstring& path, FileTime far, KnownKeptTimes& known)
{
    FileTime own = 0, kept = 0;
    if (!fileSystem.ReadLastWriteTime(path, own).ok())
        return kMaxCalendarTime;
    known.Add(own);
    const platform::FsStatus probed = WriteTimeKept(fileSystem, path, far, &kept, &known);
    WriteTimeKept(fileSystem, path, own);
    return platform::IsTimeNotKept(probed) && kept < far ? kept : kMaxCalendarTime;
}

}  // namespace

std::vector<FileFailure> WriteLoadOrder(platform::FileSystem& fileSystem, const std::wstring& folder,
                                        const std::vector<ListedMod>& mods, FileTime now, const StepProgress& progress,
                                        const std::vector<RecordedMod>* state)
{
    // Ties are found by every row's time: taken from the state, that is
    // one listing rather than an open of each mod.
    std::unordered_map<std::wstring, FileTime> stateTimes;
    if (state) {
        for (const RecordedMod& mod : *state)
            stateTimes.emplace(mod.pak.name, mod.pak.time);
    }
    std::vector<FileFailure> failures;
    KnownKeptTimes known;
    SmartSortRows rows;
    rows.count = static_cast<int>(mods.size());
    rows.isMarked = [&](int row) { return mods[static_cast<std::size_t>(row)].marked; };
    // Each row is read once and written at most once: reads and writes
    // together say how far the sort is, of at most twice the rows.
    std::size_t steps = 0;
    const auto step = [&] {
        if (progress)
            progress(steps++, 2 * mods.size());
    };
    rows.readTime = [&](int row) {
        step();
        const std::wstring& name = mods[static_cast<std::size_t>(row)].name;
        const auto inState = stateTimes.find(name);
        const std::optional<FileTime> time =
            inState != stateTimes.end() ? inState->second : GetModFileTime(fileSystem, folder, name);
        if (time)
            known.Add(*time);  // on disk, so kept
        return time;
    };
    rows.writeTime = [&](int row, FileTime time) {
        step();
        const std::wstring& name = mods[static_cast<std::size_t>(row)].name;
        const std::size_t failed = failures.size();
        SetModFileTime(fileSystem, folder, name, time, failures, &known);
        // The pak carries the order; a companion that kept its time does not move it.
        return std::none_of(failures.begin() + static_cast<std::ptrdiff_t>(failed), failures.end(),
                            [&](const FileFailure& failure) { return failure.fileName == name; });
    };
    const FileTime latest = mods.size() < 2 ? kMaxCalendarTime
                                            : LatestTimeKept(fileSystem, platform::JoinPath(folder, mods.front().name),
                                                             FarTime(now), known);
    SmartSort(rows, now, latest);
    return failures;
}

}  // namespace mods
