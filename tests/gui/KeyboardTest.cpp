// The main window's keys, pressed on the real keyboard: the move shortcuts,
// Space, Delete, Ctrl+A, type-to-find, and the tooltips that name them.

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "gui/MainWindowFixture.h"
#include "res/resource.h"

using namespace testing_files;
using namespace gui;

namespace {

// The selected rows once they are `expected`, or after a few seconds: keys arrive in their own time.
std::vector<int> SelectedOnceItIs(HWND window, const std::vector<int>& expected)
{
    std::vector<int> rows;
    for (int i = 0; i < 200 && (rows = SelectedRows(window)) != expected; ++i)
        Sleep(25);
    return rows;
}

TEST(Keyboard, ShortcutsMoveTheSelectionAsTheButtonsDo)
{
    FourMods game;
    RunMainWindow(game.Program(), [&](HWND window) {
        Select(window, {1});
        FocusList(window);
        const struct {
            WORD key;
            const wchar_t* order;
            int selected;
        } steps[] = {
            {VK_DOWN, L"acb*d", 2}, {VK_END, L"acdb*", 3}, {VK_HOME, L"b*acd", 0}, {VK_UP, L"b*acd", 0},
        };
        for (const auto& step : steps) {
            PressKeys(window, {VK_CONTROL, step.key});
            EXPECT_EQ(OrderOnceItIs(window, step.order), step.order) << step.key;
            EXPECT_EQ(SelectedRows(window), std::vector<int>{step.selected}) << step.key;
        }
        // Ctrl+Z takes the moves back one at a time.
        PressKeys(window, {VK_CONTROL, 'Z'});
        EXPECT_EQ(OrderOnceItIs(window, L"acdb*"), L"acdb*");

        PressKeys(window, {VK_CONTROL, 'A'});
        EXPECT_EQ(SelectedOnceItIs(window, {0, 1, 2, 3}), (std::vector<int>{0, 1, 2, 3}));
    });
}

TEST(Keyboard, SpaceSwitchesDeleteAsksAndTypingFindsAMod)
{
    GameFolder game;
    int day = 1;
    for (const wchar_t* name : {L"alpha.pak", L"beta.pak", L"Bravo.pak", L"charlie.pak"})
        WriteFileWithTime(game.Pak(name), Time(2021, 1, day++));
    RunMainWindow(game.Program(), [&](HWND window) {
        // Typed letters jump to the next mod starting with them, in any case;
        // after a pause typing starts again.
        Select(window, {0});
        FocusList(window);
        PressKeys(window, {'B'});
        EXPECT_EQ(SelectedOnceItIs(window, {1}), std::vector<int>{1});
        Sleep(1200);
        Select(window, {0});
        PressKeys(window, {'B', 'R'});  // at once: a pause between them would start again
        EXPECT_EQ(SelectedOnceItIs(window, {2}), std::vector<int>{2});  // "br": Bravo
        Sleep(1200);
        PressKeys(window, {'C'});
        EXPECT_EQ(SelectedOnceItIs(window, {3}), std::vector<int>{3});

        // Space on an enabled mod asks before disabling it, as a click does.
        PressKeys(window, {VK_SPACE});
        const MessageBoxSeen question = WaitForMessageBox(L"请确认");
        ASSERT_NE(question.window, nullptr);
        Answer(question, IDOK);
        Settle();
        EXPECT_TRUE(Exists(game.Pak(L"charlie.G1O")));
        EXPECT_EQ(Rows(window)[3].check, 0);

        // Delete asks; Cancel keeps the mod.
        PressKeys(window, {VK_DELETE});
        const MessageBoxSeen deleting = WaitForMessageBox(L"请确定");
        ASSERT_NE(deleting.window, nullptr);
        EXPECT_NE(deleting.text.find(L"charlie.G1O"), std::wstring::npos);
        Answer(deleting, IDCANCEL);
        Settle();
        EXPECT_TRUE(Exists(game.Pak(L"charlie.G1O")));
    });
}

TEST(Keyboard, EachButtonNamesALetterOfItsOwnThatAltPresses)
{
    FourMods game;
    RunMainWindow(game.Program(), [&](HWND window) {
        std::wstring letters;
        for (int id : {IDOK, IDC_MOVE_TOP, IDC_MOVE_UP, IDC_MOVE_DOWN, IDC_MOVE_BOTTOM, IDC_CONFLICT_CHECK, IDC_RESTORE,
                       IDC_EDIT_TIME, IDC_LAUNCH_GAME}) {
            const std::wstring text = WindowText(GetDlgItem(window, id));
            const std::size_t mark = text.find(L'&');
            letters += mark + 1 < text.size() ? text[mark + 1] : L'?';
        }
        EXPECT_EQ(letters, L"STUDECRIG");

        // From the list, whose typed letters find mods.
        Select(window, {2});
        FocusList(window);
        PressKeys(window, {VK_MENU, 'T'});
        EXPECT_EQ(OrderOnceItIs(window, L"c*abd"), L"c*abd");
        PressKeys(window, {VK_MENU, 'E'});
        EXPECT_EQ(OrderOnceItIs(window, L"abdc*"), L"abdc*");
    });
}

TEST(Keyboard, TheMoveButtonsNameTheirShortcuts)
{
    FourMods game;
    RunMainWindow(game.Program(), [&](HWND window) {
        EXPECT_EQ(ShortcutTips(window),
                  (std::vector<std::wstring>{L"Ctrl+Home", L"Ctrl+↑", L"Ctrl+↓", L"Ctrl+End", L"F5、Enter"}));
        // The status line's tip names the folder managed.
        EXPECT_EQ(TooltipText(window, reinterpret_cast<UINT_PTR>(GetDlgItem(window, IDC_STATUS))),
                  L"正在管理：" + game.paks + L"\\");
        // ... and shows it when the pointer rests on the status line.
        RECT status{};
        GetWindowRect(GetDlgItem(window, IDC_STATUS), &status);
        SetCursorPos(status.left + 5, (status.top + status.bottom) / 2);
        SetCursorPos(status.left + 8, (status.top + status.bottom) / 2);
        std::wstring shown;
        for (int waited = 0; waited < 3000 && shown.empty(); waited += 50) {
            Sleep(50);
            OnUiThread([&] {
                EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM l) -> BOOL {
                    wchar_t name[64] = {}, text[MAX_PATH * 2] = {};
                    GetClassNameW(w, name, 64);
                    if (std::wstring(name) == TOOLTIPS_CLASSW && IsWindowVisible(w)) {
                        GetWindowTextW(w, text, MAX_PATH * 2);
                        *reinterpret_cast<std::wstring*>(l) = text;
                    }
                    return TRUE;
                }, reinterpret_cast<LPARAM>(&shown));
            });
        }
        EXPECT_EQ(shown, L"正在管理：" + game.paks + L"\\");
    });
}

}  // namespace
