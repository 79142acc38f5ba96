#include "framework/DpiScale.h"

#include <commctrl.h>

namespace fw {

UINT SystemDpi()
{
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

UINT WindowDpi(HWND window)
{
    // Windows before 10 (version 1607) have no per-window DPI: there the
    // system's is every window's.
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow && window) {
        if (const UINT dpi = getDpiForWindow(window))
            return dpi;
    }
    return SystemDpi();
}

void ScaleColumnWidths(HWND list, const DpiScale& from, const DpiScale& to)
{
    if (from == to)
        return;
    const auto header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
    const auto columns = static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    for (int column = 0; column < columns; ++column) {
        const auto width = static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
        ::SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(to.From(from, width), 0));
    }
}

}  // namespace fw
