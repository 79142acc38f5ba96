#pragma once
// The small dialog in which the user picks a new date for one mod. It edits
// the caller's calendar time: OK writes the picked date back, Cancel leaves
// it alone. The time of day is not shown and comes back unchanged.

#include <windows.h>

#include "framework/Dialog.h"

class CModTimeDlg : public fw::CDialog {
public:
    explicit CModTimeDlg(SYSTEMTIME* time, HWND parent = nullptr);

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    SYSTEMTIME* time_;
    fw::CWindow datePicker_;
};
