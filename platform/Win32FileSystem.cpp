#include "platform/Win32FileSystem.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/UniqueHandle.h"
#include "platform/Paths.h"
#include "platform/ReadToEnd.h"

namespace platform {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Leaves room for a file name appended to a folder near the limit.
constexpr std::size_t kPlainPathLimit = MAX_PATH - 12;

mods::FileTime ToFileTime(const FILETIME& ft)
{
    return (static_cast<mods::FileTime>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

FILETIME ToFiletime(mods::FileTime time)
{
    return FILETIME{static_cast<DWORD>(time & 0xFFFFFFFFu), static_cast<DWORD>(time >> 32)};
}

FsStatus LastError() { return FsStatus{GetLastError()}; }

FsStatus FromBool(BOOL succeeded) { return succeeded ? FsStatus{} : LastError(); }

fw::UniqueFile OpenForAttributes(const std::wstring& path, DWORD access, DWORD flags = 0)
{
    return fw::UniqueFile(CreateFileW(ToSystemPath(path).c_str(), access, kShareAll, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr));
}

// A link or a junction (a reparse point that names another file), or a
// device: never a mod. Other reparse points are files in their own right
// (OneDrive's placeholders, deduplicated files) and stay mods.
bool IsSpecial(DWORD attributes, DWORD reparseTag)
{
    return (attributes & FILE_ATTRIBUTE_DEVICE) ||
           ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) && IsReparseTagNameSurrogate(reparseTag));
}

// Refuses a name that is itself a link or a device: a rename or a removal
// never acts on a link as if it were a mod.
FsStatus RefuseSpecialFile(const std::wstring& systemPath)
{
    WIN32_FIND_DATAW data{};
    fw::UniqueFind find(FindFirstFileW(systemPath.c_str(), &data));
    if (!find)
        return LastError();
    return IsSpecial(data.dwFileAttributes, data.dwReserved0) ? NotRegularFileStatus() : FsStatus{};
}

// Refuses an open handle that is not a file on a disk: a pipe, or a device
// such as NUL, which a name like "nul.pak" opens on older systems.
FsStatus RefuseNonDiskFile(HANDLE file)
{
    return GetFileType(file) == FILE_TYPE_DISK ? FsStatus{} : NotRegularFileStatus();
}

}  // namespace

std::wstring ToSystemPath(const std::wstring& path)
{
    if (path.size() < kPlainPathLimit || path.rfind(L"\\\\?\\", 0) == 0)
        return path;
    std::wstring full(path.size() + MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0)
            return path;
        if (length < full.size()) {
            full.resize(length);
            break;
        }
        full.resize(length);
    }
    if (full.rfind(L"\\\\?\\", 0) == 0)
        return full;
    if (full.rfind(L"\\\\", 0) == 0)
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

FsStatus Win32FileSystem::ListFolder(const std::wstring& folder, std::vector<FolderEntry>& entries)
{
    const std::wstring pattern = ToSystemPath(JoinPath(folder, L"*"));
    WIN32_FIND_DATAW data{};
    fw::UniqueFind find(FindFirstFileW(pattern.c_str(), &data));
    if (!find)
        return GetLastError() == ERROR_FILE_NOT_FOUND ? FsStatus{} : LastError();  // an empty drive root
    const std::size_t listedBefore = entries.size();
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        // A link to a folder is still a folder to look into.
        entries.push_back(FolderEntry{name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                                      ToFileTime(data.ftLastWriteTime), IsSpecial(data.dwFileAttributes, data.dwReserved0)});
    } while (FindNextFileW(find.get(), &data));
    // Only the end of the folder ends the listing well.
    if (GetLastError() != ERROR_NO_MORE_FILES) {
        const FsStatus status = LastError();
        entries.resize(listedBefore);
        return status;
    }
    return {};
}

