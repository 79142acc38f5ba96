// Enabling, disabling and deleting mods through the real main window, with
// the real message boxes answered by the test and the results checked on disk.

#include <gtest/gtest.h>

#include <algorithm>

#include "gui/MainWindowFixture.h"
#include "platform/FileSystem.h"
#include "res/resource.h"

using namespace testing_files;
using namespace gui;

namespace {

HWND ListOf(HWND dialog) { return GetDlgItem(dialog, IDC_MOD_LIST); }

// Opens a file as another program would, sharing nothing.
struct HeldOpen {
    HANDLE file;
    explicit HeldOpen(const std::wstring& path)
        : file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~HeldOpen() { if (file != INVALID_HANDLE_VALUE) CloseHandle(file); }
};

TEST(ModSwitching, TickingADisabledModEnablesItWithoutAsking)
{
    GameFolder game;
    WriteFileWithTime(game.Pak(L"b.G1O"), Time(2014, 1, 1), "b");
    WriteFile(game.Pak(L"b.G1O.MAN"), "b man");
    WriteFileWithTime(game.Pak(L"z.pak"), Time(2019, 1, 1));
    RunMainWindow(game.Program(), [&](HWND window) {
        PostClick(ListOf(window), CellPoint(window, 0, 0));
        Settle();
        EXPECT_EQ(WaitForMessageBox(L"请确认", 0).window, nullptr);
        EXPECT_EQ(Rows(window), (std::vector<Row>{{1, L"b.PAK", L"2014-1-1", L""}, {1, L"z.pak", L"2019-1-1", L""}}));
        EXPECT_EQ(ReadFile(game.Pak(L"b.PAK")), "b");
        EXPECT_EQ(ReadFile(game.Pak(L"b.PAK.MAN")), "b man");
        EXPECT_FALSE(Exists(game.Pak(L"b.G1O")));
        EXPECT_FALSE(Exists(game.Pak(L"b.G1O.MAN")));
    });
}

TEST(ModSwitching, ClearingAnEnabledModAsksAndOkDisablesIt)
{
    GameFolder game;
    WriteFileWithTime(game.Pak(L"a.PAK"), Time(2015, 1, 1), "a");
    WriteFile(game.Pak(L"a.PAK.MAN"), "a man");
    RunMainWindow(game.Program(), [&](HWND window) {
        PostClick(ListOf(window), CellPoint(window, 0, 0));
        const MessageBoxSeen box = WaitForMessageBox(L"请确认");
        ASSERT_NE(box.window, nullptr);
        EXPECT_EQ(box.text, L"你确定要禁用？ \r\n\r\n\ta.PAK");
        EXPECT_EQ(box.owner, window);
        EXPECT_TRUE(Exists(game.Pak(L"a.PAK")));  // nothing happens before the answer
        Answer(box, IDOK);
        Settle();
        EXPECT_EQ(Rows(window), (std::vector<Row>{{0, L"a.G1O", L"2015-1-1", L""}}));
        EXPECT_EQ(ReadFile(game.Pak(L"a.G1O")), "a");
        EXPECT_EQ(ReadFile(game.Pak(L"a.G1O.MAN")), "a man");
        EXPECT_FALSE(Exists(game.Pak(L"a.PAK")));
        EXPECT_FALSE(Exists(game.Pak(L"a.PAK.MAN")));
    });
}

TEST(ModSwitching, CancelLeavesTheDiskAndTheRowAlone)
{
    GameFolder game;
    WriteFileWithTime(game.Pak(L"a.pak"), Time(2015, 1, 1));
    WriteFile(game.Pak(L"a.pak.MAN"));
    RunMainWindow(game.Program(), [&](HWND window) {
        PostClick(ListOf(window), CellPoint(window, 0, 0));
        Answer(WaitForMessageBox(L"请确认"), IDCANCEL);
        Settle();
        EXPECT_EQ(Rows(window), (std::vector<Row>{{1, L"a.pak", L"2015-1-1", L""}}));
        std::vector<platform::FolderEntry> entries;
        ASSERT_TRUE(platform::SystemFileSystem().ListFolder(game.paks, entries).ok());
        std::vector<std::wstring> names;
        for (const auto& entry : entries)
            names.push_back(entry.name);
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::wstring>{L"DATA.PAK", L"a.pak", L"a.pak.MAN"}));  // not renamed to a.PAK
    });
}

