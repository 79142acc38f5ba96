#pragma once
// A thin, non-owning wrapper of an HWND: one method per API call.

#include <windows.h>

#include <string>

#include "framework/HandlerFailure.h"

namespace fw {

class CWindow {
public:
    CWindow() = default;
    explicit CWindow(HWND window) : m_hWnd(window) {}

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }
    void Attach(HWND window) { m_hWnd = window; }

    LRESULT SendMessage(UINT message, WPARAM w = 0, LPARAM l = 0) const { return ::SendMessageW(m_hWnd, message, w, l); }
    BOOL PostMessage(UINT message, WPARAM w = 0, LPARAM l = 0) const { return ::PostMessageW(m_hWnd, message, w, l); }

    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    BOOL IsWindow() const { return ::IsWindow(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) const { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL GetClientRect(RECT* rect) const { return ::GetClientRect(m_hWnd, rect); }
    BOOL InvalidateRect(const RECT* rect, BOOL erase = TRUE) const { return ::InvalidateRect(m_hWnd, rect, erase); }
    BOOL UpdateWindow() const { return ::UpdateWindow(m_hWnd); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }

    BOOL SetWindowText(const std::wstring& text) const { return ::SetWindowTextW(m_hWnd, text.c_str()); }
    std::wstring GetWindowText() const
    {
        std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(m_hWnd)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(::GetWindowTextW(m_hWnd, text.data(), static_cast<int>(text.size()))));
        return text;
    }

    // Suspends drawing for the object's lifetime, then repaints the window:
    // everything, its frame and children included, or only its client area
    // when the change cannot have touched its scroll bars or children
    // (repainting the frame costs more than painting a page of rows).
    class RedrawSuspender {
    public:
        enum class Repaint { Everything, ClientArea };
        explicit RedrawSuspender(HWND window, Repaint repaint = Repaint::Everything) : window_(window), repaint_(repaint)
        {
            ::SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
        }
        ~RedrawSuspender()
        {
            ::SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
            if (repaint_ == Repaint::ClientArea)
                ::InvalidateRect(window_, nullptr, TRUE);
            else
                ::RedrawWindow(window_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
        }
        RedrawSuspender(const RedrawSuspender&) = delete;
        RedrawSuspender& operator=(const RedrawSuspender&) = delete;
    private:
        HWND window_;
        Repaint repaint_;
    };

protected:
    // The body of our dialog procedures: binds the object handed over at
    // WM_INITDIALOG to the window, runs `handle` for every message with no
    // exception escaping into the dialog manager (the user is told what
    // failed, and the dialog manager handles the message as unhandled),
    // and unbinds the object when the window goes.
    template <class Object, class Handle>
    static INT_PTR DialogMessage(HWND window, UINT message, WPARAM w, LPARAM l, Object* objectAtInit, Handle&& handle)
    {
        CWindow* self = objectAtInit;
        if (message == WM_INITDIALOG) {
            ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            self->m_hWnd = window;
        } else {
            self = reinterpret_cast<CWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        }
        if (!self)
            return FALSE;

        INT_PTR handled = FALSE;
        try {
            handled = handle(static_cast<Object*>(self));
        } catch (...) {
            ReportHandlerFailure(window, message, w, l);
            handled = FALSE;
        }
        if (message == WM_NCDESTROY) {
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            self->m_hWnd = nullptr;
        }
        return handled;
    }

    HWND m_hWnd = nullptr;
};

// A window message registered by name, the same number in every process.
inline UINT RegisterMessage(const wchar_t* name) { return ::RegisterWindowMessageW(name); }

}  // namespace fw