bool Win32FileSystem::FolderExists(const std::wstring& path)
{
    // Works for drive roots ("D:\") too, which have no directory entry of their own.
    const DWORD attributes = GetFileAttributesW(ToSystemPath(WithTrailingSeparator(path)).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32FileSystem::FileExists(const std::wstring& path)
{
    fw::UniqueFile file(CreateFileW(ToSystemPath(path).c_str(), GENERIC_READ, kShareAll, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.valid() && RefuseNonDiskFile(file.get()).ok();
}

bool Win32FileSystem::PathExists(const std::wstring& path)
{
    // The attributes are read from the folder's entry, so a file held open
    // without sharing, or one that cannot be read, is still seen.
    if (GetFileAttributesW(ToSystemPath(path).c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    const DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND && error != ERROR_INVALID_NAME;
}

FsStatus Win32FileSystem::ReadLastWriteTime(const std::wstring& path, mods::FileTime& time)
{
    fw::UniqueFile file = OpenForAttributes(path, FILE_READ_ATTRIBUTES);
    if (!file)
        return LastError();
    if (const FsStatus refused = RefuseNonDiskFile(file.get()); !refused.ok())
        return refused;
    FILETIME lastWrite{};
    if (!GetFileTime(file.get(), nullptr, nullptr, &lastWrite))
        return LastError();
    time = ToFileTime(lastWrite);
    return {};
}

FsStatus Win32FileSystem::WriteLastWriteTime(const std::wstring& path, mods::FileTime time)
{
    // Larger values are not times: all ones even means "leave the time as it is".
    if (time > mods::kMaxCalendarTime)
        return FsStatus{ERROR_INVALID_PARAMETER};
    // The name itself is opened, never a link's target; what it is is
    // read from the open handle, so nothing can be put in its place.
    fw::UniqueFile file =
        OpenForAttributes(path, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, FILE_FLAG_OPEN_REPARSE_POINT);
    if (!file)
        return LastError();
    if (const FsStatus refused = RefuseNonDiskFile(file.get()); !refused.ok())
        return refused;
    FILE_ATTRIBUTE_TAG_INFO info{};
    if (!GetFileInformationByHandleEx(file.get(), FileAttributeTagInfo, &info, sizeof info))
        return LastError();
    if (IsSpecial(info.FileAttributes, info.ReparseTag))
        return NotRegularFileStatus();
    const FILETIME lastWrite = ToFiletime(time);
    if (!SetFileTime(file.get(), nullptr, nullptr, &lastWrite))
        return LastError();
    return FromBool(file.Close());
}

FsStatus Win32FileSystem::RenameNoReplace(const std::wstring& from, const std::wstring& to)
{
    const std::wstring source = ToSystemPath(from);
    if (const FsStatus refused = RefuseSpecialFile(source); !refused.ok())
        return refused;
    return FromBool(MoveFileW(source.c_str(), ToSystemPath(to).c_str()));
}

FsStatus Win32FileSystem::CopyNoReplace(const std::wstring& from, const std::wstring& to)
{
    const std::wstring source = ToSystemPath(from);
    {
        // Only a file on a disk is copied: never a device's stream.
        fw::UniqueFile file(CreateFileW(source.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING, 0,
                                        nullptr));
        if (!file)
            return LastError();
        if (const FsStatus refused = RefuseNonDiskFile(file.get()); !refused.ok())
            return refused;
    }
    const std::wstring target = ToSystemPath(to);
    if (!CopyFileW(source.c_str(), target.c_str(), TRUE))
        return LastError();
    // A copy of a read-only download is ours to change and remove: it does
    // not keep the flag. Should that fail, RemoveFile still copes.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    return {};
}

FsStatus Win32FileSystem::CopyWithProgress(const std::wstring& from, const std::wstring& to,
                                           const CopyProgress& progress)
{
    // By hand, chunk by chunk, so that the caller is told between chunks
    // on every system; as CopyFileW, it keeps the source's last-write time.
    fw::UniqueFile source(CreateFileW(ToSystemPath(from).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!source)
        return LastError();
    if (const FsStatus refused = RefuseNonDiskFile(source.get()); !refused.ok())
        return refused;
    LARGE_INTEGER size{};
    FILETIME lastWrite{};
    if (!GetFileSizeEx(source.get(), &size) || !GetFileTime(source.get(), nullptr, nullptr, &lastWrite))
        return LastError();
    const std::wstring target = ToSystemPath(to);
    fw::UniqueFile copy(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!copy)
        return LastError();

    FsStatus status;
    std::vector<char> buffer(1 << 20);
    const auto total = static_cast<std::uint64_t>(size.QuadPart);
    for (std::uint64_t copied = 0;;) {
        if (progress && !progress(copied, total)) {
            status = CancelledStatus();
            break;
        }
        DWORD got = 0;
        if (!ReadFile(source.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
            status = LastError();
            break;
        }
        if (got == 0)
            break;
        DWORD put = 0;
        if (!WriteFile(copy.get(), buffer.data(), got, &put, nullptr) || put != got) {
            status = put != got && GetLastError() == 0 ? FsStatus{ERROR_WRITE_FAULT} : LastError();
            break;
        }
        copied += got;
    }
    if (status.ok() && !SetFileTime(copy.get(), nullptr, nullptr, &lastWrite))
        status = LastError();
    if (!copy.Close() && status.ok())
        status = LastError();
    if (!status.ok())
        DeleteFileW(target.c_str());  // never leave a partial copy behind
    return status;
}

FsStatus Win32FileSystem::RemoveFile(const std::wstring& path)
{
    const std::wstring file = ToSystemPath(path);
    if (const FsStatus refused = RefuseSpecialFile(file); !refused.ok())
        return refused;
    if (DeleteFileW(file.c_str()))
        return {};
    const FsStatus failure = LastError();
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (failure.error != ERROR_ACCESS_DENIED || attributes == INVALID_FILE_ATTRIBUTES ||
        !(attributes & FILE_ATTRIBUTE_READONLY))
        return failure;
    // The player asked for the deletion: a read-only flag does not stop it.
    // Should the deletion still fail, the file keeps its flag.
    if (!SetFileAttributesW(file.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY))
        return failure;
    if (DeleteFileW(file.c_str()))
        return {};
    const FsStatus again = LastError();
    SetFileAttributesW(file.c_str(), attributes);
    return again;
}

FsStatus Win32FileSystem::ReadWholeFile(const std::wstring& path, std::size_t maxBytes, std::vector<unsigned char>& bytes)
{
    fw::UniqueFile file(CreateFileW(ToSystemPath(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    FsStatus opened = file ? RefuseNonDiskFile(file.get()) : LastError();
    LARGE_INTEGER size{};
    if (opened.ok() && !GetFileSizeEx(file.get(), &size))
        opened = LastError();
    if (!opened.ok()) {
        bytes.clear();
        return opened;
    }
    FsStatus failure;
    const auto readSome = [&](unsigned char* buffer, std::size_t room) -> long long {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer, static_cast<DWORD>(std::min<std::size_t>(room, 1u << 30)), &got, nullptr)) {
            failure = LastError();
            return -1;
        }
        return got;
    };
    switch (ReadToEnd(readSome, static_cast<std::uint64_t>(size.QuadPart), maxBytes, bytes)) {
    case ReadToEndResult::Done: return {};
    case ReadToEndResult::TooLarge: return FsStatus{ERROR_FILE_TOO_LARGE};
    case ReadToEndResult::Failed: break;
    }
    return failure;
}

FsStatus Win32FileSystem::CreateFolders(const std::wstring& path)
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
    if (!CreateDirectoryW(ToSystemPath(folder).c_str(), nullptr)) {
        const FsStatus failure = LastError();
        if (!(failure.error == ERROR_ALREADY_EXISTS && FolderExists(folder)))
            return failure;
    }
    return {};
}

namespace {

// Writes every byte to the open file and flushes it to the disk.
FsStatus WriteAndFlush(HANDLE file, std::string_view bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD put = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &put, nullptr))
            return LastError();
        done += put;
    }
    if (!FlushFileBuffers(file))
        return LastError();
    return {};
}

// Renames the open file over `target`: one call where MoveFileEx would open
// the file again by its name.
bool RenameOpenFile(HANDLE file, const std::wstring& target)
{
    const std::size_t nameBytes = target.size() * sizeof(wchar_t);
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = TRUE;
    info->FileNameLength = static_cast<DWORD>(nameBytes);
    std::memcpy(info->FileName, target.c_str(), nameBytes + sizeof(wchar_t));
    return SetFileInformationByHandle(file, FileRenameInfo, info, static_cast<DWORD>(buffer.size())) != FALSE;
}

}  // namespace

FsStatus Win32FileSystem::WriteFileDurably(const std::wstring& path, std::string_view bytes)
{
    // The temporary file is always a new one under a name of this call's
    // own: never a file, or a link, that another writer or anyone else put there.
    static std::atomic<unsigned> calls{0};
    constexpr int kNamesTried = 16;
    const std::wstring unique = path + L"." + std::to_wstring(GetCurrentProcessId()) + L"-";
    const std::wstring target = ToSystemPath(path);
    std::wstring temporary;
    FsStatus status;
    bool renamed = false;
    {
        fw::UniqueFile file;
        for (int tried = 0; !file && tried < kNamesTried; ++tried) {
            temporary = ToSystemPath(unique + std::to_wstring(++calls) + std::wstring(kTemporaryFileSuffix));
            file.reset(CreateFileW(temporary.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
            if (!file && !IsAlreadyExists(FsStatus{GetLastError()}))
                break;
        }
        if (!file)
            return LastError();
        status = WriteAndFlush(file.get(), bytes);
        // Renamed only once its bytes are on the disk, and the rename flushed
        // in turn, as MOVEFILE_WRITE_THROUGH would.
        if (status.ok() && RenameOpenFile(file.get(), target)) {
            renamed = true;
            if (!FlushFileBuffers(file.get()))
                status = LastError();
        }
        if (!file.Close() && status.ok())
            status = LastError();
    }
    // Where the file system cannot rename an open file, by name.
    if (status.ok() && !renamed &&
        !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        status = LastError();
    if (!status.ok() && !renamed)
        DeleteFileW(temporary.c_str());
    return status;
}

FsStatus Win32FileSystem::WriteNewFileDurably(const std::wstring& path, std::string_view bytes)
{
    const std::wstring target = ToSystemPath(path);
    FsStatus status;
    {
        fw::UniqueFile file(
            CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!file)
            return LastError();
        status = WriteAndFlush(file.get(), bytes);
        if (!file.Close() && status.ok())
            status = LastError();
    }
    if (!status.ok())
        DeleteFileW(target.c_str());
    return status;
}

namespace {

// Opened without sharing: no one else can open the file until it is closed,
// which the system does when the process dies.
class UnsharedFileLock final : public FileLock {
public:
    explicit UnsharedFileLock(fw::UniqueFile file) : file_(std::move(file)) {}
private:
    fw::UniqueFile file_;
};

}  // namespace

FsStatus Win32FileSystem::TryLockFile(const std::wstring& path, std::unique_ptr<FileLock>& lock)
{
    fw::UniqueFile file(CreateFileW(ToSystemPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.valid())
        return GetLastError() == ERROR_SHARING_VIOLATION ? LockedStatus() : LastError();
    lock = std::make_unique<UnsharedFileLock>(std::move(file));
    return {};
}

mods::FileTime Win32FileSystem::CurrentTime()
{
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return ToFileTime(now);
}

bool IsNotFound(FsStatus status)
{
    return status.error == ERROR_FILE_NOT_FOUND || status.error == ERROR_PATH_NOT_FOUND;
}

bool IsAlreadyExists(FsStatus status)
{
    return status.error == ERROR_FILE_EXISTS || status.error == ERROR_ALREADY_EXISTS;
}

FsStatus AlreadyExistsStatus() { return FsStatus{ERROR_ALREADY_EXISTS}; }

bool IsTooLarge(FsStatus status) { return status.error == ERROR_FILE_TOO_LARGE; }

FsStatus TooLargeStatus() { return FsStatus{ERROR_FILE_TOO_LARGE}; }

FsStatus NotSupportedStatus() { return FsStatus{ERROR_NOT_SUPPORTED}; }

FsStatus NotRegularFileStatus() { return FsStatus{ERROR_BAD_FILE_TYPE}; }

bool IsNotRegularFile(FsStatus status) { return status.error == ERROR_BAD_FILE_TYPE; }

FsStatus LockedStatus() { return FsStatus{ERROR_SHARING_VIOLATION}; }

FsStatus TimeNotKeptStatus() { return FsStatus{ERROR_INVALID_TIME}; }

bool IsTimeNotKept(FsStatus status) { return status.error == ERROR_INVALID_TIME; }

bool IsLocked(FsStatus status) { return status.error == ERROR_SHARING_VIOLATION || status.error == ERROR_LOCK_VIOLATION; }

FsStatus CancelledStatus() { return FsStatus{ERROR_REQUEST_ABORTED}; }

bool IsCancelled(FsStatus status) { return status.error == ERROR_REQUEST_ABORTED; }

FsStatus BadDataStatus() { return FsStatus{ERROR_INVALID_DATA}; }

FailureKind KindOf(FsStatus status)
{
    switch (status.error) {
    case ERROR_SUCCESS: return FailureKind::None;
    case ERROR_FILE_NOT_FOUND: return FailureKind::NotFound;
    case ERROR_PATH_NOT_FOUND: return FailureKind::PathNotFound;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS: return FailureKind::AlreadyExists;
    case ERROR_ACCESS_DENIED: return FailureKind::AccessDenied;
    // A lock another holder has is a sharing violation too: the file is in use.
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return FailureKind::InUse;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return FailureKind::DiskFull;
    case ERROR_WRITE_PROTECT: return FailureKind::WriteProtected;
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE: return FailureKind::NameInvalid;
    case ERROR_FILE_TOO_LARGE: return FailureKind::TooLarge;
    case ERROR_BAD_FILE_TYPE: return FailureKind::NotRegularFile;
    case ERROR_INVALID_TIME: return FailureKind::TimeNotKept;
    case ERROR_REQUEST_ABORTED: return FailureKind::Cancelled;
    case ERROR_NOT_SUPPORTED: return FailureKind::NotSupported;
    case ERROR_INVALID_DATA: return FailureKind::BadData;
    default: return FailureKind::Other;
    }
}

std::wstring SystemMessage(FsStatus status, unsigned long languageId)
{
    wchar_t* message = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        status.error, static_cast<DWORD>(languageId), reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    std::wstring result;
    if (length && message)
        result.assign(message, length);
    LocalFree(message);
    while (!result.empty() && (result.back() == L'\r' || result.back() == L'\n' || result.back() == L'.' || result.back() == L' '))
        result.pop_back();
    return result;
}

FileSystem& SystemFileSystem()
{
    static Win32FileSystem fileSystem;
    return fileSystem;
}

}  // namespace platform
