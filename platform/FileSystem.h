#pragma once
// The little the mod catalogue needs from the operating system. One
// implementation uses the wide Win32 file functions, the other POSIX calls
// that behave the same way (no rename or copy ever replaces a file).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/FileTime.h"
#include "platform/Paths.h"

namespace platform {

// The outcome of a file operation: 0 on success, otherwise the system's
// error code (a Win32 error code on Windows, an errno value elsewhere).
struct FsStatus {
    unsigned long error = 0;
    bool ok() const { return error == 0; }
};

struct FolderEntry {
    std::wstring name;
    bool isFolder = false;
    mods::FileTime lastWriteTime = 0;  // as the enumeration reported it; 0 where it reports none (POSIX)
    // Neither a regular file nor a folder, or a link: never a mod, never
    // opened or written through.
    bool isSpecial = false;
};

// A lock taken by TryLockFile, held until it is destroyed or the process ends.
class FileLock {
public:
    virtual ~FileLock() = default;
};

// Told how far a copy has got; false stops it.
using CopyProgress = std::function<bool(std::uint64_t copiedBytes, std::uint64_t totalBytes)>;

// The end of WriteFileDurably's temporary file: the target's name, a part
// no other writer uses (the process and the call), then this. The file is
// always created new, so a name someone left there is never written through.
inline constexpr std::wstring_view kTemporaryFileSuffix = L".tmp";

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The folder's entries in the order the system returns them, without
    // "." and "..". A listing that fails part-way fails whole: it is never
    // taken for a shorter folder.
    virtual FsStatus ListFolder(const std::wstring& folder, std::vector<FolderEntry>& entries) = 0;
    virtual bool FolderExists(const std::wstring& path) = 0;
    // True for a regular file that can be opened for reading (a link to one
    // counts: reads follow links).
    virtual bool FileExists(const std::wstring& path) = 0;
    // True when anything of that name is there, whether or not it can be
    // opened (held open without sharing, no access): a rename or copy to the
    // name would fail.
    virtual bool PathExists(const std::wstring& path) { return FileExists(path) || FolderExists(path); }

    // Times are read and written through attribute access only, so a file
    // that another program holds open can still be re-timed. A write sets
    // the last-write time and nothing else. A read of anything but a
    // regular file or a folder, or a write of anything but a regular file
    // (never through a link), fails with NotRegularFileStatus().
    virtual FsStatus ReadLastWriteTime(const std::wstring& path, mods::FileTime& time) = 0;
    // The times of files in one folder, times[i] for names[i]; a time that
    // cannot be read is left as it was, and the first such failure is
    // returned. One ReadLastWriteTime per file, unless the system can read
    // them all through the folder it has open.
    virtual FsStatus ReadLastWriteTimes(const std::wstring& folder, const std::vector<std::wstring>& names,
                                        std::vector<mods::FileTime>& times)
    {
        FsStatus first;
        for (std::size_t i = 0; i < names.size() && i < times.size(); ++i) {
            const FsStatus read = ReadLastWriteTime(JoinPath(folder, names[i]), times[i]);
            if (first.ok())
                first = read;
        }
        return first;
    }
    virtual FsStatus WriteLastWriteTime(const std::wstring& path, mods::FileTime time) = 0;

    // Fails when the destination exists (a change of case only is allowed
    // where names are case-insensitive). RenameNoReplace and RemoveFile act
    // on regular files only, so a link or a device is never taken for a mod.
    virtual FsStatus RenameNoReplace(const std::wstring& from, const std::wstring& to) = 0;
    // Fails when the destination exists; the copy keeps the source's
    // last-write time. The source must be a regular file (or a link to one).
    virtual FsStatus CopyNoReplace(const std::wstring& from, const std::wstring& to) = 0;
    // The same, telling `progress` as it goes. A copy it stops fails with
    // CancelledStatus() and leaves no file behind. (A file system that does
    // not override it copies in one go and tells nothing.)
    virtual FsStatus CopyWithProgress(const std::wstring& from, const std::wstring& to, const CopyProgress& progress)
    {
        (void)progress;
        return CopyNoReplace(from, to);
    }
    virtual FsStatus RemoveFile(const std::wstring& path) = 0;

    // The file's bytes in `bytes`, whose storage is reused from call to call;
    // fails, leaving it empty, when the file holds more than maxBytes or is
    // not a regular file (a link to one is read).
    virtual FsStatus ReadWholeFile(const std::wstring& path, std::size_t maxBytes, std::vector<unsigned char>& bytes) = 0;

