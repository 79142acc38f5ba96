// The list's and the header's own drawing, read back from the screen, and
// the order in which a check box press is reported.

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "gui/ListDialog.h"
#include "gui/MainWindowFixture.h"
#include "res/resource.h"

using namespace testing_files;
using namespace gui;

namespace {

constexpr COLORREF kMarkColor = RGB(0x33, 0x99, 0x33);  // 0x339933 as a COLORREF

// The pixels the check mark covers in a box drawn in `cell` (empty text: centred).
std::vector<POINT> CheckMarkPixels(const RECT& cell)
{
    const int top = cell.top + 4, bottom = cell.bottom - 4, side = bottom - top;
    const int left = cell.left + (cell.right - cell.left) / 2 - side / 2 - 1, right = left + side;
    std::vector<POINT> pixels;
    auto stroke = [&](int x, int y) {
        for (int k = 0; k < 3; ++k)
            pixels.push_back(POINT{x, y + k});
    };
    int x = right - 8, y = top + 7;
    const int n = right - left - 18;
    for (int i = 0; n > 0 && i < (n + 1) / 2; ++i) {
        stroke(x, y);
        --x, ++y;
        stroke(x, y);
        ++y;
    }
    for (int i = 0; i < n / 2 + 2; ++i) {
        stroke(x, y);
        --x, --y;
    }
    // Strokes meet where the arms turn: count each pixel once.
    std::sort(pixels.begin(), pixels.end(), [](POINT a, POINT b) { return a.x != b.x ? a.x < b.x : a.y < b.y; });
    pixels.erase(std::unique(pixels.begin(), pixels.end(), [](POINT a, POINT b) { return a.x == b.x && a.y == b.y; }),
                 pixels.end());
    return pixels;
}

int CountPixels(HDC dc, const std::vector<POINT>& points, COLORREF color)
{
    int count = 0;
    for (const POINT& p : points)
        count += GetPixel(dc, p.x, p.y) == color;
    return count;
}

// Pixels of a rectangle for which `test` holds.
template <class Test>
int CountInRect(HDC dc, const RECT& rect, Test test)
{
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            count += test(GetPixel(dc, x, y));
    return count;
}

bool IsDark(COLORREF c) { return GetRValue(c) < 0x60 && GetGValue(c) < 0x60 && GetBValue(c) < 0x60; }

TEST(ListDrawing, CheckMarksAndDisabledRowsOnScreen)
{
    GameFolder game;
    WriteFileWithTime(game.Pak(L"on.PAK"), Time(2015, 1, 1));
    WriteFileWithTime(game.Pak(L"off.G1O"), Time(2016, 1, 1));
    RunMainWindow(game.Program(), [&](HWND window) {
        OnUiThread([&] {
            CExtListCtrl* list = ModList(window);
            ASSERT_NE(list, nullptr);
            list->UpdateWindow();
            fw::WindowDc dc(list->GetSafeHwnd());
            RECT on{}, off{}, offName{}, onName{};
            ASSERT_TRUE(list->GetCellRect(0, 0, &on));
            ASSERT_TRUE(list->GetCellRect(1, 0, &off));
            ASSERT_TRUE(list->GetCellRect(0, 1, &onName));
            ASSERT_TRUE(list->GetCellRect(1, 1, &offName));
            ASSERT_GE(on.bottom - on.top, 32);

            const std::vector<POINT> onMark = CheckMarkPixels(on);
            const std::vector<POINT> offMark = CheckMarkPixels(off);
            EXPECT_EQ(CountPixels(dc.get(), onMark, kMarkColor), static_cast<int>(onMark.size()));
            EXPECT_EQ(CountPixels(dc.get(), offMark, kMarkColor), 0);
            EXPECT_EQ(CountPixels(dc.get(), offMark, RGB(255, 255, 255)), static_cast<int>(offMark.size()));
            EXPECT_EQ(CountInRect(dc.get(), on, [](COLORREF c) { return c == kMarkColor; }),
                      static_cast<int>(onMark.size()));  // nothing green besides the mark

            // The disabled mod's name is light grey and nothing in its row is dark.
            EXPECT_GT(CountInRect(dc.get(), offName, [](COLORREF c) { return c == RGB(220, 220, 220); }), 10);
            EXPECT_EQ(CountInRect(dc.get(), offName, IsDark), 0);
            EXPECT_GT(CountInRect(dc.get(), onName, IsDark), 10);
        });
    });
}

TEST(ListDrawing, EmptyListSaysSo)
{
    ListDialog dialog;
    RunDialog(dialog, [&] {
        ASSERT_NE(WaitForDialog(kCaptionStart), nullptr);
        OnUiThread([&] {
            HWND list = dialog.list.GetSafeHwnd();
            RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            RECT header{}, client{};
            GetWindowRect(dialog.list.GetHeader(), &header);
            GetClientRect(list, &client);
            const int top = header.bottom - header.top;
            fw::WindowDc dc(list);
            ASSERT_TRUE(IsDark(GetSysColor(COLOR_WINDOWTEXT)));
            // The text, in the window text colour, sits centred at the top of the area under the header.
            const RECT band{client.right / 4, top, client.right * 3 / 4, top + 20};
            EXPECT_GT(CountInRect(dc.get(), band, IsDark), 20);
            const RECT left{0, top, client.right / 8, top + 20};
            EXPECT_EQ(CountInRect(dc.get(), left, IsDark), 0);
            const RECT below{0, top + 40, client.right, client.bottom};
            EXPECT_EQ(CountInRect(dc.get(), below, IsDark), 0);
        });
    });
}

TEST(ListDrawing, HeaderIsFlatWithDividersAndAFrame)
{
    ListDialog dialog;
    RunDialog(dialog, [&] {
        ASSERT_NE(WaitForDialog(kCaptionStart), nullptr);
        OnUiThread([&] {
            HWND header = dialog.list.GetHeader();
            RedrawWindow(header, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            fw::WindowDc dc(header);
            RECT first{}, last{}, client{};
            Header_GetItemRect(header, 0, &first);
            Header_GetItemRect(header, 2, &last);
            GetClientRect(header, &client);
            const COLORREF face = GetSysColor(COLOR_BTNFACE), light = GetSysColor(COLOR_BTNHIGHLIGHT),
                           dark = GetSysColor(COLOR_BTNSHADOW);
            ASSERT_NE(light, dark);
            const int middle = (client.top + client.bottom) / 2;
            EXPECT_EQ(GetPixel(dc.get(), first.right - 1, middle), dark);   // divider, dark half
            EXPECT_EQ(GetPixel(dc.get(), first.right, middle), light);      // divider, light half
            EXPECT_EQ(GetPixel(dc.get(), first.right - 1, client.top + 1), face);  // dividers stop short of the edges
            EXPECT_EQ(GetPixel(dc.get(), 0, middle), light);                // frame: left
            EXPECT_EQ(GetPixel(dc.get(), first.right + 20, 0), light);      // frame: top
            EXPECT_EQ(GetPixel(dc.get(), first.right + 20, client.bottom - 1), dark);  // frame: bottom
            EXPECT_EQ(GetPixel(dc.get(), last.right - 1, middle), dark);    // frame: right, no divider after the last
            EXPECT_EQ(GetPixel(dc.get(), last.right, middle), face);        // beyond the items: plain face
            EXPECT_EQ(GetPixel(dc.get(), last.right + 10, client.bottom - 1), face);
        });
    });
}

// Changes system colours as the control panel does, and puts the old ones back.
class SystemColorsChanged {
public:
    SystemColorsChanged(std::vector<int> elements, const std::vector<COLORREF>& colors) : elements_(std::move(elements))
    {
        for (int element : elements_)
            old_.push_back(GetSysColor(element));
        EXPECT_TRUE(SetSysColors(static_cast<int>(elements_.size()), elements_.data(), colors.data()));
    }
    ~SystemColorsChanged() { SetSysColors(static_cast<int>(elements_.size()), elements_.data(), old_.data()); }

private:
    std::vector<int> elements_;
    std::vector<COLORREF> old_;
};

TEST(ListDrawing, ASystemColourChangeReachesTheListAndItsHeader)
{
    GameFolder game;
    WriteFileWithTime(game.Pak(L"on.PAK"), Time(2015, 1, 1));
    WriteFileWithTime(game.Pak(L"off.G1O"), Time(2016, 1, 1));
    RunMainWindow(game.Program(), [&](HWND window) {
        constexpr COLORREF face = RGB(0x30, 0x60, 0x90), paper = RGB(0xF0, 0xE0, 0x80);
        const SystemColorsChanged changed({COLOR_BTNFACE, COLOR_WINDOW}, {face, paper});
        Settle();
        OnUiThread([&] {
            CExtListCtrl* list = ModList(window);
            ASSERT_NE(list, nullptr);
            HWND header = list->GetHeader();
            ::UpdateWindow(header);
            list->UpdateWindow();
            fw::WindowDc headerDc(header), listDc(list->GetSafeHwnd());
            RECT first{}, headerClient{}, box{};
            Header_GetItemRect(header, 0, &first);
            GetClientRect(header, &headerClient);
            EXPECT_EQ(GetPixel(headerDc.get(), first.right - 1, headerClient.top + 1), face);
            ASSERT_TRUE(list->GetCellRect(1, 0, &box));  // the disabled mod's empty box
            const int middle = (box.left + box.right) / 2;
            EXPECT_EQ(GetPixel(listDc.get(), middle, (box.top + box.bottom) / 2), paper);
            EXPECT_EQ(GetPixel(listDc.get(), middle, box.bottom + 20), paper);  // below the rows
        });
    });
}

TEST(ListDrawing, ACheckBoxPressIsToggledPaintedAndReportedBeforeTheSelectionMoves)
{
    ListDialog dialog;
    struct Seen {
        int row = -1, column = -1, state = -1, markPixels = 0;
        bool selected = true;
    } seen;
    std::vector<POINT> mark;
    dialog.onCheckboxClicked = [&](int row, int column) {
        seen.row = row;
        seen.column = column;
        seen.state = dialog.list.GetCellCheck(row, column);
        fw::WindowDc dc(dialog.list.GetSafeHwnd());
        seen.markPixels = CountPixels(dc.get(), mark, kMarkColor);
        seen.selected = dialog.list.GetItemState(row, LVIS_SELECTED) != 0;
    };
    RunDialog(dialog, [&] {
        ASSERT_NE(WaitForDialog(kCaptionStart), nullptr);
        POINT press{};
        OnUiThread([&] {
            CExtListCtrl& list = dialog.list;
            list.SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL,
                             reinterpret_cast<LPARAM>(ImageList_Create(10, 32, ILC_COLOR4, 1, 1)));
            for (int i = 0; i < 2; ++i) {
                list.InsertItem(i, L"");
                list.SetCellCheck(i, 0, 0);
                list.SetItemText(i, 1, L"mod " + std::to_wstring(i));
            }
            RECT cell{};
            list.GetCellRect(1, 0, &cell);
            mark = CheckMarkPixels(cell);
            press = POINT{cell.right - 6, (cell.top + cell.bottom) / 2};
            list.UpdateWindow();
        });
        PostClick(dialog.list.GetSafeHwnd(), press);
        Settle();
        OnUiThread([&] {
            EXPECT_EQ(seen.row, 1);
            EXPECT_EQ(seen.column, 0);
            EXPECT_EQ(seen.state, 1);                               // toggled first,
            EXPECT_EQ(seen.markPixels, static_cast<int>(mark.size()));  // painted at once,
            EXPECT_FALSE(seen.selected);                            // reported before the selection moves,
            EXPECT_NE(dialog.list.GetItemState(1, LVIS_SELECTED), 0u);  // which it then does.
            EXPECT_EQ(dialog.checkboxClicks.size(), 1u);
        });

        // A press on the name toggles nothing.
        OnUiThread([&] {
            RECT name{};
            dialog.list.GetCellRect(0, 1, &name);
            press = POINT{(name.left + name.right) / 2, (name.top + name.bottom) / 2};
        });
        PostClick(dialog.list.GetSafeHwnd(), press);
        Settle();
        OnUiThread([&] {
            EXPECT_EQ(dialog.checkboxClicks.size(), 1u);
            EXPECT_EQ(dialog.list.GetCellCheck(0, 0), 0);
            EXPECT_NE(dialog.list.GetItemState(0, LVIS_SELECTED), 0u);
        });
    });
}

// Counts the paint and erase messages a window receives.
LRESULT CALLBACK CountPaints(HWND window, UINT message, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR counter)
{
    if (message == WM_PAINT || message == WM_ERASEBKGND)
        ++*reinterpret_cast<int*>(counter);
    return DefSubclassProc(window, message, w, l);
}

TEST(ListDrawing, ABulkChangeIsPaintedOnceDrawingResumes)
{
    ListDialog dialog;
    RunDialog(dialog, [&] {
        ASSERT_NE(WaitForDialog(kCaptionStart), nullptr);
        OnUiThread([&] {
            CExtListCtrl& list = dialog.list;
            list.SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL,
                             reinterpret_cast<LPARAM>(ImageList_Create(10, 32, ILC_COLOR4, 1, 1)));
            for (int row = 0; row < 3; ++row) {
                list.InsertItem(row, L"");
                list.SetCellCheck(row, 0, 0);
            }
            list.UpdateWindow();
            RECT cell{};
            list.GetCellRect(0, 0, &cell);
            const std::vector<POINT> mark = CheckMarkPixels(cell);
            int paints = 0;
            SetWindowSubclass(list.GetSafeHwnd(), CountPaints, 1, reinterpret_cast<DWORD_PTR>(&paints));
            {
                fw::CWindow::RedrawSuspender noRedraw(list);
                for (int row = 0; row < 3; ++row) {
                    list.SetCellCheck(row, 0, 1);
                    list.SetItemText(row, 1, L"moved");
                }
                EXPECT_EQ(paints, 0);  // nothing painted cell by cell
            }
            list.UpdateWindow();
            EXPECT_GT(paints, 0);
            RemoveWindowSubclass(list.GetSafeHwnd(), CountPaints, 1);
            fw::WindowDc dc(list.GetSafeHwnd());
            EXPECT_EQ(CountPixels(dc.get(), mark, kMarkColor), static_cast<int>(mark.size()));

            // A single change outside a bulk one still shows at once.
            list.SetCellCheck(0, 0, 0);
            EXPECT_EQ(CountPixels(dc.get(), mark, kMarkColor), 0);
        });
    });
}

}  // namespace
