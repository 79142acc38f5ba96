// The system's file-system implementation on real files: the same tests run
// natively against the POSIX calls and under Wine against the Win32 ones.

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Utf8.h"
#include "unit/TestFiles.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace testing_files;

namespace {

platform::FileSystem& Fs() { return platform::SystemFileSystem(); }

void MakeReadOnly(const std::wstring& path)
{
#ifdef _WIN32
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
#else
    ASSERT_EQ(::chmod(platform::ToUtf8(path).c_str(), 0444), 0);
#endif
}

bool IsReadOnly(const std::wstring& path)
{
#ifdef _WIN32
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
#else
    struct stat st {};
    return ::stat(platform::ToUtf8(path).c_str(), &st) == 0 && !(st.st_mode & S_IWUSR);
#endif
}

TEST(FileSystem, RenameNeverReplaces)
{
    TempFolder folder;
    WriteFile(folder / L"a.pak", "mod");
    WriteFile(folder / L"a.G1O", "other");

    EXPECT_FALSE(Fs().RenameNoReplace(folder / L"a.pak", folder / L"a.G1O").ok());
    EXPECT_EQ(ReadFile(folder / L"a.pak"), "mod");
    EXPECT_EQ(ReadFile(folder / L"a.G1O"), "other");

    EXPECT_TRUE(Fs().RenameNoReplace(folder / L"a.pak", folder / L"b.G1O").ok());
    EXPECT_FALSE(Exists(folder / L"a.pak"));
    EXPECT_EQ(ReadFile(folder / L"b.G1O"), "mod");

    EXPECT_FALSE(Fs().RenameNoReplace(folder / L"missing.pak", folder / L"c.G1O").ok());
    EXPECT_FALSE(Exists(folder / L"c.G1O"));
}

TEST(FileSystem, CopyFailsIfTheTargetExistsAndKeepsTheTime)
{
    TempFolder from, to;
    const mods::FileTime time = Time(2014, 4, 5, 6, 7, 8) + 1234567;
    WriteFileWithTime(from / L"new.pak", time, "new content");
    WriteFile(to / L"old.pak", "old content");

    EXPECT_FALSE(Fs().CopyNoReplace(from / L"new.pak", to / L"old.pak").ok());
    EXPECT_EQ(ReadFile(to / L"old.pak"), "old content");

    ASSERT_TRUE(Fs().CopyNoReplace(from / L"new.pak", to / L"new.pak").ok());
    EXPECT_EQ(ReadFile(to / L"new.pak"), "new content");
    mods::FileTime copied = 0;
    ASSERT_TRUE(Fs().ReadLastWriteTime(to / L"new.pak", copied).ok());
    EXPECT_EQ(copied, time);

    EXPECT_FALSE(Fs().CopyNoReplace(from / L"gone.pak", to / L"gone.pak").ok());
    EXPECT_FALSE(Exists(to / L"gone.pak"));
}

TEST(FileSystem, TimesAreWrittenAndReadExactly)
{
    TempFolder folder;
    WriteFile(folder / L"t.pak");
    for (mods::FileTime time : {Time(2020, 1, 1) + 1, Time(1999, 12, 31, 23, 59, 59) + 9'999'999,
                                Time(2105, 2, 28, 12), Time(1980, 1, 1, 0, 0, 2)}) {
        ASSERT_TRUE(Fs().WriteLastWriteTime(folder / L"t.pak", time).ok());
        mods::FileTime read = 0;
        ASSERT_TRUE(Fs().ReadLastWriteTime(folder / L"t.pak", read).ok());
        EXPECT_EQ(read, time);
    }
    EXPECT_EQ(ReadFile(folder / L"t.pak"), "pak");  // only the time changed
    mods::FileTime untouched = 42;
    EXPECT_FALSE(Fs().ReadLastWriteTime(folder / L"none.pak", untouched).ok());
    EXPECT_EQ(untouched, 42u);
    EXPECT_FALSE(Fs().WriteLastWriteTime(folder / L"none.pak", 1).ok());
    EXPECT_FALSE(Exists(folder / L"none.pak"));
    // Read together: each name's time, or what was there for a name not found.
    WriteFileWithTime(folder / L"中文.pak", Time(2021, 5, 6));
    std::vector<mods::FileTime> times{1, 2, 3};
    EXPECT_TRUE(platform::IsNotFound(Fs().ReadLastWriteTimes(folder.path(), {L"t.pak", L"none.pak", L"中文.pak"}, times)));
    EXPECT_EQ(times, (std::vector<mods::FileTime>{Time(1980, 1, 1, 0, 0, 2), 2, Time(2021, 5, 6)}));
    EXPECT_FALSE(Fs().ReadLastWriteTimes(folder / L"no such folder", {L"t.pak"}, times).ok());
    EXPECT_EQ(times[0], Time(1980, 1, 1, 0, 0, 2));
    // A value past the calendar is no time: refused, the file keeps its time.
    for (mods::FileTime notATime : {mods::kMaxCalendarTime + 1, ~mods::FileTime{0}}) {
        EXPECT_FALSE(Fs().WriteLastWriteTime(folder / L"t.pak", notATime).ok());
        mods::FileTime kept = 0;
        ASSERT_TRUE(Fs().ReadLastWriteTime(folder / L"t.pak", kept).ok());
        EXPECT_EQ(kept, Time(1980, 1, 1, 0, 0, 2));
    }
}

TEST(FileSystem, ListingReportsFoldersAndWindowsTimes)
{
    TempFolder folder;
    WriteFileWithTime(folder / L"a.pak", Time(2011, 11, 11));
    MakeFolder(folder / L"sub");
#ifndef _WIN32
    // A link's type is its target's.
    ASSERT_EQ(symlink("sub", platform::ToUtf8(folder / L"to-sub").c_str()), 0);
    ASSERT_EQ(symlink("a.pak", platform::ToUtf8(folder / L"to-a.pak").c_str()), 0);
#endif
    std::vector<platform::FolderEntry> entries;
    ASSERT_TRUE(Fs().ListFolder(folder.path() + platform::kPathSeparator, entries).ok());
    std::sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.name < b.name; });
    std::vector<std::pair<std::wstring, bool>> folders;
    for (const platform::FolderEntry& entry : entries)
        folders.emplace_back(entry.name, entry.isFolder);
