#include "controls/list/XHeaderCtrl.h"

#include <commctrl.h>

#include "base/UniqueHandle.h"

namespace {

constexpr UINT kCaptionFormat = DT_END_ELLIPSIS | DT_VCENTER | DT_SINGLELINE;
constexpr int kCaptionLength = 80;

void Fill(HDC dc, HBRUSH brush, int left, int top, int right, int bottom)
{
    const RECT rect{left, top, right, bottom};
    FillRect(dc, &rect, brush);
}

}  // namespace

constexpr fw::MessageEntry<CXHeaderCtrl> CXHeaderCtrl::kMessages[] = {
    fw::OnMessage(WM_PAINT, &CXHeaderCtrl::OnPaint),
    fw::OnMessage(WM_ERASEBKGND, &CXHeaderCtrl::OnEraseBackground),
    fw::OnMessage(WM_SYSCOLORCHANGE, &CXHeaderCtrl::OnSysColorChange),
    fw::OnMessage(WM_LBUTTONDBLCLK, &CXHeaderCtrl::OnDoubleClick),
};

CXHeaderCtrl::CXHeaderCtrl() : captionColor_(GetSysColor(COLOR_BTNTEXT)) { LoadColors(); }

bool CXHeaderCtrl::Attach(HWND header)
{
    fw::CHeaderCtrl::Attach(header);
    return Subclass(header);
}

void CXHeaderCtrl::SetScale(const fw::DpiScale& scale)
{
    scale_ = scale;
    if (IsWindow())
        InvalidateRect(nullptr, TRUE);
}

void CXHeaderCtrl::LoadColors()
{
    faceColor_ = GetSysColor(COLOR_BTNFACE);
    highlightColor_ = GetSysColor(COLOR_BTNHIGHLIGHT);
    shadowColor_ = GetSysColor(COLOR_BTNSHADOW);
}

bool CXHeaderCtrl::ProcessWindowMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result)
{
    return fw::DispatchMessage(this, kMessages, false, message, w, l, result);
}

bool CXHeaderCtrl::OnPaint(WPARAM, LPARAM, LRESULT& result)
{
    fw::PaintDc paint(m_hWnd);
    RECT clip{};
    if (!doubleBuffered_ || GetDeviceCaps(paint.get(), TECHNOLOGY) == DT_RASPRINTER ||
        GetClipBox(paint.get(), &clip) == ERROR || IsRectEmpty(&clip)) {
        DrawHeader(paint.get());
    } else {
        // Draw off-screen in header coordinates, then copy the invalid area at once.
        fw::UniqueMemoryDc memory(CreateCompatibleDC(paint.get()));
        fw::UniqueBitmap bitmap(CreateCompatibleBitmap(paint.get(), clip.right - clip.left, clip.bottom - clip.top));
        {
            fw::SelectObjectScope selectBitmap(memory.get(), bitmap.get());
            SetWindowOrgEx(memory.get(), clip.left, clip.top, nullptr);
            DrawHeader(memory.get());
            BitBlt(paint.get(), clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, memory.get(),
                   clip.left, clip.top, SRCCOPY);
        }
    }
    result = 0;
    return true;
}

void CXHeaderCtrl::DrawHeader(HDC dc) const
{
    RECT clip{};
    if (GetClipBox(dc, &clip) == ERROR)
        return;
    fw::UniqueBrush face(CreateSolidBrush(faceColor_));
    FillRect(dc, &clip, face.get());

    // Lines are as wide as a pixel at 96 DPI, so they stay sharp and visible.
    const int line = scale_(1), inset = scale_(kItemInset), dividerGap = scale_(2);
    fw::UniqueBrush light(CreateSolidBrush(highlightColor_));
    fw::UniqueBrush dark(CreateSolidBrush(shadowColor_));
    fw::SelectObjectScope selectFont(dc, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
    SetBkColor(dc, faceColor_);

    int totalWidth = 0;
    const int count = GetItemCount();
    for (int position = 0; position < count; ++position) {
        const int index = static_cast<int>(SendMessage(HDM_ORDERTOINDEX, static_cast<WPARAM>(position)));
        wchar_t caption[kCaptionLength] = {};
        HDITEMW item{};
        item.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT | HDI_BITMAP | HDI_IMAGE;
        item.pszText = caption;
        item.cchTextMax = kCaptionLength;
        SendMessage(HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        RECT rect{};
        GetItemRect(index, &rect);

        RECT inner = rect;
        inner.left += inset;
        inner.right -= inset;
        DrawItemContent(dc, item, inner);

        if (position < count - 1 && dividers_) {
            const int top = rect.top + dividerGap, bottom = rect.bottom - dividerGap;
            Fill(dc, dark.get(), rect.right - line, top, rect.right, bottom);
            Fill(dc, light.get(), rect.right, top, rect.right + line, bottom);
        }
        totalWidth += item.cxy;
    }

    if (totalWidth > 0) {
        RECT client{};
        GetClientRect(&client);
        const int left = client.left, top = client.top, right = left + totalWidth, bottom = client.bottom;
        // A raised frame: light top and left edges, dark bottom and right edges.
        Fill(dc, light.get(), left, top, right - line, top + line);
        Fill(dc, light.get(), left, top, left + line, bottom - line);
        Fill(dc, dark.get(), right - line, top, right, bottom);
        Fill(dc, dark.get(), left, bottom - line, right, bottom);
    }
}

void CXHeaderCtrl::DrawItemContent(HDC dc, const HDITEMW& item, RECT rect) const
{
    if (rect.right <= rect.left || !(item.mask & HDI_TEXT) || !(item.fmt & HDF_STRING))
        return;
    UINT format = kCaptionFormat;
    const int justify = item.fmt & HDF_JUSTIFYMASK;
    if (justify == HDF_CENTER)
        format |= DT_CENTER;
    else if (justify == HDF_RIGHT)
        format |= DT_RIGHT;
    SetTextColor(dc, captionColor_);
    DrawTextW(dc, item.pszText, -1, &rect, format);
}

bool CXHeaderCtrl::OnEraseBackground(WPARAM, LPARAM, LRESULT& result)
{
    result = TRUE;  // the paint covers every pixel
    return true;
}

bool CXHeaderCtrl::OnSysColorChange(WPARAM w, LPARAM l, LRESULT& result)
{
    result = DefaultProc(WM_SYSCOLORCHANGE, w, l);
    LoadColors();
    return true;
}

bool CXHeaderCtrl::OnDoubleClick(WPARAM w, LPARAM l, LRESULT& result)
{
    // A second press, so a double click on a divider never resizes the column to fit.
    result = ::SendMessageW(m_hWnd, WM_LBUTTONDOWN, w, l);
    return true;
}
