#pragma once
// Binds a C++ object to an existing control window (subclassing), so the
// object handles the control's messages and the notifications the control
// sends to its parent, which the parent hands back (reflection).

#include <windows.h>

namespace fw {

class WindowSubclass {
public:
    WindowSubclass() = default;
    virtual ~WindowSubclass();
    WindowSubclass(const WindowSubclass&) = delete;
    WindowSubclass& operator=(const WindowSubclass&) = delete;

    bool Subclass(HWND window);
    void Unsubclass();
    HWND SubclassedWindow() const { return window_; }

    // The object bound to a window, or null.
    static WindowSubclass* FromHandle(HWND window);

    // A notification or command the window sent to its parent. True when
    // the object consumed it; the parent then does nothing more with it.
    virtual bool OnReflectedMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result);

protected:
    // Messages sent to the window itself. False passes them to the control.
    virtual bool ProcessWindowMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result);
    // The control's own handling, for handlers that run it inside theirs.
    LRESULT DefaultProc(UINT message, WPARAM w, LPARAM l);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);

    HWND window_ = nullptr;
    WNDPROC original_ = nullptr;  // the control's procedure before ours
};

}  // namespace fw
