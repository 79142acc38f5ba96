#pragma once
// Real files in a temporary folder, for tests of the file system and of
// everything built on it.

#include <filesystem>
#include <string>

#include "base/FileTime.h"

namespace testing_files {

// The std::filesystem path of a wide path (UTF-8 on POSIX systems).
std::filesystem::path FsPath(const std::wstring& path);

// A fresh, empty folder, removed with its contents at the end of the test.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const;

private:
    std::wstring path_;
};

void WriteFile(const std::wstring& path, const std::string& content = "pak");
std::string ReadFile(const std::wstring& path);
bool Exists(const std::wstring& path);
void MakeFolder(const std::wstring& path);
// Creates the file and gives it the last-write time.
void WriteFileWithTime(const std::wstring& path, mods::FileTime time, const std::string& content = "pak");
#ifdef _WIN32
// A program built beside the tests (they live one folder below it).
std::wstring BuiltProgram(const std::wstring& name);
#endif

mods::FileTime Time(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

}  // namespace testing_files