    // Creates the folder and every missing folder above it; a folder that
    // is already there is no failure.
    virtual FsStatus CreateFolders(const std::wstring& path);
    // Writes the bytes to a temporary file beside `path`, flushes it to the
    // disk and renames it over `path`, so that after a crash at any moment
    // the file is either the old one or the whole new one. On failure the
    // temporary file is removed and an older file is left as it was.
    virtual FsStatus WriteFileDurably(const std::wstring& path, std::string_view bytes);
    // Creates the file, failing when anything of that name is there, writes
    // the bytes, flushes them and the file's name to the disk: one write
    // where WriteFileDurably makes two. A crash part-way can leave the file
    // shorter, so it suits files whose last line shows they are whole; on
    // failure the file is removed.
    virtual FsStatus WriteNewFileDurably(const std::wstring& path, std::string_view bytes);
    // (A file system that does not override these two, a wrapper that does
    // not pass them on, fails them with NotSupportedStatus().)

    // Locks the file exclusively, creating it when it is missing, without
    // waiting: fails with LockedStatus() while another holder (another
    // process, or another lock in this one) has it. The system releases the
    // lock when the process dies.
    virtual FsStatus TryLockFile(const std::wstring& path, std::unique_ptr<FileLock>& lock);

    // The current time, UTC.
    virtual mods::FileTime CurrentTime() = 0;
};

// The implementation for the system the program was built for.
FileSystem& SystemFileSystem();

}  // namespace platform

namespace platform {

// True when a file or a folder of that name is there: a rename or copy to
// the name would fail.
inline bool NameTaken(FileSystem& fileSystem, const std::wstring& path) { return fileSystem.PathExists(path); }

// True when the operation failed because the file (or its folder) is not there.
bool IsNotFound(FsStatus status);

// True when the operation failed because the destination already exists.
bool IsAlreadyExists(FsStatus status);
// The failure of an operation refused because its destination exists.
FsStatus AlreadyExistsStatus();

// True when a whole-file read was refused because the file holds more than its limit.
bool IsTooLarge(FsStatus status);
// The failure of a file that would be larger than its reader takes.
FsStatus TooLargeStatus();

// The failure of a copy stopped through its progress.
FsStatus CancelledStatus();
bool IsCancelled(FsStatus status);

// The failure of an operation refused because the file is not a regular
// one: a link, a pipe, a device. Writes never act through a link, and
// nothing opens a pipe or a device, which could wait forever.
FsStatus NotRegularFileStatus();
bool IsNotRegularFile(FsStatus status);

// The failure of an operation the file system does not offer.
FsStatus NotSupportedStatus();

// The failure of a lock another holder has.
FsStatus LockedStatus();
bool IsLocked(FsStatus status);

inline FsStatus FileSystem::CreateFolders(const std::wstring&) { return NotSupportedStatus(); }
inline FsStatus FileSystem::TryLockFile(const std::wstring&, std::unique_ptr<FileLock>&) { return NotSupportedStatus(); }
inline FsStatus FileSystem::WriteFileDurably(const std::wstring&, std::string_view) { return NotSupportedStatus(); }
inline FsStatus FileSystem::WriteNewFileDurably(const std::wstring& path, std::string_view bytes)
{
    return PathExists(path) ? AlreadyExistsStatus() : WriteFileDurably(path, bytes);
}

// The failure of a time write the file system did not keep (read back, it
// is another time: the file system's dates end earlier, say).
FsStatus TimeNotKeptStatus();
bool IsTimeNotKept(FsStatus status);

// The failure of a read whose file holds what it should not.
FsStatus BadDataStatus();

// What kind of failure a status is, for a front end to say in its own words.
// The file systems hold no words of the program's; each maps its own codes.
enum class FailureKind {
    None,            // success
    NotFound,        // the file is not there
    PathNotFound,    // a folder on the way to it is not there
    AlreadyExists,
    AccessDenied,
    InUse,           // another program has the file open
    DiskFull,
    WriteProtected,
    NameInvalid,     // not a valid name, or too long
    TooLarge,        // more than its reader takes
    NotRegularFile,  // a link, a pipe or a device
    TimeNotKept,
    Locked,          // another holder has the lock
    Cancelled,
    NotSupported,
    BadData,
    Other,           // only the system's own message says more
};
FailureKind KindOf(FsStatus status);

// The system's own message for the failure (strerror, FormatMessageW), with
// no trailing period or line break; empty when the system has none. On
// Windows `languageId` picks the language (a LANGID; 0 lets the system
// choose); elsewhere the system speaks its one language.
std::wstring SystemMessage(FsStatus status, unsigned long languageId = 0);

}  // namespace platform
