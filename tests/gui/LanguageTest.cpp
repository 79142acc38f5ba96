// English chosen in the real window menu with the keyboard: every text of
// the window changes at once, menus, questions and dialogs follow, the
// choice outlives a restart, and Chinese comes back as it was.

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "app/Texts.h"
#include "gui/MainWindowFixture.h"
#include "platform/IniProfile.h"
#include "res/resource.h"

using namespace testing_files;
using namespace gui;

namespace {

struct WindowMenuSeen {
    std::vector<std::wstring> items;
    int checkedLanguage = -1;  // 0 中文, 1 English
};

// Alt+Space opens the window menu; Up wraps to its last item, "Language /
// 语言", Right opens it, and Enter picks the language at `position`.
WindowMenuSeen ChooseLanguage(HWND window, int position)
{
    WindowMenuSeen seen;
    PressKeys(window, {VK_MENU, VK_SPACE});
    HWND windowMenu = WaitForPopupMenuHolding(L"Language / 语言");
    EXPECT_NE(windowMenu, nullptr);
    if (!windowMenu)
        return seen;
    seen.items = MenuItems(windowMenu);
    PressKeys(window, {VK_UP});
    PressKeys(window, {VK_RIGHT});
    HWND languages = WaitForPopupMenuHolding(L"English");
    EXPECT_NE(languages, nullptr);
    if (!languages)
        return seen;
    EXPECT_EQ(MenuItems(languages), (std::vector<std::wstring>{L"中文", L"English"}));
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(languages, MN_GETHMENU, 0, 0));
    for (int i = 0; i < 2; ++i)
        if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED)
            seen.checkedLanguage = i;
    if (position == 1)
        PressKeys(window, {VK_DOWN});
    PressKeys(window, {VK_RETURN});
    for (int i = 0; i < 200 && IsWindowVisible(windowMenu); ++i)
        Sleep(25);
    Settle();
    return seen;
}

// The window menu's own items: its last six.
std::vector<std::wstring> OwnItems(const std::vector<std::wstring>& items)
{
    return items.size() < 6 ? items : std::vector<std::wstring>(items.end() - 6, items.end());
}

// The window menu's own items as it would open now, read from the window's menu.
std::vector<std::wstring> OwnWindowMenuItems(HWND window)
{
    const HMENU menu = GetSystemMenu(window, FALSE);
    std::vector<std::wstring> items;
    for (int i = 0, count = GetMenuItemCount(menu); i < count; ++i) {
        wchar_t text[128] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        items.push_back(text);
    }
    return OwnItems(items);
}

const std::vector<std::wstring> kEnglishWindowMenu = {L"Undo (Ctrl+Z)",    L"Redo (Ctrl+Y)",    L"Change history…",
                                                      L"Export mod list…", L"Import mod list…", L"Language / 语言"};
const std::vector<std::wstring> kChineseWindowMenu = {L"撤销 (Ctrl+Z)",  L"重做 (Ctrl+Y)",  L"更改历史…",
                                                      L"导出MOD列表…", L"导入MOD列表…", L"Language / 语言"};

std::wstring Heading(HWND window, int column)
{
    wchar_t heading[64] = {};
    LVCOLUMNW item{};
    item.mask = LVCF_TEXT;
    item.pszText = heading;
    item.cchTextMax = 64;
    SendMessageW(GetDlgItem(window, IDC_MOD_LIST), LVM_GETCOLUMNW, static_cast<WPARAM>(column),
                 reinterpret_cast<LPARAM>(&item));
    return heading;
}

// Each line of the button's text within its face, and the lines within its height.
bool TextFits(HWND button)
{
    std::wstring text = WindowText(button);
    std::erase(text, L'&');  // a letter's mark, drawn as its underline
    RECT face{};
    GetClientRect(button, &face);
    HDC dc = GetDC(button);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int margin = 2 * (GetSystemMetrics(SM_CXEDGE) + 1);
    bool fits = true;
    int lines = 0;
    for (std::size_t start = 0; start <= text.size(); ++lines) {
        const std::size_t end = std::min(text.find(L'\n', start), text.size());
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str() + start, static_cast<int>(end - start), &size);
        fits = fits && size.cx <= face.right - margin;
        start = end + 1;
    }
    SelectObject(dc, old);
    ReleaseDC(button, dc);
    return fits && lines * metrics.tmHeight <= face.bottom;
}

