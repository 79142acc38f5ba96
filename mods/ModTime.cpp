#include "mods/ModTime.h"

#include <algorithm>

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
                                 FileTime* kept)
{
    const platform::FsStatus written = fileSystem.WriteLastWriteTime(path, time);
    if (!written.ok())
        return written;
    FileTime onDisk = 0;
    const platform::FsStatus read = fileSystem.ReadLastWriteTime(path, onDisk);
    if (!read.ok())
        return read;
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
                    FileTime time, std::vector<FileFailure>& failures)
{
    const platform::FsStatus pak = WriteTimeKept(fileSystem, platform::JoinPath(folder, name), time);
    if (!pak.ok())
        failures.push_back(FileFailure{name, pak});
    const std::wstring companion = CompanionName(name);
    const platform::FsStatus man = WriteTimeKept(fileSystem, platform::JoinPath(folder, companion), time);
    if (!man.ok() && !platform::IsNotFound(man))
        failures.push_back(FileFailure{companion, man});
}

namespace {

// The last time the folder's file system keeps, as far as the smart sort
// goes: the far time written to one of its files and read back (a file
// system whose dates end in 2038 keeps its last second instead), then the
// file's own time put back.
FileTime LatestTimeKept(platform::FileSystem& fileSystem, const std::wstring& path, FileTime far)
{
    FileTime own = 0, kept = 0;
    if (!fileSystem.ReadLastWriteTime(path, own).ok())
        return kMaxCalendarTime;
    const platform::FsStatus probed = WriteTimeKept(fileSystem, path, far, &kept);
    WriteTimeKept(fileSystem, path, own);
    return platform::IsTimeNotKept(probed) && kept < far ? kept : kMaxCalendarTime;
}

}  // namespace

std::vector<FileFailure> WriteLoadOrder(platform::FileSystem& fileSystem, const std::wstring& folder,
                                        const std::vector<ListedMod>& mods, FileTime now, const StepProgress& progress)
{
    std::vector<FileFailure> failures;
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
        return GetModFileTime(fileSystem, folder, mods[static_cast<std::size_t>(row)].name);
    };
    rows.writeTime = [&](int row, FileTime time) {
        step();
        const std::wstring& name = mods[static_cast<std::size_t>(row)].name;
        const std::size_t failed = failures.size();
        SetModFileTime(fileSystem, folder, name, time, failures);
        // The pak carries the order; a companion that kept its time does not move it.
        return std::none_of(failures.begin() + static_cast<std::ptrdiff_t>(failed), failures.end(),
                            [&](const FileFailure& failure) { return failure.fileName == name; });
    };
    const FileTime latest =
        mods.size() < 2 ? kMaxCalendarTime : LatestTimeKept(fileSystem, platform::JoinPath(folder, mods.front().name), FarTime(now));
    SmartSort(rows, now, latest);
    return failures;
}

}  // namespace mods
