// The windows at the DPI the tests run at: lengths given at 96 DPI grow with
// it and no text is cut. These tests run at 96 DPI with the others, and
// again at 120, 144 and 192 DPI in a Wine prefix of their own
// (tools/wine-dpi-run.sh sets PAKORDER_DPI for them).

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string>

#include "app/ModTimeDlg.h"
#include "base/UniqueHandle.h"
#include "framework/DpiScale.h"
#include "gui/ListDialog.h"
#include "gui/MainWindowFixture.h"
#include "unit/ManifestBytes.h"
#include "res/resource.h"

using namespace testing_files;
using namespace gui;

namespace {

constexpr COLORREF kMarkColor = RGB(0x33, 0x99, 0x33);

// The DPI this run was started at.
UINT RunDpi()
{
    const char* dpi = std::getenv("PAKORDER_DPI");
    return dpi && *dpi ? static_cast<UINT>(std::atoi(dpi)) : fw::kDefaultDpi;
}

// A length at 96 DPI, at `dpi`, before rounding.
double At(UINT dpi, int pixelsAt96) { return pixelsAt96 * static_cast<double>(dpi) / fw::kDefaultDpi; }

// The width of a single line of text in the window's font.
int TextWidth(HWND window, const std::wstring& text)
{
    fw::WindowDc dc(window);
    fw::SelectObjectScope font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

std::wstring HeaderText(HWND header, int item)
{
    wchar_t text[80] = {};
    HDITEMW hd{};
    hd.mask = HDI_TEXT;
    hd.pszText = text;
    hd.cchTextMax = 80;
    Header_GetItem(header, item, &hd);
    return text;
}

// The first `columns` captions of the list's header fit their columns with
// `inset` pixels free on each side.
void ExpectWholeHeader(HWND list, int columns, int inset, const char* where)
{
    HWND header = ListView_GetHeader(list);
    for (int column = 0; column < columns; ++column) {
        const std::wstring caption = HeaderText(header, column);
        EXPECT_LE(TextWidth(header, caption) + 2 * inset, ListView_GetColumnWidth(list, column))
            << where << ": column " << column << " cuts its caption";
    }
}

struct PixelBox {
    RECT box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};  // relative to the area searched
    int count = 0;
};

// Where the pixels of one colour are in an area of the window.
PixelBox FindColour(HWND window, const RECT& area, COLORREF colour)
{
    fw::WindowDc dc(window);
    PixelBox found;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (GetPixel(dc.get(), x, y) != colour)
                continue;
            ++found.count;
            found.box.left = std::min<LONG>(found.box.left, x - area.left);
            found.box.top = std::min<LONG>(found.box.top, y - area.top);
            found.box.right = std::max<LONG>(found.box.right, x - area.left + 1);
            found.box.bottom = std::max<LONG>(found.box.bottom, y - area.top + 1);
        }
    }
    return found;
}

// The check mark of a centred box in a check cell 42 pixels wide, in a row
// 33 pixels high (the image list's 32 and the grid line), covers 31 pixels at
// 96 DPI, from (17, 11) to (26, 22) in the cell; at another DPI the same
// figure grows with it.
void ExpectCheckMark(HWND list, const RECT& cell, UINT dpi)
{
    const PixelBox mark = FindColour(list, cell, kMarkColor);
    EXPECT_NEAR(mark.box.left, At(dpi, 17), 1.0);
    EXPECT_NEAR(mark.box.top, At(dpi, 11), 1.0);
    EXPECT_NEAR(mark.box.right, At(dpi, 26), 1.0);
    EXPECT_NEAR(mark.box.bottom, At(dpi, 22), 1.0);
    const double area = 31 * At(dpi, 1) * At(dpi, 1);
    EXPECT_NEAR(mark.count, area, area * 0.15) << "a solid mark, as thick as it is large";
}

RECT CellRect(CExtListCtrl& list, int row, int column)
{
    RECT cell{};
    EXPECT_TRUE(list.GetCellRect(row, column, &cell));
    return cell;
}

