#include <gtest/gtest.h>

#include <algorithm>

#include "mods/FolderScan.h"
#include "mods/ModCatalogue.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "unit/MemoryFileSystem.h"
#include "unit/TestFiles.h"

using namespace mods;
using namespace testing_files;

namespace {

std::vector<std::wstring> Names(const std::vector<ModEntry>& entries)
{
    std::vector<std::wstring> names;
    for (const ModEntry& e : entries)
        names.push_back(e.fileName);
    return names;
}

using Names_ = std::vector<std::wstring>;

TEST(FolderScan, PicksModsDirectlyInTheFolder)
{
    TempFolder game;
    WriteFileWithTime(game / L"DATA.PAK", Time(2012, 9, 1));
    WriteFileWithTime(game / L"a.PAK", Time(2015, 1, 2));
    WriteFileWithTime(game / L"b.G1O", Time(2014, 6, 7));
    WriteFile(game / L"c.pak.MAN");
    WriteFile(game / L"d.g1o");
    WriteFile(game / L"e.txt");
    MakeFolder(game / L"f.PAK");
    WriteFile(platform::JoinPath(game / L"f.PAK", L"g.PAK"));

    const auto entries = ReadModCatalogue(platform::SystemFileSystem(), game.path());
    EXPECT_EQ(Names(entries), (Names_{L"b.G1O", L"a.PAK"}));
    EXPECT_EQ(entries[0].dateText, L"2014-6-7");
    EXPECT_EQ(entries[1].lastWriteTime, Time(2015, 1, 2));

    // The start-up test counts enabled paks, the game's data included, and no folders.
    EXPECT_EQ(ScanFolder(platform::SystemFileSystem(), game.path(), L"PAK,pak", std::nullopt, nullptr), 2);
}

TEST(FolderScan, OneModAndNoModAreListed)
{
    TempFolder game;
    EXPECT_TRUE(ReadModCatalogue(platform::SystemFileSystem(), game.path()).empty());
    WriteFile(game / L"DATA.PAK");
    WriteFile(game / L"only.pak");
    EXPECT_EQ(Names(ReadModCatalogue(platform::SystemFileSystem(), game.path())), (Names_{L"only.pak"}));
    TempFolder gone;
    EXPECT_TRUE(ReadModCatalogue(platform::SystemFileSystem(), gone / L"missing").empty());
}

TEST(FolderScan, NamesOutsideAnyCodePageAreListed)
{
    TempFolder game;
    const std::wstring name = L"한국어 Кириллица 😀 中文.PAK";
    WriteFileWithTime(game / name, Time(2016, 3, 4));
    WriteFileWithTime(game / L"plain.pak", Time(2017, 3, 4));
    const auto entries = ReadModCatalogue(platform::SystemFileSystem(), game.path());
    EXPECT_EQ(Names(entries), (Names_{name, L"plain.pak"}));
    EXPECT_EQ(entries[0].dateText, L"2016-3-4");
}

TEST(FolderScan, EqualTimesComeInReverseEnumerationOrder)
{
    TempFolder game;
    const FileTime same = Time(2018, 8, 8, 8, 8, 8);
    for (const wchar_t* name : {L"m1.pak", L"m2.PAK", L"m3.G1O", L"m4.pak", L"m5.pak"})
        WriteFileWithTime(game / name, same);
    WriteFileWithTime(game / L"early.pak", same - 1);
    WriteFileWithTime(game / L"late.pak", same + 1);

    std::vector<platform::FolderEntry> listed;
    ASSERT_TRUE(platform::SystemFileSystem().ListFolder(game.path(), listed).ok());
    Names_ expected{L"early.pak"};
    for (auto it = listed.rbegin(); it != listed.rend(); ++it)
        if (it->name != L"early.pak" && it->name != L"late.pak")
            expected.push_back(it->name);
    expected.push_back(L"late.pak");

    EXPECT_EQ(Names(ReadModCatalogue(platform::SystemFileSystem(), game.path())), expected);
}

TEST(ModOrder, SortsByTimeWithTiesReversed)
{
    std::vector<ModEntry> entries{{L"a", 30, L""}, {L"b", 10, L""}, {L"c", 20, L""}, {L"d", 10, L""},
                                  {L"e", 30, L""}, {L"f", 10, L""}};
    OrderByLoadTime(entries);
    EXPECT_EQ(Names(entries), (Names_{L"f", L"d", L"b", L"c", L"e", L"a"}));
}

TEST(ModOrder, EnabledModsOfTheSameTimeAreNamedAsTied)
{
    const std::vector<ModEntry> mods{{L"a.pak", 10, L""}, {L"b.G1O", 10, L""}, {L"c.PAK", 20, L""}, {L"d.pak", 10, L""},
                                     {L"e.pak", 20, L""}, {L"f.pak", 30, L""}, {L"g.pak", 11, L""}, {L"h.pak", 10, L""}};
    const TiedTimes tied = FindTiedTimes(mods);
    EXPECT_EQ(tied.groups, (std::vector<std::vector<std::size_t>>{{0, 3, 7}, {2, 4}}));
    EXPECT_EQ(tied.OthersOf(3), (std::vector<std::size_t>{0, 7}));
    EXPECT_EQ(tied.OthersOf(4), (std::vector<std::size_t>{2}));
    for (const std::size_t alone : {1, 5, 6})
        EXPECT_TRUE(tied.OthersOf(alone).empty()) << alone;
}

TEST(ModOrder, AFileWhoseTimeCannotBeReadKeepsTheEnumeratedTime)
{
    MemoryFileSystem fs;
    const std::wstring folder = platform::JoinPath(L"", L"game");
    fs.AddFolder(folder);
    fs.Add(platform::JoinPath(folder, L"late.pak"), Time(2019, 1, 1));
    fs.Add(platform::JoinPath(folder, L"locked.PAK"), Time(2013, 2, 5, 23, 59, 59), true);
    fs.Add(platform::JoinPath(folder, L"early.pak"), Time(2014, 1, 1));
    fs.AddFolder(platform::JoinPath(folder, L"sub.pak"));

    const auto entries = ReadModCatalogue(fs, folder);
    ASSERT_EQ(Names(entries), (Names_{L"locked.PAK", L"early.pak", L"late.pak"}));
    EXPECT_EQ(entries[0].lastWriteTime, Time(2013, 2, 5, 23, 59, 59));
    EXPECT_EQ(entries[0].dateText, L"2013-2-5");
}

TEST(ModOrder, ScanKeepsEnumerationOrderAndHonoursTheLists)
{
    MemoryFileSystem fs;
    const std::wstring folder = platform::JoinPath(L"", L"game");
    fs.AddFolder(folder);
    for (const wchar_t* name : {L"z.pak", L"DATA.PAK", L"y.G1O", L"x.PAK", L"data.pak", L"w.txt"})
        fs.Add(platform::JoinPath(folder, name), 1);

    std::vector<ScannedFile> found;
    EXPECT_EQ(ScanFolder(fs, folder, L"PAK,pak,G1O", L"DATA.PAK|data.pak", &found), 3);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].name, L"z.pak");
    EXPECT_EQ(found[1].name, L"y.G1O");
    EXPECT_EQ(found[2].name, L"x.PAK");
    EXPECT_EQ(ScanFolder(fs, folder, L"PAK,pak", std::nullopt, nullptr), 4);
    EXPECT_EQ(ScanFolder(fs, platform::JoinPath(folder, L"none"), L"PAK,pak", std::nullopt, nullptr), 0);
}

}  // namespace
