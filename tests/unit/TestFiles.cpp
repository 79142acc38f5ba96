#include "unit/TestFiles.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Utf8.h"

namespace testing_files {

std::filesystem::path FsPath(const std::wstring& path)
{
#ifdef _WIN32
    return std::filesystem::path(path);
#else
    return std::filesystem::path(platform::ToUtf8(path));
#endif
}

static std::wstring WidePath(const std::filesystem::path& path)
{
#ifdef _WIN32
    return path.wstring();
#else
    return platform::FromUtf8(path.string());
#endif
}

TempFolder::TempFolder()
{
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
        ("pakorder-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(folder);
    path_ = WidePath(folder);
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(FsPath(path_), ignored);
}

std::wstring TempFolder::operator/(const std::wstring& name) const { return platform::JoinPath(path_, name); }

void WriteFile(const std::wstring& path, const std::string& content)
{
    std::ofstream out(FsPath(path), std::ios::binary);
    out << content;
    if (!out)
        throw std::runtime_error("cannot write " + platform::ToUtf8(path));
}

std::string ReadFile(const std::wstring& path)
{
    std::ifstream in(FsPath(path), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool Exists(const std::wstring& path)
{
    std::error_code ignored;
    return std::filesystem::exists(FsPath(path), ignored);
}

void MakeFolder(const std::wstring& path) { std::filesystem::create_directories(FsPath(path)); }

void WriteFileWithTime(const std::wstring& path, mods::FileTime time, const std::string& content)
{
    WriteFile(path, content);
    if (!platform::SystemFileSystem().WriteLastWriteTime(path, time).ok())
        throw std::runtime_error("cannot set the time of " + platform::ToUtf8(path));
}

#ifdef _WIN32
std::wstring BuiltProgram(const std::wstring& name)
{
    std::wstring self(32768, L'\0');
    self.resize(GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
    const std::wstring testsFolder = platform::StripTrailingSeparators(platform::GetFolderOfPath(self));
    return platform::JoinPath(platform::GetFolderOfPath(testsFolder), name);
}
#endif

mods::FileTime Time(int year, int month, int day, int hour, int minute, int second)
{
    mods::CalendarTime fields;
    fields.year = year;
    fields.month = month;
    fields.day = day;
    fields.hour = hour;
    fields.minute = minute;
    fields.second = second;
    const auto time = mods::FileTimeFromCalendar(fields);
    if (!time)
        throw std::invalid_argument("not a calendar time");
    return *time;
}

}  // namespace testing_files