// The game's folder with the widest date there is, and a disabled mod.
struct DatedMods : GameFolder {
    DatedMods()
    {
        WriteFileWithTime(Pak(L"年末.pak"), Time(2023, 12, 31));
        WriteFileWithTime(Pak(L"off.G1O"), Time(2016, 1, 1));
    }
};

TEST(Scaling, TheMainWindowsListAtTheRunsDpi)
{
    DatedMods game;
    RunMainWindow(game.Program(), [&](HWND window) {
        OnUiThread([&] {
            const UINT dpi = RunDpi();
            ASSERT_EQ(fw::WindowDpi(window), dpi) << "the run is not at the DPI it was started for";
            CExtListCtrl& list = *ModList(window);
            list.UpdateWindow();

            const int widths[] = {42, 380, 90, 1};
            for (int column = 0; column < 4; ++column)
                EXPECT_NEAR(list.GetColumnWidth(column), At(dpi, widths[column]), 1.0) << "column " << column;
            const RECT on = CellRect(list, 1, 0), off = CellRect(list, 0, 0);
            EXPECT_NEAR(on.bottom - on.top, At(dpi, 33), 1.0) << "row height";

            ExpectWholeHeader(list, 3, static_cast<int>(At(dpi, 6) + 0.5), "main window");  // not the hidden mark column
            ASSERT_EQ(list.GetItemText(1, 2), L"2023-12-31");
            EXPECT_LE(TextWidth(list, L"2023-12-31") + 2 * static_cast<int>(At(dpi, 5) + 0.5), list.GetColumnWidth(2))
                << "the date is cut";
            HWND status = GetDlgItem(window, IDC_STATUS);
            RECT line{};
            GetClientRect(status, &line);
            EXPECT_LE(TextWidth(status, WindowText(status)), line.right) << "the status line is cut";

            ExpectCheckMark(list, on, dpi);
            EXPECT_EQ(FindColour(list, off, kMarkColor).count, 0);
        });
    });
}

TEST(Scaling, AMoveToAMonitorOfAnotherDpiScalesTheListWithIt)
{
    DatedMods game;
    RunMainWindow(game.Program(), [&](HWND window) {
        OnUiThread([&] {
            CExtListCtrl& list = *ModList(window);
            const UINT dpi = fw::WindowDpi(window), twice = 2 * dpi;
            ListView_SetColumnWidth(list, 1, 300);  // as the user left it
            std::vector<int> before;
            for (int column = 0; column < 4; ++column)
                before.push_back(list.GetColumnWidth(column));
            const int rowHeight = CellRect(list, 0, 0).bottom - CellRect(list, 0, 0).top;

            RECT window96{};
            GetWindowRect(window, &window96);
            const RECT suggested{10, 20, 10 + 2 * (window96.right - window96.left), 20 + 2 * (window96.bottom - window96.top)};
            SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(twice, twice), reinterpret_cast<LPARAM>(&suggested));
            RECT moved{};
            GetWindowRect(window, &moved);
            EXPECT_TRUE(EqualRect(&moved, &suggested)) << "the window takes the rectangle the system suggests";
            for (int column = 0; column < 4; ++column)
                EXPECT_EQ(list.GetColumnWidth(column), 2 * before[static_cast<std::size_t>(column)]) << "column " << column;
            const RECT on = CellRect(list, 1, 0);
            EXPECT_NEAR(on.bottom - on.top, 2 * rowHeight, 1.0);
            list.UpdateWindow();
            ExpectCheckMark(list, on, twice);

            SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&window96));
            for (int column = 0; column < 4; ++column)
                EXPECT_EQ(list.GetColumnWidth(column), before[static_cast<std::size_t>(column)]) << "column " << column;
            EXPECT_EQ(CellRect(list, 0, 0).bottom - CellRect(list, 0, 0).top, rowHeight);
        });
    });
}

