#include "app/ModListView.h"

#include <unordered_map>

#include "app/ConflictGlyphs.h"
#include "app/Texts.h"
#include "mods/ModFile.h"

namespace {

constexpr int kColumnCheck = ModListView::kColumnCheck;
constexpr int kColumnDate = ModListView::kColumnDate;

constexpr COLORREF kDisabledTextColor = RGB(220, 220, 220);
constexpr COLORREF kEnabledTextColor = RGB(0, 0, 0);
constexpr COLORREF kRowBackColor = RGB(255, 255, 255);

// The text colour of a mod's check, name and date cells: grey when disabled.
COLORREF ModTextColor(bool enabled) { return enabled ? kEnabledTextColor : kDisabledTextColor; }

// A new row's cells: its check box and, when `coloured`, the colours
// ShowColours gives it. An enabled mod's unmoved row keeps the list's colours.
std::vector<ListCellData> ModRowCells(const CExtListCtrl& list, bool enabled, bool coloured)
{
    std::vector<ListCellData> cells = list.NewRowCells();
    if (cells.empty())
        return cells;
    cells[kColumnCheck].checkState = enabled ? 1 : 0;
    for (std::size_t column = kColumnCheck; coloured && column <= kColumnDate && column < cells.size(); ++column) {
        cells[column].textColor = ModTextColor(enabled);
        cells[column].backColor = kRowBackColor;
    }
    return cells;
}

}  // namespace

void ModListView::SetUp(ContextMenuCallback deleteRow)
{
    deleteRow_ = std::move(deleteRow);
    list_.SetExtendedStyle(0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    SetRowHeight();
    const fw::DpiScale& px = list_.Scale();
    list_.InsertColumn(kColumnCheck, texts::kColumnEnabled, LVCFMT_LEFT, px(42));
    list_.InsertColumn(kColumnName, texts::kColumnName, LVCFMT_LEFT, px(380));
    list_.InsertColumn(kColumnDate, texts::kColumnDate, LVCFMT_RIGHT, px(90));
    list_.InsertColumn(kColumnMark, texts::kColumnOrderChanged, LVCFMT_LEFT, px(1));
    list_.InsertColumn(kColumnConflicts, texts::kColumnConflicts, LVCFMT_LEFT, px(44));
    list_.SetColumnPainter(kColumnConflicts, [this](HDC dc, int row, const RECT& cell, COLORREF text, COLORREF back) {
        PaintMarks(dc, row, cell, text, back);
    });
    list_.SetCellTips([this](int row, int column) {
        if (column == kColumnConflicts)
            return list_.GetItemText(row, column);
        return column == kColumnName && nameTip_ ? nameTip_(row) : std::wstring();
    });
    list_.SetContextMenu(texts::kDeleteMenuItem, deleteRow_, nullptr, nullptr);
    ShowTextsForReaders();
}

void ModListView::ShowTexts()
{
    const wchar_t* const headings[] = {texts::kColumnEnabled, texts::kColumnName, texts::kColumnDate,
                                       texts::kColumnOrderChanged};
    for (int column = 0; column < list_.GetColumnCount() && column < 4; ++column)
        list_.SetColumnText(column, headings[column]);
    if (list_.GetColumnCount() > kColumnConflicts)
        list_.SetColumnText(kColumnConflicts, texts::kColumnConflicts);
    if (IsSetUp()) {
        list_.SetContextMenu(texts::kDeleteMenuItem, deleteRow_, nullptr, nullptr);
        ShowTextsForReaders();
    }
}

void ModListView::ShowTextsForReaders()
{
    list_.SetCaptionAlignment(kColumnName, HDF_CENTER);
    list_.ShowChecksAsItemState(texts::kModDisabled, texts::kModEnabled);
    fw::CWindow::RedrawSuspender noRedraw(list_, fw::CWindow::RedrawSuspender::Repaint::ClientArea);
    const std::vector<mods::ArrangedMod>& rows = arrangement_.Rows();
    for (int row = 0; row < static_cast<int>(rows.size()) && row < list_.GetItemCount(); ++row)
        if (rows[static_cast<std::size_t>(row)].marked)
            list_.SetItemText(row, kColumnMark, texts::kOrderChangedMark);
}

void ModListView::SetDpi(UINT dpi)
{
    list_.SetDpi(dpi);
    SetRowHeight();
}

void ModListView::SetRowHeight()
{
    // Never holds an image: its height, 32 pixels at 96 DPI, sets the rows' height.
    const fw::DpiScale& px = list_.Scale();
    // The list view destroys the list it holds when it goes; one it lets go of is ours.
    if (HIMAGELIST old = list_.SetImageList(ImageList_Create(px(10), px(32), ILC_COLOR4, 10, 10), LVSIL_SMALL))
        ImageList_Destroy(old);
}

void ModListView::ShowAll(const std::vector<std::wstring>& selectedNames, bool keepView)
{
    const int topRow = keepView ? list_.GetTopIndex() : 0;
    {
        fw::CWindow::RedrawSuspender noRedraw(list_);
        list_.DeleteAllItems();
        marks_.clear();
        lit_.clear();
        shownWords_.clear();
        // Inserting at the top, last first, leaves the first row in row 0.
        const std::vector<mods::ArrangedMod>& rows = arrangement_.Rows();
        for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
            const bool enabled = !mods::IsDisabledModName(row->name);
            list_.InsertRow(0, ModRowCells(list_, enabled, !enabled || row->marked),
                            {L"", row->name, mods::FormatFileDate(row->time),
                             row->marked ? texts::kOrderChangedMark : L""});
            shownWords_.emplace(row->name, std::wstring());  // no marks yet
        }
        // Back to the rows the player was looking at.
        RECT first{};
        if (topRow > 0 && list_.GetItemRect(0, &first, LVIR_BOUNDS))
            list_.Scroll(0, topRow * (first.bottom - first.top));
    }
    Select(selectedNames);
}

