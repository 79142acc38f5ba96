#include "app/RowDrag.h"

#include <commctrl.h>
#include <windowsx.h>

#include "app/InsertionRow.h"
#include "controls/list/ExtListCtrl.h"

namespace {

constexpr UINT kScrollMs = 60;

// The height of the list's rows, read off its top row (0 without rows).
int RowHeight(const CExtListCtrl& list)
{
    RECT row{};
    return list.GetItemRect(list.GetTopIndex(), &row, LVIR_BOUNDS) ? row.bottom - row.top : 0;
}

}  // namespace

RowDrag::RowDrag(CExtListCtrl& list, std::function<void(int insertBefore)> dropped)
    : list_(list), dropped_(std::move(dropped))
{
}

HWND RowDrag::Parent() const { return ::GetParent(list_); }

void RowDrag::Begin()
{
    dragging_ = true;
    scroll_ = 0;
    SetCapture(Parent());
}

bool RowDrag::ProcessMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result)
{
    if (!dragging_)
        return false;
    // The parent's points, in the list's client coordinates.
    POINT point{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
    switch (message) {
    case WM_MOUSEMOVE:
        MapWindowPoints(Parent(), list_, &point, 1);
        Track(point);
        break;
    case WM_LBUTTONUP: {
        MapWindowPoints(Parent(), list_, &point, 1);
        RECT client{};
        ::GetClientRect(list_, &client);
        End(PtInRect(&client, point) != FALSE);
        break;
    }
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(l) != Parent())
            End(false);
        return false;
    case WM_TIMER:
        if (w != kScrollTimer)
            return false;
        ScrollOneStep();
        break;
    default:
        return false;
    }
    result = 0;
    return true;
}

bool RowDrag::HandleKey(const MSG& message)
{
    if (!dragging_)
        return false;
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE)
        End(false);
    return message.message == WM_KEYDOWN || message.message == WM_CHAR;
}

int RowDrag::InsertionRowAt(POINT inList) const
{
    RowsInView rows{list_.GetTopIndex(), 0, RowHeight(list_), list_.GetItemCount()};
    RECT first{};
    if (!list_.GetItemRect(rows.topRow, &first, LVIR_BOUNDS))
        return 0;
    rows.topRowEdge = first.top;
    return InsertionRow(inList.y, rows);
}

void RowDrag::Track(POINT inList)
{
    RECT client{};
    ::GetClientRect(list_, &client);
    RECT header{};
    ::GetWindowRect(list_.GetHeader(), &header);
    const int top = client.top + (header.bottom - header.top);
    // Near the top or the bottom edge (or past it) the list scrolls.
    const int margin = RowHeight(list_) > 0 ? RowHeight(list_) : 16;
    const int scroll = inList.y < top + margin ? -1 : inList.y > client.bottom - margin ? 1 : 0;
    if (scroll != scroll_) {
        scroll_ = scroll;
        if (scroll != 0)
            SetTimer(Parent(), kScrollTimer, kScrollMs, nullptr);
        else
            KillTimer(Parent(), kScrollTimer);
    }
    list_.SetInsertionMark(InsertionRowAt(inList));
}

void RowDrag::ScrollOneStep()
{
    if (scroll_ == 0)
        return;
    list_.Scroll(0, scroll_ * RowHeight(list_));
    // The mark follows the rows under the pointer.
    POINT point{};
    GetCursorPos(&point);
    ScreenToClient(list_, &point);
    list_.SetInsertionMark(InsertionRowAt(point));
}

void RowDrag::End(bool drop)
{
    if (!dragging_)
        return;
    dragging_ = false;  // first: releasing the capture comes back here
    const int insertBefore = list_.GetInsertionMark();
    KillTimer(Parent(), kScrollTimer);
    scroll_ = 0;
    list_.SetInsertionMark(-1);
    if (GetCapture() == Parent())
        ReleaseCapture();
    if (drop && insertBefore >= 0)
        dropped_(insertBefore);
}
