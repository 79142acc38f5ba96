#pragma once
// A file system that hands the listing it made last to the next caller that
// lists the same folder, once. Start-up (of the window and of the command
// line) tests the folder for paks and then reads it; under Wine a listing
// of thousands of files costs about as much as opening each of them, and
// natively as much as the rest of the read, so the second listing is not
// made again.

#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Paths.h"

class ReusedListing final : public platform::FileSystem {
public:
    explicit ReusedListing(platform::FileSystem& system) : system_(system) {}

    // The next listing is made afresh (the folder may change while a message is shown).
    void Forget()
    {
        kept_ = false;
        keptEntries_.clear();
    }

    // Hands a listing made elsewhere to the next caller that lists the folder.
    void Keep(const std::wstring& folder, std::vector<platform::FolderEntry> entries)
    {
        keptFolder_ = platform::WithTrailingSeparator(folder);
        keptEntries_ = std::move(entries);
        kept_ = true;
    }

    platform::FsStatus ListFolder(const std::wstring& folder, std::vector<platform::FolderEntry>& entries) override
    {
        const std::wstring key = platform::WithTrailingSeparator(folder);
        if (kept_ && key == keptFolder_) {
            entries.insert(entries.end(), std::make_move_iterator(keptEntries_.begin()),
                           std::make_move_iterator(keptEntries_.end()));
            Forget();
            return {};
        }
        Forget();
        std::vector<platform::FolderEntry> listed;
        const platform::FsStatus status = system_.ListFolder(folder, listed);
        if (!status.ok())
            return status;
        entries.insert(entries.end(), listed.begin(), listed.end());
        keptFolder_ = key;
        keptEntries_ = std::move(listed);
        kept_ = true;
        return {};
    }

    bool FolderExists(const std::wstring& path) override { return system_.FolderExists(path); }
    bool FileExists(const std::wstring& path) override { return system_.FileExists(path); }
    bool PathExists(const std::wstring& path) override { return system_.PathExists(path); }
    platform::FsStatus ReadLastWriteTime(const std::wstring& path, mods::FileTime& time) override
    {
        return system_.ReadLastWriteTime(path, time);
    }
    platform::FsStatus ReadLastWriteTimes(const std::wstring& folder, const std::vector<std::wstring>& names,
                                          std::vector<mods::FileTime>& times) override
    {
        return system_.ReadLastWriteTimes(folder, names, times);
    }
    platform::FsStatus WriteLastWriteTime(const std::wstring& path, mods::FileTime time) override
    {
        return system_.WriteLastWriteTime(path, time);
    }
    platform::FsStatus RenameNoReplace(const std::wstring& from, const std::wstring& to) override
    {
        Forget();  // the folder changes
        return system_.RenameNoReplace(from, to);
    }
    platform::FsStatus CopyWithProgress(const std::wstring& from, const std::wstring& to,
                                        const platform::CopyProgress& progress) override
    {
        Forget();  // the folder changes
        return system_.CopyWithProgress(from, to, progress);
    }
    platform::FsStatus CopyNoReplace(const std::wstring& from, const std::wstring& to) override
    {
        Forget();  // the folder changes
        return system_.CopyNoReplace(from, to);
    }
    platform::FsStatus RemoveFile(const std::wstring& path) override
    {
        Forget();
        return system_.RemoveFile(path);
    }
    platform::FsStatus ReadWholeFile(const std::wstring& path, std::size_t maxBytes,
                                     std::vector<unsigned char>& bytes) override
    {
        return system_.ReadWholeFile(path, maxBytes, bytes);
    }
    platform::FsStatus CreateFolders(const std::wstring& path) override
    {
        Forget();
        return system_.CreateFolders(path);
    }
    platform::FsStatus WriteFileDurably(const std::wstring& path, std::string_view bytes) override
    {
        Forget();
        return system_.WriteFileDurably(path, bytes);
    }
    platform::FsStatus WriteNewFileDurably(const std::wstring& path, std::string_view bytes) override
    {
        Forget();
        return system_.WriteNewFileDurably(path, bytes);
    }
    platform::FsStatus TryLockFile(const std::wstring& path, std::unique_ptr<platform::FileLock>& lock) override
    {
        return system_.TryLockFile(path, lock);
    }
    mods::FileTime CurrentTime() override { return system_.CurrentTime(); }

private:
    platform::FileSystem& system_;
    bool kept_ = false;
    std::wstring keptFolder_;  // with a trailing separator
    std::vector<platform::FolderEntry> keptEntries_;
};
