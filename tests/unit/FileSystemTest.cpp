// The system's file-system implementation on real files: the same tests run
// natively against the POSIX calls and under Wine against the Win32 ones.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <tuple>

#include "mods/ModCatalogue.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Utf8.h"
#include "unit/TestFiles.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
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

#ifndef _WIN32
void MakeLink(const std::wstring& target, const std::wstring& link)
{
    ASSERT_EQ(::symlink(platform::ToUtf8(target).c_str(), platform::ToUtf8(link).c_str()), 0);
}

void MakePipe(const std::wstring& path) { ASSERT_EQ(::mkfifo(platform::ToUtf8(path).c_str(), 0644), 0); }

// True when `check` returns true run by a user that root's rights do not
// cover: in a child process that gives them up when the tests run as root.
bool AsOrdinaryUser(const std::function<bool()>& check)
{
    if (::geteuid() != 0)
        return check();
    const pid_t child = ::fork();
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        ::_exit(::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 && check() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
#endif

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

// Each failure the file systems make is of its kind, and a real one the
// system has words for keeps them: the front ends name the kinds, and fall
// back on the system's message.
TEST(FileSystem, FailuresHaveTheirKinds)
{
    using platform::FailureKind;
    using platform::KindOf;
    EXPECT_EQ(KindOf(platform::FsStatus{}), FailureKind::None);
    EXPECT_EQ(KindOf(platform::AlreadyExistsStatus()), FailureKind::AlreadyExists);
    EXPECT_EQ(KindOf(platform::TooLargeStatus()), FailureKind::TooLarge);
    EXPECT_EQ(KindOf(platform::CancelledStatus()), FailureKind::Cancelled);
    EXPECT_EQ(KindOf(platform::NotRegularFileStatus()), FailureKind::NotRegularFile);
    EXPECT_EQ(KindOf(platform::NotSupportedStatus()), FailureKind::NotSupported);
    EXPECT_EQ(KindOf(platform::TimeNotKeptStatus()), FailureKind::TimeNotKept);
    EXPECT_EQ(KindOf(platform::BadDataStatus()), FailureKind::BadData);
#ifdef _WIN32
    // A lock another holder has is the sharing violation of a file in use.
    EXPECT_EQ(KindOf(platform::LockedStatus()), FailureKind::InUse);
#else
    EXPECT_EQ(KindOf(platform::LockedStatus()), FailureKind::Locked);
#endif

    TempFolder folder;
    mods::FileTime time = 0;
    const platform::FsStatus missing = Fs().ReadLastWriteTime(folder / L"missing.pak", time);
    EXPECT_EQ(KindOf(missing), FailureKind::NotFound);
    // A folder on the way that is not there: missing on Windows, a file elsewhere.
#ifdef _WIN32
    const std::wstring onTheWay = folder / L"missing";
#else
    const std::wstring onTheWay = folder / L"file";
    WriteFile(onTheWay, "not a folder");
#endif
    EXPECT_EQ(KindOf(Fs().ReadLastWriteTime(platform::JoinPath(onTheWay, L"a.pak"), time)), FailureKind::PathNotFound);
    EXPECT_FALSE(platform::SystemMessage(missing).empty());
    const std::wstring said = platform::SystemMessage(missing);
    EXPECT_NE(said.back(), L'\n');
    EXPECT_NE(said.back(), L'.');
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
    // A link is special, and a folder when its target is one.
    ASSERT_EQ(symlink("sub", platform::ToUtf8(folder / L"to-sub").c_str()), 0);
    ASSERT_EQ(symlink("a.pak", platform::ToUtf8(folder / L"to-a.pak").c_str()), 0);
    ASSERT_EQ(symlink("gone", platform::ToUtf8(folder / L"to-gone.pak").c_str()), 0);
    MakePipe(folder / L"pipe.pak");
#endif
    std::vector<platform::FolderEntry> entries;
    ASSERT_TRUE(Fs().ListFolder(folder.path() + platform::kPathSeparator, entries).ok());
    std::sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.name < b.name; });
    using Kind = std::tuple<std::wstring, bool, bool>;  // name, folder, special
    std::vector<Kind> kinds;
    for (const platform::FolderEntry& entry : entries)
        kinds.emplace_back(entry.name, entry.isFolder, entry.isSpecial);
#ifdef _WIN32
    EXPECT_EQ(kinds, (std::vector<Kind>{{L"a.pak", false, false}, {L"sub", true, false}}));
    EXPECT_EQ(entries[0].lastWriteTime, Time(2011, 11, 11));  // POSIX listings report no times
#else
    EXPECT_EQ(kinds, (std::vector<Kind>{{L"a.pak", false, false},
                                        {L"pipe.pak", false, true},
                                        {L"sub", true, false},
                                        {L"to-a.pak", false, true},
                                        {L"to-gone.pak", false, true},
                                        {L"to-sub", true, true}}));
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

TEST(FileSystem, ADurableWriteTakesNoFileItDidNotMake)
{
    TempFolder share, outside;
    const std::wstring list = share / L"list.txt";
    WriteFile(list + L".tmp", "someone else's");
    WriteFile(outside / L"mine.txt", "outside");
#ifndef _WIN32
    // A link where the temporary file once was, and the target a link too:
    // neither is written through.
    MakeLink(outside / L"mine.txt", share / L"linked.txt.tmp");
    MakeLink(outside / L"mine.txt", share / L"linked.txt");
    ASSERT_TRUE(Fs().WriteFileDurably(share / L"linked.txt", "new").ok());
    EXPECT_EQ(ReadFile(share / L"linked.txt"), "new");
    EXPECT_EQ(ReadFile(outside / L"mine.txt"), "outside");
#endif
    ASSERT_TRUE(Fs().WriteFileDurably(list, "new").ok());
    EXPECT_EQ(ReadFile(list), "new");
    EXPECT_EQ(ReadFile(list + L".tmp"), "someone else's");

    // Two writers of one file at once: each writes a whole file of its own.
    // (Windows refuses to replace a file the other still holds open.)
    const std::string first(3000, '1'), second(7000, '2');
    bool failed[2] = {false, false};
    std::thread writers[2];
    for (int w = 0; w < 2; ++w)
        writers[w] = std::thread([&, w] {
            for (int i = 0; i < 50; ++i)
                failed[w] |= !Fs().WriteFileDurably(list, w == 0 ? first : second).ok();
        });
    for (std::thread& writer : writers)
        writer.join();
#ifndef _WIN32
    EXPECT_FALSE(failed[0] || failed[1]);
#endif
    const std::string last = ReadFile(list);
    EXPECT_TRUE(last == first || last == second) << last.size();
    std::vector<platform::FolderEntry> entries;
    ASSERT_TRUE(Fs().ListFolder(share.path(), entries).ok());
    // No temporary file left: the list, the file already there and the two links.
#ifdef _WIN32
    EXPECT_EQ(entries.size(), 2u);
#else
    EXPECT_EQ(entries.size(), 4u);
#endif
}

#ifdef _WIN32
TEST(FileSystem, ADeviceIsRefusedAtOnce)
{
    TempFolder folder;
    // The name NUL is the null device in every folder.
    for (const std::wstring& path : {std::wstring(L"\\\\.\\NUL"), folder / L"NUL"}) {
        SCOPED_TRACE(platform::ToUtf8(path));
        std::vector<unsigned char> bytes{'x'};
        EXPECT_TRUE(platform::IsNotRegularFile(Fs().ReadWholeFile(path, 100, bytes)));
        EXPECT_TRUE(bytes.empty());
        EXPECT_FALSE(Fs().FileExists(path));
        EXPECT_TRUE(platform::IsNotRegularFile(Fs().CopyNoReplace(path, folder / L"copy.pak")));
        EXPECT_TRUE(platform::IsNotRegularFile(Fs().CopyWithProgress(path, folder / L"copy.pak", {})));
        EXPECT_FALSE(Exists(folder / L"copy.pak"));
        mods::FileTime time = 42;
        EXPECT_TRUE(platform::IsNotRegularFile(Fs().ReadLastWriteTime(path, time)));
        EXPECT_EQ(time, 42u);
        EXPECT_TRUE(platform::IsNotRegularFile(Fs().WriteLastWriteTime(path, Time(2030, 1, 1))));
    }
}
#else
TEST(FileSystem, ALinkIsNeverWrittenThroughNorTakenForAMod)
{
    TempFolder paks, outside;
    const mods::FileTime outsideTime = Time(2015, 1, 1);
    WriteFileWithTime(outside / L"target.pak", outsideTime, "outside");
    WriteFile(paks / L"real.pak");
    MakeLink(outside / L"target.pak", paks / L"link.pak");

    EXPECT_TRUE(platform::IsNotRegularFile(Fs().WriteLastWriteTime(paks / L"link.pak", Time(2030, 1, 1))));
    EXPECT_TRUE(platform::IsNotRegularFile(Fs().RenameNoReplace(paks / L"link.pak", paks / L"link.G1O")));
    EXPECT_TRUE(platform::IsNotRegularFile(Fs().RemoveFile(paks / L"link.pak")));
    mods::FileTime time = 0;
    ASSERT_TRUE(Fs().ReadLastWriteTime(outside / L"target.pak", time).ok());
    EXPECT_EQ(time, outsideTime);
    EXPECT_EQ(ReadFile(paks / L"link.pak"), "outside");  // the link itself is still there
    EXPECT_FALSE(Exists(paks / L"link.G1O"));

    const std::vector<mods::ModEntry> catalogue = mods::ReadModCatalogue(Fs(), paks.path());
    ASSERT_EQ(catalogue.size(), 1u);
    EXPECT_EQ(catalogue[0].fileName, L"real.pak");

    // Reads follow a link to a regular file: a mod list or a download may be one.
    std::vector<unsigned char> bytes;
    EXPECT_TRUE(Fs().ReadWholeFile(paks / L"link.pak", 100, bytes).ok());
    EXPECT_TRUE(Fs().FileExists(paks / L"link.pak"));
}

TEST(FileSystem, APipeOrADeviceIsRefusedAtOnceNeverOpened)
{
    TempFolder paks, downloads;
    WriteFile(paks / L"x.pak");
    MakePipe(paks / L"pipe.pak");  // no writer: an open to read would wait for one
    MakePipe(paks / L"x.pak.MAN");
    MakeLink(L"/dev/null", paks / L"null.pak");
    for (const wchar_t* name : {L"pipe.pak", L"x.pak.MAN", L"null.pak"}) {
        SCOPED_TRACE(platform::ToUtf8(name));
        const std::wstring path = paks / name;
        std::vector<unsigned char> bytes{'x'};
        EXPECT_TRUE(platform::IsNotRegularFile(Fs().ReadWholeFile(path, 100, bytes)));
        EXPECT_TRUE(bytes.empty());
        EXPECT_FALSE(Fs().FileExists(path));
        EXPECT_TRUE(Fs().PathExists(path));
        EXPECT_TRUE(platform::IsNotRegularFile(Fs().CopyNoReplace(path, downloads / name)));
        EXPECT_FALSE(Exists(downloads / name));
        mods::FileTime time = 42;
        EXPECT_TRUE(platform::IsNotRegularFile(Fs().ReadLastWriteTime(path, time)));
        EXPECT_EQ(time, 42u);
        EXPECT_TRUE(platform::IsNotRegularFile(Fs().WriteLastWriteTime(path, Time(2030, 1, 1))));
        EXPECT_TRUE(platform::IsNotRegularFile(Fs().RemoveFile(path)));
    }
    // Read together, the first failure is the one told.
    std::vector<mods::FileTime> times{1, 2, 3};
    EXPECT_TRUE(platform::IsNotRegularFile(Fs().ReadLastWriteTimes(paks.path(), {L"x.pak", L"pipe.pak", L"gone.pak"}, times)));
    EXPECT_NE(times[0], 1u);
    EXPECT_EQ(times[1], 2u);
}

TEST(FileSystem, AFolderThatCannotBeReadIsNoEmptyFolder)
{
    TempFolder folder;
    const std::wstring locked = folder / L"locked";
    MakeFolder(locked);
    WriteFile(platform::JoinPath(locked, L"a.pak"));
    ASSERT_EQ(::chmod(platform::ToUtf8(locked).c_str(), 0), 0);
    EXPECT_TRUE(AsOrdinaryUser([&] {
        std::vector<platform::FolderEntry> entries;
        std::vector<mods::FileTime> times{7, 8};
        return Fs().ListFolder(folder.path(), entries).ok() && entries.size() == 1 &&  // the folder above can be
               !Fs().ListFolder(locked, entries).ok() && entries.size() == 1 &&
               Fs().ReadLastWriteTimes(locked, {L"a.pak", L"b.pak"}, times).error == EACCES &&
               times == std::vector<mods::FileTime>{7, 8};
    }));
    ::chmod(platform::ToUtf8(locked).c_str(), 0755);
}
#endif

}  // namespace
