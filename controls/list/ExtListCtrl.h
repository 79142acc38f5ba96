#pragma once
// A report list view that keeps per-cell colours and check boxes, draws its
// cells itself and reports check box clicks to its parent.

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/DpiScale.h"
#include "framework/MessageMap.h"
#include "controls/list/XHeaderCtrl.h"
#include "framework/SubclassedWindow.h"

struct ListCellData {
    COLORREF textColor;
    COLORREF backColor;
    int checkState = -1;  // -1: no check box; 0: cleared; 1: ticked
};

// A context menu command, given the row the menu was opened on.
using ContextMenuCallback = std::function<void(int row)>;

// Draws a cell in place of its text: its rectangle and its colours, the
// selection's applied, with the background already filled.
using CellPainter = std::function<void(HDC dc, int row, const RECT& cell, COLORREF text, COLORREF back)>;
// Items the context menu adds below its own for the row it opens on, with
// commands from CExtListCtrl::kFirstAddedMenuCommand on; the other is given the command picked.
using ContextMenuAdder = std::function<void(HMENU menu, int row)>;
using AddedMenuCallback = std::function<void(UINT command, int row)>;
// The words of a cell's tooltip; empty for none.
using CellTip = std::function<std::wstring(int row, int column)>;

// Sent to the parent after a click toggled a check box: wParam row, lParam column.
extern const UINT WM_XLISTCTRL_CHECKBOX_CLICKED;

class CExtListCtrl : public fw::CListViewCtrl, public fw::WindowSubclass {
public:
    static constexpr UINT kFirstMenuCommand = 1035;
    static constexpr UINT kSecondMenuCommand = 1036;
    static constexpr UINT kFirstAddedMenuCommand = 1100;
    static constexpr UINT kAddedMenuCommands = 200;
    static constexpr int kTextMargin = 5;  // at 96 DPI, as every length the list draws

    CExtListCtrl();
    ~CExtListCtrl() override;

    // Takes over the dialog's list control.
    bool SubclassDlgItem(HWND dialog, int id);

    int InsertItem(int index, const std::wstring& text);
    // The cells InsertItem gives a new row: the default colours, no check boxes.
    std::vector<ListCellData> NewRowCells() const;
    // Inserts a row with its cells and its texts (texts[i] in column i) at
    // once, without looking the row up for each cell; missing cells get the
    // defaults. The row paints with the list's next paint, as any new row.
    // The new row's index, or -1.
    int InsertRow(int index, std::vector<ListCellData> cells, const std::vector<std::wstring>& texts);
    BOOL SetItemText(int item, int subItem, const std::wstring& text);
    BOOL DeleteItem(int item);
    BOOL DeleteAllItems();
    // Moves the rows (ascending indexes) as one block to rows target..target
    // + n - 1 of the new order; the other rows keep their order, and every row
    // keeps its cells, texts and state (selected, focused). False, with
    // nothing moved, for a bad row or target or a row without cells.
    bool MoveRows(const std::vector<int>& rows, int target);

    BOOL SetCellCheck(int item, int subItem, int state);
    int GetCellCheck(int item, int subItem) const;
    // Stores the colours without repainting; the next paint shows them.
    void SetCellColors(int item, int subItem, COLORREF textColor, COLORREF backColor);
    // The same colours for the row's cells firstSubItem..lastSubItem, in one lookup.
    void SetRowColors(int item, int firstSubItem, int lastSubItem, COLORREF textColor, COLORREF backColor);
    // Repaints the row, or nothing while drawing is suspended: the resume paints it.
    void RedrawRow(int item);
    // A null second text keeps the second item as it was.
    void SetContextMenu(const std::wstring& firstText, ContextMenuCallback firstCallback, const wchar_t* secondText,
                        ContextMenuCallback secondCallback);

    // Column 0's check kept as the list view's own item state too, for
    // programs that read the list rather than see it (screen readers): the
    // state image as LVS_EX_CHECKBOXES keeps it (1 cleared, 2 ticked) and
    // the item's text, `cleared` or `ticked`, which the drawn box covers.
    // The list view's own toggling is refused: a check changes only through
    // this control. Called again (another language), every row's words change.
    void ShowChecksAsItemState(const std::wstring& cleared, const std::wstring& ticked);
    // Aligns the column's caption alone (HDF_LEFT, HDF_CENTER or HDF_RIGHT):
    // its cells keep the alignment the column was inserted with.
    void SetCaptionAlignment(int column, int justify);

    int GetColumnCount() const;

    // The column's cells are drawn by `painter`; their texts stay for readers.
    void SetColumnPainter(int subItem, CellPainter painter);
    COLORREF GetCellBackColor(int item, int subItem) const;
    void SetContextMenuAdder(ContextMenuAdder add, AddedMenuCallback picked);
    // A tooltip over the cells, its words asked for each cell the mouse rests on.
    void SetCellTips(CellTip tip);
    BOOL GetCellRect(int item, int subItem, RECT* rect) const;
    // Paints the cell at once; while drawing is suspended (WM_SETREDRAW) it
    // leaves it to the repaint that ends the suspension.
    void RedrawCell(int item, int subItem);
    // A line between rows, where rows dragged would land: above `row`, or
    // below the last row for the row count; -1 takes it away.
    void SetInsertionMark(int row);
    int GetInsertionMark() const { return insertionMark_; }
    int GetSelectedItem() const;
    BOOL SelectItem(int item, BOOL ensureVisible);
    void LoadSystemColors();
    // The DPI the cells and the header are drawn at: the window's when it is
    // taken over, then the one its parent gives when it moves to a monitor
    // of another DPI. A change scales the column widths with it.
    const fw::DpiScale& Scale() const { return scale_; }
    void SetDpi(UINT dpi);

