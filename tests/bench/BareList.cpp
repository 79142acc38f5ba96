// The benchmark's reference: the least a program must do for what
// PakOrder's list does, on the same window with a plain report list view.
// Started in a PAKS folder, it lists the mods of its own folder: one
// enumeration, one open per mod for its time, a sort, one insert per row.
// Its commands are those of the main window: 1006 refills, 1000 to 1003
// delete and re-insert the selected rows, IDOK writes new times to the
// marked rows (pak and ".MAN") and refills.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "app/Texts.h"
#include "res/resource.h"

namespace {

struct Mod {
    std::wstring name;
    ULONGLONG time = 0;
};

std::wstring g_folder;  // with a trailing backslash
std::vector<Mod> g_mods;
HWND g_list = nullptr;
HWND g_status = nullptr;

ULONGLONG Ticks(const FILETIME& time) { return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime; }

FILETIME Filetime(ULONGLONG ticks) { return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)}; }

bool IsMod(const wchar_t* name)
{
    const wchar_t* dot = std::wcsrchr(name, L'.');
    if (!dot || dot == name)
        return false;
    const std::wstring extension = dot + 1;
    return (extension == L"PAK" || extension == L"pak" || extension == L"G1O") &&
           !std::wcsstr(L"DATA.PAK|data.pak", name);
}

