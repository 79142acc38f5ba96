#pragma once
// A modal dialog bound to its C++ object. Derived classes list their
// handlers in a message table and override the virtual steps.

#include "framework/DpiScale.h"
#include "framework/Window.h"

namespace fw {

// The rules every dialog procedure in the program follows.
// Offers a control's notification to the wrapper of the control that sent it.
bool ReflectToChild(UINT message, WPARAM w, LPARAM l, LRESULT& result);
// Hands a handled message's result back the way the dialog manager expects.
INT_PTR ReplyFromDialog(HWND dialog, UINT message, LRESULT result);

class CDialog : public CWindow {
public:
    explicit CDialog(UINT templateId, HWND parent = nullptr);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog until it ends; returns what EndDialog was given, or -1.
    INT_PTR DoModal();
    void EndDialog(INT_PTR result);
    // The window's DPI, for the lengths it sets in pixels.
    const DpiScale& Scale() const { return scale_; }

protected:
    // Binds the controls to their wrappers, before OnInitDialog.
    virtual void DoDataExchange() {}
    // TRUE lets the system give the default control the focus.
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // The window moved to a monitor of another DPI (Scale() is the new one):
    // lengths set in pixels are set again. The window is then moved to the
    // rectangle the system suggests.
    virtual void OnDpiChanged(const DpiScale& /*old*/) {}
    // The message table walk; a derived class walks its own table, then calls this.
    virtual bool ProcessMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM w, LPARAM l);
    INT_PTR HandleMessage(UINT message, WPARAM w, LPARAM l);

    UINT templateId_;
    HWND parent_;
    DpiScale scale_;
};

}  // namespace fw
