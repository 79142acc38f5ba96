// The list as programs that read it see it, rather than its drawing: column
// 0's check as the list view's own item state and text, and the captions'
// alignment apart from the cells'.

#include "controls/list/ExtListCtrl.h"

#include <algorithm>

namespace {

UINT StateImage(int checkState) { return INDEXTOSTATEIMAGEMASK(checkState == 1 ? 2 : 1); }

// A state image list whose images are one pixel wide: the state image area
// it gives column 0 is as good as none, so the cell's layout and its press
// handling stay as they are. The images are never drawn (the cells are).
HIMAGELIST NarrowStateImages()
{
    HIMAGELIST images = ImageList_Create(1, 1, ILC_COLOR4, 2, 0);
    if (images)
        ImageList_SetImageCount(images, 2);  // the list view counts on one per state
    return images;
}

}  // namespace

void CExtListCtrl::ShowChecksAsItemState(const std::wstring& cleared, const std::wstring& ticked)
{
    if (!checkWords_) {
        // The style tells readers the rows have check boxes; its own
        // images would widen column 0's state image area, ours do not.
        SetExtendedStyle(LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
        if (HIMAGELIST images = NarrowStateImages()) {
            if (HIMAGELIST old = SetImageList(images, LVSIL_STATE))
                ImageList_Destroy(old);
        }
    }
    checkWords_ = CheckWords{cleared, ticked};
    fw::CWindow::RedrawSuspender noRedraw(m_hWnd, fw::CWindow::RedrawSuspender::Repaint::ClientArea);
    for (int item = 0, count = GetItemCount(); item < count; ++item)
        ShowCheckAsItemState(item);
}

const std::wstring& CExtListCtrl::CheckText(int checkState) const
{
    return checkState == 1 ? checkWords_->ticked : checkWords_->cleared;
}

void CExtListCtrl::ShowCheckAsItemState(int item)
{
    const ListCellData* cell = KeepsCheckInItem(0) ? Cell(item, 0) : nullptr;
    if (!cell || cell->checkState < 0)
        return;
    LVITEMW lv{};
    lv.mask = LVIF_STATE | LVIF_TEXT;
    lv.iItem = item;
    lv.state = StateImage(cell->checkState);
    lv.stateMask = LVIS_STATEIMAGEMASK;
    lv.pszText = const_cast<wchar_t*>(CheckText(cell->checkState).c_str());
    changingCheckState_ = true;
    SetItem(lv);
    changingCheckState_ = false;
}

void CExtListCtrl::AddCheckAsItemState(LVITEMW& row, const CellArray& cells) const
{
    if (!KeepsCheckInItem(0) || cells.empty() || cells.front().checkState < 0)
        return;
    const int state = cells.front().checkState;
    row.mask |= LVIF_STATE;
    row.state = StateImage(state);
    row.stateMask = LVIS_STATEIMAGEMASK;
    row.pszText = const_cast<wchar_t*>(CheckText(state).c_str());
}

void CExtListCtrl::KeepInsertedCheck(int item, const CellArray& cells)
{
    // Wine's list view gives every row inserted into a list with check boxes
    // a cleared one, whatever the insertion asked for.
    if (!KeepsCheckInItem(0) || cells.empty() || cells.front().checkState < 0)
        return;
    const UINT wanted = StateImage(cells.front().checkState);
    if (GetItemState(item, LVIS_STATEIMAGEMASK) == wanted)
        return;
    changingCheckState_ = true;
    SetItemState(item, wanted, LVIS_STATEIMAGEMASK);
    changingCheckState_ = false;
}

LRESULT CExtListCtrl::OnItemChanging(NMHDR* header)
{
    // The list view toggles a check box on its own (Space, a press on the
    // state image) and others may set one: only this control's own changes
    // go through, the parent switching the row's mod first.
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
    const bool stateImage = (change->uChanged & LVIF_STATE) &&
                            ((change->uOldState ^ change->uNewState) & LVIS_STATEIMAGEMASK);
    return stateImage && checkWords_ && !changingCheckState_ ? TRUE : FALSE;
}

void CExtListCtrl::SetCaptionAlignment(int column, int justify)
{
    fw::CHeaderCtrl header(GetHeader());
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    if (!header.SendMessage(HDM_GETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item)))
        return;
    item.fmt = (item.fmt & ~HDF_JUSTIFYMASK) | (justify & HDF_JUSTIFYMASK);
    header.SendMessage(HDM_SETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
}

int CExtListCtrl::CellAlignment(int subItem) const
{
    return subItem >= 0 && static_cast<std::size_t>(subItem) < cellAlignments_.size()
               ? cellAlignments_[static_cast<std::size_t>(subItem)] : LVCFMT_LEFT;
}

void CExtListCtrl::KeepCellAlignment(int column, const LVCOLUMNW& inserted)
{
    if (column < 0)
        return;
    const int justify = (inserted.mask & LVCF_FMT) ? inserted.fmt & LVCFMT_JUSTIFYMASK : LVCFMT_LEFT;
    const auto at = std::min(static_cast<std::size_t>(column), cellAlignments_.size());
    cellAlignments_.insert(cellAlignments_.begin() + static_cast<std::ptrdiff_t>(at), justify);
}