// The height of the text under the list's header.
int EmptyListTextHeight(CExtListCtrl& list)
{
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT header{}, client{};
    GetWindowRect(list.GetHeader(), &header);
    GetClientRect(list, &client);
    const RECT below{0, header.bottom - header.top, client.right, std::min<LONG>(client.bottom, 400)};
    fw::WindowDc dc(list);
    const COLORREF paper = GetSysColor(COLOR_WINDOW);
    int top = INT_MAX, bottom = INT_MIN;
    for (int y = below.top; y < below.bottom; ++y) {
        for (int x = below.left; x < below.right; x += 2) {
            const COLORREF c = GetPixel(dc.get(), x, y);
            if (c != CLR_INVALID && c != paper) {
                top = std::min(top, y);
                bottom = std::max(bottom, y + 1);
                break;
            }
        }
    }
    return bottom - top;
}

// An overriding mod's mark, a triangle 12 pixels wide and 10 high at 96 DPI,
// 6 from its cell's left, grows with the DPI; on the selection it takes the
// selection's text colour.
TEST(Scaling, TheConflictMarksAtTheRunsDpi)
{
    GameFolder game;
    for (const auto& [name, crc] : {std::pair{L"a.pak", 1u}, std::pair{L"b.pak", 2u}}) {
        WriteFileWithTime(game.Pak(name), Time(2021, 1, static_cast<int>(crc)));
        const std::vector<unsigned char> bytes = ManifestBytes({{u"MEDIA/", {{u"X.DAT", crc}}}});
        WriteFile(game.Pak(std::wstring(name) + L".MAN"), std::string(bytes.begin(), bytes.end()));
    }
    constexpr COLORREF kOverridesColor = RGB(0, 128, 0);
    RunMainWindow(game.Program(), [&](HWND window, CModManagerDlg& dialog) {
        bool known = false;
        for (int i = 0; i < 400 && !known; ++i) {
            OnUiThread([&] { known = dialog.ConflictsKnown(); });
            Sleep(known ? 0 : 25);
        }
        ASSERT_TRUE(known);
        OnUiThread([&] {
            const UINT dpi = RunDpi();
            CExtListCtrl& list = *ModList(window);
            list.UpdateWindow();
            EXPECT_NEAR(list.GetColumnWidth(ModListView::kColumnConflicts), At(dpi, 44), 1.0);
            const RECT cell = CellRect(list, 1, ModListView::kColumnConflicts);
            const PixelBox mark = FindColour(list, cell, kOverridesColor);
            EXPECT_NEAR(mark.box.left, At(dpi, 6), 1.0);
            EXPECT_NEAR(mark.box.right - mark.box.left, At(dpi, 12) + 1, 1.0);
            EXPECT_NEAR(mark.box.bottom - mark.box.top, At(dpi, 10) + 1, 1.0);
            const double area = 60 * At(dpi, 1) * At(dpi, 1);  // half of its box, the pen's edge aside
            EXPECT_NEAR(mark.count, area, area * 0.35) << "a solid triangle";

            ::SetFocus(list);
            list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            list.UpdateWindow();
            EXPECT_EQ(FindColour(list, cell, kOverridesColor).count, 0);
            const PixelBox selected = FindColour(list, cell, GetSysColor(COLOR_HIGHLIGHTTEXT));
            EXPECT_EQ(selected.box.left, mark.box.left);
            EXPECT_EQ(selected.count, mark.count);
        });
    });
}

TEST(Scaling, TheEmptyListsMessageOnAMonitorOfAnotherDpi)
{
    ListDialog dialog;
    RunDialog(dialog, [&] {
        ASSERT_NE(WaitForDialog(kCaptionStart), nullptr);
        OnUiThread([&] {
            const int atTheSystemsDpi = EmptyListTextHeight(dialog.list);
            ASSERT_GT(atTheSystemsDpi, 5);
            dialog.list.SetDpi(2 * fw::WindowDpi(dialog.window));
            EXPECT_NEAR(EmptyListTextHeight(dialog.list), 2 * atTheSystemsDpi, 3);
        });
    });
}

