#include "gui/MainWindowFixture.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>

#include "res/resource.h"

namespace gui {

std::ostream& operator<<(std::ostream& out, const Row& row)
{
    return out << "{" << row.check << ", " << testing::PrintToString(row.name) << ", "
               << testing::PrintToString(row.date) << ", " << testing::PrintToString(row.mark) << "}";
}

CExtListCtrl* ModList(HWND dialog)
{
    return dynamic_cast<CExtListCtrl*>(fw::WindowSubclass::FromHandle(GetDlgItem(dialog, IDC_MOD_LIST)));
}

std::vector<Row> Rows(HWND dialog)
{
    std::vector<Row> rows;
    OnUiThread([&] {
        HWND list = GetDlgItem(dialog, IDC_MOD_LIST);
        CExtListCtrl* control = ModList(dialog);
        if (!control)
            return;
        for (int row = 0; row < ListCount(list); ++row)
            rows.push_back(Row{control->GetCellCheck(row, 0), ListText(list, row, 1), ListText(list, row, 2),
                               ListText(list, row, 3)});
    });
    return rows;
}

// Drops the paths on the window as Explorer does: a WM_DROPFILES with a real
// HDROP, which the window releases.
void Drop(HWND window, const std::vector<std::wstring>& paths)
{
    std::size_t chars = 1;
    for (const std::wstring& path : paths)
        chars += path.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(reinterpret_cast<BYTE*>(files) + sizeof(DROPFILES));
    for (const std::wstring& path : paths) {
        std::copy(path.begin(), path.end(), text);
        text += path.size() + 1;
    }
    GlobalUnlock(memory);
    PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

// A point inside a cell, right of column 0's small-image area.
POINT CellPoint(HWND dialog, int row, int column)
{
    RECT cell{};
    OnUiThread([&] { ModList(dialog)->GetCellRect(row, column, &cell); });
    return POINT{column == 0 ? cell.right - 6 : (cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
}

void Select(HWND window, const std::vector<int>& rows)
{
    OnUiThread([&] {
        CExtListCtrl* list = ModList(window);
        list->SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (int row : rows)
            list->SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    });
}

std::vector<int> SelectedRows(HWND window)
{
    std::vector<int> rows;
    OnUiThread([&] {
        CExtListCtrl* list = ModList(window);
        for (int row = list->GetNextItem(-1, LVNI_SELECTED); row >= 0; row = list->GetNextItem(row, LVNI_SELECTED))
            rows.push_back(row);
    });
    return rows;
}

void SetPickerDate(HWND dialog, WORD year, WORD month, WORD day)
{
    SYSTEMTIME date{year, month, 0, day, 0, 0, 0, 0};
    SendMessageW(GetDlgItem(dialog, IDC_MOD_DATE), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&date));
}

// Opens the date dialog from the main window and sets the picker to a date.
void PickDate(WORD year, WORD month, WORD day, int button)
{
    HWND dateDialog = WaitForDialogTitled(L"");
    ASSERT_NE(dateDialog, nullptr);
    SetPickerDate(dateDialog, year, month, day);
    PostMessageW(dateDialog, WM_COMMAND, static_cast<WPARAM>(button), 0);
    for (int i = 0; i < 200 && IsWindow(dateDialog); ++i)
        Sleep(25);
}

std::vector<Row> RowsOnceThereAre(HWND dialog, std::size_t count)
{
    std::vector<Row> rows;
    for (int i = 0; i < 200 && (rows = Rows(dialog)).size() != count; ++i)
        Sleep(25);
    return rows;
}

void RestoreList(HWND window)
{
    const std::vector<Row> rows = Rows(window);
    if (std::none_of(rows.begin(), rows.end(), [](const Row& row) { return !row.mark.empty(); })) {
        ClickButton(window, IDC_RESTORE);
        return;
    }
    PostMessageW(GetDlgItem(window, IDC_RESTORE), BM_CLICK, 0, 0);
    Answer(WaitForMessageBox(L"请确认"), IDOK);
    Settle();
}

std::wstring Status(HWND dialog) { return WindowText(GetDlgItem(dialog, IDC_STATUS)); }

void RunMainWindow(const std::wstring& programPath, const std::function<void(HWND window)>& script)
{
    RunMainWindow(programPath, [&](HWND window, CModManagerDlg&) { script(window); });
}

void RunMainWindow(const std::wstring& programPath,
                   const std::function<void(HWND window, CModManagerDlg& dialog)>& script)
{
    CModManagerDlg dialog(programPath);
    RunDialog(dialog, [&] {
        HWND window = WaitForDialog(kCaptionStart);
        ASSERT_NE(window, nullptr);
        script(window, dialog);
    });
}

std::wstring ManagedPaks(const CModManagerDlg& dialog)
{
    std::wstring paks;
    OnUiThread([&] { paks = dialog.Folder().Paks(); });
    return paks;
}

std::wstring HistoryRoot()
{
    wchar_t appData[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
    return platform::JoinPath(platform::JoinPath(appData, L"PakOrder"), L"History");
}

std::wstring GameProgram(const CModManagerDlg& dialog)
{
    std::wstring game;
    OnUiThread([&] { game = dialog.Folder().GameProgram(); });
    return game;
}

GameFolder::GameFolder(bool withGame)
{
    testing_files::MakeFolder(paks);
    testing_files::WriteFileWithTime(Pak(L"DATA.PAK"), testing_files::Time(2012, 9, 20));
    if (withGame)
        testing_files::WriteFile(root / L"Torchlight2.exe", "game");
}

void PressKeys(HWND window, std::initializer_list<WORD> keys)
{
    // The keyboard goes to the foreground window, which the system may hand over late.
    for (int i = 0; i < 80 && GetForegroundWindow() != window; ++i) {
        OnUiThread([&] { SetForegroundWindow(window); });
        Sleep(25);
    }
    Sleep(50);  // and the X server its input focus
    std::vector<INPUT> inputs;
    for (WORD key : keys)
        inputs.push_back(INPUT{INPUT_KEYBOARD, {.ki = {key, 0, 0, 0, 0}}});
    for (auto key = keys.end(); key != keys.begin();)
        inputs.push_back(INPUT{INPUT_KEYBOARD, {.ki = {*--key, 0, KEYEVENTF_KEYUP, 0, 0}}});
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void FocusList(HWND window)
{
    OnUiThread([&] { SetFocus(GetDlgItem(window, IDC_MOD_LIST)); });
}

std::wstring Order(HWND window)
{
    std::wstring order;
    for (const Row& row : Rows(window))
        order += row.name.substr(0, 1) + (row.mark.empty() ? L"" : L"*");
    return order;
}

std::wstring OrderOnceItIs(HWND window, const std::wstring& expected)
{
    std::wstring order;
    for (int i = 0; i < 200 && (order = Order(window)) != expected; ++i)
        Sleep(25);
    return order;
}

std::wstring TooltipText(HWND window, UINT_PTR tool)
{
    std::wstring text;
    OnUiThread([&] {
        // The window has several tooltips (its buttons', the list's cells'): the one that has the tool.
        std::vector<HWND> tooltips;
        EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM l) -> BOOL {
            wchar_t name[64] = {};
            GetClassNameW(w, name, 64);
            if (std::wstring(name) == TOOLTIPS_CLASSW && GetWindow(w, GW_OWNER) == GetAncestor(w, GA_ROOTOWNER))
                reinterpret_cast<std::vector<HWND>*>(l)->push_back(w);
            return TRUE;
        }, reinterpret_cast<LPARAM>(&tooltips));
        for (HWND tooltip : tooltips) {
            wchar_t buffer[MAX_PATH * 2] = {};
            TTTOOLINFOW info{};
            info.cbSize = sizeof info;
            info.hwnd = window;
            info.uId = tool;
            if (!SendMessageW(tooltip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)))
                continue;
            info.lpszText = buffer;
            SendMessageW(tooltip, TTM_GETTEXTW, MAX_PATH * 2, reinterpret_cast<LPARAM>(&info));
            text = buffer;
        }
    });
    return text;
}

std::vector<std::wstring> ShortcutTips(HWND window)
{
    std::vector<std::wstring> tips;
    for (int button : {IDC_MOVE_TOP, IDC_MOVE_UP, IDC_MOVE_DOWN, IDC_MOVE_BOTTOM, IDC_RESTORE})
        tips.push_back(TooltipText(window, reinterpret_cast<UINT_PTR>(GetDlgItem(window, button))));
    return tips;
}

FourMods::FourMods()
{
    int day = 1;
    for (const wchar_t* name : {L"a.pak", L"b.pak", L"c.pak", L"d.pak"})
        testing_files::WriteFileWithTime(Pak(name), testing_files::Time(2021, 1, day++ * 2));
}

}  // namespace gui
