#include "framework/Dialog.h"

#include "framework/App.h"
#include "framework/SubclassedWindow.h"

namespace fw {
namespace {

// Messages whose result a dialog procedure returns directly; every other
// result goes through DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message)
{
    switch (message) {
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return true;
    default:
        return false;
    }
}

// The child control a notification or control message came from.
HWND SendingChild(UINT message, WPARAM w, LPARAM l)
{
    switch (message) {
    case WM_NOTIFY:
        return reinterpret_cast<NMHDR*>(l)->hwndFrom;
    case WM_COMMAND:
        return reinterpret_cast<HWND>(l);
    case WM_DRAWITEM:
        return w ? reinterpret_cast<DRAWITEMSTRUCT*>(l)->hwndItem : nullptr;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<HWND>(l);
    default:
        return nullptr;
    }
}

}  // namespace

CDialog::CDialog(UINT templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

CDialog::~CDialog()
{
    // No message may reach a half-destroyed object.
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
}

INT_PTR CDialog::DoModal()
{
    return ::DialogBoxParamW(ResourceInstance(), MAKEINTRESOURCEW(templateId_), parent_, DialogProc,
                             reinterpret_cast<LPARAM>(this));
}

void CDialog::EndDialog(INT_PTR result) { ::EndDialog(m_hWnd, result); }

bool CDialog::ProcessMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result)
{
    if (message == WM_SYSCOLORCHANGE) {
        // The system tells top-level windows only; controls that cache colours need it too.
        for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
            ::SendMessageW(child, message, w, l);
        return false;  // the dialog manager's own handling follows
    }
    if (message == WM_COMMAND && (LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL)) {
        LOWORD(w) == IDOK ? OnOK() : OnCancel();
        result = 0;
        return true;
    }
    return false;
}

bool ReflectToChild(UINT message, WPARAM w, LPARAM l, LRESULT& result)
{
    WindowSubclass* child = WindowSubclass::FromHandle(SendingChild(message, w, l));
    return child && child->OnReflectedMessage(message, w, l, result);
}

INT_PTR ReplyFromDialog(HWND dialog, UINT message, LRESULT result)
{
    if (ReturnsResultDirectly(message))
        return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_INITDIALOG) {
        DoDataExchange();
        return OnInitDialog();
    }
    LRESULT result = 0;
    if (!ReflectToChild(message, w, l, result) && !ProcessMessage(message, w, l, result))
        return FALSE;
    return ReplyFromDialog(m_hWnd, message, result);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    CDialog* atInit = message == WM_INITDIALOG ? reinterpret_cast<CDialog*>(l) : nullptr;
    return DialogMessage(window, message, w, l, atInit, [&](CDialog* self) { return self->HandleMessage(message, w, l); });
}

}  // namespace fw
