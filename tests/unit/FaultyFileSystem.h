#pragma once
// The system's file system with chosen operations failing, for tests of
// what the core does when a file cannot follow.

#include <functional>
#include <new>
#include <optional>
#include <set>
#include <string>

#include "platform/FileSystem.h"

namespace testing_files {

class FaultyFileSystem final : public platform::FileSystem {
public:
    explicit FaultyFileSystem(platform::FileSystem& real) : real_(real) {}

    // Paths whose time reads, time writes, renames (from), copies (to) or removals fail.
    std::set<std::wstring> unreadable, unwritable, unrenamable, uncopyable, unremovable;
    // Folders whose listing fails part-way, after the system listed some entries.
    std::set<std::wstring> unlistable;
    // How many more durable writes (records, lists) go through; then every one fails. Negative: no limit.
    int durableWritesBeforeFailure = -1;
    // Times written that the disk does not keep: it keeps this one instead.
    std::optional<mods::FileTime> latestTimeKept;
    // Paths another program creates (holding "other") just before a copy to them.
    std::set<std::wstring> createdBeforeCopy;
    // Paths whose renames (from) or copies (to) throw std::bad_alloc, as when memory runs out.
    std::set<std::wstring> outOfMemory;
    // How many more writes to files (time writes, renames, copies, removals)
    // go through; after that every one fails, as if the program had been
    // stopped there. Negative: no limit.
    int writesBeforeCrash = -1;
    // The clock, stopped there; empty: the system's.
    std::optional<mods::FileTime> stoppedClock;
    // Paths whose whole-file reads end half-way, as when another program
    // rewrites the file while it is read.
    std::set<std::wstring> cutShort;
    // Called with the path before each whole-file read: another program at
    // work meanwhile (removing or replacing files).
    std::function<void(const std::wstring& path)> beforeWholeRead;

    platform::FsStatus ListFolder(const std::wstring& folder, std::vector<platform::FolderEntry>& entries) override
    {
        if (unlistable.count(folder))
            return kDenied;  // as the system does, with nothing listed
        return real_.ListFolder(folder, entries);
    }
    bool FolderExists(const std::wstring& path) override { return real_.FolderExists(path); }
    bool FileExists(const std::wstring& path) override { return real_.FileExists(path); }
    bool PathExists(const std::wstring& path) override { return real_.PathExists(path); }
    platform::FsStatus ReadLastWriteTime(const std::wstring& path, mods::FileTime& time) override
    {
        return unreadable.count(path) ? kDenied : real_.ReadLastWriteTime(path, time);
    }
    platform::FsStatus WriteLastWriteTime(const std::wstring& path, mods::FileTime time) override
    {
        if (unwritable.count(path) || Crashed())
            return kDenied;
        // A disk whose dates end early: the write succeeds, the time is another.
        return real_.WriteLastWriteTime(path, latestTimeKept && time > *latestTimeKept ? *latestTimeKept : time);
    }
    platform::FsStatus RenameNoReplace(const std::wstring& from, const std::wstring& to) override
    {
        if (outOfMemory.count(from))
            throw std::bad_alloc();
        return unrenamable.count(from) || Crashed() ? kDenied : real_.RenameNoReplace(from, to);
    }
    platform::FsStatus CopyNoReplace(const std::wstring& from, const std::wstring& to) override
    {
        return CopyWithProgress(from, to, {});
    }
    platform::FsStatus CopyWithProgress(const std::wstring& from, const std::wstring& to,
                                        const platform::CopyProgress& progress) override
    {
        if (outOfMemory.count(to))
            throw std::bad_alloc();
        if (createdBeforeCopy.count(to))
            real_.WriteFileDurably(to, "other");
        if (uncopyable.count(to) || Crashed())
            return kDenied;
        return progress ? real_.CopyWithProgress(from, to, progress) : real_.CopyNoReplace(from, to);
    }
    platform::FsStatus RemoveFile(const std::wstring& path) override
    {
        return unremovable.count(path) || Crashed() ? kDenied : real_.RemoveFile(path);
    }
    platform::FsStatus ReadWholeFile(const std::wstring& path, std::size_t maxBytes, std::vector<unsigned char>& bytes) override
    {
        if (beforeWholeRead)
            beforeWholeRead(path);
        if (unreadable.count(path))
            return kDenied;
        const platform::FsStatus read = real_.ReadWholeFile(path, maxBytes, bytes);
        if (read.ok() && cutShort.count(path))
            bytes.resize(bytes.size() / 2);
        return read;
    }
    platform::FsStatus CreateFolders(const std::wstring& path) override { return real_.CreateFolders(path); }
    platform::FsStatus WriteFileDurably(const std::wstring& path, std::string_view bytes) override
    {
        return DurableWriteFails() ? kDenied : real_.WriteFileDurably(path, bytes);
    }
    platform::FsStatus WriteNewFileDurably(const std::wstring& path, std::string_view bytes) override
    {
        return DurableWriteFails() ? kDenied : real_.WriteNewFileDurably(path, bytes);
    }
    platform::FsStatus TryLockFile(const std::wstring& path, std::unique_ptr<platform::FileLock>& lock) override
    {
        return real_.TryLockFile(path, lock);
    }
    mods::FileTime CurrentTime() override { return stoppedClock ? *stoppedClock : real_.CurrentTime(); }

private:
    bool DurableWriteFails()
    {
        if (durableWritesBeforeFailure < 0)
            return false;
        if (durableWritesBeforeFailure == 0)
            return true;
        --durableWritesBeforeFailure;
        return false;
    }
    // Counts one write; true when it must fail.
    bool Crashed()
    {
        if (writesBeforeCrash < 0)
            return false;
        if (writesBeforeCrash == 0)
            return true;
        --writesBeforeCrash;
        return false;
    }

    static constexpr platform::FsStatus kDenied{5};  // ERROR_ACCESS_DENIED; EIO on POSIX
    platform::FileSystem& real_;
};

}  // namespace testing_files