TEST(Scaling, TheDateDialogShowsTheWholeDate)
{
    SYSTEMTIME value{2023, 12, 0, 31, 12, 0, 0, 0};
    CModTimeDlg dialog(&value);
    RunDialog(dialog, [&] {
        HWND window = WaitForDialogTitled(L"");
        ASSERT_NE(window, nullptr);
        OnUiThread([&] {
            ASSERT_EQ(fw::WindowDpi(window), RunDpi());
            HWND picker = GetDlgItem(window, IDC_MOD_DATE);
            wchar_t shown[64] = {};
            ASSERT_GT(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &value, nullptr, shown, 64), 0);
            RECT client{};
            GetClientRect(picker, &client);
            // The picker shows the short date left of its drop-down button.
            EXPECT_LE(TextWidth(window, shown) + GetSystemMetrics(SM_CXVSCROLL), client.right) << "the date is cut";
        });
    });
}

TEST(Scaling, TheConflictReportAndTheHistoryAtTheRunsDpi)
{
    DatedMods game;
    RunMainWindow(game.Program(), [&](HWND window) {
        const UINT dpi = RunDpi();
        PostMessageW(GetDlgItem(window, IDC_CONFLICT_CHECK), BM_CLICK, 0, 0);
        HWND report = WaitForDialogTitled(L"冲突检测");
        ASSERT_NE(report, nullptr);
        OnUiThread([&] {
            HWND list = GetDlgItem(report, IDC_CONFLICT_LIST);
            const int widths[] = {290, 150, 200, 80};
            for (int column = 0; column < 4; ++column)
                EXPECT_NEAR(ListView_GetColumnWidth(list, column), At(dpi, widths[column]), 1.0) << "report column " << column;
            ExpectWholeHeader(list, 4, 0, "conflict report");
        });
        PostMessageW(report, WM_COMMAND, IDCANCEL, 0);

        PostMessageW(window, WM_SYSCOMMAND, 0x0030, 0);
        HWND history = WaitForDialogTitled(L"更改历史");
        ASSERT_NE(history, nullptr);
        OnUiThread([&] {
            HWND list = GetDlgItem(history, IDC_HISTORY_LIST);
            const int widths[] = {130, 90, 90, 260};
            for (int column = 0; column < 4; ++column)
                EXPECT_NEAR(ListView_GetColumnWidth(list, column), At(dpi, widths[column]), 1.0) << "history column " << column;
            ExpectWholeHeader(list, 4, 0, "history");
        });
        PostMessageW(history, WM_COMMAND, IDCANCEL, 0);
    });
}

RECT ScreenRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

TEST(Scaling, TheFolderPickersOwnRowAtTheRunsDpi)
{
    TempFolder elsewhere, settings;
    CModManagerDlg dialog(elsewhere / L"PakOrder.exe", settings / L"PakOrder.INI");
    RunDialog(dialog, [&] {
        HWND picker = WaitForDialogTitled(L"Select Folder");
        ASSERT_NE(picker, nullptr);
        OnUiThread([&] {
            const UINT dpi = RunDpi();
            ASSERT_EQ(fw::WindowDpi(picker), dpi);
            HWND label = FindVisibleDescendant(picker, 1001), combo = FindVisibleDescendant(picker, 1002),
                 ok = FindVisibleDescendant(picker, 1003);
            ASSERT_TRUE(label && combo && ok);
            const RECT labelAt = ScreenRect(label), comboAt = ScreenRect(combo), okAt = ScreenRect(ok);
            // "Folder &name:" shows without the ampersand, which marks the n.
            EXPECT_LE(TextWidth(label, L"Folder name:"), labelAt.right - labelAt.left) << "the label is cut";
            EXPECT_NEAR(labelAt.top - okAt.top, At(dpi, 2), 1.0);
            EXPECT_NEAR(comboAt.left - labelAt.right, At(dpi, 2), 1.0);
            EXPECT_NEAR(okAt.left - comboAt.right, At(dpi, 6), 1.0);
            HWND cancel = GetDlgItem(picker, IDCANCEL);
            const RECT cancelAt = ScreenRect(cancel), pickerAt = ScreenRect(picker);
            EXPECT_NEAR(pickerAt.right - cancelAt.right, At(dpi, 10), 1.0);
        });
        PostMessageW(picker, WM_COMMAND, IDCANCEL, 0);
        const MessageBoxSeen told = WaitForMessageBox(L"PakOrder");
        ASSERT_NE(told.window, nullptr);
        Answer(told, IDOK);
    });
}

}  // namespace