// Each button's letter is the same in both languages.
const std::pair<int, const wchar_t*> kEnglishButtons[] = {
    {IDOK, L"&Smart\n\nsort"},       {IDC_MOVE_TOP, L"To\n&top"},       {IDC_MOVE_UP, L"&Up"},
    {IDC_MOVE_DOWN, L"&Down"},       {IDC_MOVE_BOTTOM, L"To\n&end"},    {IDC_CONFLICT_CHECK, L"&Con-\nflict\ncheck"},
    {IDC_RESTORE, L"&Re-\nload"},    {IDC_EDIT_TIME, L"Set\nt&ime"},    {IDC_LAUNCH_GAME, L"Start\n&game"}};
const std::pair<int, const wchar_t*> kChineseButtons[] = {
    {IDOK, L"智能\n排序\n(&S)"},           {IDC_MOVE_TOP, L"置顶\n(&T)"},
    {IDC_MOVE_UP, L"向\n上\n(&U)"},         {IDC_MOVE_DOWN, L"向\n下\n(&D)"},
    {IDC_MOVE_BOTTOM, L"置底\n(&E)"},        {IDC_CONFLICT_CHECK, L"手动\n冲突\n检测\n(&C)"},
    {IDC_RESTORE, L"还原\n(&R)"},            {IDC_EDIT_TIME, L"亲自\n修改\n时间\n(&I)"},
    {IDC_LAUNCH_GAME, L"启动\n游戏\n(&G)"}};

int CaptionAlignment(HWND window, int column)
{
    HDITEMW caption{};
    caption.mask = HDI_FORMAT;
    SendMessageW(ListView_GetHeader(GetDlgItem(window, IDC_MOD_LIST)), HDM_GETITEMW, static_cast<WPARAM>(column),
                 reinterpret_cast<LPARAM>(&caption));
    return caption.fmt & HDF_JUSTIFYMASK;
}

