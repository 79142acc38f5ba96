#pragma once
#include "platform/FileSystem.h"

namespace platform {

// POSIX calls made to behave like the Win32 ones the program relies on.
class PosixFileSystem final : public FileSystem {
public:
    FsStatus ListFolder(const std::wstring& folder, std::vector<FolderEntry>& entries) override;
    bool FolderExists(const std::wstring& path) override;
    bool FileExists(const std::wstring& path) override;
    bool PathExists(const std::wstring& path) override;
    FsStatus ReadLastWriteTime(const std::wstring& path, mods::FileTime& time) override;
    FsStatus ReadLastWriteTimes(const std::wstring& folder, const std::vector<std::wstring>& names,
                                std::vector<mods::FileTime>& times) override;
    FsStatus WriteLastWriteTime(const std::wstring& path, mods::FileTime time) override;
    FsStatus RenameNoReplace(const std::wstring& from, const std::wstring& to) override;
    FsStatus CopyNoReplace(const std::wstring& from, const std::wstring& to) override;
    FsStatus CopyWithProgress(const std::wstring& from, const std::wstring& to, const CopyProgress& progress) override;
    FsStatus RemoveFile(const std::wstring& path) override;
    FsStatus ReadWholeFile(const std::wstring& path, std::size_t maxBytes, std::vector<unsigned char>& bytes) override;
    FsStatus CreateFolders(const std::wstring& path) override;
    FsStatus WriteFileDurably(const std::wstring& path, std::string_view bytes) override;
    FsStatus WriteNewFileDurably(const std::wstring& path, std::string_view bytes) override;
    FsStatus TryLockFile(const std::wstring& path, std::unique_ptr<FileLock>& lock) override;
    mods::FileTime CurrentTime() override;
};

}  // namespace platform
