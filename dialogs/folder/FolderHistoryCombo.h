#pragma once
// The combo box with an edit field that shows the folder history, most
// recent first, and grows to show `dropDownRows` rows when it drops down.

#include <windows.h>

#include <string>
#include <vector>

#include "framework/MessageMap.h"
#include "framework/SubclassedWindow.h"
#include "framework/Window.h"

class CFolderHistoryCombo : public fw::CWindow, public fw::WindowSubclass {
public:
    bool Attach(HWND combo);

    void SetDropDownRows(int rows) { dropDownRows_ = rows; }
    void SetItems(const std::vector<std::wstring>& items);
    std::wstring GetSelectedItemText() const;
    std::wstring GetEditText() const { return GetWindowText(); }
    void SetEditText(const std::wstring& text) const;
    void SelectAllText() const;

    bool OnReflectedMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result) override;

private:
    void GrowForDropDown();

    int dropDownRows_ = 20;
};
