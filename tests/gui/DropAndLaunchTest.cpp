// Dropping files and folders on the real main window, and launching the game.

#include <windows.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/ProgressDlg.h"
#include "gui/ListDialog.h"
#include "gui/MainWindowFixture.h"
#include "platform/FileSystem.h"
#include "platform/Utf8.h"
#include "res/resource.h"

using namespace testing_files;
using namespace gui;

namespace {

std::vector<std::wstring> SelectedNames(HWND window)
{
    std::vector<std::wstring> names;
    OnUiThread([&] {
        CExtListCtrl* list = ModList(window);
        for (int r = list->GetNextItem(-1, LVNI_SELECTED); r >= 0; r = list->GetNextItem(r, LVNI_SELECTED))
            names.push_back(list->GetItemText(r, 1));
    });
    return names;
}

TEST(Dropping, DroppedModsAreCopiedWithTheirCompanionsAndSelected)
{
    GameFolder game;
    WriteFileWithTime(game.Pak(L"old.pak"), Time(2014, 1, 1));
    TempFolder downloads;
    WriteFileWithTime(downloads / L"a.PAK", Time(2015, 1, 1), "a");
    WriteFile(downloads / L"a.PAK.MAN", "a man");
    WriteFileWithTime(downloads / L"b.pak", Time(2016, 1, 1), "b");
    WriteFile(downloads / L"b.pak.MAN", "b man");
    WriteFileWithTime(downloads / L"c.G1O", Time(2017, 1, 1), "c");
    RunMainWindow(game.Program(), [&](HWND window) {
        Drop(window, {downloads / L"a.PAK", downloads / L"b.pak", downloads / L"c.G1O"});
        const MessageBoxSeen box = WaitForMessageBox(L"请确定");
        ASSERT_NE(box.window, nullptr);
        EXPECT_EQ(box.owner, window);
        EXPECT_EQ(box.text, L"你拖过来 3 个Mod，确定要自动拷贝火炬之光PAKS生效吗？\r\n\r\n" + (downloads / L"a.PAK") + L"\r\n" +
                                (downloads / L"b.pak") + L"\r\n" + (downloads / L"c.G1O") + L"\r\n");
        Answer(box, IDOK);
        RowsOnceThereAre(window, 4);
        EXPECT_EQ(ReadFile(game.Pak(L"a.PAK.MAN")), "a man");
        EXPECT_EQ(ReadFile(game.Pak(L"b.pak.MAN")), "b man");
        EXPECT_EQ(ReadFile(game.Pak(L"c.G1O")), "c");
        EXPECT_FALSE(Exists(game.Pak(L"c.G1O.MAN")));
        EXPECT_EQ(Rows(window), (std::vector<Row>{{1, L"old.pak", L"2014-1-1", L""},
                                                  {1, L"a.PAK", L"2015-1-1", L""},
                                                  {1, L"b.pak", L"2016-1-1", L""},
                                                  {0, L"c.G1O", L"2017-1-1", L""}}));
        EXPECT_EQ(SelectedNames(window), (std::vector<std::wstring>{L"a.PAK", L"b.pak", L"c.G1O"}));
        int focused = -1;
        OnUiThread([&] { focused = ModList(window)->GetNextItem(-1, LVNI_FOCUSED); });
        EXPECT_EQ(focused, 3);  // the last one installed
        EXPECT_EQ(Status(window), L"总共 4 个MOD");
        EXPECT_EQ(WaitForMessageBox(L"PakOrder", 0).window, nullptr);  // nothing to report
    });
}

TEST(Dropping, ALargeCopyShowsItsProgressAndCancelLeavesNothingOfTheMod)
{
    GameFolder game;
    WriteFileWithTime(game.Pak(L"old.pak"), Time(2014, 1, 1));
    TempFolder downloads;
    // Eight sparse GB: long enough to copy for the progress to show.
    const std::wstring big = downloads / L"big.pak";
    {
        HANDLE file = CreateFileW(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        LARGE_INTEGER size{};
        size.QuadPart = 8ll << 30;
        EXPECT_TRUE(SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && SetEndOfFile(file));
        CloseHandle(file);
    }
    WriteFile(downloads / L"big.pak.MAN", "man");
    RunMainWindow(game.Program(), [&](HWND window) {
        Drop(window, {big});
        Answer(WaitForMessageBox(L"请确定"), IDOK);
        HWND progress = WaitForDialogTitled(L"正在复制MOD");
        ASSERT_NE(progress, nullptr);
        HWND bar = GetDlgItem(progress, IDC_PROGRESS_BAR);
        for (int i = 0; i < 200 && SendMessageW(bar, PBM_GETPOS, 0, 0) == 0; ++i)
            Sleep(25);
        EXPECT_GT(SendMessageW(bar, PBM_GETPOS, 0, 0), 0);
        EXPECT_NE(WindowText(GetDlgItem(progress, IDC_PROGRESS_TEXT)).find(L"big.pak（第 1 个，共 1 个）"),
                  std::wstring::npos);
        // The main window answers and repaints meanwhile, but takes no input.
        EXPECT_FALSE(IsWindowEnabled(window));
        DWORD_PTR answered = 0;
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        EXPECT_TRUE(SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 2000, &answered));
        RECT stillToPaint{};
        for (int i = 0; i < 80 && GetUpdateRect(window, &stillToPaint, FALSE); ++i)
            Sleep(25);
        EXPECT_FALSE(GetUpdateRect(window, &stillToPaint, FALSE));

        PostMessageW(progress, WM_COMMAND, IDCANCEL, 0);
        const MessageBoxSeen report = WaitForMessageBox(L"PakOrder", 20000);
        ASSERT_NE(report.window, nullptr);
        EXPECT_EQ(report.text, L"1 个Mod 没有拷贝：\r\nbig.pak：已取消，没有拷贝");
        Answer(report, IDOK);
        EXPECT_FALSE(Exists(game.Pak(L"big.pak")));
        EXPECT_FALSE(Exists(game.Pak(L"big.pak.MAN")));
        EXPECT_TRUE(IsWindowEnabled(window));
        EXPECT_EQ(Rows(window), (std::vector<Row>{{1, L"old.pak", L"2014-1-1", L""}}));
    });
}

TEST(Progress, LongWorkThatCannotStopShowsItsStepsWithoutCancel)
{
    ListDialog owner;
    RunDialog(owner, [&] {
        HWND window = WaitForDialog(kCaptionStart);
        ASSERT_NE(window, nullptr);
        OnUiThread([&] {
            CProgressDlg progress(window, L"正在智能排序", false);
            EXPECT_FALSE(IsWindowEnabled(window));
            for (int step = 0; step < 40; ++step) {
                progress.Step(L"7 / 40", static_cast<std::uint64_t>(step), 40);
                Sleep(25);
            }
            HWND shown = FindWindowW(L"#32770", L"正在智能排序");
            ASSERT_NE(shown, nullptr);  // past half a second: shown
            EXPECT_TRUE(IsWindowVisible(shown));
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(shown, IDCANCEL)));
            EXPECT_EQ(WindowText(GetDlgItem(shown, IDC_PROGRESS_TEXT)), L"7 / 40");
            EXPECT_GT(SendMessageW(GetDlgItem(shown, IDC_PROGRESS_BAR), PBM_GETPOS, 0, 0), 800);
        });
        EXPECT_TRUE(IsWindowEnabled(window));
        EXPECT_EQ(FindWindowW(L"#32770", L"正在智能排序"), nullptr);
    });
}