#ifdef _WIN32
    EXPECT_EQ(folders, (std::vector<std::pair<std::wstring, bool>>{{L"a.pak", false}, {L"sub", true}}));
    EXPECT_EQ(entries[0].lastWriteTime, Time(2011, 11, 11));  // POSIX listings report no times
#else
    EXPECT_EQ(folders, (std::vector<std::pair<std::wstring, bool>>{
                           {L"a.pak", false}, {L"sub", true}, {L"to-a.pak", false}, {L"to-sub", true}}));
#endif

    std::vector<platform::FolderEntry> none;
    EXPECT_FALSE(Fs().ListFolder(folder / L"missing", none).ok());
    EXPECT_TRUE(none.empty());
}

TEST(FileSystem, WholeFileReadsReuseTheBufferAndLeaveItEmptyOnFailure)
{
    TempFolder folder;
    WriteFile(folder / L"big.MAN", std::string(5000, 'b'));
    WriteFile(folder / L"small.MAN", "small");
    MakeFolder(folder / L"sub.MAN");
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(Fs().ReadWholeFile(folder / L"big.MAN", 5000, bytes).ok());
    EXPECT_EQ(bytes.size(), 5000u);
    ASSERT_TRUE(Fs().ReadWholeFile(folder / L"small.MAN", 5000, bytes).ok());
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "small");
    for (const wchar_t* name : {L"big.MAN", L"missing.MAN", L"sub.MAN"}) {
        bytes.assign(3, 'x');
        EXPECT_FALSE(Fs().ReadWholeFile(folder / name, 4999, bytes).ok());
        EXPECT_TRUE(bytes.empty()) << platform::ToUtf8(name);
    }
}

