// Dragging rows inside the real main window with the real mouse: the
// insertion mark, the move it makes, the list scrolling near its edge, and
// Esc cancelling.

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "gui/MainWindowFixture.h"
#include "res/resource.h"

using namespace testing_files;
using namespace gui;

namespace {

// Sixty mods, m00 to m59, loaded in that order.
struct SixtyMods : GameFolder {
    SixtyMods()
    {
        for (int i = 0; i < 60; ++i) {
            wchar_t name[16];
            swprintf(name, 16, L"m%02d.pak", i);
            WriteFileWithTime(Pak(name), Time(2021, 1, 1) + static_cast<mods::FileTime>(i) * 600 * 10000000);
        }
    }
};

void MouseInput(DWORD flags, POINT screen = {})
{
    INPUT input{INPUT_MOUSE, {}};
    input.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        input.mi.dx = static_cast<LONG>(screen.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1));
        input.mi.dy = static_cast<LONG>(screen.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1));
    }
    SendInput(1, &input, sizeof input);
    Sleep(30);
}

void MoveMouse(POINT screen) { MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, screen); }

// A point in the name cell of a row: in its upper part, so rows dropped
// there land before it.
POINT RowPoint(HWND window, int row)
{
    POINT point = CellPoint(window, row, 1);
    RECT cell{};
    OnUiThread([&] { ModList(window)->GetCellRect(row, 1, &cell); });
    point.y = cell.top + 2;
    ClientToScreen(GetDlgItem(window, IDC_MOD_LIST), &point);
    return point;
}

// Presses on the row and moves a little, past the distance that starts a drag.
void StartDrag(HWND window, int row)
{
    PressKeys(window, {});  // the window in the foreground
    POINT from = CellPoint(window, row, 1);
    ClientToScreen(GetDlgItem(window, IDC_MOD_LIST), &from);
    MoveMouse(from);
    MouseInput(MOUSEEVENTF_LEFTDOWN);
    for (int step = 1; step <= 4; ++step)
        MoveMouse(POINT{from.x, from.y + step * 3});
}

// The colour drawn on the boundary above the row (or below the last row).
COLORREF BoundaryColour(HWND window, int row)
{
    HWND list = GetDlgItem(window, IDC_MOD_LIST);
    RECT item{};
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    item.left = LVIR_BOUNDS;
    SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row < count ? row : count - 1), reinterpret_cast<LPARAM>(&item));
    const int y = row < count ? item.top : item.bottom;
    Settle();  // the paint first
    HDC dc = GetDC(list);
    const COLORREF colour = GetPixel(dc, 200, y);
    ReleaseDC(list, dc);
    return colour;
}

std::wstring NameAt(HWND window, int row) { return Rows(window)[static_cast<std::size_t>(row)].name; }

TEST(RowDrag, ReleasingMovesTheSelectionWhereTheMarkShows)
{
    SixtyMods game;
    RunMainWindow(game.Program(), [&](HWND window) {
        Select(window, {1, 2});
        StartDrag(window, 1);
        MoveMouse(RowPoint(window, 6));
        const COLORREF mark = GetSysColor(COLOR_WINDOWTEXT);
        EXPECT_EQ(BoundaryColour(window, 6), mark);  // the line above m06
        EXPECT_NE(BoundaryColour(window, 9), mark);
        MouseInput(MOUSEEVENTF_LEFTUP);
        Settle();
        // m01 and m02 now before m06, marked and still selected; the mark gone.
        EXPECT_EQ(NameAt(window, 3), L"m05.pak");
        EXPECT_EQ(NameAt(window, 4), L"m01.pak");
        EXPECT_EQ(NameAt(window, 5), L"m02.pak");
        EXPECT_EQ(Rows(window)[4].mark, kMovedMark);
        EXPECT_EQ(SelectedRows(window), (std::vector<int>{4, 5}));
        EXPECT_NE(BoundaryColour(window, 6), mark);  // gone

        // One move command: Ctrl+Z takes it back.
        FocusList(window);
        PressKeys(window, {VK_CONTROL, 'Z'});
        for (int i = 0; i < 200 && NameAt(window, 1) != L"m01.pak"; ++i)
            Sleep(25);
        EXPECT_EQ(NameAt(window, 1), L"m01.pak");
        EXPECT_EQ(Rows(window)[1].mark, L"");
    });
}

TEST(RowDrag, TheListScrollsNearItsEdgeAndEscCancels)
{
    SixtyMods game;
    RunMainWindow(game.Program(), [&](HWND window) {
        HWND list = GetDlgItem(window, IDC_MOD_LIST);
        const int perPage = static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
        ASSERT_LT(perPage, 50);
        // A drag held at the bottom edge scrolls the list; the release lands below the first page.
        Select(window, {0});
        StartDrag(window, 0);
        RECT client{};
        GetClientRect(list, &client);
        POINT edge{client.right / 2, client.bottom - 3};
        ClientToScreen(list, &edge);
        MoveMouse(edge);
        int top = 0;
        for (int i = 0; i < 100 && (top = static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0))) < 10; ++i)
            Sleep(30);
        EXPECT_GE(top, 10);
        MouseInput(MOUSEEVENTF_LEFTUP);
        Settle();
        const std::vector<int> moved = SelectedRows(window);
        ASSERT_EQ(moved.size(), 1u);
        EXPECT_GT(moved[0], perPage);
        EXPECT_EQ(NameAt(window, moved[0]), L"m00.pak");

        // Esc in the middle of a drag: nothing moves.
        const std::vector<Row> before = Rows(window);
        SendMessageW(list, LVM_ENSUREVISIBLE, 0, FALSE);
        Select(window, {3});
        StartDrag(window, 3);
        MoveMouse(RowPoint(window, 8));
        PressKeys(window, {VK_ESCAPE});
        MouseInput(MOUSEEVENTF_LEFTUP);
        Settle();
        EXPECT_EQ(Rows(window), before);
        EXPECT_NE(BoundaryColour(window, 8), GetSysColor(COLOR_WINDOWTEXT));
        EXPECT_EQ(WaitForMessageBox(L"请确认", 300).window, nullptr);  // Esc did not close the window either
    });
}

}  // namespace