TEST(Dropping, NamesThatAreNotModsGetNoQuestion)
{
    GameFolder game;
    WriteFile(game.Pak(L"x.pak"));
    TempFolder downloads;
    for (const wchar_t* name : {L"d.Pak", L"e.g1o", L"f.zip", L"mypak"})
        WriteFile(downloads / name);
    RunMainWindow(game.Program(), [&](HWND window) {
        Drop(window, {downloads / L"d.Pak", downloads / L"e.g1o", downloads / L"f.zip", downloads / L"mypak"});
        Settle();
        EXPECT_EQ(WaitForMessageBox(L"请确定", 300).window, nullptr);
        for (const wchar_t* name : {L"d.Pak", L"e.g1o", L"f.zip", L"mypak"})
            EXPECT_FALSE(Exists(game.Pak(name)));
    });
}

TEST(Dropping, AModThatCannotGoInWholeIsNeitherCopiedNorHidden)
{
    GameFolder game;
    WriteFileWithTime(game.Pak(L"old.pak"), Time(2014, 1, 1), "installed");
    WriteFileWithTime(game.Pak(L"twin.G1O"), Time(2015, 1, 1), "disabled twin");
    WriteFile(game.Pak(L"stray.PAK.MAN"), "stray man");
    TempFolder downloads;
    WriteFile(downloads / L"old.pak", "dropped");
    WriteFile(downloads / L"old.pak.MAN", "dropped man");
    WriteFile(downloads / L"twin.PAK", "dropped twin");
    WriteFile(downloads / L"stray.PAK", "dropped stray");
    WriteFileWithTime(downloads / L"solo.pak", Time(2018, 1, 1), "solo");
    RunMainWindow(game.Program(), [&](HWND window) {
        Drop(window, {downloads / L"old.pak", downloads / L"twin.PAK", downloads / L"stray.PAK", downloads / L"solo.pak"});
        Answer(WaitForMessageBox(L"请确定"), IDOK);
        const MessageBoxSeen report = WaitForMessageBox(L"PakOrder");
        ASSERT_NE(report.window, nullptr);
        EXPECT_EQ(report.owner, window);
        EXPECT_EQ(report.text, L"3 个Mod 没有拷贝：\r\nold.pak：已存在\r\ntwin.PAK：已存在（已禁用）"
                               L"\r\nstray.PAK：PAKS 里已有同名的清单文件 stray.PAK.MAN");
        Answer(report, IDOK);
        Settle();
        EXPECT_EQ(ReadFile(game.Pak(L"old.pak")), "installed");
        EXPECT_FALSE(Exists(game.Pak(L"old.pak.MAN")));
        EXPECT_FALSE(Exists(game.Pak(L"twin.PAK")));
        EXPECT_FALSE(Exists(game.Pak(L"stray.PAK")));
        EXPECT_EQ(ReadFile(game.Pak(L"stray.PAK.MAN")), "stray man");
        EXPECT_EQ(ReadFile(game.Pak(L"solo.pak")), "solo");
        EXPECT_FALSE(Exists(game.Pak(L"solo.pak.MAN")));
        EXPECT_EQ(SelectedNames(window), (std::vector<std::wstring>{L"solo.pak"}));
    });
}