TEST(FileSystem, ExistenceTestsAndDeletion)
{
    TempFolder folder;
    WriteFile(folder / L"f.pak");
    MakeFolder(folder / L"d");
    EXPECT_TRUE(Fs().FileExists(folder / L"f.pak"));
    EXPECT_FALSE(Fs().FileExists(folder / L"d"));
    EXPECT_FALSE(Fs().FileExists(folder / L"g.pak"));
    EXPECT_TRUE(Fs().FolderExists(folder / L"d"));
    EXPECT_TRUE(Fs().FolderExists(folder.path() + platform::kPathSeparator + platform::kPathSeparator));
    EXPECT_FALSE(Fs().FolderExists(folder / L"f.pak"));
    EXPECT_FALSE(Fs().FolderExists(folder / L"missing"));
#ifdef _WIN32
    EXPECT_TRUE(Fs().FolderExists(L"C:\\"));
    EXPECT_TRUE(Fs().FolderExists(L"C:"));
#else
    EXPECT_TRUE(Fs().FolderExists(L"/"));
#endif

    EXPECT_TRUE(Fs().RemoveFile(folder / L"f.pak").ok());
    EXPECT_FALSE(Exists(folder / L"f.pak"));
    EXPECT_FALSE(Fs().RemoveFile(folder / L"f.pak").ok());
}

