// The list control's item model on a real list view, inside a dialog that
// records what reaches it.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "gui/ListDialog.h"

using gui::ListDialog;

namespace {

// The main window's template, as ListDialog loads it.
const std::wstring kCaption = L"PakOrder          (Ctrl";

// Runs `body` on the dialog's thread with its list, once the dialog shows.
void OnShownList(const std::function<void(CExtListCtrl&)>& body)
{
    ListDialog dialog;
    gui::RunDialog(dialog, [&] {
        ASSERT_NE(gui::WaitForDialog(kCaption), nullptr);
        gui::OnUiThread([&] { body(dialog.list); });
    });
}

TEST(ExtListCtrl, RowsCellsAndRanges)
{
    OnShownList([](CExtListCtrl& list) {
        EXPECT_EQ(list.GetColumnCount(), 3);
        EXPECT_EQ(list.InsertItem(-1, L"x"), -1);
        EXPECT_EQ(list.GetItemCount(), 0);

        EXPECT_EQ(list.InsertItem(0, L"first"), 0);
        EXPECT_EQ(list.InsertItem(0, L"second"), 0);
        EXPECT_EQ(list.InsertItem(5, L"third"), 2);  // past the end: appended
        EXPECT_EQ(list.GetItemText(0, 0), L"second");

        EXPECT_EQ(list.GetCellCheck(0, 0), -1);  // no check box yet
        EXPECT_TRUE(list.SetCellCheck(0, 0, 0));
        EXPECT_EQ(list.GetCellCheck(0, 0), 0);
        EXPECT_TRUE(list.SetCellCheck(1, 2, 1));
        EXPECT_EQ(list.GetCellCheck(1, 2), 1);

        // Out of range: nothing changes.
        EXPECT_FALSE(list.SetCellCheck(3, 0, 1));
        EXPECT_FALSE(list.SetCellCheck(0, 3, 1));
        EXPECT_FALSE(list.SetCellCheck(-1, 0, 1));
        EXPECT_EQ(list.GetCellCheck(3, 0), -1);
        EXPECT_EQ(list.GetCellCheck(0, -1), -1);
        EXPECT_FALSE(list.SetItemText(3, 1, L"no"));
        EXPECT_FALSE(list.SetItemText(0, 3, L"no"));
        EXPECT_TRUE(list.SetItemText(0, 1, L"name"));
        EXPECT_EQ(list.GetItemText(0, 1), L"name");
        EXPECT_FALSE(list.DeleteItem(3));
        RECT untouched{1, 2, 3, 4};
        EXPECT_FALSE(list.GetCellRect(0, 3, &untouched));
        EXPECT_EQ(untouched.left, 1);

        // A column added later has no cell in the rows inserted before it.
        list.InsertColumn(3, L"D", LVCFMT_LEFT, 50);
        EXPECT_EQ(list.GetColumnCount(), 4);
        EXPECT_FALSE(list.SetCellCheck(0, 3, 1));
        EXPECT_EQ(list.GetCellCheck(0, 3), -1);
        list.SetCellColors(0, 3, RGB(1, 2, 3), RGB(4, 5, 6));  // ignored, and no crash
        EXPECT_EQ(list.InsertItem(0, L"new"), 0);
        EXPECT_TRUE(list.SetCellCheck(0, 3, 1));

        // A row inserted by the list view itself has no cells.
        LVITEMW plain{};
        plain.mask = LVIF_TEXT;
        plain.iItem = 0;
        plain.pszText = const_cast<wchar_t*>(L"plain");
        EXPECT_EQ(list.fw::CListViewCtrl::InsertItem(plain), 0);
        EXPECT_FALSE(list.SetCellCheck(0, 0, 1));
        EXPECT_EQ(list.GetCellCheck(0, 0), -1);

        EXPECT_TRUE(list.DeleteItem(1));
        EXPECT_EQ(list.GetItemCount(), 4);
        EXPECT_EQ(list.GetCellCheck(2, 2), 1);  // "first" moved up, keeping its cells
        EXPECT_TRUE(list.DeleteAllItems());
        EXPECT_EQ(list.GetItemCount(), 0);
    });
}

TEST(ExtListCtrl, InsertRowPutsInItsCellsAndTextsAtOnce)
{
    OnShownList([](CExtListCtrl& list) {
        EXPECT_EQ(list.InsertRow(-1, list.NewRowCells(), {L"x"}), -1);
        std::vector<ListCellData> cells = list.NewRowCells();
        ASSERT_EQ(cells.size(), 3u);
        cells[0].checkState = 1;
        cells.pop_back();  // a short array gets the missing cells
        EXPECT_EQ(list.InsertRow(0, cells, {L"a", L"b", L"c", L"no such column"}), 0);
        EXPECT_EQ(list.GetItemCount(), 1);
        EXPECT_EQ(list.GetItemText(0, 0), L"a");
        EXPECT_EQ(list.GetItemText(0, 1), L"b");
        EXPECT_EQ(list.GetItemText(0, 2), L"c");
        EXPECT_EQ(list.GetCellCheck(0, 0), 1);
        EXPECT_TRUE(list.SetCellCheck(0, 2, 0));
    });
}

TEST(ExtListCtrl, MoveRowsCarriesCellsTextsAndStatesOrRefuses)
{
    OnShownList([](CExtListCtrl& list) {
        const auto order = [&] {
            std::wstring texts;
            for (int row = 0; row < list.GetItemCount(); ++row)
                texts += list.GetItemText(row, 1) + std::to_wstring(list.GetCellCheck(row, 0));
            return texts;
        };
        for (int row = 0; row < 6; ++row) {
            std::vector<ListCellData> cells = list.NewRowCells();
            cells[0].checkState = row % 2;
            list.InsertRow(row, cells, {L"", std::wstring(1, static_cast<wchar_t>(L'a' + row))});
        }
        list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
        list.SetItemState(4, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);

        EXPECT_TRUE(list.MoveRows({1, 4}, 3));
        EXPECT_EQ(order(), L"a0c0d1b1e0f1");
        EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 3);
        EXPECT_EQ(list.GetNextItem(3, LVNI_SELECTED), 4);
        EXPECT_EQ(list.GetNextItem(4, LVNI_SELECTED), -1);
        EXPECT_EQ(list.GetNextItem(-1, LVNI_FOCUSED), 4);

        // Refused, with nothing moved: no rows, a target past the end,
        // rows out of order or range, a row without cells.
        for (const auto& [rows, target] : std::vector<std::pair<std::vector<int>, int>>{
                 {{}, 0}, {{0, 1}, 5}, {{0}, -1}, {{3, 1}, 0}, {{2, 2}, 0}, {{6}, 0}}) {
            EXPECT_FALSE(list.MoveRows(rows, target));
            EXPECT_EQ(order(), L"a0c0d1b1e0f1");
        }
        LVITEMW plain{};
        plain.mask = LVIF_TEXT;
        plain.iItem = 6;
        plain.pszText = const_cast<wchar_t*>(L"");
        ASSERT_EQ(list.fw::CListViewCtrl::InsertItem(plain), 6);
        EXPECT_FALSE(list.MoveRows({0}, 1));
        EXPECT_EQ(order(), L"a0c0d1b1e0f1-1");
    });
}

