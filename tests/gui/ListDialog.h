#pragma once
// A dialog holding just a CExtListCtrl with three columns, recording the
// notifications that reach it.

#include <functional>
#include <utility>
#include <vector>

#include "controls/list/ExtListCtrl.h"
#include "framework/Dialog.h"
#include "gui/GuiHarness.h"
#include "res/resource.h"

namespace gui {

class ListDialog : public fw::CDialog {
public:
    ListDialog() : CDialog(IDD_MODMANAGER_DIALOG) {}

    CExtListCtrl list;
    std::vector<UINT> notifications;  // WM_NOTIFY codes from the list that reached the dialog
    std::vector<std::pair<WPARAM, LPARAM>> checkboxClicks;
    HWND window = nullptr;
    std::function<void(int row, int column)> onCheckboxClicked;  // runs inside the notification

protected:
    void DoDataExchange() override { list.SubclassDlgItem(m_hWnd, IDC_MOD_LIST); }
    BOOL OnInitDialog() override
    {
        window = m_hWnd;
        list.SetExtendedStyle(0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
        list.InsertColumn(0, L"A", LVCFMT_LEFT, 42);
        list.InsertColumn(1, L"B", LVCFMT_LEFT, 120);
        list.InsertColumn(2, L"C", LVCFMT_RIGHT, 90);
        return TRUE;
    }
    bool ProcessMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result) override
    {
        if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(l)->hwndFrom == list.GetSafeHwnd())
            notifications.push_back(reinterpret_cast<NMHDR*>(l)->code);
        if (message == WM_XLISTCTRL_CHECKBOX_CLICKED) {
            checkboxClicks.emplace_back(w, l);
            if (onCheckboxClicked)
                onCheckboxClicked(static_cast<int>(w), static_cast<int>(l));
            result = 0;
            return true;
        }
        return CDialog::ProcessMessage(message, w, l, result);
    }
};

}  // namespace gui
