// Reordering, the smart sort and the hand-set time on the real main window.

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "app/ModTimeDlg.h"
#include "base/UniqueHandle.h"
#include "gui/MainWindowFixture.h"
#include "mods/ModTime.h"
#include "platform/FileSystem.h"
#include "res/resource.h"

using namespace testing_files;
using namespace gui;

namespace {

platform::FileSystem& Fs() { return platform::SystemFileSystem(); }

int FocusedRow(HWND window)
{
    int row = -1;
    OnUiThread([&] { row = ModList(window)->GetNextItem(-1, LVNI_FOCUSED); });
    return row;
}

mods::FileTime DiskTime(const std::wstring& path)
{
    mods::FileTime time = 0;
    EXPECT_TRUE(Fs().ReadLastWriteTime(path, time).ok());
    return time;
}

struct ReorderCase {
    int line;
    std::vector<int> selected;
    int command;
    std::vector<int> order;  // the mods (by number) from top to bottom; empty: unchanged and unmarked
};

TEST(LoadOrder, ReorderCommandsOnTenRows)
{
    GameFolder game;
    for (int i = 0; i < 10; ++i)
        WriteFileWithTime(game.Pak(L"m" + std::to_wstring(i) + (i == 5 ? L".G1O" : L".pak")), Time(2021, 1, 1 + i));
    const ReorderCase cases[] = {
        {__LINE__, {}, IDC_MOVE_TOP, {}},
        {__LINE__, {}, IDC_MOVE_UP, {}},
        {__LINE__, {}, IDC_MOVE_DOWN, {}},
        {__LINE__, {}, IDC_MOVE_BOTTOM, {}},
        {__LINE__, {0, 5}, IDC_MOVE_TOP, {}},
        {__LINE__, {0, 5}, IDC_MOVE_UP, {}},
        {__LINE__, {2, 5}, IDC_MOVE_UP, {0, 2, 5, 1, 3, 4, 6, 7, 8, 9}},
        {__LINE__, {2, 5}, IDC_MOVE_DOWN, {0, 1, 3, 4, 6, 2, 5, 7, 8, 9}},
        {__LINE__, {3, 4}, IDC_MOVE_DOWN, {0, 1, 2, 5, 3, 4, 6, 7, 8, 9}},
        {__LINE__, {3, 9}, IDC_MOVE_DOWN, {0, 1, 2, 4, 5, 6, 7, 8, 3, 9}},
        {__LINE__, {8, 9}, IDC_MOVE_DOWN, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {__LINE__, {8, 9}, IDC_MOVE_BOTTOM, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {__LINE__, {3, 7}, IDC_MOVE_TOP, {3, 7, 0, 1, 2, 4, 5, 6, 8, 9}},
        {__LINE__, {3, 7}, IDC_MOVE_BOTTOM, {0, 1, 2, 4, 5, 6, 8, 9, 3, 7}},
    };
    RunMainWindow(game.Program(), [&](HWND window) {
        for (const ReorderCase& c : cases) {
            SCOPED_TRACE("line " + std::to_string(c.line));
            RestoreList(window);
            const std::vector<Row> before = Rows(window);
            ASSERT_EQ(before.size(), 10u);
            Select(window, c.selected);
            ClickButton(window, c.command);
            const std::vector<Row> after = Rows(window);
            if (c.order.empty()) {
                EXPECT_EQ(after, before);
                continue;
            }
            std::vector<int> moved;
            for (int i = 0; i < 10; ++i) {
                const int mod = c.order[static_cast<std::size_t>(i)];
                Row expected = before[static_cast<std::size_t>(mod)];
                const bool isMoved = std::find(c.selected.begin(), c.selected.end(), mod) != c.selected.end();
                expected.mark = isMoved ? kMovedMark : L"";
                if (isMoved)
                    moved.push_back(i);
                EXPECT_EQ(after[static_cast<std::size_t>(i)], expected) << "row " << i;
            }
            EXPECT_EQ(SelectedRows(window), moved);
            EXPECT_EQ(FocusedRow(window), moved.front());
        }
        // A refill forgets the moves.
        RestoreList(window);
        for (const Row& row : Rows(window))
            EXPECT_EQ(row.mark, L"");
    });
}

// Pixels of a row's name cell, as the list shows it now, in the light grey
// of a disabled mod and in dark colours.
std::pair<int, int> GreyAndDarkInName(HWND window, int row)
{
    std::pair<int, int> counts;
    OnUiThread([&] {
        CExtListCtrl* list = ModList(window);
        list->UpdateWindow();
        RECT cell{};
        ASSERT_TRUE(list->GetCellRect(row, 1, &cell));
        fw::WindowDc dc(list->GetSafeHwnd());
        for (int y = cell.top; y < cell.bottom; ++y) {
            for (int x = cell.left; x < cell.right; ++x) {
                const COLORREF c = GetPixel(dc.get(), x, y);
                counts.first += c == RGB(220, 220, 220);
                counts.second += GetRValue(c) < 0x60 && GetGValue(c) < 0x60 && GetBValue(c) < 0x60;
            }
        }
    });
    return counts;
}

TEST(LoadOrder, AMovedDisabledModStaysGrey)
{
    GameFolder game;
    WriteFileWithTime(game.Pak(L"on.pak"), Time(2021, 1, 1));
    WriteFileWithTime(game.Pak(L"off.G1O"), Time(2021, 1, 2));
    RunMainWindow(game.Program(), [&](HWND window) {
        Select(window, {1});
        ClickButton(window, IDC_MOVE_TOP);
        Select(window, {});  // the selection's colours would hide the row's own
        EXPECT_EQ(Rows(window)[0], (Row{0, L"off.G1O", L"2021-1-2", kMovedMark}));
        const auto [grey, dark] = GreyAndDarkInName(window, 0);
        EXPECT_GT(grey, 10);
        EXPECT_EQ(dark, 0);
        EXPECT_GT(GreyAndDarkInName(window, 1).second, 10);  // the enabled mod beside it
    });
}

TEST(LoadOrder, SmartSortWritesTheOrderShown)
{
    GameFolder game;
    WriteFileWithTime(game.Pak(L"W.pak"), Time(2021, 1, 1));
    WriteFileWithTime(game.Pak(L"X.pak"), Time(2021, 1, 2));
    WriteFileWithTime(game.Pak(L"Y.pak"), Time(2021, 1, 5));
    WriteFileWithTime(game.Pak(L"Z.pak"), Time(2021, 1, 6));
    WriteFileWithTime(game.Pak(L"Z.pak.MAN"), Time(2011, 1, 1));
    RunMainWindow(game.Program(), [&](HWND window) {
        Select(window, {3});
        ClickButton(window, IDC_MOVE_UP);
        ClickButton(window, IDC_MOVE_UP);
        EXPECT_EQ(Rows(window)[1], (Row{1, L"Z.pak", L"2021-1-6", kMovedMark}));

        // The game holds the mod open: its time is written all the same.
        HANDLE held = CreateFileW(game.Pak(L"Z.pak").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        ClickButton(window, IDOK);
        CloseHandle(held);

        EXPECT_EQ(Rows(window), (std::vector<Row>{{1, L"W.pak", L"2021-1-1", L""},
                                                  {1, L"Z.pak", L"2021-1-1", L""},
                                                  {1, L"X.pak", L"2021-1-2", L""},
                                                  {1, L"Y.pak", L"2021-1-5", L""}}));
        EXPECT_EQ(DiskTime(game.Pak(L"Z.pak")), Time(2021, 1, 1, 12));
        EXPECT_EQ(DiskTime(game.Pak(L"Z.pak.MAN")), Time(2021, 1, 1, 12));
        EXPECT_EQ(DiskTime(game.Pak(L"X.pak")), Time(2021, 1, 2));  // unmoved rows are not written
        EXPECT_EQ(Status(window), L"总共 4 个MOD");
    });
}

TEST(LoadOrder, SmartSortReportsTimesItCouldNotWrite)
{
    GameFolder game;
    WriteFileWithTime(game.Pak(L"a.pak"), Time(2021, 1, 1));
    WriteFileWithTime(game.Pak(L"b.pak"), Time(2021, 2, 1));
    WriteFileWithTime(game.Pak(L"c.pak"), Time(2021, 3, 1));
    RunMainWindow(game.Program(), [&](HWND window) {
        Select(window, {2});
        ClickButton(window, IDC_MOVE_TOP);
        ASSERT_TRUE(Fs().RemoveFile(game.Pak(L"c.pak")).ok());  // gone behind the program's back
        ClickButton(window, IDOK);
        EXPECT_EQ(Status(window), L"有 1 个文件的时间无法写入：c.pak：找不到该文件");
        EXPECT_EQ(Rows(window).size(), 2u);
    });
}

TEST(LoadOrder, SmartSortWithOneModKeepsTheWindowOpen)
{
    GameFolder game;
    WriteFileWithTime(game.Pak(L"only.pak"), Time(2010, 1, 1));
    RunMainWindow(game.Program(), [&](HWND window) {
        ClickButton(window, IDOK);
        Settle();
        EXPECT_TRUE(IsWindowVisible(window));
        EXPECT_EQ(DiskTime(game.Pak(L"only.pak")), Time(2010, 1, 1));
    });
}

// The date dialog on its own: what the caller gets back.
SYSTEMTIME RunDateDialog(SYSTEMTIME value, const std::function<void(HWND dialog)>& user, INT_PTR* result = nullptr)
{
    CModTimeDlg dialog(&value);
    const INT_PTR ended = RunDialog(dialog, [&] {
        HWND window = WaitForDialogTitled(L"");
        ASSERT_NE(window, nullptr);
        user(window);
    });
    if (result)
        *result = ended;
    return value;
}

bool SameTime(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
           a.wMinute == b.wMinute && a.wSecond == b.wSecond && a.wMilliseconds == b.wMilliseconds;
}

TEST(DateDialog, OkAndCancelGiveBackWhatTheyShould)
{
    const SYSTEMTIME given{2019, 5, 1, 6, 7, 8, 9, 123};
    INT_PTR result = 0;
    const SYSTEMTIME unchanged = RunDateDialog(given, [](HWND dialog) {
        EXPECT_EQ(WindowText(GetDlgItem(dialog, IDOK)), L"确定");
        EXPECT_EQ(WindowText(GetDlgItem(dialog, IDCANCEL)), L"取消");
        EXPECT_EQ(SendMessageW(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(IDCANCEL, DC_HASDEFID));
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    }, &result);
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(SameTime(unchanged, given));

    const SYSTEMTIME cancelled = RunDateDialog(given, [](HWND dialog) {
        SetPickerDate(dialog, 2030, 1, 2);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }, &result);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(SameTime(cancelled, given));

    const SYSTEMTIME picked = RunDateDialog(given, [](HWND dialog) {
        SetPickerDate(dialog, 2018, 12, 31);
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_TRUE(SameTime(picked, SYSTEMTIME{2018, 12, 1, 31, 7, 8, 9, 123}));  // the time of day stays
}

TEST(LoadOrder, SettingATimeByHand)
{
    GameFolder game;
    const mods::FileTime lateEvening = Time(2021, 7, 8, 23, 30, 15);
    WriteFileWithTime(game.Pak(L"a.pak"), lateEvening);
    WriteFileWithTime(game.Pak(L"a.pak.MAN"), Time(2011, 1, 1));
    WriteFileWithTime(game.Pak(L"b.pak"), Time(2022, 1, 1));
    RunMainWindow(game.Program(), [&](HWND window) {
        // The dialog opens on the mod's UTC date.
        Select(window, {0, 1});
        PostMessageW(window, WM_COMMAND, IDC_EDIT_TIME, 0);
        HWND dateDialog = WaitForDialogTitled(L"");
        ASSERT_NE(dateDialog, nullptr);
        EXPECT_EQ(GetWindow(dateDialog, GW_OWNER), window);
        SYSTEMTIME shown{};
        SendMessageW(GetDlgItem(dateDialog, IDC_MOD_DATE), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
        EXPECT_EQ(shown.wYear, 2021);
        EXPECT_EQ(shown.wMonth, 7);
        EXPECT_EQ(shown.wDay, 8);
        PostMessageW(dateDialog, WM_COMMAND, IDCANCEL, 0);
        Settle();
        EXPECT_EQ(DiskTime(game.Pak(L"a.pak")), lateEvening);
        EXPECT_EQ(Status(window), L"总共 2 个MOD");

        // 2019: written all the same, with the warning; the row shows the date on disk.
        PostMessageW(window, WM_COMMAND, IDC_EDIT_TIME, 0);
        PickDate(2019, 3, 4);
        Settle();
        EXPECT_EQ(DiskTime(game.Pak(L"a.pak")), Time(2019, 3, 4, 23, 30, 15));
        EXPECT_EQ(DiskTime(game.Pak(L"a.pak.MAN")), Time(2019, 3, 4, 23, 30, 15));
        EXPECT_EQ(Rows(window)[0], (Row{1, L"a.pak", L"2019-3-4", L""}));
        EXPECT_EQ(Status(window), L"你手动修改的Mod最后修改时间年小于2020年 ！");

        // 2020: no warning; the count takes its place.
        PostMessageW(window, WM_COMMAND, IDC_EDIT_TIME, 0);
        PickDate(2020, 1, 1);
        Settle();
        EXPECT_EQ(DiskTime(game.Pak(L"a.pak")), Time(2020, 1, 1, 23, 30, 15));
        EXPECT_EQ(Status(window), L"总共 2 个MOD");

        // The pak gone while the date is picked: the write fails and says why,
        // until a later write succeeds.
        PostMessageW(window, WM_COMMAND, IDC_EDIT_TIME, 0);
        ASSERT_NE(WaitForDialogTitled(L""), nullptr);
        ASSERT_TRUE(Fs().RemoveFile(game.Pak(L"a.pak")).ok());
        PickDate(2021, 1, 1);
        Settle();
        EXPECT_EQ(Status(window), L"有 1 个文件的时间无法写入：a.pak：找不到该文件");
        WriteFileWithTime(game.Pak(L"a.pak"), lateEvening);
        ASSERT_EQ(RowsOnceThereAre(window, 2).size(), 2u);  // the list follows the folder
        Select(window, {0});
        PostMessageW(window, WM_COMMAND, IDC_EDIT_TIME, 0);
        PickDate(2021, 1, 1);
        Settle();
        EXPECT_EQ(DiskTime(game.Pak(L"a.pak")), Time(2021, 1, 1, 23, 30, 15));
        EXPECT_EQ(Status(window), L"总共 2 个MOD");
    });
}

TEST(LoadOrder, OnlyADoubleClickOnADateOpensTheDialog)
{
    GameFolder game;
    WriteFileWithTime(game.Pak(L"a.pak"), Time(2021, 1, 1));
    WriteFileWithTime(game.Pak(L"b.pak"), Time(2022, 1, 1));
    RunMainWindow(game.Program(), [&](HWND window) {
        HWND list = GetDlgItem(window, IDC_MOD_LIST);
        auto doubleClick = [&](POINT p) {
            PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(p.x, p.y));
            PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
            Settle();
        };
        RECT name{}, date{}, check{};
        OnUiThread([&] {
            ModList(window)->GetCellRect(1, 0, &check);
            ModList(window)->GetCellRect(1, 1, &name);
            ModList(window)->GetCellRect(1, 2, &date);
        });
        doubleClick(POINT{(name.left + name.right) / 2, (name.top + name.bottom) / 2});
        EXPECT_EQ(WaitForDialogTitled(L"", 300), nullptr);
        doubleClick(POINT{check.right - 6, (check.top + check.bottom) / 2});
        EXPECT_EQ(WaitForDialogTitled(L"", 300), nullptr);
        doubleClick(POINT{(date.left + date.right) / 2, date.bottom + 40});  // below the last row
        EXPECT_EQ(WaitForDialogTitled(L"", 300), nullptr);

        doubleClick(POINT{(date.left + date.right) / 2, (date.top + date.bottom) / 2});
        HWND dateDialog = WaitForDialogTitled(L"");
        ASSERT_NE(dateDialog, nullptr);
        PostMessageW(dateDialog, WM_COMMAND, IDCANCEL, 0);
    });
}

TEST(LoadOrder, TheTimeButtonWithoutASelectionDoesNothing)
{
    GameFolder game;
    WriteFileWithTime(game.Pak(L"a.pak"), Time(2021, 1, 1));
    RunMainWindow(game.Program(), [&](HWND window) {
        ClickButton(window, IDC_EDIT_TIME);
        EXPECT_EQ(WaitForDialogTitled(L"", 300), nullptr);
    });
}

}  // namespace
