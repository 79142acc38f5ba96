#pragma once
// Move-only owners of Win32 handles, each with its own empty value and
// release call, so no naked CloseHandle/DeleteObject is needed elsewhere.

#include <windows.h>

#include <utility>

namespace fw {

template <class Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() = default;
    explicit UniqueHandle(Type value) : value_(value) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Type get() const { return value_; }
    bool valid() const { return value_ != Traits::Empty(); }
    explicit operator bool() const { return valid(); }

    Type release() { return std::exchange(value_, Traits::Empty()); }
    void reset(Type value = Traits::Empty())
    {
        const Type old = std::exchange(value_, value);
        if (old != Traits::Empty())
            Traits::Close(old);
    }
    // Releases now and reports whether the system accepted it.
    bool Close()
    {
        const Type old = release();
        return old == Traits::Empty() || Traits::Close(old);
    }

private:
    Type value_ = Traits::Empty();
};

struct FileHandleTraits {
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static bool Close(Type h) { return CloseHandle(h) != FALSE; }
};
struct FindHandleTraits {
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static bool Close(Type h) { return FindClose(h) != FALSE; }
};
struct ChangeNotificationTraits {
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static bool Close(Type h) { return FindCloseChangeNotification(h) != FALSE; }
};
template <class T>
struct GdiObjectTraits {
    using Type = T;
    static Type Empty() { return nullptr; }
    static bool Close(Type h) { return DeleteObject(h) != FALSE; }
};
struct MemoryDcTraits {
    using Type = HDC;
    static Type Empty() { return nullptr; }
    static bool Close(Type h) { return DeleteDC(h) != FALSE; }
};
struct IconTraits {
    using Type = HICON;
    static Type Empty() { return nullptr; }
    static bool Close(Type h) { return DestroyIcon(h) != FALSE; }
};
struct MenuTraits {
    using Type = HMENU;
    static Type Empty() { return nullptr; }
    static bool Close(Type h) { return DestroyMenu(h) != FALSE; }
};

using UniqueFile = UniqueHandle<FileHandleTraits>;      // CreateFile
using UniqueFind = UniqueHandle<FindHandleTraits>;      // FindFirstFile
using UniqueChangeNotification = UniqueHandle<ChangeNotificationTraits>;  // FindFirstChangeNotification
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using UniquePen = UniqueHandle<GdiObjectTraits<HPEN>>;
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;    // CreateCompatibleDC
using UniqueIcon = UniqueHandle<IconTraits>;            // CreateIcon, CopyIcon
using UniqueMenu = UniqueHandle<MenuTraits>;            // CreatePopupMenu

// A DC from GetDC, given back with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() { if (dc_) ReleaseDC(window_, dc_); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }
private:
    HWND window_;
    HDC dc_;
};

// BeginPaint/EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~PaintDc() { EndPaint(window_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC get() const { return dc_; }
private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back.
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectObjectScope() { if (previous_) SelectObject(dc_, previous_); }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;
private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Shows the wait cursor and puts the previous one back, however the work ends.
class WaitCursorScope {
public:
    WaitCursorScope() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursorScope() { SetCursor(previous_); }
    WaitCursorScope(const WaitCursorScope&) = delete;
    WaitCursorScope& operator=(const WaitCursorScope&) = delete;
private:
    HCURSOR previous_;
};

}  // namespace fw