void ModListView::ShowRow(int row)
{
    if (row < 0 || row >= static_cast<int>(arrangement_.Rows().size()))
        return;
    const mods::ArrangedMod& mod = arrangement_.Rows()[static_cast<std::size_t>(row)];
    const bool enabled = !mods::IsDisabledModName(mod.name);
    list_.SetCellCheck(row, kColumnCheck, enabled ? 1 : 0);
    list_.SetItemText(row, kColumnName, mod.name);
    ShowColours(row, enabled);
}

void ModListView::ShowTicked(int row, bool ticked) { list_.SetCellCheck(row, kColumnCheck, ticked ? 1 : 0); }

void ModListView::ShowColours(int row, bool enabled)
{
    list_.SetRowColors(row, kColumnCheck, kColumnDate, ModTextColor(enabled), kRowBackColor);
    list_.SetCellColors(row, kColumnConflicts, ModTextColor(true), kRowBackColor);
    list_.RedrawRow(row);
}

void ModListView::ShowMove(const std::vector<int>& selected, int target)
{
    {
        // The rows are the same in number: the scroll bars and the header stay.
        fw::CWindow::RedrawSuspender noRedraw(list_, fw::CWindow::RedrawSuspender::Repaint::ClientArea);
        if (list_.MoveRows(selected, target)) {
            // Each moved row gets its state's colours and the mark.
            const int end = target + static_cast<int>(selected.size());
            for (int row = target; row < end; ++row) {
                ShowColours(row, !mods::IsDisabledModName(arrangement_.Rows()[static_cast<std::size_t>(row)].name));
                list_.SetItemText(row, kColumnMark, texts::kOrderChangedMark);
            }
            list_.SetItemState(target, LVIS_FOCUSED, LVIS_FOCUSED);
            list_.SetSelectionMark(target);
            return;
        }
    }
    // The list could not move its rows: all of them are drawn again.
    std::vector<std::wstring> names;
    for (int i = 0; i < static_cast<int>(selected.size()); ++i)
        names.push_back(arrangement_.Rows()[static_cast<std::size_t>(target + i)].name);
    ShowAll(names, true);
}

