// The list control's item model on a real list view, inside a dialog that
// records what reaches it.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "gui/ListDialog.h"

using gui::ListDialog;

namespace {

TEST(ExtListCtrl, RowsCellsAndRanges)
{
    ListDialog dialog;
    gui::RunDialog(dialog, [&] {
        ASSERT_NE(gui::WaitForDialog(L"zave2"), nullptr);
        gui::OnUiThread([&] {
            CExtListCtrl& list = dialog.list;
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
    });
}

TEST(ExtListCtrl, ColumnZeroEndsWhereTheNextVisibleColumnStarts)
{
    ListDialog dialog;
    gui::RunDialog(dialog, [&] {
        ASSERT_NE(gui::WaitForDialog(L"zave2"), nullptr);
        gui::OnUiThread([&] {
            CExtListCtrl& list = dialog.list;
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
    });
}

TEST(ExtListCtrl, CustomDrawStaysInTheListAndOtherNotificationsReachTheParent)
{
    ListDialog dialog;
    gui::RunDialog(dialog, [&] {
        HWND window = gui::WaitForDialog(L"zave2");
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

}  // namespace
