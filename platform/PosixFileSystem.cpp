#include "platform/PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <ctime>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/ReadToEnd.h"
#include "platform/Utf8.h"

namespace platform {
namespace {

// 1601-01-01 to 1970-01-01 in 100-ns units.
constexpr std::int64_t kUnixEpoch = 116'444'736'000'000'000;
constexpr std::int64_t kTicksPerSecond = 10'000'000;

// Times before 1601 count as 1601, times past the calendar as its end, so
// an odd time on disk never wraps into a plausible one.
mods::FileTime ToFileTime(const timespec& ts)
{
    constexpr std::int64_t kLatestSecond = (static_cast<std::int64_t>(mods::kMaxCalendarTime) - kUnixEpoch) / kTicksPerSecond;
    constexpr std::int64_t kEarliestSecond = -kUnixEpoch / kTicksPerSecond;
    if (ts.tv_sec >= kLatestSecond)
        return mods::kMaxCalendarTime;
    if (ts.tv_sec < kEarliestSecond)
        return 0;
    return static_cast<mods::FileTime>((ts.tv_sec * kTicksPerSecond) + ts.tv_nsec / 100 + kUnixEpoch);
}

timespec ToTimespec(mods::FileTime time)
{
    const std::int64_t sinceEpoch = static_cast<std::int64_t>(time) - kUnixEpoch;
    std::int64_t seconds = sinceEpoch / kTicksPerSecond;
    std::int64_t rest = sinceEpoch % kTicksPerSecond;
    if (rest < 0) {  // round towards the past, as the tick count does
        rest += kTicksPerSecond;
        --seconds;
    }
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(seconds);
    ts.tv_nsec = static_cast<long>(rest * 100);
    return ts;
}

FsStatus Errno() { return FsStatus{static_cast<unsigned long>(errno)}; }

class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { if (fd_ >= 0) ::close(fd_); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now and reports a failed close (a late write error).
    bool Close() { const int fd = fd_; fd_ = -1; return fd < 0 || ::close(fd) == 0; }
    int Release() { const int fd = fd_; fd_ = -1; return fd; }
    void Reset(int fd) { if (fd_ >= 0) ::close(fd_); fd_ = fd; }
private:
    int fd_;
};

// A link (when not followed), a pipe, a device or a socket.
bool IsSpecial(const struct stat& st) { return !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode); }

// What a read takes: a regular file (a link to one counts).
FsStatus RefuseToRead(const struct stat& st)
{
    if (S_ISDIR(st.st_mode))
        return FsStatus{EISDIR};
    return IsSpecial(st) ? NotRegularFileStatus() : FsStatus{};
}

// Opens a regular file to read, following links. A pipe or a device is
// refused before it is opened (its open could wait for a writer, or have
// effects of its own); O_NONBLOCK and fstat cover one put in its place
// between the two calls.
FsStatus OpenRegularFileToRead(const std::string& path, Fd& file, struct stat& st)
{
    if (::stat(path.c_str(), &st) != 0)
        return Errno();
    if (const FsStatus refused = RefuseToRead(st); !refused.ok())
        return refused;
    file.Reset(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file.valid() || ::fstat(file.get(), &st) != 0)
        return Errno();
    return RefuseToRead(st);
}

// Refuses a name that is not itself a regular file or a folder: a write,
// a rename or a removal never acts through a link, nor on a device.
FsStatus RefuseSpecialFile(const std::string& path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return Errno();
    return IsSpecial(st) ? NotRegularFileStatus() : FsStatus{};
}

FsStatus TimeOf(const struct stat& st, mods::FileTime& time)
{
    if (IsSpecial(st))
        return NotRegularFileStatus();
    time = ToFileTime(st.st_mtim);
    return {};
}

}  // namespace

FsStatus PosixFileSystem::ListFolder(const std::wstring& folder, std::vector<FolderEntry>& entries)
{
    const std::string path = ToUtf8(folder.empty() ? L"." : folder);
    DIR* dir = ::opendir(path.c_str());
    if (!dir)
        return Errno();
    const std::size_t listedBefore = entries.size();
    for (;;) {
        // readdir returns null at the end and on an error alike: errno tells them apart.
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (!entry) {
            const FsStatus status = Errno();
            ::closedir(dir);
            if (!status.ok())
                entries.resize(listedBefore);
            return status;
        }
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        FolderEntry item;
        item.name = FromUtf8(name);
        // readdir reports no times, and its type only for what is not a
        // link: a stat per entry would triple the cost of a refill, which
        // reads each mod's time anyway. Links, pipes, devices and the
        // types the file system does not report are looked at.
        if (entry->d_type == DT_REG || entry->d_type == DT_DIR) {
            item.isFolder = entry->d_type == DT_DIR;
        } else {
            struct stat st {};
            if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                (S_ISREG(st.st_mode) || S_ISDIR(st.st_mode))) {
                item.isFolder = S_ISDIR(st.st_mode);
            } else {
                item.isSpecial = true;
                // A link to a folder is still a folder to look into.
                item.isFolder = ::fstatat(::dirfd(dir), entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
            }
        }
        entries.push_back(std::move(item));
    }
}

