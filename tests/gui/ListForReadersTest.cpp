// The main window's list as programs that read it find it (screen readers
// ask the list view itself): each row's check as its state image and in
// words, a move in words, and the name caption centred by its format.

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "gui/MainWindowFixture.h"
#include "res/resource.h"

using namespace testing_files;
using namespace gui;

namespace {

struct ItemState {
    int image;          // the state image: 1 cleared, 2 ticked
    std::wstring text;  // column 0's
    bool operator==(const ItemState& o) const { return image == o.image && text == o.text; }
};

[[maybe_unused]] std::ostream& operator<<(std::ostream& out, const ItemState& item)
{
    return out << "{" << item.image << ", " << testing::PrintToString(item.text) << "}";
}

// Read with list view messages only, as another program would.
std::vector<ItemState> Items(HWND window)
{
    HWND list = GetDlgItem(window, IDC_MOD_LIST);
    std::vector<ItemState> items;
    for (int row = 0; row < ListCount(list); ++row) {
        const auto state = static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row),
                                                          LVIS_STATEIMAGEMASK));
        items.push_back(ItemState{static_cast<int>(state >> 12), ListText(list, row, 0)});
    }
    return items;
}

void SetItemState(HWND window, int row, UINT state, UINT mask)
{
    LVITEMW item{};
    item.state = state;
    item.stateMask = mask;
    SendMessageW(GetDlgItem(window, IDC_MOD_LIST), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
}

// The dark pixels' left and right ends in a rectangle of the window.
std::pair<int, int> DarkSpan(HWND window, const RECT& rect)
{
    std::pair<int, int> span{rect.right, rect.left - 1};
    fw::WindowDc dc(window);
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x) {
            const COLORREF c = GetPixel(dc.get(), x, y);
            if (GetRValue(c) < 0x60 && GetGValue(c) < 0x60 && GetBValue(c) < 0x60)
                span = {std::min(span.first, x), std::max(span.second, x)};
        }
    return span;
}

const ItemState kTicked{2, L"已启用"}, kCleared{1, L"已禁用"};

TEST(ListForReaders, EachRowsCheckIsItsStateImageAndItsWordsWhateverChangesIt)
{
    GameFolder game;
    WriteFileWithTime(game.Pak(L"on.pak"), Time(2021, 1, 1));
    WriteFileWithTime(game.Pak(L"off.G1O"), Time(2021, 1, 2));
    RunMainWindow(game.Program(), [&](HWND window) {
        HWND list = GetDlgItem(window, IDC_MOD_LIST);
        EXPECT_EQ(Items(window), (std::vector<ItemState>{kTicked, kCleared}));

        // A click on the box enables the mod, and the state follows.
        PostClick(list, CellPoint(window, 1, 0));
        Settle();
        EXPECT_TRUE(Exists(game.Pak(L"off.pak")));
        EXPECT_EQ(Items(window), (std::vector<ItemState>{kTicked, kTicked}));

        // Space asks before disabling: Cancel keeps the mod ticked, OK clears it.
        OnUiThread([&] { ModList(window)->SelectItem(0, TRUE); });
        FocusList(window);
        for (const int answer : {IDCANCEL, IDOK}) {
            PressKeys(window, {VK_SPACE});
            Answer(WaitForMessageBox(L"请确认"), answer);
            Settle();
            EXPECT_EQ(Items(window)[0], answer == IDOK ? kCleared : kTicked) << answer;
        }
        EXPECT_TRUE(Exists(game.Pak(L"on.G1O")));

        // Another program cannot tick a box: the mod would not follow. It can still select.
        SetItemState(window, 0, INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK);
        SetItemState(window, 1, LVIS_SELECTED, LVIS_SELECTED);
        Settle();
        EXPECT_EQ(Items(window), (std::vector<ItemState>{kCleared, kTicked}));
        EXPECT_EQ(SelectedRows(window), (std::vector<int>{0, 1}));
        EXPECT_TRUE(Exists(game.Pak(L"on.G1O")));

        // A move says so in words; a refill reads every state again.
        Select(window, {1});
        ClickButton(window, IDC_MOVE_TOP);
        EXPECT_EQ(ListText(list, 0, 3), L"已移动，未写入");
        EXPECT_EQ(ListText(list, 1, 3), L"");
        EXPECT_EQ(Items(window), (std::vector<ItemState>{kTicked, kCleared}));
        RestoreList(window);
        EXPECT_EQ(Items(window), (std::vector<ItemState>{kCleared, kTicked}));
        EXPECT_EQ(ListText(list, 1, 3), L"");
    });
}

TEST(ListForReaders, TheNameCaptionIsCentredByItsFormatAndTheNamesStayLeft)
{
    GameFolder game;
    WriteFileWithTime(game.Pak(L"a.pak"), Time(2021, 1, 1));
    RunMainWindow(game.Program(), [&](HWND window) {
        OnUiThread([&] {
            CExtListCtrl& list = *ModList(window);
            HWND header = list.GetHeader();
            EXPECT_EQ(fw::CHeaderCtrl(header).GetItemFormat(1) & HDF_JUSTIFYMASK, HDF_CENTER);
            RedrawWindow(header, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            list.UpdateWindow();
            RECT caption{}, name{};
            Header_GetItemRect(header, 1, &caption);
            ASSERT_TRUE(list.GetCellRect(0, 1, &name));
            InflateRect(&caption, -3, -3);  // inside the frame and the dividers
            const auto [left, right] = DarkSpan(header, caption);
            ASSERT_LT(left, right) << "no caption drawn";
            EXPECT_NEAR(left + right, caption.left + caption.right, 4) << "the caption is not centred";
            const auto [nameLeft, nameRight] = DarkSpan(list.GetSafeHwnd(), name);
            ASSERT_LT(nameLeft, nameRight) << "no name drawn";
            EXPECT_LT(nameLeft - name.left, list.Scale()(CExtListCtrl::kTextMargin) + 3) << "the name is not left";
        });
    });
}

}  // namespace