TEST(Dropping, CancelCopiesNothing)
{
    GameFolder game;
    WriteFile(game.Pak(L"x.pak"));
    TempFolder downloads;
    WriteFile(downloads / L"new.pak");
    RunMainWindow(game.Program(), [&](HWND window) {
        Drop(window, {downloads / L"new.pak"});
        Answer(WaitForMessageBox(L"请确定"), IDCANCEL);
        Settle();
        EXPECT_FALSE(Exists(game.Pak(L"new.pak")));
        EXPECT_EQ(Status(window), L"总共 1 个MOD");
    });
}

TEST(Dropping, ADroppedPaksFolderBecomesTheManagedFolder)
{
    GameFolder game, other;
    WriteFile(game.Pak(L"x.pak"));
    WriteFileWithTime(other.Pak(L"y.pak"), Time(2015, 1, 1));
    TempFolder downloads, onePak;
    WriteFile(downloads / L"before.pak", "before");
    WriteFile(downloads / L"after.pak", "after");
    WriteFile(onePak / L"lonely.pak");
    RunMainWindow(game.Program(), [&](HWND window, CModManagerDlg& dialog) {
        // A folder with a single pak is no PAKS folder.
        Drop(window, {onePak.path()});
        Settle();
        EXPECT_EQ(ManagedPaks(dialog), game.paks + L"\\");

        // Another PAKS folder is managed only once the player agrees; Cancel keeps this one.
        Drop(window, {other.paks});
        MessageBoxSeen asked = WaitForMessageBox(L"请确认");
        ASSERT_NE(asked.window, nullptr);
        EXPECT_EQ(asked.text, L"要改为管理这个 PAKS 目录吗？\r\n\r\n" + other.paks + L"\\\r\n\r\n现在管理的是：\r\n" +
                                  game.paks + L"\\");
        Answer(asked, IDCANCEL);
        Settle();
        EXPECT_EQ(ManagedPaks(dialog), game.paks + L"\\");

        // Files dropped before the folder are offered for it; those after are not.
        Drop(window, {downloads / L"before.pak", other.paks, downloads / L"after.pak"});
        Answer(WaitForMessageBox(L"请确认"), IDOK);
        const MessageBoxSeen box = WaitForMessageBox(L"请确定");
        ASSERT_NE(box.window, nullptr);
        EXPECT_EQ(ManagedPaks(dialog), other.paks + L"\\");
        EXPECT_EQ(box.text, L"你拖过来 1 个Mod，确定要自动拷贝火炬之光PAKS生效吗？\r\n\r\n" + (downloads / L"before.pak") + L"\r\n");
        Answer(box, IDOK);
        Settle();
        EXPECT_EQ(ReadFile(other.Pak(L"before.pak")), "before");
        EXPECT_FALSE(Exists(other.Pak(L"after.pak")));
        EXPECT_FALSE(Exists(game.Pak(L"before.pak")));

        // The folder first: nothing else is looked at.
        Drop(window, {game.paks, downloads / L"after.pak"});
        Answer(WaitForMessageBox(L"请确认"), IDOK);
        Settle();
        EXPECT_EQ(WaitForMessageBox(L"请确定", 300).window, nullptr);
        EXPECT_EQ(ManagedPaks(dialog), game.paks + L"\\");
        EXPECT_EQ(Rows(window).size(), 1u);
    });
}

