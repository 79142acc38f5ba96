// The conflict marks in the real main window: worked out off its thread,
// read as each mark cell's text (as a screen reader reads it), lit for the
// selected row, following moves, and silenced for a pair meant.

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/ModListView.h"
#include "gui/MainWindowFixture.h"
#include "mods/ChangeHistory.h"
#include "mods/IntendedOverlaps.h"
#include "platform/FileSystem.h"
#include "res/resource.h"
#include "unit/ManifestBytes.h"

using namespace testing_files;
using namespace gui;

namespace {

std::string Manifest(const std::vector<ManifestFileToWrite>& files)
{
    const std::vector<unsigned char> bytes = ManifestBytes({{u"MEDIA/UNITS/", files}});
    return std::string(bytes.begin(), bytes.end());
}

// Each row's name and the text of its conflicts cell, read through the list view's own messages.
std::vector<std::pair<std::wstring, std::wstring>> Marks(HWND window)
{
    std::vector<std::pair<std::wstring, std::wstring>> marks;
    OnUiThread([&] {
        HWND list = GetDlgItem(window, IDC_MOD_LIST);
        for (int row = 0; row < ListCount(list); ++row)
            marks.emplace_back(ListText(list, row, 1), ListText(list, row, ModListView::kColumnConflicts));
    });
    return marks;
}

// Waits, bounded, for the worker's index and the marks it gives.
bool WaitForMarks(CModManagerDlg& dialog)
{
    for (int i = 0; i < 400; ++i) {
        bool known = false;
        OnUiThread([&] { known = dialog.ConflictsKnown(); });
        if (known)
            return true;
        Sleep(25);
    }
    return false;
}

// The name cell's background of each row.
std::vector<COLORREF> RowColors(HWND window)
{
    std::vector<COLORREF> colors;
    OnUiThread([&] {
        CExtListCtrl* list = ModList(window);
        for (int row = 0; row < list->GetItemCount(); ++row)
            colors.push_back(list->GetCellBackColor(row, 1));
    });
    return colors;
}

const std::wstring kTied = L"修改时间相同：游戏加载顺序不确定";
const std::wstring kFullyOverridden = L"全部 2 个文件都被 1 个MOD覆盖：在此顺序下不起作用";

}  // namespace

