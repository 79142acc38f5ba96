// The real main window over temporary game folders, driven from a second thread.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "gui/MainWindowFixture.h"
#include "platform/FileSystem.h"
#include "res/resource.h"

using namespace testing_files;
using namespace gui;

namespace {

TEST(MainWindow, ListsTheModsInLoadOrder)
{
    GameFolder game;
    WriteFileWithTime(game.Pak(L"b.G1O"), Time(2014, 6, 7, 8));
    WriteFile(game.Pak(L"b.G1O.MAN"));
    WriteFileWithTime(game.Pak(L"中文模组.PAK"), Time(2013, 2, 5, 17, 30));
    WriteFileWithTime(game.Pak(L"late.pak"), Time(2021, 1, 1));
    WriteFile(game.Pak(L"c.pak.MAN"));
    WriteFile(game.Pak(L"d.g1o"));
    WriteFile(game.Pak(L"e.txt"));
    MakeFolder(game.Pak(L"f.PAK"));

    RunMainWindow(game.Program(), [&](HWND window, CModManagerDlg& dialog) {
        EXPECT_EQ(gui::WindowText(window), L"PakOrder          (Ctrl 多选)");
        EXPECT_EQ(Rows(window), (std::vector<Row>{{1, L"中文模组.PAK", L"2013-2-5", L""},
                                                  {0, L"b.G1O", L"2014-6-7", L""},
                                                  {1, L"late.pak", L"2021-1-1", L""}}));
        EXPECT_EQ(Status(window), L"总共 3 个MOD");
        EXPECT_EQ(ManagedPaks(dialog), game.paks + L"\\");
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_LAUNCH_GAME)));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_CONFLICT_CHECK)));
    });
}

TEST(MainWindow, ControlsAndColumnsAsLaidOut)
{
    GameFolder game;
    WriteFile(game.Pak(L"a.pak"));
    RunMainWindow(game.Program(), [&](HWND window) {
        const std::pair<int, const wchar_t*> buttons[] = {
            {IDOK, L"智能\n排序\n(&S)"},          {IDC_MOVE_TOP, L"置顶\n(&T)"},
            {IDC_MOVE_UP, L"向\n上\n(&U)"},        {IDC_MOVE_DOWN, L"向\n下\n(&D)"},
            {IDC_MOVE_BOTTOM, L"置底\n(&E)"},       {IDC_CONFLICT_CHECK, L"手动\n冲突\n检测\n(&C)"},
            {IDC_RESTORE, L"还原\n(&R)"},           {IDC_EDIT_TIME, L"亲自\n修改\n时间\n(&I)"},
            {IDC_LAUNCH_GAME, L"启动\n游戏\n(&G)"}};
        for (const auto& [id, text] : buttons)
            EXPECT_EQ(gui::WindowText(GetDlgItem(window, id)), text) << id;
        EXPECT_EQ(SendMessageW(window, DM_GETDEFID, 0, 0), MAKELRESULT(IDC_RESTORE, DC_HASDEFID));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_CONFLICT_CHECK)));  // one mod: nothing to compare
        EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
        EXPECT_FALSE(GetWindowLongPtrW(window, GWL_STYLE) & (WS_MAXIMIZEBOX | WS_THICKFRAME));

        HWND list = GetDlgItem(window, IDC_MOD_LIST);
        EXPECT_EQ(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0),
                  LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES);
        EXPECT_FALSE(GetWindowLongPtrW(list, GWL_STYLE) & LVS_SINGLESEL);
        const std::pair<const wchar_t*, int> columns[] = {
            {L"启用", 42}, {L"MOD 名称", 380}, {L"修改时间", 90}, {L"已移动", 1}};
        for (int i = 0; i < 4; ++i) {
            wchar_t heading[64] = {};
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            column.pszText = heading;
            column.cchTextMax = 64;
            ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column)));
            EXPECT_EQ(std::wstring(heading), columns[i].first);
            EXPECT_EQ(column.cx, columns[i].second);
            // The captions as their header items align them: the name's centred.
            HDITEMW caption{};
            caption.mask = HDI_FORMAT;
            SendMessageW(ListView_GetHeader(list), HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&caption));
            EXPECT_EQ(caption.fmt & HDF_JUSTIFYMASK, i == 1 ? HDF_CENTER : i == 2 ? HDF_RIGHT : HDF_LEFT) << i;
        }
        RECT row{};
        row.left = LVIR_BOUNDS;
        ASSERT_TRUE(SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)));
        EXPECT_GE(row.bottom - row.top, 32);  // the image list sets the row height
        EXPECT_EQ(SendMessageW(window, WM_QUERYDRAGICON, 0, 0) != 0, true);
    });
}

