#pragma once
// A temporary game folder and readers of what the real main window shows.

#include <functional>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "app/ModManagerDlg.h"
#include "gui/GuiHarness.h"
#include "platform/Paths.h"
#include "unit/TestFiles.h"

namespace gui {

inline const std::wstring kCaptionStart = L"PakOrder          (Ctrl";
// What a moved row's hidden column says until the order is written.
inline const std::wstring kMovedMark = L"已移动，未写入";

struct Row {
    int check;
    std::wstring name, date, mark;
    bool operator==(const Row& o) const { return check == o.check && name == o.name && date == o.date && mark == o.mark; }
};

std::ostream& operator<<(std::ostream& out, const Row& row);

// What the list shows, read on the UI thread.
std::vector<Row> Rows(HWND dialog);
std::wstring Status(HWND dialog);
// The rows once there are `count` of them, or after a few seconds: the list
// follows changes made outside the program in its own time.
std::vector<Row> RowsOnceThereAre(HWND dialog, std::size_t count);
// Presses "还原", agreeing to drop the moves not yet written when it asks.
void RestoreList(HWND window);
// Selects exactly these rows.
void Select(HWND window, const std::vector<int>& rows);
std::vector<int> SelectedRows(HWND window);
// A point inside a list cell, right of column 0's small-image area.
POINT CellPoint(HWND dialog, int row, int column);
// Drops the paths on the window as Explorer does.
void Drop(HWND window, const std::vector<std::wstring>& paths);
// Sets the date dialog's picker.
void SetPickerDate(HWND dialog, WORD year, WORD month, WORD day);
// Waits for the date dialog the main window opened, picks a date and ends it with the button.
void PickDate(WORD year, WORD month, WORD day, int button = IDOK);
CExtListCtrl* ModList(HWND dialog);
// Keys as the keyboard sends them, to the window once it has the focus.
void PressKeys(HWND window, std::initializer_list<WORD> keys);
void FocusList(HWND window);
// The rows' first letters, each moved row's followed by "*".
std::wstring Order(HWND window);
// The order once it shows `expected`, or after a few seconds; for what keys
// and other programs change, which arrives in its own time.
std::wstring OrderOnceItIs(HWND window, const std::wstring& expected);

// The tooltips of the buttons with shortcuts: to top, up, down, to the bottom, 还原.
// The text of one of the window's tooltips: `tool` is a control's handle or an id.
std::wstring TooltipText(HWND window, UINT_PTR tool);
std::vector<std::wstring> ShortcutTips(HWND window);

// Runs the main window of a program at `programPath` and, once it shows,
// the script with its window.
void RunMainWindow(const std::wstring& programPath, const std::function<void(HWND window)>& script);
// The same, the script also given the window's object, for what only it knows.
void RunMainWindow(const std::wstring& programPath,
                   const std::function<void(HWND window, CModManagerDlg& dialog)>& script);
// The folder the window manages and the game it starts, read on its thread.
std::wstring ManagedPaks(const CModManagerDlg& dialog);
std::wstring GameProgram(const CModManagerDlg& dialog);
// Where the program keeps its records, as it finds the folder.
std::wstring HistoryRoot();

// A game installation: PAKS with the game's data, optionally the game itself.
struct GameFolder {
    testing_files::TempFolder root;
    std::wstring paks = root / L"PAKS";
    explicit GameFolder(bool withGame = true);
    std::wstring Pak(const std::wstring& name) const { return platform::JoinPath(paks, name); }
    std::wstring Program() const { return root / L"PakOrder.exe"; }
};

// Four mods, a to d, loaded in that order.
struct FourMods : GameFolder {
    FourMods();
};

}  // namespace gui