// a overrides one of b's two files; c's two files are both d's; e and f hold the
// same copy; g has no manifest; h and i share a time.
TEST(ConflictMarks, MarksLightsMovesAndPairsMeant)
{
    GameFolder game;
    const std::pair<const wchar_t*, std::vector<ManifestFileToWrite>> mods[] = {
        {L"b.pak", {{u"X.DAT", 1}, {u"B.DAT", 10}}},
        {L"a.pak", {{u"X.DAT", 2}}},
        {L"c.pak", {{u"Y.DAT", 3}, {u"Z.DAT", 4}}},
        {L"d.pak", {{u"Y.DAT", 5}, {u"Z.DAT", 6}, {u"D.DAT", 7}}},
        {L"e.pak", {{u"W.DAT", 8}}},
        {L"f.pak", {{u"W.DAT", 8}}},
    };
    int day = 1;
    for (const auto& [name, files] : mods) {
        WriteFileWithTime(game.Pak(name), Time(2021, 1, day++));
        WriteFile(game.Pak(std::wstring(name) + L".MAN"), Manifest(files));
    }
    WriteFileWithTime(game.Pak(L"g.pak"), Time(2021, 1, day++));
    for (const wchar_t* name : {L"h.pak", L"i.pak"}) {
        WriteFileWithTime(game.Pak(name), Time(2021, 1, day));
        WriteFile(game.Pak(std::wstring(name) + L".MAN"), Manifest({{std::u16string(name, name + 1) + u".DAT", 9}}));
    }
    const std::wstring tiedFirst = L"与 i.pak " + kTied, tiedSecond = L"与 h.pak " + kTied;
    using Marked = std::vector<std::pair<std::wstring, std::wstring>>;
    const Marked initial = {{L"b.pak", L"被 1 个MOD覆盖 1 个文件"},
                            {L"a.pak", L"覆盖 1 个MOD的 1 个文件"},
                            {L"c.pak", kFullyOverridden},
                            {L"d.pak", L"覆盖 1 个MOD的 2 个文件"},
                            {L"e.pak", L""},
                            {L"f.pak", L""},
                            {L"g.pak", L"未检查：没有清单文件"},
                            {L"i.pak", tiedSecond},
                            {L"h.pak", tiedFirst}};

    RunMainWindow(game.Program(), [&](HWND window, CModManagerDlg& dialog) {
        ASSERT_TRUE(WaitForMarks(dialog));
        EXPECT_EQ(Marks(window), initial);

        // a selected: b, which a overrides, is lit; nothing else is.
        Select(window, {1});
        Settle();
        const std::vector<COLORREF> colors = RowColors(window);
        ASSERT_EQ(colors.size(), initial.size());
        for (std::size_t row = 0; row < colors.size(); ++row)
            EXPECT_EQ(colors[row], row == 0 ? ModListView::LightColor(RowLight::Overridden) : RGB(255, 255, 255)) << row;
        EXPECT_EQ(Status(window), L"绿色：所选MOD覆盖的MOD；橙色：覆盖所选MOD的MOD");
        // Two selected: nothing is lit.
        Select(window, {1, 3});
        Settle();
        EXPECT_NE(RowColors(window)[0], ModListView::LightColor(RowLight::Overridden));

        // a over b is meant, from the list's menu: neither is marked, and the file says so.
        Select(window, {1});
        PostClick(GetDlgItem(window, IDC_MOD_LIST), CellPoint(window, 1, 1), true);
        HWND menu = WaitForPopupMenuHolding(L"a.pak 覆盖 b.pak 是有意的");
        ASSERT_NE(menu, nullptr);
        const std::vector<std::wstring> items = MenuItems(menu);
        const auto item = std::find(items.begin(), items.end(), L"a.pak 覆盖 b.pak 是有意的");
        ASSERT_NE(item, items.end());
        // The keyboard passes over the separator.
        ChooseMenuItem(menu, static_cast<int>(std::count_if(items.begin(), item, [](const auto& text) { return !text.empty(); })));
        Settle();
        Marked meant = initial;
        meant[0].second = meant[1].second = L"";
        EXPECT_EQ(Marks(window), meant);
        EXPECT_NE(RowColors(window)[0], ModListView::LightColor(RowLight::Overridden));

        // d to the top, not written: the marks follow at once, with no manifest read.
        Select(window, {3});
        ClickButton(window, IDC_MOVE_TOP);
        Marked moved = meant;
        moved.erase(moved.begin() + 3);
        moved.insert(moved.begin(), {L"d.pak", L"被 1 个MOD覆盖 2 个文件"});
        moved[3].second = L"覆盖 1 个MOD的 2 个文件";
        EXPECT_EQ(Marks(window), moved);
        RestoreList(window);
    });

    const std::wstring records =
        mods::ChangeHistory(platform::SystemFileSystem(), HistoryRoot(), game.paks).RecordsFolder();
    std::vector<mods::IntendedOverlap> pairs;
    std::vector<mods::OverlapsProblem> problems;
    ASSERT_TRUE(mods::ReadIntendedOverlaps(platform::SystemFileSystem(), mods::IntendedOverlapsPath(records), pairs,
                                           problems).ok());
    EXPECT_EQ(pairs, (std::vector<mods::IntendedOverlap>{{L"a", L"b"}}));

    // A new window reads the pair meant.
    RunMainWindow(game.Program(), [&](HWND window, CModManagerDlg& dialog) {
        ASSERT_TRUE(WaitForMarks(dialog));
        Marked meant = initial;
        meant[0].second = meant[1].second = L"";
        EXPECT_EQ(Marks(window), meant);
    });
}
