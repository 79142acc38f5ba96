#include "framework/SubclassedWindow.h"

#include <commctrl.h>

namespace fw {
namespace {

constexpr UINT_PTR kSubclassId = 0x50414B;  // any number unique to this class
constexpr const wchar_t* kObjectProperty = L"PakOrder.WindowObject";

}  // namespace

WindowSubclass::~WindowSubclass() { Unsubclass(); }

bool WindowSubclass::Subclass(HWND window)
{
    Unsubclass();
    if (!window || !SetWindowSubclass(window, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    SetPropW(window, kObjectProperty, this);
    window_ = window;
    return true;
}

void WindowSubclass::Unsubclass()
{
    if (!window_)
        return;
    RemovePropW(window_, kObjectProperty);
    RemoveWindowSubclass(window_, SubclassProc, kSubclassId);
    window_ = nullptr;
}

WindowSubclass* WindowSubclass::FromHandle(HWND window)
{
    return window ? static_cast<WindowSubclass*>(GetPropW(window, kObjectProperty)) : nullptr;
}

bool WindowSubclass::OnReflectedMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool WindowSubclass::ProcessWindowMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT WindowSubclass::DefaultProc(UINT message, WPARAM w, LPARAM l)
{
    return DefSubclassProc(window_, message, w, l);
}

LRESULT CALLBACK WindowSubclass::SubclassProc(HWND window, UINT message, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR data)
{
    auto* self = reinterpret_cast<WindowSubclass*>(data);
    LRESULT result = 0;
    try {
        if (self->ProcessWindowMessage(message, w, l, result))
            return result;
    } catch (...) {
        // No exception may unwind through the system's window procedure.
    }
    if (message == WM_NCDESTROY) {
        result = DefSubclassProc(window, message, w, l);
        self->Unsubclass();
        return result;
    }
    return DefSubclassProc(window, message, w, l);
}

}  // namespace fw
