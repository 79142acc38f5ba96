#pragma once
#include "platform/FileSystem.h"

namespace platform {

// The wide Win32 file functions. Long paths are passed in their
// extended-length form, so no path is limited to MAX_PATH characters.
class Win32FileSystem final : public FileSystem {
public:
    FsStatus ListFolder(const std::wstring& folder, std::vector<FolderEntry>& entries) override;
    bool FolderExists(const std::wstring& path) override;
    bool FileExists(const std::wstring& path) override;
    bool PathExists(const std::wstring& path) override;
    FsStatus ReadLastWriteTime(const std::wstring& path, mods::FileTime& time) override;
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

// "C:\long\path" -> "\\?\C:\long\path" when it is too long for the plain form.
std::wstring ToSystemPath(const std::wstring& path);

}  // namespace platform
