#include "app/ModTimeDlg.h"

#include <commctrl.h>

#include "app/Texts.h"
#include "res/resource.h"

CModTimeDlg::CModTimeDlg(SYSTEMTIME* time, HWND parent) : CDialog(IDD_MODTIME_DIALOG, parent), time_(time) {}

void CModTimeDlg::DoDataExchange() { datePicker_.Attach(GetDlgItem(IDC_MOD_DATE)); }

BOOL CModTimeDlg::OnInitDialog()
{
    fw::CWindow(GetDlgItem(IDOK)).SetWindowText(texts::kDateOk);
    fw::CWindow(GetDlgItem(IDCANCEL)).SetWindowText(texts::kDateCancel);
    datePicker_.SendMessage(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(time_));
    return TRUE;
}

void CModTimeDlg::OnOK()
{
    SYSTEMTIME picked{};
    if (datePicker_.SendMessage(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&picked)) == GDT_VALID) {
        // Only the date is edited here; the time of day stays as it was given.
        time_->wYear = picked.wYear;
        time_->wMonth = picked.wMonth;
        time_->wDay = picked.wDay;
        time_->wDayOfWeek = picked.wDayOfWeek;
    }
    EndDialog(IDOK);
}