TEST(Language, EnglishChosenInTheWindowMenuShowsAtOnceAndOutlivesARestart)
{
    struct ChineseAfterwards {
        ~ChineseAfterwards() { texts::SetLanguage(texts::Language::Chinese); }
    } chineseAfterwards;
    FourMods game;
    TempFolder settings;
    const std::wstring ini = settings / L"PakOrder.INI";

    {
        CModManagerDlg dialog(game.Program(), ini);
        RunDialog(dialog, [&] {
            HWND window = WaitForDialog(kCaptionStart);
            ASSERT_NE(window, nullptr);
            const WindowMenuSeen before = ChooseLanguage(window, 1);
            EXPECT_EQ(before.checkedLanguage, 0);
            EXPECT_EQ(OwnItems(before.items), kChineseWindowMenu);
            EXPECT_EQ(OwnWindowMenuItems(window), kEnglishWindowMenu);

            EXPECT_EQ(WindowText(window), L"PakOrder          (Ctrl selects several)");
            for (const auto& [id, text] : kEnglishButtons) {
                EXPECT_EQ(WindowText(GetDlgItem(window, id)), text) << id;
                EXPECT_TRUE(TextFits(GetDlgItem(window, id))) << id;
            }
            EXPECT_EQ(Heading(window, 0), L"On");
            EXPECT_EQ(Heading(window, 1), L"Mod name");
            EXPECT_EQ(CaptionAlignment(window, 1), HDF_CENTER);
            EXPECT_EQ(Heading(window, 2), L"Modified");
            EXPECT_EQ(Heading(window, 3), L"Moved");
            EXPECT_EQ(ListText(GetDlgItem(window, IDC_MOD_LIST), 0, 0), L"enabled");
            EXPECT_EQ(Status(window), L"Mods in all: 4");
            EXPECT_EQ(ShortcutTips(window),
                      (std::vector<std::wstring>{L"Ctrl+Home", L"Ctrl+↑", L"Ctrl+↓", L"Ctrl+End", L"F5, Enter"}));

            // The list's menu, a question and a dialog opened now are English.
            PostClick(GetDlgItem(window, IDC_MOD_LIST), CellPoint(window, 1, 1), true);
            HWND listMenu = WaitForPopupMenu();
            ASSERT_NE(listMenu, nullptr);
            EXPECT_EQ(MenuItems(listMenu), std::vector<std::wstring>{L"Delete mod from disk"});
            CloseMenu(listMenu);
            PostClick(GetDlgItem(window, IDC_MOD_LIST), CellPoint(window, 0, 0));
            const MessageBoxSeen question = WaitForMessageBox(L"Please confirm");
            EXPECT_EQ(question.text, L"Disable this mod?\r\n\r\n\ta.pak");
            Answer(question, IDCANCEL);
            Select(window, {0});
            PostMessageW(GetDlgItem(window, IDC_EDIT_TIME), BM_CLICK, 0, 0);
            HWND dateDialog = WaitForDialogTitled(L"");
            ASSERT_NE(dateDialog, nullptr);
            EXPECT_EQ(WindowText(GetDlgItem(dateDialog, IDOK)), L"OK");
            EXPECT_EQ(WindowText(GetDlgItem(dateDialog, IDCANCEL)), L"Close");
            EXPECT_TRUE(TextFits(GetDlgItem(dateDialog, IDCANCEL)));
            PostMessageW(dateDialog, WM_COMMAND, IDCANCEL, 0);
            Settle();
            Select(window, {});
            PostMessageW(GetDlgItem(window, IDC_CONFLICT_CHECK), BM_CLICK, 0, 0);
            HWND report = WaitForDialogTitled(L"Conflict check");
            ASSERT_NE(report, nullptr);
            EXPECT_EQ(WindowText(GetDlgItem(report, IDC_CONFLICT_SUMMARY)), L"No conflicts found");
            const std::wstring unchecked = WindowText(GetDlgItem(report, IDC_UNCHECKED_MODS));
            EXPECT_TRUE(unchecked.starts_with(L"These mods could not be checked:\r\na.pak: no manifest"))
                << testing::PrintToString(unchecked);
            EXPECT_EQ(WindowText(GetDlgItem(report, IDCANCEL)), L"Close");
            PostMessageW(report, WM_COMMAND, IDCANCEL, 0);
        });
    }
    EXPECT_TRUE(Exists(game.Pak(L"a.pak")));  // the question was refused
    EXPECT_EQ(platform::IniProfile(ini).Read(L"Settings", L"Language"), L"English");

    {
        CModManagerDlg dialog(game.Program(), ini);
        RunDialog(dialog, [&] {
            HWND window = WaitForDialog(kCaptionStart);
            ASSERT_NE(window, nullptr);
            EXPECT_EQ(WindowText(GetDlgItem(window, IDC_EDIT_TIME)), L"Set\nt&ime");
            EXPECT_EQ(Status(window), L"Mods in all: 4");
            HWND list = GetDlgItem(window, IDC_MOD_LIST);
            Select(window, {1});
            ClickButton(window, IDC_MOVE_TOP);
            EXPECT_EQ(ListText(list, 0, 3), L"moved, not written");
            const WindowMenuSeen seen = ChooseLanguage(window, 0);
            EXPECT_EQ(seen.checkedLanguage, 1);
            for (const wchar_t* item : {L"Undo (Ctrl+Z)", L"Redo (Ctrl+Y)", L"Change history…"})
                EXPECT_NE(std::find(seen.items.begin(), seen.items.end(), item), seen.items.end()) << item;
            EXPECT_EQ(OwnWindowMenuItems(window), kChineseWindowMenu);

            EXPECT_EQ(WindowText(window), L"PakOrder          (Ctrl 多选)");
            for (const auto& [id, text] : kChineseButtons) {
                EXPECT_EQ(WindowText(GetDlgItem(window, id)), text) << id;
                EXPECT_TRUE(TextFits(GetDlgItem(window, id))) << id;
            }
            EXPECT_EQ(Heading(window, 1), L"MOD 名称");
            EXPECT_EQ(CaptionAlignment(window, 1), HDF_CENTER);
            EXPECT_EQ(Heading(window, 2), L"修改时间");
            EXPECT_EQ(Heading(window, 3), L"已移动");
            EXPECT_EQ(ListText(list, 0, 0), L"已启用");
            EXPECT_EQ(ListText(list, 0, 3), kMovedMark);
            RestoreList(window);
            EXPECT_EQ(Status(window), L"总共 4 个MOD");
            EXPECT_EQ(ShortcutTips(window).back(), L"F5、Enter");
        });
    }
    EXPECT_EQ(platform::IniProfile(ini).Read(L"Settings", L"Language"), L"Chinese");
}

}  // namespace