void ModListView::ShowMarks(std::vector<RowMark> marks)
{
    const int count = list_.GetItemCount();
    const std::vector<mods::ArrangedMod>& rows = arrangement_.Rows();
    if ((!marks.empty() && static_cast<int>(marks.size()) != count) || static_cast<int>(rows.size()) != count)
        return;
    marks_ = std::move(marks);
    // The same words mean the same marks: only cells that change are touched.
    // A row refilled holds none; one renamed is asked for its own.
    std::vector<int> changed;
    for (int row = 0; row < count; ++row) {
        const std::wstring& name = rows[static_cast<std::size_t>(row)].name;
        const std::wstring& words = marks_.empty() ? std::wstring() : marks_[static_cast<std::size_t>(row)].words;
        const auto shown = shownWords_.find(name);
        const std::wstring& now = shown != shownWords_.end() ? shown->second : (shownWords_[name] = list_.GetItemText(row, kColumnConflicts));
        if (now != words)
            changed.push_back(row);
    }
    if (changed.empty())
        return;
    const fw::CWindow::RedrawSuspender noRedraw(list_, fw::CWindow::RedrawSuspender::Repaint::ClientArea);
    for (int row : changed) {
        const std::wstring& words = marks_.empty() ? std::wstring() : marks_[static_cast<std::size_t>(row)].words;
        if (list_.SetItemText(row, kColumnConflicts, words))
            shownWords_[rows[static_cast<std::size_t>(row)].name] = words;
    }
}

void ModListView::PaintMarks(HDC dc, int row, const RECT& cell, COLORREF text, COLORREF back) const
{
    if (row < 0 || static_cast<std::size_t>(row) >= marks_.size())
        return;
    // On the selection's colours every mark takes the selection's text colour.
    const bool selected = back != list_.GetCellBackColor(row, kColumnConflicts);
    DrawConflictGlyphs(dc, cell, marks_[static_cast<std::size_t>(row)], text, selected, list_.Scale());
}

COLORREF ModListView::LightColor(RowLight light)
{
    switch (light) {
    case RowLight::Overridden: return RGB(200, 240, 200);
    case RowLight::Overriding: return RGB(255, 222, 185);
    case RowLight::None: break;
    }
    return kRowBackColor;
}

void ModListView::ShowLights(const std::vector<RowLight>& lights)
{
    const std::vector<mods::ArrangedMod>& rows = arrangement_.Rows();
    for (int row : lit_)
        if (row < static_cast<int>(rows.size()) && row < list_.GetItemCount())
            ShowColours(row, !mods::IsDisabledModName(rows[static_cast<std::size_t>(row)].name));
    lit_.clear();
    for (int row = 0; row < static_cast<int>(lights.size()) && row < list_.GetItemCount(); ++row) {
        const RowLight light = lights[static_cast<std::size_t>(row)];
        if (light == RowLight::None)
            continue;
        const bool enabled = !mods::IsDisabledModName(rows[static_cast<std::size_t>(row)].name);
        list_.SetRowColors(row, kColumnCheck, kColumnConflicts, ModTextColor(enabled), LightColor(light));
        list_.RedrawRow(row);
        lit_.push_back(row);
    }
}

std::vector<int> ModListView::SelectedRows() const
{
    std::vector<int> selected;
    for (int row = list_.GetNextItem(-1, LVNI_SELECTED); row >= 0; row = list_.GetNextItem(row, LVNI_SELECTED))
        selected.push_back(row);
    return selected;
}

std::vector<std::wstring> ModListView::SelectedNames() const
{
    std::vector<std::wstring> names;
    const std::vector<mods::ArrangedMod>& rows = arrangement_.Rows();
    for (int row : SelectedRows())
        if (row < static_cast<int>(rows.size()))
            names.push_back(rows[static_cast<std::size_t>(row)].name);
    return names;
}

void ModListView::Select(const std::vector<std::wstring>& names)
{
    if (names.empty())
        return;
    // One pass over the rows.
    std::unordered_map<std::wstring, int> rowOf;
    const std::vector<mods::ArrangedMod>& rows = arrangement_.Rows();
    for (int row = 0; row < static_cast<int>(rows.size()); ++row)
        rowOf[rows[static_cast<std::size_t>(row)].name] = row;
    for (const std::wstring& name : names) {
        const auto found = rowOf.find(name);
        if (found == rowOf.end())
            continue;
        list_.SetSelectionMark(found->second);
        list_.SetItemState(found->second, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
}

void ModListView::GoTo(int row)
{
    ClearSelection();
    list_.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    list_.SetSelectionMark(row);
    list_.EnsureVisible(row, FALSE);
}
