// Dragging rows inside the main window's list: an insertion mark between
// rows, the list scrolling near its edges, and the selected rows moved
// there as one move command on release. Esc, a release outside the list or
// a lost capture change nothing.

#include "app/ModManagerDlg.h"

#include <commctrl.h>
#include <windowsx.h>

#include "app/Globals.h"

namespace {

constexpr UINT kDragScrollMs = 60;

// The height of the list's rows, read off its top row (0 without rows).
int RowHeight(const CExtListCtrl& list)
{
    RECT row{};
    return list.GetItemRect(list.GetTopIndex(), &row, LVIR_BOUNDS) ? row.bottom - row.top : 0;
}

// A point the dialog was given, in the list's client coordinates.
POINT InList(HWND dialog, HWND list, LPARAM l)
{
    POINT point{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
    MapWindowPoints(dialog, list, &point, 1);
    return point;
}

}  // namespace

LRESULT CModManagerDlg::OnListBeginDrag(NMHDR*)
{
    // The list view has already selected an unselected row pressed on.
    if (g_paksFolder.empty() || SelectedRows().empty() ||
        static_cast<int>(arrangement_.Rows().size()) != modList_.GetItemCount())
        return 0;
    draggingRows_ = true;
    dragScroll_ = 0;
    SetCapture(m_hWnd);
    return 0;
}

int CModManagerDlg::InsertionRowAt(POINT inList) const
{
    const int count = modList_.GetItemCount();
    const int top = modList_.GetTopIndex();
    RECT first{};
    const int height = RowHeight(modList_);
    if (count == 0 || height <= 0 || !modList_.GetItemRect(top, &first, LVIR_BOUNDS))
        return 0;
    // Above a row's middle the rows land before it, below it after it.
    const int offset = inList.y - first.top + height / 2;
    const int row = top + (offset < 0 ? -1 : offset / height);
    return row < 0 ? 0 : (row > count ? count : row);
}

bool CModManagerDlg::OnMouseMove(WPARAM, LPARAM l, LRESULT& result)
{
    if (!draggingRows_)
        return false;
    const POINT point = InList(m_hWnd, modList_, l);
    RECT client{};
    ::GetClientRect(modList_, &client);
    RECT header{};
    ::GetWindowRect(modList_.GetHeader(), &header);
    const int top = client.top + (header.bottom - header.top);
    // Near the top or the bottom edge (or past it) the list scrolls.
    const int margin = RowHeight(modList_) > 0 ? RowHeight(modList_) : 16;
    const int scroll = point.y < top + margin ? -1 : point.y > client.bottom - margin ? 1 : 0;
    if (scroll != dragScroll_) {
        dragScroll_ = scroll;
        if (scroll != 0)
            SetTimer(m_hWnd, kDragScrollTimer, kDragScrollMs, nullptr);
        else
            KillTimer(m_hWnd, kDragScrollTimer);
    }
    modList_.SetInsertionMark(InsertionRowAt(point));
    result = 0;
    return true;
}

void CModManagerDlg::ScrollWhileDragging()
{
    if (!draggingRows_ || dragScroll_ == 0)
        return;
    modList_.Scroll(0, dragScroll_ * RowHeight(modList_));
    // The mark follows the rows under the pointer.
    POINT point{};
    GetCursorPos(&point);
    ScreenToClient(modList_, &point);
    modList_.SetInsertionMark(InsertionRowAt(point));
}

bool CModManagerDlg::OnLeftButtonUp(WPARAM, LPARAM l, LRESULT& result)
{
    if (!draggingRows_)
        return false;
    const POINT point = InList(m_hWnd, modList_, l);
    RECT client{};
    ::GetClientRect(modList_, &client);
    EndRowDrag(PtInRect(&client, point) != FALSE);
    result = 0;
    return true;
}

bool CModManagerDlg::OnCaptureChanged(WPARAM, LPARAM l, LRESULT&)
{
    if (draggingRows_ && reinterpret_cast<HWND>(l) != m_hWnd)
        EndRowDrag(false);
    return false;
}

void CModManagerDlg::EndRowDrag(bool drop)
{
    if (!draggingRows_)
        return;
    draggingRows_ = false;  // first: releasing the capture comes back here
    const int insertBefore = modList_.GetInsertionMark();
    KillTimer(m_hWnd, kDragScrollTimer);
    dragScroll_ = 0;
    modList_.SetInsertionMark(-1);
    if (GetCapture() == m_hWnd)
        ReleaseCapture();
    if (!drop || insertBefore < 0)
        return;
    const std::vector<int> selected = SelectedRows();
    if (const std::optional<int> target = arrangement_.MoveBefore(selected, insertBefore))
        ShowMove(selected, *target);
}
