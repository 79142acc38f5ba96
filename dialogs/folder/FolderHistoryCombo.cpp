#include "dialogs/folder/FolderHistoryCombo.h"

bool CFolderHistoryCombo::Attach(HWND combo)
{
    fw::CWindow::Attach(combo);
    return Subclass(combo);
}

void CFolderHistoryCombo::SetItems(const std::vector<std::wstring>& items)
{
    const std::wstring edit = GetEditText();
    SendMessage(CB_RESETCONTENT);
    for (const std::wstring& item : items)
        SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SetEditText(edit);
}

std::wstring CFolderHistoryCombo::GetSelectedItemText() const
{
    const auto index = static_cast<int>(SendMessage(CB_GETCURSEL));
    if (index < 0)
        return {};
    std::wstring text(static_cast<std::size_t>(SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index))) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

void CFolderHistoryCombo::SetEditText(const std::wstring& text) const { SetWindowText(text); }

void CFolderHistoryCombo::SelectAllText() const { SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(0, -1)); }

bool CFolderHistoryCombo::OnReflectedMessage(UINT message, WPARAM w, LPARAM, LRESULT& result)
{
    if (message == WM_COMMAND && HIWORD(w) == CBN_DROPDOWN) {
        GrowForDropDown();
        result = 0;
        return true;
    }
    return false;
}

void CFolderHistoryCombo::GrowForDropDown()
{
    RECT rect{};
    ::GetWindowRect(m_hWnd, &rect);
    const auto itemHeight = static_cast<int>(SendMessage(CB_GETITEMHEIGHT, 0));
    const int height = (rect.bottom - rect.top) + 2 * GetSystemMetrics(SM_CXBORDER) + itemHeight * dropDownRows_;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, rect.right - rect.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