    bool OnReflectedMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result) override;

private:
    using CellArray = std::vector<ListCellData>;
    // Each row's item data: its cells, one per column, and its place in the
    // order MoveRows is making.
    struct RowData {
        CellArray cells;
        int place;
    };

    struct SystemColors {
        COLORREF window, windowText, highlight, highlightText, buttonFace;
    };

    ListCellData DefaultCell() const;
    RowData* Row(int item) const;  // null for a row without cells
    CellArray* Cells(int item) const;
    ListCellData* Cell(int item, int subItem) const;  // null when out of range
    void ReleaseCells(int item);
    void ReleaseAllCells();
    static int CALLBACK ComparePlaces(LPARAM first, LPARAM second, LPARAM);

    void ApplySelectionColors(int item, int subItem, COLORREF& text, COLORREF& back) const;
    void DrawTextCell(HDC dc, int item, int subItem, RECT rect, COLORREF text, COLORREF back) const;
    void DrawCheckBoxCell(HDC dc, int item, int subItem, RECT rect, COLORREF text, COLORREF back, int checkState) const;
    void DrawEmptyListText() const;
    // The justification (LVCFMT_LEFT, _CENTER or _RIGHT) of the column's cells.
    int CellAlignment(int subItem) const;
    void KeepCellAlignment(int column, const LVCOLUMNW& inserted);

    // Column 0's check as item state (ShowChecksAsItemState).
    struct CheckWords {
        std::wstring cleared, ticked;
    };
    bool KeepsCheckInItem(int subItem) const { return subItem == 0 && checkWords_.has_value(); }
    const std::wstring& CheckText(int checkState) const;
    // The row's state image and text, from its column 0 check.
    void ShowCheckAsItemState(int item);
    // Fills in the state image and text of a row about to be inserted.
    void AddCheckAsItemState(LVITEMW& row, const CellArray& cells) const;
    // The state image of a row just inserted, if the list view did not keep it.
    void KeepInsertedCheck(int item, const CellArray& cells);
    LRESULT OnItemChanging(NMHDR* header);
    // The insertion mark's rectangle; empty when it shows nowhere.
    RECT InsertionMarkRect(int row) const;

    // The left-button procedure, for a left or right press: toggles a check
    // box under the point, tells the parent, then lets the list view handle
    // the press. False when the press hit a row without cells and was ignored.
    bool HandlePress(UINT message, WPARAM flags, LPARAM point);
    int HitRow(LPARAM point) const;  // the row whose label is under the point, or -1
    void ShowContextMenu(int row);
    void SubclassHeader();

    bool ProcessWindowMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result) override;
    bool OnCreate(WPARAM w, LPARAM l, LRESULT& result);
    bool OnLeftButtonDown(WPARAM w, LPARAM l, LRESULT& result);
    bool OnRightButtonDown(WPARAM w, LPARAM l, LRESULT& result);
    bool OnKeyDown(WPARAM w, LPARAM l, LRESULT& result);
    bool OnCommand(WPARAM w, LPARAM l, LRESULT& result);
    bool OnPaint(WPARAM w, LPARAM l, LRESULT& result);
    bool OnEraseBackground(WPARAM w, LPARAM l, LRESULT& result);
    bool OnSysColorChange(WPARAM w, LPARAM l, LRESULT& result);
    bool OnSetRedraw(WPARAM w, LPARAM l, LRESULT& result);
    // The column count is kept; these run the list view's handling, then forget it.
    bool ChangeColumns(UINT message, WPARAM w, LPARAM l, LRESULT& result);
    bool OnInsertColumnW(WPARAM w, LPARAM l, LRESULT& result);
    bool OnInsertColumnA(WPARAM w, LPARAM l, LRESULT& result);
    bool OnDeleteColumn(WPARAM w, LPARAM l, LRESULT& result);
    bool OnDestroy(WPARAM w, LPARAM l, LRESULT& result);
    LRESULT OnCustomDraw(NMHDR* header);
    bool PaintCell(HDC dc, int item, int subItem, RECT rect, COLORREF text, COLORREF back) const;
    bool OnMouseMove(WPARAM w, LPARAM l, LRESULT& result);
    bool OnNotify(WPARAM w, LPARAM l, LRESULT& result);

    static const fw::MessageEntry<CExtListCtrl> kMessages[];

    std::wstring menuText1_, menuText2_;
    ContextMenuCallback menuCallback1_;
    ContextMenuCallback menuCallback2_;
    int menuItem_ = -1;
    ContextMenuAdder menuAdder_;
    AddedMenuCallback addedMenuPicked_;
    std::vector<CellPainter> painters_;  // by column; empty: the cell's text
    CellTip cellTip_;
    HWND tip_ = nullptr;  // destroyed with the list, whose child it is not: see OnDestroy
    POINT tipCell_{-1, -1};  // (column, row) the tooltip tells of
    std::wstring tipText_;
    int insertionMark_ = -1;
    SystemColors colors_{};
    fw::DpiScale scale_;
    CXHeaderCtrl header_;
    bool headerSubclassed_ = false;
    bool redrawSuspended_ = false;  // between WM_SETREDRAW FALSE and TRUE
    std::vector<int> cellAlignments_;  // per column, as inserted
    std::optional<CheckWords> checkWords_;
    bool changingCheckState_ = false;  // a state image change of ours, not to be refused
    mutable int columnCount_ = -1;  // the header's item count; -1 until asked after a column change
};