HANDLE OpenAttributes(const std::wstring& name, DWORD access)
{
    return CreateFileW((g_folder + name).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

void WriteTime(const std::wstring& name, ULONGLONG ticks)
{
    const HANDLE file = OpenAttributes(name, FILE_WRITE_ATTRIBUTES);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const FILETIME time = Filetime(ticks);
    SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
}

std::wstring DateText(ULONGLONG ticks)
{
    const FILETIME time = Filetime(ticks);
    SYSTEMTIME fields{};
    FileTimeToSystemTime(&time, &fields);
    wchar_t text[32];
    swprintf(text, 32, L"%d-%d-%d", fields.wYear, fields.wMonth, fields.wDay);
    return text;
}

void ReadFolder()
{
    g_mods.clear();
    WIN32_FIND_DATAW found{};
    const HANDLE find = FindFirstFileW((g_folder + L"*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsMod(found.cFileName))
            g_mods.push_back(Mod{found.cFileName, Ticks(found.ftLastWriteTime)});
    } while (FindNextFileW(find, &found));
    FindClose(find);

    for (Mod& mod : g_mods) {
        const HANDLE file = OpenAttributes(mod.name, FILE_READ_ATTRIBUTES);
        FILETIME time{};
        if (file != INVALID_HANDLE_VALUE && GetFileTime(file, nullptr, nullptr, &time))
            mod.time = Ticks(time);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }
    std::reverse(g_mods.begin(), g_mods.end());
    std::stable_sort(g_mods.begin(), g_mods.end(), [](const Mod& a, const Mod& b) { return a.time < b.time; });
}

void SetText(int row, int column, const std::wstring& text)
{
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(g_list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::wstring GetText(int row, int column)
{
    wchar_t text[MAX_PATH] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    SendMessageW(g_list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

LPARAM GetParam(int row)
{
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    ListView_GetItem(g_list, &item);
    return item.lParam;
}

int InsertRow(int row, LPARAM param, UINT state)
{
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
    item.iItem = row;
    item.pszText = const_cast<wchar_t*>(L"");
    item.lParam = param;
    item.state = item.stateMask = state;
    return static_cast<int>(SendMessageW(g_list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void Refill()
{
    SendMessageW(g_list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(g_list);
    ReadFolder();
    for (std::size_t i = 0; i < g_mods.size(); ++i) {
        const int row = InsertRow(static_cast<int>(i), static_cast<LPARAM>(i), 0);
        SetText(row, 1, g_mods[i].name);
        SetText(row, 2, DateText(g_mods[i].time));
    }
    SendMessageW(g_list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(g_list, nullptr, TRUE);
    wchar_t count[64];
    swprintf(count, 64, texts::kModCount.Words(), ListView_GetItemCount(g_list));
    SetWindowTextW(g_status, count);
}

void Move(int command)
{
    std::vector<int> selected;
    for (int row = ListView_GetNextItem(g_list, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(g_list, row, LVNI_SELECTED))
        selected.push_back(row);
    const int count = ListView_GetItemCount(g_list), n = static_cast<int>(selected.size());
    if (n == 0 || ((command == IDC_MOVE_TOP || command == IDC_MOVE_UP) && selected.front() == 0))
        return;
    const int target = command == IDC_MOVE_TOP ? 0
                       : command == IDC_MOVE_UP ? selected.front() - 1
                       : command == IDC_MOVE_DOWN && selected.back() + 1 < count ? selected.back() + 2 - n
                       : count - n;

    struct Row {
        std::wstring name, date;
        LPARAM param;
    };
    std::vector<Row> block;
    for (int row : selected)
        block.push_back(Row{GetText(row, 1), GetText(row, 2), GetParam(row)});
    SendMessageW(g_list, WM_SETREDRAW, FALSE, 0);
    for (auto row = selected.rbegin(); row != selected.rend(); ++row)
        ListView_DeleteItem(g_list, *row);
    for (auto moved = block.rbegin(); moved != block.rend(); ++moved) {
        const int row = InsertRow(target, moved->param, LVIS_SELECTED | LVIS_FOCUSED);
        SetText(row, 1, moved->name);
        SetText(row, 2, moved->date);
        SetText(row, 3, texts::kOrderChangedMark);
    }
    SendMessageW(g_list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(g_list, nullptr, TRUE);
}

ULONGLONG NowInYear(WORD year)
{
    SYSTEMTIME now{};
    GetSystemTime(&now);
    now.wYear = year;
    if (now.wMonth == 2 && now.wDay == 29)
        now.wDay = 28;
    FILETIME time{};
    SystemTimeToFileTime(&now, &time);
    return Ticks(time);
}

// Each run of marked rows gets times spread evenly between its neighbours'.
void WriteOrder()
{
    const int count = ListView_GetItemCount(g_list);
    std::vector<const Mod*> rows;
    std::vector<bool> marked;
    for (int row = 0; row < count; ++row) {
        rows.push_back(&g_mods[static_cast<std::size_t>(GetParam(row))]);
        marked.push_back(!GetText(row, 3).empty());
    }
    for (int i = 0; i < count;) {
        if (!marked[static_cast<std::size_t>(i)]) {
            ++i;
            continue;
        }
        int k = i;
        while (k < count && marked[static_cast<std::size_t>(k)])
            ++k;
        const ULONGLONG lower = i == 0 ? NowInYear(2020) : rows[static_cast<std::size_t>(i - 1)]->time;
        const ULONGLONG upper = k < count ? rows[static_cast<std::size_t>(k)]->time : NowInYear(2105);
        const ULONGLONG step = upper > lower ? (upper - lower) / static_cast<ULONGLONG>(k - i + 1) : 0;
        for (int row = i; row < k; ++row) {
            const ULONGLONG time = lower + static_cast<ULONGLONG>(row - i + 1) * step;
            WriteTime(rows[static_cast<std::size_t>(row)]->name, time);
            WriteTime(rows[static_cast<std::size_t>(row)]->name + L".MAN", time);
        }
        i = k + 1;
    }
    Refill();
}

void SetUpList()
{
    ListView_SetExtendedListViewStyleEx(g_list, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    ListView_SetImageList(g_list, ImageList_Create(10, 32, ILC_COLOR4, 10, 10), LVSIL_SMALL);
    const wchar_t* titles[] = {texts::kColumnEnabled, texts::kColumnName, texts::kColumnDate, texts::kColumnOrderChanged};
    const int formats[] = {LVCFMT_LEFT, LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_LEFT};
    const int widths[] = {42, 380, 90, 1};
    for (int i = 0; i < 4; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = formats[i];
        column.cx = widths[i];
        column.pszText = const_cast<wchar_t*>(titles[i]);
        column.iSubItem = i;
        SendMessageW(g_list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM w, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        g_list = GetDlgItem(dialog, IDC_MOD_LIST);
        g_status = GetDlgItem(dialog, IDC_STATUS);
        SetUpList();
        Refill();
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(w)) {
        case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
        case IDOK: WriteOrder(); return TRUE;
        case IDC_RESTORE: Refill(); return TRUE;
        case IDC_MOVE_TOP:
        case IDC_MOVE_UP:
        case IDC_MOVE_DOWN:
        case IDC_MOVE_BOTTOM: Move(LOWORD(w)); return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    g_folder = path;
    g_folder.erase(g_folder.rfind(L'\\') + 1);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    return static_cast<int>(DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_MODMANAGER_DIALOG), nullptr, DialogProc, 0));
}
