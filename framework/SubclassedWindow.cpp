#include "framework/SubclassedWindow.h"

#include <mutex>
#include <unordered_map>

#include "framework/HandlerFailure.h"

namespace fw {
namespace {

// Which object each subclassed window belongs to and the procedure it had.
// Kept in the process rather than in window properties: a property lookup
// per message costs a round trip to the window server under Wine, and a
// list view receives thousands of messages in a bulk change.
struct Binding {
    WindowSubclass* object;
    WNDPROC original;
};

std::mutex g_bindingsLock;
std::unordered_map<HWND, Binding>& Bindings()
{
    static std::unordered_map<HWND, Binding> bindings;
    return bindings;
}

Binding FindBinding(HWND window)
{
    std::lock_guard<std::mutex> lock(g_bindingsLock);
    const auto found = Bindings().find(window);
    return found == Bindings().end() ? Binding{nullptr, nullptr} : found->second;
}

}  // namespace

WindowSubclass::~WindowSubclass() { Unsubclass(); }

bool WindowSubclass::Subclass(HWND window)
{
    Unsubclass();
    if (!window || FindBinding(window).original)
        return false;
    const auto current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC));
    if (!current)
        return false;
    {
        std::lock_guard<std::mutex> lock(g_bindingsLock);
        Bindings()[window] = Binding{this, current};
    }
    ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
    window_ = window;
    original_ = current;
    return true;
}

void WindowSubclass::Unsubclass()
{
    if (!window_)
        return;
    std::lock_guard<std::mutex> lock(g_bindingsLock);
    const auto found = Bindings().find(window_);
    if (found != Bindings().end()) {
        // Only the last procedure set can be taken out; under a later one,
        // ours stays and passes everything to the original.
        if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window_, GWLP_WNDPROC)) == &WindowProc) {
            ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(found->second.original));
            Bindings().erase(found);
        } else {
            found->second.object = nullptr;
        }
    }
    window_ = nullptr;
}

WindowSubclass* WindowSubclass::FromHandle(HWND window) { return window ? FindBinding(window).object : nullptr; }

bool WindowSubclass::OnReflectedMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool WindowSubclass::ProcessWindowMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT WindowSubclass::DefaultProc(UINT message, WPARAM w, LPARAM l)
{
    return ::CallWindowProcW(original_, window_, message, w, l);
}

LRESULT CALLBACK WindowSubclass::WindowProc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    const Binding binding = FindBinding(window);
    if (!binding.original)
        return ::DefWindowProcW(window, message, w, l);
    LRESULT result = 0;
    if (binding.object) {
        try {
            if (binding.object->ProcessWindowMessage(message, w, l, result))
                return result;
        } catch (...) {
            // No exception may unwind through the system's window procedure;
            // the control handles the message itself.
            ReportHandlerFailure(window, message, w, l);
        }
    }
    if (message == WM_NCDESTROY) {
        if (binding.object)
            binding.object->Unsubclass();
        {
            // The window is going: whatever procedure is on top, forget it.
            std::lock_guard<std::mutex> lock(g_bindingsLock);
            Bindings().erase(window);
        }
        return ::CallWindowProcW(binding.original, window, message, w, l);
    }
    return ::CallWindowProcW(binding.original, window, message, w, l);
}

}  // namespace fw