TEST(MainWindow, IconHoldsFourSizesAtThreeDepths)
{
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(IDR_MAINFRAME), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    ASSERT_NE(found, nullptr);
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
    ASSERT_NE(data, nullptr);
    // GRPICONDIR: reserved, type, count; then 14-byte entries: width, height, colours, reserved, planes, bit count, ...
    const WORD count = *reinterpret_cast<const WORD*>(data + 4);
    std::vector<std::pair<int, int>> images;
    for (WORD i = 0; i < count; ++i) {
        const BYTE* entry = data + 6 + i * 14;
        images.emplace_back(entry[0], *reinterpret_cast<const WORD*>(entry + 6));
    }
    std::sort(images.begin(), images.end());
    EXPECT_EQ(images, (std::vector<std::pair<int, int>>{{16, 4}, {16, 8}, {16, 32}, {24, 4}, {24, 8}, {24, 32},
                                                        {32, 4}, {32, 8}, {32, 32}, {48, 4}, {48, 8}, {48, 32}}));
}

TEST(MainWindow, LaunchButtonNeedsTheGameBesideTheProgram)
{
    GameFolder game(false);
    WriteFile(game.Pak(L"a.pak"));
    RunMainWindow(game.Program(), [&](HWND window) {
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_LAUNCH_GAME)));
        EXPECT_EQ(Status(window), L"总共 1 个MOD");
    });
}

TEST(MainWindow, FindsThePaksFolderFromInsideIt)
{
    GameFolder game;
    WriteFileWithTime(game.Pak(L"a.PAK"), Time(2015, 1, 1));
    WriteFileWithTime(game.Pak(L"ta.pak"), Time(2016, 1, 1));
    RunMainWindow(game.Pak(L"PakOrder.exe"), [&](HWND window, CModManagerDlg& dialog) {
        EXPECT_EQ(ManagedPaks(dialog), game.paks + L"\\");
        EXPECT_EQ(GameProgram(dialog), game.Pak(L"Torchlight2.exe"));
        // The game is looked for beside the program, so not found here.
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_LAUNCH_GAME)));
        EXPECT_EQ(Rows(window), (std::vector<Row>{{1, L"a.PAK", L"2015-1-1", L""}, {1, L"ta.pak", L"2016-1-1", L""}}));
    });
}

TEST(MainWindow, OneModAndThenNoModAreShownWithTheirCount)
{
    GameFolder game;
    WriteFileWithTime(game.Pak(L"only.pak"), Time(2019, 12, 31, 23, 59, 59));
    RunMainWindow(game.Program(), [&](HWND window) {
        EXPECT_EQ(Rows(window), (std::vector<Row>{{1, L"only.pak", L"2019-12-31", L""}}));
        EXPECT_EQ(Status(window), L"总共 1 个MOD");

        ASSERT_TRUE(platform::SystemFileSystem().RemoveFile(game.Pak(L"only.pak")).ok());
        gui::ClickButton(window, IDC_RESTORE);
        EXPECT_TRUE(Rows(window).empty());
        EXPECT_EQ(Status(window), L"总共 0 个MOD");

        WriteFileWithTime(game.Pak(L"new.G1O"), Time(2020, 2, 29));
        gui::ClickButton(window, IDC_RESTORE);
        EXPECT_EQ(Rows(window), (std::vector<Row>{{0, L"new.G1O", L"2020-2-29", L""}}));
        EXPECT_EQ(Status(window), L"总共 1 个MOD");
    });
}

TEST(MainWindow, NamesOutsideAnyCodePage)
{
    GameFolder game;
    const std::wstring name = L"한국어 Кириллица 😀.pak";
    WriteFileWithTime(game.Pak(name), Time(2018, 3, 3));
    WriteFileWithTime(game.Pak(L"Ünïcödé.G1O"), Time(2017, 3, 3));
    RunMainWindow(game.Program(), [&](HWND window) {
        EXPECT_EQ(Rows(window), (std::vector<Row>{{0, L"Ünïcödé.G1O", L"2017-3-3", L""}, {1, name, L"2018-3-3", L""}}));
    });
}

}  // namespace
