#include "framework/FileDialog.h"

#include "framework/App.h"
#include "framework/Dialog.h"

namespace fw {
namespace {

constexpr std::size_t kFileBufferLength = 32768;

}  // namespace

CFileDialog::CFileDialog(const wchar_t* childTemplate, HWND parent)
    : childTemplate_(childTemplate), parent_(parent), fileBuffer_(kFileBufferLength, L'\0')
{
}

INT_PTR CFileDialog::DoModal()
{
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = parent_;
    dialog.hInstance = ResourceInstance();
    dialog.lpstrFilter = filter_.empty() ? nullptr : filter_.c_str();
    dialog.lpstrFile = fileBuffer_.data();
    dialog.nMaxFile = static_cast<DWORD>(fileBuffer_.size());
    dialog.lpstrInitialDir = initialFolder_.empty() ? nullptr : initialFolder_.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_HIDEREADONLY | extraFlags_;
    dialog.lpfnHook = HookProc;
    dialog.lpTemplateName = childTemplate_;
    dialog.lCustData = reinterpret_cast<LPARAM>(this);
    return GetOpenFileNameW(&dialog) ? IDOK : IDCANCEL;
}

bool CFileDialog::ProcessMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

UINT_PTR CALLBACK CFileDialog::HookProc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    CFileDialog* atInit = message == WM_INITDIALOG
        ? reinterpret_cast<CFileDialog*>(reinterpret_cast<OPENFILENAMEW*>(l)->lCustData) : nullptr;
    return static_cast<UINT_PTR>(DialogMessage(window, message, w, l, atInit, [&](CFileDialog* self) -> INT_PTR {
        if (message == WM_INITDIALOG)
            return self->OnInitDialog();
        LRESULT result = 0;
        if (!ReflectToChild(message, w, l, result) && !self->ProcessMessage(message, w, l, result))
            return FALSE;
        return ReplyFromDialog(window, message, result);
    }));
}

}  // namespace fw