TEST(ModSwitching, AFailedRenameShowsTheDiskAgainAndSaysWhy)
{
    GameFolder game;
    WriteFileWithTime(game.Pak(L"a.PAK"), Time(2015, 1, 1), "enabled");
    WriteFile(game.Pak(L"a.PAK.MAN"), "enabled man");
    WriteFileWithTime(game.Pak(L"a.G1O"), Time(2016, 1, 1), "twin");
    WriteFileWithTime(game.Pak(L"held.pak"), Time(2017, 1, 1), "held");
    RunMainWindow(game.Program(), [&](HWND window) {

        // A disabled twin of the same name already exists.
        PostClick(ListOf(window), CellPoint(window, 0, 0));
        Answer(WaitForMessageBox(L"请确认"), IDOK);
        Settle();
        EXPECT_EQ(Rows(window)[0], (Row{1, L"a.PAK", L"2015-1-1", L""}));
        EXPECT_EQ(Status(window), L"无法重命名 a.PAK：已存在同名文件");
        EXPECT_EQ(ReadFile(game.Pak(L"a.PAK")), "enabled");
        EXPECT_EQ(ReadFile(game.Pak(L"a.G1O")), "twin");
        EXPECT_EQ(ReadFile(game.Pak(L"a.PAK.MAN")), "enabled man");

        // Without the twin (the list follows) the same click succeeds, and the count replaces the report.
        ASSERT_TRUE(platform::SystemFileSystem().RemoveFile(game.Pak(L"a.G1O")).ok());
        ASSERT_EQ(RowsOnceThereAre(window, 2).size(), 2u);
        PostClick(ListOf(window), CellPoint(window, 0, 0));
        Answer(WaitForMessageBox(L"请确认"), IDOK);
        Settle();
        EXPECT_EQ(Rows(window)[0], (Row{0, L"a.G1O", L"2015-1-1", L""}));
        EXPECT_EQ(Status(window), L"总共 2 个MOD");

        // Enabling meets a stray pak of the new name; once it is gone, enabling succeeds.
        WriteFileWithTime(game.Pak(L"a.PAK"), Time(2018, 1, 1), "stray");
        ASSERT_EQ(RowsOnceThereAre(window, 3).size(), 3u);
        PostClick(ListOf(window), CellPoint(window, 0, 0));
        Settle();
        EXPECT_EQ(Rows(window)[0], (Row{0, L"a.G1O", L"2015-1-1", L""}));
        EXPECT_EQ(Status(window), L"无法重命名 a.G1O：已存在同名文件");
        ASSERT_TRUE(platform::SystemFileSystem().RemoveFile(game.Pak(L"a.PAK")).ok());
        ASSERT_EQ(RowsOnceThereAre(window, 2).size(), 2u);
        PostClick(ListOf(window), CellPoint(window, 0, 0));
        Settle();
        EXPECT_EQ(Rows(window)[0], (Row{1, L"a.PAK", L"2015-1-1", L""}));
        EXPECT_EQ(Status(window), L"总共 2 个MOD");

        // The game holds the pak open.
        HeldOpen held(game.Pak(L"held.pak"));
        ASSERT_NE(held.file, INVALID_HANDLE_VALUE);
        PostClick(ListOf(window), CellPoint(window, 1, 0));
        Answer(WaitForMessageBox(L"请确认"), IDOK);
        Settle();
        EXPECT_EQ(Rows(window)[1], (Row{1, L"held.pak", L"2017-1-1", L""}));
        EXPECT_EQ(Status(window), L"无法重命名 held.pak：文件正被另一个程序使用");
        EXPECT_TRUE(Exists(game.Pak(L"held.pak")));
        EXPECT_FALSE(Exists(game.Pak(L"held.G1O")));
    });
}

TEST(ModSwitching, AModWhoseCompanionCannotFollowStaysAsItWas)
{
    GameFolder game;
    WriteFileWithTime(game.Pak(L"b.G1O"), Time(2014, 1, 1), "pak");
    WriteFile(game.Pak(L"b.G1O.MAN"), "own man");
    WriteFile(game.Pak(L"b.PAK.MAN"), "stray man");
    WriteFileWithTime(game.Pak(L"z.pak"), Time(2019, 1, 1));
    RunMainWindow(game.Program(), [&](HWND window) {
        PostClick(ListOf(window), CellPoint(window, 0, 0));
        Settle();
        EXPECT_EQ(Rows(window)[0], (Row{0, L"b.G1O", L"2014-1-1", L""}));
        EXPECT_EQ(Status(window), L"无法重命名 b.G1O.MAN：已存在同名文件");
        EXPECT_EQ(ReadFile(game.Pak(L"b.G1O")), "pak");
        EXPECT_EQ(ReadFile(game.Pak(L"b.G1O.MAN")), "own man");
        EXPECT_EQ(ReadFile(game.Pak(L"b.PAK.MAN")), "stray man");
        EXPECT_FALSE(Exists(game.Pak(L"b.PAK")));
    });
}