TEST(FileSystem, ANameIsTakenByAnythingThereWhetherOrNotItOpens)
{
    TempFolder folder;
    WriteFile(folder / L"f.pak.MAN");
    MakeFolder(folder / L"d.pak.MAN");
    EXPECT_TRUE(Fs().PathExists(folder / L"f.pak.MAN"));
    EXPECT_TRUE(Fs().PathExists(folder / L"d.pak.MAN"));
    EXPECT_FALSE(Fs().PathExists(folder / L"g.pak.MAN"));
    EXPECT_FALSE(Fs().PathExists(platform::JoinPath(folder / L"missing", L"g.pak.MAN")));
#ifdef _WIN32
    // Another program holds the file open and shares nothing: it cannot be
    // opened, and its name is taken all the same.
    HANDLE held = CreateFileW((folder / L"f.pak.MAN").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(Fs().FileExists(folder / L"f.pak.MAN"));
    EXPECT_TRUE(Fs().PathExists(folder / L"f.pak.MAN"));
    CloseHandle(held);
#endif
}

TEST(FileSystem, ReadOnlyModsAreRetimedRenamedAndDeletedAndCopiesAreNotReadOnly)
{
    TempFolder downloads, paks;
    WriteFile(downloads / L"a.pak");
    MakeReadOnly(downloads / L"a.pak");
    ASSERT_TRUE(Fs().CopyNoReplace(downloads / L"a.pak", paks / L"a.pak").ok());
    EXPECT_FALSE(IsReadOnly(paks / L"a.pak"));

    WriteFile(paks / L"b.pak");
    MakeReadOnly(paks / L"b.pak");
    const mods::FileTime time = Time(2021, 2, 3) + 4567;
    EXPECT_TRUE(Fs().WriteLastWriteTime(paks / L"b.pak", time).ok());
    mods::FileTime read = 0;
    ASSERT_TRUE(Fs().ReadLastWriteTime(paks / L"b.pak", read).ok());
    EXPECT_EQ(read, time);
    ASSERT_TRUE(Fs().RenameNoReplace(paks / L"b.pak", paks / L"b.G1O").ok());
    EXPECT_TRUE(Fs().RemoveFile(paks / L"b.G1O").ok());
    EXPECT_FALSE(Exists(paks / L"b.G1O"));
}

TEST(FileSystem, DurableWritesLeaveTheOldFileOrTheWholeNewOne)
{
    TempFolder folder;
    const std::wstring records = platform::JoinPath(folder / L"a", platform::JoinPath(L"b", L"c"));
    ASSERT_TRUE(Fs().CreateFolders(records).ok());
    EXPECT_TRUE(Fs().FolderExists(records));
    EXPECT_TRUE(Fs().CreateFolders(records + platform::kPathSeparator).ok());  // already there
    WriteFile(folder / L"file");
    EXPECT_FALSE(Fs().CreateFolders(platform::JoinPath(folder / L"file", L"sub")).ok());

    const std::wstring record = platform::JoinPath(records, L"记录.txt");
    ASSERT_TRUE(Fs().WriteFileDurably(record, "old").ok());
    ASSERT_TRUE(Fs().WriteFileDurably(record, "new, and longer").ok());
    EXPECT_EQ(ReadFile(record), "new, and longer");
    MakeFolder(platform::JoinPath(records, L"taken.txt"));
    EXPECT_FALSE(Fs().WriteFileDurably(platform::JoinPath(records, L"taken.txt"), "x").ok());
    EXPECT_FALSE(Fs().WriteFileDurably(platform::JoinPath(folder / L"missing", L"r.txt"), "x").ok());
    // A new file is written only where nothing of its name is.
    const std::wstring fresh = platform::JoinPath(records, L"新.txt");
    ASSERT_TRUE(Fs().WriteNewFileDurably(fresh, "first").ok());
    EXPECT_TRUE(platform::IsAlreadyExists(Fs().WriteNewFileDurably(fresh, "second")));
    EXPECT_EQ(ReadFile(fresh), "first");
    EXPECT_FALSE(Fs().WriteNewFileDurably(platform::JoinPath(records, L"taken.txt"), "x").ok());
    std::vector<platform::FolderEntry> entries;
    ASSERT_TRUE(Fs().ListFolder(records, entries).ok());
    EXPECT_EQ(entries.size(), 3u);  // no temporary file left
}

TEST(FileSystem, PathsLongerThanTheOldLimit)
{
    TempFolder folder;
    std::wstring deep = folder.path();
    const std::wstring part(60, L'd');
    for (int i = 0; i < 5; ++i)
        deep = platform::JoinPath(deep, part + std::to_wstring(i));
    ASSERT_GT(deep.size(), 300u);
    MakeFolder(deep);
    WriteFile(platform::JoinPath(deep, L"DATA.PAK"));
    WriteFile(platform::JoinPath(deep, L"长路径.pak"));

    EXPECT_TRUE(Fs().FolderExists(deep));
    std::vector<platform::FolderEntry> entries;
    ASSERT_TRUE(Fs().ListFolder(deep, entries).ok());
    EXPECT_EQ(entries.size(), 2u);
    const std::wstring mod = platform::JoinPath(deep, L"长路径.pak");
    ASSERT_TRUE(Fs().WriteLastWriteTime(mod, Time(2021, 5, 6)).ok());
    mods::FileTime time = 0;
    ASSERT_TRUE(Fs().ReadLastWriteTime(mod, time).ok());
    EXPECT_EQ(time, Time(2021, 5, 6));
    EXPECT_TRUE(Fs().RenameNoReplace(mod, platform::JoinPath(deep, L"长路径.G1O")).ok());
    EXPECT_TRUE(Fs().CopyNoReplace(platform::JoinPath(deep, L"长路径.G1O"), platform::JoinPath(deep, L"copy.G1O")).ok());
    EXPECT_TRUE(Fs().RemoveFile(platform::JoinPath(deep, L"copy.G1O")).ok());
    const std::wstring deeper = platform::JoinPath(platform::JoinPath(deep, part), part);
    ASSERT_TRUE(Fs().CreateFolders(deeper).ok());
    EXPECT_TRUE(Fs().WriteFileDurably(platform::JoinPath(deeper, L"r.txt"), "record").ok());
    EXPECT_EQ(ReadFile(platform::JoinPath(deeper, L"r.txt")), "record");
}

}  // namespace
