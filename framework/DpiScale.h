#pragma once
// Lengths in pixels at a window's DPI. Every length the program gives in
// pixels is its length at 96 DPI (100%), scaled here.

#include <windows.h>

namespace fw {

inline constexpr UINT kDefaultDpi = 96;

// The DPI `window` is shown at: its monitor's when the program follows each
// monitor, the system's otherwise.
UINT WindowDpi(HWND window);
// The DPI of the primary monitor when the program started.
UINT SystemDpi();

class DpiScale {
public:
    explicit DpiScale(UINT dpi = kDefaultDpi) : dpi_(dpi ? dpi : kDefaultDpi) {}
    static DpiScale Of(HWND window) { return DpiScale(WindowDpi(window)); }

    UINT Dpi() const { return dpi_; }
    // A length at 96 DPI, at this DPI.
    int operator()(int pixels) const { return MulDiv(pixels, static_cast<int>(dpi_), kDefaultDpi); }
    // The shortest length at 96 DPI that covers `pixels` (not negative) at
    // this DPI: a length a pixel longer than a scaled one (a grid line's
    // pixel added) still counts as that one.
    int Unscaled(int pixels) const
    {
        return static_cast<int>((static_cast<long long>(pixels) * kDefaultDpi + dpi_ - 1) / dpi_);
    }
    // A length at the `from` scale's DPI, at this one.
    int From(const DpiScale& from, int pixels) const
    {
        return MulDiv(pixels, static_cast<int>(dpi_), static_cast<int>(from.dpi_));
    }
    RECT From(const DpiScale& from, const RECT& r) const
    {
        return RECT{From(from, r.left), From(from, r.top), From(from, r.right), From(from, r.bottom)};
    }
    SIZE From(const DpiScale& from, const SIZE& size) const { return SIZE{From(from, size.cx), From(from, size.cy)}; }
    bool operator==(const DpiScale& other) const { return dpi_ == other.dpi_; }

private:
    UINT dpi_;
};

// A report list's column widths, set at `from`, at `to`: a width the user
// chose keeps its share of the window.
void ScaleColumnWidths(HWND list, const DpiScale& from, const DpiScale& to);

}  // namespace fw
