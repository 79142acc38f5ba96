#pragma once
// A file system held in memory, for tests that need to choose the
// enumeration order, make a time read fail or keep any time at all.

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace testing_files {

class MemoryFileSystem final : public platform::FileSystem {
public:
    struct File {
        std::wstring path;
        mods::FileTime time = 0;
        bool isFolder = false;
        bool timeUnreadable = false;
        std::string bytes;
    };

    // Files are listed in the order they were added.
    void Add(const std::wstring& path, mods::FileTime time, bool timeUnreadable = false)
    {
        files_.push_back(File{path, time, false, timeUnreadable, {}});
    }
    void AddFolder(const std::wstring& path) { files_.push_back(File{path, 0, true, false, {}}); }

    platform::FsStatus ListFolder(const std::wstring& folder, std::vector<platform::FolderEntry>& entries) override
    {
        if (!FolderExists(folder))
            return platform::FsStatus{2};  // not found, on either system
        const std::wstring prefix = platform::WithTrailingSeparator(folder);
        for (const File& file : files_) {
            if (file.path.rfind(prefix, 0) != 0)
                continue;
            const std::wstring name = file.path.substr(prefix.size());
            if (!name.empty() && name.find(platform::kPathSeparator) == std::wstring::npos)
                entries.push_back(platform::FolderEntry{name, file.isFolder, file.time});
        }
        return {};
    }
    bool FolderExists(const std::wstring& path) override
    {
        const File* file = Find(platform::StripTrailingSeparators(path));
        return file && file->isFolder;
    }
    bool FileExists(const std::wstring& path) override
    {
        const File* file = Find(path);
        return file && !file->isFolder;
    }
    platform::FsStatus ReadLastWriteTime(const std::wstring& path, mods::FileTime& time) override
    {
        const File* file = Find(path);
        if (!file || file->timeUnreadable)
            return platform::FsStatus{5};
        time = file->time;
        return {};
    }
    // Keeps any time a file time can hold, which no real file system does.
    platform::FsStatus WriteLastWriteTime(const std::wstring& path, mods::FileTime time) override
    {
        File* file = Find(path);
        if (!file)
            return platform::FsStatus{2};  // not found, on either system
        if (file->isFolder || time > mods::kMaxCalendarTime)
            return platform::FsStatus{5};
        file->time = time;
        return {};
    }
    platform::FsStatus RenameNoReplace(const std::wstring&, const std::wstring&) override { return {1}; }
    platform::FsStatus CopyNoReplace(const std::wstring&, const std::wstring&) override { return {1}; }
    platform::FsStatus RemoveFile(const std::wstring& path) override
    {
        const auto it = std::find_if(files_.begin(), files_.end(), [&](const File& f) { return f.path == path; });
        if (it == files_.end() || it->isFolder)
            return platform::FsStatus{2};
        files_.erase(it);
        return {};
    }
    platform::FsStatus ReadWholeFile(const std::wstring& path, std::size_t maxBytes, std::vector<unsigned char>& bytes) override
    {
        bytes.clear();
        const File* file = Find(path);
        if (!file || file->isFolder || file->bytes.size() > maxBytes)
            return platform::FsStatus{5};
        bytes.assign(file->bytes.begin(), file->bytes.end());
        return {};
    }
    platform::FsStatus CreateFolders(const std::wstring& path) override
    {
        const std::wstring folder = platform::StripTrailingSeparators(path);
        if (folder.empty() || FolderExists(folder))
            return {};
        if (Find(folder))
            return platform::FsStatus{5};
        const std::wstring parent = platform::StripTrailingSeparators(platform::GetFolderOfPath(folder));
        if (!parent.empty() && parent != folder) {
            const platform::FsStatus above = CreateFolders(parent);
            if (!above.ok())
                return above;
        }
        AddFolder(folder);
        return {};
    }
    // Writes at once: memory has nothing to flush.
    platform::FsStatus WriteFileDurably(const std::wstring& path, std::string_view bytes) override
    {
        if (!FolderExists(platform::GetFolderOfPath(path)))
            return platform::FsStatus{2};
        File* file = Find(path);
        if (file && file->isFolder)
            return platform::FsStatus{5};
        if (!file) {
            Add(path, CurrentTime());
            file = &files_.back();
        }
        file->bytes.assign(bytes.begin(), bytes.end());
        return {};
    }
    mods::FileTime CurrentTime() override { return 0; }

private:
    File* Find(const std::wstring& path)
    {
        const auto it = std::find_if(files_.begin(), files_.end(), [&](const File& f) { return f.path == path; });
        return it == files_.end() ? nullptr : &*it;
    }
    std::vector<File> files_;
};

}  // namespace testing_files
