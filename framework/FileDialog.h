#pragma once
// The system's explorer-style open dialog with a child template of our own,
// driven through its hook. The wrapper's window is the child template's;
// the system's dialog is its parent.

#include <windows.h>
#include <commdlg.h>

#include <string>

#include "framework/Window.h"

namespace fw {

class CFileDialog : public CWindow {
public:
    // `childTemplate` names a dialog resource of the program.
    CFileDialog(const wchar_t* childTemplate, HWND parent);
    virtual ~CFileDialog() = default;
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // IDOK when the system's dialog ended with OK, IDCANCEL otherwise.
    INT_PTR DoModal();

    // The system's dialog around the child template.
    HWND FileDialogWindow() const { return ::GetParent(m_hWnd); }

protected:
    // Set by derived classes before DoModal: filter (pairs of texts, ending
    // with an empty one), initial folder, extra flags.
    std::wstring filter_;
    std::wstring initialFolder_;
    DWORD extraFlags_ = 0;

    virtual BOOL OnInitDialog() { return TRUE; }
    // Messages of the child template, the system's notifications included.
    virtual bool ProcessMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result);

private:
    static UINT_PTR CALLBACK HookProc(HWND window, UINT message, WPARAM w, LPARAM l);

    const wchar_t* childTemplate_;
    HWND parent_;
    std::wstring fileBuffer_;
};

}  // namespace fw
