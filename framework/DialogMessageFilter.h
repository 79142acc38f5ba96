#pragma once
// Shows a dialog each message its own modal loop takes for it or for a
// window inside it, before the loop translates and dispatches it: the place
// for keys that work whichever control has the focus. The thread's hook
// finds the dialog's filter through a property of the dialog's window.

#include <windows.h>

#include <functional>

namespace fw {

class DialogMessageFilter {
public:
    // `filter` is offered each message for `dialog` or a window inside it
    // while the dialog is enabled (no box of its own open); true takes the
    // message. A filter that throws is reported and takes the message.
    DialogMessageFilter(HWND dialog, std::function<bool(const MSG&)> filter);
    ~DialogMessageFilter();
    DialogMessageFilter(const DialogMessageFilter&) = delete;
    DialogMessageFilter& operator=(const DialogMessageFilter&) = delete;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM w, LPARAM l);

    HWND dialog_;
    std::function<bool(const MSG&)> filter_;
    HHOOK hook_ = nullptr;
};

}  // namespace fw
