#pragma once
// Non-owning wrappers of the common controls the program uses.

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/Window.h"

namespace fw {

class CHeaderCtrl : public CWindow {
public:
    using CWindow::CWindow;
    int GetItemCount() const { return static_cast<int>(SendMessage(HDM_GETITEMCOUNT)); }
    BOOL GetItemRect(int index, RECT* rect) const
    {
        return static_cast<BOOL>(SendMessage(HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rect)));
    }
    int GetItemFormat(int index) const
    {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        return SendMessage(HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) ? item.fmt : 0;
    }
};

class CListViewCtrl : public CWindow {
public:
    using CWindow::CWindow;

    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    int GetNextItem(int start, UINT flags) const
    {
        return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(flags, 0)));
    }
    HWND GetHeader() const { return reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER)); }
    DWORD SetExtendedStyle(DWORD mask, DWORD style) const
    {
        return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, mask, style));
    }
    DWORD GetExtendedStyle() const { return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
    HIMAGELIST SetImageList(HIMAGELIST images, int kind) const
    {
        return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(kind), reinterpret_cast<LPARAM>(images)));
    }
    int InsertColumn(int index, const std::wstring& heading, int format, int width) const
    {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = format;
        column.cx = width;
        column.pszText = const_cast<wchar_t*>(heading.c_str());
        column.iSubItem = index;
        return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
    }
    BOOL SetColumnText(int index, const std::wstring& heading) const
    {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        column.pszText = const_cast<wchar_t*>(heading.c_str());
        return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
    }
    int GetColumnWidth(int index) const { return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(index))); }

    int InsertItem(const LVITEMW& item) const
    {
        return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    }
    BOOL SetItem(const LVITEMW& item) const { return static_cast<BOOL>(SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item))); }
    std::wstring GetItemText(int item, int subItem) const
    {
        std::wstring text(64, L'\0');
        for (;;) {
            LVITEMW lv{};
            lv.iSubItem = subItem;
            lv.pszText = text.data();
            lv.cchTextMax = static_cast<int>(text.size());
            const int length = static_cast<int>(SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv)));
            if (length < static_cast<int>(text.size()) - 1) {
                text.resize(static_cast<std::size_t>(length));
                return text;
            }
            text.resize(text.size() * 2);
        }
    }
    BOOL SetItemText(int item, int subItem, const std::wstring& text) const
    {
        LVITEMW lv{};
        lv.iSubItem = subItem;
        lv.pszText = const_cast<wchar_t*>(text.c_str());
        return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv)));
    }
    LPARAM GetItemData(int item) const
    {
        LVITEMW lv{};
        lv.mask = LVIF_PARAM;
        lv.iItem = item;
        return SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&lv)) ? lv.lParam : 0;
    }
    BOOL SetItemData(int item, LPARAM data) const
    {
        LVITEMW lv{};
        lv.mask = LVIF_PARAM;
        lv.iItem = item;
        lv.lParam = data;
        return SetItem(lv);
    }
    UINT GetItemState(int item, UINT mask) const
    {
        return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(item), mask));
    }
    BOOL SetItemState(int item, UINT state, UINT mask) const
    {
        LVITEMW lv{};
        lv.state = state;
        lv.stateMask = mask;
        return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv)));
    }
    int SetSelectionMark(int item) const { return static_cast<int>(SendMessage(LVM_SETSELECTIONMARK, 0, item)); }
    BOOL EnsureVisible(int item, BOOL partialOk) const
    {
        return static_cast<BOOL>(SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(item), partialOk));
    }
    BOOL GetSubItemRect(int item, int subItem, int area, RECT* rect) const
    {
        rect->top = subItem;
        rect->left = area;
        return static_cast<BOOL>(SendMessage(LVM_GETSUBITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(rect)));
    }
    int SubItemHitTest(LVHITTESTINFO* info) const
    {
        return static_cast<int>(SendMessage(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(info)));
    }
    int GetTopIndex() const { return static_cast<int>(SendMessage(LVM_GETTOPINDEX)); }
    BOOL GetItemRect(int item, RECT* rect, int area) const
    {
        rect->left = area;
        return static_cast<BOOL>(SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(rect)));
    }
    BOOL Scroll(int dx, int dy) const { return static_cast<BOOL>(SendMessage(LVM_SCROLL, static_cast<WPARAM>(dx), dy)); }
    int GetCountPerPage() const { return static_cast<int>(SendMessage(LVM_GETCOUNTPERPAGE)); }
    BOOL DeleteItem(int item) const { return static_cast<BOOL>(SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(item))); }
    BOOL DeleteAllItems() const { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
};

}  // namespace fw