TEST(ExtListCtrl, ColumnZeroEndsWhereTheNextVisibleColumnStarts)
{
    OnShownList([](CExtListCtrl& list) {
        ASSERT_EQ(list.InsertItem(0, L""), 0);
        RECT cell0{}, cell1{}, cell2{};
        ASSERT_TRUE(list.GetCellRect(0, 0, &cell0));
        ASSERT_TRUE(list.GetCellRect(0, 1, &cell1));
        EXPECT_EQ(cell0.right, cell1.left);
        EXPECT_EQ(cell0.right - cell0.left, 42);

        ListView_SetColumnWidth(list.GetSafeHwnd(), 1, 0);
        ASSERT_TRUE(list.GetCellRect(0, 0, &cell0));
        ASSERT_TRUE(list.GetCellRect(0, 2, &cell2));
        EXPECT_EQ(cell0.right, cell2.left);
    });
}

TEST(ExtListCtrl, CustomDrawStaysInTheListAndOtherNotificationsReachTheParent)
{
    ListDialog dialog;
    gui::RunDialog(dialog, [&] {
        HWND window = gui::WaitForDialog(kCaption);
        ASSERT_NE(window, nullptr);
        RECT row{};
        gui::OnUiThread([&] {
            CExtListCtrl& list = dialog.list;
            for (int i = 0; i < 3; ++i) {
                list.InsertItem(i, L"");
                list.SetCellCheck(i, 0, i % 2);
                list.SetItemText(i, 1, L"row " + std::to_wstring(i));
            }
            dialog.notifications.clear();
            RedrawWindow(list.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            list.GetCellRect(1, 1, &row);
        });
        const LPARAM point = MAKELPARAM((row.left + row.right) / 2, (row.top + row.bottom) / 2);
        HWND list = GetDlgItem(window, IDC_MOD_LIST);
        SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
        SendMessageW(list, WM_LBUTTONUP, 0, point);
        gui::OnUiThread([&] {
            const auto& seen = dialog.notifications;
            EXPECT_EQ(std::count(seen.begin(), seen.end(), static_cast<UINT>(NM_CUSTOMDRAW)), 0);
            EXPECT_EQ(std::count(seen.begin(), seen.end(), static_cast<UINT>(NM_DBLCLK)), 1);
        });
    });
}

// Fills the list with rows that each have a check box and a name.
void FillRows(CExtListCtrl& list, int count)
{
    for (int i = 0; i < count; ++i) {
        list.InsertItem(i, L"");
        list.SetCellCheck(i, 0, 1);
        list.SetItemText(i, 1, L"row " + std::to_wstring(i));
    }
}

POINT NamePoint(CExtListCtrl& list, int row)
{
    RECT name{};
    list.GetCellRect(row, 1, &name);
    return POINT{(name.left + name.right) / 2, (name.top + name.bottom) / 2};
}

int g_menuCalls[3] = {};
int g_menuRow = -1;
void FirstCommand(int row) { ++g_menuCalls[1]; g_menuRow = row; }
void SecondCommand(int row) { ++g_menuCalls[2]; g_menuRow = row; }

TEST(ExtListCtrl, ContextMenuKeepsItsSecondItemAndCallsBack)
{
    ListDialog dialog;
    RunDialog(dialog, [&] {
        ASSERT_NE(gui::WaitForDialog(kCaption), nullptr);
        POINT press{};
        gui::OnUiThread([&] {
            FillRows(dialog.list, 3);
            dialog.list.SetContextMenu(L"one", FirstCommand, L"two", SecondCommand);
            dialog.list.SetContextMenu(L"uno", FirstCommand, nullptr, nullptr);  // keeps "two"
            press = NamePoint(dialog.list, 2);
            dialog.notifications.clear();
        });
        g_menuCalls[1] = g_menuCalls[2] = 0;
        gui::PostClick(dialog.list.GetSafeHwnd(), press, true);
        HWND menu = gui::WaitForPopupMenu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(gui::MenuItems(menu), (std::vector<std::wstring>{L"uno", L"two"}));
        gui::ChooseMenuItem(menu, 1);
        gui::Settle();
        EXPECT_EQ(g_menuCalls[1], 0);
        EXPECT_EQ(g_menuCalls[2], 1);
        EXPECT_EQ(g_menuRow, 2);
        gui::OnUiThread([&] {
            // The list view handled the press once: one right-click notification, the row selected.
            const auto& seen = dialog.notifications;
            EXPECT_EQ(std::count(seen.begin(), seen.end(), static_cast<UINT>(NM_RCLICK)), 1);
            EXPECT_NE(dialog.list.GetItemState(2, LVIS_SELECTED), 0u);
        });
    });
}

TEST(ExtListCtrl, NoMenuWithoutAFirstText)
{
    ListDialog dialog;
    RunDialog(dialog, [&] {
        ASSERT_NE(gui::WaitForDialog(kCaption), nullptr);
        POINT press{};
        gui::OnUiThread([&] {
            FillRows(dialog.list, 2);
            dialog.list.SetContextMenu(L"", FirstCommand, L"second", SecondCommand);
            press = NamePoint(dialog.list, 0);
        });
        gui::PostClick(dialog.list.GetSafeHwnd(), press, true);
        gui::Settle();
        EXPECT_EQ(gui::WaitForPopupMenu(300), nullptr);
    });
}

TEST(ExtListCtrl, KeysKeepTheFocusedRowInViewAndShiftStillExtends)
{
    ListDialog dialog;
    RunDialog(dialog, [&] {
        ASSERT_NE(gui::WaitForDialog(kCaption), nullptr);
        gui::OnUiThread([&] {
            CExtListCtrl& list = dialog.list;
            FillRows(list, 60);
            SetFocus(list.GetSafeHwnd());
            list.SelectItem(0, TRUE);
            list.SetSelectionMark(0);

            // Shift with Down extends the selection instead of moving it.
            BYTE keys[256] = {};
            GetKeyboardState(keys);
            keys[VK_SHIFT] = 0x80;
            SetKeyboardState(keys);
            list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
            list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
            keys[VK_SHIFT] = 0;
            SetKeyboardState(keys);
            EXPECT_NE(list.GetItemState(0, LVIS_SELECTED), 0u);
            EXPECT_NE(list.GetItemState(1, LVIS_SELECTED), 0u);
            EXPECT_NE(list.GetItemState(2, LVIS_SELECTED | LVIS_FOCUSED), 0u);
            EXPECT_EQ(list.GetItemState(3, LVIS_SELECTED), 0u);

            // End, then Down on the last row: it stays selected, focused and in view.
            list.SendMessage(WM_KEYDOWN, VK_END, 0);
            list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
            EXPECT_EQ(list.GetItemState(59, LVIS_SELECTED | LVIS_FOCUSED), static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));
            EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 59);
            const int top = list.GetTopIndex();
            EXPECT_LE(top, 59);
            EXPECT_GT(top + list.GetCountPerPage(), 59);
        });
    });
}

TEST(ExtListCtrl, ADoubleClickOnAHeaderDividerIsOnlyAPress)
{
    ListDialog dialog;
    RunDialog(dialog, [&] {
        ASSERT_NE(gui::WaitForDialog(kCaption), nullptr);
        HWND header = nullptr;
        RECT first{};
        gui::OnUiThread([&] {
            FillRows(dialog.list, 2);
            header = dialog.list.GetHeader();
            Header_GetItemRect(header, 0, &first);
        });
        // On the divider after column 0, whose width (42) differs from what would fit its contents.
        const LPARAM divider = MAKELPARAM(first.right - 1, (first.top + first.bottom) / 2);
        PostMessageW(header, WM_LBUTTONDBLCLK, MK_LBUTTON, divider);
        PostMessageW(header, WM_LBUTTONUP, 0, divider);
        gui::Settle();
        gui::OnUiThread([&] {
            ReleaseCapture();
            EXPECT_EQ(dialog.list.GetColumnWidth(0), 42);
            const auto& seen = dialog.notifications;
            EXPECT_EQ(std::count(seen.begin(), seen.end(), static_cast<UINT>(HDN_DIVIDERDBLCLICKW)), 0);
        });
    });
}

}  // namespace