bool PosixFileSystem::FolderExists(const std::wstring& path)
{
    struct stat st {};
    return ::stat(ToUtf8(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PosixFileSystem::FileExists(const std::wstring& path)
{
    Fd file;
    struct stat st {};
    return OpenRegularFileToRead(ToUtf8(path), file, st).ok();
}

bool PosixFileSystem::PathExists(const std::wstring& path)
{
    struct stat st {};
    return ::lstat(ToUtf8(path).c_str(), &st) == 0 || (errno != ENOENT && errno != ENOTDIR);
}

FsStatus PosixFileSystem::ReadLastWriteTime(const std::wstring& path, mods::FileTime& time)
{
    struct stat st {};
    if (::stat(ToUtf8(path).c_str(), &st) != 0)
        return Errno();
    return TimeOf(st, time);
}

FsStatus PosixFileSystem::ReadLastWriteTimes(const std::wstring& folder, const std::vector<std::wstring>& names,
                                             std::vector<mods::FileTime>& times)
{
    // Through the open folder, the system walks only each file's own name.
    // O_PATH needs no read permission, only what a stat of the files needs.
    const int dir = ::open(ToUtf8(folder.empty() ? L"." : folder).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return Errno();  // no file in it can be reached either
    FsStatus first;
    for (std::size_t i = 0; i < names.size() && i < times.size(); ++i) {
        struct stat st {};
        FsStatus read = ::fstatat(dir, ToUtf8(names[i]).c_str(), &st, 0) == 0 ? TimeOf(st, times[i]) : Errno();
        if (first.ok())
            first = read;
    }
    ::close(dir);
    return first;
}

FsStatus PosixFileSystem::WriteLastWriteTime(const std::wstring& path, mods::FileTime time)
{
    if (time > mods::kMaxCalendarTime)
        return FsStatus{EINVAL};  // as the system refuses such a time on Windows
    // Not opened: a read-only file is re-timed all the same. A link put in
    // its place after the check gets the time itself, its target never.
    const std::string file = ToUtf8(path);
    if (const FsStatus refused = RefuseSpecialFile(file); !refused.ok())
        return refused;
    const timespec times[2] = {{0, UTIME_OMIT}, ToTimespec(time)};
    if (::utimensat(AT_FDCWD, file.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
        return Errno();
    return {};
}

FsStatus PosixFileSystem::RenameNoReplace(const std::wstring& from, const std::wstring& to)
{
    const std::string source = ToUtf8(from);
    const std::string target = ToUtf8(to);
    if (const FsStatus refused = RefuseSpecialFile(source); !refused.ok())
        return refused;
    if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return {};
    if (errno != EINVAL && errno != ENOSYS)
        return Errno();
    // File systems without RENAME_NOREPLACE: link refuses an existing target.
    if (::link(source.c_str(), target.c_str()) != 0)
        return Errno();
    if (::unlink(source.c_str()) != 0) {
        const FsStatus status = Errno();
        ::unlink(target.c_str());
        return status;
    }
    return {};
}

FsStatus PosixFileSystem::CopyNoReplace(const std::wstring& from, const std::wstring& to)
{
    return CopyWithProgress(from, to, {});
}

FsStatus PosixFileSystem::CopyWithProgress(const std::wstring& from, const std::wstring& to,
                                           const CopyProgress& progress)
{
    Fd source;
    struct stat st {};
    if (const FsStatus opened = OpenRegularFileToRead(ToUtf8(from), source, st); !opened.ok())
        return opened;

    const std::string targetPath = ToUtf8(to);
    Fd target(::open(targetPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (!target.valid())
        return Errno();

    FsStatus status;
    char buffer[64 * 1024];
    const auto total = static_cast<std::uint64_t>(st.st_size);
    std::uint64_t copied = 0;
    for (;;) {
        if (progress && !progress(copied, total)) {
            status = CancelledStatus();
            break;
        }
        const ssize_t got = ::read(source.get(), buffer, sizeof buffer);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            status = Errno();
            break;
        }
        for (ssize_t done = 0; done < got && status.ok();) {
            const ssize_t put = ::write(target.get(), buffer + done, static_cast<size_t>(got - done));
            if (put < 0 && errno != EINTR)
                status = Errno();
            else if (put > 0)
                done += put;
        }
        if (!status.ok())
            break;
        copied += static_cast<std::uint64_t>(got);
    }
    const timespec times[2] = {{0, UTIME_OMIT}, st.st_mtim};
    if (status.ok() && ::futimens(target.get(), times) != 0)
        status = Errno();
    if (!target.Close() && status.ok())
        status = Errno();
    if (!status.ok())
        ::unlink(targetPath.c_str());  // never leave a partial copy behind
    return status;
}

FsStatus PosixFileSystem::RemoveFile(const std::wstring& path)
{
    const std::string file = ToUtf8(path);
    if (const FsStatus refused = RefuseSpecialFile(file); !refused.ok())
        return refused;
    if (::unlink(file.c_str()) != 0)
        return Errno();
    return {};
}

FsStatus PosixFileSystem::ReadWholeFile(const std::wstring& path, std::size_t maxBytes, std::vector<unsigned char>& bytes)
{
    Fd file;
    struct stat st {};
    if (const FsStatus opened = OpenRegularFileToRead(ToUtf8(path), file, st); !opened.ok()) {
        bytes.clear();
        return opened;
    }
    int error = 0;
    const auto readSome = [&](unsigned char* buffer, std::size_t room) -> long long {
        ssize_t got;
        while ((got = ::read(file.get(), buffer, room)) < 0 && errno == EINTR) {
        }
        if (got < 0)
            error = errno;
        return got;
    };
    switch (ReadToEnd(readSome, static_cast<std::uint64_t>(st.st_size), maxBytes, bytes)) {
    case ReadToEndResult::Done: return {};
    case ReadToEndResult::TooLarge: return FsStatus{EFBIG};
    case ReadToEndResult::Failed: break;
    }
    return FsStatus{static_cast<unsigned long>(error)};
}

FsStatus PosixFileSystem::CreateFolders(const std::wstring& path)
{
    const std::wstring folder = StripTrailingSeparators(path);
    if (folder.empty() || FolderExists(folder))
        return {};
    const std::wstring parent = StripTrailingSeparators(GetFolderOfPath(folder));
    if (!parent.empty() && parent != folder) {
        const FsStatus above = CreateFolders(parent);
        if (!above.ok())
            return above;
    }
    if (::mkdir(ToUtf8(folder).c_str(), 0755) != 0 && !(errno == EEXIST && FolderExists(folder)))
        return Errno();
    return {};
}

namespace {

// Writes every byte to the open file and flushes it to the disk; closes it.
FsStatus WriteSyncAndClose(Fd& file, std::string_view bytes)
{
    FsStatus status;
    for (std::size_t done = 0; done < bytes.size() && status.ok();) {
        const ssize_t put = ::write(file.get(), bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno != EINTR)
            status = Errno();
        else if (put > 0)
            done += static_cast<std::size_t>(put);
    }
    if (status.ok() && ::fsync(file.get()) != 0)
        status = Errno();
    if (!file.Close() && status.ok())
        status = Errno();
    return status;
}

// A name made or changed in a folder is only on disk once the folder is.
FsStatus SyncFolderOf(const std::wstring& path)
{
    const std::wstring folder = GetFolderOfPath(path);
    Fd dir(::open(ToUtf8(folder.empty() ? L"." : folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.valid() || ::fsync(dir.get()) != 0)
        return Errno();
    return {};
}

}  // namespace

FsStatus PosixFileSystem::WriteFileDurably(const std::wstring& path, std::string_view bytes)
{
    // The temporary file is always a new one under a name of this call's
    // own: never a file, or a link, that another writer or anyone else put there.
    static std::atomic<unsigned> calls{0};
    constexpr int kNamesTried = 16;
    const std::string target = ToUtf8(path);
    const std::string unique = target + "." + std::to_string(::getpid()) + "-";
    std::string temporary;
    Fd file;
    for (int tried = 0; !file.valid() && tried < kNamesTried; ++tried) {
        temporary = unique + std::to_string(++calls) + ToUtf8(kTemporaryFileSuffix);
        file.Reset(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
        if (!file.valid() && errno != EEXIST)
            break;
    }
    if (!file.valid())
        return Errno();
    FsStatus status = WriteSyncAndClose(file, bytes);
    if (status.ok() && ::rename(temporary.c_str(), target.c_str()) != 0)
        status = Errno();
    if (!status.ok()) {
        ::unlink(temporary.c_str());
        return status;
    }
    return SyncFolderOf(path);
}

FsStatus PosixFileSystem::WriteNewFileDurably(const std::wstring& path, std::string_view bytes)
{
    const std::string target = ToUtf8(path);
    Fd file(::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (!file.valid())
        return Errno();
    const FsStatus status = WriteSyncAndClose(file, bytes);
    if (!status.ok()) {
        ::unlink(target.c_str());
        return status;
    }
    return SyncFolderOf(path);
}

namespace {

class FlockLock final : public FileLock {
public:
    explicit FlockLock(int fd) : fd_(fd) {}
    ~FlockLock() override { ::close(fd_); }  // closing the descriptor releases the lock
    FlockLock(const FlockLock&) = delete;
    FlockLock& operator=(const FlockLock&) = delete;
private:
    int fd_;
};

}  // namespace

FsStatus PosixFileSystem::TryLockFile(const std::wstring& path, std::unique_ptr<FileLock>& lock)
{
    // flock, not fcntl: its lock belongs to the open file, so two holders in
    // one process exclude each other as two processes do.
    Fd file(::open(ToUtf8(path).c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (!file.valid())
        return Errno();
    if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0)
        return errno == EWOULDBLOCK ? LockedStatus() : Errno();
    lock = std::make_unique<FlockLock>(file.Release());
    return {};
}

mods::FileTime PosixFileSystem::CurrentTime()
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return ToFileTime(now);
}

bool IsNotFound(FsStatus status) { return status.error == ENOENT || status.error == ENOTDIR; }

bool IsAlreadyExists(FsStatus status) { return status.error == EEXIST; }

FsStatus LockedStatus() { return FsStatus{EWOULDBLOCK}; }

FsStatus TimeNotKeptStatus() { return FsStatus{EOVERFLOW}; }

bool IsTimeNotKept(FsStatus status) { return status.error == EOVERFLOW; }

bool IsLocked(FsStatus status) { return status.error == EWOULDBLOCK; }

FsStatus AlreadyExistsStatus() { return FsStatus{EEXIST}; }

bool IsTooLarge(FsStatus status) { return status.error == EFBIG; }

FsStatus TooLargeStatus() { return FsStatus{EFBIG}; }

FsStatus NotSupportedStatus() { return FsStatus{ENOTSUP}; }

// No call made here fails with ENODEV otherwise: no device is ever opened.
FsStatus NotRegularFileStatus() { return FsStatus{ENODEV}; }

bool IsNotRegularFile(FsStatus status) { return status.error == ENODEV; }

FsStatus CancelledStatus() { return FsStatus{ECANCELED}; }

bool IsCancelled(FsStatus status) { return status.error == ECANCELED; }

FsStatus BadDataStatus() { return FsStatus{EBADMSG}; }

FailureKind KindOf(FsStatus status)
{
    switch (status.error) {
    case 0: return FailureKind::None;
    case ENOENT: return FailureKind::NotFound;
    case ENOTDIR: return FailureKind::PathNotFound;
    case EEXIST: return FailureKind::AlreadyExists;
    case EACCES:
    case EPERM: return FailureKind::AccessDenied;
    case EBUSY:
    case ETXTBSY: return FailureKind::InUse;
    case ENOSPC: return FailureKind::DiskFull;
    case EROFS: return FailureKind::WriteProtected;
    case ENAMETOOLONG:
    case EINVAL: return FailureKind::NameInvalid;
    case EFBIG: return FailureKind::TooLarge;
    case ENODEV: return FailureKind::NotRegularFile;
    case EOVERFLOW: return FailureKind::TimeNotKept;
    case EWOULDBLOCK: return FailureKind::Locked;
    case ECANCELED: return FailureKind::Cancelled;
    case ENOTSUP: return FailureKind::NotSupported;
    case EBADMSG: return FailureKind::BadData;
    default: return FailureKind::Other;
    }
}

std::wstring SystemMessage(FsStatus status, unsigned long)
{
    return FromUtf8(std::strerror(static_cast<int>(status.error)));
}

#ifndef _WIN32
FileSystem& SystemFileSystem()
{
    static PosixFileSystem fileSystem;
    return fileSystem;
}
#endif

}  // namespace platform
