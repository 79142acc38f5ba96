// The player's arrangement on the real main window: never dropped without a
// question, kept across deletes, drops and hand-set times, and following
// changes other programs make to the folder.

#include <windows.h>
#include <shlobj.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "gui/MainWindowFixture.h"
#include "mods/ChangeHistory.h"
#include "platform/FileSystem.h"
#include "res/resource.h"
#include "unit/ManifestBytes.h"

using namespace testing_files;
using namespace gui;

namespace {

TEST(KeepingWork, UnwrittenMovesAreNeverDroppedWithoutAQuestion)
{
    FourMods game;
    INT_PTR ended = 0;
    CModManagerDlg dialog(game.Program());
    ended = RunDialog(dialog, [&] {
        HWND window = WaitForDialog(kCaptionStart);
        ASSERT_NE(window, nullptr);
        // Nothing moved: Enter re-reads at once.
        FocusList(window);
        PressKeys(window, {VK_RETURN});
        Settle();
        EXPECT_EQ(WaitForMessageBox(L"请确认", 0).window, nullptr);

        Select(window, {3});
        ClickButton(window, IDC_MOVE_TOP);
        FocusList(window);
        for (WORD key : {WORD(VK_RETURN), WORD(VK_ESCAPE), WORD(VK_F5)}) {
            // The X server may drop a key sent while it hands over the focus:
            // a lost key is sent again; a key that dropped the moves shows below.
            MessageBoxSeen box;
            for (int attempt = 0; attempt < 3 && !box.window; ++attempt) {
                PressKeys(window, {key});
                box = WaitForMessageBox(L"请确认", 1500);
            }
            ASSERT_NE(box.window, nullptr) << key;
            EXPECT_EQ(box.text, L"有 1 个MOD调整了顺序，还没有用“智能排序”写入磁盘。\r\n\r\n放弃这些调整吗？");
            Answer(box, IDCANCEL);
            Settle();
            EXPECT_EQ(Order(window), L"d*abc") << key;
        }
        // "还原" asks too; OK drops the moves.
        PostMessageW(GetDlgItem(window, IDC_RESTORE), BM_CLICK, 0, 0);
        Answer(WaitForMessageBox(L"请确认"), IDOK);
        Settle();
        EXPECT_EQ(Order(window), L"abcd");

        // Ctrl+Z takes the moves back one command at a time.
        Select(window, {3});
        ClickButton(window, IDC_MOVE_TOP);
        Select(window, {0});
        ClickButton(window, IDC_MOVE_DOWN);
        EXPECT_EQ(Order(window), L"ad*bc");
        FocusList(window);
        PressKeys(window, {VK_CONTROL, 'Z'});
        EXPECT_EQ(OrderOnceItIs(window, L"d*abc"), L"d*abc");
        PressKeys(window, {VK_CONTROL, 'Z'});
        EXPECT_EQ(OrderOnceItIs(window, L"abcd"), L"abcd");

        // The close box with a move: OK ends the program.
        ClickButton(window, IDC_MOVE_BOTTOM);
        PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        Answer(WaitForMessageBox(L"请确认"), IDOK);
    });
    EXPECT_EQ(ended, IDCANCEL);
}

TEST(KeepingWork, DeletesAndDropsKeepTheArrangement)
{
    FourMods game;
    TempFolder downloads;
    WriteFileWithTime(downloads / L"x.pak", Time(2021, 1, 5));  // between b and c
    RunMainWindow(game.Program(), [&](HWND window) {
        Select(window, {3});
        ClickButton(window, IDC_MOVE_TOP);
        // "物理删除 MOD" on b.
        PostClick(GetDlgItem(window, IDC_MOD_LIST), CellPoint(window, 2, 1), true);
        HWND menu = WaitForPopupMenu();
        ASSERT_NE(menu, nullptr);
        ChooseMenuItem(menu, 0);
        Answer(WaitForMessageBox(L"请确定"), IDOK);
        Settle();
        EXPECT_EQ(Order(window), L"d*ac");

        Drop(window, {downloads / L"x.pak"});
        Answer(WaitForMessageBox(L"请确定"), IDOK);
        Settle();
        EXPECT_EQ(Order(window), L"d*axc");
        EXPECT_EQ(ListText(GetDlgItem(window, IDC_MOD_LIST), 2, 1), L"x.pak");
        int selected = -1;
        OnUiThread([&] { selected = ModList(window)->GetNextItem(-1, LVNI_SELECTED); });
        EXPECT_EQ(selected, 2);
    });
}

TEST(KeepingWork, AHandSetTimeMovesTheRowWhereTheGameLoadsIt)
{
    GameFolder game;
    const std::vector<unsigned char> a = ManifestBytes({{u"MEDIA/", {{u"X.DAT", 1}}}});
    const std::vector<unsigned char> b = ManifestBytes({{u"MEDIA/", {{u"X.DAT", 2}}}});
    WriteFileWithTime(game.Pak(L"a.pak"), Time(2021, 1, 1));
    WriteFile(game.Pak(L"a.pak.MAN"), std::string(a.begin(), a.end()));
    WriteFileWithTime(game.Pak(L"b.pak"), Time(2021, 1, 2));
    WriteFile(game.Pak(L"b.pak.MAN"), std::string(b.begin(), b.end()));
    RunMainWindow(game.Program(), [&](HWND window) {
        Select(window, {0});
        PostMessageW(window, WM_COMMAND, IDC_EDIT_TIME, 0);
        PickDate(2030, 1, 1);
        Settle();
        EXPECT_EQ(Order(window), L"ba");
        EXPECT_EQ(SelectedRows(window), std::vector<int>{1});
        // Nothing selected: the report covers every file, and a.pak now wins.
        Select(window, {});
        PostMessageW(GetDlgItem(window, IDC_CONFLICT_CHECK), BM_CLICK, 0, 0);
        HWND report = WaitForDialogTitled(L"冲突检测");
        ASSERT_NE(report, nullptr);
        EXPECT_EQ(ListText(GetDlgItem(report, IDC_CONFLICT_LIST), 0, 1), L"a.pak");
        PostMessageW(report, WM_COMMAND, IDCANCEL, 0);
    });
}

TEST(KeepingWork, TheListFollowsChangesMadeOutsideTheProgram)
{
    FourMods game;
    RunMainWindow(game.Program(), [&](HWND window) {
        Select(window, {1});
        WriteFileWithTime(game.Pak(L"x.pak"), Time(2020, 6, 1));
        EXPECT_EQ(OrderOnceItIs(window, L"xabcd"), L"xabcd");
        EXPECT_EQ(Status(window), L"总共 5 个MOD");
        int selected = -1;
        OnUiThread([&] { selected = ModList(window)->GetNextItem(-1, LVNI_SELECTED); });
        EXPECT_EQ(selected, 2);  // b stays selected

        // A change made while a question of ours is open shows once it is answered.
        FocusList(window);
        PressKeys(window, {VK_DELETE});
        const MessageBoxSeen deleting = WaitForMessageBox(L"请确定");
        ASSERT_NE(deleting.window, nullptr);
        WriteFileWithTime(game.Pak(L"w.pak"), Time(2020, 6, 1, 12));
        Sleep(1100);  // the watch's timer ticks while the question is open
        Answer(deleting, IDCANCEL);
        EXPECT_EQ(OrderOnceItIs(window, L"xwabcd"), L"xwabcd");

        // With a move not yet written, the list stays and the status line tells.
        ClickButton(window, IDC_MOVE_BOTTOM);
        WriteFileWithTime(game.Pak(L"y.pak"), Time(2020, 6, 2));
        std::wstring status;
        for (int i = 0; i < 200 && (status = Status(window)) == L"总共 6 个MOD"; ++i)
            Sleep(25);
        EXPECT_EQ(status, L"PAKS 目录已被其他程序更改；智能排序会从磁盘重新读取每个MOD的时间");
        EXPECT_EQ(Order(window), L"xwacdb*");
    });
}

mods::FileTime DiskTime(const std::wstring& path)
{
    mods::FileTime time = 0;
    EXPECT_TRUE(platform::SystemFileSystem().ReadLastWriteTime(path, time).ok());
    return time;
}

TEST(KeepingWork, RecordedWritesAreUndoneAndRedone)
{
    FourMods game;
    const mods::FileTime companionTime = Time(2011, 3, 4, 5, 6, 7) + 1234567;  // 100-ns exact
    WriteFileWithTime(game.Pak(L"d.pak.MAN"), companionTime);
    std::vector<mods::FileTime> before;
    for (const wchar_t* name : {L"a.pak", L"b.pak", L"c.pak", L"d.pak", L"d.pak.MAN"})
        before.push_back(DiskTime(game.Pak(name)));
    RunMainWindow(game.Program(), [&](HWND window) {
        // A smart sort, then undone: every time back exactly, pak and companion.
        Select(window, {3});
        ClickButton(window, IDC_MOVE_TOP);
        ClickButton(window, IDOK);
        EXPECT_EQ(Order(window), L"dabc");
        EXPECT_NE(DiskTime(game.Pak(L"d.pak")), before[3]);
        FocusList(window);
        PressKeys(window, {VK_CONTROL, 'Z'});
        EXPECT_EQ(OrderOnceItIs(window, L"abcd"), L"abcd");
        EXPECT_EQ(Status(window), L"已撤销：智能排序");
        std::vector<mods::FileTime> after;
        for (const wchar_t* name : {L"a.pak", L"b.pak", L"c.pak", L"d.pak", L"d.pak.MAN"})
            after.push_back(DiskTime(game.Pak(name)));
        EXPECT_EQ(after, before);

        // Redone from the window menu: the order written again.
        PostMessageW(window, WM_SYSCOMMAND, 0x0020, 0);
        EXPECT_EQ(OrderOnceItIs(window, L"dabc"), L"dabc");

        // A disable undone: the pak and its companion get their names back.
        PostClick(GetDlgItem(window, IDC_MOD_LIST), CellPoint(window, 0, 0));
        Answer(WaitForMessageBox(L"请确认"), IDOK);
        Settle();
        ASSERT_TRUE(Exists(game.Pak(L"d.G1O.MAN")));
        PostMessageW(window, WM_SYSCOMMAND, 0x0010, 0);
        Settle();
        EXPECT_TRUE(Exists(game.Pak(L"d.pak")));
        EXPECT_TRUE(Exists(game.Pak(L"d.pak.MAN")));
        EXPECT_FALSE(Exists(game.Pak(L"d.G1O")));
        EXPECT_EQ(Rows(window)[0], (Row{1, L"d.pak", Rows(window)[0].date, L""}));
    });
}

TEST(KeepingWork, TheHistoryPutsTheFolderBackAsItWasBeforeAChosenWrite)
{
    FourMods game;
    WriteFileWithTime(game.Pak(L"a.pak.MAN"), Time(2011, 3, 4, 5, 6, 7) + 1234567);
    const std::vector<const wchar_t*> files{L"a.pak", L"a.pak.MAN", L"b.pak", L"c.pak", L"d.pak"};
    std::vector<mods::FileTime> before;
    for (const wchar_t* name : files)
        before.push_back(DiskTime(game.Pak(name)));
    std::vector<mods::FileTime> sorted;
    RunMainWindow(game.Program(), [&](HWND window) {
        Select(window, {0});
        ClickButton(window, IDC_MOVE_BOTTOM);
        ClickButton(window, IDOK);
        ASSERT_EQ(Order(window), L"bcda");
        for (const wchar_t* name : files)
            sorted.push_back(DiskTime(game.Pak(name)));
        // A hand-set time, undone: the pak's time back exactly.
        Select(window, {0});
        PostMessageW(window, WM_COMMAND, IDC_EDIT_TIME, 0);
        PickDate(2030, 1, 1);
        EXPECT_EQ(OrderOnceItIs(window, L"cdba"), L"cdba");  // the sort put a.pak far ahead
        FocusList(window);
        PressKeys(window, {VK_CONTROL, 'Z'});
        EXPECT_EQ(OrderOnceItIs(window, L"bcda"), L"bcda");
        EXPECT_EQ(DiskTime(game.Pak(L"b.pak")), sorted[2]);
    });

    // A record damaged while the program was closed.
    const std::wstring records =
        mods::ChangeHistory(platform::SystemFileSystem(), HistoryRoot(), game.paks).RecordsFolder();
    WriteFile(platform::JoinPath(records, L"change-00000099.txt"), "PakOrder change record 1\nsequence 12x\n");

    RunMainWindow(game.Program(), [&](HWND window) {
        EXPECT_NE(Status(window).find(L"change-00000099.txt"), std::wstring::npos) << Status(window);
        PostMessageW(window, WM_SYSCOMMAND, 0x0030, 0);
        HWND history = WaitForDialogTitled(L"更改历史");
        ASSERT_NE(history, nullptr);
        HWND list = GetDlgItem(history, IDC_HISTORY_LIST);
        // Newest first; the damaged record is named, not listed.
        ASSERT_EQ(ListCount(list), 3);
        EXPECT_EQ(ListText(list, 0, 1), L"撤销");
        EXPECT_EQ(ListText(list, 1, 1), L"修改时间");
        EXPECT_EQ(ListText(list, 2, 1), L"智能排序");
        EXPECT_EQ(ListText(list, 2, 3), L"a.pak");
        EXPECT_NE(WindowText(GetDlgItem(history, IDC_HISTORY_NOTE)).find(L"change-00000099.txt"), std::wstring::npos);

        ListView_SetItemState(list, 2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        PostMessageW(history, WM_COMMAND, IDOK, 0);
        const MessageBoxSeen question = WaitForMessageBox(L"请确认");
        ASSERT_NE(question.window, nullptr);
        EXPECT_NE(question.text.find(L"“智能排序”之前"), std::wstring::npos) << question.text;
        int changed = 0;
        for (std::size_t i = 0; i < files.size(); ++i)
            changed += sorted[i] != before[i];
        EXPECT_NE(question.text.find(L"将改动 " + std::to_wstring(changed) + L" 个文件"), std::wstring::npos)
            << question.text;
        Answer(question, IDOK);
        EXPECT_EQ(OrderOnceItIs(window, L"abcd"), L"abcd");
        EXPECT_EQ(Status(window), L"已恢复到“智能排序”之前的样子");
        std::vector<mods::FileTime> after;
        for (const wchar_t* name : files)
            after.push_back(DiskTime(game.Pak(name)));
        EXPECT_EQ(after, before);
    });
}

TEST(KeepingWork, AWriteWaitsForAnotherPakOrderAndIsRefusedWhileItWrites)
{
    FourMods game;
    mods::ChangeHistory other(platform::SystemFileSystem(), HistoryRoot(), game.paks);
    RunMainWindow(game.Program(), [&](HWND window) {
        std::unique_ptr<platform::FileLock> writing;
        ASSERT_TRUE(other.TryLock(writing).ok());
        PostClick(GetDlgItem(window, IDC_MOD_LIST), CellPoint(window, 0, 0));
        Answer(WaitForMessageBox(L"请确认"), IDOK);
        std::wstring status;
        for (int i = 0; i < 200 && (status = Status(window)) == L"总共 4 个MOD"; ++i)
            Sleep(25);
        EXPECT_EQ(status, L"另一个 PakOrder 正在修改这个文件夹，没有改动任何文件：请等它完成后再试");
        EXPECT_TRUE(Exists(game.Pak(L"a.pak")));
        EXPECT_FALSE(Exists(game.Pak(L"a.G1O")));
        EXPECT_EQ(Rows(window)[0].check, 1);

        // Once the other is done, the same click renames.
        writing.reset();
        PostClick(GetDlgItem(window, IDC_MOD_LIST), CellPoint(window, 0, 0));
        Answer(WaitForMessageBox(L"请确认"), IDOK);
        Settle();
        EXPECT_TRUE(Exists(game.Pak(L"a.G1O")));
        EXPECT_EQ(Status(window), L"总共 4 个MOD");
    });
}

TEST(KeepingWork, ARecordNotCompletedIsShownAndItsActionOfferedForRecovery)
{
    FourMods game;
    // The completed record replaces the begun one through a temporary file
    // named after the process and a count, which folders of those names keep
    // from being made.
    const std::wstring records =
        mods::ChangeHistory(platform::SystemFileSystem(), HistoryRoot(), game.paks).RecordsFolder();
    RunMainWindow(game.Program(), [&](HWND window) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        for (int count = 1; count <= 64; ++count) {
            const std::wstring name = L"change-00000001.txt." + std::to_wstring(process) + L"-" + std::to_wstring(count) + L".tmp";
            ASSERT_EQ(SHCreateDirectoryExW(nullptr, platform::JoinPath(records, name).c_str(), nullptr), ERROR_SUCCESS);
        }
        PostClick(GetDlgItem(window, IDC_MOD_LIST), CellPoint(window, 0, 0));
        Answer(WaitForMessageBox(L"请确认"), IDOK);
        Settle();
        EXPECT_TRUE(Exists(game.Pak(L"a.G1O")));
        EXPECT_EQ(Status(window).rfind(L"更改已完成，但其记录未能完成：", 0), 0u) << Status(window);

        // The next write is not made over it: the disable is offered for undoing first.
        PostClick(GetDlgItem(window, IDC_MOD_LIST), CellPoint(window, 1, 0));
        Answer(WaitForMessageBox(L"请确认"), IDOK);
        const MessageBoxSeen offer = WaitForMessageBox(L"上次的操作没有完成");
        ASSERT_NE(offer.window, nullptr);
        EXPECT_NE(offer.text.find(L"“禁用”"), std::wstring::npos) << offer.text;
        Answer(offer, IDYES);
        Settle();
        EXPECT_TRUE(Exists(game.Pak(L"a.pak")));
        EXPECT_FALSE(Exists(game.Pak(L"a.G1O")));
        EXPECT_TRUE(Exists(game.Pak(L"b.pak")));
        EXPECT_EQ(Order(window), L"abcd");
        EXPECT_EQ(Rows(window)[0].check, 1);
        EXPECT_EQ(Rows(window)[1].check, 1);
        EXPECT_EQ(Status(window), L"总共 4 个MOD");
    });
}

}  // namespace