std::vector<std::string> StartedLines(const std::wstring& log)
{
    std::ifstream in(FsPath(log));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> WaitForStarts(const std::wstring& log, std::size_t count)
{
    for (int i = 0; i < 400 && StartedLines(log).size() < count; ++i)
        Sleep(25);
    return StartedLines(log);
}

TEST(Launch, EachPressStartsTheGameInItsFolder)
{
    GameFolder game(false);
    WriteFile(game.Pak(L"x.pak"));
    auto installGame = [&] {
        return platform::SystemFileSystem().CopyNoReplace(BuiltProgram(L"Torchlight2.exe"), game.root / L"Torchlight2.exe").ok();
    };
    ASSERT_TRUE(installGame());
    const std::wstring log = game.root / L"Torchlight2.started.txt";
    RunMainWindow(game.Program(), [&](HWND window) {
        ASSERT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_LAUNCH_GAME)));
        ClickButton(window, IDC_LAUNCH_GAME);
        std::vector<std::string> starts = WaitForStarts(log, 1);
        ASSERT_EQ(starts.size(), 1u);
        // The working folder is the game's own (as seen by the game, in Windows form).
        std::wstring folder = platform::StripTrailingSeparators(game.root.path());
        EXPECT_NE(starts[0].find("\tfolder=" + platform::ToUtf8(folder)), std::string::npos) << starts[0];
        ClickButton(window, IDC_LAUNCH_GAME);
        EXPECT_EQ(WaitForStarts(log, 2).size(), 2u);

        // The game gone: the status line gives the shell's reason, not the
        // error an earlier call left on the UI thread.
        Sleep(300);
        ASSERT_TRUE(platform::SystemFileSystem().RemoveFile(game.root / L"Torchlight2.exe").ok());
        OnUiThread([&] {
            SetLastError(ERROR_ACCESS_DENIED);
            HWND button = GetDlgItem(window, IDC_LAUNCH_GAME);
            SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_LAUNCH_GAME, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        });
        EXPECT_EQ(Status(window), L"无法启动游戏：找不到该文件");

        // Back again: it starts, and the count replaces the report.
        ASSERT_TRUE(installGame());
        ClickButton(window, IDC_LAUNCH_GAME);
        EXPECT_EQ(WaitForStarts(log, 3).size(), 3u);
        EXPECT_EQ(Status(window), L"总共 1 个MOD");
    });
}

}  // namespace
