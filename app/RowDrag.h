#pragma once
// Dragging rows inside the mod list: an insertion mark between rows, the
// list scrolling near its edges, and on a release inside the list the row
// the dragged rows land before. Esc, a release outside the list or a lost
// capture change nothing. While a drag lasts the list's parent holds the
// mouse and hands its messages here.

#include <windows.h>

#include <functional>

class CExtListCtrl;

class RowDrag {
public:
    // `dropped` is told the row the dragged rows land before (the row count:
    // after the last).
    RowDrag(CExtListCtrl& list, std::function<void(int insertBefore)> dropped);

    // Starts dragging the rows selected.
    void Begin();
    // The parent's mouse, capture and timer messages: true when the message
    // was the drag's, with its result.
    bool ProcessMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result);
    // During a drag Esc cancels it and no other key acts: true when the key
    // was the drag's.
    bool HandleKey(const MSG& message);

private:
    HWND Parent() const;
    // The row the dragged rows would land before, for a point in the list.
    int InsertionRowAt(POINT inList) const;
    void Track(POINT inList);
    void ScrollOneStep();
    void End(bool drop);

    static constexpr UINT_PTR kScrollTimer = 2;  // of the parent's timers

    CExtListCtrl& list_;
    std::function<void(int)> dropped_;
    bool dragging_ = false;
    int scroll_ = 0;  // rows per tick while the pointer is near an edge
};
