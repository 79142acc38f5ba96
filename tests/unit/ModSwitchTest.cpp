#include <gtest/gtest.h>

#include "app/FailureTexts.h"
#include "mods/ModSwitch.h"
#include "platform/Paths.h"
#include "platform/Utf8.h"
#include "unit/FaultyFileSystem.h"
#include "unit/TestFiles.h"

using namespace mods;
using namespace testing_files;

namespace {

platform::FileSystem& Fs() { return platform::SystemFileSystem(); }

TEST(ModSwitch, NamesKeepTheStem)
{
    EXPECT_EQ(EnabledModName(L"a.G1O"), L"a.PAK");
    EXPECT_EQ(EnabledModName(L"a.pak"), L"a.PAK");
    EXPECT_EQ(DisabledModName(L"a.pak"), L"a.G1O");
    EXPECT_EQ(DisabledModName(L"名字.v2.PAK"), L"名字.v2.G1O");
}

TEST(ModSwitch, DisableAndEnableMoveTheCompanionToo)
{
    TempFolder paks;
    const mods::FileTime time = Time(2015, 5, 5, 5, 5, 5);
    WriteFileWithTime(paks / L"a.pak", time, "pak");
    WriteFile(paks / L"a.pak.MAN", "man");

    SwitchResult off = SwitchMod(Fs(), paks.path(), L"a.pak", false);
    EXPECT_EQ(off.name, L"a.G1O");
    EXPECT_FALSE(off.failure);
    EXPECT_EQ(ReadFile(paks / L"a.G1O"), "pak");
    EXPECT_EQ(ReadFile(paks / L"a.G1O.MAN"), "man");
    EXPECT_FALSE(Exists(paks / L"a.pak"));
    EXPECT_FALSE(Exists(paks / L"a.pak.MAN"));

    SwitchResult on = SwitchMod(Fs(), paks.path(), L"a.G1O", true);
    EXPECT_EQ(on.name, L"a.PAK");
    EXPECT_FALSE(on.failure);
    EXPECT_EQ(ReadFile(paks / L"a.PAK.MAN"), "man");
    mods::FileTime after = 0;
    ASSERT_TRUE(Fs().ReadLastWriteTime(paks / L"a.PAK", after).ok());
    EXPECT_EQ(after, time);  // a rename keeps the load order

    // Already enabled: nothing is renamed (here every rename would fail).
    FaultyFileSystem stuck(Fs());
    stuck.unrenamable = {paks / L"a.PAK", paks / L"a.PAK.MAN"};
    SwitchResult again = SwitchMod(stuck, paks.path(), L"a.PAK", true);
    EXPECT_EQ(again.name, L"a.PAK");
    EXPECT_FALSE(again.failure);
    EXPECT_EQ(ReadFile(paks / L"a.PAK.MAN"), "man");
}

TEST(ModSwitch, AModWithoutCompanionSwitchesCleanly)
{
    TempFolder paks;
    WriteFile(paks / L"solo.PAK");
    SwitchResult off = SwitchMod(Fs(), paks.path(), L"solo.PAK", false);
    EXPECT_EQ(off.name, L"solo.G1O");
    EXPECT_FALSE(off.failure);
    EXPECT_TRUE(Exists(paks / L"solo.G1O"));
    EXPECT_FALSE(Exists(paks / L"solo.G1O.MAN"));
}

TEST(ModSwitch, ANameCollisionChangesNothing)
{
    TempFolder paks;
    WriteFile(paks / L"a.PAK", "enabled");
    WriteFile(paks / L"a.PAK.MAN", "enabled man");
    WriteFile(paks / L"a.G1O", "disabled twin");
    SwitchResult off = SwitchMod(Fs(), paks.path(), L"a.PAK", false);
    EXPECT_EQ(off.name, L"a.PAK");
    ASSERT_TRUE(off.failure);
    EXPECT_EQ(off.failure->fileName, L"a.PAK");
    EXPECT_FALSE(off.failure->status.ok());
    EXPECT_EQ(ReadFile(paks / L"a.PAK"), "enabled");
    EXPECT_EQ(ReadFile(paks / L"a.G1O"), "disabled twin");
    EXPECT_EQ(ReadFile(paks / L"a.PAK.MAN"), "enabled man");
    EXPECT_FALSE(Exists(paks / L"a.G1O.MAN"));
}

TEST(ModSwitch, APakAndItsCompanionSwitchTogetherOrNotAtAll)
{
    struct Case {
        const char* what;
        std::vector<std::pair<std::wstring, std::string>> files;  // name, contents
        std::set<std::wstring> unrenamable;                       // their renames fail
        std::wstring failedFile;
        std::wstring nameAfter = L"b.G1O";                        // the pak's name on disk afterwards
        std::wstring outOfMemory = L"";                           // its rename runs out of memory
    };
    const Case cases[] = {
        {"a stray manifest has the companion's new name",
         {{L"b.G1O", "pak"}, {L"b.G1O.MAN", "own man"}, {L"b.PAK.MAN", "stray man"}}, {}, L"b.G1O.MAN"},
        {"a stray manifest has the new name of a missing companion",
         {{L"b.G1O", "pak"}, {L"b.PAK.MAN", "stray man"}}, {}, L"b.G1O"},
        {"the companion's rename fails after the pak's worked",
         {{L"b.G1O", "pak"}, {L"b.G1O.MAN", "own man"}}, {L"b.G1O.MAN"}, L"b.G1O.MAN"},
        {"the companion's rename fails and so does the pak's rename back: the pak's name is the one on disk",
         {{L"b.G1O", "pak"}, {L"b.G1O.MAN", "own man"}}, {L"b.G1O.MAN", L"b.PAK"}, L"b.G1O.MAN", L"b.PAK"},
        {"memory runs out in the companion's rename: the pak goes back and the failure goes on up",
         {{L"b.G1O", "pak"}, {L"b.G1O.MAN", "own man"}}, {}, L"", L"b.G1O", L"b.G1O.MAN"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder paks;
        for (const auto& [name, contents] : c.files)
            WriteFile(paks / name, contents);
        FaultyFileSystem fs(Fs());
        for (const std::wstring& name : c.unrenamable)
            fs.unrenamable.insert(paks / name);

        if (!c.outOfMemory.empty()) {
            fs.outOfMemory.insert(paks / c.outOfMemory);
            EXPECT_THROW(SwitchMod(fs, paks.path(), L"b.G1O", true), std::bad_alloc);
        } else {
            const SwitchResult on = SwitchMod(fs, paks.path(), L"b.G1O", true);
            EXPECT_EQ(on.name, c.nameAfter);
            ASSERT_TRUE(on.failure);
            EXPECT_EQ(on.failure->fileName, c.failedFile);
            EXPECT_FALSE(DescribeError(on.failure->status).empty());
        }
        // Every file is where and what it was; the pak where it could be left.
        for (const auto& [name, contents] : c.files)
            EXPECT_EQ(ReadFile(paks / (name == L"b.G1O" ? c.nameAfter : name)), contents) << platform::ToUtf8(name);
        if (c.nameAfter == L"b.G1O") {
            EXPECT_FALSE(Exists(paks / L"b.PAK"));
        }
    }
}

TEST(ModSwitch, DeleteTakesTheCompanionOnlyWithItsPak)
{
    TempFolder paks;
    WriteFile(paks / L"a.PAK");
    WriteFile(paks / L"a.PAK.MAN");
    WriteFile(paks / L"solo.pak");
    EXPECT_FALSE(DeleteMod(Fs(), paks.path(), L"a.PAK"));
    EXPECT_FALSE(Exists(paks / L"a.PAK"));
    EXPECT_FALSE(Exists(paks / L"a.PAK.MAN"));
    EXPECT_FALSE(DeleteMod(Fs(), paks.path(), L"solo.pak"));
    EXPECT_FALSE(Exists(paks / L"solo.pak"));

    // A pak already gone still takes its leftover companion.
    WriteFile(paks / L"gone.PAK.MAN");
    EXPECT_FALSE(DeleteMod(Fs(), paks.path(), L"gone.PAK"));
    EXPECT_FALSE(Exists(paks / L"gone.PAK.MAN"));

    // A "pak" that cannot be deleted (here a folder of that name) keeps its companion.
    MakeFolder(paks / L"stuck.PAK");
    WriteFile(paks / L"stuck.PAK.MAN");
    const auto failure = DeleteMod(Fs(), paks.path(), L"stuck.PAK");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->fileName, L"stuck.PAK");
    EXPECT_FALSE(DescribeError(failure->status).empty());
    EXPECT_TRUE(Exists(paks / L"stuck.PAK.MAN"));
}

TEST(ModSwitch, ReasonsAreInChinese)
{
    TempFolder paks;
    WriteFile(paks / L"x.PAK");
    WriteFile(paks / L"x.G1O");
    const auto collision = SwitchMod(Fs(), paks.path(), L"x.PAK", false).failure;
    ASSERT_TRUE(collision);
    EXPECT_EQ(DescribeError(collision->status), L"已存在同名文件");
    const auto missing = SwitchMod(Fs(), paks.path(), L"none.PAK", false).failure;
    ASSERT_TRUE(missing);
    EXPECT_TRUE(platform::IsNotFound(missing->status));
    EXPECT_EQ(DescribeError(missing->status), L"找不到该文件");
}

}  // namespace
