#pragma once
// The mod list as the main window shows it: the list control drawing the
// arrangement's rows, each with its check box, its colours (grey for a
// disabled mod), its date and, once moved, its mark. The rows come from the
// arrangement alone; the list keeps only what the player points at: the
// selection, the focus and where it is scrolled. Its last column shows the
// conflict marks the window works out for the rows, as glyphs and, for
// readers, as the cell's text; one row selected lights the rows related to it.

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/ConflictMarks.h"
#include "controls/list/ExtListCtrl.h"
#include "framework/Controls.h"
#include "mods/Arrangement.h"

class ModListView {
public:
    static constexpr int kColumnCheck = 0, kColumnName = 1, kColumnDate = 2, kColumnMark = 3, kColumnConflicts = 4;

    explicit ModListView(const mods::Arrangement& arrangement) : arrangement_(arrangement) {}

    // Takes over the dialog's list control.
    void Attach(HWND dialog, int id) { list_.SubclassDlgItem(dialog, id); }
    CExtListCtrl& Control() { return list_; }
    // The columns, the rows' height and the context menu's command "delete".
    void SetUp(ContextMenuCallback deleteRow);
    bool IsSetUp() const { return list_.GetColumnCount() > 0; }
    // The headings and the context menu in the language shown.
    void ShowTexts();
    // The window moved to a monitor of another DPI.
    void SetDpi(UINT dpi);

    // Draws every row again: the rows named are selected. `keepView` keeps
    // the rows the player was looking at in view; without it the list shows
    // its top with nothing selected.
    void ShowAll(const std::vector<std::wstring>& selectedNames, bool keepView);
    // Draws one row again, after its mod was switched or renamed.
    void ShowRow(int row);
    // The row's check box as the player set it, before the switch is written.
    void ShowTicked(int row, bool ticked);
    // Shows a move the arrangement made: the rows `selected` moved to
    // `target`, marked, still selected, the first of them focused.
    void ShowMove(const std::vector<int>& selected, int target);

    // The rows' conflict marks (one per row; none: no marks), drawn and
    // given to each conflicts cell as its text; a cell whose words stay is not touched.
    void ShowMarks(std::vector<RowMark> marks);
    // Lights rows for the one row selected (one per row; none: none lit).
    void ShowLights(const std::vector<RowLight>& lights);
    static COLORREF LightColor(RowLight light);
    // The words of the name cells' tooltip, given a row.
    void SetNameTips(std::function<std::wstring(int row)> tip) { nameTip_ = std::move(tip); }

    std::vector<int> SelectedRows() const;  // ascending
    int SelectedCount() const { return static_cast<int>(list_.SendMessage(LVM_GETSELECTEDCOUNT, 0, 0)); }
    std::vector<std::wstring> SelectedNames() const;
    int FocusedRow() const { return list_.GetNextItem(-1, LVNI_FOCUSED); }
    // Adds the rows of these names to the selection, the last one focused;
    // a name on two rows selects the lower one.
    void Select(const std::vector<std::wstring>& names);
    void SelectAll() { list_.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED); }
    void ClearSelection() { list_.SetItemState(-1, 0, LVIS_SELECTED); }
    // Selects and focuses the row alone, and scrolls it into view.
    void GoTo(int row);
    void ScrollTo(int row) { list_.EnsureVisible(row, FALSE); }

private:
    // What readers of the list hear: each row's state and move in words,
    // in the language shown, and the name caption centred.
    void ShowTextsForReaders();
    void SetRowHeight();
    void ShowColours(int row, bool enabled);
    void PaintMarks(HDC dc, int row, const RECT& cell, COLORREF text, COLORREF back) const;

    const mods::Arrangement& arrangement_;
    CExtListCtrl list_;
    ContextMenuCallback deleteRow_;
    std::vector<RowMark> marks_;  // by row; empty until the marks are known
    // The words each mod's conflicts cell holds: asking the list for every
    // row's text after each move costs more than the move.
    std::unordered_map<std::wstring, std::wstring> shownWords_;
    std::vector<int> lit_;        // the rows lit now
    std::function<std::wstring(int row)> nameTip_;
};