TEST(ModDeletion, RightClickOnACheckBoxSelectsTheRowAndOpensTheMenuRenamingNothing)
{
    GameFolder game;
    WriteFileWithTime(game.Pak(L"a.PAK"), Time(2015, 1, 1));
    WriteFileWithTime(game.Pak(L"b.PAK"), Time(2016, 1, 1));
    RunMainWindow(game.Program(), [&](HWND window) {
        Select(window, {0});
        PostClick(ListOf(window), CellPoint(window, 1, 0), true);
        HWND menu = WaitForPopupMenu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(FindWindowW(L"#32770", L"请确认"), nullptr);  // no question: nothing is switched
        EXPECT_EQ(MenuItems(menu), (std::vector<std::wstring>{L"物理删除 MOD"}));
        CloseMenu(menu);
        Settle();
        EXPECT_EQ(Rows(window), (std::vector<Row>{{1, L"a.PAK", L"2015-1-1", L""}, {1, L"b.PAK", L"2016-1-1", L""}}));
        EXPECT_EQ(SelectedRows(window), (std::vector<int>{1}));
        EXPECT_TRUE(Exists(game.Pak(L"b.PAK")));
        EXPECT_FALSE(Exists(game.Pak(L"b.G1O")));
    });
}

// Right-clicks the row's name, picks "物理删除 MOD" and returns the question.
MessageBoxSeen AskToDelete(HWND window, int row)
{
    PostClick(ListOf(window), CellPoint(window, row, 1), true);
    HWND menu = WaitForPopupMenu();
    EXPECT_NE(menu, nullptr);
    if (!menu)
        return {};
    ChooseMenuItem(menu, 0);
    return WaitForMessageBox(L"请确定");
}

TEST(ModDeletion, OkDeletesThePakAndItsCompanion)
{
    GameFolder game;
    WriteFileWithTime(game.Pak(L"a.PAK"), Time(2015, 1, 1));
    WriteFile(game.Pak(L"a.PAK.MAN"));
    WriteFileWithTime(game.Pak(L"solo.G1O"), Time(2016, 1, 1));
    WriteFileWithTime(game.Pak(L"keep.pak"), Time(2017, 1, 1));
    RunMainWindow(game.Program(), [&](HWND window) {
        const MessageBoxSeen box = AskToDelete(window, 0);
        ASSERT_NE(box.window, nullptr);
        EXPECT_EQ(box.text, L"确定从磁盘上删除Mod ？\r\n\r\n" + game.Pak(L"a.PAK") + L"\r\n" + game.Pak(L"a.PAK.MAN"));
        EXPECT_EQ(box.owner, window);
        Answer(box, IDOK);
        Settle();
        EXPECT_FALSE(Exists(game.Pak(L"a.PAK")));
        EXPECT_FALSE(Exists(game.Pak(L"a.PAK.MAN")));
        EXPECT_EQ(Rows(window).size(), 2u);
        EXPECT_EQ(Status(window), L"总共 2 个MOD");

        // A mod without a companion.
        Answer(AskToDelete(window, 0), IDOK);
        Settle();
        EXPECT_FALSE(Exists(game.Pak(L"solo.G1O")));
        EXPECT_EQ(Rows(window), (std::vector<Row>{{1, L"keep.pak", L"2017-1-1", L""}}));
        EXPECT_EQ(Status(window), L"总共 1 个MOD");
    });
}

TEST(ModDeletion, CancelKeepsEverything)
{
    GameFolder game;
    WriteFileWithTime(game.Pak(L"a.PAK"), Time(2015, 1, 1));
    WriteFile(game.Pak(L"a.PAK.MAN"));
    RunMainWindow(game.Program(), [&](HWND window) {
        Answer(AskToDelete(window, 0), IDCANCEL);
        Settle();
        EXPECT_TRUE(Exists(game.Pak(L"a.PAK")));
        EXPECT_TRUE(Exists(game.Pak(L"a.PAK.MAN")));
        EXPECT_EQ(Rows(window).size(), 1u);
    });
}

TEST(ModDeletion, APakThatCannotBeDeletedKeepsItsCompanion)
{
    GameFolder game;
    WriteFileWithTime(game.Pak(L"held.PAK"), Time(2015, 1, 1));
    WriteFile(game.Pak(L"held.PAK.MAN"));
    RunMainWindow(game.Program(), [&](HWND window) {
        HeldOpen held(game.Pak(L"held.PAK"));
        ASSERT_NE(held.file, INVALID_HANDLE_VALUE);
        Answer(AskToDelete(window, 0), IDOK);
        Settle();
        EXPECT_TRUE(Exists(game.Pak(L"held.PAK")));
        EXPECT_TRUE(Exists(game.Pak(L"held.PAK.MAN")));
        EXPECT_EQ(Rows(window), (std::vector<Row>{{1, L"held.PAK", L"2015-1-1", L""}}));
        EXPECT_EQ(Status(window), L"无法删除 held.PAK：文件正被另一个程序使用");
    });
}

}  // namespace
